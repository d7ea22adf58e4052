#include "model/schematic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/cp1250.h"
#include "model/schematic.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;
using K = ElementKind;

// "«" and "»" as they stand in a file.
const std::string kOpen = "\xAB";
const std::string kClose = "\xBB";

std::string elementLine(const std::string& code, const std::string& name, const std::string& rest) {
  return "E:" + code + kOpen + name + kClose + rest;
}

SchematicText written(const Schematic& s, bool selectedOnly = false) {
  SchematicText lines;
  writeSchematic(s, lines, selectedOnly);
  return lines;
}

// A schematic with every kind, non-default parameters, all orientations, every flag.
void buildEveryKind(Schematic& s) {
  CircuitBuilder b(s);
  int x = 5;
  int orientation = 1;
  for (const KindInfo& info : allKinds()) {
    if (info.kind == K::nWe) continue;  // an input voltage belongs to a transfer workspace
    auto& e = b.element(info.kind, x, 10 + (x % 20), orientation);
    orientation = orientation == 7 ? 1 : orientation + 2;
    x += 4;
    e.showVoltage = x % 3 == 0;
    e.showCurrent = x % 2 == 0;
    e.showName = x % 5 != 0;
    e.voltageDirection = !e.voltageDirection;
    e.setCurrentDirection(x % 7 != 0);
  }
  auto find = [&](const char* name) { return s.findElement(name); };
  find("R1")->parseParameters(nullptr, "4,7k");
  find("L1")->parseParameters(nullptr, "10m/-1,5");
  find("C1")->parseParameters(nullptr, "100u/12");
  find("D1")->parseParameters(nullptr, "1m/1n");
  find("DZ1")->parseParameters(nullptr, "6,8/1m/0");
  find("T1")->parseParameters(nullptr, "1m/1u/50/30/90");
  find("GT1")->parseParameters(nullptr, "1m/0/50/45/135");
  find("TM1")->parseParameters(nullptr, "0/0/1k/10/170");
  find("B1")->parseParameters(nullptr, "pnp/2k/1m/150/20u");
  find("RT1")->parseParameters(nullptr, "0/0/60/60");
  find("Rv1")->parseParameters(nullptr, "200/0,25");
  find("Lv1")->parseParameters(nullptr, "0,5/1,2/0,1");
  find("Cv1")->parseParameters(nullptr, "1u/0,5/0");
  find("M1")->parseParameters(nullptr, "1/4/0/0,5/98");
  find("Tf1")->parseParameters(nullptr, "500/230/12/50/4/2/15/8");
  find("S1")->parseParameters(nullptr, "1,1k/220/6/1450/2/20m/1/0,01/0/1/0,05/-100/0/0");
  find("E1")->parseParameters(nullptr, "tr/10/1/1k/-45");
  find("J1")->parseParameters(nullptr, "pro/1/0/100/0");
  find("Es1")->parseParameters(nullptr, "-5/U(R1)/0");
  find("Js1")->parseParameters(nullptr, "2m/I(L1)/1u");
  find("Ł1")->parseParameters(nullptr, "1/1m/2m");
}

TEST(SchematicFile, EveryKindRoundTripsByteForByte) {
  Schematic s;
  buildEveryKind(s);
  for (const char* name : {"B1", "M1", "W1"}) {
    auto* e = s.findElement(name);
    ASSERT_NE(e, nullptr) << name;
    e->setTerminalsSwapped(s.occupancy(), true);
  }
  CircuitBuilder b(s);
  b.wire(0, 0, 0, 40);
  b.wire(0, 40, 20, 60);
  b.junction(0, 20);

  const SchematicText first = written(s);
  ASSERT_EQ(first.size(), s.elements().size() + 3);

  Schematic copy;
  EXPECT_TRUE(readSchematic(copy, first, ReadMode::Open).success);
  EXPECT_EQ(written(copy), first);
  ASSERT_EQ(copy.elementCount(), s.elementCount());
  for (std::size_t i = 0; i < s.elements().size(); ++i) {
    const Element& a = *s.elements()[i];
    const Element& c = *copy.elements()[i];
    EXPECT_EQ(c.name(), a.name());
    EXPECT_EQ(c.kind(), a.kind());
    EXPECT_EQ(c.orientation(), a.orientation());
    EXPECT_EQ(c.position(), a.position());
    EXPECT_EQ(c.terminalsSwapped, a.terminalsSwapped);
    for (int t = 0; t < a.terminalCount(); ++t) EXPECT_EQ(c.terminalPoint(t), a.terminalPoint(t));
    for (std::size_t p = 0; p < a.parameterCount(); ++p)
      EXPECT_DOUBLE_EQ(c.parameter(p).value(), a.parameter(p).value());
  }
  // The occupancy map is rebuilt exactly.
  for (int x = 0; x < kGridSize; ++x)
    for (int y = 0; y < kGridSize; ++y)
      ASSERT_EQ(copy.occupancy().at({x, y}), s.occupancy().at({x, y})) << x << "," << y;
}

