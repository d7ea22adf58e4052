#include "app/measurement_session.h"

#include <gtest/gtest.h>

#include "editor/editing.h"
#include "model/schematic_file.h"
#include "support/circuit_builder.h"
#include "support/scripted_prompts.h"

namespace {

using namespace wolterix;
using app::MeasurementAnswer;
using engine::MeterQuantity;

struct Measuring : wolterix::testing::ScriptedMeasurementPrompt {
  model::Schematic schematic;
  editor::Editor editor{schematic};
  engine::Measurement measurement{schematic, editor.flags()};
  app::MeasurementSession session{editor, measurement, *this};

  Measuring() {
    EXPECT_TRUE(model::openSchematicFile(schematic, WOLTERIX_EXAMPLES "/prostownik.wtx").ok());
  }
  void selectOnly(const char* name) {
    editor.deselectAll();
    schematic.findElement(name)->selected = true;
  }
};

TEST(MeasurementSession, MetersOnARectifierReadAfterEveryCycle) {
  Measuring m;
  EXPECT_FALSE(m.session.addMeter(MeterQuantity::Voltage));  // nothing selected
  m.selectOnly("R1");
  ASSERT_TRUE(m.session.addMeter(MeterQuantity::Voltage));
  ASSERT_TRUE(m.session.addMeter(MeterQuantity::Power));
  EXPECT_TRUE(m.panelOpen);

  // A fractional cycle count is refused like any invalid number, and both texts become "?".
  m.answers = {{MeasurementAnswer::Start, "50", "2,5", 0},
               {MeasurementAnswer::Start, "50", "3", 1}};
  m.onCycle = [&](long long) { EXPECT_TRUE(m.measurement.running()); };
  EXPECT_TRUE(m.session.start());
  ASSERT_EQ(m.errors.size(), 1u);
  EXPECT_EQ(m.errors[0], std::vector<std::string>{"[1] Niewłaściwa wartość liczbowa."});
  EXPECT_EQ(m.cycles, (std::vector<long long>{1, 2, 3}));
  EXPECT_FALSE(m.measurement.running());
  EXPECT_TRUE(m.editor.flags().measurementContinuable);
  EXPECT_EQ(m.time, "60 ms");
  EXPECT_GT(m.measurement.meterSlots()[0].reading, 100.0);
  EXPECT_GT(m.measurement.meterSlots()[1].reading, 0.0);  // the resistor takes power

  // Continue goes on without the dialog; repeat starts again from 0.
  EXPECT_TRUE(m.session.continueMeasurement());
  EXPECT_EQ(m.shown, 2u);
  EXPECT_EQ(m.time, "120 ms");
  EXPECT_TRUE(m.session.repeatMeasurement());
  EXPECT_EQ(m.shown, 2u);
  EXPECT_EQ(m.time, "60 ms");
}

TEST(MeasurementSession, NothingStoredAsksTheDialogAndAFailedCycleShowsItsLines) {
  Measuring m;
  // An element without parameters: the first cycle fails with the check's line.
  wolterix::testing::CircuitBuilder(m.schematic).element(model::ElementKind::Rez, 40, 40);
  m.answers = {{MeasurementAnswer::Continue, "50", "10", 0}};
  EXPECT_FALSE(m.session.continueMeasurement());
  EXPECT_EQ(m.shown, 1u);
  ASSERT_EQ(m.errors.size(), 1u);
  EXPECT_EQ(m.errors[0], std::vector<std::string>{"[1] Brak parametrów: Element \"R2\"."});
  EXPECT_FALSE(m.editor.flags().measurementContinuable);
}

TEST(MeasurementSession, NoMeasurementInATransferWorkspace) {
  Measuring m;
  m.selectOnly("R1");
  m.schematic.setTransferMode(true);
  EXPECT_FALSE(m.session.addMeter(MeterQuantity::Voltage));
  m.answers = {{MeasurementAnswer::Start, "50", "1", 0}};
  EXPECT_FALSE(m.session.start());
  EXPECT_EQ(m.shown, 0u);
}

}  // namespace
