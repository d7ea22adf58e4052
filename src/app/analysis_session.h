#pragma once
/// The analyses without widgets: the simulation or transfer dialog, its checks and retries,
/// the run and what becomes of its results.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/transient_run.h"

namespace wolterix::editor {
class Editor;
}
namespace wolterix::engine {
class Measurement;
}

namespace wolterix::app {

/// What the simulation dialog was left with.
struct SimulationAnswer {
  enum Choice { Cancelled, Start, Continue };
  Choice choice = Cancelled;
  std::string timeText;
  int iterations = 0;
};

/// The dialogs and displays of a run.
class AnalysisPrompt {
 public:
  virtual ~AnalysisPrompt() = default;
  /// The simulation dialog showing the stored time and iterations.
  virtual SimulationAnswer askSimulation(const std::string& timeText, int iterations) = 0;
  /// The transfer dialog showing the stored range: the typed f1 and f2, nullopt when cancelled.
  virtual std::optional<std::pair<std::string, std::string>> askRange(const std::string& from,
                                                                      const std::string& to) = 0;
  /// The numbered lines of a refused entry or a failed run.
  virtual void showErrors(const std::vector<std::string>& lines) = 0;
  virtual void runStarted() {}
  virtual void runProgress(int /*percent*/) {}
  virtual void runEnded() {}
  /// The simulated time reached by a successful time run ("40 ms").
  virtual void showRunTime(const std::string& /*text*/) {}
  /// Results and run state changed: the schematic is to be redrawn.
  virtual void resultsChanged() {}
};

class AnalysisSession {
 public:
  AnalysisSession(editor::Editor& editor, const engine::Measurement& measurement,
                  AnalysisPrompt& prompt);

  engine::Simulation& simulation() { return m_simulation; }
  engine::SimulationSettings& settings() { return m_settings; }
  /// True while valid results of the present workspace's analysis exist.
  bool resultsValid() const;

  /// The run command: the dialog until its entry is accepted, then the run. False when
  /// cancelled or the run failed.
  bool run();
  /// Runs with the stored settings, which pass the dialog's checks, without the dialog.
  bool runWithStoredSettings();
  /// Another stretch of the same length from where the last valid time run ended.
  bool continueRun();
  /// The run itself; continuing goes on only from valid results of this circuit.
  bool runAnalysis(bool continuing);

 private:
  editor::Editor& m_editor;
  const engine::Measurement& m_measurement;
  AnalysisPrompt& m_prompt;
  engine::Simulation m_simulation;
  engine::SimulationSettings m_settings;
  bool m_lastRunTransfer = false;
};

}  // namespace wolterix::app
