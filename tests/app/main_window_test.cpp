#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QTreeView>
#include <memory>

#include "dialogs/workspace_dialogs.h"
#include "editor/schematic_canvas.h"
#include "help/help_window.h"
#include "printing/print_dialog.h"
#include "results/harmonics_window.h"
#include "results/plot_window.h"
#include "support/circuit_builder.h"
#include "support/scripted_prompts.h"

namespace {

using namespace wolterix::editor;
using namespace wolterix::app;
using namespace wolterix::drawing;
using namespace wolterix::dialogs;
using namespace wolterix::printing;
using wolterix::model::ElementKind;
using wolterix::testing::CircuitBuilder;

// A window whose questions are answered by the test, never by a modal dialog.
struct ScriptedWindow : wolterix::testing::ScriptedDocumentPrompt {
  TForm1 window;

  ScriptedWindow() { window.documents().setPrompt(*this); }
};

TEST(MainWindow, TitleNamesTheFileWithoutDirectoryAndExtension) {
  EXPECT_EQ(TForm1::titleFor({}), QStringLiteral("Wolterix - (bez nazwy)"));
  EXPECT_EQ(TForm1::titleFor(QStringLiteral("/home/ala/prostownik.wtx")),
            QStringLiteral("Wolterix - prostownik"));
}

TEST(MainWindow, OpensShowsAndClosesCleanly) {
  ScriptedWindow w;
  w.window.show();
  EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Wolterix - (bez nazwy)"));
  ASSERT_TRUE(w.window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx")));
  EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Wolterix - dzielnik"));
  EXPECT_GT(w.window.schematic().elementCount(), 0);
  EXPECT_TRUE(w.window.close());
}

TEST(MainWindow, RecentFilesShowInTheReopenMenu) {
  QTemporaryDir dir;
  const QString a = dir.path() + QStringLiteral("/a.wtx");
  ScriptedWindow w;
  CircuitBuilder(w.window.schematic()).element(ElementKind::Rez, 10, 10);
  w.savePath = a.toStdString();
  w.window.command(QStringLiteral("MXzapjako"))->trigger();
  EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Wolterix - a"));
  w.window.idleUpdate();  // a new document saved joins the list on the next idle pass
  w.savePath = (dir.path() + QStringLiteral("/b.wtx")).toStdString();
  w.window.command(QStringLiteral("MXzapjako"))->trigger();
  w.window.idleUpdate();
  EXPECT_EQ(w.window.settings().recent[1], a.toStdString());
  EXPECT_TRUE(w.window.command(QStringLiteral("MXZ2"))->isVisible());
  EXPECT_EQ(w.window.command(QStringLiteral("MXZ2"))->text(), QStringLiteral("&2 ") + a);
  w.window.command(QStringLiteral("MXZ2"))->trigger();  // the second entry goes to the top
  EXPECT_EQ(w.window.currentFile(), a);
  w.window.idleUpdate();
  EXPECT_EQ(w.window.command(QStringLiteral("MXZ1"))->text(), QStringLiteral("&1 ") + a);
}

TEST(MainWindow, IdleUpdateEnablesAndSwapsThePalette) {
  ScriptedWindow w;
  TForm1& window = w.window;
  CircuitBuilder(window.schematic()).element(ElementKind::BJT, 10, 10);
  window.editor().deselectAll();
  window.idleUpdate();
  EXPECT_FALSE(window.command(QStringLiteral("MXodwroc"))->isEnabled());
  window.schematic().elements()[0]->selected = true;
  window.idleUpdate();
  EXPECT_TRUE(window.command(QStringLiteral("MXodwroc"))->isEnabled());
  EXPECT_TRUE(window.command(QStringLiteral("MSBOdwr"))->isEnabled());
  EXPECT_TRUE(window.command(QStringLiteral("SBNap"))->isVisible());
  EXPECT_FALSE(window.command(QStringLiteral("SBnWe"))->isVisible());

  w.newMode = true;  // a transfer workspace
  ASSERT_TRUE(window.documents().newDocument());
  window.idleUpdate();
  EXPECT_FALSE(window.command(QStringLiteral("MXNap"))->isVisible());
  EXPECT_TRUE(window.command(QStringLiteral("MXnWe"))->isVisible());
  EXPECT_EQ(window.command(QStringLiteral("MXsymu"))->text(), QStringLiteral("&Transmitancja..."));
}

TEST(MainWindow, SettingsAreValidatedAndWrittenAtClose) {
  {
    QSettings store(QStringLiteral("Dorek"), QStringLiteral("Wolterix"));
    store.clear();
    store.setValue(QStringLiteral("Siatka"), 19);
    store.setValue(QStringLiteral("KolorTe"), 0xFF0000);  // RGB(0,0,255) as stored
    store.setValue(QStringLiteral("pSiatke"), false);
  }
  {
    ScriptedWindow w;
    EXPECT_EQ(w.window.settings().grid, 20);
    EXPECT_TRUE(w.window.command(QStringLiteral("MXZs20"))->isChecked());
    EXPECT_EQ(w.window.settings().canvasColour, (Color{0, 255, 0}));
    EXPECT_FALSE(w.window.settings().showGrid);
    EXPECT_FALSE(w.window.command(QStringLiteral("Pm2"))->isChecked());
    w.window.command(QStringLiteral("MXZs24"))->trigger();
    EXPECT_EQ(w.window.canvas().size(), QSize(2448, 2448));
    EXPECT_TRUE(w.window.close());
  }
  QSettings store(QStringLiteral("Dorek"), QStringLiteral("Wolterix"));
  EXPECT_EQ(store.value(QStringLiteral("Siatka")).toInt(), 24);
  EXPECT_EQ(store.value(QStringLiteral("KolorTe")).toInt(), 0x00FF00);
  store.clear();
}

TEST(MainWindow, HelpOpensOnTheSelectedKindAndTopologyFollowsEdits) {
  ScriptedWindow w;
  CircuitBuilder(w.window.schematic()).element(ElementKind::Rez, 10, 10, 3, "1k");
  w.window.command(QStringLiteral("MXpomoc"))->trigger();
  EXPECT_EQ(w.window.helpWindow().lastTopic(), 51);  // the resistor's page

  w.window.command(QStringLiteral("MXtopo"))->trigger();
  EXPECT_TRUE(w.window.topologyWindow().isVisible());
  EXPECT_EQ(w.window.topologyWindow().text(), QStringLiteral("0 : Rez/R1/[10,10]/{0,1}/1k"));
  w.window.editor().selectAll();
  w.window.command(QStringLiteral("MXusun"))->trigger();
  EXPECT_EQ(w.window.topologyWindow().text(), QString());
  w.window.topologyWindow().close();
}

TEST(MainWindow, EveryMenuHasItsItems) {
  ScriptedWindow w;
  for (const char* name : {"MMplik", "MMedycja", "MMelement", "MMwstaw", "MMsymulacja", "MMpomiar",
                           "MMwlasc", "MMpomoc"}) {
    auto* menu = w.window.findChild<QMenu*>(QString::fromLatin1(name));
    ASSERT_NE(menu, nullptr) << name;
    EXPECT_FALSE(menu->actions().isEmpty()) << name;
  }
  EXPECT_EQ(w.window.command(QStringLiteral("MXobrl"))->shortcut(), QKeySequence(Qt::Key_Tab));
  EXPECT_EQ(w.window.command(QStringLiteral("MXparam"))->shortcut(), QKeySequence(Qt::Key_F7));
  EXPECT_EQ(w.window.command(QStringLiteral("MSBUsun"))->toolTip(), QStringLiteral("Usuń"));
  EXPECT_EQ(w.window.command(QStringLiteral("MSBUsun"))->statusTip(),
            QStringLiteral("Usuwa zaznaczone obiekty"));
}

// Shift+Tab arrives as Backtab on X11, Wayland and Windows and as Shift+Tab elsewhere.
TEST(MainWindow, ShiftTabRotatesRightAndTabLeft) {
  ScriptedWindow w;
  TForm1& window = w.window;
  const auto& element = CircuitBuilder(window.schematic()).element(ElementKind::Rez, 10, 10);
  window.schematic().elements()[0]->selected = true;
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.idleUpdate();
  const int start = element.orientation();
  for (const Qt::Key key : {Qt::Key_Backtab, Qt::Key_Tab}) {
    QTest::keyClick(&window, key, Qt::ShiftModifier);
    EXPECT_NE(element.orientation(), start) << key;
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_EQ(element.orientation(), start) << key;
  }
  EXPECT_TRUE(
      window.command(QStringLiteral("MXobrp"))->text().endsWith(QStringLiteral("\tShift+Tab")));
  window.close();
}

// Under Qt's Polish key names, as the program installs them, every shortcut shown in a menu
// reads as the key is labelled (Qt calls Home "Katalog domowy" and Tab "Tabulator").
TEST(MainWindow, ShortcutsReadAsTheKeysAreLabelled) {
  QTranslator qt;
  ASSERT_TRUE(qt.load(QLocale(QLocale::Polish), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
  QApplication::installTranslator(&qt);
  TForm1 window;
  const QRegularExpression key(
      QStringLiteral("^(Ctrl|Shift|Alt|F\\d\\d?|Tab|Del|Ins|Esc|Home|End|PgUp|PgDown|Lewo|Prawo|"
                     "Góra|Dół|.)$"));
  int shown = 0;
  for (QWidget* top : QApplication::topLevelWidgets())
    for (const QAction* action : top->findChildren<QAction*>()) {
      if (action->shortcut().isEmpty()) continue;
      // What a menu shows: the text after a tab, else the shortcut's own name.
      const QString text = action->text().contains(u'\t')
                               ? action->text().section(u'\t', 1)
                               : action->shortcut().toString(QKeySequence::NativeText);
      for (const QString& part : text.split(u'+', Qt::SkipEmptyParts))
        EXPECT_TRUE(key.match(part).hasMatch()) << text.toStdString();
      ++shown;
    }
  QApplication::removeTranslator(&qt);
  EXPECT_GT(shown, 40);
}

// Qt's own menu of the palettes must not hide one behind the view commands' back.
TEST(MainWindow, PaletteContextMenuKeepsTheViewSettingsInStep) {
  ScriptedWindow w;
  TForm1& window = w.window;
  auto* tools = window.findChild<QToolBar*>(QStringLiteral("PanelMetod"));
  std::unique_ptr<QMenu> menu(window.createPopupMenu());
  ASSERT_NE(menu, nullptr);
  QAction* toggle = nullptr;
  for (QAction* action : menu->actions())
    if (action->text().contains(QStringLiteral("narzędzi"))) toggle = action;
  ASSERT_NE(toggle, nullptr);
  for (const bool shown : {false, true}) {
    toggle->trigger();
    EXPECT_EQ(tools->isHidden(), !shown);
    EXPECT_EQ(window.settings().toolPalette, shown);
    EXPECT_EQ(window.command(QStringLiteral("MXw5"))->isChecked(), shown);
  }
}

TEST(MainWindow, ObjectPalettePutsEachLinearElementBesideItsNonlinearTwin) {
  ScriptedWindow w;
  const auto cell = [&](const char* name) {
    auto* button = w.window.findChild<QToolButton*>(QString::fromLatin1(name));
    auto* grid = qobject_cast<QGridLayout*>(button->parentWidget()->layout());
    int row = -1, column = -1, rows = 0, columns = 0;
    grid->getItemPosition(grid->indexOf(button), &row, &column, &rows, &columns);
    return std::pair{row, column};
  };
  int previousRow = cell("SBRez").first - 1;
  for (const auto& [linear, twin] :
       {std::pair{"SBRez", "SBWar"}, {"SBInd", "SBnlL"}, {"SBPoj", "SBnlC"}, {"SBDio", "SBZen"}}) {
    EXPECT_EQ(cell(linear).first, cell(twin).first) << linear;
    EXPECT_EQ(cell(linear).second + 1, cell(twin).second) << linear;
    EXPECT_EQ(cell(linear).first, previousRow + 1) << linear;
    previousRow = cell(linear).first;
  }
}

// A symbol clipped by its button shows ink on the edge of the icon.
TEST(MainWindow, PaletteIconsShowWholeSymbols) {
  ScriptedWindow w;
  for (auto* button : w.window.findChildren<QToolButton*>()) {
    if (!button->objectName().startsWith(QStringLiteral("SB"))) continue;
    const QImage image = button->icon().pixmap(button->iconSize()).toImage();
    const auto ink = [&](int x, int y) {
      const QColor c = image.pixelColor(x, y);
      return c.alpha() > 64 && qGray(c.rgb()) < 160;
    };
    int touching = 0;
    for (int i = 0; i < image.width(); ++i)
      touching += ink(i, 0) + ink(i, image.height() - 1) + ink(0, i) + ink(image.width() - 1, i);
    EXPECT_EQ(touching, 0) << button->objectName().toStdString();
  }
}

TEST(MainWindow, InsertMenuBreaksIntoASecondColumnAtTheDiode) {
  ScriptedWindow w;
  TForm1& window = w.window;
  auto* menu = window.findChild<QMenu*>(QStringLiteral("MMwstaw"));
  QCursor::setPos(0, 0);  // away from the menu: no item under the mouse
  menu->popup(QPoint(200, 200));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
  const auto item = [&](const char* name) {
    return menu->findChild<QWidget*>(QString::fromLatin1(name));
  };
  ASSERT_NE(item("MXDio"), nullptr);
  const auto at = [&](const char* name) { return item(name)->mapTo(menu, QPoint()); };
  EXPECT_EQ(at("MXDio").y(), at("MXNic").y());
  EXPECT_GE(at("MXDio").x(), at("MXnlC").x() + item("MXnlC")->width());
  EXPECT_EQ(at("MXmmW").x(), at("MXDio").x());
  EXPECT_LT(menu->height(), 600);  // fits an ordinary screen

  // The keys walk across the columns; Enter chooses like a click.
  QTest::keyClick(menu, Qt::Key_Down);
  QTest::keyClick(menu, Qt::Key_Right);
  QTest::keyClick(menu, Qt::Key_Return);
  EXPECT_TRUE(window.command(QStringLiteral("MXDio"))->isChecked());
  EXPECT_EQ(window.editor().mode(), 4);
  EXPECT_FALSE(menu->isVisible());
  menu->popup(QPoint(200, 200));
  QTest::mouseClick(item("MXRez"), Qt::LeftButton);
  EXPECT_TRUE(window.command(QStringLiteral("SBRez"))->isChecked());
  EXPECT_FALSE(menu->isVisible());

  w.newMode = true;  // a transfer workspace hides the kinds it cannot take
  ASSERT_TRUE(window.documents().newDocument());
  window.idleUpdate();
  EXPECT_TRUE(item("MXNap")->isHidden());
  EXPECT_FALSE(item("MXnWe")->isHidden());
}

// Dates come from the system's language unless the program says otherwise.
TEST(MainWindow, FileDialogsSpeakPolish) {
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/obwod.wtx");
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("E:");
  }
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2024, 1, 15), QTime(10, 30)),
                                 QFileDevice::FileModificationTime));
  }
  TForm1 window;
  QString date;
  bool ownDialog = false;
  QTimer::singleShot(0, &window, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    ownDialog = dialog->testOption(QFileDialog::DontUseNativeDialog);
    dialog->setDirectory(dir.path());
    auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) > 0; }));
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
      if (view->model()->index(row, 0, view->rootIndex()).data() == QStringLiteral("obwod.wtx"))
        date = view->model()->index(row, 3, view->rootIndex()).data().toString();
    dialog->reject();
  });
  EXPECT_TRUE(window.fileDialogs().askOpenPath().empty());
  EXPECT_TRUE(ownDialog);
  EXPECT_TRUE(date.contains(QStringLiteral("sty 2024"))) << date.toStdString();
}

