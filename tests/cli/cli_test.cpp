#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include "cli/commands.h"

namespace {

TEST(CliList, PrintsDisplayFormsAndCounts) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = wolterix::cli::listSchematic(WOLTERIX_TEST_DATA "/list.wtx", out, err);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(out.str(),
            "E1 { sinusoidalne; E=230; Rw=0; f=50; faza=0; }\n"
            "R1 { R=10k; }\n"
            "Ł1 { on; switch:1m; }\n"
            "Przewody: 2\n"
            "Węzły: 1\n");
}

TEST(CliList, UnreadableFileIsAnError) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(wolterix::cli::listSchematic(WOLTERIX_TEST_DATA "/does-not-exist.wtx", out, err), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("Plik nie istnieje."), std::string::npos);
}

}  // namespace

namespace {

using wolterix::cli::SimulateOptions;

struct Captured {
  int code;
  std::string out;
  std::string err;
};

Captured runSimulate(SimulateOptions options) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = wolterix::cli::simulate(options, out, err);
  return {code, out.str(), err.str()};
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CliTopology, ListsNodesOfTheDivider) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(wolterix::cli::showTopology(WOLTERIX_EXAMPLES "/dzielnik.wtx", out, err), 0);
  EXPECT_EQ(out.str(),
            "0 : Nap/E1/[10,10]/{0,1}/st/10/0\n"
            "1 : Rez/R1/[14,8]/{1,2}/1k\n"
            "2 : Rez/R2/[16,10]/{2,0}/2k\n"
            "3 : mmV/V1/[19,10]/{2,0}/-\n");
}

TEST(CliSimulate, WritesOneRowPerSampleWithExactNumbers) {
  SimulateOptions options;
  options.path = WOLTERIX_EXAMPLES "/dzielnik.wtx";
  options.timeText = "10m";
  options.samples = 4;
  options.waves = {"U(V1)", "I(R1)"};
  const Captured c = runSimulate(options);
  ASSERT_EQ(c.code, 0) << c.err;
  const auto lines = splitLines(c.out);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "t,U(V1),I(R1)");
  EXPECT_EQ(lines[1].substr(0, 2), "0,");
  EXPECT_EQ(lines[5].substr(0, 5), "0.01,");
  // The voltmeter reads two thirds of 10 V; the number reads back to the same double.
  const std::string u =
      lines[3].substr(lines[3].find(',') + 1, lines[3].rfind(',') - lines[3].find(',') - 1);
  EXPECT_NEAR(std::stod(u), 10.0 * 2000.0 / 3000.0, 1e-5);  // the meter draws a little
  EXPECT_EQ(wolterix::cli::formatNumber(std::stod(u)), u);
  EXPECT_EQ(wolterix::cli::formatNumber(0.1), "0.1");
}

TEST(CliSimulate, StatsReportTheSolverCounters) {
  SimulateOptions options;
  options.path = WOLTERIX_EXAMPLES "/mostek.wtx";
  options.timeText = "40m";
  options.samples = 100;
  options.iterations = 2;
  options.stats = true;
  options.waves = {"U(R1)"};
  const Captured c = runSimulate(options);
  ASSERT_EQ(c.code, 0) << c.err;
  for (const char* line : {"węzły: 4\n", "gałęzie: 7\n", "kroki: 401\n",
                           "faktoryzacje: ", "czas: ", "kroki na sekundę: "})
    EXPECT_NE(c.err.find(line), std::string::npos) << line << " in " << c.err;
}

TEST(CliSimulate, EveryExampleRunsWithAllItsWaveforms) {
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(WOLTERIX_EXAMPLES)) {
    if (entry.path().extension() != ".wtx") continue;
    ++examples;
    const std::string name = entry.path().filename().string();
    SimulateOptions options;
    options.path = entry.path().string();
    // A transfer-function workspace says so on its first line.
    std::ifstream file(entry.path(), std::ios::binary);
    std::string first;
    std::getline(file, first);
    if (first.rfind("**Transmitancja**", 0) == 0) {
      options.fromText = "10";
      options.toText = "100k";
    } else {
      options.timeText = "20m";
    }
    options.samples = 100;
    const Captured c = runSimulate(options);
    EXPECT_EQ(c.code, 0) << name << ": " << c.err;
    EXPECT_EQ(splitLines(c.out).size(), 102u) << name;
    EXPECT_EQ(c.out.find("nan"), std::string::npos) << name;
    EXPECT_EQ(c.out.find("inf"), std::string::npos) << name;
  }
  EXPECT_GE(examples, 12);
}

