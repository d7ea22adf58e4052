#include "cli/commands.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <optional>
#include <sstream>

#include "cli/cli_messages.h"
#include "cli/output_file.h"
#include "drawing/instant_overlay.h"
#include "drawing/svg_canvas.h"
#include "drawing/symbols.h"
#include "editor/instant_view.h"
#include "engine/conduction.h"
#include "engine/harmonics.h"
#include "engine/measurement.h"
#include "engine/result_csv.h"
#include "engine/run_settings.h"
#include "engine/transient_run.h"
#include "model/connectivity.h"
#include "model/engineering_number.h"
#include "model/messages.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "model/waveform_names.h"
#include "results/plot_data.h"
#include "results/plot_painter.h"

namespace wolterix::cli {

namespace {

bool open(model::Schematic& schematic, const std::string& path, std::ostream& err) {
  const auto result = model::openSchematicFile(schematic, path);
  if (!result.ok()) {
    err << result.error << '\n';
    return false;
  }
  // A damaged file is still worked on, as the program opens it; only the count is told.
  if (const std::string warning = result.warning(); !warning.empty()) err << warning << '\n';
  return true;
}

int exitCodeFor(int runCode) {
  if (runCode > 0) return kCheckErrors;
  if (runCode == -1) return kSingularNetwork;
  if (runCode == engine::kStopped) return kInterrupted;
  return kFatalError;
}

// Output is buffered: only a flush tells whether it all arrived.
int finishOutput(std::ostream& out, std::ostream& err, int code) {
  out.flush();
  if (code == kSuccess && !out) {
    err << messages::kCannotWriteStdout << '\n';
    return kUsageOrFileError;
  }
  return code;
}

bool interrupted(const RunControl& control) {
  return control.interrupted && control.interrupted->load(std::memory_order_relaxed);
}

std::size_t budgetOf(const RunControl& control) {
  return control.memoryBudget > 0 ? control.memoryBudget : defaultMemoryBudget();
}

std::size_t megabytes(std::size_t bytes) { return (bytes + (1u << 20) - 1) >> 20; }

void reportTooLarge(std::size_t needed, std::size_t budget, std::string_view hint,
                    std::ostream& err) {
  err << messages::kResultsTooLarge << megabytes(needed) << messages::kResultsAllowed
      << megabytes(budget) << hint << '\n';
}

// "Postęp: 40 %" on one line rewritten in place, only once a run has lasted long enough
// for the wait to be noticed; cleared again at the end.
class ProgressLine {
 public:
  ProgressLine(bool enabled, std::ostream& err)
      : m_enabled(enabled), m_err(err), m_start(std::chrono::steady_clock::now()) {}
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;
  ~ProgressLine() { finish(); }
  void finish() {
    if (m_shown) m_err << '\r' << std::string(20, ' ') << '\r' << std::flush;
    m_shown = false;
    m_enabled = false;
  }
  void show(int percent) {
    if (!m_enabled || percent == m_percent) return;
    m_percent = percent;
    if (!m_shown && std::chrono::steady_clock::now() - m_start < std::chrono::seconds(2)) return;
    m_shown = true;
    m_err << '\r' << messages::kProgress << percent << " %" << std::flush;
  }

 private:
  bool m_enabled;
  std::ostream& m_err;
  std::chrono::steady_clock::time_point m_start;
  bool m_shown = false;
  int m_percent = -1;
};

}  // namespace

std::size_t defaultMemoryBudget() {
  constexpr std::size_t kGiB = std::size_t{1} << 30;
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return kGiB;
  return std::min(kGiB, static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize) / 2);
}

std::string formatNumber(double value) { return engine::csvNumber(value); }

int listSchematic(const std::string& path, std::ostream& out, std::ostream& err) {
  model::Schematic schematic;
  if (!open(schematic, path, err)) return kUsageOrFileError;
  for (const auto& element : schematic.elements())
    out << element->parameterText(model::TextForm::Display, schematic.transferMode()) << '\n';
  out << "Przewody: " << schematic.wires().size() << '\n';
  out << "Węzły: " << schematic.junctions().size() << '\n';
  return finishOutput(out, err, kSuccess);
}

int showTopology(const std::string& path, std::ostream& out, std::ostream& err) {
  model::Schematic schematic;
  if (!open(schematic, path, err)) return kUsageOrFileError;
  model::numberNodes(schematic);
  for (const std::string& line : model::showTopology(schematic)) out << line << '\n';
  return finishOutput(out, err, kSuccess);
}

