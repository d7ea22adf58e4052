#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "app/command_states.h"
#include "app/examples_menu.h"
#include "app/instant_session.h"
#include "app/menu_columns.h"
#include "app/object_palette.h"
#include "app/recovery_session.h"
#include "app/start_panel.h"
#include "dialogs/workspace_dialogs.h"
#include "editor/schematic_canvas.h"
#include "engine/run_settings.h"
#include "help/help_window.h"
#include "meters/measurement_panel.h"
#include "model/install_paths.h"
#include "printing/print_dialog.h"
#include "results/plot_window.h"
#include "results/waveform_dialog.h"

namespace wolterix::app {

using C = Command;

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(titleFor({}));
  setWindowIcon(programIcon());

  m_pages = new QStackedWidget(this);
  m_pages->addWidget(createStartPanel(m_pages, [this] { start(); }));
  auto* scroll = new QScrollArea(m_pages);
  scroll->setObjectName(QStringLiteral("ScrollBox1"));
  m_canvas = new editor::SchematicCanvas(m_editor, scroll);
  m_canvas->setObjectName(QStringLiteral("PBX"));
  scroll->setWidget(m_canvas);
  wireSheetNavigation(scroll);
  m_instant = std::make_unique<InstantSession>(*m_canvas, m_schematic);
  m_instant->results = [this]() -> const engine::WaveformStore* {
    return resultsValid() && !m_schematic.transferMode() ? &simulation().store() : nullptr;
  };
  // The measurement panel docks at the right of the canvas, hidden until opened.
  auto* work = new QWidget(m_pages);
  auto* workLayout = new QHBoxLayout(work);
  workLayout->setContentsMargins(0, 0, 0, 0);
  workLayout->setSpacing(0);
  scroll->setParent(work);
  workLayout->addWidget(scroll, 1);
  m_measurementPanel = new meters::MeasurementPanel(work);
  m_measurementPanel->hide();
  workLayout->addWidget(m_measurementPanel);
  m_pages->addWidget(work);
  setCentralWidget(m_pages);
  buildStatusBar();

  const QScreen* screen = QGuiApplication::primaryScreen();
  const int samples = engine::sampleCountForScreen(screen ? screen->geometry().width() : 1024);
  simulation().setSampleCount(samples);
  m_measurement.simulation().setSampleCount(samples);
  m_analysisDialogs.create(samples);
  m_meterDialogs.create(samples);
  execPrintDialog = [](printing::TDrukDialog& dialog) { return dialog.exec(); };
  askPdfPath = [this] { return app::askPdfPath(this); };
  m_documents.onRenamed = [this] { setWindowTitle(titleFor(currentFile())); };
  wireRecovery();  // and what a new or opened schematic does to the window

  m_waveformDialog = new results::TPrzeb2Dialog(this);
  m_plots = new results::TWykDialog(nullptr);
  m_topology = new dialogs::TTopoDialog(this);
  m_help = new help::HelpWindow(nullptr);

  buildCommands();
  buildMenus();
  buildPalettes();
  buildPopupMenu();
  loadSettings();
  wirePlots();

  m_idle = new QTimer(this);
  connect(m_idle, &QTimer::timeout, this, &TForm1::idleUpdate);
  m_idle->start(100);
  start();
}

TForm1::~TForm1() {
  m_schematic.onElementDestroyed = nullptr;
  delete m_plots;
  delete m_help;
}

