#include "cli/commands.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <fstream>
#include <optional>

#include "editor/svg_canvas.h"
#include "editor/symbols.h"
#include "engine/transient_run.h"
#include "meters/measurement.h"
#include "model/connectivity.h"
#include "model/engineering_number.h"
#include "model/messages.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "model/waveform_names.h"

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

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

int exitCodeFor(int runCode) {
  if (runCode > 0) return kCheckErrors;
  if (runCode == -1) return kSingularNetwork;
  return kFatalError;
}

}  // namespace

std::string formatNumber(double value) {
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

int listSchematic(const std::string& path, std::ostream& out, std::ostream& err) {
  model::Schematic schematic;
  if (!open(schematic, path, err)) return kUsageOrFileError;
  for (const auto& element : schematic.elements())
    out << element->parameterText(model::TextForm::Display, schematic.transferMode()) << '\n';
  out << "Przewody: " << schematic.wires().size() << '\n';
  out << "Węzły: " << schematic.junctions().size() << '\n';
  return kSuccess;
}

int showTopology(const std::string& path, std::ostream& out, std::ostream& err) {
  model::Schematic schematic;
  if (!open(schematic, path, err)) return kUsageOrFileError;
  model::numberNodes(schematic);
  for (const std::string& line : model::showTopology(schematic)) out << line << '\n';
  return kSuccess;
}

namespace {

// Checks an engineering number given on the command line; nullopt after reporting it.
std::optional<double> numberOption(const std::string& text, const char* option,
                                   std::ostream& err) {
  if (!model::isValidNumber(text, true, false)) {
    err << model::messages::kInvalidNumber << " (" << option << " " << text << ")\n";
    return std::nullopt;
  }
  return *model::parseNumber(text);
}

class CsvSink {
public:
  CsvSink(const std::string& path, std::ostream& out) : m_path(path), m_stream(&out) {
    if (!path.empty()) {
      m_file.open(path, std::ios::binary | std::ios::trunc);
      m_stream = &m_file;
    }
  }
  bool opened() const { return m_path.empty() || m_file.is_open(); }
  std::ostream& stream() { return *m_stream; }
  bool finish() {
    m_stream->flush();
    return static_cast<bool>(*m_stream);
  }

private:
  std::string m_path;
  std::ofstream m_file;
  std::ostream* m_stream;
};

}  // namespace

int simulate(const SimulateOptions& options, std::ostream& out, std::ostream& err) {
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;
  const bool transfer = schematic.transferMode();
  if (transfer && (!options.timeText.empty() || options.fromText.empty() || options.toText.empty())) {
    err << "Schemat służy do badania transmitancji: podaj --from i --to (bez --time).\n";
    return kUsageOrFileError;
  }
  if (!transfer && (options.timeText.empty() || !options.fromText.empty() || !options.toText.empty())) {
    err << "Schemat służy do symulacji czasowej: podaj --time (bez --from i --to).\n";
    return kUsageOrFileError;
  }

  std::vector<std::string> waves = options.waves;
  const std::vector<std::string> offered = model::waveformList(schematic);
  if (waves.empty()) waves = offered;
  for (const std::string& wave : waves) {
    if (std::find(offered.begin(), offered.end(), wave) == offered.end()) {
      err << "Schemat nie ma przebiegu " << wave << ". Dostępne: ";
      for (std::size_t i = 0; i < offered.size(); ++i) err << (i ? "," : "") << offered[i];
      err << '\n';
      return kUsageOrFileError;
    }
  }

  engine::Simulation simulation;
  simulation.setSampleCount(options.samples);
  engine::RunResult result;
  const auto start = std::chrono::steady_clock::now();
  if (transfer) {
    const auto from = numberOption(options.fromText, "--from", err);
    const auto to = numberOption(options.toText, "--to", err);
    if (!from || !to) return kUsageOrFileError;
    if (!(*from > 0.0) || !(*to > *from)) {
      err << model::messages::kInvalidNumber << " (wymagane 0 < --from < --to)\n";
      return kUsageOrFileError;
    }
    result = simulation.frequencySweep(schematic, *from, *to);
  } else {
    const auto time = numberOption(options.timeText, "--time", err);
    if (!time) return kUsageOrFileError;
    if (!(*time > 0.0)) {
      err << model::messages::kInvalidNumber << " (--time musi być większy od zera)\n";
      return kUsageOrFileError;
    }
    result = simulation.transientRun(schematic, 0.0, *time, options.iterations);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
  if (!result.ok()) {
    for (const std::string& line : result.lines) err << line << '\n';
    return exitCodeFor(result.code);
  }

  CsvSink sink(options.outPath, out);
  if (!sink.opened()) {
    err << model::messages::kCannotWrite << options.outPath << '\n';
    return kUsageOrFileError;
  }
  std::ostream& csv = sink.stream();
  if (transfer) {
    const engine::FrequencyStore& store = simulation.transferStore();
    std::vector<std::vector<engine::Complex>> traces;
    csv << 'f';
    for (const std::string& wave : waves) {
      traces.push_back(store.trace(wave).value_or(std::vector<engine::Complex>{}));
      for (const char* part : {".re", ".im", ".dB", ".deg"}) csv << ',' << csvField(wave + part);
    }
    csv << '\n';
    for (int k = 0; k < store.pointCount; ++k) {
      csv << formatNumber(store.frequency(k));
      for (const auto& trace : traces) {
        const engine::Complex v = k < static_cast<int>(trace.size()) ? trace[k] : engine::Complex{};
        csv << ',' << formatNumber(v.real()) << ',' << formatNumber(v.imag()) << ','
            << formatNumber(20.0 * std::log10(std::abs(v))) << ','
            << formatNumber(std::arg(v) * 180.0 / 3.14159265358979323846);
      }
      csv << '\n';
    }
  } else {
    const engine::WaveformStore& store = simulation.store();
    std::vector<std::vector<double>> traces;
    for (const std::string& wave : waves)
      traces.push_back(store.trace(wave).value_or(std::vector<double>{}));
    csv << 't';
    for (const std::string& wave : waves) csv << ',' << csvField(wave);
    csv << '\n';
    for (int k = 0; k < store.sampleCount; ++k) {
      csv << formatNumber(store.startTime + k * store.spacing);
      for (const auto& trace : traces)
        csv << ',' << (k < static_cast<int>(trace.size()) ? formatNumber(trace[k]) : "");
      csv << '\n';
    }
  }
  if (!sink.finish()) {
    err << model::messages::kCannotWrite << options.outPath << '\n';
    return kUsageOrFileError;
  }
  return kSuccess;
}

namespace {

constexpr std::string_view kBadGrid = "Niewłaściwy rozmiar siatki (16, 18, 20, 22 albo 24): ";
constexpr std::string_view kBadZoom = "Niewłaściwe powiększenie (1..4): ";

}  // namespace

int render(const RenderOptions& options, std::ostream& err) {
  if (options.grid < 16 || options.grid > 24 || options.grid % 2 != 0) {
    err << kBadGrid << options.grid << '\n';
    return kUsageOrFileError;
  }
  if (options.zoom < 1 || options.zoom > 4) {
    err << kBadZoom << options.zoom << '\n';
    return kUsageOrFileError;
  }
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;

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

  editor::ViewSettings view;
  view.grid = options.grid;
  view.zoom = options.zoom;
  view.printer = true;
  view.showGrid = false;
  constexpr int kMargin = 2;  // grid steps around the objects
  const double scale = options.zoom;
  const double step = scale * options.grid;
  editor::SvgCanvas canvas((max.x - min.x + 2 * kMargin) * step,
                           (max.y - min.y + 2 * kMargin) * step);
  canvas.setBackground(editor::colors::kWhite);
  editor::drawSchematic(canvas, schematic, view, scale, (kMargin - min.x) * step,
                        (kMargin - min.y) * step);
  if (!canvas.save(options.svgPath)) {
    err << model::messages::kCannotWrite << options.svgPath << '\n';
    return kUsageOrFileError;
  }
  return kSuccess;
}

}  // namespace wolterix::cli

namespace wolterix::cli {

namespace {

struct MeterRequest {
  meters::MeterQuantity quantity;
  meters::Indication indication;
  std::string element;
};

// "U(R1)", "I(L1):avg", "P(R1):dc": nullopt after reporting what is wrong.
std::optional<MeterRequest> meterRequest(const std::string& meterText, const model::Schematic& schematic,
                                         std::ostream& err) {
  const std::size_t colon = meterText.rfind(':');
  const bool hasIndication = colon != std::string::npos && meterText.find(')', colon) == std::string::npos;
  const std::string wave = hasIndication ? meterText.substr(0, colon) : meterText;
  const auto parts = model::splitWaveformName(wave);
  const std::string quantities = "UIP";
  if (!parts || quantities.find(parts->first) == std::string::npos ||
      !schematic.findElement(parts->second)) {
    err << "Niewłaściwy miernik " << meterText
        << " (podaj U(nazwa), I(nazwa) albo P(nazwa) elementu schematu, "
           "opcjonalnie :rms, :avg lub :dc).\n";
    return std::nullopt;
  }
  MeterRequest request{static_cast<meters::MeterQuantity>(quantities.find(parts->first)),
                       meters::Indication::TrueRms, parts->second};
  if (request.quantity == meters::MeterQuantity::Power) request.indication = meters::Indication::DcMean;
  if (hasIndication) {
    const std::string kind = meterText.substr(colon + 1);
    if (kind == "rms") {
      request.indication = meters::Indication::TrueRms;
    } else if (kind == "avg") {
      request.indication = meters::Indication::RectifiedMean;
    } else if (kind == "dc") {
      request.indication = meters::Indication::DcMean;
    } else {
      err << "Niewłaściwe wskazanie " << kind << " w " << meterText << " (rms, avg albo dc).\n";
      return std::nullopt;
    }
  }
  if (request.quantity == meters::MeterQuantity::Power &&
      request.indication != meters::Indication::DcMean) {
    err << "Watomierz wskazuje moc czynną, czyli wartość średnią DC: " << meterText << " (użyj :dc).\n";
    return std::nullopt;
  }
  return request;
}

}  // namespace

int measure(const MeasureOptions& options, std::ostream& out, std::ostream& err) {
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;
  if (schematic.transferMode()) {
    err << "Pomiar jest możliwy tylko na schemacie symulacji czasowej.\n";
    return kUsageOrFileError;
  }
  const auto accepted = meters::acceptedMeasurement(options.frequencyText, options.cyclesText);
  if (!accepted) {
    err << model::messages::kInvalidNumber
        << " (--freq musi być dodatnią liczbą, --cycles liczbą całkowitą od 1)\n";
    return kUsageOrFileError;
  }
  if (options.meters.empty()) {
    err << "Podaj co najmniej jeden miernik (--meter).\n";
    return kUsageOrFileError;
  }

  editor::DocumentFlags flags;
  meters::Measurement measurement(schematic, flags);
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
  const meters::MeasurementOutcome outcome = measurement.run(false);
  if (outcome.failure.code != 0) {
    for (const std::string& line : outcome.failure.lines) err << line << '\n';
    return exitCodeFor(outcome.failure.code);
  }
  const engine::WaveformStore& store = measurement.simulation().store();
  for (const MeterRequest& r : requests) {
    meters::MeterSlot slot;
    slot.quantity = r.quantity;
    meters::showReading(slot, meters::readStoredCycle(store, r.quantity, r.indication, r.element).value_or(0.0));
    out << meters::meterWaveform(r.quantity, r.element) << '\t' << meters::indicationText(r.indication)
        << '\t' << formatNumber(slot.reading) << '\t' << slot.display << ' '
        << meters::prefixText(slot.shownPrefix) << meters::unitText(r.quantity) << '\n';
  }
  return kSuccess;
}

}  // namespace wolterix::cli
