#pragma once
/// The analysis and measurement sessions as the main window shows them: the real dialogs,
/// the progress window, the measurement panel and the time display.

#include "app/analysis_session.h"
#include "app/measurement_session.h"

namespace wolterix::dialogs {
class TSymuDialog;
class TTransmiDialog;
class ProgressWindow;
}  // namespace wolterix::dialogs
namespace wolterix::meters {
class TPomiarDialog;
}

namespace wolterix::app {

class TForm1;

class AnalysisDialogs final : public AnalysisPrompt {
 public:
  explicit AnalysisDialogs(TForm1& window) : m_window(window) {}
  /// The dialogs, once the window knows the sample count.
  void create(int samples);

  SimulationAnswer askSimulation(const std::string& timeText, int iterations) override;
  std::optional<std::pair<std::string, std::string>> askRange(const std::string& from,
                                                              const std::string& to) override;
  void showErrors(const std::vector<std::string>& lines) override;
  void runStarted() override;
  void runProgress(int percent) override;
  void runEnded() override;
  void showRunTime(const std::string& text) override;
  void resultsChanged() override;

 private:
  TForm1& m_window;
  dialogs::TSymuDialog* m_simulation = nullptr;
  dialogs::TTransmiDialog* m_transfer = nullptr;
  dialogs::ProgressWindow* m_progress = nullptr;
};

class MeterDialogs final : public MeasurementPrompt {
 public:
  explicit MeterDialogs(TForm1& window) : m_window(window) {}
  /// The dialog, once the window knows the sample count; and the panel's buttons.
  void create(int samples);

  MeasurementAnswer askMeasurement(const engine::MeasurementSettings& shown) override;
  std::optional<MeterOptions> askMeterOptions(const engine::MeterSlot& meter) override;
  void showErrors(const std::vector<std::string>& lines) override;
  void openPanel() override;
  void showMeters() override;
  void setMeasuring(bool measuring) override;
  void showFrame(int frame, const std::string& time) override;
  void showTime(const std::string& time) override;
  void letEventsThrough() override;
  void cycleMeasured(long long cycle) override;
  void commandsChanged() override;
  void measurementEnded() override;

 private:
  TForm1& m_window;
  meters::TPomiarDialog* m_dialog = nullptr;
};

}  // namespace wolterix::app
