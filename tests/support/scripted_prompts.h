#pragma once
/// Prompts of the sessions answered from a script, recording what the sessions tell.

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/analysis_session.h"
#include "app/document_session.h"
#include "app/measurement_session.h"

namespace wolterix::testing {

struct ScriptedDocumentPrompt : app::DocumentPrompt {
  app::SaveAnswer answer = app::SaveAnswer::Cancel;
  app::OverwriteAnswer overwrite = app::OverwriteAnswer::Cancel;
  std::optional<bool> newMode = false;
  std::string openPath;
  std::string savePath;
  bool cancelReading = false;
  int questions = 0;                ///< save questions asked
  std::vector<int> overwriteAsked;  ///< the skipped-line counts asked about
  std::vector<std::string> warnings;

  app::SaveAnswer askSave() override {
    ++questions;
    return answer;
  }
  app::OverwriteAnswer askOverwriteSkipped(int skippedLines) override {
    overwriteAsked.push_back(skippedLines);
    return overwrite;
  }
  std::optional<bool> askNewMode(bool) override { return newMode; }
  std::string askOpenPath() override { return openPath; }
  std::string askSavePath(const std::string&) override { return savePath; }
  void warn(const std::string& text) override { warnings.push_back(text); }
  bool reading(std::size_t, std::size_t) override { return !cancelReading; }
};

struct ScriptedAnalysisPrompt : app::AnalysisPrompt {
  std::vector<app::SimulationAnswer> answers;  ///< one per showing of the simulation dialog
  std::vector<std::pair<std::string, std::string>> ranges;  ///< likewise for the transfer dialog
  std::vector<std::pair<std::string, std::string>> shownRanges;
  std::size_t shown = 0;
  std::vector<std::vector<std::string>> errors;
  std::string runTime;

  app::SimulationAnswer askSimulation(const std::string&, int) override {
    return shown < answers.size() ? answers[shown++] : app::SimulationAnswer{};
  }
  std::optional<std::pair<std::string, std::string>> askRange(const std::string& from,
                                                              const std::string& to) override {
    shownRanges.emplace_back(from, to);
    if (shown >= ranges.size()) return std::nullopt;
    return ranges[shown++];
  }
  void showErrors(const std::vector<std::string>& lines) override { errors.push_back(lines); }
  void showRunTime(const std::string& text) override { runTime = text; }
};

struct ScriptedMeasurementPrompt : app::MeasurementPrompt {
  std::vector<app::MeasurementAnswer> answers;  ///< one per showing of the dialog
  std::size_t shown = 0;
  std::vector<std::vector<std::string>> errors;
  std::vector<long long> cycles;
  std::string time;
  bool panelOpen = false;
  std::function<void(long long)> onCycle;

  app::MeasurementAnswer askMeasurement(const engine::MeasurementSettings&) override {
    return shown < answers.size() ? answers[shown++] : app::MeasurementAnswer{};
  }
  std::optional<app::MeterOptions> askMeterOptions(const engine::MeterSlot&) override {
    return std::nullopt;
  }
  void showErrors(const std::vector<std::string>& lines) override { errors.push_back(lines); }
  void openPanel() override { panelOpen = true; }
  void showMeters() override {}
  void setMeasuring(bool) override {}
  void showTime(const std::string& text) override { time = text; }
  void cycleMeasured(long long cycle) override {
    cycles.push_back(cycle);
    if (onCycle) onCycle(cycle);
  }
};

}  // namespace wolterix::testing
