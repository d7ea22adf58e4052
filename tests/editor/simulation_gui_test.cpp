#include <gtest/gtest.h>

#include <QAction>

#include "app/main_window.h"
#include "dialogs/error_dialog.h"
#include "dialogs/simulation_dialogs.h"
#include "results/plot_window.h"

namespace {

using namespace wolterix::editor;
using namespace wolterix::app;
using namespace wolterix::drawing;
using wolterix::dialogs::TErrorDialog;
using wolterix::dialogs::TSymuDialog;
using wolterix::dialogs::TTransmiDialog;

// The rules of the dialogs, retries and runs are the analysis session's (app tests); these
// prove the window's wiring.

TEST(SimulationFromTheWindow, TransferSweepFromTheMenuRefusesABadRange) {
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/filtr.wtx")));
  int shown = 0;
  std::vector<QStringList> errors;
  window.execTransferDialog = [&](TTransmiDialog& dialog) {
    ++shown;
    if (shown == 1) dialog.setValues(QStringLiteral("0"), QStringLiteral("10k"));
    if (shown == 2) {
      EXPECT_EQ(dialog.fromText(), QStringLiteral("?"));  // both texts were reset
      dialog.setValues(QStringLiteral("10"), QStringLiteral("100k"));
    }
    return int(QDialog::Accepted);
  };
  TErrorDialog::showHook = [&](const QStringList& lines) { errors.push_back(lines); };
  window.idleUpdate();
  window.command(QStringLiteral("MXsymu"))->trigger();
  EXPECT_EQ(shown, 2);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], QStringList{QStringLiteral("[1] Niewłaściwa wartość liczbowa.")});
  EXPECT_TRUE(window.resultsValid());
  window.idleUpdate();
  EXPECT_EQ(window.command(QStringLiteral("MXsymu"))->text(), QStringLiteral("&Transmitancja..."));
  EXPECT_TRUE(window.command(QStringLiteral("MXsymu"))->isEnabled());
  TErrorDialog::showHook = nullptr;
}

TEST(SimulationFromTheWindow, DialogShowsTheTotalNumberOfSteps) {
  TSymuDialog dialog(944);
  dialog.setValues(QStringLiteral("20m"), 6);
  EXPECT_EQ(dialog.stepsText(), QStringLiteral("60416"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Symulacja"));
}

}  // namespace

namespace {

TEST(SimulationFromTheWindow, PlotsFollowTheResults) {
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/prostownik.wtx")));
  window.idleUpdate();
  EXPECT_FALSE(window.command(QStringLiteral("MXwyk"))->isEnabled());  // nothing run yet
  window.simulationSettings().timeText = "40m";
  window.simulationSettings().time = 0.04;
  window.command(QStringLiteral("MXSiW"))->trigger();  // runs and opens the plots
  EXPECT_TRUE(window.resultsValid());
  EXPECT_TRUE(window.plotWindow().isVisible());
  window.idleUpdate();
  EXPECT_TRUE(window.command(QStringLiteral("MXwyk"))->isEnabled());
  EXPECT_TRUE(window.command(QStringLiteral("MXprzeb"))->isEnabled());
  window.plotWindow().hide();
}

}  // namespace