namespace {

// A time schematic takes --time alone, a transfer schematic --from and --to; otherwise says so.
bool analysisFits(bool transfer, const std::string& timeText, const std::string& fromText,
                  const std::string& toText, std::ostream& err) {
  if (transfer && (!timeText.empty() || fromText.empty() || toText.empty())) {
    err << "Schemat służy do badania transmitancji: podaj --from i --to (bez --time).\n";
    return false;
  }
  if (!transfer && (timeText.empty() || !fromText.empty() || !toText.empty())) {
    err << "Schemat służy do symulacji czasowej: podaj --time (bez --from i --to).\n";
    return false;
  }
  return true;
}

// Every asked waveform is one the schematic offers; the first that is not is reported with
// the list of those that are.
bool wavesOffered(const std::vector<std::string>& waves, const std::vector<std::string>& offered,
                  std::ostream& err) {
  for (const std::string& wave : waves) {
    if (std::find(offered.begin(), offered.end(), wave) == offered.end()) {
      err << "Schemat nie ma przebiegu " << wave << ". Dostępne: ";
      for (std::size_t i = 0; i < offered.size(); ++i) err << (i ? "," : "") << offered[i];
      err << '\n';
      return false;
    }
  }
  return true;
}

// Checks the form of an engineering number given on the command line, reporting a wrong one;
// its range is the analysis' rule (engine/run_settings).
bool validNumber(const std::string& text, const char* option, std::ostream& err) {
  if (model::isValidNumber(text, true, false)) return true;
  err << model::messages::kInvalidNumber << " (" << option << " " << text << ")\n";
  return false;
}

// Checks --time by the analysis' rule and runs the time simulation; nullopt after reporting
// a bad time.
std::optional<engine::RunResult> runTime(engine::Simulation& simulation,
                                         model::Schematic& schematic, const std::string& timeText,
                                         int iterations, const engine::RunCallbacks& callbacks,
                                         std::ostream& err) {
  if (!validNumber(timeText, "--time", err)) return std::nullopt;
  const auto time = engine::acceptedTime(timeText);
  if (!time) {
    err << model::messages::kInvalidNumber << " (--time musi być większy od zera)\n";
    return std::nullopt;
  }
  return simulation.transientRun(schematic, 0.0, *time, iterations, false, callbacks);
}

// Runs the time simulation the output commands draw on, with the progress line: nullopt when
// it ran, else the exit code after the reason was reported.
std::optional<int> runForOutput(engine::Simulation& simulation, model::Schematic& schematic,
                                const std::string& timeText, int iterations, int samples,
                                std::vector<std::string> recorded, const RunControl& control,
                                std::ostream& err) {
  const std::size_t budget = budgetOf(control);
  simulation.setSampleCount(samples);
  simulation.setRecordedWaveforms(std::move(recorded));
  simulation.setLimits({budget, control.interrupted});
  engine::RunCallbacks callbacks;
  ProgressLine progress(control.showProgress, err);
  callbacks.progress = [&progress](int percent) { progress.show(percent); };
  const auto run = runTime(simulation, schematic, timeText, iterations, callbacks, err);
  if (!run) return kUsageOrFileError;
  progress.finish();
  if (run->code == engine::kResultsTooLarge) {
    reportTooLarge(simulation.resultBytes(), budget, messages::kSimulateHint, err);
    return kUsageOrFileError;
  }
  if (!run->ok()) {
    for (const std::string& line : run->lines) err << line << '\n';
    if (run->code == engine::kStopped) err << messages::kInterrupted << '\n';
    return exitCodeFor(run->code);
  }
  return std::nullopt;
}

// Checks the run's texts by the analysis' rules and runs it; nullopt after reporting a bad
// text. Both frequencies are checked, so both are reported.
template <class Options>
std::optional<engine::RunResult> runAnalysis(engine::Simulation& simulation,
                                             model::Schematic& schematic, bool transfer,
                                             const Options& options,
                                             const engine::RunCallbacks& callbacks,
                                             std::ostream& err) {
  if (transfer) {
    const bool from = validNumber(options.fromText, "--from", err);
    const bool to = validNumber(options.toText, "--to", err);
    if (!from || !to) return std::nullopt;
    const auto range = engine::acceptedRange(options.fromText, options.toText);
    if (!range) {
      err << model::messages::kInvalidNumber << " (wymagane 0 < --from < --to)\n";
      return std::nullopt;
    }
    return simulation.frequencySweep(schematic, range->first, range->second, callbacks);
  }
  return runTime(simulation, schematic, options.timeText, options.iterations, callbacks, err);
}

}  // namespace

