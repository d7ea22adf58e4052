#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/main_window.h"
#include "dialogs/error_dialog.h"
#include "meters/measurement_dialogs.h"
#include "meters/measurement_panel.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix;
using app::TForm1;
using dialogs::TErrorDialog;
using engine::MeterQuantity;
using meters::TPomiarDialog;

struct Answer {
  QString frequency;
  QString cycles;
  int iterations;
  int choice;
};

// Answers the measurement dialog from a list and gathers the error lines.
struct Script {
  std::vector<Answer> answers;
  std::vector<QStringList> errors;
  std::size_t shown = 0;
  explicit Script(TForm1& window) {
    window.execMeasurementDialog = [this](TPomiarDialog& dialog) {
      if (shown >= answers.size()) return int(TPomiarDialog::Cancelled);
      const Answer& a = answers[shown++];
      dialog.setValues(a.frequency, a.cycles, a.iterations);
      return a.choice;
    };
    TErrorDialog::showHook = [this](const QStringList& lines) { errors.push_back(lines); };
  }
  ~Script() { TErrorDialog::showHook = nullptr; }
};

void selectOnly(TForm1& window, const char* name) {
  window.editor().deselectAll();
  window.schematic().findElement(name)->selected = true;
  window.idleUpdate();
}

QString displayText(TForm1& window, int k) {
  return window.measurementPanel().findChild<QLabel*>(QStringLiteral("Display%1").arg(k))->text();
}

TEST(MeasurementFromTheWindow, MetersOnARectifierReadAfterEveryCycle) {
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/prostownik.wtx")));
  window.editor().deselectAll();
  window.idleUpdate();
  EXPECT_FALSE(window.command("MXdodU")->isEnabled());  // nothing selected
  selectOnly(window, "R1");
  ASSERT_TRUE(window.command("MXdodU")->isEnabled());
  window.command("MXdodU")->trigger();
  window.command("MXdodP")->trigger();
  EXPECT_TRUE(window.measurementPanel().isVisibleTo(&window));
  EXPECT_EQ(window.command("MXpanel")->text(), QStringLiteral("Zamknij pa&nel pomiarowy"));
  EXPECT_FALSE(window.measurementPanel()
                   .findChild<QWidget*>(QStringLiteral("Miernik3"))
                   ->isVisibleTo(&window));
  EXPECT_EQ(window.measurement().meterSlots()[1].indication, engine::Indication::DcMean);

  // F8 through the dialog; a refused entry comes back through the error dialog. The rules of
  // the entry and the cycles are the measurement session's (app tests).
  Script s(window);
  s.answers = {{"50", "2,5", 0, TPomiarDialog::Start}, {"50", "3", 1, TPomiarDialog::Start}};
  std::vector<long long> cycles;
  window.onMeasurementCycle = [&](long long cycle) { cycles.push_back(cycle); };
  window.command("MXpom")->trigger();
  ASSERT_EQ(s.errors.size(), 1u);
  EXPECT_EQ(s.errors[0], QStringList{QStringLiteral("[1] Niewłaściwa wartość liczbowa.")});
  EXPECT_EQ(cycles, (std::vector<long long>{1, 2, 3}));
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("CzasPanel"))->text(),
            QStringLiteral("60 ms"));
  EXPECT_EQ(displayText(window, 1),
            QString::fromStdString(window.measurement().meterSlots()[0].display));

  // The panel's Continue goes on without the dialog; F10 is the same command.
  window.idleUpdate();
  ASSERT_TRUE(window.command("MXkont")->isEnabled());
  window.command("MXkont")->trigger();
  EXPECT_EQ(s.shown, 2u);
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("CzasPanel"))->text(),
            QStringLiteral("120 ms"));

  // Deleting the measured element closes its meters.
  window.command("MXusun")->trigger();
  EXPECT_FALSE(window.measurement().anyMeter());
  EXPECT_FALSE(window.measurementPanel()
                   .findChild<QWidget*>(QStringLiteral("Miernik1"))
                   ->isVisibleTo(&window));
  EXPECT_FALSE(window.editor().flags().measurementContinuable);
}

