#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "editor/dialogs.h"
#include "editor/main_window.h"
#include "editor/print_dialog.h"
#include "help/help_window.h"
#include "editor/schematic_canvas.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::editor;
using wolterix::model::ElementKind;
using wolterix::testing::CircuitBuilder;

// A window whose questions are answered by the test, never by a modal dialog.
struct ScriptedWindow {
  TForm1 window;
  std::vector<QString> warnings;
  SaveAnswer answer = SaveAnswer::Cancel;
  QString savePath;
  QString openPath;
  std::optional<bool> newMode = false;
  int questions = 0;

  ScriptedWindow() {
    window.showWarning = [this](const QString& text) { warnings.push_back(text); };
    window.askSaveQuestion = [this] {
      ++questions;
      return answer;
    };
    window.askSavePath = [this] { return savePath; };
    window.askOpenPath = [this] { return openPath; };
    window.askNewMode = [this] { return newMode; };
  }
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

TEST(MainWindow, AnUnreadableFileKeepsTheSchematic) {
  ScriptedWindow w;
  ASSERT_TRUE(w.window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx")));
  const int before = w.window.schematic().elementCount();
  EXPECT_FALSE(w.window.openFile(QStringLiteral("/nonexistent/brak.wtx")));
  ASSERT_EQ(w.warnings.size(), 1u);
  EXPECT_TRUE(w.warnings[0].contains(QStringLiteral("Plik nie istnieje.")));
  EXPECT_EQ(w.window.schematic().elementCount(), before);
  EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Wolterix - dzielnik"));
}

TEST(MainWindow, TheSaveQuestionGuardsEveryCommand) {
  QTemporaryDir dir;
  ScriptedWindow w;
  CircuitBuilder(w.window.schematic()).element(ElementKind::Rez, 10, 10);
  w.window.editor().flags().modified = true;

  w.answer = SaveAnswer::Cancel;
  EXPECT_FALSE(w.window.newDocument());
  EXPECT_EQ(w.window.schematic().elementCount(), 1);

  // "Tak" with the save dialog cancelled abandons the command as well.
  w.answer = SaveAnswer::Yes;
  w.savePath.clear();
  EXPECT_FALSE(w.window.newDocument());
  EXPECT_EQ(w.window.schematic().elementCount(), 1);

  // "Tak" with a folder that cannot be written: reported, nothing lost.
  w.savePath = dir.path() + QStringLiteral("/no-such-folder/x.wtx");
  EXPECT_FALSE(w.window.newDocument());
  EXPECT_EQ(w.window.schematic().elementCount(), 1);
  EXPECT_TRUE(w.window.editor().flags().modified);
  ASSERT_FALSE(w.warnings.empty());
  EXPECT_TRUE(w.warnings.back().startsWith(QStringLiteral("Nie można zapisać pliku")));

  // "Tak" and a good name: saved, then the new workspace.
  w.savePath = dir.path() + QStringLiteral("/obwod.wtx");
  w.newMode = true;
  EXPECT_TRUE(w.window.newDocument());
  EXPECT_TRUE(QFile::exists(w.savePath));
  EXPECT_EQ(w.window.schematic().elementCount(), 0);
  EXPECT_TRUE(w.window.schematic().transferMode());
  EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Wolterix - (bez nazwy)"));

  // An unmodified schematic asks nothing; a cancelled "Nowy" deletes nothing.
  const int asked = w.questions;
  CircuitBuilder(w.window.schematic()).element(ElementKind::Rez, 10, 10);
  w.newMode = std::nullopt;
  EXPECT_FALSE(w.window.newDocument());
  EXPECT_EQ(w.questions, asked);
  EXPECT_EQ(w.window.schematic().elementCount(), 1);
}

TEST(MainWindow, RecentFilesFollowOpeningAndSaving) {
  QTemporaryDir dir;
  const QString a = dir.path() + QStringLiteral("/a.wtx");
  const QString b = dir.path() + QStringLiteral("/b.wtx");
  ScriptedWindow w;
  CircuitBuilder(w.window.schematic()).element(ElementKind::Rez, 10, 10);
  w.savePath = a;
  ASSERT_TRUE(w.window.saveAs());
  w.window.idleUpdate();  // a new document saved joins the list on the next idle pass
  EXPECT_EQ(w.window.settings().recent[0], a.toStdString());
  w.savePath = b;
  ASSERT_TRUE(w.window.saveAs());
  w.window.idleUpdate();
  EXPECT_EQ(w.window.settings().recent[1], a.toStdString());
  EXPECT_TRUE(w.window.command(QStringLiteral("MXZ2"))->isVisible());
  EXPECT_EQ(w.window.command(QStringLiteral("MXZ2"))->text(), QStringLiteral("&2 ") + a);

  ASSERT_TRUE(w.window.openRecent(1));  // the second entry goes to the top
  w.window.idleUpdate();
  EXPECT_EQ(w.window.settings().recent[0], a.toStdString());
  EXPECT_EQ(w.window.settings().recent[1], b.toStdString());

  QFile::remove(b);
  EXPECT_FALSE(w.window.openRecent(1));
  EXPECT_EQ(w.warnings.back(), QStringLiteral("Plik nie istnieje."));
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
  ASSERT_TRUE(window.newDocument());
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

}  // namespace