int simulate(const SimulateOptions& options, std::ostream& out, std::ostream& err,
             const RunControl& control) {
  if (!options.outPath.empty() && sameFile(options.outPath, options.path)) {
    err << messages::kOutputIsInput << options.outPath << '\n';
    return kUsageOrFileError;
  }
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;
  const bool transfer = schematic.transferMode();
  if (!analysisFits(transfer, options.timeText, options.fromText, options.toText, err))
    return kUsageOrFileError;

  std::vector<std::string> waves = options.waves;
  const std::vector<std::string> offered = model::waveformList(schematic);
  if (waves.empty()) waves = offered;
  if (!wavesOffered(waves, offered, err)) return kUsageOrFileError;

  // The written traces come on top of what the run keeps, which is only what they read.
  const std::size_t budget = budgetOf(control);
  const std::size_t traceBytes = waves.size() * (static_cast<std::size_t>(options.samples) + 1) *
                                 (transfer ? sizeof(engine::Complex) : sizeof(double));
  if (traceBytes >= budget) {
    reportTooLarge(traceBytes, budget, messages::kSimulateHint, err);
    return kUsageOrFileError;
  }
  engine::Simulation simulation;
  simulation.setSampleCount(options.samples);
  simulation.setRecordedWaveforms(waves);
  simulation.setLimits({budget - traceBytes, control.interrupted});
  engine::RunResult result;
  engine::RunCallbacks callbacks;
  ProgressLine progress(control.showProgress, err);
  callbacks.progress = [&progress](int percent) { progress.show(percent); };
  const auto start = std::chrono::steady_clock::now();
  const std::optional<engine::RunResult> run =
      runAnalysis(simulation, schematic, transfer, options, callbacks, err);
  if (!run) return kUsageOrFileError;
  result = *run;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  progress.finish();
  if (options.stats) {
    const engine::Network& network = simulation.network();
    const engine::SolveCounters& counters = network.counters();
    if (transfer) {
      err << "punkty: " << simulation.transferStore().pointCount << '\n';
    } else {
      err << "węzły: " << network.nodeCount() << "\ngałęzie: " << network.branches().size()
          << "\nkroki: " << counters.steps << "\nrozwiązania: " << counters.solves
          << "\nfaktoryzacje: " << counters.factorisations << '\n';
    }
    err << "czas: " << formatNumber(seconds * 1e3) << " ms\n";
    if (!transfer && seconds > 0.0)
      err << "kroki na sekundę: " << formatNumber(static_cast<double>(counters.steps) / seconds)
          << '\n';
  }
  if (result.code == engine::kResultsTooLarge) {
    reportTooLarge(simulation.resultBytes() + traceBytes, budget, messages::kSimulateHint, err);
    return kUsageOrFileError;
  }
  if (!result.ok()) {
    for (const std::string& line : result.lines) err << line << '\n';
    if (result.code == engine::kStopped) err << messages::kInterrupted << '\n';
    return exitCodeFor(result.code);
  }

  // Answers false when Ctrl+C came while writing, so that no half file is left.
  const auto writeCsv = [&](std::ostream& csv) {
    const auto stop = [&control] { return interrupted(control); };
    if (transfer) {
      const engine::FrequencyStore& store = simulation.transferStore();
      std::vector<double> frequencies;
      for (int k = 0; k < store.pointCount; ++k) frequencies.push_back(store.frequency(k));
      std::vector<std::vector<engine::Complex>> traces;
      for (const std::string& wave : waves)
        traces.push_back(store.trace(wave).value_or(std::vector<engine::Complex>{}));
      std::vector<engine::SweepColumn> columns;
      for (std::size_t i = 0; i < waves.size(); ++i) columns.push_back({waves[i], traces[i]});
      return engine::writeSweepCsv(csv, frequencies, columns, stop);
    }
    const engine::WaveformStore& store = simulation.store();
    std::vector<std::vector<double>> traces;
    for (const std::string& wave : waves)
      traces.push_back(store.trace(wave).value_or(std::vector<double>{}));
    std::vector<engine::TimeColumn> columns;
    for (std::size_t i = 0; i < waves.size(); ++i) columns.push_back({waves[i], traces[i]});
    return engine::writeTimeCsv(csv, store.startTime, store.spacing, store.sampleCount, columns,
                                stop);
  };

  if (options.outPath.empty()) {
    if (!writeCsv(out)) {
      err << messages::kInterrupted << '\n';
      return kInterrupted;
    }
    return finishOutput(out, err, kSuccess);
  }
  switch (writeFileSafely(options.outPath, writeCsv)) {
    case WriteOutcome::Written: return kSuccess;
    case WriteOutcome::Abandoned: err << messages::kInterrupted << '\n'; return kInterrupted;
    case WriteOutcome::Failed: break;
  }
  err << model::messages::kCannotWrite << options.outPath << '\n';
  return kUsageOrFileError;
}