TEST(MainWindow, IconsAreDrawnForTheDesktopAndTellSavingApart) {
  ScriptedWindow w;
  const QList<QSize> sizes = w.window.windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(256, 256)));
  const auto picture = [&](const char* name) {
    return w.window.command(QString::fromLatin1(name))->icon().pixmap(24, 24).toImage();
  };
  EXPECT_NE(picture("MSBZapisz"), picture("MSBZapJako"));
}

}  // namespace

namespace {

TEST(MainWindowPrinting, ExportsTheSchematicToPdf) {
  QTemporaryDir dir;
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/mostek.wtx")));
  const QString path = dir.path() + QStringLiteral("/mostek.pdf");
  window.askPdfPath = [&] { return path; };
  window.execPrintDialog = [](TDrukDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Drukuj"));
    return int(QDialog::Accepted);
  };
  ASSERT_TRUE(window.exportPdf());
  QFile pdf(path);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(4) == "%PDF");
  EXPECT_GT(pdf.size(), 1000);

  window.execPrintDialog = [](TDrukDialog&) { return int(QDialog::Rejected); };
  EXPECT_FALSE(window.exportPdf());  // cancelled: nothing written
}

}  // namespace

namespace {

TEST(MainWindowPrinting, ExportsAPlotWithItsSchematicToPdf) {
  QTemporaryDir dir;
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/prostownik.wtx")));
  window.simulationSettings().timeText = "40m";
  window.simulationSettings().time = 0.04;
  window.command(QStringLiteral("MXSiW"))->trigger();
  ASSERT_TRUE(window.resultsValid());
  const QString path = dir.path() + QStringLiteral("/wykres.pdf");
  window.askPdfPath = [&] { return path; };
  window.execPrintDialog = [](TDrukDialog& dialog) {
    EXPECT_TRUE(dialog.schematicChosen());
    EXPECT_TRUE(dialog.plotChosen());
    return int(QDialog::Accepted);
  };
  ASSERT_TRUE(window.printPlot(true));
  QFile pdf(path);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(4) == "%PDF");
}

