#include "results/waveform_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

using namespace wolterix::results;

TEST(WaveformDialog, ArrowsFillSlotsDoubleClickClearsAndOnlyOkStores) {
  TPrzeb2Dialog dialog;
  WaveformSelection selection;
  selection.traceSlots[0] = {"U(R1)", true};
  selection.traceSlots[1] = {"I(R9)", true};  // no longer offered
  const std::vector<std::string> list{"U(E1)", "I(E1)", "U(R1)", "I(R1)"};

  dialog.load(selection, list, false);
  auto* tabs = dialog.findChild<QTabWidget*>();
  EXPECT_TRUE(tabs->isTabVisible(1));   // "Skala..."
  EXPECT_FALSE(tabs->isTabVisible(2));  // "Rodzaj / Skala"
  EXPECT_EQ(dialog.controls().traceSlots[1], TraceSlot{});

  dialog.findChild<QListWidget*>("ListBox1")->setCurrentRow(1);
  QTest::mouseClick(dialog.findChild<QToolButton*>("Over1"), Qt::LeftButton);  // replaces a name
  QTest::mouseClick(dialog.findChild<QToolButton*>("Over4"), Qt::LeftButton);
  auto* ed3 = dialog.findChild<QLineEdit*>("ed3");
  EXPECT_EQ(ed3->text(), QStringLiteral("I(E1)"));
  EXPECT_TRUE(dialog.findChild<QCheckBox*>("cb3")->isChecked());
  QTest::mouseDClick(ed3, Qt::LeftButton);
  EXPECT_TRUE(ed3->text().isEmpty());
  EXPECT_FALSE(dialog.findChild<QCheckBox*>("cb3")->isChecked());

  QTest::mouseClick(dialog.findChild<QToolButton*>("UD2down"), Qt::LeftButton);  // V -> mV
  const WaveformSelection shown = dialog.controls();
  EXPECT_EQ(shown.traceSlots[0], (TraceSlot{"I(E1)", true}));
  EXPECT_NEAR(shown.fixedScaleValue(Quantity::Voltage), 0.5, 1e-12);

  // "Anuluj" keeps the selection; "OK" takes the controls.
  WaveformSelection kept = selection;
  QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
  EXPECT_FALSE(dialog.edit(kept, list, false));
  EXPECT_EQ(kept, selection);
  QTimer::singleShot(0, &dialog, [&] {
    dialog.OverClick(5);
    dialog.accept();
  });
  ASSERT_TRUE(dialog.edit(kept, list, false));
  EXPECT_EQ(kept.traceSlots[5], (TraceSlot{"U(E1)", true}));
  EXPECT_EQ(kept.traceSlots[1], TraceSlot{});
}

TEST(WaveformDialog, TransferModeShowsOnlyItsTabAndFallsBackFromAHiddenOne) {
  TPrzeb2Dialog dialog;
  auto* tabs = dialog.findChild<QTabWidget*>();
  WaveformSelection selection;
  selection.traceSlots[0] = {"U(R2)", true};
  dialog.load(selection, {"U(R2)"}, false);
  tabs->setCurrentIndex(1);
  dialog.reject();  // remembers "Skala..."

  dialog.load(selection, {"K(R2)"}, true);
  EXPECT_FALSE(tabs->isTabVisible(1));
  EXPECT_TRUE(tabs->isTabVisible(2));
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(dialog.controls().traceSlots[0], TraceSlot{});

  int topic = 0;
  dialog.onHelp = [&](int t) { topic = t; };
  QTest::keyClick(&dialog, Qt::Key_F1);
  EXPECT_EQ(topic, 39);
}

}  // namespace