namespace {

constexpr std::string_view kBadGrid = "Niewłaściwy rozmiar siatki (16, 18, 20, 22 albo 24): ";
constexpr std::string_view kBadZoom = "Niewłaściwe powiększenie (1..4): ";

}  // namespace

int render(const RenderOptions& options, std::ostream& err, const RunControl& control) {
  if (options.grid < 16 || options.grid > 24 || options.grid % 2 != 0) {
    err << kBadGrid << options.grid << '\n';
    return kUsageOrFileError;
  }
  if (options.zoom < 1 || options.zoom > 4) {
    err << kBadZoom << options.zoom << '\n';
    return kUsageOrFileError;
  }
  if (sameFile(options.svgPath, options.path)) {
    err << messages::kOutputIsInput << options.svgPath << '\n';
    return kUsageOrFileError;
  }
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;

  // The circuit at an instant of a time run.
  std::optional<editor::InstantView> instant;
  engine::Simulation simulation;
  if (!options.atText.empty() || !options.timeText.empty()) {
    if (schematic.transferMode()) {
      err << "Chwilę (--at) ma tylko symulacja czasowa, a schemat służy do badania "
             "transmitancji.\n";
      return kUsageOrFileError;
    }
    if (options.atText.empty() || options.timeText.empty()) {
      err << "Podaj razem --at (chwilę) i --time (czas symulacji).\n";
      return kUsageOrFileError;
    }
    if (!validNumber(options.atText, "--at", err)) return kUsageOrFileError;
    const double at = *model::parseNumber(options.atText);
    if (const auto failed = runForOutput(simulation, schematic, options.timeText,
                                         options.iterations, options.samples, {}, control, err))
      return *failed;
    const engine::WaveformStore& store = simulation.store();
    const double end = store.startTime + store.spacing * (store.sampleCount - 1);
    if (at < store.startTime || at > end) {
      err << model::messages::kInvalidNumber << " (--at musi leżeć w czasie symulacji)\n";
      return kUsageOrFileError;
    }
    instant = editor::instantAt(schematic, store, editor::nearestSample(store, at));
  }

  // Extent of everything on the grid, as the printout takes it, with room for the names.
  model::GridPoint min{model::kGridSize, model::kGridSize};
  model::GridPoint max{-1, -1};
  const auto extend = [&](const model::Obiekt& object) {
    for (const model::GridPoint p : object.coveredPoints()) {
      min = {std::min(min.x, p.x), std::min(min.y, p.y)};
      max = {std::max(max.x, p.x), std::max(max.y, p.y)};
    }
  };
  for (const auto& e : schematic.elements()) extend(*e);
  for (const auto& w : schematic.wires()) extend(*w);
  for (const auto& j : schematic.junctions()) extend(*j);
  if (max.x < min.x) min = max = {0, 0};

  drawing::ViewSettings view;
  view.grid = options.grid;
  view.zoom = options.zoom;
  view.printer = true;
  view.showGrid = false;
  // Grid steps around the objects; the values of an instant sit beside the elements.
  const int kMargin = instant ? 6 : 2;
  const double scale = options.zoom;
  const double step = scale * options.grid;
  drawing::SvgCanvas canvas((max.x - min.x + 2 * kMargin) * step,
                            (max.y - min.y + 2 * kMargin) * step);
  canvas.setBackground(drawing::colors::kWhite);
  if (instant)
    drawing::drawInstant(canvas, schematic, view, scale, (kMargin - min.x) * step,
                         (kMargin - min.y) * step, instant->picture, true);
  else
    drawing::drawSchematic(canvas, schematic, view, scale, (kMargin - min.x) * step,
                           (kMargin - min.y) * step);
  const std::string document = canvas.document();
  const auto writeSvg = [&document](std::ostream& file) {
    file << document;
    return true;
  };
  if (writeFileSafely(options.svgPath, writeSvg) != WriteOutcome::Written) {
    err << model::messages::kCannotWrite << options.svgPath << '\n';
    return kUsageOrFileError;
  }
  return kSuccess;
}

}  // namespace wolterix::cli