TEST(SchematicFile, WritesTheDocumentedLines) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10, 3, "10k");
  auto& v = b.element(K::mmV, 20, 8, 1);
  v.showName = true;
  auto& e = b.element(K::Nap, 5, 14, 1, "sin/230/0/50/0");
  e.setName("E1");
  b.wire(10, 12, 14, 12);
  b.junction(14, 12);
  const SchematicText lines = written(s);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], elementLine("Rez", "R1", "10|10|3|0|0|1|1|0|10k/$"));
  EXPECT_EQ(lines[1], elementLine("mmV", "V1", "20|8|1|0|0|1|1|1|-/$"));
  EXPECT_EQ(lines[2], elementLine("Nap", "E1", "5|14|1|0|0|0|1|0|sin/230/0/50/0/$"));
  EXPECT_EQ(lines[3], "L:10|12|14|12$");
  EXPECT_EQ(lines[4], "W:14|12$");
}

TEST(SchematicFile, SelectedOnlyAndTheTransferHeader) {
  Schematic s;
  s.setTransferMode(true);
  CircuitBuilder b(s);
  b.element(K::Ind, 10, 10, 3, "1m/5").selected = false;
  b.element(K::Poj, 20, 10, 3, "1u/5");
  b.wire(0, 0, 0, 5).selected = false;
  const SchematicText lines = written(s, true);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "**Transmitancja**");
  EXPECT_EQ(lines[1], elementLine("Poj", "C1", "20|10|3|0|0|1|1|0|1u/$"));
  // Read into a time workspace the initial voltage keeps its default.
  Schematic time;
  readSchematic(time, {elementLine("Poj", "C1", "20|10|3|0|0|1|1|0|1u/$")}, ReadMode::Open);
  EXPECT_FALSE(time.transferMode());
  EXPECT_EQ(time.elements().at(0)->parameterText(TextForm::File, false), "1u/0");
}

TEST(SchematicFile, OnlyTheFirstLineSetsTheMode) {
  Schematic s;
  readSchematic(s, {"**Transmitancja**"}, ReadMode::Open);
  EXPECT_TRUE(s.transferMode());
  EXPECT_EQ(s.elementCount(), 0);
  Schematic t;
  readSchematic(t, {elementLine("Rez", "R1", "10|10|3|0|0|1|1|0|1k/$"), "**Transmitancja**"},
                ReadMode::Open);
  EXPECT_FALSE(t.transferMode());
  EXPECT_EQ(t.elementCount(), 1);
}

TEST(SchematicFile, SkipsWhatCannotBeRead) {
  const std::string good = elementLine("Rez", "R1", "10|10|3|0|0|1|1|0|1k/$");
  const SchematicText lines = {
      "X:1|2$",
      "",
      elementLine("Foo", "F1", "1|1|3|0|0|0|1|0|1/$"),              // unknown code
      elementLine("Rez", "", "20|20|3|0|0|1|1|0|1k/$"),             // empty name
      elementLine("Rez", "R9", "20|20|3|0|0|1|1|0|$"),              // no parameter text
      elementLine("Rez", "R9", "20|20|4|0|0|1|1|0|1k/$"),           // orientation 4
      elementLine("Rez", "R9", "20|x|3|0|0|1|1|0|1k/$"),            // coordinate not a number
      elementLine("Rez", "R9", "20|200|3|0|0|1|1|0|1k/$"),          // coordinate off the grid
      elementLine("BJT", "B1", "30|30|3|0|0|1|1|0|npn/1/1/1/1/$"),  // swap flag missing
      "L:1|1|5|3$",                                                 // not aligned
      "L:1|1|5$",                                                   // missing end
      "W:-1|5$",
      good,
      elementLine("Rez", "R2", "11|10|3|0|0|1|1|0|1k/$"),  // refused: beside R1
      "L:40|40|40|45$",
      "W:40|42$",
  };
  Schematic s;
  const ReadResult read = readSchematic(s, lines, ReadMode::Open);
  EXPECT_TRUE(read.success);
  EXPECT_EQ(read.skippedLines, 12);  // all but the blank line and the three read
  EXPECT_EQ(read.renamedElements, 0);
  ASSERT_EQ(s.elementCount(), 1);
  EXPECT_EQ(s.elements()[0]->name(), "R1");
  EXPECT_EQ(s.wires().size(), 1u);
  EXPECT_EQ(s.junctions().size(), 1u);
}

