#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "dialogs/error_dialog.h"
#include "dialogs/parameter_dialogs.h"
#include "dialogs/simulation_dialogs.h"
#include "engine/run_settings.h"
#include "dialogs/workspace_dialogs.h"
#include "app/menu_columns.h"
#include "drawing/painter_canvas.h"
#include "printing/print_dialog.h"
#include "editor/schematic_canvas.h"
#include "drawing/symbols.h"
#include "app/tool_icons.h"
#include "help/about_dialog.h"
#include "help/help_topics.h"
#include "results/plot_data.h"
#include "results/plot_window.h"
#include "results/waveform_dialog.h"
#include "help/help_window.h"
#include "meters/measurement_dialogs.h"
#include "meters/measurement_panel.h"
#include "model/connectivity.h"
#include "model/element.h"
#include "model/messages.h"
#include "model/schematic_file.h"
#include "model/waveform_names.h"

namespace wolterix::app {

using model::ElementKind;

namespace {

const QString kFilter = QStringLiteral("Pliki Wolterix (*.wtx)");

// A menu item that does what a panel button does carries the button's hint.
QString panelHint(const meters::ButtonHint& hint) {
  return QString::fromUtf8(hint.tip) + QLatin1Char('|') + QString::fromUtf8(hint.status);
}

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The object palette and the insert menu, in the order of the menu.
struct ModeEntry {
  int mode;
  const char* code;  // SB / MX suffix
  const char* menuText;
  const char* hint;
};

const ModeEntry kModeEntries[] = {
    {editor::kSelectMode, "Nic", "Tryb zaznaczania",
     "Zaznacz, Przesuń|Włącza tryb umożliwiający zaznaczanie i przesuwanie obiektów"},
    {editor::kWireMode, "Lin", "Przewód elektryczny",
     "Przewód elektryczny|Umożliwia wstawienie przewodu elektrycznego"},
    {editor::kJunctionMode, "Wen", "Węzeł elektryczny", "Węzeł|Umożliwia wstawienie węzła elektrycznego"},
    {50, "Nap", "Źródło napięcia", "Źródło napięcia|Umożliwia wstawienie źródła napięcia różnego rodzaju"},
    {51, "Prd", "Źródło prądu", "Źródło prądu|Umożliwia wstawienie źródła prądu różnego rodzaju"},
    {52, "zsN", "Źródło napięcia sterowane",
     "Źródło napięcia sterowane|Umożliwia wstawienie sterowanego źródła napięcia"},
    {53, "zsP", "Źródło prądu sterowane",
     "Źródło prądu sterowane|Umożliwia wstawienie sterowanego źródła prądu"},
    {54, "nWe", "Napięcie wejściowe",
     "Napięcie wejściowe|Umożliwia wstawienie napięcia wejściowego transmitancji"},
    {1, "Rez", "Rezystancja", "Rezystancja|Umożliwia wstawienie rezystancji"},
    {2, "Ind", "Indukcyjność", "Indukcyjność|Umożliwia wstawienie indukcyjności"},
    {3, "Poj", "Pojemność", "Pojemność|Umożliwia wstawienie pojemności"},
    {14, "War", "Warystor", "Warystor|Umożliwia wstawienie warystora"},
    {15, "nlL", "Indukcyjność nieliniowa",
     "Indukcyjność nieliniowa|Umożliwia wstawienie indukcyjności nieliniowej"},
    {16, "nlC", "Pojemność nieliniowa",
     "Pojemność nieliniowa|Umożliwia wstawienie pojemności nieliniowej"},
    {4, "Dio", "Dioda", "Dioda|Umożliwia wstawienie diody prostowniczej"},
    {5, "Zen", "Dioda Zenera", "Dioda Zenera|Umożliwia wstawienie diody Zenera"},
    {6, "Tyr", "Tyrystor SCR", "Tyrystor SCR|Umożliwia wstawienie tyrystora SCR (półsterowalnego)"},
    {10, "RCT", "Tyrystor RCT",
     "Tyrystor RCT|Umożliwia wstawienie tyrystora RCT (przewodzącego wstecznie)"},
    {7, "GTO", "Tyrystor GTO", "Tyrystor GTO|Umożliwia wstawienie tyrystora GTO (pełnosterowalnego)"},
    {8, "TrM", "Tranzystor mocy",
     "Tranzystor mocy|Umożliwia wstawienie tranzystora mocy (zaworu pełnosterowalnego)"},
    {90, "wyl", "Wyłącznik", "Wyłącznik|Umożliwia wstawienie wyłącznika"},
    {20, "Spr", "Cewki sprzężone", "Cewki sprzężone|Umożliwia wstawienie cewek sprzężonych magnetycznie"},
    {25, "Tf1", "Transformator jednofazowy",
     "Transformator jednofazowy|Umożliwia wstawienie transformatora jednofazowego"},
    {9, "BJT", "Tranzystor bipolarny",
     "Tranzystor Bipolarny|Umożliwia wstawienie tranzystora bipolarnego"},
    {30, "sDC", "Silnik prądu stałego",
     "Silnik prądu stałego|Umożliwia wstawienie silnika obcowzbudnego prądu stałego"},
    {80, "mmV", "Woltomierz", "Woltomierz|Umożliwia wstawienie woltomierza"},
    {81, "mmA", "Amperomierz", "Amperomierz|Umożliwia wstawienie amperomierza"},
    {82, "mmW", "Watomierz", "Watomierz|Umożliwia wstawienie watomierza"},
};

// The object palette in two columns, each linear element beside its nonlinear twin. The input
// voltage of a transfer workspace takes the place of the controlled voltage source, which that
// workspace does not offer.
struct PaletteCell {
  const char* code;
  int row;
  int column;
};

const PaletteCell kPaletteCells[] = {
    {"Nic", 0, 0},
    {"Wen", 1, 0}, {"Lin", 1, 1},
    {"Nap", 2, 0}, {"Prd", 2, 1},
    {"zsN", 3, 0}, {"nWe", 3, 0}, {"zsP", 3, 1},
    {"Rez", 4, 0}, {"War", 4, 1},
    {"Ind", 5, 0}, {"nlL", 5, 1},
    {"Poj", 6, 0}, {"nlC", 6, 1},
    {"Dio", 7, 0}, {"Zen", 7, 1},
    {"Tyr", 8, 0}, {"RCT", 8, 1},
    {"GTO", 9, 0}, {"TrM", 9, 1},
    {"sDC", 10, 0}, {"wyl", 10, 1},
    {"Spr", 11, 0}, {"Tf1", 11, 1},
    {"mmV", 12, 0}, {"BJT", 12, 1},
    {"mmA", 13, 0}, {"mmW", 13, 1},
};

// Qt's file model writes dates and sizes in the system's language, whatever the program's.
class PolishFileDetails final : public QIdentityProxyModel {
public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role == Qt::DisplayRole && files) {
      const QLocale polish(QLocale::Polish);
      const QModelIndex source = mapToSource(index);
      if (index.column() == 1 && !files->isDir(source))
        return polish.formattedDataSize(files->size(source));
      if (index.column() == 3)
        return polish.toString(files->lastModified(source), QStringLiteral("d MMM yyyy, HH:mm"));
    }
    return QIdentityProxyModel::data(index, role);
  }
};

