#include "app/analysis_session.h"

#include "editor/editing.h"
#include "engine/measurement.h"
#include "engine/run_settings.h"
#include "model/messages.h"

namespace wolterix::app {

namespace {
const std::vector<std::string> kInvalid{std::string(model::messages::kInvalidNumber)};
}

AnalysisSession::AnalysisSession(editor::Editor& editor, const engine::Measurement& measurement,
                                 AnalysisPrompt& prompt)
    : m_editor(editor), m_measurement(measurement), m_prompt(prompt) {}

bool AnalysisSession::resultsValid() const {
  return m_editor.flags().resultsValid && m_lastRunTransfer == m_editor.schematic().transferMode();
}

bool AnalysisSession::run() {
  if (m_measurement.running()) return false;
  const bool transfer = m_editor.schematic().transferMode();
  for (;;) {
    if (transfer) {
      const auto typed = m_prompt.askRange(m_settings.fromText, m_settings.toText);
      if (!typed) return false;
      const auto range = engine::acceptedRange(typed->first, typed->second);
      if (!range) {
        m_prompt.showErrors(kInvalid);
        m_settings.fromText = m_settings.toText = "?";
        continue;
      }
      m_settings.fromText = typed->first;
      m_settings.toText = typed->second;
      m_settings.from = range->first;
      m_settings.to = range->second;
      return runAnalysis(false);
    }
    const SimulationAnswer answer =
        m_prompt.askSimulation(m_settings.timeText, m_settings.iterations);
    if (answer.choice == SimulationAnswer::Cancelled) return false;
    m_settings.iterations = answer.iterations;
    const auto time = engine::acceptedTime(answer.timeText);
    if (!time) {
      m_prompt.showErrors(kInvalid);
      m_settings.timeText = "?";
      continue;
    }
    m_settings.timeText = answer.timeText;
    m_settings.time = *time;
    return runAnalysis(answer.choice == SimulationAnswer::Continue);
  }
}

bool AnalysisSession::runWithStoredSettings() {
  const bool accepted =
      m_editor.schematic().transferMode()
          ? engine::acceptedRange(m_settings.fromText, m_settings.toText).has_value()
          : engine::acceptedTime(m_settings.timeText).has_value();
  if (!accepted) {
    m_prompt.showErrors(kInvalid);
    return false;
  }
  return runAnalysis(false);
}

bool AnalysisSession::continueRun() {
  return !m_editor.schematic().transferMode() && resultsValid() && runAnalysis(true);
}

bool AnalysisSession::runAnalysis(bool continuing) {
  if (m_measurement.running()) return false;
  model::Schematic& schematic = m_editor.schematic();
  m_editor.setRunInProgress(true);
  m_prompt.runStarted();
  engine::RunCallbacks callbacks;
  callbacks.progress = [this](int percent) { m_prompt.runProgress(percent); };
  engine::RunResult result;
  const bool transfer = schematic.transferMode();
  if (transfer) {
    result = m_simulation.frequencySweep(schematic, m_settings.from, m_settings.to, callbacks);
  } else {
    // "Kontynuuj" goes on only from valid results of this circuit; otherwise it starts at 0.
    const double start = continuing && resultsValid() ? m_simulation.continuationTime() : 0.0;
    result = m_simulation.transientRun(schematic, start, m_settings.time, m_settings.iterations,
                                       false, callbacks);
  }
  m_prompt.runEnded();
  m_editor.setRunInProgress(false);
  m_editor.flags().resultsValid = result.ok();
  m_lastRunTransfer = transfer;
  if (!transfer && result.ok())
    m_prompt.showRunTime(engine::timeDisplayText(m_simulation.continuationTime(), m_settings.time));
  if (!result.ok()) m_prompt.showErrors(result.lines);
  m_prompt.resultsChanged();
  return result.ok();
}

}  // namespace wolterix::app