TEST(CliSimulate, ErrorsHaveTheirOwnExitCodes) {
  SimulateOptions options;
  options.timeText = "10m";
  options.path = WOLTERIX_EXAMPLES "/missing.wtx";
  EXPECT_EQ(runSimulate(options).code, 1);

  options.path = WOLTERIX_EXAMPLES "/dzielnik.wtx";
  options.timeText = "0";
  Captured c = runSimulate(options);
  EXPECT_EQ(c.code, 1);
  EXPECT_NE(c.err.find("[1] Niewłaściwa wartość liczbowa."), std::string::npos);

  options.timeText = "10m";
  options.waves = {"U(R9)"};
  c = runSimulate(options);
  EXPECT_EQ(c.code, 1);
  EXPECT_NE(c.err.find("U(R9)"), std::string::npos);

  options.waves = {};
  options.path = WOLTERIX_TEST_DATA "/missing_parameter.wtx";
  c = runSimulate(options);
  EXPECT_EQ(c.code, 2);
  EXPECT_EQ(c.err, "[1] Brak parametrów: Element \"R2\".\n");
  EXPECT_EQ(c.out, "");

  options.path = WOLTERIX_TEST_DATA "/dangling.wtx";
  c = runSimulate(options);
  EXPECT_EQ(c.code, 3);
  EXPECT_EQ(c.err, "[1] Niepołączony element lub grupa elementów.\n");

  options.path = WOLTERIX_TEST_DATA "/transfer.wtx";
  c = runSimulate(options);  // --time on a transfer schematic
  EXPECT_EQ(c.code, 1);
  EXPECT_NE(c.err.find("--from"), std::string::npos);

  options.path = WOLTERIX_EXAMPLES "/dzielnik.wtx";
  options.timeText = "";
  options.fromText = "10";
  options.toText = "100";
  c = runSimulate(options);  // --from/--to on a time schematic
  EXPECT_EQ(c.code, 1);
  EXPECT_NE(c.err.find("--time"), std::string::npos);
}

TEST(CliSimulate, TransferSweepWritesFourColumnsPerRatio) {
  SimulateOptions options;
  options.path = WOLTERIX_EXAMPLES "/filtr.wtx";
  options.fromText = "100";
  options.toText = "10k";
  options.samples = 2;
  options.waves = {"K(C1)"};
  const Captured c = runSimulate(options);
  ASSERT_EQ(c.code, 0) << c.err;
  const auto lines = splitLines(c.out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "f,K(C1).re,K(C1).im,K(C1).dB,K(C1).deg");
  EXPECT_EQ(lines[2].substr(0, 5), "1000,");  // the middle of two decades: the corner
  std::istringstream fields(lines[2]);
  std::vector<double> values;
  for (std::string field; std::getline(fields, field, ',');) values.push_back(std::stod(field));
  EXPECT_NEAR(values[3], -3.0103, 1e-3);
  EXPECT_NEAR(values[4], -45.0, 1e-3);

  for (const auto& [from, to] : {std::pair{"0", "10k"}, {"10k", "100"}, {"-5", "10"}, {"x", "1"}}) {
    options.fromText = from;
    options.toText = to;
    EXPECT_EQ(runSimulate(options).code, 1) << from << " " << to;
  }
}

}  // namespace

#include "model/schematic_file.h"
#include "support/run_helpers.h"

namespace {

using wolterix::cli::MeasureOptions;

Captured runMeasure(MeasureOptions options) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = wolterix::cli::measure(options, out, err);
  return {code, out.str(), err.str()};
}

