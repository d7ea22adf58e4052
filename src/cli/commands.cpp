#include "cli/commands.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>

#include "engine/transient_run.h"
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
  if (!result.ok()) err << result.error << '\n';
  return result.ok();
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

int simulate(const SimulateOptions& options, std::ostream& out, std::ostream& err) {
  model::Schematic schematic;
  if (!open(schematic, options.path, err)) return kUsageOrFileError;
  if (schematic.transferMode()) {
    err << "Schemat służy do badania transmitancji: podaj --from i --to zamiast --time.\n";
    return kUsageOrFileError;
  }
  if (!model::isValidNumber(options.timeText, false, false)) {
    err << model::messages::kInvalidNumber << " (--time " << options.timeText << ")\n";
    return kUsageOrFileError;
  }
  const double time = *model::parseNumber(options.timeText);

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
  const engine::RunResult result =
      simulation.transientRun(schematic, 0.0, time, options.iterations);
  if (!result.ok()) {
    for (const std::string& line : result.lines) err << line << '\n';
    return exitCodeFor(result.code);
  }

  const engine::WaveformStore& store = simulation.store();
  std::vector<std::vector<double>> traces;
  for (const std::string& wave : waves) traces.push_back(store.trace(wave).value_or(std::vector<double>{}));

  std::ofstream file;
  std::ostream* sink = &out;
  if (!options.outPath.empty()) {
    file.open(options.outPath, std::ios::binary | std::ios::trunc);
    if (!file) {
      err << model::messages::kCannotWrite << options.outPath << '\n';
      return kUsageOrFileError;
    }
    sink = &file;
  }
  *sink << 't';
  for (const std::string& wave : waves) *sink << ',' << csvField(wave);
  *sink << '\n';
  for (int k = 0; k < store.sampleCount; ++k) {
    *sink << formatNumber(store.startTime + k * store.spacing);
    for (const auto& trace : traces)
      *sink << ',' << (k < static_cast<int>(trace.size()) ? formatNumber(trace[k]) : "");
    *sink << '\n';
  }
  sink->flush();
  if (!*sink) {
    err << model::messages::kCannotWrite << options.outPath << '\n';
    return kUsageOrFileError;
  }
  return kSuccess;
}

}  // namespace wolterix::cli