TEST(SchematicFile, OneInputVoltageOnly) {
  const SchematicText lines = {"**Transmitancja**",
                               elementLine("nWe", "U1", "10|10|1|0|0|0|1|0|0/$"),
                               elementLine("nWe", "U2", "30|10|1|0|0|0|1|0|-3/$")};
  Schematic s;
  readSchematic(s, lines, ReadMode::Open);
  ASSERT_EQ(s.elementCount(), 1);
  EXPECT_EQ(s.elements()[0]->name(), "U1");
}

TEST(SchematicFile, OrientationSevenIsFourStepsFromThree) {
  Schematic s;
  readSchematic(s, {elementLine("Rez", "R1", "10|10|7|0|0|1|1|0|1k/$")}, ReadMode::Open);
  const Element& r = *s.elements().at(0);
  EXPECT_EQ(r.orientation(), 7);
  EXPECT_EQ(r.terminalPoint(0), (GridPoint{11, 10}));
}

TEST(SchematicFile, FlagsAreTrueWhenTheirTokenBeginsWithOne) {
  Schematic s;
  readSchematic(s, {elementLine("mmW", "W1", "10|10|3|1x|0|10|0|1|1|-/$")}, ReadMode::Open);
  const Element& w = *s.elements().at(0);
  EXPECT_TRUE(w.showVoltage);
  EXPECT_FALSE(w.showCurrent);
  EXPECT_TRUE(w.voltageDirection);
  EXPECT_FALSE(w.currentDirection());
  EXPECT_TRUE(w.showName);
  EXPECT_TRUE(w.terminalsSwapped);
  EXPECT_EQ(w.secondPair(), (PointPair{{10, 11}, {10, 9}}));
}

