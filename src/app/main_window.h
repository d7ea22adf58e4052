#pragma once
/// The main window of the program: start screen, palettes, menus and status bar built from
/// the command table, wired to the document, analysis and measurement sessions.

#include <QMainWindow>
#include <QString>
#include <array>
#include <chrono>
#include <functional>
#include <map>
#include <memory>

#include "app/commands.h"
#include "app/document_session.h"
#include "app/file_dialogs.h"
#include "app/user_settings.h"
#include "app/window_prompts.h"
#include "drawing/symbols.h"
#include "editor/editing.h"
#include "engine/measurement.h"
#include "model/schematic.h"
#include "results/waveform_selection.h"

class QAction;
class QActionGroup;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QMimeData;
class QPainter;
class QPoint;
class QPointF;
class QRectF;
class QScrollArea;
class QStackedWidget;
class QToolBar;
class QTimer;

namespace wolterix::help {
class HelpWindow;
}
namespace wolterix::results {
class TPrzeb2Dialog;
class TWykDialog;
}  // namespace wolterix::results
namespace wolterix::meters {
class MeasurementPanel;
class TPomiarDialog;
class TOpcjeDialog;
}  // namespace wolterix::meters
namespace wolterix::editor {
class SchematicCanvas;
}
namespace wolterix::dialogs {
class TTopoDialog;
}
namespace wolterix::printing {
class TDrukDialog;
}

namespace wolterix::app {

class InstantSession;
class RecoverySession;
class ObjectPalette;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  model::Schematic& schematic() { return m_schematic; }
  editor::Editor& editor() { return m_editor; }
  editor::SchematicCanvas& canvas() { return *m_canvas; }
  const UserSettings& settings() const { return m_settings; }
  QString currentFile() const { return QString::fromStdString(m_documents.currentFile()); }
  help::HelpWindow& helpWindow() { return *m_help; }
  dialogs::TTopoDialog& topologyWindow() { return *m_topology; }
  /// A command of the menus, palettes or popup menu by its name ("MXnowy", "SBRez", "Pm2").
  QAction* command(const QString& name) const;
  QAction* action(Command command) const { return m_actions[static_cast<std::size_t>(command)]; }

  /// The start panel with "S T A R T"; start() leaves it for the working window.
  void showStartScreen();
  void start();
  /// Opens a file without asking anything first (start-up with a file name).
  bool openFile(const QString& path) { return m_documents.openFile(path.toStdString()); }
  /// Opens a file dropped on the window as "Otwórz" does: the save question first.
  bool openDropped(const QString& path);
  /// "Wolterix - " and the file name without directory and extension, or "(bez nazwy)".
  static QString titleFor(const QString& path);
  /// Enables, shows and relabels the commands (also run whenever the program is idle).
  void idleUpdate();

  /// New, open, save: their questions come from fileDialogs() unless a test sets its own.
  DocumentSession& documents() { return m_documents; }
  FileDialogs& fileDialogs() { return m_fileDialogs; }

  /// Prints the schematic through the print dialog (Ctrl+D).
  bool DrukujOnCl();
  /// The same layout written to a PDF file instead of a printer.
  bool exportPdf();
  /// Replaceable for tests: runs the print dialog, answers its result; and the PDF file name.
  std::function<int(printing::TDrukDialog&)> execPrintDialog;
  std::function<QString()> askPdfPath;
  /// Prints the plot (and the schematic if chosen) from the plot window; toPdf asks for a file.
  bool printPlot(bool toPdf);
  /// Prints the bar chart of the harmonics window (and the schematic if chosen) the same way.
  bool printHarmonics(bool toPdf);
  /// "Przebiegi" (F11): the six traces and the scales.
  bool chooseWaveforms();
  /// "Wykresy" (F12): the plot window on the last results.
  void showPlots();
  results::WaveformSelection& waveformSelection() { return m_selection; }
  results::TWykDialog& plotWindow() { return *m_plots; }
  /// The parameter dialog of the one selected element (double click, F7).
  bool ParamOnCl();

  // Analyses.
  AnalysisSession& analysis() { return m_analysis; }
  /// The run command: the simulation or transfer dialog, then the run.
  bool SymOnCl() { return m_analysis.run(); }
  bool runWithStoredSettings() { return m_analysis.runWithStoredSettings(); }
  engine::Simulation& simulation() { return m_analysis.simulation(); }
  engine::SimulationSettings& simulationSettings() { return m_analysis.settings(); }
  bool resultsValid() const { return m_analysis.resultsValid(); }
  /// Stepping through the last time run ("Przewijanie") and the instant the schematic shows.
  InstantSession& instant() { return *m_instant; }
  /// Replaceable for tests: shows a dialog modally and answers its result.
  std::function<int(dialogs::TSymuDialog&)> execSimulationDialog;
  std::function<int(dialogs::TTransmiDialog&)> execTransferDialog;