// A 230 V sine source across 100 ohms, written to a file of this test's own.
std::string sourceAcrossResistor() {
  wolterix::model::Schematic s;
  wolterix::testing::buildPair(s, wolterix::model::ElementKind::Nap, "sin/230/0/50/0",
                               wolterix::model::ElementKind::Rez, "100");
  const auto path = std::filesystem::temp_directory_path() /
                    (std::string("wolterix-") +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wtx");
  EXPECT_TRUE(wolterix::model::saveSchematicFile(s, path).ok());
  return path.string();
}

TEST(CliMeasure, ReadsEveryIndicationOfASineOnAResistor) {
  const std::string path = sourceAcrossResistor();
  const Captured r = runMeasure(
      {path, "50", "5", 2, 944, {"U(R1)", "U(R1):avg", "U(R1):dc", "I(R1)", "P(R1)", "P(R1):dc"}});
  std::filesystem::remove(path);
  ASSERT_EQ(r.code, 0) << r.err;
  const auto lines = splitLines(r.out);
  ASSERT_EQ(lines.size(), 6u);
  const auto field = [&](std::size_t line, int index) {
    std::istringstream in(lines[line]);
    std::string part;
    for (int i = 0; i <= index; ++i) std::getline(in, part, '\t');
    return part;
  };
  EXPECT_EQ(field(0, 0), "U(R1)");
  EXPECT_EQ(field(0, 1), "TRMS");
  EXPECT_EQ(field(0, 3), "230.0 V");
  EXPECT_EQ(field(1, 1), "AV");
  EXPECT_EQ(field(1, 3), "207.1 V");
  EXPECT_EQ(field(2, 1), "DC");
  EXPECT_LT(std::abs(std::stod(field(2, 2))), 1e-6);
  EXPECT_EQ(field(3, 3), "2.300 A");
  EXPECT_EQ(field(4, 1), "DC");
  EXPECT_NEAR(std::stod(field(4, 2)), 230.0 * 230.0 / 100.0, 0.01);
  EXPECT_EQ(field(4, 3), "529.0 W");
  EXPECT_EQ(lines[5], lines[4]);
}

TEST(CliMeasure, RefusesWhatItCannotMeasure) {
  const std::string path = sourceAcrossResistor();
  const auto code = [&](MeasureOptions options) { return runMeasure(options).code; };
  EXPECT_EQ(code({path, "50", "2,5", 0, 944, {"U(R1)"}}), 1);  // a whole number of cycles
  EXPECT_EQ(code({path, "0", "2", 0, 944, {"U(R1)"}}), 1);
  EXPECT_EQ(code({path, "50", "2", 0, 944, {"U(X9)"}}), 1);  // no such element
  EXPECT_EQ(code({path, "50", "2", 0, 944, {"n(R1)"}}), 1);  // not a meter quantity
  EXPECT_EQ(code({path, "50", "2", 0, 944, {"P(R1):rms"}}), 1);
  EXPECT_EQ(code({path, "50", "2", 0, 944, {"U(R1):szczyt"}}), 1);
  EXPECT_EQ(code({path, "50", "2", 0, 944, {"U(R1):pf"}}), 1);  // a power's indication
  EXPECT_EQ(code({path, "50", "2", 0, 944, {"P(R1):thd"}}), 1);
  EXPECT_EQ(code({path, "50", "2", 0, 944, {}}), 1);
  std::filesystem::remove(path);
  EXPECT_EQ(code({WOLTERIX_TEST_DATA "/transfer.wtx", "50", "2", 0, 944, {"U(R1)"}}), 1);
  const Captured missing =
      runMeasure({WOLTERIX_TEST_DATA "/missing_parameter.wtx", "50", "2", 0, 944, {"U(R1)"}});
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("Brak parametrów"), std::string::npos);
}