TEST(MeasurementFromTheWindow, LongMeasurementStaysResponsiveAndStopEndsItAfterTheCycle) {
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/prostownik.wtx")));
  selectOnly(window, "R1");
  window.addMeter(MeterQuantity::Voltage);
  const int elements = window.schematic().elementCount();
  Script s(window);
  s.answers = {{"50", "25", 6, TPomiarDialog::Start}};

  // A full measurement: the event loop is served while the cycles run, and every editing
  // command is inert until it ends.
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(5);
  long long last = 0;
  window.onMeasurementCycle = [&](long long cycle) {
    last = cycle;
    if (cycle != 2) return;
    window.editor().selectAll();
    window.command("MXusun")->trigger();
    window.command("MXpom")->trigger();
    auto* panel = &window.measurementPanel();
    EXPECT_TRUE(panel->findChild<QToolButton*>(QStringLiteral("Stop"))->isEnabled());
    EXPECT_FALSE(panel->findChild<QToolButton*>(QStringLiteral("StartPause"))->isEnabled());
    EXPECT_FALSE(panel->findChild<QToolButton*>(QStringLiteral("End1"))->isEnabled());
  };
  EXPECT_TRUE(window.StartPauseOnCl());
  ticker.stop();
  EXPECT_EQ(last, 25);
  EXPECT_EQ(s.shown, 1u);  // F8 during the run showed no second dialog
  EXPECT_GT(ticks, 0);
  EXPECT_EQ(window.schematic().elementCount(), elements);  // the delete did nothing
  EXPECT_TRUE(window.measurement().meterSlots()[0].inUse);
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("CzasPanel"))->text(),
            QStringLiteral("500 ms"));

  // Stop pressed while the first cycle runs: that cycle ends, no other starts.
  s.answers.push_back({"50", "25", 6, TPomiarDialog::Start});
  window.onMeasurementCycle = [&](long long cycle) { last = cycle; };
  QTimer::singleShot(0, &window, [&] {
    auto* stop = window.measurementPanel().findChild<QToolButton*>(QStringLiteral("Stop"));
    ASSERT_TRUE(stop->isEnabled());
    stop->click();
  });
  EXPECT_TRUE(window.StartPauseOnCl());
  EXPECT_EQ(last, 1);

  // Esc is the same Stop.
  s.answers.push_back({"50", "25", 6, TPomiarDialog::Start});
  window.show();
  QApplication::setActiveWindow(&window);
  QTimer::singleShot(0, &window, [&] { QTest::keyClick(&window, Qt::Key_Escape); });
  EXPECT_TRUE(window.StartPauseOnCl());
  EXPECT_EQ(last, 1);
  EXPECT_NEAR(window.measurement().continuationTime(), 0.02, 1e-12);
  EXPECT_FALSE(window.measurement().running());
  window.idleUpdate();
  EXPECT_TRUE(window.command("MXpom")->isEnabled());
  EXPECT_TRUE(window.menuBar()->isEnabled());
}

TEST(MeasurementFromTheWindow, FailedCycleShowsItsLinesAndClosingStopsARunningMeasurement) {
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/prostownik.wtx")));
  Script s(window);
  s.answers = {{"50", "10", 0, TPomiarDialog::Start}};
  long long last = 0;
  window.onMeasurementCycle = [&](long long cycle) {
    last = cycle;
    if (cycle == 2) window.close();
  };
  window.show();
  EXPECT_TRUE(window.StartPauseOnCl());
  EXPECT_EQ(last, 2);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window.isVisible());

  // An element without parameters: the first cycle's lines reach the error dialog.
  wolterix::testing::CircuitBuilder(window.schematic()).element(model::ElementKind::Rez, 40, 40);
  s.answers.push_back({"50", "10", 0, TPomiarDialog::Continue});
  window.onMeasurementCycle = nullptr;
  EXPECT_FALSE(window.StartPauseOnCl());
  ASSERT_EQ(s.errors.size(), 1u);
  EXPECT_EQ(s.errors[0], QStringList{QStringLiteral("[1] Brak parametrów: Element \"R2\".")});
}

TEST(MeasurementFromTheWindow, OptionsDialogChangesTheMeter) {
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/prostownik.wtx")));
  selectOnly(window, "D1");
  ASSERT_TRUE(window.addMeter(MeterQuantity::Voltage));
  int helpTopic = 0;
  window.execOptionsDialog = [&](meters::TOpcjeDialog& dialog) {
    for (auto* radio : dialog.findChildren<QRadioButton*>())
      if (radio->text() == QStringLiteral("Prąd  (amperomierz)")) radio->click();
    for (auto* button : dialog.findChildren<QAbstractButton*>())
      if (button->text() == QStringLiteral("Wartość średnia prostowana (~ AV)")) button->click();
    if (dialog.onHelp) helpTopic = 40;
    return int(QDialog::Accepted);
  };
  EXPECT_TRUE(window.meterOptions(0));
  const engine::MeterSlot& slot = window.measurement().meterSlots()[0];
  EXPECT_EQ(slot.quantity, MeterQuantity::Current);
  EXPECT_EQ(slot.indication, engine::Indication::RectifiedMean);
  EXPECT_EQ(helpTopic, 40);
  EXPECT_EQ(window.measurementPanel().findChild<QLabel*>(QStringLiteral("Wart1"))->text(),
            QStringLiteral("AV"));
  window.execOptionsDialog = [](meters::TOpcjeDialog&) { return int(QDialog::Rejected); };
  EXPECT_FALSE(window.meterOptions(0));
  EXPECT_FALSE(window.meterOptions(4));  // a free slot has no options

  // Another file: the meters went with the old schematic's elements.
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/mostek.wtx")));
  EXPECT_FALSE(window.measurement().anyMeter());
  EXPECT_FALSE(window.measurementPanel()
                   .findChild<QWidget*>(QStringLiteral("Miernik1"))
                   ->isVisibleTo(&window));
}

}  // namespace
