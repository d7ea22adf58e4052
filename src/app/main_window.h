#pragma once
/// The main window of the program: start screen, palettes, menus, status bar, view options,
/// settings and the file commands.

#include <QMainWindow>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "app/command_states.h"
#include "engine/transient_run.h"
#include "engine/measurement.h"
#include "results/waveform_selection.h"
#include "editor/editing.h"
#include "drawing/symbols.h"
#include "app/user_settings.h"
#include "model/schematic.h"

class QAction;
class QGridLayout;
class QToolButton;
class QActionGroup;
class QLabel;
class QMenu;
class QStackedWidget;
class QToolBar;
class QTimer;

namespace wolterix::help {
class HelpWindow;
}

namespace wolterix::results {
class TPrzeb2Dialog;
class TWykDialog;
}

namespace wolterix::dialogs {
class TSymuDialog;
class TTransmiDialog;
class ProgressWindow;
}

namespace wolterix::meters {
class MeasurementPanel;
class TPomiarDialog;
class TOpcjeDialog;
}

namespace wolterix::editor {
class SchematicCanvas;
}

namespace wolterix::dialogs {
class TTopoDialog;
class TKolorDialog;
}

namespace wolterix::printing {
class TDrukDialog;
}

namespace wolterix::app {

/// Answers of the save question.
enum class SaveAnswer { Yes, No, Cancel };
/// Answers of the question before saving over a file some of whose lines could not be read.
enum class OverwriteAnswer { Save, SaveAs, Cancel };

class TForm1 : public QMainWindow {
  Q_OBJECT

public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  model::Schematic& schematic() { return m_schematic; }
  editor::Editor& editor() { return m_editor; }
  editor::SchematicCanvas& canvas() { return *m_canvas; }
  const UserSettings& settings() const { return m_settings; }
  const QString& currentFile() const { return m_currentFile; }
  help::HelpWindow& helpWindow() { return *m_help; }
  dialogs::TTopoDialog& topologyWindow() { return *m_topology; }
  /// A command of the menus, palettes or popup menu by its name ("MXnowy", "SBRez", "Pm2").
  QAction* command(const QString& name) const;

  /// The start panel with "S T A R T"; start() leaves it for the working window.
  void showStartScreen();
  void start();
  /// Opens a file without asking anything first (start-up with a file name).
  bool openFile(const QString& path);
  /// "Wolterix - " and the file name without directory and extension, or "(bez nazwy)".
  static QString titleFor(const QString& path);
  /// Enables, shows and relabels the commands (also run whenever the program is idle).
  void idleUpdate();

  // File commands. Each returns false when it was abandoned.
  bool newDocument();
  bool openDocument();
  bool openRecent(int index);
  bool save();
  bool saveAs();

  // Replaceable for tests: the choices the file commands ask the user for.
  std::function<std::optional<bool>()> askNewMode;  ///< nullopt = cancelled, true = transfer
  std::function<QString()> askOpenPath;             ///< empty = cancelled
  std::function<QString()> askSavePath;             ///< empty = cancelled
  std::function<SaveAnswer()> askSaveQuestion;
  /// Asked by the first Save onto a file whose opening skipped lines (given their count).
  std::function<OverwriteAnswer(int skippedLines)> askOverwriteSkipped;
  /// How long (ms) a file must take to read before its progress dialog shows.
  int openProgressDelay = 1000;
  std::function<void(const QString&)> showWarning;  ///< "Uwaga" messages

  /// Prints the schematic through the print dialog (Ctrl+D).
  bool DrukujOnCl();
  /// The same layout written to a PDF file instead of a printer.
  bool exportPdf();
  /// Replaceable for tests: runs the print dialog, answers its result; and the PDF file name.
  std::function<int(class printing::TDrukDialog&)> execPrintDialog;
  std::function<QString()> askPdfPath;
  /// Prints the plot (and the schematic if chosen) from the plot window; toPdf asks for a file.
  bool printPlot(bool toPdf);
  /// "Przebiegi" (F11): the six traces and the scales.
  bool chooseWaveforms();
  /// "Wykresy" (F12): the plot window on the last results.
  void showPlots();
  results::WaveformSelection& waveformSelection() { return m_selection; }
  results::TWykDialog& plotWindow() { return *m_plots; }
  /// The parameter dialog of the one selected element (double click, F7).
  bool ParamOnCl();

  // Analyses.
  /// The run command: the simulation or transfer dialog, then the run. False when cancelled
  /// or the run failed.
  bool SymOnCl();
  /// Runs with the stored settings without the dialog (then the plots, once they exist).
  bool runWithStoredSettings();
  engine::Simulation& simulation() { return m_simulation; }
  engine::SimulationSettings& simulationSettings() { return m_simulationSettings; }
  /// True while valid results of the present workspace's analysis exist.
  bool resultsValid() const;
  /// Replaceable for tests: shows a dialog modally and answers its result.
  std::function<int(dialogs::TSymuDialog&)> execSimulationDialog;
  std::function<int(dialogs::TTransmiDialog&)> execTransferDialog;