// The six-pulse bridge: its line current is near the ideal 120° block (no even or triplen
// orders, the fifth at 1/5 and the seventh at 1/7 of the fundamental, THD 29.68 % up to 40),
// and the source sees λ ≈ (3/π)·cos 30° = 0.827 with cos φ₁ = cos 30°.
TEST(CliHarmonics, TheBridgeLineCurrentAndItsPowerMeters) {
  wolterix::cli::HarmonicsOptions options{
      WOLTERIX_EXAMPLES "/mostek3f.wtx", "200m", 1, 2000, "I(Ea)", "", 40, 2};
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(wolterix::cli::harmonics(options, out, err), 0) << err.str();
  const auto lines = splitLines(out.str());
  ASSERT_EQ(lines.size(), 43u);
  const auto column = [&](std::size_t line, int index) {
    std::istringstream fields(lines[line]);
    std::string field;
    for (int i = 0; i <= index; ++i) std::getline(fields, field, '\t');
    return std::stod(field);
  };
  EXPECT_EQ(column(0, 1), 50.0);
  // Within what the load's ripple and the firing at step instants change.
  EXPECT_NEAR(column(4, 3), 20.0, 1.5);       // fifth
  EXPECT_NEAR(column(6, 3), 100.0 / 7, 1.5);  // seventh
  for (std::size_t order : {2u, 3u, 4u, 6u, 9u}) EXPECT_LT(column(order - 1, 3), 1.5) << order;
  EXPECT_EQ(lines[40].substr(0, 4), "THD\t");
  EXPECT_NEAR(std::stod(lines[40].substr(4)), 29.68, 1.0);
  EXPECT_EQ(lines[41].substr(0, 4), "RMS\t");
  EXPECT_EQ(lines[42].substr(0, 3), "DC\t");
  EXPECT_NE(err.str().find("granica próbkowania: rząd 100"), std::string::npos);

  const Captured meters = runMeasure({WOLTERIX_EXAMPLES "/mostek3f.wtx",
                                      "50",
                                      "10",
                                      1,
                                      400,
                                      {"I(Ea):thd", "P(Ea):pf", "P(Ea):cosphi", "P(Ea):q"}});
  ASSERT_EQ(meters.code, 0) << meters.err;
  const auto read = splitLines(meters.out);
  ASSERT_EQ(read.size(), 4u);
  const auto reading = [&](std::size_t i) {
    std::istringstream fields(read[i]);
    std::string field;
    for (int k = 0; k < 3; ++k) std::getline(fields, field, '\t');
    return std::stod(field);
  };
  EXPECT_NEAR(reading(0), 29.68, 1.0);
  EXPECT_NEAR(reading(1), -3.0 / std::numbers::pi * std::cos(std::numbers::pi / 6), 0.01);
  EXPECT_NEAR(reading(2), -std::cos(std::numbers::pi / 6), 0.01);
  EXPECT_NE(read[3].find(" kvar"), std::string::npos);
  EXPECT_NE(read[1].find("\tPF\t"), std::string::npos);

  // What cannot be analysed is refused in Polish.
  options.fundamentalText = "1";
  std::ostringstream none;
  EXPECT_EQ(wolterix::cli::harmonics(options, none, err), 1);
  EXPECT_NE(err.str().find("krótszy niż jeden okres"), std::string::npos);
  options = {WOLTERIX_EXAMPLES "/dzielnik.wtx", "20m", 0, 944, "U(R1)", "", 40, 0};
  EXPECT_EQ(wolterix::cli::harmonics(options, none, err), 1);  // DC alone: no f to propose
  EXPECT_NE(err.str().find("Podaj --fundamental"), std::string::npos);
  // Without a sine source the fundamental is another periodic source's, else a valve's.
  for (const auto& [file, f] : {std::pair{"/rlc.wtx", "200\t"}, {"/czoper.wtx", "1000\t"}}) {
    options = {std::string(WOLTERIX_EXAMPLES) + file, "20m", 0, 944, "U(R1)", "", 3, 0};
    std::ostringstream proposed;
    ASSERT_EQ(wolterix::cli::harmonics(options, proposed, err), 0) << file;
    EXPECT_EQ(proposed.str().rfind(std::string("1\t") + f, 0), 0u) << proposed.str();
  }
}

TEST(CliConduction, TheBridgeThyristorsConductAHundredAndTwentyDegreesInTurn) {
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(wolterix::cli::conduction({WOLTERIX_EXAMPLES "/mostek3f.wtx", "100m", 0, 2000, "50"},
                                      out, err),
            0)
      << err.str();
  int whole = 0;
  for (const std::string& line : splitLines(out.str())) {
    std::istringstream fields(line);
    std::string name, start, end, angle, last;
    fields >> name >> start >> end >> angle;
    ASSERT_EQ(name.front(), 'T') << line;
    if (std::stod(start) > 0.02 && !(fields >> last)) {  // whole intervals after the start-up
      EXPECT_NEAR(std::stod(angle), 120.0, 1.0) << line;
      ++whole;
    }
  }
  EXPECT_GE(whole, 6 * 3);
  std::ostringstream none;
  EXPECT_EQ(
      wolterix::cli::conduction({WOLTERIX_EXAMPLES "/filtr.wtx", "10m", 0, 100, ""}, none, err),
      1);  // a transfer schematic
}

}  // namespace