void TForm1::buildStatusBar() {
  m_analysisPanel = new QLabel(QStringLiteral("Symulacja czasowa"), this);
  m_positionPanel = new QLabel(this);
  m_positionPanel->setFixedWidth(50);
  m_positionPanel->setAlignment(Qt::AlignCenter);
  m_hintPanel = new QLabel(this);
  m_hintPanel->setMinimumWidth(300);
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->addWidget(m_analysisPanel);
  statusBar()->addWidget(m_positionPanel);
  statusBar()->addWidget(m_hintPanel, 1);
  m_canvas->onStatus = [this](const QString& position, const QString& object) {
    m_positionPanel->setText(position);
    // A refusal stays readable until the mouse reaches another grid point.
    if (!m_editorHint.isEmpty() && position == m_editorHintAt) return;
    m_editorHint.clear();
    m_hintPanel->setText(object);
  };
  m_editor.onHint = [this](const std::string& hint) {
    m_editorHint = QString::fromStdString(hint);
    m_editorHintAt = m_positionPanel->text();
    m_hintPanel->setText(m_editorHint);
  };
  m_canvas->onEdited = [this] {
    edited();
    documentChanged();
  };
  m_canvas->setContextMenuPolicy(Qt::CustomContextMenu);
  m_editor.onParameters = [this](model::Element&) {
    ParamOnCl();
    documentChanged();
  };
  m_timePanel = new QLabel(QStringLiteral("0 ms"), this);
  m_timePanel->setObjectName(QStringLiteral("CzasPanel"));
  statusBar()->addPermanentWidget(m_timePanel);
}

QAction* TForm1::command(const QString& name) const {
  const auto it = m_commands.find(name);
  return it == m_commands.end() ? nullptr : it->second;
}