TEST(MainWindowPrinting, ExportsTheHarmonicsChartToPdf) {
  QTemporaryDir dir;
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/mostek.wtx")));
  window.simulationSettings().timeText = "100m";
  window.simulationSettings().time = 0.1;
  window.waveformSelection().traceSlots[0] = {"I(E1)", true};
  window.command(QStringLiteral("MXSiW"))->trigger();
  ASSERT_TRUE(window.resultsValid());
  wolterix::results::TWykDialog* plots = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* p = qobject_cast<wolterix::results::TWykDialog*>(top)) plots = p;
  ASSERT_NE(plots, nullptr);
  EXPECT_FALSE(window.printHarmonics(true));  // no analysis yet
  plots->openHarmonics();
  ASSERT_NE(plots->harmonicsWindow(), nullptr);
  ASSERT_TRUE(plots->harmonicsWindow()->analysis())
      << plots->harmonicsWindow()->refusal().toStdString();
  EXPECT_EQ(plots->harmonicsWindow()->fundamental(), 50.0);  // proposed from E1
  const QString path = dir.path() + QStringLiteral("/harmoniczne.pdf");
  window.askPdfPath = [&] { return path; };
  window.execPrintDialog = [](TDrukDialog&) { return int(QDialog::Accepted); };
  ASSERT_TRUE(window.printHarmonics(true));
  QFile pdf(path);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(4) == "%PDF");
  plots->harmonicsWindow()->close();
}

}  // namespace