namespace {

TEST(CliList, ADamagedFileIsListedWithTheCountOnStandardError) {
  const auto seed = std::to_string(::testing::UnitTest::GetInstance()->random_seed());
  const auto path = std::filesystem::temp_directory_path() / ("wolterix-cli-" + seed + ".wtx");
  std::ofstream(path, std::ios::binary) << "E:Rez\xABR1\xBB"
                                           "10|10|3|0|0|1|1|0|1k/$\r"
                                           "X:1|2$\r"
                                           "E:Ind\xABR1\xBB"
                                           "20|10|3|0|0|1|1|0|1m/$ \t\r";
  std::ostringstream out;
  std::ostringstream err;
  const int code = wolterix::cli::listSchematic(path.string(), out, err);
  std::filesystem::remove(path);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(err.str(),
            "Podczas wczytywania pominięto wiersze pliku lub zmieniono nazwy elementów: 2.\n");
  EXPECT_EQ(out.str(), "R1 { R=1k; }\nL1 { L=1m; Io=0; }\nPrzewody: 0\nWęzły: 0\n");
}

}  // namespace

#include <atomic>
#include <cctype>

#include "cli/command_line.h"
#include "cli/output_file.h"

namespace {

namespace fs = std::filesystem;

Captured runCli(std::vector<std::string> args, std::ostream* out = nullptr,
                const wolterix::cli::RunControl& control = {}) {
  args.insert(args.begin(), "wolterix-cli");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream ownOut;
  std::ostringstream err;
  const int code = wolterix::cli::runCommandLine(static_cast<int>(argv.size()), argv.data(),
                                                 out ? *out : ownOut, err, control);
  return {code, ownOut.str(), err.str()};
}

// A copy of an example in a folder of this test's own, removed with it.
struct ScratchFolder {
  fs::path dir;
  ScratchFolder() {
    dir = fs::temp_directory_path() /
          (std::string("wolterix-cli-") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~ScratchFolder() { fs::remove_all(dir); }
  std::string copy(const std::string& example) const {
    fs::copy_file(fs::path(WOLTERIX_EXAMPLES) / example, dir / example);
    return (dir / example).string();
  }
};

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CliSafety, RunsWhoseResultsExceedTheBudgetAreRefusedBeforeTheyStart) {
  const auto budget = [](std::size_t bytes) {
    wolterix::cli::RunControl control;
    control.memoryBudget = bytes;
    return control;
  };
  SimulateOptions options;
  options.path = WOLTERIX_EXAMPLES "/dzielnik.wtx";
  options.timeText = "10m";
  options.samples = 1000000;  // every waveform of a million samples: far beyond 1 MB
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(wolterix::cli::simulate(options, out, err, budget(1 << 20)), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("nie zmieszczą się w pamięci"), std::string::npos) << err.str();

  // One waveform keeps two node rows: 1.6 MB, beyond a 1 MB budget but well within 4 MB,
  // where the whole store (seven rows) would not fit.
  options.samples = 100000;
  options.waves = {"U(V1)"};
  err.str("");
  EXPECT_EQ(wolterix::cli::simulate(options, out, err, budget(1 << 20)), 1);
  EXPECT_NE(err.str().find("potrzeba 3 MB, dozwolone 1 MB"), std::string::npos) << err.str();
  err.str("");
  EXPECT_EQ(wolterix::cli::simulate(options, out, err, budget(4 << 20)), 0) << err.str();
  EXPECT_EQ(splitLines(out.str()).size(), 100002u);

  out.str("");
  err.str("");
  const MeasureOptions measureOptions{
      WOLTERIX_EXAMPLES "/dzielnik.wtx", "50", "2", 0, 1000000, {"U(V1)"}};
  EXPECT_EQ(wolterix::cli::measure(measureOptions, out, err, budget(1 << 20)), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("nie zmieszczą się w pamięci"), std::string::npos) << err.str();
}

TEST(CliSafety, CtrlCEndsARunWithNothingWritten) {
  const ScratchFolder scratch;
  const std::string input = scratch.copy("rc.wtx");
  const std::atomic<bool> interrupted{true};
  wolterix::cli::RunControl control;
  control.interrupted = &interrupted;
  const std::string csv = (scratch.dir / "wynik.csv").string();
  Captured c = runCli({"simulate", input, "--time", "20m", "--out", csv}, nullptr, control);
  EXPECT_EQ(c.code, 130);
  EXPECT_NE(c.err.find("Przerwano."), std::string::npos);
  EXPECT_FALSE(fs::exists(csv));
  c = runCli({"measure", input, "--freq", "50", "--cycles", "3", "--meter", "U(R1)"}, nullptr,
             control);
  EXPECT_EQ(c.code, 130);
  EXPECT_EQ(c.out, "");
}

TEST(CliRender, TheBridgeAtFiveMillisecondsShowsItsConductingPath) {
  const ScratchFolder scratch;
  const std::string svg = (scratch.dir / "chwila.svg").string();
  const std::string bridge = WOLTERIX_EXAMPLES "/mostek.wtx";
  ASSERT_EQ(runCli({"render", bridge, "--svg", svg, "--at", "5m", "--time", "40m"}).code, 0);
  const std::string picture = readAll(svg);
  EXPECT_NE(picture.find("#ff7f00"), std::string::npos);  // the highlight
  EXPECT_NE(picture.find("3,71 A"), std::string::npos);   // D1's and D4's current beside them
  EXPECT_EQ(runCli({"render", bridge, "--svg", svg}).code, 0);
  EXPECT_EQ(readAll(svg).find("#ff7f00"), std::string::npos);  // no instant, no highlight
  EXPECT_EQ(runCli({"render", bridge, "--svg", svg, "--at", "50m", "--time", "40m"}).code, 1);
  EXPECT_EQ(runCli({"render", bridge, "--svg", svg, "--at", "5m"}).code, 1);
}

TEST(CliSafety, OutputNeverReplacesTheSchematicRead) {
  const ScratchFolder scratch;
  const std::string input = scratch.copy("rc.wtx");
  const std::string before = readAll(input);
  // The same file under another spelling, and through a link.
  const std::string spelled =
      (scratch.dir / "." / ".." / scratch.dir.filename() / "rc.wtx").string();
  fs::create_symlink(input, scratch.dir / "link.wtx");
  for (const std::string& target : {spelled, (scratch.dir / "link.wtx").string()}) {
    Captured c = runCli({"simulate", input, "--time", "1m", "--out", target});
    EXPECT_EQ(c.code, 1) << target;
    EXPECT_NE(c.err.find("Plik wyjściowy nie może być plikiem schematu"), std::string::npos);
    c = runCli({"render", input, "--svg", target});
    EXPECT_EQ(c.code, 1) << target;
  }
  EXPECT_EQ(readAll(input), before);

  // A file in place is replaced whole, and nothing temporary is left beside it.
  const std::string svg = (scratch.dir / "schemat.svg").string();
  std::ofstream(svg) << "stary";
  EXPECT_EQ(runCli({"render", input, "--svg", svg}).code, 0);
  EXPECT_NE(readAll(svg).find("<svg"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.dir), fs::directory_iterator()), 3);

