// Undo and redo in the window: the menu names the steps, the keys work, a dialog's changes are
// one step, and the meters stay on their elements while the schematic is read again.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "app/main_window.h"
#include "dialogs/parameter_dialogs.h"
#include "support/scripted_prompts.h"

namespace {

using wolterix::app::TForm1;
using namespace wolterix;

struct Window : wolterix::testing::ScriptedDocumentPrompt {
  TForm1 window;
  Window() { window.documents().setPrompt(*this); }
};

void selectOnly(TForm1& window, const std::string& name) {
  window.editor().deselectAll();
  const model::GridPoint at = window.schematic().findElement(name)->position();
  window.editor().mouseDown(at, {}, {});
  window.editor().mouseUp(at, {}, {});
}

TEST(UndoInTheWindow, TheMenuNamesTheStepsAndTheKeysUndoAndRedo) {
  Window w;
  TForm1& window = w.window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx")));
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QAction* undo = window.command(QStringLiteral("MXcof"));
  QAction* redo = window.command(QStringLiteral("MXpon"));
  window.idleUpdate();
  EXPECT_FALSE(undo->isEnabled());  // a file just opened has no history
  EXPECT_EQ(undo->text(), QStringLiteral("&Cofnij"));

  // A meter on R1 stays on R1 through undo and redo, which read the schematic again.
  selectOnly(window, "R1");
  ASSERT_TRUE(window.addMeter(engine::MeterQuantity::Voltage));
  const model::GridPoint start = window.schematic().findElement("R1")->position();
  QTest::keyClick(&window, Qt::Key_Down);  // one grid step, one step of the history
  window.idleUpdate();
  EXPECT_EQ(window.schematic().findElement("R1")->position().y, start.y + 1);
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(undo->text(), QStringLiteral("&Cofnij: przesunięcie 1 obiektu"));
  EXPECT_TRUE(window.editor().flags().modified);

  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  window.idleUpdate();
  const model::Element* r1 = window.schematic().findElement("R1");
  EXPECT_EQ(r1->position(), start);
  EXPECT_EQ(redo->text(), QStringLiteral("&Ponów: przesunięcie 1 obiektu"));
  EXPECT_TRUE(window.measurement().meterSlots()[0].inUse);
  EXPECT_EQ(window.measurement().meterSlots()[0].element, r1);

  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(window.schematic().findElement("R1")->position().y, start.y + 1);
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(window.schematic().findElement("R1")->position().y, start.y + 1);

  // Ctrl+A selects everything.
  window.editor().deselectAll();
  QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
  for (const auto& e : window.schematic().elements()) EXPECT_TRUE(e->selected) << e->name();
  window.close();
}

TEST(UndoInTheWindow, AParameterDialogIsOneStepAndACancelledOneNone) {
  Window w;
  TForm1& window = w.window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx")));
  selectOnly(window, "R1");
  const std::string before = window.schematic().findElement("R1")->parameter(0).text();
  dialogs::ParameterDialog::execHook = [](dialogs::ParameterDialog&) {
    return int(QDialog::Rejected);
  };
  window.ParamOnCl();
  EXPECT_FALSE(window.editor().canUndo());
  dialogs::ParameterDialog::execHook = [](dialogs::ParameterDialog& d) {
    for (QLineEdit* field : d.findChildren<QLineEdit*>())
      if (field->text() == QStringLiteral("1k")) field->setText(QStringLiteral("4,7k"));
    return int(QDialog::Accepted);
  };
  window.ParamOnCl();
  dialogs::ParameterDialog::execHook = nullptr;
  ASSERT_NE(window.schematic().findElement("R1"), nullptr);
  ASSERT_EQ(window.schematic().findElement("R1")->parameter(0).text(), "4,7k");
  EXPECT_EQ(window.editor().undoLabel(), "zmiana parametrów R1");
  window.command(QStringLiteral("MXcof"))->trigger();
  EXPECT_EQ(window.schematic().findElement("R1")->parameter(0).text(), before);
  EXPECT_FALSE(window.resultsValid());
}

}  // namespace
