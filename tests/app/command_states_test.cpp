#include "app/command_states.h"

#include <gtest/gtest.h>

#include "app/user_settings.h"
#include "editor/editing.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::editor;
using namespace wolterix::app;
using namespace wolterix::drawing;
using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;
using K = ElementKind;

TEST(CommandStates, FollowTheSelection) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::BJT, 10, 10);
  b.element(K::mmV, 20, 10);
  b.wire(30, 5, 30, 15);
  Editor editor(s);
  editor.deselectAll();
  CommandStates c = computeCommandStates(editor, {});
  EXPECT_FALSE(c.deleteSelection);
  EXPECT_FALSE(c.parameters);
  EXPECT_TRUE(c.run);
  EXPECT_TRUE(c.print);

  s.elements()[0]->selected = true;  // one transistor
  c = computeCommandStates(editor, {});
  EXPECT_TRUE(c.reverse);
  EXPECT_TRUE(c.parameters);
  EXPECT_TRUE(c.voltageArrows);
  EXPECT_FALSE(c.currentArrows);
  EXPECT_TRUE(c.rotateAndName);

  s.elements()[0]->selected = false;
  s.elements()[1]->selected = true;  // one voltmeter: no arrows, no swap
  c = computeCommandStates(editor, {});
  EXPECT_FALSE(c.reverse);
  EXPECT_FALSE(c.voltageArrows);
  EXPECT_FALSE(c.currentArrows);

  s.elements()[0]->selected = true;  // several elements: arrows for all
  c = computeCommandStates(editor, {});
  EXPECT_TRUE(c.voltageArrows);
  EXPECT_TRUE(c.currentArrows);
  EXPECT_FALSE(c.parameters);

  s.wires()[0]->selected = true;  // a wire among them: no rotation
  c = computeCommandStates(editor, {});
  EXPECT_FALSE(c.rotateAndName);
  EXPECT_TRUE(c.deleteSelection);
  EXPECT_FALSE(c.plotsAndWaveforms);
  EXPECT_TRUE(computeCommandStates(editor, {.timeResultsValid = true}).plotsAndWaveforms);
  EXPECT_FALSE(computeCommandStates(editor, {.printerAvailable = false}).print);
}

TEST(CommandStates, MeasurementCommandsAreLiveOnlyWhileNoMeasurementRuns) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10, 3, "1k");
  b.element(K::Rez, 20, 10, 3, "1k");
  Editor editor(s);
  editor.deselectAll();
  CommandStates c = computeCommandStates(editor, {});
  EXPECT_TRUE(c.startMeasurement);
  EXPECT_FALSE(c.addMeter);  // needs exactly one element
  EXPECT_FALSE(c.repeatMeasurement);
  EXPECT_FALSE(c.continueMeasurement);
  s.elements()[0]->selected = true;
  EXPECT_TRUE(computeCommandStates(editor, {}).addMeter);
  s.elements()[1]->selected = true;
  EXPECT_FALSE(computeCommandStates(editor, {}).addMeter);
  s.elements()[1]->selected = false;

  ProgramState program{.measurementContinuable = true, .measurementRepeatable = true};
  c = computeCommandStates(editor, program);
  EXPECT_TRUE(c.repeatMeasurement);
  EXPECT_TRUE(c.continueMeasurement);
  program.measurementRunning = true;
  c = computeCommandStates(editor, program);
  EXPECT_FALSE(c.addMeter || c.startMeasurement || c.repeatMeasurement || c.continueMeasurement);

  s.setTransferMode(true);  // no measurement of a transfer function
  c = computeCommandStates(editor, {});
  EXPECT_FALSE(c.measurement || c.addMeter || c.startMeasurement);
}