  // A writer that gives up leaves the old file as it was.
  EXPECT_EQ(wolterix::cli::writeFileSafely(svg,
                                           [](std::ostream& file) {
                                             file << "pół";
                                             return false;
                                           }),
            wolterix::cli::WriteOutcome::Abandoned);
  EXPECT_NE(readAll(svg).find("<svg"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.dir), fs::directory_iterator()), 3);

  const Captured c = runCli(
      {"simulate", input, "--time", "1m", "--out", (scratch.dir / "brak" / "wynik.csv").string()});
  EXPECT_EQ(c.code, 1);
  EXPECT_NE(c.err.find("brak/wynik.csv"), std::string::npos);
}

TEST(CliSafety, AFailedStandardOutputIsAnError) {
  const std::string input = WOLTERIX_EXAMPLES "/rc.wtx";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"list", input},
        {"topology", input},
        {"--help"},
        {"simulate", input, "--time", "1m", "--samples", "10"},
        {"measure", input, "--freq", "50", "--cycles", "1", "--meter", "U(R1)"}}) {
    std::ostringstream full;
    full.setstate(std::ios::badbit);
    const Captured c = runCli(args, &full);
    EXPECT_EQ(c.code, 1) << args.front();
    EXPECT_NE(c.err.find("standardowe wyjście"), std::string::npos) << args.front() << c.err;
  }
}