  // Real-time measurement.
  engine::Measurement& measurement() { return m_measurement; }
  meters::MeasurementPanel& measurementPanel() { return *m_measurementPanel; }
  /// Opens or closes the measurement panel.
  void togglePanel();
  /// A meter of the quantity on the one selected element, in the first free slot; opens the
  /// panel. False when nothing was added.
  bool addMeter(engine::MeterQuantity quantity);
  void closeMeter(int slot);
  /// The options dialog of a meter; true when "OK" changed it.
  bool meterOptions(int slot);
  /// "Pomiar (Real-Time)": the measurement dialog, then the cycles. False when cancelled or a
  /// cycle failed.
  bool StartPauseOnCl();
  /// The panel's "Kontynuuj": the stored cycles again from where the last measurement ended.
  bool continueMeasurement();
  /// "Powtórz pomiar": the stored settings from 0, without the dialog.
  bool repeatMeasurement();
  /// The panel's Stop: the measurement ends after the present cycle.
  void stopMeasurement();
  std::function<int(meters::TPomiarDialog&)> execMeasurementDialog;
  std::function<int(meters::TOpcjeDialog&)> execOptionsDialog;
  /// Called after every measured cycle, once the meters show it.
  std::function<void(long long cycle)> onMeasurementCycle;

  /// Reads the settings store (only values present, validated) and applies them.
  void loadSettings();
  /// Writes the settings, the plot window's colour and grid mode included.
  void saveSettings();

  /// The menu of the palettes' right click: the view commands that show and hide them.
  QMenu* createPopupMenu() override;

protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

private:
  void buildStartPanel();
  void buildCommands();
  void buildMenus();
  void buildPalettes();
  void buildPopupMenu();
  void layOutObjectPalette();
  QAction* addCommand(const QString& name, const QString& text, const QString& hint,
                      const QKeySequence& key, std::function<void()> run);
  void edited();
  void applyView();
  bool maybeSave();
  bool writeFile(const QString& path);
  void documentReplaced();
  void rememberRecent(const QString& path);
  void refreshTopology();
  void showHelp(const QString& request);
  void contextHelp();
  /// Opens the help window on a topic number (for the dialogs' "Pomoc" and F1).
  std::function<void(int)> helpOnTopic();
  int topicOfSelection() const;
  void setMode(int mode);

  bool runAnalysis(bool continueRun);
  bool runMeasurement(bool continueRun);
  bool runStoredMeasurement(bool continueRun);
  void setMeasuring(bool measuring);
  void showMeters();
  void showErrors(const std::vector<std::string>& lines);

  model::Schematic m_schematic;
  editor::Editor m_editor{m_schematic};
  engine::Simulation m_simulation;
  engine::SimulationSettings m_simulationSettings;
  bool m_lastRunTransfer = false;
  dialogs::TSymuDialog* m_simulationDialog = nullptr;
  dialogs::TTransmiDialog* m_transferDialog = nullptr;
  dialogs::ProgressWindow* m_progress = nullptr;
  results::WaveformSelection m_selection;
  engine::Measurement m_measurement{m_schematic, m_editor.flags()};
  meters::MeasurementPanel* m_measurementPanel = nullptr;
  meters::TPomiarDialog* m_measurementDialog = nullptr;
  bool m_closeAfterMeasurement = false;
  results::TPrzeb2Dialog* m_waveformDialog = nullptr;
  results::TWykDialog* m_plots = nullptr;
  QLabel* m_timePanel = nullptr;
  UserSettings m_settings;
  drawing::ViewSettings m_view;
  editor::SchematicCanvas* m_canvas = nullptr;
  QStackedWidget* m_pages = nullptr;
  QToolBar* m_toolPalette = nullptr;
  QToolBar* m_objectPalette = nullptr;
  QLabel* m_analysisPanel = nullptr;
  QLabel* m_positionPanel = nullptr;
  QLabel* m_hintPanel = nullptr;
  QString m_editorHint;    ///< a refused edit's hint, kept while the mouse stays put
  QString m_editorHintAt;  ///< the grid position shown when it was given
  QMenu* m_popup = nullptr;
  std::vector<QToolButton*> m_paletteButtons;
  QGridLayout* m_paletteLayout = nullptr;
  QActionGroup* m_modes = nullptr;
  QActionGroup* m_gridSizes = nullptr;
  QActionGroup* m_zooms = nullptr;
  std::map<QString, QAction*> m_commands;
  std::map<int, QAction*> m_modeActions;  ///< mode -> the MX item shared with the palette
  dialogs::TTopoDialog* m_topology = nullptr;
  help::HelpWindow* m_help = nullptr;
  QTimer* m_idle = nullptr;
  QString m_currentFile;
  int m_linesLostOnSave = 0;  ///< lines of the current file that its opening skipped
  QString m_lastRecentPath;
  bool m_started = false;
};

}  // namespace wolterix::app
