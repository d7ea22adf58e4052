// Every dialog the window opens answers "Pomoc" and F1 with a page of its own, and closing it
// puts the help away again.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "app/main_window.h"
#include "dialogs/parameter_dialogs.h"
#include "dialogs/simulation_dialogs.h"
#include "help/help_window.h"
#include "meters/measurement_dialogs.h"
#include "printing/print_dialog.h"
#include "results/axis_dialog.h"
#include "results/plot_window.h"
#include "results/waveform_dialog.h"
#include "support/scripted_prompts.h"

namespace {

using namespace wolterix;
using app::TForm1;

// Presses F1 and then "Pomoc" on a dialog; answers the topic both showed (0 when they did not
// agree or showed nothing).
int topicOf(TForm1& window, QDialog& dialog) {
  help::HelpWindow& help = window.helpWindow();
  const auto shown = [&](const std::function<void()>& ask) {
    help.hideHelp();
    const int before = help.lastTopic();
    ask();
    return help.isVisible() ? help.lastTopic() : -before - 1;
  };
  const int byKey = shown([&] { QTest::keyClick(&dialog, Qt::Key_F1); });
  QAbstractButton* button = nullptr;
  for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
    if (b->text() == QStringLiteral("Pomoc")) button = b;
  if (!button) return 0;
  const int byButton = shown([&] { button->click(); });
  return byKey == byButton && byKey > 0 ? byKey : 0;
}

TEST(HelpWiring, EveryDialogOpensItsOwnPageAndClosingPutsItAway) {
  wolterix::testing::ScriptedDocumentPrompt quiet;  // no modal warning
  TForm1 window;
  window.documents().setPrompt(quiet);
  std::map<std::string, int> topics;
  const auto record = [&](const std::string& name, QDialog& dialog) {
    topics[name] = topicOf(window, dialog);
  };

  window.execSimulationDialog = [&](dialogs::TSymuDialog& d) {
    record("Symulacja", d);
    return int(dialogs::TSymuDialog::Cancelled);
  };
  window.execTransferDialog = [&](dialogs::TTransmiDialog& d) {
    record("Transmitancja", d);
    return int(QDialog::Rejected);
  };
  window.execPrintDialog = [&](printing::TDrukDialog& d) {
    record("Drukuj", d);
    return int(QDialog::Rejected);
  };
  window.execMeasurementDialog = [&](meters::TPomiarDialog& d) {
    record("Pomiar", d);
    return int(QDialog::Rejected);
  };
  dialogs::ParameterDialog::execHook = [&](dialogs::ParameterDialog& d) {
    record("Parametry", d);
    return int(QDialog::Rejected);
  };
  // A dialog run by its own exec: answered from inside its loop.
  const auto whenShown = [&](const std::string& name, QDialog& dialog) {
    QTimer::singleShot(0, &dialog, [&, name] {
      record(name, dialog);
      dialog.reject();
    });
  };

  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/prostownik.wtx")));
  const auto afterwards = [&](const std::string& name) {
    EXPECT_FALSE(window.helpWindow().isVisible()) << name << " left the help open";
  };
  window.SymOnCl();
  afterwards("Symulacja");
  window.DrukujOnCl();
  afterwards("Drukuj");
  window.StartPauseOnCl();
  afterwards("Pomiar");
  // The parameters of one element.
  const auto centre = window.schematic().elements()[0]->position();
  window.editor().deselectAll();
  window.editor().mouseDown(centre, {}, {});
  window.editor().mouseUp(centre, {}, {});
  window.ParamOnCl();
  afterwards("Parametry");
  // "Przebiegi" needs results.
  window.execSimulationDialog = [](dialogs::TSymuDialog& d) {
    d.setValues(QStringLiteral("20m"), 0);
    return int(dialogs::TSymuDialog::Start);
  };
  ASSERT_TRUE(window.SymOnCl());
  auto* waveforms = window.findChild<results::TPrzeb2Dialog*>();
  ASSERT_NE(waveforms, nullptr);
  whenShown("Przebiegi", *waveforms);
  window.chooseWaveforms();
  afterwards("Przebiegi");
  window.plotWindow().execAxisDialog = [&](results::TOpisOsiDialog& d) {
    record("Opis osi pionowej", d);
    return int(QDialog::Rejected);
  };
  window.showPlots();
  window.plotWindow().findChild<QAction*>(QStringLiteral("Pw6"))->trigger();
  window.plotWindow().hide();
  window.execOptionsDialog = [&](meters::TOpcjeDialog& d) {
    record("Opcje miernika", d);
    return int(QDialog::Rejected);
  };
  ASSERT_TRUE(window.addMeter(engine::MeterQuantity::Voltage));
  window.meterOptions(0);
  afterwards("Opcje miernika");

  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/filtr.wtx")));
  window.SymOnCl();
  afterwards("Transmitancja");

  std::set<int> distinct;
  for (const auto& [name, topic] : topics) {
    EXPECT_GT(topic, 0) << name << ": no page, or F1 and \"Pomoc\" disagree";
    distinct.insert(topic);
  }
  std::string names;
  for (const auto& entry : topics) names += entry.first + " ";
  EXPECT_EQ(topics.size(), 8u) << names;
  EXPECT_EQ(distinct.size(), topics.size()) << "two dialogs share a page";
  dialogs::ParameterDialog::execHook = nullptr;
}

}  // namespace