// Every message the command line can give, from the parser or the commands, is Polish.
TEST(CliPlot, WritesTheTracesWithTheirLegendAndAxesAsSvg) {
  const ScratchFolder scratch;
  const fs::path svg = scratch.dir / "mostek.svg";
  Captured c = runCli({"plot", WOLTERIX_EXAMPLES "/mostek.wtx", "--time", "100m", "--waves",
                       "U(R1),I(R1)", "--svg", svg.string(), "--axes", "I,U"});
  ASSERT_EQ(c.code, 0) << c.err;
  std::string text = readAll(svg);
  EXPECT_NE(text.find(">U(R1) "), std::string::npos) << text;
  EXPECT_NE(text.find(">I(R1) "), std::string::npos);
  EXPECT_NE(text.find(">[ms]</text>"), std::string::npos);
  EXPECT_NE(text.find(">[A]</text>"), std::string::npos);
  EXPECT_NE(text.find(">50</text>"), std::string::npos);  // a tick of the time axis
  std::size_t polylines = 0;
  for (std::size_t at = text.find("<polyline"); at != std::string::npos;
       at = text.find("<polyline", at + 1))
    ++polylines;
  EXPECT_EQ(polylines, 2u);
  EXPECT_NE(text.find("width=\"1600\" height=\"900\""), std::string::npos);

  // The Bode plot of a transfer schematic, at its own size.
  c = runCli({"plot", WOLTERIX_EXAMPLES "/filtr.wtx", "--from", "1", "--to", "100k", "--kind",
              "magnitude", "--size", "800x500", "--svg", svg.string()});
  ASSERT_EQ(c.code, 0) << c.err;
  text = readAll(svg);
  EXPECT_NE(text.find(">[dB]</text>"), std::string::npos);
  EXPECT_NE(text.find(">[Hz]</text>"), std::string::npos);
  EXPECT_NE(text.find("width=\"800\" height=\"500\""), std::string::npos);

  c = runCli({"plot", WOLTERIX_EXAMPLES "/filtr.wtx", "--from", "1", "--to", "100k", "--kind",
              "bode", "--svg", svg.string()});
  EXPECT_EQ(c.code, 1);
  EXPECT_NE(c.err.find("Niewłaściwy rodzaj wykresu"), std::string::npos) << c.err;
  c = runCli({"plot", WOLTERIX_EXAMPLES "/mostek.wtx", "--time", "100m", "--size", "wide", "--svg",
              svg.string()});
  EXPECT_EQ(c.code, 1);
  EXPECT_NE(c.err.find("Niewłaściwy rozmiar obrazu"), std::string::npos) << c.err;
}

