#include "app/analysis_session.h"

#include <gtest/gtest.h>

#include "editor/editing.h"
#include "engine/measurement.h"
#include "model/schematic_file.h"
#include "support/circuit_builder.h"
#include "support/scripted_prompts.h"

namespace {

using namespace wolterix;
using app::SimulationAnswer;

struct Analysis : wolterix::testing::ScriptedAnalysisPrompt {
  model::Schematic schematic;
  editor::Editor editor{schematic};
  engine::Measurement measurement{schematic, editor.flags()};
  app::AnalysisSession session{editor, measurement, *this};

  void open(const char* example) {
    ASSERT_TRUE(
        model::openSchematicFile(schematic, std::string(WOLTERIX_EXAMPLES "/") + example).ok());
  }
};

const std::vector<std::string> kInvalid{"[1] Niewłaściwa wartość liczbowa."};

TEST(AnalysisSession, InvalidTimesAskAgainThenTheRunSucceeds) {
  Analysis a;
  a.open("prostownik.wtx");
  a.answers = {{SimulationAnswer::Start, "0", 2},
               {SimulationAnswer::Start, "1.5", 2},
               {SimulationAnswer::Start, "40m", 2}};
  EXPECT_TRUE(a.session.run());
  EXPECT_EQ(a.shown, 3u);
  ASSERT_EQ(a.errors.size(), 2u);
  EXPECT_EQ(a.errors[0], kInvalid);
  EXPECT_TRUE(a.session.resultsValid());
  EXPECT_EQ(a.session.settings().timeText, "40m");
  EXPECT_EQ(a.runTime, "40 ms");
  EXPECT_EQ(a.session.simulation().store().sampleCount, a.session.simulation().sampleCount() + 1);

  // An edit invalidates the results; "Kontynuuj" then starts again from 0.
  a.editor.selectAll();
  a.editor.rotateLeft();
  EXPECT_FALSE(a.session.resultsValid());
  a.answers.push_back({SimulationAnswer::Continue, "40m", 2});
  EXPECT_TRUE(a.session.run());
  EXPECT_EQ(a.session.simulation().store().startTime, 0.0);
  // Now valid: a second "Kontynuuj" goes on from where the run ended.
  a.answers.push_back({SimulationAnswer::Continue, "40m", 2});
  EXPECT_TRUE(a.session.run());
  EXPECT_GT(a.session.simulation().store().startTime, 0.039);
}

TEST(AnalysisSession, CheckErrorsAreShownAndLeaveResultsInvalid) {
  Analysis a;
  wolterix::testing::CircuitBuilder(a.schematic).element(model::ElementKind::Rez, 10, 10);
  a.answers = {{SimulationAnswer::Start, "10m", 2}};
  EXPECT_FALSE(a.session.run());
  ASSERT_EQ(a.errors.size(), 1u);
  EXPECT_EQ(a.errors[0], std::vector<std::string>{"[1] Brak parametrów: Element \"R1\"."});
  EXPECT_FALSE(a.session.resultsValid());
}

TEST(AnalysisSession, TransferSweepRefusesABadRange) {
  Analysis a;
  a.open("filtr.wtx");
  a.ranges = {{"0", "10k"}, {"10", "100k"}};
  EXPECT_TRUE(a.session.run());
  ASSERT_EQ(a.shownRanges.size(), 2u);
  EXPECT_EQ(a.shownRanges[1], (std::pair<std::string, std::string>{"?", "?"}));  // both reset
  EXPECT_EQ(a.errors, std::vector<std::vector<std::string>>{kInvalid});
  EXPECT_TRUE(a.session.resultsValid());
  EXPECT_GT(a.session.simulation().transferStore().pointCount, 0);
  // A transfer run's results are not a time run's: "Kontynuuj" of the plots does nothing.
  EXPECT_FALSE(a.session.continueRun());
}

TEST(AnalysisSession, StoredSettingsPassTheDialogsChecks) {
  Analysis a;
  a.open("prostownik.wtx");
  EXPECT_FALSE(a.session.runWithStoredSettings());  // "?" until the dialog accepted a time
  EXPECT_EQ(a.errors, std::vector<std::vector<std::string>>{kInvalid});
  a.session.settings().timeText = "40m";
  a.session.settings().time = 0.04;
  EXPECT_TRUE(a.session.runWithStoredSettings());
  EXPECT_EQ(a.shown, 0u);
}

}  // namespace