namespace wolterix::cli {

namespace {

constexpr std::string_view kBadKind =
    "Niewłaściwy rodzaj wykresu (magnitude, angle albo complex): ";
constexpr std::string_view kBadSize =
    "Niewłaściwy rozmiar obrazu (od 200x150 do 10000x10000, np. 1600x900): ";
constexpr std::string_view kBadBackground = "Niewłaściwe tło (white albo black): ";
constexpr std::string_view kBadAxes =
    "Niewłaściwe osie (jedna albo dwie wielkości z U, I, n, P, np. U,I): ";
constexpr std::string_view kBadDbSpan =
    "Niewłaściwy zakres decybeli (5, 10, 30, 60, 120 albo 240): ";
constexpr std::string_view kTooManyWaves = "Wykres pokazuje najwyżej 6 przebiegów, podano ";

std::optional<std::pair<int, int>> imageSize(const std::string& text) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  int w = 0;
  int h = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  const auto [wEnd, wEc] = std::from_chars(begin, begin + x, w);
  const auto [hEnd, hEc] = std::from_chars(begin + x + 1, end, h);
  if (wEc != std::errc() || wEnd != begin + x || hEc != std::errc() || hEnd != end)
    return std::nullopt;
  if (w < 200 || h < 150 || w > 10000 || h > 10000) return std::nullopt;
  return std::pair{w, h};
}

// "U,I": the quantities of the left and the right axis (one alone labels only the left).
std::optional<std::array<int, 2>> axisChoices(const std::string& text) {
  std::array<int, 2> choices{-1, -1};
  std::size_t side = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string letter = text.substr(start, comma - start);
    const std::size_t q = std::string_view("UInP").find(letter);
    if (letter.size() != 1 || q == std::string_view::npos || side >= 2) return std::nullopt;
    choices[side++] = static_cast<int>(q);
    start = comma + 1;
  }
  return choices;
}

}  // namespace

int plot(const PlotOptions& options, std::ostream& err, const RunControl& control) {
  const auto size = imageSize(options.sizeText);
  if (!size) {
    err << kBadSize << options.sizeText << '\n';
    return kUsageOrFileError;
  }
  results::TransferPlotKind kind = results::TransferPlotKind::Magnitude;
  if (options.kind == "angle")
    kind = results::TransferPlotKind::Angle;
  else if (options.kind == "complex")
    kind = results::TransferPlotKind::Complex;
  else if (options.kind != "magnitude") {
    err << kBadKind << options.kind << '\n';
    return kUsageOrFileError;
  }
  if (options.background != "white" && options.background != "black") {
    err << kBadBackground << options.background << '\n';
    return kUsageOrFileError;
  }
  std::array<int, 2> labels{0, 1};
  if (!options.axesText.empty()) {
    const auto chosen = axisChoices(options.axesText);
    if (!chosen) {
      err << kBadAxes << options.axesText << '\n';
      return kUsageOrFileError;
    }
    labels = *chosen;
  }
  const auto span = std::find(results::kMagnitudeSpans.begin(), results::kMagnitudeSpans.end(),
                              static_cast<double>(options.dbSpan));
  if (span == results::kMagnitudeSpans.end()) {
    err << kBadDbSpan << options.dbSpan << '\n';
    return kUsageOrFileError;
  }
  if (sameFile(options.svgPath, options.path)) {
    err << messages::kOutputIsInput << options.svgPath << '\n';
    return kUsageOrFileError;
  }
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;
  const bool transfer = schematic.transferMode();
  if (!analysisFits(transfer, options.timeText, options.fromText, options.toText, err))
    return kUsageOrFileError;
  std::vector<std::string> waves = options.waves;
  const std::vector<std::string> offered = model::waveformList(schematic);
  if (waves.empty())
    waves.assign(offered.begin(),
                 offered.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                                       offered.size(), results::WaveformSelection::kSlotCount)));
  if (waves.size() > std::size_t{results::WaveformSelection::kSlotCount}) {
    err << kTooManyWaves << waves.size() << ".\n";
    return kUsageOrFileError;
  }
  if (!wavesOffered(waves, offered, err)) return kUsageOrFileError;

  const std::size_t budget = budgetOf(control);
  engine::Simulation simulation;
  simulation.setSampleCount(options.samples);
  simulation.setRecordedWaveforms(waves);
  simulation.setLimits({budget, control.interrupted});
  engine::RunResult result;
  engine::RunCallbacks callbacks;
  ProgressLine progress(control.showProgress, err);
  callbacks.progress = [&progress](int percent) { progress.show(percent); };
  const std::optional<engine::RunResult> run =
      runAnalysis(simulation, schematic, transfer, options, callbacks, err);
  if (!run) return kUsageOrFileError;
  result = *run;
  progress.finish();
  if (result.code == engine::kResultsTooLarge) {
    reportTooLarge(simulation.resultBytes(), budget, messages::kSimulateHint, err);
    return kUsageOrFileError;
  }
  if (!result.ok()) {
    for (const std::string& line : result.lines) err << line << '\n';
    if (result.code == engine::kStopped) err << messages::kInterrupted << '\n';
    return exitCodeFor(result.code);
  }

  results::PlotView view;
  for (std::size_t i = 0; i < waves.size(); ++i) view.selection.traceSlots[i] = {waves[i], true};
  view.selection.transferPlot = kind;
  view.selection.magnitudeScale = static_cast<int>(span - results::kMagnitudeSpans.begin());
  view.transfer = transfer;
  if (transfer)
    view.transferPlot = results::buildTransferPlot(simulation.transferStore(), view.selection,
                                                   results::inputLevelOf(schematic));
  else
    view.time = results::buildTimePlot(simulation.store(), view.selection);
  view.colors = results::plotColors(
      options.background == "black" ? drawing::colors::kBlack : drawing::colors::kWhite, view.grid);
  view.labelChoices = labels;

  drawing::SvgCanvas canvas(size->first, size->second);
  canvas.setBackground(view.colors.background);
  results::paintPlotWithLegend(canvas, 0, 0, size->first, size->second, view, false);
  const std::string document = canvas.document();
  const auto writeSvg = [&document](std::ostream& file) {
    file << document;
    return true;
  };
  if (writeFileSafely(options.svgPath, writeSvg) != WriteOutcome::Written) {
    err << model::messages::kCannotWrite << options.svgPath << '\n';
    return kUsageOrFileError;
  }
  return kSuccess;
}

