#include "app/instant_session.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QToolBar>
#include <cmath>
#include <cstdlib>

#include "app/main_window.h"
#include "editor/schematic_canvas.h"
#include "engine/waveform_store.h"
#include "results/plot_window.h"

namespace {

using namespace wolterix;
using app::TForm1;

QAction* command(TForm1& window, const char* name) {
  QAction* a = window.command(QString::fromLatin1(name));
  EXPECT_NE(a, nullptr) << name;
  return a;
}

TEST(SteppingInTheWindow, KeysMoveTheInstantBySamplesAndPeriodsAndAnEditEndsIt) {
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/mostek3f.wtx")));
  window.simulationSettings().timeText = "100m";
  window.simulationSettings().time = 0.1;
  window.idleUpdate();
  EXPECT_FALSE(command(window, "MXprzew")->isEnabled());  // nothing run yet
  ASSERT_TRUE(window.runWithStoredSettings());
  window.idleUpdate();
  QAction* stepping = command(window, "MXprzew");
  ASSERT_TRUE(stepping->isEnabled());
  EXPECT_EQ(stepping->shortcut(), QKeySequence(Qt::Key_F6));
  EXPECT_EQ(command(window, "MXkrokN")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Right));
  EXPECT_EQ(command(window, "MXokresW")->shortcut(),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left));

  app::InstantSession& instant = window.instant();
  editor::SchematicCanvas& canvas = window.canvas();
  stepping->trigger();
  ASSERT_TRUE(instant.active());
  EXPECT_EQ(instant.sample(), 0);
  ASSERT_TRUE(canvas.instant());
  const engine::WaveformStore& store = window.simulation().store();
  const int period = static_cast<int>(std::lround(0.02 / store.spacing));  // 50 Hz sources
  EXPECT_EQ(instant.periodSamples(), period);

  window.idleUpdate();
  command(window, "MXkrokN")->trigger();
  EXPECT_EQ(instant.sample(), 1);
  command(window, "MXokresN")->trigger();
  EXPECT_EQ(instant.sample(), 1 + period);
  EXPECT_EQ(canvas.instant()->sample, 1 + period);
  command(window, "MXkrokW")->trigger();
  command(window, "MXokresW")->trigger();
  EXPECT_EQ(instant.sample(), 0);
  command(window, "MXkrokW")->trigger();
  EXPECT_EQ(instant.sample(), 0);  // no further than the first sample

  // The plot window's cursor and the stepping follow each other. Shown again from behind
  // the main window, the plot window takes the keys (F7 is its "Harmoniczne", not the main
  // window's "Parametry").
  window.show();
  window.showPlots();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.showPlots();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window.plotWindow()));
  command(window, "MXokresN")->trigger();
  ASSERT_TRUE(window.plotWindow().instant());
  EXPECT_NEAR(*window.plotWindow().instant(), period * store.spacing, store.spacing / 2);
  window.plotWindow().onInstant(0.05);
  EXPECT_EQ(instant.sample(), static_cast<int>(std::lround(0.05 / store.spacing)));
  window.plotWindow().hide();

  command(window, "MXwartchw")->trigger();
  EXPECT_TRUE(canvas.showValues());
  if (const char* shot = std::getenv("WOLTERIX_INSTANT_SHOT")) {
    window.resize(1100, 800);
    window.show();
    canvas.grab(QRect(0, 0, 900, 620)).save(QString::fromLocal8Bit(shot));
  }

  // Playback at 1:10 runs the instant on by about a period in 0,2 s of real time.
  const int before = *instant.sample();
  instant.setSlowdown(10);
  command(window, "MXodtw")->trigger();
  EXPECT_TRUE(instant.playing());
  QTest::qWait(200);
  command(window, "MXodtw")->trigger();
  EXPECT_FALSE(instant.playing());
  EXPECT_GT(*instant.sample(), before + period / 4);

  // A new run starts again at its first sample.
  command(window, "MXokresN")->trigger();
  ASSERT_TRUE(window.runWithStoredSettings());
  EXPECT_TRUE(instant.active());
  EXPECT_EQ(instant.sample(), 0);

  // An edit ends the stepping and the schematic is drawn as usual.
  window.editor().selectAll();
  window.idleUpdate();
  command(window, "MXusun")->trigger();
  EXPECT_FALSE(window.resultsValid());
  EXPECT_FALSE(instant.active());
  EXPECT_FALSE(canvas.instant());
  window.idleUpdate();
  EXPECT_FALSE(stepping->isChecked());
  EXPECT_FALSE(command(window, "MXkrokN")->isEnabled());
}

}  // namespace