namespace {

TEST(MainWindowDetails, MeasurementMenuHintsTimeDisplayAndColourPreview) {
  ScriptedWindow w;
  TForm1& window = w.window;
  // The menu items that do what a panel button does say what the button says.
  for (const auto& [item, button] : {std::pair{"MXdodU", "dodU"},
                                     {"MXdodI", "dodI"},
                                     {"MXdodP", "dodP"},
                                     {"MXpom", "StartPause"},
                                     {"MXkont", "Continue"}}) {
    const QAction* action = window.command(QString::fromLatin1(item));
    const auto* tool = window.findChild<QToolButton*>(QString::fromLatin1(button));
    ASSERT_TRUE(action && tool) << item;
    EXPECT_EQ(action->toolTip(), tool->toolTip()) << item;
    EXPECT_EQ(action->statusTip(), tool->statusTip()) << item;
  }
  EXPECT_TRUE(
      window.command(QStringLiteral("MXkont"))->statusTip().contains(QStringLiteral("pomiar")));

  // The last run's time belongs to the schematic it ran on.
  auto* time = window.findChild<QLabel*>(QStringLiteral("CzasPanel"));
  ASSERT_NE(time, nullptr);
  time->setText(QStringLiteral("40 ms"));
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/rc.wtx")));
  EXPECT_EQ(time->text(), QStringLiteral("0 ms"));
  time->setText(QStringLiteral("40 ms"));
  ASSERT_TRUE(window.documents().newDocument());
  EXPECT_EQ(time->text(), QStringLiteral("0 ms"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Wolterix - (bez nazwy)"));

  // "Kolor tła" shows a clicked colour at once and takes it back on "Anuluj".
  const Color before = window.canvas().view().background;
  Color previewed = before;
  QTimer::singleShot(0, &window, [&] {
    auto* dialog = window.findChild<TKolorDialog*>();
    ASSERT_NE(dialog, nullptr);
    const auto swatches = dialog->findChildren<QPushButton*>();
    for (QPushButton* swatch : swatches)
      if (swatch->isCheckable() && !swatch->isChecked()) {
        swatch->click();
        break;
      }
    previewed = window.canvas().view().background;
    dialog->reject();
  });
  window.command(QStringLiteral("MXw1"))->trigger();
  EXPECT_NE(previewed, before);
  EXPECT_EQ(window.canvas().view().background, before);
}

}  // namespace

namespace {

// A crash must not lose them: the store on disk follows every change while the window is open.
TEST(MainWindowDetails, SettingsAndRecentFilesAreStoredAsTheyChange) {
  const QString storePath =
      QSettings(QStringLiteral("Dorek"), QStringLiteral("Wolterix")).fileName();
  QSettings(QStringLiteral("Dorek"), QStringLiteral("Wolterix")).clear();
  const auto stored = [&] {
    QFile file(storePath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  };
  const QString path = QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx");
  ScriptedWindow w;
  ASSERT_TRUE(w.window.openFile(path));
  w.window.idleUpdate();
  EXPECT_TRUE(stored().contains(QStringLiteral("Reo0=") + path)) << stored().toStdString();
  w.window.command(QStringLiteral("MXZs16"))->trigger();
  EXPECT_TRUE(stored().contains(QStringLiteral("Siatka=16")));
  w.window.command(QStringLiteral("MXw7"))->trigger();  // hides the status bar
  EXPECT_TRUE(stored().contains(QStringLiteral("pPS=false")));
  w.window.plotWindow().setGridMode(wolterix::results::GridMode::None);
  EXPECT_TRUE(
      stored().contains(QStringLiteral("LPSmode=%1").arg(int(wolterix::results::GridMode::None))));
  QSettings(QStringLiteral("Dorek"), QStringLiteral("Wolterix")).clear();
}

}  // namespace

namespace {

void writeContents(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

TEST(MainWindowFiles, CancellingALongReadKeepsTheSchematic) {
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/dlugi.wtx");
  QByteArray wires;
  for (int length = 1; length <= 2; ++length)
    for (int y = 0; y <= 100; ++y)
      for (int x = 0; x + length <= 100; ++x)
        wires += QStringLiteral("L:%1|%2|%3|%2$\r\n").arg(x).arg(y).arg(x + length).toLatin1();
  writeContents(path, wires);

  const QString example = QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx");
  // The questions are scripted, the progress is the window's own dialog.
  struct ProgressShown : ScriptedWindow {
    void readingStarted(const std::string& path) override {
      window.fileDialogs().readingStarted(path);
    }
    bool reading(std::size_t done, std::size_t total) override {
      return window.fileDialogs().reading(done, total);
    }
    void readingEnded() override { window.fileDialogs().readingEnded(); }
  } w;
  ASSERT_TRUE(w.window.openFile(example));
  const int before = w.window.schematic().elementCount();
  w.window.fileDialogs().progressDelay = 0;
  QString cancelText;
  QTimer::singleShot(0, &w.window, [&] {
    auto* progress = w.window.findChild<QProgressDialog*>();
    if (!progress || !progress->isVisible()) return;
    cancelText = progress->findChild<QPushButton*>()->text();
    progress->cancel();
  });
  EXPECT_FALSE(w.window.openFile(path));
  EXPECT_EQ(cancelText, QStringLiteral("Anuluj"));
  EXPECT_TRUE(w.warnings.empty());
  EXPECT_EQ(w.window.schematic().elementCount(), before);
  EXPECT_TRUE(w.window.schematic().wires().size() < 100u);
  EXPECT_EQ(w.window.currentFile(), example);
}

}  // namespace