void TForm1::buildCommands() {
  const auto create = [this](const QString& name, const QString& text, const QString& hint) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    const qsizetype bar = hint.indexOf('|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    addAction(action);  // shortcuts work whatever is shown
    m_commands[name] = action;
    return action;
  };
  // The insert menu's items: one radio group shared with the object palette.
  const auto createModes = [&] {
    auto* modes = new QActionGroup(this);
    modes->setExclusive(true);
    for (const InsertRow& row : insertRows()) {
      const QString code = QString::fromStdString(row.code);
      QAction* a = create(QStringLiteral("MX") + code, QString::fromStdString(row.text),
                          QString::fromStdString(row.hint));
      if (row.mode == editor::kSelectMode) a->setShortcut(QKeySequence(Qt::Key_Insert));
      a->setCheckable(true);
      a->setIcon(symbolIcon(row.mode));
      modes->addAction(a);
      m_commands[QStringLiteral("SB") + code] = a;
      m_modeActions[row.mode] = a;
      connect(a, &QAction::triggered, this, [this, mode = row.mode] { setMode(mode); });
    }
    m_modeActions[editor::kSelectMode]->setChecked(true);
  };
  auto* gridSizes = new QActionGroup(this);
  auto* zooms = new QActionGroup(this);
  for (int i = 0; i < static_cast<int>(C::Count); ++i) {
    const auto id = static_cast<C>(i);
    const CommandRow& row = commandRow(id);
    const QString hint = row.buttonHint
                             ? QString::fromUtf8(row.buttonHint->tip) + QLatin1Char('|') +
                                   QString::fromUtf8(row.buttonHint->status)
                             : QString::fromUtf8(row.hint);
    QAction* a = create(QString::fromLatin1(row.name), QString::fromUtf8(row.text), hint);
    m_actions[static_cast<std::size_t>(i)] = a;
    if (!QKeySequence(row.key).isEmpty()) a->setShortcut(QKeySequence(row.key));
    if (row.icon) a->setIcon(toolIcon(*row.icon));
    a->setCheckable(row.checkable);
    if (row.alias) m_commands[QString::fromLatin1(row.alias)] = a;
    if (gridSizeOf(id)) gridSizes->addAction(a);
    if (zoomOf(id)) zooms->addAction(a);
    // The grid, zoom and palette choices stay live during a measurement.
    const bool viewChoice = gridSizeOf(id) || zoomOf(id) || id == C::ToolPalette ||
                            id == C::ObjectPalette || id == C::StatusBar;
    connect(a, &QAction::triggered, this, [this, id, viewChoice] {
      if (viewChoice) return runCommand(id);
      // While a measurement runs only its Stop button is live.
      if (m_measurement.running()) return;
      runCommand(id);
      edited();
      documentChanged();
      m_canvas->update();
    });
    if (id == C::ReverseCurrent) createModes();
    if (id == C::Redo)
      a->setShortcuts({QKeySequence(row.key), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  }
}

void TForm1::buildMenus() {
  constexpr std::optional<Command> kSep;  // a separator
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  const auto menu = [&](QMenu* parent, const char* name, const char* title) {
    QMenu* m =
        parent ? parent->addMenu(QString::fromUtf8(title)) : bar->addMenu(QString::fromUtf8(title));
    m->setObjectName(QString::fromLatin1(name));
    if (!parent) m->setToolTipsVisible(true);
    return m;
  };
  const auto add = [&](QMenu* m, std::initializer_list<std::optional<Command>> commands) {
    for (const auto& c : commands) c ? m->addAction(action(*c)) : (void)m->addSeparator();
  };
  QMenu* file = menu(nullptr, "MMplik", "&Plik");
  add(file, {C::New, C::Open});
  QMenu* reopen = menu(file, "MXreopen", "Ot&wórz ponownie");
  m_reopen = m_commands[QStringLiteral("MXreopen")] = reopen->menuAction();
  add(reopen, {C::Recent1, C::Recent2, C::Recent3, C::Recent4});
  // The examples that came with the program, each opened as a copy.
  QMenu* examples = menu(file, "MXprzyklady", "P&rzykłady");
  const auto folder =
      model::examplesDirectory(QCoreApplication::applicationFilePath().toStdString());
  for (const ExampleFile& example : examplesIn(folder)) {
    QAction* a = examples->addAction(example.title);
    a->setStatusTip(QStringLiteral("Otwiera kopię przykładu ") + example.title);
    connect(a, &QAction::triggered, this, [this, path = example.path.toStdString()] {
      if (!m_measurement.running()) m_documents.openCopy(path);
    });
  }
  examples->menuAction()->setEnabled(!examples->isEmpty());
  add(file, {kSep, C::Save, C::SaveAs, kSep, C::PrintSchematic, C::ExportPdf, kSep, C::Exit});
  add(menu(nullptr, "MMedycja", "&Edycja"),
      {C::Undo, C::Redo, kSep, C::Delete, C::Cut, C::Copy, C::Paste, kSep, C::SelectAll,
       C::SelectElements, C::SelectWires, C::SelectJunctions, kSep, C::NudgeLeft, C::NudgeRight,
       C::NudgeUp, C::NudgeDown});
  add(menu(nullptr, "MMelement", "Ele&ment"),
      {C::RotateLeft, C::RotateRight, C::Reverse, kSep, C::Parameters, kSep, C::ToggleName,
       C::ToggleVoltage, C::ToggleCurrent, C::ReverseVoltage, C::ReverseCurrent});
  QList<QList<QAction*>> insertColumns(1);
  for (const InsertRow& row : insertRows()) {
    // The second column starts at the diode.
    if (row.mode == static_cast<int>(model::ElementKind::Dio)) insertColumns.emplace_back();
    insertColumns.back().append(m_modeActions[row.mode]);
  }
  addMenuColumns(*menu(nullptr, "MMwstaw", "&Wstaw"), insertColumns);
  add(menu(nullptr, "MMsymulacja", "&Symulacja"),
      {C::Simulate, C::Waveforms, C::Plots, kSep, C::Topology, kSep, C::SimulateAndPlot, kSep,
       C::Stepping, C::SampleBack, C::SampleForward, C::PeriodBack, C::PeriodForward, C::PlayPause,
       C::InstantValues});
  m_measurementMenu = menu(nullptr, "MMpomiar", "P&omiar");
  add(m_measurementMenu,
      {C::MeasurementPanel, kSep, C::AddVoltmeter, C::AddAmmeter, C::AddWattmeter, kSep, C::Measure,
       C::RepeatMeasurement, C::ContinueMeasurement});
  QMenu* view = menu(nullptr, "MMwlasc", "Wł&aściwości");
  add(view, {C::BackgroundColour, C::ShowGrid});
  add(menu(view, "MXw3", "&Rozmiar siatki"),
      {C::Grid16, C::Grid18, C::Grid20, C::Grid22, C::Grid24});
  add(menu(view, "MXw4", "&Widok"), {C::Zoom100, C::Zoom200, C::Zoom300, C::Zoom400});
  add(view, {kSep, C::ToolPalette, C::ObjectPalette, C::StatusBar});
  add(menu(nullptr, "MMpomoc", "Pomo&c"),
      {C::ContextHelp, C::LastHelpPage, C::HelpTopics, C::Questions, kSep, C::About});
}

void TForm1::buildPalettes() {
  m_toolPalette = new QToolBar(QStringLiteral("Paleta narzędzi"), this);
  m_toolPalette->setObjectName(QStringLiteral("PanelMetod"));
  m_toolPalette->setMovable(false);
  m_toolPalette->setFloatable(false);
  m_toolPalette->setIconSize(QSize(24, 24));
  addToolBar(Qt::TopToolBarArea, m_toolPalette);
  for (const ToolButtonRow& button : toolPaletteRows()) {
    if (!button.command) {
      m_toolPalette->addSeparator();
      continue;
    }
    m_toolPalette->addAction(action(*button.command));
    m_commands[QString::fromLatin1(button.name)] = action(*button.command);
  }
  m_toolPalette->setToolButtonStyle(Qt::ToolButtonIconOnly);
  m_objectPalette = new ObjectPalette(this, m_modeActions);
  addToolBar(Qt::LeftToolBarArea, m_objectPalette);
  m_instant->createBar(
      *this, {action(C::PeriodBack), action(C::SampleBack), action(C::PlayPause),
              action(C::SampleForward), action(C::PeriodForward), action(C::InstantValues)});
}

// Right-clicking a palette offers the view commands, so nothing hides a palette behind the
// back of their check marks and the stored settings.
QMenu* TForm1::createPopupMenu() {
  auto* menu = new QMenu(this);
  for (const C c : {C::ToolPalette, C::ObjectPalette, C::StatusBar}) menu->addAction(action(c));
  return menu;
}

void TForm1::buildPopupMenu() {
  m_popup = new QMenu(this);
  m_popup->setObjectName(QStringLiteral("WtxPopupMenu"));
  m_popup->addAction(action(C::BackgroundColour));
  m_popup->addAction(action(C::ShowGrid));
  QMenu* grid = m_popup->addMenu(QStringLiteral("R&ozmiar siatki"));
  for (const C c : {C::Grid16, C::Grid18, C::Grid20, C::Grid22, C::Grid24})
    grid->addAction(action(c));
  QMenu* zoom = m_popup->addMenu(QStringLiteral("&Widok"));
  for (const C c : {C::Zoom100, C::Zoom200, C::Zoom300, C::Zoom400}) zoom->addAction(action(c));
  m_popup->addSeparator();
  for (const C c : {C::ToolPalette, C::ObjectPalette, C::StatusBar}) m_popup->addAction(action(c));
  connect(m_canvas, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (!m_measurement.running()) m_popup->popup(m_canvas->mapToGlobal(at));
  });
}

void TForm1::setMode(int mode) {
  m_editor.setMode(mode);
  if (QAction* a = m_modeActions[mode]) a->setChecked(true);
  m_canvas->update();
}

void TForm1::applyView() {
  m_view.grid = m_settings.grid;
  m_view.showGrid = m_settings.showGrid;
  m_view.background = m_settings.canvasColour;
  m_canvas->setView(m_view);
  action(C::ShowGrid)->setChecked(m_settings.showGrid);
  for (int c = int(C::Grid16); c <= int(C::Zoom400); ++c) {
    const auto id = static_cast<C>(c);
    if (gridSizeOf(id) == m_settings.grid || zoomOf(id) == m_view.zoom)
      action(id)->setChecked(true);
  }
  action(C::ToolPalette)->setChecked(m_settings.toolPalette);
  action(C::ObjectPalette)->setChecked(m_settings.objectPalette);
  action(C::StatusBar)->setChecked(m_settings.statusBar);
  if (m_started) {
    m_toolPalette->setVisible(m_settings.toolPalette);
    m_objectPalette->setVisible(m_settings.objectPalette);
    statusBar()->setVisible(m_settings.statusBar);
  }
}

bool TForm1::event(QEvent* event) {
  // A window closed normally takes its recovery copy with it.
  if (event->type() == QEvent::Close) {
    const bool handled = QMainWindow::event(event);
    if (event->isAccepted()) m_recovery->documentDone();
    return handled;
  }
  // Long hints go to the third panel of the status bar.
  if (event->type() == QEvent::StatusTip) {
    m_hintPanel->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

}  // namespace wolterix::app