TEST(CliMessages, NoMessageSpeaksEnglish) {
  const ScratchFolder scratch;  // some calls try to write onto the schematic
  const std::string rc = scratch.copy("rc.wtx");
  const std::string filter = WOLTERIX_EXAMPLES "/filtr.wtx";
  const std::vector<std::pair<std::vector<std::string>, int>> calls = {
      {{}, 1},
      {{"foo"}, 1},
      {{"--bogus"}, 1},
      {{"--help"}, 0},
      {{"simulate", "--help"}, 0},
      {{"measure", "-h"}, 0},
      {{"render", "--help"}, 0},
      {{"list"}, 1},
      {{"list", rc, "extra"}, 1},
      {{"list", WOLTERIX_EXAMPLES "/missing.wtx"}, 1},
      {{"topology", rc, "--bogus"}, 1},
      {{"simulate", rc}, 1},
      {{"simulate", rc, "--time"}, 1},
      {{"simulate", rc, "--time", "1m", "--time", "2m"}, 1},
      {{"simulate", rc, "--time", "x"}, 1},
      {{"simulate", rc, "--time", "1m", "--samples", "x"}, 1},
      {{"simulate", rc, "--time", "1m", "--samples", "0"}, 1},
      {{"simulate", rc, "--time", "1m", "--samples", "2000000"}, 1},
      {{"simulate", rc, "--time", "1m", "--iterations", "7"}, 1},
      {{"simulate", rc, "--time", "1m", "--iterations", "-1"}, 1},
      {{"simulate", rc, "--time", "1m", "--waves", "U(X9)"}, 1},
      {{"simulate", rc, "--time", "1m", "--stats=abc"}, 1},
      {{"simulate", rc, "--from", "1", "--to", "2"}, 1},
      {{"simulate", filter, "--time", "1m"}, 1},
      {{"simulate", filter, "--from", "2", "--to", "1"}, 1},
      {{"simulate", rc, "--time", "1m", "--out", rc}, 1},
      {{"simulate", rc, "--time", "1m", "--out", "/nonexistent/dir/x.csv"}, 1},
      {{"measure", rc}, 1},
      {{"measure", rc, "--freq", "50"}, 1},
      {{"measure", rc, "--freq", "50", "--cycles", "1"}, 1},
      {{"measure", rc, "--freq", "50", "--cycles", "1", "--meter"}, 1},
      {{"measure", rc, "--freq", "0", "--cycles", "1", "--meter", "U(R1)"}, 1},
      {{"measure", rc, "--freq", "50", "--cycles", "1", "--meter", "U(R1):szczyt"}, 1},
      {{"measure", rc, "--freq", "50", "--cycles", "1", "--meter", "P(R1):rms"}, 1},
      {{"measure", filter, "--freq", "50", "--cycles", "1", "--meter", "U(R1)"}, 1},
      {{"render", rc}, 1},
      {{"render", rc, "--svg"}, 1},
      {{"render", rc, "--svg", "x.svg", "--grid", "17"}, 1},
      {{"render", rc, "--svg", "x.svg", "--zoom", "5"}, 1},
      {{"render", rc, "--svg", rc}, 1},
      {{"render", rc, "--svg", "/nonexistent/dir/x.svg"}, 1},
      {{"plot", "--help"}, 0},
      {{"plot", rc, "--time", "1m"}, 1},
      {{"plot", filter, "--from", "1", "--to", "1k", "--svg", "x.svg", "--kind", "bode"}, 1},
      {{"plot", rc, "--time", "1m", "--svg", "x.svg", "--size", "1600"}, 1},
      {{"plot", rc, "--time", "1m", "--svg", "x.svg", "--size", "20x20"}, 1},
      {{"plot", rc, "--time", "1m", "--svg", "x.svg", "--background", "grey"}, 1},
      {{"plot", rc, "--time", "1m", "--svg", "x.svg", "--axes", "U,X"}, 1},
      {{"plot", rc, "--time", "1m", "--svg", "x.svg", "--db-span", "7"}, 1},
      {{"plot", rc, "--time", "1m", "--svg", rc}, 1},
      {{"simulate", WOLTERIX_TEST_DATA "/missing_parameter.wtx", "--time", "1m"}, 2},
      {{"simulate", WOLTERIX_TEST_DATA "/dangling.wtx", "--time", "1m"}, 3},
  };
  const std::vector<std::string> english = {
      "required",  "option",     "options",     "error",       "expected", "not",   "usage",
      "the",       "is",         "was",         "arguments",   "value",    "could", "convert",
      "following", "subcommand", "subcommands", "positionals", "help",     "print", "and",
      "exit",      "missing",    "allowed",     "at",          "least",    "most",  "requires",
      "in",        "range",      "text",        "int"};
  for (const auto& [call, expected] : calls) {
    const Captured c = runCli(call);
    std::string joined;
    for (const std::string& a : call) joined += a + ' ';
    EXPECT_EQ(c.code, expected) << joined;
    // Words outside option names and paths, split at everything but letters. ("argument" is
    // Polish as well.)
    std::istringstream lines(c.out + c.err);
    for (std::string line; std::getline(lines, line);) {
      std::istringstream tokens(line);
      for (std::string token; tokens >> token;) {
        if (token.front() == '-' || token.find('/') != std::string::npos) continue;
        std::string word;
        for (char ch : token + ' ') {
          // Bytes of UTF-8 letters (ą, ż, ...) belong to their word.
          if (std::isalpha(static_cast<unsigned char>(ch)) ||
              static_cast<unsigned char>(ch) >= 0x80) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
          } else {
            EXPECT_EQ(std::find(english.begin(), english.end(), word), english.end())
                << "\"" << word << "\" in \"" << line << "\" after " << joined;
            word.clear();
          }
        }
      }
    }
  }
}

}  // namespace