namespace {

struct MeterRequest {
  engine::MeterQuantity quantity;
  engine::Indication indication;
  std::string element;
};

struct IndicationWord {
  std::string_view word;
  engine::Indication indication;
};
// The words after the colon: a word names an indication of the quantities that offer it.
constexpr std::array<IndicationWord, 15> kIndicationWords{{
    {"rms", engine::Indication::TrueRms},
    {"avg", engine::Indication::RectifiedMean},
    {"dc", engine::Indication::DcMean},
    {"peak", engine::Indication::Peak},
    {"pp", engine::Indication::PeakToPeak},
    {"h1", engine::Indication::FundamentalRms},
    {"thd", engine::Indication::Thd},
    {"cf", engine::Indication::CrestFactor},
    {"ff", engine::Indication::FormFactor},
    {"ripple", engine::Indication::RippleFactor},
    {"p", engine::Indication::DcMean},
    {"s", engine::Indication::ApparentPower},
    {"q", engine::Indication::ReactivePower},
    {"pf", engine::Indication::PowerFactor},
    {"cosphi", engine::Indication::DisplacementFactor},
}};

constexpr std::string_view kVoltageWords = "rms, avg, dc, peak, pp, h1, thd, cf, ff, ripple";
constexpr std::string_view kPowerWords = "p (albo dc), s, q, pf, cosphi";

// "U(R1)", "I(L1):avg", "P(R1):pf": nullopt after reporting what is wrong.
std::optional<MeterRequest> meterRequest(const std::string& meterText,
                                         const model::Schematic& schematic, std::ostream& err) {
  const std::size_t colon = meterText.rfind(':');
  const bool hasIndication =
      colon != std::string::npos && meterText.find(')', colon) == std::string::npos;
  const std::string wave = hasIndication ? meterText.substr(0, colon) : meterText;
  const auto parts = model::splitWaveformName(wave);
  const std::string quantities = "UIP";
  if (!parts || quantities.find(parts->first) == std::string::npos ||
      !schematic.findElement(parts->second)) {
    err << "Niewłaściwy miernik " << meterText
        << " (podaj U(nazwa), I(nazwa) albo P(nazwa) elementu schematu, "
           "opcjonalnie :wskazanie).\n";
    return std::nullopt;
  }
  MeterRequest request{static_cast<engine::MeterQuantity>(quantities.find(parts->first)),
                       engine::Indication::TrueRms, parts->second};
  const bool power = request.quantity == engine::MeterQuantity::Power;
  if (power) request.indication = engine::Indication::DcMean;
  if (hasIndication) {
    const std::string word = meterText.substr(colon + 1);
    const auto found = std::find_if(kIndicationWords.begin(), kIndicationWords.end(),
                                    [&](const IndicationWord& w) { return w.word == word; });
    if (found == kIndicationWords.end() ||
        !engine::indicationFits(request.quantity, found->indication)) {
      err << "Niewłaściwe wskazanie " << word << " w " << meterText << " ("
          << (power ? kPowerWords : kVoltageWords) << ").\n";
      return std::nullopt;
    }
    request.indication = found->indication;
  }
  return request;
}

}  // namespace

