#include "results/plot_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>

#include "results/axis_dialog.h"

#include <QAction>
#include <QImage>
#include <QTest>
#include <cstdlib>

#include "engine/transient_run.h"
#include "model/schematic.h"
#include "model/schematic_file.h"

namespace {

using namespace wolterix::results;

// Pixels near a colour: antialiased curves blend their edges into the background.
int pixelsOf(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
              std::abs(qBlue(p) - qBlue(colour)) <
          90)
        ++count;
    }
  return count;
}

TEST(PlotWindow, RectifierTracesArePaintedInTheirSlotColours) {
  wolterix::model::Schematic schematic;
  ASSERT_TRUE(
      wolterix::model::openSchematicFile(schematic, WOLTERIX_EXAMPLES "/prostownik.wtx").ok());
  wolterix::engine::Simulation sim;
  sim.setSampleCount(944);
  ASSERT_TRUE(sim.transientRun(schematic, 0, 40e-3, 2).ok());

  WaveformSelection selection;
  selection.traceSlots[0] = {"U(E1)", true};
  selection.traceSlots[1] = {"U(R1)", true};
  selection.traceSlots[2] = {"U(gone)", true};
  TWykDialog window;
  window.resize(960, 600);
  window.showResults(sim, selection, false, 0.0);

  EXPECT_EQ(window.view().time.traces.size(), 2u);
  const QString info = window.informationText();
  EXPECT_TRUE(info.contains(QStringLiteral("#00ff00\">U(E1)")));
  EXPECT_TRUE(info.contains(QStringLiteral("#ff0000\">U(R1)")));
  EXPECT_FALSE(info.contains(QStringLiteral("gone")));

  const QImage image = window.grab().toImage();
  if (qEnvironmentVariableIsSet("WOLTERIX_PLOT_SHOT"))
    image.save(qEnvironmentVariable("WOLTERIX_PLOT_SHOT"));
  EXPECT_GT(pixelsOf(image, qRgb(0, 255, 0)), 300);
  EXPECT_GT(pixelsOf(image, qRgb(255, 0, 0)), 300);

  // A white background turns the first trace green; grid and help follow the menu keys.
  int topic = 0;
  window.onHelp = [&](int t) { topic = t; };
  window.setBackground(Qt::white);
  EXPECT_GT(pixelsOf(window.grab().toImage(), qRgb(0, 128, 0)), 300);
  window.findChild<QAction*>("Pw4")->trigger();
  EXPECT_EQ(window.view().grid, GridMode::None);
  window.findChild<QAction*>("MXpomocW")->trigger();
  EXPECT_EQ(topic, 42);
  EXPECT_TRUE(window.findChild<QAction*>("Pw8")->isEnabled());
}

}  // namespace

namespace {

TEST(PlotWindowAxes, DescriptionDialogChoosesTheLabelledQuantities) {
  wolterix::results::TWykDialog window;
  window.execAxisDialog = [](wolterix::results::TOpisOsiDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Opis osi pionowej"));
    dialog.findChild<QPushButton*>(QStringLiteral("XP0"))->click();
    // "I" is down on the right by default: pressing it lifts it, leaving no label there.
    dialog.findChild<QPushButton*>(QStringLiteral("XI1"))->click();
    return int(QDialog::Accepted);
  };
  window.findChild<QAction*>(QStringLiteral("Pw6"))->trigger();
  EXPECT_EQ(window.view().labelChoices[0], 2);
  EXPECT_EQ(window.view().labelChoices[1], -1);
}

}  // namespace