TEST(CommandStates, TransferModeSwapsThePalette) {
  Schematic s;
  Editor editor(s);
  CommandStates c = computeCommandStates(editor, {});
  EXPECT_FALSE(c.run);  // nothing to simulate
  EXPECT_TRUE(c.kindVisible(K::Nap));
  EXPECT_FALSE(c.kindVisible(K::nWe));
  EXPECT_EQ(c.simulateCaption, "&Symulacja...");
  EXPECT_EQ(c.analysisPanel, "Symulacja czasowa   ");
  EXPECT_TRUE(c.measurement);

  s.setTransferMode(true);
  CircuitBuilder(s).element(K::Rez, 10, 10);
  c = computeCommandStates(editor, {});
  EXPECT_FALSE(c.kindVisible(K::Nap));
  EXPECT_FALSE(c.kindVisible(K::mmA));
  EXPECT_TRUE(c.kindVisible(K::mmV));
  EXPECT_TRUE(c.kindEnabled(K::nWe));
  EXPECT_FALSE(c.run);  // no input voltage yet
  EXPECT_EQ(c.simulateCaption, "&Transmitancja...");
  EXPECT_EQ(c.runAndPlotHint,
            "Wykonuje transmitancję przy aktualnych ustawieniach i automatycznie wyświetla "
            "wybrane przebiegi");
  EXPECT_FALSE(c.measurement);

  CircuitBuilder(s).element(K::nWe, 20, 10);
  c = computeCommandStates(editor, {.timeResultsValid = true});
  EXPECT_TRUE(c.kindVisible(K::nWe));
  EXPECT_FALSE(c.kindEnabled(K::nWe));  // one input only
  EXPECT_TRUE(c.run);
  EXPECT_FALSE(c.plotsAndWaveforms);  // time results do not plot a transfer function
  EXPECT_TRUE(computeCommandStates(editor, {.transferResultsValid = true}).plotsAndWaveforms);
}

TEST(UserSettings, OutOfRangeValuesFallBackToDefaults) {
  UserSettings settings;
  settings.grid = 19;
  settings.canvasColour = {0, 0, 255};
  settings.plotColour = {0, 0, 94};
  settings.plotMode = 7;
  settings.validate();
  EXPECT_EQ(settings.grid, 20);
  EXPECT_EQ(settings.canvasColour, (Color{0, 255, 0}));
  EXPECT_EQ(settings.plotColour, (Color{0, 0, 0}));
  EXPECT_EQ(settings.plotMode, 1);

  settings.grid = 24;
  settings.canvasColour = {255, 207, 106};
  settings.plotColour = {12, 0, 94};
  settings.validate();
  EXPECT_EQ(settings.grid, 24);
  EXPECT_EQ(settings.canvasColour, (Color{255, 207, 106}));
  EXPECT_EQ(settings.plotColour, (Color{12, 0, 94}));

  EXPECT_EQ(colourToNumber({0, 255, 0}), 0x00FF00);
  EXPECT_EQ(numberToColour(colourToNumber({1, 2, 3})), (Color{1, 2, 3}));
  EXPECT_EQ(canvasColours().size(), 12u);
  EXPECT_EQ(plotColours().size(), 12u);
}

TEST(UserSettings, RecentFilesMoveToTheTop) {
  std::array<std::string, 4> recent{};
  addRecentFile(recent, "a");
  addRecentFile(recent, "b");
  addRecentFile(recent, "c");
  addRecentFile(recent, "d");
  EXPECT_EQ(recent, (std::array<std::string, 4>{"d", "c", "b", "a"}));
  addRecentFile(recent, "c");  // the second entry goes to the top
  EXPECT_EQ(recent, (std::array<std::string, 4>{"c", "d", "b", "a"}));
  addRecentFile(recent, "a");
  EXPECT_EQ(recent, (std::array<std::string, 4>{"a", "c", "d", "b"}));
  addRecentFile(recent, "e");  // the oldest drops off
  EXPECT_EQ(recent, (std::array<std::string, 4>{"e", "a", "c", "d"}));
  addRecentFile(recent, "e");
  addRecentFile(recent, "");
  EXPECT_EQ(recent, (std::array<std::string, 4>{"e", "a", "c", "d"}));
}

}  // namespace