// Qt's own dialog rather than the desktop's, which would speak the desktop's language.
void speakPolish(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setLocale(QLocale(QLocale::Polish));
  dialog.setProxyModel(new PolishFileDetails(&dialog));
  if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < 4; ++column)
      details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  dialog.resize(dialog.size().expandedTo(QSize(780, 440)));  // room for every column
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(titleFor({}));
  setWindowIcon(programIcon());

  m_pages = new QStackedWidget(this);
  buildStartPanel();
  auto* scroll = new QScrollArea(m_pages);
  scroll->setObjectName(QStringLiteral("ScrollBox1"));
  m_canvas = new editor::SchematicCanvas(m_editor, scroll);
  m_canvas->setObjectName(QStringLiteral("PBX"));
  scroll->setWidget(m_canvas);
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
  m_canvas->onEdited = [this] { edited(); };
  m_canvas->setContextMenuPolicy(Qt::CustomContextMenu);
  m_editor.onParameters = [this](model::Element&) { ParamOnCl(); };

  m_timePanel = new QLabel(QStringLiteral("0 ms"), this);
  m_timePanel->setObjectName(QStringLiteral("CzasPanel"));
  statusBar()->addPermanentWidget(m_timePanel);
  const QScreen* screen = QGuiApplication::primaryScreen();
  m_simulation.setSampleCount(engine::sampleCountForScreen(screen ? screen->geometry().width() : 1024));
  m_simulationDialog = new dialogs::TSymuDialog(m_simulation.sampleCount(), this);
  m_transferDialog = new dialogs::TTransmiDialog(this);
  m_simulationDialog->onHelp = helpOnTopic();
  m_transferDialog->onHelp = helpOnTopic();
  m_progress = new dialogs::ProgressWindow(this);
  m_measurement.simulation().setSampleCount(m_simulation.sampleCount());
  m_measurementDialog = new meters::TPomiarDialog(m_simulation.sampleCount(), this);
  m_measurementDialog->onHelp = helpOnTopic();
  execMeasurementDialog = [](meters::TPomiarDialog& dialog) { return dialog.exec(); };
  execOptionsDialog = [](meters::TOpcjeDialog& dialog) { return dialog.exec(); };
  m_measurementPanel->onAdd = [this](engine::MeterQuantity quantity) { addMeter(quantity); };
  m_measurementPanel->onStart = [this] { StartPauseOnCl(); };
  m_measurementPanel->onStop = [this] { stopMeasurement(); };
  m_measurementPanel->onContinue = [this] { continueMeasurement(); };
  m_measurementPanel->onOptions = [this](int slot) { meterOptions(slot); };
  m_measurementPanel->onClose = [this](int slot) { closeMeter(slot); };
  // A meter lets go of its element when the element goes.
  m_schematic.onElementDestroyed = [this](const model::Element& element) {
    for (int slot : m_measurement.forgetElement(element))
      m_measurementPanel->showSlot(slot, m_measurement.meterSlots()[static_cast<std::size_t>(slot)]);
  };
  execSimulationDialog = [](dialogs::TSymuDialog& dialog) { return dialog.exec(); };
  execPrintDialog = [](printing::TDrukDialog& dialog) { return dialog.exec(); };
  askPdfPath = [this] {
    QFileDialog dialog(this, QStringLiteral("Eksportuj do PDF"), QString(),
                       QStringLiteral("Pliki PDF (*.pdf)"));
    speakPolish(dialog);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  execTransferDialog = [](dialogs::TTransmiDialog& dialog) { return dialog.exec(); };

  m_waveformDialog = new results::TPrzeb2Dialog(this);
  m_plots = new results::TWykDialog(nullptr);
  m_plots->onBack = [this] {
    m_plots->hide();
    raise();
    activateWindow();
  };
  m_plots->onSelectWaveforms = [this] {
    if (chooseWaveforms()) showPlots();
  };
  m_plots->onSimulate = [this] {
    if (SymOnCl()) showPlots();
  };
  m_plots->onPrint = [this] {
    printPlot(QPrinterInfo::availablePrinterNames().isEmpty());
  };
  m_plots->onExportPdf = [this] { printPlot(true); };
  m_plots->onContinue = [this] {
    // Another stretch of the same length from where the last run ended.
    if (!m_schematic.transferMode() && resultsValid() && runAnalysis(true)) showPlots();
  };

  m_topology = new dialogs::TTopoDialog(this);
  m_help = new help::HelpWindow(nullptr);

  // Defaults, then the stored settings.
  askNewMode = [this]() -> std::optional<bool> {
    dialogs::TNowyDialog dialog(this);
    dialog.setTransferChosen(m_schematic.transferMode());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.transferChosen();
  };
  askOpenPath = [this] {
    QFileDialog dialog(this, QStringLiteral("Otwórz"), QString(), kFilter);
    speakPolish(dialog);
    dialog.setDefaultSuffix(QStringLiteral("wtx"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  askSavePath = [this] {
    QFileDialog dialog(this, QStringLiteral("Zapisz jako"), m_currentFile, kFilter);
    speakPolish(dialog);
    dialog.setDefaultSuffix(QStringLiteral("wtx"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  askSaveQuestion = [this] {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Uwaga"),
                    QStringLiteral("Bieżący schemat został zmieniony. Czy zapisać zmiany?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes) return SaveAnswer::Yes;
    if (answer == QMessageBox::No) return SaveAnswer::No;
    return SaveAnswer::Cancel;
  };
  askOverwriteSkipped = [this](int skippedLines) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Uwaga"),
                    QString::fromUtf8(model::messages::kSkippedLinesLostBefore) +
                        QString::number(skippedLines) +
                        QString::fromUtf8(model::messages::kSkippedLinesLostAfter),
                    QMessageBox::NoButton, this);
    QPushButton* save = box.addButton(QStringLiteral("Zapisz"), QMessageBox::AcceptRole);
    QPushButton* saveAs = box.addButton(QStringLiteral("Zapisz jako..."), QMessageBox::ActionRole);
    box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
    box.setDefaultButton(saveAs);
    box.exec();
    if (box.clickedButton() == save) return OverwriteAnswer::Save;
    if (box.clickedButton() == saveAs) return OverwriteAnswer::SaveAs;
    return OverwriteAnswer::Cancel;
  };
  showWarning = [this](const QString& text) {
    QMessageBox::warning(this, QStringLiteral("Uwaga"), text);
  };

  buildCommands();
  buildMenus();
  buildPalettes();
  buildPopupMenu();
  loadSettings();
  // The plot window's colour and grid mode are kept with the settings too.
  m_plots->setBackground(QColor(m_settings.plotColour.r, m_settings.plotColour.g, m_settings.plotColour.b));
  m_plots->setGridMode(static_cast<results::GridMode>(m_settings.plotMode));
  m_plots->onViewChanged = [this] { saveSettings(); };

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

QAction* TForm1::command(const QString& name) const {
  const auto it = m_commands.find(name);
  return it == m_commands.end() ? nullptr : it->second;
}

void TForm1::buildStartPanel() {
  auto* panel = new QWidget(m_pages);
  panel->setObjectName(QStringLiteral("Panel1"));
  auto* layout = new QVBoxLayout(panel);
  auto* icon = new QLabel(panel);
  icon->setPixmap(programIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignCenter);
  auto* name = new QLabel(QStringLiteral("Wolterix"), panel);
  name->setObjectName(QStringLiteral("Label1"));
  QFont big = name->font();
  big.setPixelSize(34);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel(QStringLiteral("wersja 2.0"), panel);
  version->setObjectName(QStringLiteral("Label2"));
  version->setAlignment(Qt::AlignCenter);
  auto* about = new QLabel(
      QStringLiteral("Symulator obwodów elektrycznych i energoelektronicznych do nauki"), panel);
  about->setObjectName(QStringLiteral("Label3"));
  about->setAlignment(Qt::AlignCenter);
  about->setWordWrap(true);
  auto* startButton = new QPushButton(QStringLiteral("S T A R T"), panel);
  startButton->setObjectName(QStringLiteral("SpeedButton1"));
  startButton->setDefault(true);
  connect(startButton, &QPushButton::clicked, this, &TForm1::start);
  layout->addWidget(icon);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(about);
  layout->addStretch();
  layout->addWidget(startButton);
  m_pages->addWidget(panel);
}

void TForm1::showStartScreen() {
  m_started = false;
  m_pages->setCurrentIndex(0);
  menuBar()->hide();
  m_toolPalette->hide();
  m_objectPalette->hide();
  statusBar()->hide();
  setWindowFlag(Qt::FramelessWindowHint, true);
  setFixedSize(350, 240);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(175, 120));
}

void TForm1::start() {
  const bool wasShown = isVisible();
  m_started = true;
  m_pages->setCurrentIndex(1);
  setWindowFlag(Qt::FramelessWindowHint, false);
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    setGeometry(area.x() + area.width() / 10, area.y() + area.height() / 10, area.width() * 8 / 10,
                area.height() * 8 / 10);
  }
  menuBar()->show();
  applyView();
  if (wasShown) showMaximized();
}

QAction* TForm1::addCommand(const QString& name, const QString& text, const QString& hint,
                            const QKeySequence& key, std::function<void()> run) {
  auto* action = new QAction(text, this);
  action->setObjectName(name);
  const qsizetype bar = hint.indexOf('|');
  action->setToolTip(bar < 0 ? hint : hint.left(bar));
  action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
  if (!key.isEmpty()) action->setShortcut(key);
  if (run)
    connect(action, &QAction::triggered, this, [this, run] {
      // While a measurement runs only its Stop button is live.
      if (m_measurement.running()) return;
      run();
      edited();
      m_canvas->update();
    });
  addAction(action);  // shortcuts work whatever is shown
  m_commands[name] = action;
  return action;
}

void TForm1::buildCommands() {
  // File.
  addCommand("MXnowy", "&Nowy...", "Nowy|Tworzy nowy obszar roboczy", {}, [this] { newDocument(); })
      ->setIcon(toolIcon(ToolIcon::New));
  addCommand("MXotw", "&Otwórz...", "Otwórz|Otwiera istniejący plik Wolterix (schemat elektryczny)",
             QKeySequence(Qt::CTRL | Qt::Key_O), [this] { openDocument(); })
      ->setIcon(toolIcon(ToolIcon::Open));
  for (int i = 0; i < 4; ++i)
    addCommand(QStringLiteral("MXZ%1").arg(i + 1), {}, {}, {}, [this, i] { openRecent(i); });
  addCommand("MXzapisz", "&Zapisz", "Zapisz|Zapisuje bieżący plik pod aktualną nazwą",
             QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); })
      ->setIcon(toolIcon(ToolIcon::Save));
  addCommand("MXzapjako", "Z&apisz jako...", "Zapisz jako|Zapisuje bieżący plik pod podaną nazwą",
             {}, [this] { saveAs(); })
      ->setIcon(toolIcon(ToolIcon::SaveAs));
  addCommand("MXdruksch", "&Drukuj schemat...", "Drukuj schemat|Wywołuje pole dialogowe drukowania",
             QKeySequence(Qt::CTRL | Qt::Key_D), [this] { DrukujOnCl(); })
      ->setIcon(toolIcon(ToolIcon::Print));
  addCommand("MXpdf", "Eksportuj do &PDF...", "Eksportuj do PDF|Zapisuje schemat w pliku PDF", {},
             [this] { exportPdf(); })
      ->setIcon(toolIcon(ToolIcon::Pdf));
  addCommand("MXzak", "Za&kończ", "Zakończ|Kończy pracę programu", {}, [this] { close(); });

  // Edit.
  addCommand("MXcof", "&Cofnij Usuń", "Cofnij Usuń|Cofa ostatnią operację usuwania",
             QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { m_editor.undoDelete(); })
      ->setIcon(toolIcon(ToolIcon::UndoDelete));
  addCommand("MXusun", "&Usuń", "Usuń|Usuwa zaznaczone obiekty", QKeySequence(Qt::Key_Delete),
             [this] { m_editor.deleteSelected(); })
      ->setIcon(toolIcon(ToolIcon::Delete));
  addCommand("MXwytnij", "Wy&tnij", "Wytnij|Wycina zaznaczone obiekty do schowka",
             QKeySequence(Qt::CTRL | Qt::Key_X), [this] { m_editor.cut(); });
  addCommand("MXkopiuj", "&Kopiuj", "Kopiuj|Kopiuje zaznaczone obiekty do schowka",
             QKeySequence(Qt::CTRL | Qt::Key_C), [this] { m_editor.copy(); });
  addCommand("MXwklej", "Wk&lej", "Wklej|Wkleja obiekty ze schowka",
             QKeySequence(Qt::CTRL | Qt::Key_V), [this] { m_editor.paste(m_canvas->firstVisiblePoint()); });
  addCommand("MXzazO", "Zaznacz wszystk&o", "Zaznacz wszystko|Zaznacza wszystkie obiekty", {},
             [this] { m_editor.selectAll(); });
  addCommand("MXzazE", "Zaznacz &elementy", "Zaznacz elementy|Zaznacza wszystkie elementy", {},
             [this] { m_editor.selectElements(); });
  addCommand("MXzazP", "Zaznacz &przewody", "Zaznacz przewody|Zaznacza wszystkie przewody", {},
             [this] { m_editor.selectWires(); });
  addCommand("MXzazW", "Zaznacz &węzły", "Zaznacz węzły|Zaznacza wszystkie węzły", {},
             [this] { m_editor.selectJunctions(); });

  // Element.
  // The keys are named in the items themselves: Qt's Polish names would read "Tabulator".
  addCommand("MXobrl", "Obróc w &lewo\tTab", "Obróć w lewo|Obraca zaznaczone elementy o 90° w lewo",
             QKeySequence(Qt::Key_Tab), [this] { m_editor.rotateLeft(); });
  // Shift+Tab arrives as Backtab with Shift. Qt tries such a key as Shift+Tab too, and the
  // keyboard maps of X11 and Wayland offer Shift+Tab and a bare Backtab, never Shift+Backtab:
  // Shift+Tab alone matches everywhere (a second binding would make the key ambiguous).
  addCommand("MXobrp", "Obróc w &prawo\tShift+Tab",
             "Obróć w prawo|Obraca zaznaczone elementy o 90° w prawo",
             QKeySequence(Qt::SHIFT | Qt::Key_Tab), [this] { m_editor.rotateRight(); });
  addCommand("MXodwroc", "O&dwróć", "Odwróć|Zamienia miejscami dwie końcówki zaznaczonego elementu",
             {}, [this] { m_editor.reverse(); });
  addCommand("MXparam", "Para&metry...",
             "Parametry|Wywołuje pole dialogowe modyfikacji parametrów zaznaczonego elementu",
             QKeySequence(Qt::Key_F7), [this] { ParamOnCl(); });
  addCommand("MXpunaz", "Pokaż/ukryj na&zwę",
             "Pokaż/ukryj nazwę|Wyświetla lub ukrywa nazwę zaznaczonych elementów", {},
             [this] { m_editor.toggleNames(); });
  addCommand("MXpuU", "Pokaż/ukryj &napięcie",
             "Pokaż/ukryj napięcie|Wyświetla lub ukrywa strzałkę napięcia zaznaczonych elementów",
             {}, [this] { m_editor.toggleVoltageArrows(); });
  addCommand("MXpuI", "Pokaż/ukryj p&rąd",
             "Pokaż/ukryj prąd|Wyświetla lub ukrywa strzałkę prądu zaznaczonych elementów", {},
             [this] { m_editor.toggleCurrentArrows(); });
  addCommand("MXzkU", "Zmień &kierunek napięcia",
             "Zmień kierunek napięcia|Zmienia kierunek strzałki napięcia zaznaczonych elementów",
             {}, [this] { m_editor.reverseVoltageArrows(); });
  addCommand("MXzkI", "Zmień k&ierunek prądu",
             "Zmień kierunek prądu|Zmienia kierunek strzałki prądu zaznaczonych elementów", {},
             [this] { m_editor.reverseCurrentArrows(); });

  // Insert: one radio group shared with the object palette.
  m_modes = new QActionGroup(this);
  m_modes->setExclusive(true);
  for (const ModeEntry& entry : kModeEntries) {
    const QString hint = QString::fromUtf8(entry.hint);
    QAction* action = addCommand(QStringLiteral("MX") + QString::fromLatin1(entry.code),
                                 QString::fromUtf8(entry.menuText), hint,
                                 entry.mode == editor::kSelectMode ? QKeySequence(Qt::Key_Insert)
                                                           : QKeySequence(),
                                 nullptr);
    action->setCheckable(true);
    action->setIcon(symbolIcon(entry.mode));
    action->setToolTip(hint.left(hint.indexOf('|')));
    m_modes->addAction(action);
    m_commands[QStringLiteral("SB") + QString::fromLatin1(entry.code)] = action;
    m_modeActions[entry.mode] = action;
    const int mode = entry.mode;
    connect(action, &QAction::triggered, this, [this, mode] { setMode(mode); });
  }
  m_modeActions[editor::kSelectMode]->setChecked(true);

  // Simulation, measurement: their windows come with the analyses.
  addCommand("MXsymu", "&Symulacja...", "Symulacja|Wywołuje pole dialogowe symulacji",
             QKeySequence(Qt::Key_F9), [this] { SymOnCl(); });
  addCommand("MXprzeb", "&Przebiegi...", "Przebiegi|Wywołuje pole dialogowe wyboru przebiegów i skali",
             QKeySequence(Qt::Key_F11), [this] { chooseWaveforms(); });
  addCommand("MXwyk", "&Wykresy...", "Wykresy|Wyświetla wykresy wybranych przebiegów czasowych",
             QKeySequence(Qt::Key_F12), [this] { showPlots(); });
  addCommand("MXtopo", "T&opologia...", "Topologia|Otwiera okienko topologii bieżącego obwodu",
             QKeySequence(Qt::CTRL | Qt::Key_T), [this] {
               refreshTopology();
               m_topology->show();
               m_topology->raise();
             });
  addCommand("MXSiW", "Symulacja+Wyk&resy",
             "Symulacja+Wykresy|Wykonuje symulację przy aktualnych ustawieniach i automatycznie "
             "wyświetla wybrane przebiegi",
             QKeySequence(Qt::CTRL | Qt::Key_F9), [this] {
               if (runWithStoredSettings()) showPlots();
             });
  addCommand("MXpanel", "Otwórz pa&nel pomiarowy", "Pomiar|Otwiera panel pomiarowy", {},
             [this] { togglePanel(); });
  addCommand("MXdodU", "Dodaj &woltomierz", panelHint(meters::kAddVoltageHint),
             QKeySequence(Qt::CTRL | Qt::Key_U), [this] { addMeter(engine::MeterQuantity::Voltage); });
  addCommand("MXdodI", "Dodaj &amperomierz", panelHint(meters::kAddCurrentHint),
             QKeySequence(Qt::CTRL | Qt::Key_I), [this] { addMeter(engine::MeterQuantity::Current); });
  addCommand("MXdodP", "Dodaj wa&tomierz", panelHint(meters::kAddPowerHint),
             QKeySequence(Qt::CTRL | Qt::Key_P), [this] { addMeter(engine::MeterQuantity::Power); });
  addCommand("MXpom", "&Pomiar (Real-Time)...", panelHint(meters::kStartHint),
             QKeySequence(Qt::Key_F8), [this] { StartPauseOnCl(); });
  addCommand("MXpowpom", "P&owtórz pomiar", "Powtórz pomiar|Powtarza ostatni pomiar od początku przy aktualnych ustawieniach",
             QKeySequence(Qt::CTRL | Qt::Key_F8), [this] { repeatMeasurement(); });
  addCommand("MXkont", "&Kontynuuj", panelHint(meters::kContinueHint),
             QKeySequence(Qt::Key_F10), [this] { continueMeasurement(); });

  // View options, shared with the canvas popup menu.
  addCommand("MXw1", "&Kolor tła...", "Kolor tła|Zmienia kolor tła schematu", QKeySequence(Qt::Key_F4),
             [this] {
               dialogs::TKolorDialog dialog(this);
               drawing::Color colour = m_settings.canvasColour;
               dialog.onPreview = [this](drawing::Color shown) {
                 m_settings.canvasColour = shown;
                 applyView();
               };
               if (dialog.choose(canvasColours(), colour)) {
                 m_settings.canvasColour = colour;
                 applyView();
                 saveSettings();
               }
             });
  QAction* grid = addCommand("MXw2", "&Pokaż siatkę", "Pokaż siatkę|Wyświetla lub ukrywa siatkę",
                             QKeySequence(Qt::Key_F5), [this] {
                               m_settings.showGrid = command("MXw2")->isChecked();
                               applyView();
                               saveSettings();
                             });
  grid->setCheckable(true);
  m_gridSizes = new QActionGroup(this);
  const struct { int size; const char* text; Qt::Key key; } sizes[] = {
      {16, "16 pikseli", Qt::Key_1}, {18, "18 pikseli", Qt::Key_2}, {20, "20 pikseli", Qt::Key_3},
      {22, "22 piksele", Qt::Key_4}, {24, "24 piksele", Qt::Key_5}};
  for (const auto& s : sizes) {
    QAction* a = addCommand(QStringLiteral("MXZs%1").arg(s.size), QString::fromUtf8(s.text),
                            QStringLiteral("Rozmiar siatki|Zmienia rozmiar siatki"),
                            QKeySequence(Qt::CTRL | s.key), nullptr);
    a->setCheckable(true);
    m_gridSizes->addAction(a);
    m_commands[QStringLiteral("PnSub%1").arg(s.size)] = a;
    const int size = s.size;
    connect(a, &QAction::triggered, this, [this, size] {
      m_settings.grid = size;
      applyView();
      saveSettings();
    });
  }
  m_zooms = new QActionGroup(this);
  const Qt::Key zoomKeys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
  for (int z = 1; z <= 4; ++z) {
    QAction* a = addCommand(QStringLiteral("MXZs%1").arg(z * 100), QStringLiteral("%1%").arg(z * 100),
                            QStringLiteral("Widok|Zmienia powiększenie schematu"),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | zoomKeys[z - 1]), nullptr);
    a->setCheckable(true);
    m_zooms->addAction(a);
    m_commands[QStringLiteral("sub%1").arg(z * 100)] = a;
    connect(a, &QAction::triggered, this, [this, z] {
      if (m_view.zoom == z) return;
      m_view.zoom = z;
      applyView();
    });
  }
  const struct { const char* name; const char* text; const char* hint; bool UserSettings::*flag; } panels[] = {
      {"MXw5", "Pokaż paletę &narzędzi", "Paleta narzędzi|Wyświetla lub ukrywa paletę narzędzi",
       &UserSettings::toolPalette},
      {"MXw6", "Pokaż paletę &obiektów", "Paleta obiektów|Wyświetla lub ukrywa paletę obiektów",
       &UserSettings::objectPalette},
      {"MXw7", "Pokaż pasek &stanu", "Pasek stanu|Wyświetla lub ukrywa pasek stanu",
       &UserSettings::statusBar}};
  for (const auto& p : panels) {
    QAction* a = addCommand(QString::fromLatin1(p.name), QString::fromUtf8(p.text),
                            QString::fromUtf8(p.hint), {}, nullptr);
    a->setCheckable(true);
    const auto flag = p.flag;
    connect(a, &QAction::triggered, this, [this, a, flag] {
      m_settings.*flag = a->isChecked();
      applyView();
      saveSettings();
    });
  }
  for (const auto& [pm, mx] : {std::pair{"Pm1", "MXw1"}, {"Pm2", "MXw2"}, {"Pm5", "MXw5"},
                               {"Pm6", "MXw6"}, {"Pm7", "MXw7"}})
    m_commands[QString::fromLatin1(pm)] = command(QString::fromLatin1(mx));

  // Help.
  addCommand("MXpomoc", "&Pomoc kontekstowa", "Pomoc|Wywołuje system pomocy programu Wolterix",
             QKeySequence(Qt::Key_F1), [this] { contextHelp(); })
      ->setIcon(toolIcon(ToolIcon::Help));
  addCommand("MXlastp", "Ostatnio używana &strona", "Ostatnio używana strona|Otwiera ostatnio czytaną stronę pomocy",
             {}, [this] { m_help->showLastTopic(); });
  addCommand("MXtematy", "&Tematy pomocy", "Tematy pomocy|Otwiera spis tematów pomocy", {},
             [this] { m_help->showContents(); });
  addCommand("MXpio", "Pytania i odpo&wiedzi", "Pytania i odpowiedzi|Odpowiedzi na częste pytania",
             {}, [this] { m_help->showQuestions(); });
  addCommand("MXabout", "&O programie...", "O programie|Wyświetla wizytówkę programu", {}, [this] {
    help::AboutDialog about(this);
    about.exec();
  })->setIcon(toolIcon(ToolIcon::About));
}

void TForm1::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  const auto menu = [&](const QString& name, const QString& title) {
    QMenu* m = bar->addMenu(title);
    m->setObjectName(name);
    m->setToolTipsVisible(true);
    return m;
  };
  const auto add = [&](QMenu* m, std::initializer_list<const char*> names) {
    for (const char* name : names) {
      if (QString::fromLatin1(name) == QStringLiteral("-")) {
        m->addSeparator();
      } else {
        m->addAction(command(QString::fromLatin1(name)));
      }
    }
  };
  QMenu* file = menu("MMplik", "&Plik");
  add(file, {"MXnowy", "MXotw"});
  QMenu* reopen = file->addMenu(QStringLiteral("Ot&wórz ponownie"));
  reopen->setObjectName(QStringLiteral("MXreopen"));
  m_commands[QStringLiteral("MXreopen")] = reopen->menuAction();
  add(reopen, {"MXZ1", "MXZ2", "MXZ3", "MXZ4"});
  add(file, {"-", "MXzapisz", "MXzapjako", "-", "MXdruksch", "MXpdf", "-", "MXzak"});
  add(menu("MMedycja", "&Edycja"), {"MXcof", "-", "MXusun", "MXwytnij", "MXkopiuj", "MXwklej", "-",
                                    "MXzazO", "MXzazE", "MXzazP", "MXzazW"});
  add(menu("MMelement", "Ele&ment"), {"MXobrl", "MXobrp", "MXodwroc", "-", "MXparam", "-",
                                      "MXpunaz", "MXpuU", "MXpuI", "MXzkU", "MXzkI"});
  QList<QList<QAction*>> insertColumns(1);
  for (const ModeEntry& entry : kModeEntries) {
    if (entry.mode == 4) insertColumns.emplace_back();  // the second column starts at "Dioda"
    insertColumns.back().append(m_modeActions[entry.mode]);
  }
  addMenuColumns(*menu("MMwstaw", "&Wstaw"), insertColumns);
  add(menu("MMsymulacja", "&Symulacja"), {"MXsymu", "MXprzeb", "MXwyk", "-", "MXtopo", "-", "MXSiW"});
  add(menu("MMpomiar", "P&omiar"), {"MXpanel", "-", "MXdodU", "MXdodI", "MXdodP", "-", "MXpom",
                                    "MXpowpom", "MXkont"});
  QMenu* view = menu("MMwlasc", "Wł&aściwości");
  add(view, {"MXw1", "MXw2"});
  QMenu* gridMenu = view->addMenu(QStringLiteral("&Rozmiar siatki"));
  gridMenu->setObjectName(QStringLiteral("MXw3"));
  add(gridMenu, {"MXZs16", "MXZs18", "MXZs20", "MXZs22", "MXZs24"});
  QMenu* zoomMenu = view->addMenu(QStringLiteral("&Widok"));
  zoomMenu->setObjectName(QStringLiteral("MXw4"));
  add(zoomMenu, {"MXZs100", "MXZs200", "MXZs300", "MXZs400"});
  add(view, {"-", "MXw5", "MXw6", "MXw7"});
  add(menu("MMpomoc", "Pomo&c"), {"MXpomoc", "MXlastp", "MXtematy", "MXpio", "-", "MXabout"});
}