int measure(const MeasureOptions& options, std::ostream& out, std::ostream& err,
            const RunControl& control) {
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;
  if (schematic.transferMode()) {
    err << "Pomiar jest możliwy tylko na schemacie symulacji czasowej.\n";
    return kUsageOrFileError;
  }
  const auto accepted = engine::acceptedMeasurement(options.frequencyText, options.cyclesText);
  if (!accepted) {
    err << model::messages::kInvalidNumber
        << " (--freq musi być dodatnią liczbą, --cycles liczbą całkowitą od 1)\n";
    return kUsageOrFileError;
  }
  if (options.meters.empty()) {
    err << "Podaj co najmniej jeden miernik (--meter).\n";
    return kUsageOrFileError;
  }

  model::DocumentFlags flags;
  engine::Measurement measurement(schematic, flags);
  measurement.simulation().setSampleCount(options.samples);
  measurement.settings() = {options.frequencyText, options.cyclesText, accepted->first,
                            accepted->second, options.iterations};
  // Unlike the panel, the command line is not limited to six meters: all read the same run.
  std::vector<MeterRequest> requests;
  for (const std::string& meterText : options.meters) {
    const auto request = meterRequest(meterText, schematic, err);
    if (!request) return kUsageOrFileError;
    requests.push_back(*request);
  }
  // Each cycle keeps only the rows its meters read, and each meter reads one trace at a time.
  std::vector<std::string> waves;
  for (const MeterRequest& r : requests)
    waves.push_back(engine::meterWaveform(r.quantity, r.element));
  const std::size_t budget = budgetOf(control);
  const std::size_t traceBytes = (static_cast<std::size_t>(options.samples) + 1) * sizeof(double);
  if (traceBytes >= budget) {
    reportTooLarge(traceBytes, budget, messages::kMeasureHint, err);
    return kUsageOrFileError;
  }
  measurement.simulation().setRecordedWaveforms(waves);
  measurement.simulation().setLimits({budget - traceBytes, control.interrupted});

  ProgressLine progress(control.showProgress, err);
  long long cyclesDone = 0;
  engine::MeasurementCallbacks callbacks;
  callbacks.progress = [&](int percent) {
    progress.show(static_cast<int>((cyclesDone * 100 + percent) / accepted->second));
  };
  callbacks.afterCycle = [&](long long cycle) { cyclesDone = cycle; };
  const engine::MeasurementOutcome outcome = measurement.run(false, callbacks);
  progress.finish();
  if (outcome.failure.code == engine::kResultsTooLarge) {
    reportTooLarge(measurement.simulation().resultBytes() + traceBytes, budget,
                   messages::kMeasureHint, err);
    return kUsageOrFileError;
  }
  if (outcome.failure.code != 0) {
    for (const std::string& line : outcome.failure.lines) err << line << '\n';
    if (outcome.failure.code == engine::kStopped) err << messages::kInterrupted << '\n';
    return exitCodeFor(outcome.failure.code);
  }
  const engine::WaveformStore& store = measurement.simulation().store();
  for (const MeterRequest& r : requests) {
    engine::MeterSlot slot;
    slot.quantity = r.quantity;
    slot.indication = r.indication;
    engine::showReading(
        slot, engine::readStoredCycle(store, r.quantity, r.indication, r.element).value_or(0.0));
    const std::string unit = engine::displayUnit(slot);
    out << engine::meterWaveform(r.quantity, r.element) << '\t'
        << engine::indicationText(r.indication) << '\t'
        << (std::isnan(slot.reading) ? std::string("nan") : formatNumber(slot.reading)) << '\t'
        << slot.display << (unit.empty() ? "" : " ") << unit << '\n';
  }
  return finishOutput(out, err, kSuccess);
}

namespace {
// Six significant digits, and 0 for what is rounding noise beside the trace's RMS.
std::string tableNumber(double value, double noise = 0.0) {
  if (std::isnan(value)) return "-";
  if (std::fabs(value) <= noise) value = 0.0;
  std::ostringstream text;
  text << std::setprecision(6) << value;
  return text.str();
}
}  // namespace

