#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "app/main_window.h"
#include "dialogs/error_dialog.h"
#include "dialogs/parameter_dialogs.h"
#include "dialogs/simulation_dialogs.h"
#include "editor/schematic_canvas.h"

namespace {

using namespace wolterix::editor;
using namespace wolterix::app;
using namespace wolterix::drawing;
using wolterix::dialogs::ParameterDialog;
using wolterix::dialogs::TErrorDialog;
using wolterix::dialogs::TSymuDialog;
using wolterix::model::ElementKind;

QPoint pixel(int x, int y) { return {(x + 1) * 20, (y + 1) * 20}; }

void drag(QWidget* canvas, QPoint from, QPoint to) {
  QTest::mousePress(canvas, Qt::LeftButton, {}, from);
  QMouseEvent move(QEvent::MouseMove, to, canvas->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(canvas, &move);
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
}

// The way a student works: palette, clicks, double clicks into the dialogs, the run.
TEST(NewcomerJourney, DrawsAHalfWaveRectifierSetsValuesAndSimulates) {
  TForm1 window;
  window.show();
  SchematicCanvas* canvas = &window.canvas();
  const auto place = [&](const char* palette, int x, int y) {
    window.command(QString::fromLatin1(palette))->trigger();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, pixel(x, y));
  };
  place("SBNap", 10, 10);         // horizontal: terminals (9,10) and (11,10)
  window.editor().rotateRight();  // vertical, terminal 0 at the bottom
  place("SBDio", 14, 8);          // anode (13,8), cathode (15,8)
  place("SBRez", 18, 10);
  window.editor().rotateRight();
  window.command(QStringLiteral("SBLin"))->trigger();
  drag(canvas, pixel(10, 9), pixel(10, 8));
  drag(canvas, pixel(10, 8), pixel(13, 8));
  drag(canvas, pixel(15, 8), pixel(18, 8));
  drag(canvas, pixel(18, 8), pixel(18, 9));
  drag(canvas, pixel(10, 11), pixel(10, 12));
  drag(canvas, pixel(10, 12), pixel(18, 12));
  drag(canvas, pixel(18, 12), pixel(18, 11));
  ASSERT_EQ(window.schematic().elementCount(), 3);
  ASSERT_EQ(window.schematic().wires().size(), 7u);

  // Double click each element and fill its dialog.
  std::map<QString, QString> values;
  int choice = -1;
  ParameterDialog::execHook = [&](ParameterDialog& dialog) {
    for (const auto& [name, text] : values)
      if (auto* edit = dialog.findChild<QLineEdit*>(name)) edit->setText(text);
    if (choice >= 0)
      if (auto* radio = dialog.findChild<QRadioButton*>(QStringLiteral("choice%1").arg(choice)))
        radio->click();
    dialog.findChild<QAbstractButton*>(QStringLiteral("OK"))->click();
    return dialog.result();
  };
  std::vector<QStringList> errors;
  TErrorDialog::showHook = [&](const QStringList& lines) { errors.push_back(lines); };
  window.command(QStringLiteral("SBNic"))->trigger();
  // A double click as the window system delivers it: press, release, double click, release.
  const auto edit = [&](int x, int y) {
    QTest::mouseClick(canvas, Qt::LeftButton, {}, pixel(x, y));
    QMouseEvent twice(QEvent::MouseButtonDblClick, pixel(x, y), canvas->mapToGlobal(pixel(x, y)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &twice);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, pixel(x, y));
  };
  values = {{QStringLiteral("valE"), QStringLiteral("230")},
            {QStringLiteral("valf"), QStringLiteral("50")}};
  choice = 1;  // "Sinusoidalne"
  edit(10, 10);
  values = {{QStringLiteral("valRf"), QStringLiteral("0,01")}};
  choice = -1;
  edit(14, 8);
  values = {{QStringLiteral("valR"), QStringLiteral("100")}};
  edit(18, 10);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(window.schematic().elements()[0]->parameterText(wolterix::model::TextForm::File, false),
            "sin/230/0/50/0");

  window.execSimulationDialog = [](TSymuDialog& dialog) {
    dialog.setValues(QStringLiteral("40m"), 2);
    return int(TSymuDialog::Start);
  };
  window.idleUpdate();
  ASSERT_TRUE(window.command(QStringLiteral("MXsymu"))->isEnabled());
  window.command(QStringLiteral("MXsymu"))->trigger();
  EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors[0].join('\n').toStdString());
  EXPECT_TRUE(window.resultsValid());
  // Half-wave: the load sees only the positive half waves.
  const auto u = window.simulation().store().trace("U(R1)");
  ASSERT_TRUE(u.has_value());
  EXPECT_GT(*std::max_element(u->begin(), u->end()), 300.0);
  EXPECT_GT(*std::min_element(u->begin(), u->end()), -1.0);
  ParameterDialog::execHook = nullptr;
  TErrorDialog::showHook = nullptr;
}

}  // namespace