void TForm1::buildPalettes() {
  m_toolPalette = new QToolBar(QStringLiteral("Paleta narzędzi"), this);
  m_toolPalette->setObjectName(QStringLiteral("PanelMetod"));
  m_toolPalette->setMovable(false);
  m_toolPalette->setFloatable(false);
  m_toolPalette->setIconSize(QSize(24, 24));
  addToolBar(Qt::TopToolBarArea, m_toolPalette);
  const struct { const char* name; const char* command; } buttons[] = {
      {"MSBNowy", "MXnowy"},   {"MSBOtworz", "MXotw"},   {"MSBZapJako", "MXzapjako"},
      {"MSBZapisz", "MXzapisz"}, {"MSBDrukuj", "MXdruksch"}, {"-", nullptr},
      {"MSBCofnij", "MXcof"},   {"MSBUsun", "MXusun"},    {"MSBOdwr", "MXodwroc"},
      {"MSBObrL", "MXobrl"},    {"MSBObrP", "MXobrp"},    {"MSBParam", "MXparam"},
      {"MSBpuNaz", "MXpunaz"},  {"MSBpuU", "MXpuU"},      {"MSBpuI", "MXpuI"},
      {"MSBzkU", "MXzkU"},      {"MSBzkI", "MXzkI"},      {"-", nullptr},
      {"MSBSym", "MXsymu"},     {"MSBPrzeb", "MXprzeb"},  {"MSBWyk", "MXwyk"},
      {"MSBPomiar", "MXpanel"}, {"MSBTopo", "MXtopo"},    {"-", nullptr},
      {"MSBAbout", "MXabout"},  {"MSBPomoc", "MXpomoc"}};
  for (const auto& b : buttons) {
    if (!b.command) {
      m_toolPalette->addSeparator();
      continue;
    }
    QAction* action = command(QString::fromLatin1(b.command));
    m_toolPalette->addAction(action);
    m_commands[QString::fromLatin1(b.name)] = action;
  }
  m_toolPalette->setToolButtonStyle(Qt::ToolButtonIconOnly);
  const struct { const char* command; ToolIcon icon; } pictures[] = {
      {"MXodwroc", ToolIcon::Reverse},      {"MXobrl", ToolIcon::RotateLeft},
      {"MXobrp", ToolIcon::RotateRight},    {"MXparam", ToolIcon::Parameters},
      {"MXpunaz", ToolIcon::Name},          {"MXpuU", ToolIcon::Voltage},
      {"MXpuI", ToolIcon::Current},         {"MXzkU", ToolIcon::ReverseVoltage},
      {"MXzkI", ToolIcon::ReverseCurrent},  {"MXsymu", ToolIcon::Simulate},
      {"MXprzeb", ToolIcon::Waveforms},     {"MXwyk", ToolIcon::Plots},
      {"MXpanel", ToolIcon::Measurement},   {"MXtopo", ToolIcon::Topology}};
  for (const auto& picture : pictures)
    command(QString::fromLatin1(picture.command))->setIcon(toolIcon(picture.icon));

  m_objectPalette = new QToolBar(QStringLiteral("Paleta obiektów"), this);
  m_objectPalette->setObjectName(QStringLiteral("PanelElem"));
  m_objectPalette->setMovable(false);
  m_objectPalette->setFloatable(false);
  auto* grid = new QWidget(m_objectPalette);
  auto* layout = new QGridLayout(grid);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  for (const PaletteCell& cell : kPaletteCells) {
    const QString code = QString::fromLatin1(cell.code);
    auto* button = new QToolButton(grid);
    button->setDefaultAction(command(QStringLiteral("SB") + code));
    button->setObjectName(QStringLiteral("SB") + code);
    button->setIconSize(QSize(28, 28));
    button->setAutoRaise(true);
    m_paletteButtons.push_back(button);
  }
  m_paletteLayout = layout;
  layOutObjectPalette();
  m_objectPalette->addWidget(grid);
  addToolBar(Qt::LeftToolBarArea, m_objectPalette);
}

