#include <gtest/gtest.h>

#include <QAction>

#include "dialogs/error_dialog.h"
#include "dialogs/simulation_dialogs.h"
#include "app/main_window.h"
#include "results/plot_window.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::editor;
using namespace wolterix::app;
using namespace wolterix::drawing;
using wolterix::dialogs::TErrorDialog;
using wolterix::dialogs::TSymuDialog;
using wolterix::dialogs::TTransmiDialog;
using wolterix::model::ElementKind;

// Answers the simulation dialog with the given texts, one answer per showing.
struct Script {
  std::vector<std::pair<QString, int>> answers;  // time text, choice
  std::vector<QStringList> errors;
  std::size_t shown = 0;
};

void script(TForm1& window, Script& s) {
  window.execSimulationDialog = [&s](TSymuDialog& dialog) {
    if (s.shown >= s.answers.size()) return int(TSymuDialog::Cancelled);
    const auto& [text, choice] = s.answers[s.shown++];
    dialog.setValues(text, 2);
    return choice;
  };
  TErrorDialog::showHook = [&s](const QStringList& lines) { s.errors.push_back(lines); };
}

TEST(SimulationFromTheWindow, InvalidTimesAskAgainThenTheRunSucceeds) {
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/prostownik.wtx")));
  Script s;
  s.answers = {{QStringLiteral("0"), TSymuDialog::Start},
               {QStringLiteral("1.5"), TSymuDialog::Start},
               {QStringLiteral("40m"), TSymuDialog::Start}};
  script(window, s);
  EXPECT_TRUE(window.SymOnCl());
  EXPECT_EQ(s.shown, 3u);
  ASSERT_EQ(s.errors.size(), 2u);
  EXPECT_EQ(s.errors[0], QStringList{QStringLiteral("[1] Niewłaściwa wartość liczbowa.")});
  EXPECT_TRUE(window.resultsValid());
  EXPECT_EQ(window.simulationSettings().timeText, "40m");
  EXPECT_EQ(window.simulation().store().sampleCount, window.simulation().sampleCount() + 1);

  // An edit invalidates the results; "Kontynuuj" then starts again from 0.
  window.editor().selectAll();
  window.editor().rotateLeft();
  EXPECT_FALSE(window.resultsValid());
  s.answers.push_back({QStringLiteral("40m"), TSymuDialog::Continue});
  EXPECT_TRUE(window.SymOnCl());
  EXPECT_EQ(window.simulation().store().startTime, 0.0);
  // Now valid: a second "Kontynuuj" goes on from where the run ended.
  s.answers.push_back({QStringLiteral("40m"), TSymuDialog::Continue});
  EXPECT_TRUE(window.SymOnCl());
  EXPECT_GT(window.simulation().store().startTime, 0.039);
  TErrorDialog::showHook = nullptr;
}

TEST(SimulationFromTheWindow, CheckErrorsAreShownAndLeaveResultsInvalid) {
  TForm1 window;
  wolterix::testing::CircuitBuilder(window.schematic()).element(ElementKind::Rez, 10, 10);
  Script s;
  s.answers = {{QStringLiteral("10m"), TSymuDialog::Start}};
  script(window, s);
  EXPECT_FALSE(window.SymOnCl());
  ASSERT_EQ(s.errors.size(), 1u);
  EXPECT_EQ(s.errors[0], QStringList{QStringLiteral("[1] Brak parametrów: Element \"R1\".")});
  EXPECT_FALSE(window.resultsValid());
  TErrorDialog::showHook = nullptr;
}

TEST(SimulationFromTheWindow, TransferSweepRefusesABadRange) {
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
  EXPECT_TRUE(window.SymOnCl());
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_TRUE(window.resultsValid());
  EXPECT_GT(window.simulation().transferStore().pointCount, 0);
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