TEST(SchematicFile, PolishLettersTravelInCodePage1250) {
  Schematic s;
  CircuitBuilder b(s);
  auto& sw = b.element(K::wyl, 10, 10);  // named "Ł1"
  b.element(K::Rez, 20, 10).setName("Ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
  b.element(K::zsN, 30, 10, 3, "2/U(Ł1)/0");
  const SchematicText lines = written(s);
  EXPECT_EQ(lines[0].substr(0, 8),
            "E:wyl\xAB\xA3"
            "1");
  EXPECT_EQ(
      lines[1].find("\xA5\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF \xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"),
      6u);
  Schematic copy;
  readSchematic(copy, lines, ReadMode::Open);
  EXPECT_EQ(copy.elements().at(0)->name(), sw.name());
  EXPECT_EQ(copy.elements().at(1)->name(), "Ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
  EXPECT_EQ(copy.elements().at(2)->controlText(), "U(Ł1)");
}

TEST(CodePage1250, DecodesTheUpperHalfAndRefusesUndefinedBytes) {
  EXPECT_EQ(decodeCp1250("\xAB\xBB\xD7\xDF"), "«»×ß");
  for (const char* undefined : {"\x81", "\x83", "\x88", "\x90", "\x98"})
    EXPECT_FALSE(decodeCp1250(undefined).has_value());
  EXPECT_FALSE(decodeCp1250(std::string("a\0b", 3)).has_value());
  EXPECT_FALSE(decodeCp1250("a\tb").has_value());
  // Every defined byte survives the way there and back.
  for (int b = 0x20; b < 0x100; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const auto decoded = decodeCp1250(byte);
    if (decoded) {
      EXPECT_EQ(encodeCp1250(*decoded), byte) << b;
    }
  }
  EXPECT_EQ(encodeCp1250("漢"), "?");
  EXPECT_EQ(encodeCp1250("\xFF"), "?");  // not UTF-8
}

TEST(CodePage1250, TellsUtf8FromCodePage1250) {
  struct Case {
    const char* bytes;
    bool utf8;
  };
  const Case cases[] = {
      {"E:Rez\xC2\xABR1\xC2\xBB", true},  // «R1» in UTF-8
      {"E:Rez\xABR1\xBB", false},         // the same in the code page
      {"ASCII only", false},
      {"\xC5\x81\xC3\xB3"
       "d\xC5\xBA",
       true},  // Łódź
      {"\xA3\xF3"
       "d\x9F",
       false},                  // Łódź in the code page
      {"\xC0\x80", false},      // overlong: "Ŕ€" in the code page
      {"\xED\xA0\x80", false},  // a surrogate
      {"\xC5", false},          // cut short
  };
  for (const Case& c : cases) EXPECT_EQ(isUtf8Text(c.bytes), c.utf8) << c.bytes;
}

TEST(SchematicFile, PasteModesCheckInsertAndMeasure) {
  Schematic group;
  CircuitBuilder g(group);
  g.element(K::Rez, 12, 10, 3, "1k");
  g.wire(13, 10, 13, 14);
  g.junction(13, 12);
  const SchematicText text = written(group);

  Schematic s;
  const ReadResult bounds = readSchematic(s, text, ReadMode::MeasureBounds);
  EXPECT_EQ(bounds.min, (GridPoint{12, 10}));
  EXPECT_EQ(bounds.max, (GridPoint{13, 14}));
  EXPECT_EQ(s.elementCount(), 0);

  CircuitBuilder(s).element(K::Rez, 2, 2);
  EXPECT_FALSE(readSchematic(s, text, ReadMode::PasteCheck, -10, -8).success);  // onto R1
  EXPECT_TRUE(readSchematic(s, text, ReadMode::PasteCheck, -5, -8).success);
  EXPECT_EQ(s.elementCount(), 1);
  EXPECT_TRUE(readSchematic(s, text, ReadMode::PasteInsert, -5, -8).success);
  ASSERT_EQ(s.elementCount(), 2);
  EXPECT_EQ(s.elements()[1]->position(), (GridPoint{7, 2}));
  EXPECT_EQ(s.wires().at(0)->start(), (GridPoint{8, 2}));
  EXPECT_EQ(s.wires().at(0)->end(), (GridPoint{8, 6}));
  EXPECT_EQ(s.junctions().at(0)->position(), (GridPoint{8, 4}));
}

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    m_path = std::filesystem::temp_directory_path() /
             ("wolterix-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_path);
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SchematicFiles, WriteCrLfAndReadBack) {
  TemporaryDirectory dir;
  Schematic s;
  CircuitBuilder(s).element(K::Rez, 10, 10, 3, "10k");
  CircuitBuilder(s).wire(11, 10, 15, 10);
  const auto path = dir.path() / "dzielnik.wtx";
  ASSERT_TRUE(saveSchematicFile(s, path).ok());
  EXPECT_EQ(fileBytes(path),
            elementLine("Rez", "R1", "10|10|3|0|0|1|1|0|10k/$") + "\r\nL:11|10|15|10$\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no leftovers

  Schematic copy;
  CircuitBuilder(copy).element(K::Poj, 50, 50);  // replaced by the file
  ASSERT_TRUE(openSchematicFile(copy, path).ok());
  EXPECT_EQ(written(copy), written(s));

  // LF-only line ends read the same.
  std::ofstream(dir.path() / "lf.wtx", std::ios::binary)
      << elementLine("Rez", "R1", "10|10|3|0|0|1|1|0|10k/$") << "\nL:11|10|15|10$";
  Schematic lf;
  ASSERT_TRUE(openSchematicFile(lf, dir.path() / "lf.wtx").ok());
  EXPECT_EQ(written(lf), written(s));
}

TEST(SchematicFiles, FailuresAreReportedAndChangeNothing) {
  TemporaryDirectory dir;
  Schematic s;
  CircuitBuilder(s).element(K::Rez, 10, 10);
  const auto missing = openSchematicFile(s, dir.path() / "brak.wtx");
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.error.find("Plik nie istnieje."), std::string::npos);
  EXPECT_FALSE(openSchematicFile(s, dir.path()).ok());  // a directory
  EXPECT_EQ(s.elementCount(), 1);

  EXPECT_FALSE(saveSchematicFile(s, dir.path() / "no-such-dir" / "x.wtx").ok());
  // A failed save leaves what was there as it was, and no temporary file behind.
  const auto path = dir.path() / "keep.wtx";
  std::filesystem::create_directory(path);
  std::ofstream(path / "old", std::ios::binary) << "old";
  EXPECT_FALSE(saveSchematicFile(s, path).ok());
  EXPECT_EQ(fileBytes(path / "old"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(SchematicFiles, ExamplesReadBackIdentically) {
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(WOLTERIX_EXAMPLES)) {
    if (entry.path().extension() != ".wtx") continue;
    ++examples;
    SCOPED_TRACE(entry.path().string());
    SchematicText lines;
    ASSERT_TRUE(loadSchematicText(entry.path(), lines).ok());
    Schematic s;
    readSchematic(s, lines, ReadMode::Open);
    EXPECT_GT(s.elementCount(), 0);
    EXPECT_EQ(written(s), lines);
  }
  EXPECT_GE(examples, 3);
}

// The bytes of a file as another editor or system may have left them.
struct DamagedForm {
  const char* name;
  std::string (*from)(const std::string& crlf);
};

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Line ends are control characters, which the decoder refuses: convert byte by byte.
std::string toUtf8(const std::string& cp1250) {
  std::string out;
  for (char c : cp1250)
    out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : *decodeCp1250({&c, 1});
  return out;
}

const DamagedForm kDamagedForms[] = {
    {"LF", [](const std::string& t) { return replaceAll(t, "\r\n", "\n"); }},
    {"CR", [](const std::string& t) { return replaceAll(t, "\r\n", "\r"); }},
    {"CR CR LF", [](const std::string& t) { return replaceAll(t, "\r\n", "\r\r\n"); }},
    {"blanks after $", [](const std::string& t) { return replaceAll(t, "$\r\n", "$ \t \r\n"); }},
    {"UTF-8", [](const std::string& t) { return toUtf8(t); }},
    {"UTF-8 with BOM", [](const std::string& t) { return "\xEF\xBB\xBF" + toUtf8(t); }},
};

TEST(SchematicFiles, DamagedLineEndsAndUtf8ReadLikeTheOriginal) {
  TemporaryDirectory dir;
  Schematic s;
  s.setTransferMode(true);
  CircuitBuilder b(s);
  b.element(K::nWe, 10, 10);
  b.element(K::Rez, 20, 10, 3, "4,7k").setName("Rą 1");
  b.element(K::Ind, 30, 10, 3, "1m").setName("Łódź");
  b.wire(20, 12, 30, 12);
  b.junction(25, 12);
  const auto original = dir.path() / "oryginal.wtx";
  ASSERT_TRUE(saveSchematicFile(s, original).ok());
  const std::string crlf = fileBytes(original);

  for (const DamagedForm& form : kDamagedForms) {
    SCOPED_TRACE(form.name);
    const auto path = dir.path() / "uszkodzony.wtx";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << form.from(crlf);
    Schematic copy;
    const OpenResult opened = openSchematicFile(copy, path);
    ASSERT_TRUE(opened.ok());
    EXPECT_EQ(written(copy), written(s));
    EXPECT_EQ(opened.warning(), "");
  }
}

TEST(SchematicFiles, WhatAUtf8FileCannotCarryIsSkippedAndCounted) {
  TemporaryDirectory dir;
  const auto path = dir.path() / "utf8.wtx";
  std::ofstream(path, std::ios::binary)
      << "\xEF\xBB\xBF"
         "E:Rez«Ω1»10|10|3|0|0|1|1|0|1k/$\n"     // no Ω in the code page
      << "E:Rez«R2»20|10|3|0|0|1|1|0|2\xFF/$\n"  // not UTF-8 at all
      << "E:Rez«Rż»30|10|3|0|0|1|1|0|3k/$\n"
      << "E:Ind«Rż»40|10|3|0|0|1|1|0|1m/$\n";
  Schematic s;
  const OpenResult opened = openSchematicFile(s, path);
  ASSERT_TRUE(opened.ok());
  EXPECT_EQ(opened.skippedLines, 2);
  EXPECT_EQ(opened.renamedElements, 1);
  EXPECT_EQ(opened.warning(),
            "Podczas wczytywania pominięto wiersze pliku lub zmieniono nazwy elementów: 3.");
  ASSERT_EQ(s.elementCount(), 2);
  EXPECT_EQ(s.elements()[0]->name(), "Rż");
  EXPECT_EQ(s.elements()[1]->name(), "L1");
}

TEST(SchematicFile, DuplicateNamesOfAFileBecomeUnique) {
  const SchematicText lines = {
      elementLine("Rez", "R1", "10|10|3|0|0|1|1|0|1k/$"),
      elementLine("Rez", "a/b", "20|10|3|0|0|1|1|0|2k/$"),  // refused: takes the default R2
      elementLine("Rez", "R2", "30|10|3|0|0|1|1|0|3k/$"),   // as a later line names itself
      elementLine("Rez", "R1", "40|10|3|0|0|1|1|0|4k/$"),
      elementLine("Ind", "R1", "50|10|3|0|0|1|1|0|1m/$"),  // another kind, the same name
      elementLine("zsN", "Es1", "60|10|3|0|0|0|1|0|2/U(R2)/0/$"),
  };
  Schematic s;
  EXPECT_EQ(readSchematic(s, lines, ReadMode::Open).renamedElements, 4);
  // The earlier element keeps its name; the later one takes the next free default.
  std::vector<std::string> named;
  for (const auto& e : s.elements())
    named.push_back(e->name() + " " + e->parameterText(TextForm::File, false));
  EXPECT_EQ(named, (std::vector<std::string>{"R1 1k", "R2 2k", "R3 3k", "R4 4k", "L1 1m/0",
                                             "Es1 2/U(R2)/0"}));
}

}  // namespace

namespace {

// Saving replaces a file through a fresh, unguessable temporary file beside it.
class SafeSaving : public ::testing::Test {
 protected:
  SafeSaving() { CircuitBuilder(m_schematic).element(K::Rez, 10, 10, 3, "10k"); }
  FileResult save(const std::filesystem::path& path) {
    return saveSchematicFile(m_schematic, path);
  }
  std::string expected() const {
    return elementLine("Rez", "R1", "10|10|3|0|0|1|1|0|10k/$") + "\r\n";
  }
  std::size_t entries(const std::filesystem::path& folder) const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
  }
  TemporaryDirectory m_dir;
  Schematic m_schematic;
};

TEST_F(SafeSaving, PlantedLinksAndLeftoversAreNotInTheWay) {
  const auto path = m_dir.path() / "obwod.wtx";
  const auto unrelated = m_dir.path() / "cudzy.txt";
  std::ofstream(path, std::ios::binary) << "old";
  std::ofstream(unrelated, std::ios::binary) << "nie ruszać";
  std::filesystem::create_symlink(unrelated, m_dir.path() / "obwod.wtx.tmp");
  ASSERT_TRUE(save(path).ok());
  EXPECT_EQ(fileBytes(path), expected());
  EXPECT_EQ(fileBytes(unrelated), "nie ruszać");

  // A folder left where a temporary file once stood.
  const auto other = m_dir.path() / "inny.wtx";
  std::filesystem::create_directory(m_dir.path() / "inny.wtx.tmp");
  ASSERT_TRUE(save(other).ok());
  EXPECT_EQ(fileBytes(other), expected());
  EXPECT_EQ(entries(m_dir.path()), 5u);  // nothing of the saves' own stays behind
}

TEST_F(SafeSaving, ALinkStaysALinkAndTheFileKeepsItsMode) {
  namespace fs = std::filesystem;
  const auto real = m_dir.path() / "pliki" / "obwod.wtx";
  fs::create_directory(real.parent_path());
  std::ofstream(real, std::ios::binary) << "old";
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(save(real).ok());
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  std::ofstream(real, std::ios::binary) << "old";
  const auto link = m_dir.path() / "skrot.wtx";
  fs::create_symlink(fs::path("pliki") / "obwod.wtx", link);  // relative to the link's folder
  ASSERT_TRUE(save(link).ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fileBytes(real), expected());
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(entries(real.parent_path()), 1u);

  // A new file gets the usual mode, not a temporary file's private one.
  const mode_t mask = ::umask(022);
  const auto fresh = m_dir.path() / "nowy.wtx";
  const bool saved = save(fresh).ok();
  ::umask(mask);
  ASSERT_TRUE(saved);
  EXPECT_EQ(fs::status(fresh).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                 fs::perms::group_read | fs::perms::others_read);
}

}  // namespace