int harmonics(const HarmonicsOptions& options, std::ostream& out, std::ostream& err,
              const RunControl& control) {
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;
  if (schematic.transferMode()) {
    err << "Harmoniczne liczy się z symulacji czasowej, a schemat służy do badania "
           "transmitancji.\n";
    return kUsageOrFileError;
  }
  if (!wavesOffered({options.wave}, model::waveformList(schematic), err)) return kUsageOrFileError;
  double fundamental = 0.0;
  if (options.fundamentalText.empty()) {
    const auto proposed = engine::proposedFundamental(schematic);
    if (!proposed) {
      err << "Podaj --fundamental: schemat nie ma źródła okresowego ani zaworu sterowanego "
             "kątem.\n";
      return kUsageOrFileError;
    }
    fundamental = *proposed;
  } else {
    if (!validNumber(options.fundamentalText, "--fundamental", err)) return kUsageOrFileError;
    fundamental = *model::parseNumber(options.fundamentalText);
  }

  engine::Simulation simulation;
  if (const auto failed = runForOutput(simulation, schematic, options.timeText, options.iterations,
                                       options.samples, {options.wave}, control, err))
    return *failed;

  const engine::WaveformStore& store = simulation.store();
  const auto samples = store.trace(options.wave).value_or(std::vector<double>{});
  const engine::HarmonicOutcome outcome = engine::analyseHarmonics(
      samples, store.startTime, store.spacing, fundamental, options.count, options.periods);
  if (!outcome.analysis) {
    err << outcome.refusal << '\n';
    return kUsageOrFileError;
  }
  const engine::HarmonicAnalysis& a = *outcome.analysis;
  err << "Okresy: " << a.periods << " (" << tableNumber(a.from) << " s .. " << tableNumber(a.to)
      << " s), próbek na okres: " << tableNumber(a.samplesPerPeriod)
      << ", granica próbkowania: rząd " << a.samplingLimit << ".\n";
  if (static_cast<int>(a.harmonics.size()) < a.requestedCount)
    err << "Policzono rzędy 1.." << a.harmonics.size() << " z " << a.requestedCount
        << ": wyższe leżą ponad granicą próbkowania.\n";
  const double noise = 1e-12 * a.rms;
  bool atLimit = false;
  for (const engine::Harmonic& h : a.harmonics) {
    out << h.order << '\t' << tableNumber(h.frequency) << '\t' << tableNumber(h.rms, noise) << '\t'
        << tableNumber(h.percent, 1e-10) << '\t' << tableNumber(h.phase)
        << (h.atSamplingLimit ? "\t*" : "") << '\n';
    atLimit = atLimit || h.atSamplingLimit;
  }
  if (atLimit)
    err << "* Rząd na granicy próbkowania: jego wartość i faza zależą od położenia próbek.\n";
  out << "THD\t" << tableNumber(100.0 * a.thd) << " %\n";
  out << "RMS\t" << tableNumber(a.rms, 0.0) << '\n';
  out << "DC\t" << tableNumber(a.dc, noise) << '\n';
  return finishOutput(out, err, kSuccess);
}

int conduction(const ConductionOptions& options, std::ostream& out, std::ostream& err,
               const RunControl& control) {
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;
  if (schematic.transferMode()) {
    err << "Przewodzenie pokazuje symulacja czasowa, a schemat służy do badania transmitancji.\n";
    return kUsageOrFileError;
  }
  std::optional<double> fundamental;
  if (!options.fundamentalText.empty()) {
    if (!validNumber(options.fundamentalText, "--fundamental", err)) return kUsageOrFileError;
    fundamental = *model::parseNumber(options.fundamentalText);
    if (!(*fundamental > 0.0)) {
      err << engine::kFundamentalNotPositive << '\n';
      return kUsageOrFileError;
    }
  }
  engine::Simulation simulation;
  if (const auto failed = runForOutput(simulation, schematic, options.timeText, options.iterations,
                                       options.samples, {}, control, err))
    return *failed;
  const engine::WaveformStore& store = simulation.store();
  if (store.stateRows() == 0) err << "Schemat nie ma elementów przełączających.\n";
  for (int row = 0; row < store.stateRows(); ++row) {
    const std::string& name = store.stateElement(row).name;
    const auto intervals = engine::conductionIntervals(store, row);
    if (intervals.empty()) out << name << "\t-\n";
    for (const engine::ConductionInterval& interval : intervals) {
      out << name << '\t' << tableNumber(interval.start) << '\t' << tableNumber(interval.end);
      if (fundamental) out << '\t' << tableNumber(engine::conductionAngle(interval, *fundamental));
      if (interval.runsOn) out << "\t(do końca)";
      out << '\n';
    }
  }
  return finishOutput(out, err, kSuccess);
}

}  // namespace wolterix::cli