  // Real-time measurement.
  engine::Measurement& measurement() { return m_measurement; }
  meters::MeasurementPanel& measurementPanel() { return *m_measurementPanel; }
  /// Opens or closes the measurement panel.
  void togglePanel();
  bool addMeter(engine::MeterQuantity quantity) { return m_meters.addMeter(quantity); }
  void closeMeter(int slot) { m_meters.closeMeter(slot); }
  bool meterOptions(int slot) { return m_meters.meterOptions(slot); }
  /// "Pomiar (Real-Time)": the measurement dialog, then the cycles.
  bool StartPauseOnCl() { return m_meters.start(); }
  bool continueMeasurement() { return m_meters.continueMeasurement(); }
  bool repeatMeasurement() { return m_meters.repeatMeasurement(); }
  void stopMeasurement() { m_meters.stop(); }
  std::function<int(meters::TPomiarDialog&)> execMeasurementDialog;
  std::function<int(meters::TOpcjeDialog&)> execOptionsDialog;
  /// Called after every measured cycle, once the meters show it.
  std::function<void(long long cycle)> onMeasurementCycle;

  /// Reads the settings store (only values present, validated) and applies them.
  void loadSettings();
  /// Writes the settings, the plot window's colour and grid mode included.
  void saveSettings();

  /// The recovery copy of the unsaved schematic and the question about left-over copies.
  RecoverySession& recovery() { return *m_recovery; }
  /// How often the copy is brought up to date: at the latest, and at most (for tests).
  void setRecoveryIntervals(std::chrono::milliseconds every, std::chrono::milliseconds atMostEvery);
  /// Asks about the copies of windows that did not close (at the program's start).
  void offerRecovery();
  /// Every edit of the schematic reports here.
  void documentChanged();

  /// The menu of the palettes' right click: the view commands that show and hide them.
  QMenu* createPopupMenu() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  // A .wtx file dragged from elsewhere, onto the sheet or the frame.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class AnalysisDialogs;
  friend class MeterDialogs;

  void buildStatusBar();
  void buildCommands();
  void runCommand(Command command);
  void buildMenus();
  void buildPalettes();
  void buildPopupMenu();
  void wirePlots();
  /// The print dialog for the plot window, painting `paint` in the frame of the plot.
  bool printPainted(bool toPdf, const std::function<void(QPainter&, const QRectF&)>& paint);
  void edited();
  /// Undo (true) or redo of the editor's history, keeping the meters on their elements.
  void undoOrRedo(bool undo);
  void applyView();
  /// The wheel and the middle button move the sheet in its scroll box; Ctrl+wheel zooms.
  void wireSheetNavigation(QScrollArea* scrollBox);
  /// Moves the seen part of the sheet by pixels (clamped by the scroll bars).
  void scrollSheet(QPoint by);
  /// The next zoom steps, keeping the point `at` of the canvas under the mouse.
  void zoomSheet(int steps, QPointF at);
  /// The dropped schematic file, or empty when this drop is refused.
  QString droppedFile(const QMimeData* data) const;
  void chooseBackground();
  void documentReplaced();
  void refreshTopology();
  void contextHelp();
  /// Opens the help window on a topic number (for the dialogs' "Pomoc" and F1).
  std::function<void(int)> helpOnTopic();
  void setMode(int mode);
  void wireRecovery();

  model::Schematic m_schematic;
  editor::Editor m_editor{m_schematic};
  engine::Measurement m_measurement{m_schematic, m_editor.flags()};
  UserSettings m_settings;
  FileDialogs m_fileDialogs{this};
  AnalysisDialogs m_analysisDialogs{*this};
  MeterDialogs m_meterDialogs{*this};
  DocumentSession m_documents{m_editor, m_settings.recent, m_fileDialogs};
  AnalysisSession m_analysis{m_editor, m_measurement, m_analysisDialogs};
  MeasurementSession m_meters{m_editor, m_measurement, m_meterDialogs};
  bool m_closeAfterMeasurement = false;
  results::WaveformSelection m_selection;
  meters::MeasurementPanel* m_measurementPanel = nullptr;
  results::TPrzeb2Dialog* m_waveformDialog = nullptr;
  results::TWykDialog* m_plots = nullptr;
  QLabel* m_timePanel = nullptr;
  drawing::ViewSettings m_view;
  editor::SchematicCanvas* m_canvas = nullptr;
  QScrollArea* m_scrollBox = nullptr;
  std::unique_ptr<InstantSession> m_instant;
  QStackedWidget* m_pages = nullptr;
  QToolBar* m_toolPalette = nullptr;
  ObjectPalette* m_objectPalette = nullptr;
  QLabel* m_analysisPanel = nullptr;
  QLabel* m_positionPanel = nullptr;
  QLabel* m_hintPanel = nullptr;
  QString m_editorHint;    ///< a refused edit's hint, kept while the mouse stays put
  QString m_editorHintAt;  ///< the grid position shown when it was given
  QMenu* m_popup = nullptr;
  QMenu* m_measurementMenu = nullptr;
  QAction* m_reopen = nullptr;
  std::array<QAction*, static_cast<std::size_t>(Command::Count)> m_actions{};
  std::map<QString, QAction*> m_commands;
  std::map<int, QAction*> m_modeActions;  ///< mode -> the MX item shared with the palette
  dialogs::TTopoDialog* m_topology = nullptr;
  help::HelpWindow* m_help = nullptr;
  QTimer* m_idle = nullptr;
  bool m_started = false;
  std::unique_ptr<RecoverySession> m_recovery;  ///< last: it goes first, with its copy
};

}  // namespace wolterix::app