// The buttons shown keep their columns; a row left with none closes up, so the voltmeter of a
// transfer workspace moves up under the capacitor.
void TForm1::layOutObjectPalette() {
  for (QToolButton* button : m_paletteButtons) m_paletteLayout->removeWidget(button);
  int row = -1;
  int cellRow = -1;
  for (std::size_t i = 0; i < m_paletteButtons.size(); ++i) {
    QToolButton* button = m_paletteButtons[i];
    const bool shown = button->defaultAction()->isVisible();
    button->setVisible(shown);
    if (!shown) continue;
    if (kPaletteCells[i].row != cellRow) {
      cellRow = kPaletteCells[i].row;
      ++row;
    }
    m_paletteLayout->addWidget(button, row, kPaletteCells[i].column);
  }
  m_paletteLayout->parentWidget()->adjustSize();
  m_objectPalette->updateGeometry();
}

// Right-clicking a palette offers the view commands, so nothing hides a palette behind the
// back of their check marks and the stored settings.
QMenu* TForm1::createPopupMenu() {
  auto* menu = new QMenu(this);
  for (const char* name : {"MXw5", "MXw6", "MXw7"}) menu->addAction(command(QString::fromLatin1(name)));
  return menu;
}

void TForm1::buildPopupMenu() {
  m_popup = new QMenu(this);
  m_popup->setObjectName(QStringLiteral("WtxPopupMenu"));
  m_popup->addAction(command("MXw1"));
  m_popup->addAction(command("MXw2"));
  QMenu* grid = m_popup->addMenu(QStringLiteral("R&ozmiar siatki"));
  for (int size : {16, 18, 20, 22, 24}) grid->addAction(command(QStringLiteral("MXZs%1").arg(size)));
  QMenu* zoom = m_popup->addMenu(QStringLiteral("&Widok"));
  for (int z = 1; z <= 4; ++z) zoom->addAction(command(QStringLiteral("MXZs%1").arg(z * 100)));
  m_popup->addSeparator();
  m_popup->addAction(command("MXw5"));
  m_popup->addAction(command("MXw6"));
  m_popup->addAction(command("MXw7"));
  connect(m_canvas, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) {
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
  command("MXw2")->setChecked(m_settings.showGrid);
  command(QStringLiteral("MXZs%1").arg(m_settings.grid))->setChecked(true);
  command(QStringLiteral("MXZs%1").arg(m_view.zoom * 100))->setChecked(true);
  command("MXw5")->setChecked(m_settings.toolPalette);
  command("MXw6")->setChecked(m_settings.objectPalette);
  command("MXw7")->setChecked(m_settings.statusBar);
  if (m_started) {
    m_toolPalette->setVisible(m_settings.toolPalette);
    m_objectPalette->setVisible(m_settings.objectPalette);
    statusBar()->setVisible(m_settings.statusBar);
  }
}

void TForm1::loadSettings() {
  QSettings store(QStringLiteral("Dorek"), QStringLiteral("Wolterix"));
  UserSettings s;
  const auto number = [&](const char* key, auto& target) {
    if (store.contains(QString::fromLatin1(key))) target = store.value(QString::fromLatin1(key)).toInt();
  };
  const auto flag = [&](const char* key, bool& target) {
    if (store.contains(QString::fromLatin1(key))) target = store.value(QString::fromLatin1(key)).toBool();
  };
  if (store.contains(QStringLiteral("KolorTe")))
    s.canvasColour = numberToColour(store.value(QStringLiteral("KolorTe")).toLongLong());
  if (store.contains(QStringLiteral("KolorTw")))
    s.plotColour = numberToColour(store.value(QStringLiteral("KolorTw")).toLongLong());
  number("Siatka", s.grid);
  flag("pSiatke", s.showGrid);
  number("LPSmode", s.plotMode);
  flag("pPN", s.toolPalette);
  flag("pPO", s.objectPalette);
  flag("pPS", s.statusBar);
  for (int i = 0; i < 4; ++i)
    s.recent[static_cast<std::size_t>(i)] =
        store.value(QStringLiteral("Reo%1").arg(i)).toString().toStdString();
  s.validate();
  m_settings = s;
  applyView();
}

void TForm1::saveSettings() {
  const QColor plot = m_plots->backgroundColor();
  m_settings.plotColour = {static_cast<std::uint8_t>(plot.red()), static_cast<std::uint8_t>(plot.green()),
                           static_cast<std::uint8_t>(plot.blue())};
  m_settings.plotMode = static_cast<int>(m_plots->view().grid);
  m_settings.validate();
  // Written at every change, so a crash loses nothing (the store syncs when it goes).
  QSettings store(QStringLiteral("Dorek"), QStringLiteral("Wolterix"));
  store.setValue(QStringLiteral("KolorTe"), static_cast<qlonglong>(colourToNumber(m_settings.canvasColour)));
  store.setValue(QStringLiteral("KolorTw"), static_cast<qlonglong>(colourToNumber(m_settings.plotColour)));
  store.setValue(QStringLiteral("Siatka"), m_settings.grid);
  store.setValue(QStringLiteral("pSiatke"), m_settings.showGrid);
  store.setValue(QStringLiteral("LPSmode"), m_settings.plotMode);
  store.setValue(QStringLiteral("pPN"), m_settings.toolPalette);
  store.setValue(QStringLiteral("pPO"), m_settings.objectPalette);
  store.setValue(QStringLiteral("pPS"), m_settings.statusBar);
  for (int i = 0; i < 4; ++i)
    store.setValue(QStringLiteral("Reo%1").arg(i),
                   QString::fromStdString(m_settings.recent[static_cast<std::size_t>(i)]));
}

void TForm1::idleUpdate() {
  ProgramState program;
  program.measurementPanelOpen = m_measurementPanel->isVisibleTo(this);
  program.measurementRunning = m_measurement.running();
  program.measurementContinuable = m_editor.flags().measurementContinuable;
  program.measurementRepeatable = m_measurement.settingsValid();
  program.timeResultsValid = resultsValid() && !m_schematic.transferMode();
  program.transferResultsValid = resultsValid() && m_schematic.transferMode();
  const CommandStates s = computeCommandStates(m_editor, program);
  const auto enable = [&](std::initializer_list<const char*> names, bool on) {
    for (const char* name : names) command(QString::fromLatin1(name))->setEnabled(on);
  };
  enable({"MXdruksch"}, s.print && !QPrinterInfo::availablePrinterNames().isEmpty());
  enable({"MXpdf"}, s.print);
  enable({"MXusun", "MXwytnij", "MXkopiuj"}, s.deleteSelection);
  enable({"MXcof"}, s.undo);
  enable({"MXwklej"}, s.paste);
  enable({"MXpunaz", "MXobrl", "MXobrp"}, s.rotateAndName);
  enable({"MXodwroc"}, s.reverse);
  enable({"MXpuU", "MXzkU"}, s.voltageArrows);
  enable({"MXpuI", "MXzkI"}, s.currentArrows);
  // The parameter dialogs, runs, plots and the measurement panel come with their windows.
  enable({"MXsymu", "MXSiW"}, s.run);
  enable({"MXparam"}, s.parameters);
  enable({"MXprzeb", "MXwyk"}, s.plotsAndWaveforms);
  enable({"MXpanel"}, s.measurement);
  enable({"MXdodU", "MXdodI", "MXdodP"}, s.addMeter);
  enable({"MXpom"}, s.startMeasurement);
  enable({"MXpowpom"}, s.repeatMeasurement);
  enable({"MXkont"}, s.continueMeasurement);
  m_measurementPanel->setAddEnabled(s.addMeter);
  m_measurementPanel->setRunning(program.measurementRunning, s.continueMeasurement);
  // No measurement in a transfer workspace: its panel goes.
  if (!s.measurement && program.measurementPanelOpen) m_measurementPanel->hide();
  command("MXsymu")->setText(fromUtf8(s.simulateCaption));
  command("MXsymu")->setStatusTip(fromUtf8(s.simulateHint));
  const QString buttonHint = fromUtf8(s.simulateButtonHint);
  command("MXsymu")->setToolTip(buttonHint.left(buttonHint.indexOf('|')));
  command("MXSiW")->setText(fromUtf8(s.runAndPlotCaption));
  command("MXSiW")->setStatusTip(fromUtf8(s.runAndPlotHint));
  command("MXpanel")->setText(fromUtf8(s.panelCaption));
  const QString panel = fromUtf8(s.analysisPanel);
  if (m_analysisPanel->text() != panel) m_analysisPanel->setText(panel);
  findChild<QMenu*>(QStringLiteral("MMpomiar"))->menuAction()->setEnabled(s.measurement);
  bool paletteChanged = false;
  for (const ModeEntry& entry : kModeEntries) {
    const auto kind = model::kindFromNumber(entry.mode);
    if (!kind) continue;
    QAction* action = m_modeActions[entry.mode];
    paletteChanged = paletteChanged || action->isVisible() != s.kindVisible(*kind);
    action->setVisible(s.kindVisible(*kind));
    action->setEnabled(s.kindEnabled(*kind));
  }
  if (paletteChanged) layOutObjectPalette();
  // A hidden kind cannot stay the placing mode.
  if (const auto kind = model::kindFromNumber(m_editor.mode()); kind && !s.kindEnabled(*kind))
    setMode(editor::kSelectMode);

  // Recent files.
  if (!m_currentFile.isEmpty() && m_currentFile != m_lastRecentPath) {
    rememberRecent(m_currentFile);
    m_lastRecentPath = m_currentFile;
  }
  for (int i = 0; i < 4; ++i) {
    const QString path = QString::fromStdString(m_settings.recent[static_cast<std::size_t>(i)]);
    QAction* item = command(QStringLiteral("MXZ%1").arg(i + 1));
    item->setText(QStringLiteral("&%1 ").arg(i + 1) + path);
    item->setVisible(!path.isEmpty());
  }
  command("MXreopen")->setEnabled(command("MXZ1")->isVisible());
}

void TForm1::rememberRecent(const QString& path) {
  if (addRecentFile(m_settings.recent, path.toStdString())) saveSettings();
}

void TForm1::edited() {
  if (m_topology->isVisible()) refreshTopology();
  // A renamed element renames its meters.
  if (m_measurementPanel->isVisibleTo(this)) showMeters();
}

void TForm1::refreshTopology() {
  model::numberNodes(m_schematic);
  QStringList lines;
  for (const std::string& line : model::showTopology(m_schematic)) lines << QString::fromStdString(line);
  m_topology->setLines(lines);
}

QString TForm1::titleFor(const QString& path) {
  if (path.isEmpty()) return QStringLiteral("Wolterix - (bez nazwy)");
  const QString name = QFileInfo(path).fileName();
  return QStringLiteral("Wolterix - ") + name.left(std::max<qsizetype>(0, name.size() - 4));
}

// The save question: true when the command may go on (saved, or not wanted).
bool TForm1::maybeSave() {
  if (!m_editor.flags().modified) return true;
  switch (askSaveQuestion()) {
    case SaveAnswer::Yes: return save();  // goes on only once the file is really written
    case SaveAnswer::No: return true;
    case SaveAnswer::Cancel: return false;
  }
  return false;
}

void TForm1::documentReplaced() {
  m_editor.setMode(editor::kSelectMode);
  m_modeActions[editor::kSelectMode]->setChecked(true);
  m_editor.deselectAll();
  m_editor.clearHistory();
  m_editor.flags() = {};
  setWindowTitle(titleFor(m_currentFile));
  m_timePanel->setText(QStringLiteral("0 ms"));  // the last run's time is not this schematic's
  if (m_topology->isVisible()) refreshTopology();
  m_canvas->update();
}

bool TForm1::newDocument() {
  if (!maybeSave()) return false;
  const std::optional<bool> transfer = askNewMode();
  if (!transfer) return false;  // cancelled: nothing is deleted
  m_schematic.clear();
  m_schematic.setTransferMode(*transfer);
  m_currentFile.clear();
  m_linesLostOnSave = 0;
  documentReplaced();
  return true;
}

bool TForm1::openFile(const QString& path) {
  // The schematic is replaced only when the whole file was read and holds a schematic; a file
  // that takes long shows its progress and may be cancelled.
  constexpr int kSteps = 1000;
  QProgressDialog progress(
      QString::fromUtf8(model::messages::kReadingFile) + QFileInfo(path).fileName(),
      QStringLiteral("Anuluj"), 0, kSteps, this);
  progress.setWindowTitle(QStringLiteral("Otwórz"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(openProgressDelay);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setValue(0);
  const auto result = model::openSchematicFile(
      m_schematic, QFile::encodeName(path).toStdString(), [&](std::size_t done, std::size_t total) {
        progress.setValue(
            static_cast<int>(static_cast<double>(done) / std::max<std::size_t>(total, 1) * kSteps));
        return !progress.wasCanceled();
      });
  progress.hide();
  if (result.cancelled) return false;
  if (!result.ok()) {
    showWarning(QString::fromStdString(result.error));
    return false;
  }
  m_currentFile = path;
  m_linesLostOnSave = result.skippedLines;
  documentReplaced();
  // Told after the schematic is shown, so the user sees what did come through.
  if (const std::string warning = result.warning(); !warning.empty())
    showWarning(QString::fromStdString(warning));
  return true;
}

bool TForm1::openDocument() {
  if (!maybeSave()) return false;
  const QString path = askOpenPath();
  return !path.isEmpty() && openFile(path);
}

bool TForm1::openRecent(int index) {
  if (index < 0 || index > 3) return false;
  const QString path = QString::fromStdString(m_settings.recent[static_cast<std::size_t>(index)]);
  if (path.isEmpty() || !maybeSave()) return false;
  if (!QFileInfo::exists(path)) {
    showWarning(QStringLiteral("Plik nie istnieje."));
    return false;
  }
  return openFile(path);
}

bool TForm1::writeFile(const QString& path) {
  const auto result = model::saveSchematicFile(m_schematic, QFile::encodeName(path).toStdString());
  if (!result.ok()) {
    showWarning(QString::fromStdString(result.error));  // the modified flag stays set
    return false;
  }
  m_editor.flags().modified = false;
  return true;
}

bool TForm1::save() {
  if (m_currentFile.isEmpty()) return saveAs();
  if (m_linesLostOnSave > 0) {
    // Saving would drop from the file the lines this program could not read.
    switch (askOverwriteSkipped(m_linesLostOnSave)) {
      case OverwriteAnswer::Save: break;
      case OverwriteAnswer::SaveAs: return saveAs();
      case OverwriteAnswer::Cancel: return false;
    }
  }
  if (!writeFile(m_currentFile)) return false;
  m_linesLostOnSave = 0;
  return true;
}

bool TForm1::saveAs() {
  const QString path = askSavePath();
  if (path.isEmpty() || !writeFile(path)) return false;
  m_currentFile = path;
  m_linesLostOnSave = 0;
  setWindowTitle(titleFor(path));
  return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
  // The run is on the stack below this event: stop it first and close once it has ended.
  if (m_measurement.running()) {
    m_measurement.stop();
    m_closeAfterMeasurement = true;
    event->ignore();
    return;
  }
  if (!maybeSave()) {
    event->ignore();
    return;
  }
  if (!m_currentFile.isEmpty()) rememberRecent(m_currentFile);
  saveSettings();
  m_plots->hide();
  m_help->hideHelp();
  event->accept();
}

bool TForm1::event(QEvent* event) {
  // Long hints go to the third panel of the status bar.
  if (event->type() == QEvent::StatusTip) {
    m_hintPanel->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void TForm1::showHelp(const QString& request) { m_help->showTopic(request); }

namespace {
// A printer that writes an A4 PDF file instead.
void toPdfFile(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(path);
}

bool printThroughDialog(TForm1& window, QPrinter& printer, const model::Schematic& schematic,
                        int grid, const std::function<int(printing::TDrukDialog&)>& exec,
                        const std::function<void(int)>& help) {
  printing::TDrukDialog dialog(printer, &window);
  dialog.onHelp = help;
  dialog.prepareForSchematic(schematic, grid);
  if (exec(dialog) != QDialog::Accepted) return false;
  return printing::printSchematic(printer, schematic, dialog.layout(), grid);
}
}  // namespace

std::function<void(int)> TForm1::helpOnTopic() {
  return [this](int topic) { m_help->showTopic(QStringLiteral("@#%1").arg(topic)); };
}

bool TForm1::DrukujOnCl() {
  QPrinter printer(QPrinter::HighResolution);
  const bool printed =
      printThroughDialog(*this, printer, m_schematic, m_view.grid, execPrintDialog, helpOnTopic());
  m_help->hideHelp();
  return printed;
}

bool TForm1::exportPdf() {
  const QString path = askPdfPath();
  if (path.isEmpty()) return false;
  QPrinter printer(QPrinter::HighResolution);
  toPdfFile(printer, path);
  const bool printed =
      printThroughDialog(*this, printer, m_schematic, m_view.grid, execPrintDialog, helpOnTopic());
  m_help->hideHelp();
  if (!printed) return false;
  if (!QFileInfo::exists(path)) {
    showWarning(QStringLiteral("Nie można zapisać pliku: ") + path);
    return false;
  }
  return true;
}

bool TForm1::printPlot(bool toPdf) {
  QPrinter printer(QPrinter::HighResolution);
  QString path;
  if (toPdf) {
    path = askPdfPath();
    if (path.isEmpty()) return false;
    toPdfFile(printer, path);
  }
  printing::TDrukDialog dialog(printer, this);
  dialog.onHelp = helpOnTopic();
  dialog.prepareForPlot(m_schematic, m_view.grid);
  const int answer = execPrintDialog(dialog);
  m_help->hideHelp();
  if (answer != QDialog::Accepted) return false;
  if (!dialog.schematicChosen() && !dialog.plotChosen()) return false;
  const results::PlotView view = m_plots->view();
  const bool done = printing::printPage(printer, dialog.schematicChosen() ? &m_schematic : nullptr,
                              dialog.layout(), m_view.grid,
                              dialog.plotChosen()
                                  ? std::function<void(QPainter&, const QRectF&)>(
                                        [&view](QPainter& painter, const QRectF& area) {
                                          results::paintPlot(painter, area, view, true);
                                        })
                                  : nullptr);
  if (toPdf && !QFileInfo::exists(path)) {
    showWarning(QStringLiteral("Nie można zapisać pliku: ") + path);
    return false;
  }
  return done;
}

bool TForm1::chooseWaveforms() {
  if (!resultsValid()) return false;
  m_waveformDialog->onHelp = helpOnTopic();
  m_waveformDialog->setTraceColors(m_plots->backgroundColor(), m_plots->traceColors());
  const bool chosen =
      m_waveformDialog->edit(m_selection, model::waveformList(m_schematic), m_schematic.transferMode());
  m_help->hideHelp();  // the help on a closed dialog would be left hanging
  return chosen;
}

void TForm1::showPlots() {
  if (!resultsValid()) return;
  m_plots->onHelp = helpOnTopic();
  m_plots->showResults(m_simulation, m_selection, m_schematic.transferMode(),
                       results::inputLevelOf(m_schematic));
  m_plots->show();
  m_plots->raise();
}

bool TForm1::ParamOnCl() {
  if (m_measurement.running()) return false;
  model::Element* element = m_editor.selectedElement();
  if (!element) return false;
  const bool accepted = dialogs::editParameters(
      this, *element, m_schematic, m_editor.flags(),
      helpOnTopic(),
      [this] { m_help->hideHelp(); });
  edited();
  m_canvas->update();
  return accepted;
}

bool TForm1::resultsValid() const {
  return m_editor.flags().resultsValid && m_lastRunTransfer == m_schematic.transferMode();
}

void TForm1::showErrors(const std::vector<std::string>& lines) {
  QStringList list;
  for (const std::string& line : lines) list << QString::fromStdString(line);
  dialogs::TErrorDialog::show(this, list);
}

bool TForm1::SymOnCl() {
  if (m_measurement.running()) return false;
  const bool transfer = m_schematic.transferMode();
  const QStringList invalid{fromUtf8(model::messages::kInvalidNumber)};
  for (;;) {
    if (transfer) {
      m_transferDialog->setValues(QString::fromStdString(m_simulationSettings.fromText),
                                  QString::fromStdString(m_simulationSettings.toText));
      const int answer = execTransferDialog(*m_transferDialog);
      m_help->hideHelp();
      if (answer != QDialog::Accepted) return false;
      const std::string from = m_transferDialog->fromText().toStdString();
      const std::string to = m_transferDialog->toText().toStdString();
      const auto range = engine::acceptedRange(from, to);
      if (!range) {
        dialogs::TErrorDialog::show(this, invalid);
        m_simulationSettings.fromText = m_simulationSettings.toText = "?";
        continue;
      }
      m_simulationSettings.fromText = from;
      m_simulationSettings.toText = to;
      m_simulationSettings.from = range->first;
      m_simulationSettings.to = range->second;
      return runAnalysis(false);
    }
    m_simulationDialog->setValues(QString::fromStdString(m_simulationSettings.timeText),
                                  m_simulationSettings.iterations);
    const int choice = execSimulationDialog(*m_simulationDialog);
    m_help->hideHelp();
    if (choice == dialogs::TSymuDialog::Cancelled) return false;
    const std::string text = m_simulationDialog->timeText().toStdString();
    m_simulationSettings.iterations = m_simulationDialog->iterations();
    const auto time = engine::acceptedTime(text);
    if (!time) {
      dialogs::TErrorDialog::show(this, invalid);
      m_simulationSettings.timeText = "?";
      continue;
    }
    m_simulationSettings.timeText = text;
    m_simulationSettings.time = *time;
    return runAnalysis(choice == dialogs::TSymuDialog::Continue);
  }
}

bool TForm1::runWithStoredSettings() {
  const QStringList invalid{fromUtf8(model::messages::kInvalidNumber)};
  // The stored texts pass the same checks as the dialog's.
  if (m_schematic.transferMode()) {
    if (!engine::acceptedRange(m_simulationSettings.fromText, m_simulationSettings.toText)) {
      dialogs::TErrorDialog::show(this, invalid);
      return false;
    }
  } else if (!engine::acceptedTime(m_simulationSettings.timeText)) {
    dialogs::TErrorDialog::show(this, invalid);
    return false;
  }
  return runAnalysis(false);
}

bool TForm1::runAnalysis(bool continueRun) {
  if (m_measurement.running()) return false;
  m_editor.setRunInProgress(true);
  m_progress->setProgress(0);
  m_progress->show();
  engine::RunCallbacks callbacks;
  callbacks.progress = [this](int percent) { m_progress->setProgress(percent); };
  engine::RunResult result;
  const bool transfer = m_schematic.transferMode();
  if (transfer) {
    result = m_simulation.frequencySweep(m_schematic, m_simulationSettings.from,
                                         m_simulationSettings.to, callbacks);
  } else {
    // "Kontynuuj" goes on only from valid results of this circuit; otherwise it starts at 0.
    const double start = continueRun && resultsValid() ? m_simulation.continuationTime() : 0.0;
    result = m_simulation.transientRun(m_schematic, start, m_simulationSettings.time,
                                       m_simulationSettings.iterations, false, callbacks);
  }
  m_progress->hide();
  m_editor.setRunInProgress(false);
  m_editor.flags().resultsValid = result.ok();
  m_lastRunTransfer = transfer;
  if (!transfer && result.ok())
    m_timePanel->setText(QString::fromStdString(
        engine::timeDisplayText(m_simulation.continuationTime(), m_simulationSettings.time)));
  if (!result.ok()) showErrors(result.lines);
  m_canvas->update();
  return result.ok();
}

void TForm1::showMeters() {
  for (int i = 0; i < engine::Measurement::kSlotCount; ++i)
    m_measurementPanel->showSlot(i, m_measurement.meterSlots()[static_cast<std::size_t>(i)]);
}

void TForm1::togglePanel() {
  if (m_schematic.transferMode()) return;
  m_measurementPanel->setVisible(!m_measurementPanel->isVisibleTo(this));
  showMeters();
  idleUpdate();
}

bool TForm1::addMeter(engine::MeterQuantity quantity) {
  const model::Element* element = m_editor.selectedElement();
  if (m_measurement.running() || m_schematic.transferMode() || !element) return false;
  const int slot = m_measurement.addMeter(*element, quantity);
  if (slot < 0) return false;
  m_measurementPanel->show();
  showMeters();
  idleUpdate();
  return true;
}

void TForm1::closeMeter(int slot) {
  if (m_measurement.running()) return;
  m_measurement.closeMeter(slot);
  showMeters();
}

bool TForm1::meterOptions(int slot) {
  if (m_measurement.running() || slot < 0 || slot >= engine::Measurement::kSlotCount) return false;
  const engine::MeterSlot& meter = m_measurement.meterSlots()[static_cast<std::size_t>(slot)];
  if (!meter.inUse || !meter.element) return false;
  meters::TOpcjeDialog dialog(this);
  dialog.onHelp = helpOnTopic();
  dialog.setSlot(meter, QString::fromStdString(meter.element->name()));
  const bool accepted = execOptionsDialog(dialog) == QDialog::Accepted;
  m_help->hideHelp();
  if (!accepted) return false;
  m_measurement.applyOptions(slot, dialog.autoRange(), dialog.quantity(), dialog.indication(),
                             dialog.rangePosition());
  showMeters();
  return true;
}

bool TForm1::StartPauseOnCl() {
  if (m_measurement.running() || m_schematic.transferMode()) return false;
  engine::MeasurementSettings& settings = m_measurement.settings();
  const QStringList invalid{fromUtf8(model::messages::kInvalidNumber)};
  for (;;) {
    m_measurementDialog->setValues(QString::fromStdString(settings.frequencyText),
                                   QString::fromStdString(settings.cyclesText), settings.iterations);
    const int choice = execMeasurementDialog(*m_measurementDialog);
    m_help->hideHelp();
    if (choice != meters::TPomiarDialog::Start && choice != meters::TPomiarDialog::Continue)
      return false;
    settings.iterations = m_measurementDialog->iterations();
    const std::string frequency = m_measurementDialog->frequencyText().toStdString();
    const std::string cycles = m_measurementDialog->cyclesText().toStdString();
    const auto accepted = engine::acceptedMeasurement(frequency, cycles);
    if (!accepted) {
      dialogs::TErrorDialog::show(this, invalid);
      settings.frequencyText = settings.cyclesText = "?";
      continue;
    }
    settings.frequencyText = frequency;
    settings.cyclesText = cycles;
    settings.frequency = accepted->first;
    settings.cycles = accepted->second;
    return runMeasurement(choice == meters::TPomiarDialog::Continue);
  }
}

bool TForm1::continueMeasurement() { return runStoredMeasurement(true); }

bool TForm1::repeatMeasurement() { return runStoredMeasurement(false); }

bool TForm1::runStoredMeasurement(bool continueRun) {
  if (m_measurement.running() || m_schematic.transferMode()) return false;
  // Nothing stored yet: ask for it as F8 does.
  if (!m_measurement.settingsValid()) return StartPauseOnCl();
  return runMeasurement(continueRun);
}

void TForm1::stopMeasurement() { m_measurement.stop(); }

void TForm1::setMeasuring(bool measuring) {
  m_editor.setRunInProgress(measuring);
  // Everything that edits or starts another run is off while the cycles go on.
  menuBar()->setEnabled(!measuring);
  m_toolPalette->setEnabled(!measuring);
  m_objectPalette->setEnabled(!measuring);
  m_plots->setEnabled(!measuring);
  m_waveformDialog->setEnabled(!measuring);
  m_measurementPanel->setRunning(measuring, m_editor.flags().measurementContinuable);
}

bool TForm1::runMeasurement(bool continueRun) {
  if (m_measurement.running()) return false;
  m_measurementPanel->show();
  const double period = 1.0 / m_measurement.settings().frequency;
  double stepTime = m_measurement.continuationTime();
  QElapsedTimer sinceEvents;
  sinceEvents.start();
  // The window stays responsive without handling events after every solve, which would make
  // a long measurement crawl: events are let through at most every 20 ms.
  const auto letEventsThrough = [&] {
    QCoreApplication::processEvents();
    sinceEvents.restart();
  };
  engine::MeasurementCallbacks callbacks;
  callbacks.progress = [&](int percent) {
    if (const auto frame = engine::animationFrame(percent)) {
      m_measurementPanel->setAnimationFrame(*frame);
      m_timePanel->setText(QString::fromStdString(engine::timeDisplayText(stepTime, period)));
      m_timePanel->repaint();
    }
  };
  callbacks.afterStep = [&](double t) {
    stepTime = t;
    if (sinceEvents.elapsed() >= 20) letEventsThrough();
  };
  callbacks.afterCycle = [&](long long cycle) {
    showMeters();
    if (onMeasurementCycle) onMeasurementCycle(cycle);
    letEventsThrough();
  };
  setMeasuring(true);
  const engine::MeasurementOutcome outcome = m_measurement.run(continueRun, callbacks);
  setMeasuring(false);
  showMeters();
  m_timePanel->setText(
      QString::fromStdString(engine::timeDisplayText(m_measurement.continuationTime(), period)));
  idleUpdate();
  if (outcome.failure.code != 0) showErrors(outcome.failure.lines);
  m_canvas->update();
  if (m_closeAfterMeasurement) {
    m_closeAfterMeasurement = false;
    QTimer::singleShot(0, this, &QWidget::close);
  }
  return outcome.failure.code == 0;
}

int TForm1::topicOfSelection() const {
  const model::Element* element = m_editor.selectedElement();
  return element ? help::topicOfKind(element->kind()) : 0;
}

void TForm1::contextHelp() {
  const int topic = topicOfSelection();
  if (topic > 0) {
    showHelp(QStringLiteral("@#%1").arg(topic));
  } else {
    m_help->showContents();
  }
}

}  // namespace wolterix::app
