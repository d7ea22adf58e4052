#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <string>
#include <vector>

#include "meters/measurement_dialogs.h"
#include "meters/measurement_panel.h"
#include "model/element.h"

namespace wolterix::meters {
using namespace wolterix::engine;
namespace {

template <typename T>
T* withText(QWidget& parent, const QString& text) {
  for (T* widget : parent.findChildren<T*>())
    if (widget->text() == text) return widget;
  return nullptr;
}

template <typename T>
T* named(QWidget& parent, const QString& name) {
  T* widget = parent.findChild<T*>(name);
  EXPECT_NE(widget, nullptr) << name.toStdString();
  return widget;
}

TEST(MeasurementDialogs, OptionsFollowQuantityAndRange) {
  TOpcjeDialog dialog;
  auto* slider = named<QSlider>(dialog, "Zakres");
  EXPECT_TRUE(dialog.autoRange());
  EXPECT_FALSE(slider->isEnabled());
  EXPECT_EQ(dialog.rangePosition(), 9);
  ASSERT_NE(withText<QLabel>(dialog, "1000 V"), nullptr);
  EXPECT_FALSE(withText<QLabel>(dialog, "1000 V")->isEnabled());

  // A manual wattmeter offers the powers and factors only: an indication of voltage and
  // current becomes the active power.
  MeterSlot slot;
  slot.inUse = true;
  slot.autoRange = false;
  slot.quantity = MeterQuantity::Power;
  slot.indication = Indication::TrueRms;
  slot.fullScale = 100;
  slot.rangeExponent = 1;
  dialog.setSlot(slot, "R7");
  dialog.show();
  EXPECT_EQ(dialog.indication(), Indication::DcMean);
  EXPECT_TRUE(withText<QRadioButton>(dialog, "Moc czynna P (wartość średnia DC)")->isChecked());
  EXPECT_FALSE(withText<QRadioButton>(dialog, "Wartość szczytowa")->isVisible());
  EXPECT_TRUE(slider->isEnabled());
  EXPECT_EQ(dialog.rangePosition(), rangePosition(100, 1));
  ASSERT_NE(withText<QLabel>(dialog, "100 kW"), nullptr);
  EXPECT_TRUE(withText<QLabel>(dialog, "100 kW")->isEnabled());
  EXPECT_NE(withText<QLabel>(dialog, "R7"), nullptr);
  withText<QRadioButton>(dialog, "Moc bierna harmonicznej podstawowej Q₁")->click();
  EXPECT_EQ(dialog.indication(), Indication::ReactivePower);
  EXPECT_NE(withText<QLabel>(dialog, "100 kvar"), nullptr);
  // A ratio has no range: the range is off whatever the check box says.
  withText<QRadioButton>(dialog, "Współczynnik mocy λ = P/S")->click();
  EXPECT_FALSE(slider->isEnabled());
  EXPECT_FALSE(named<QCheckBox>(dialog, "AutoZakres")->isEnabled());
  withText<QRadioButton>(dialog, "Moc czynna P (wartość średnia DC)")->click();

  // The scale reads from the largest range at the top down to the smallest.
  const QLabel* top = withText<QLabel>(dialog, "1000 GW");
  const QLabel* bottom = withText<QLabel>(dialog, "1000 uW");
  ASSERT_TRUE(top && bottom);
  EXPECT_LT(top->geometry().bottom(), withText<QLabel>(dialog, "100 GW")->geometry().center().y());
  EXPECT_LT(top->y(), bottom->y());

  withText<QRadioButton>(dialog, "Prąd  (amperomierz)")->click();
  EXPECT_EQ(dialog.quantity(), MeterQuantity::Current);
  EXPECT_TRUE(withText<QRadioButton>(dialog, "Wartość szczytowa")->isVisible());
  EXPECT_FALSE(withText<QRadioButton>(dialog, "Moc pozorna S")->isVisible());
  EXPECT_EQ(dialog.indication(), Indication::DcMean);  // the mean both quantities offer stays
  EXPECT_NE(withText<QLabel>(dialog, "1000 kA"), nullptr);
  EXPECT_EQ(withText<QLabel>(dialog, "1000 kW"), nullptr);
  withText<QRadioButton>(dialog, "Wartość średnia prostowana (~ AV)")->click();
  EXPECT_EQ(dialog.indication(), Indication::RectifiedMean);

  slider->setValue(14);
  EXPECT_EQ(dialog.rangePosition(), 14);
  named<QCheckBox>(dialog, "AutoZakres")->click();
  EXPECT_TRUE(dialog.autoRange());
  EXPECT_FALSE(slider->isEnabled());
  EXPECT_FALSE(withText<QLabel>(dialog, "10 mA")->isEnabled());

  std::vector<int> topics;
  dialog.onHelp = [&](int topic) { topics.push_back(topic); };
  withText<QPushButton>(dialog, "Pomoc")->click();
  QTest::keyClick(&dialog, Qt::Key_F1);
  EXPECT_EQ(topics, (std::vector<int>{40, 40}));
}

TEST(MeasurementDialogs, MeasurementStepsAndChoices) {
  TPomiarDialog dialog(944);
  std::vector<int> topics;
  dialog.onHelp = [&](int topic) { topics.push_back(topic); };
  dialog.setValues("50", "3", 2);
  EXPECT_EQ(dialog.stepsText(), "3776");
  named<QSlider>(dialog, "Iteracje")->setValue(6);
  EXPECT_EQ(dialog.stepsText(), "60416");
  EXPECT_EQ(dialog.iterations(), 6);

  const std::pair<const char*, int> choices[] = {{"Start", TPomiarDialog::Start},
                                                 {"Kontynuuj", TPomiarDialog::Continue},
                                                 {"Anuluj", TPomiarDialog::Cancelled}};
  for (const auto& [text, choice] : choices) {
    QTimer::singleShot(0, &dialog, [&] {
      EXPECT_EQ(dialog.focusWidget(), dialog.findChild<QLineEdit*>("Edit1"));
      named<QLineEdit>(dialog, "Edit1")->setText("60");
      named<QLineEdit>(dialog, "Edit2")->setText("12");
      withText<QPushButton>(dialog, text)->click();
    });
    EXPECT_EQ(dialog.exec(), choice) << text;
  }
  EXPECT_EQ(dialog.frequencyText(), "60");
  EXPECT_EQ(dialog.cyclesText(), "12");

  withText<QPushButton>(dialog, "Pomoc")->click();
  QTest::keyClick(&dialog, Qt::Key_F1);
  EXPECT_EQ(topics, (std::vector<int>{38, 38}));
}

TEST(MeasurementPanel, ShowsSlotsAndRoutesItsButtons) {
  MeasurementPanel panel;
  panel.show();
  for (int k = 1; k <= 6; ++k)
    EXPECT_TRUE(named<QWidget>(panel, QString("Miernik%1").arg(k))->isHidden());
  EXPECT_FALSE(named<QToolButton>(panel, "dodU")->isEnabled());
  EXPECT_FALSE(named<QToolButton>(panel, "Stop")->isEnabled());
  EXPECT_FALSE(named<QToolButton>(panel, "Continue")->isEnabled());
  EXPECT_TRUE(named<QToolButton>(panel, "StartPause")->isEnabled());

  auto element = model::createElement(model::ElementKind::Rez, {10, 10});
  ASSERT_TRUE(element->setName("Rob"));
  MeterSlot slot;
  slot.inUse = true;
  slot.element = element.get();
  slot.quantity = MeterQuantity::Power;
  slot.indication = Indication::DcMean;
  slot.display = "-0.400";
  slot.shownPrefix = -1;
  panel.showSlot(1, slot);
  EXPECT_FALSE(named<QWidget>(panel, "Miernik2")->isHidden());
  EXPECT_TRUE(named<QWidget>(panel, "Miernik1")->isHidden());
  EXPECT_EQ(named<QLabel>(panel, "Lbn2")->text(), "Rob");
  EXPECT_EQ(named<QLabel>(panel, "Display2")->text(), "-0.400");
  EXPECT_EQ(named<QLabel>(panel, "Unit2")->text(), "mW");
  EXPECT_EQ(named<QLabel>(panel, "Wart2")->text(), "DC");
  EXPECT_EQ(named<QLabel>(panel, "Znak2")->text(), "P");

  std::vector<std::string> calls;
  panel.onAdd = [&](MeterQuantity q) { calls.push_back("add" + unitText(q)); };
  panel.onStart = [&] { calls.push_back("start"); };
  panel.onStop = [&] { calls.push_back("stop"); };
  panel.onContinue = [&] { calls.push_back("continue"); };
  panel.onOptions = [&](int i) { calls.push_back("options" + std::to_string(i)); };
  panel.onClose = [&](int i) { calls.push_back("close" + std::to_string(i)); };
  panel.setAddEnabled(true);
  named<QToolButton>(panel, "dodU")->click();
  named<QToolButton>(panel, "dodP")->click();
  named<QToolButton>(panel, "Opcje2")->click();
  named<QToolButton>(panel, "End2")->click();
  named<QToolButton>(panel, "StartPause")->click();

  // Running: Stop is the only live button, so nothing else can disturb the run.
  panel.setRunning(true, true);
  for (QToolButton* button : panel.findChildren<QToolButton*>())
    EXPECT_EQ(button->isEnabled(), button->objectName() == "Stop")
        << button->objectName().toStdString();
  named<QToolButton>(panel, "Stop")->click();
  panel.setRunning(false, true);
  named<QToolButton>(panel, "Continue")->click();
  EXPECT_TRUE(named<QToolButton>(panel, "dodI")->isEnabled());
  EXPECT_FALSE(named<QToolButton>(panel, "Stop")->isEnabled());
  panel.setRunning(false, false);
  EXPECT_FALSE(named<QToolButton>(panel, "Continue")->isEnabled());
  EXPECT_EQ(calls, (std::vector<std::string>{"addV", "addW", "options1", "close1", "start", "stop",
                                             "continue"}));

  slot.inUse = false;
  panel.showSlot(1, slot);
  EXPECT_TRUE(named<QWidget>(panel, "Miernik2")->isHidden());
}

// Six meters fit the height of a docked panel. WOLTERIX_METER_SHOTS=<folder> also saves pictures
// of the panel and both dialogs for a look by eye.
TEST(MeasurementPanel, SixMetersFitTheDock) {
  MeasurementPanel panel;
  const char* names[] = {"E1", "R1", "Silnik_M1", "L2", "C1", "D1"};
  const char* values[] = {"230.0", "over", "-0.400", "1.234", "12.50", "0.000"};
  const int prefixes[] = {0, 1, -1, 2, -2, 0};
  std::vector<std::unique_ptr<model::Element>> elements;
  for (int i = 0; i < MeasurementPanel::kSlotCount; ++i) {
    elements.push_back(model::createElement(model::ElementKind::Rez, {10, 10}));
    ASSERT_TRUE(elements.back()->setName(names[i]));
    MeterSlot slot;
    slot.inUse = true;
    slot.element = elements.back().get();
    slot.quantity = static_cast<MeterQuantity>(i % 3);
    slot.indication = static_cast<Indication>(i % 3);
    slot.display = values[i];
    slot.shownPrefix = prefixes[i];
    panel.showSlot(i, slot);
  }
  panel.setAddEnabled(true);
  panel.setRunning(false, true);
  panel.setAnimationFrame(3);
  panel.resize(panel.width(), 700);
  panel.show();
  EXPECT_LE(panel.minimumSizeHint().height(), 700);
  const QLabel* value = named<QLabel>(panel, "Display3");
  EXPECT_GE(value->contentsRect().width(), value->fontMetrics().horizontalAdvance("-0.400"));

  const QString shots = qEnvironmentVariable("WOLTERIX_METER_SHOTS");
  if (shots.isEmpty()) return;
  panel.grab().save(QDir(shots).filePath("panel.png"));
  panel.setRunning(true, false);
  panel.setAnimationFrame(6);
  panel.grab().save(QDir(shots).filePath("panel_running.png"));
  TOpcjeDialog options;
  MeterSlot slot;
  slot.autoRange = false;
  options.setSlot(slot, "R1");
  options.show();
  options.grab().save(QDir(shots).filePath("options.png"));
  TPomiarDialog measurement(944);
  measurement.setValues("50", "10", 1);
  measurement.show();
  measurement.grab().save(QDir(shots).filePath("measurement.png"));
}

}  // namespace
}  // namespace wolterix::meters
