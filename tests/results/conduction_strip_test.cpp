// The conduction strip under a time plot, and the instant the plot window points at.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "engine/transient_run.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "results/plot_painter.h"
#include "results/plot_readout.h"
#include "results/plot_window.h"
#include "support/recording_canvas.h"

namespace {

using namespace wolterix::results;

// The half-wave rectifier with its smoothing capacitor over 40 ms: D1 conducts near the
// positive peaks only.
struct RectifierRun {
  wolterix::engine::Simulation sim;
  WaveformSelection selection;

  RectifierRun() {
    wolterix::model::Schematic schematic;
    EXPECT_TRUE(
        wolterix::model::openSchematicFile(schematic, WOLTERIX_EXAMPLES "/prostownik.wtx").ok());
    sim.setSampleCount(400);
    EXPECT_TRUE(sim.transientRun(schematic, 0, 40e-3, 2).ok());
    selection.traceSlots[0] = {"U(E1)", true};
    selection.traceSlots[1] = {"U(R1)", true};
  }
};

// Runs of one nonzero state: [first sample, first sample after it).
std::vector<std::pair<int, int>> conductingRuns(const std::vector<std::uint8_t>& states) {
  std::vector<std::pair<int, int>> runs;
  for (int k = 0; k < int(states.size());) {
    int end = k + 1;
    while (end < int(states.size()) && states[end] == states[k]) ++end;
    if (states[k] != 0) runs.push_back({k, end});
    k = end;
  }
  return runs;
}

TEST(ConductionStrip, RowsComeFromTheRunAndZoomCutsThem) {
  RectifierRun run;
  const TimePlot plot = buildTimePlot(run.sim.store(), run.selection);
  ASSERT_EQ(plot.conduction.size(), 1u);
  EXPECT_EQ(plot.conduction[0].name, "D1");
  const auto stored = run.sim.store().stateRow(run.sim.store().stateRowOf("D1"));
  ASSERT_EQ(int(plot.conduction[0].states.size()), plot.sampleCount);
  EXPECT_TRUE(std::equal(plot.conduction[0].states.begin(), plot.conduction[0].states.end(),
                         stored.begin()));
  EXPECT_GE(conductingRuns(plot.conduction[0].states).size(), 2u);
  EXPECT_EQ(plot.conduction[0].states.front(), 0);

  const TimePlot zoomed = zoomedTimePlot(plot, 10e-3, 25e-3);
  const int first = int(std::lround((zoomed.startTime - plot.startTime) / plot.spacing));
  ASSERT_EQ(int(zoomed.conduction[0].states.size()), zoomed.sampleCount);
  EXPECT_TRUE(std::equal(zoomed.conduction[0].states.begin(), zoomed.conduction[0].states.end(),
                         plot.conduction[0].states.begin() + first));
}

TEST(ConductionStrip, NamesAndBarsShareTheTimeAxisOfTheTraces) {
  RectifierRun run;
  PlotView view;
  view.selection = run.selection;
  view.time = buildTimePlot(run.sim.store(), run.selection);
  view.showConduction = true;
  wolterix::testing::RecordingCanvas canvas;
  paintPlot(canvas, 0, 0, 1000, 700, view, false);

  const PlotRect frame = plotFrame({0, 0, 1000, 700});
  const TimeFrames parts = timeFrames(frame, view);
  EXPECT_DOUBLE_EQ(parts.strip.height, kConductionRowHeight);
  EXPECT_DOUBLE_EQ(parts.strip.bottom(), frame.bottom());
  EXPECT_LT(parts.traces.bottom(), parts.strip.top);
  for (const auto& trace : canvas.ofType('y'))
    for (const auto& p : trace.points) EXPECT_LE(p.y, parts.traces.bottom() + 1);

  const auto texts = canvas.ofType('t');
  const auto name =
      std::find_if(texts.begin(), texts.end(), [](auto& t) { return t.text == "D1"; });
  ASSERT_NE(name, texts.end());
  EXPECT_LE(name->points[1].x, frame.left);
  EXPECT_GE(name->points[0].y, parts.strip.top - 1);
  EXPECT_LE(name->points[1].y, parts.strip.bottom() + 1);

  // The bars: rectangles inside the strip's row (its frame starts on the strip's top).
  std::vector<std::pair<double, double>> bars;
  for (const auto& r : canvas.ofType('r'))
    if (r.points[0].y > parts.strip.top + 0.5 && r.points[1].y < parts.strip.bottom())
      bars.push_back({r.points[0].x, r.points[1].x});
  const auto runs = conductingRuns(view.time.conduction[0].states);
  ASSERT_EQ(bars.size(), runs.size());
  const int last = view.time.sampleCount - 1;
  const auto xOf = [&](int k) { return frame.left + frame.width * k / last; };
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_NEAR(bars[i].first, xOf(runs[i].first), 1.0) << i;
    EXPECT_NEAR(bars[i].second, xOf(std::min(runs[i].second, last)), 1.0) << i;
  }

  // Hidden, on a transfer plot or without switching elements the traces keep the frame; many
  // elements share a third of it.
  for (auto change :
       {+[](PlotView& v) { v.showConduction = false; }, +[](PlotView& v) { v.transfer = true; },
        +[](PlotView& v) { v.time.conduction.clear(); }}) {
    PlotView other = view;
    change(other);
    EXPECT_DOUBLE_EQ(timeFrames(frame, other).traces.height, frame.height);
    EXPECT_DOUBLE_EQ(timeFrames(frame, other).strip.height, 0.0);
  }
  PlotView many = view;
  many.time.conduction.assign(60, view.time.conduction[0]);
  const TimeFrames crowded = timeFrames(frame, many);
  EXPECT_GE(crowded.traces.height, frame.height * 2 / 3 - 1e-9);
  EXPECT_NEAR(crowded.strip.height, 60 * crowded.rowHeight, 1e-9);
}

// Pixels near a colour in a rectangle of an image.
int pixelsNear(const QImage& image, QRgb colour, const QRect& box) {
  int count = 0;
  for (int y = std::max(0, box.top()); y <= std::min(image.height() - 1, box.bottom()); ++y)
    for (int x = std::max(0, box.left()); x <= std::min(image.width() - 1, box.right()); ++x) {
      const QRgb p = image.pixel(x, y);
      if (std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) +
              std::abs(qBlue(p) - qBlue(colour)) <
          40)
        ++count;
    }
  return count;
}

struct RectifierWindow : RectifierRun {
  TWykDialog window;
  std::vector<std::optional<double>> told;

  RectifierWindow() {
    window.setFullScreenMode(false);
    window.resize(1000, 700);
    window.onInstant = [this](std::optional<double> t) { told.push_back(t); };
    window.showResults(sim, selection, false, 0.0);
  }
  QWidget& area() { return *window.findChild<QWidget*>(QStringLiteral("Wykres")); }
  TimeFrames parts() {
    return timeFrames(plotFrame({0, 0, double(area().width()), double(area().height())}),
                      window.view());
  }
  // A point at a fraction of the frame's width, on the traces or on the strip.
  QPointF at(double u, bool strip = false) {
    const TimeFrames p = parts();
    const PlotRect& r = strip ? p.strip : p.traces;
    return {r.left + r.width * u, r.centerY()};
  }
  void mouse(QEvent::Type type, QPointF pos, Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent event(type, pos, area().mapToGlobal(pos), button,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&area(), &event);
  }
};

TEST(ConductionStripWindow, PrzewodzenieShowsTheStripOnTimePlotsOnly) {
  RectifierWindow w;
  QAction* action = w.window.findChild<QAction*>(QStringLiteral("PwPrzew"));
  ASSERT_TRUE(action);
  EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
  EXPECT_TRUE(action->isCheckable() && action->isChecked() && action->isEnabled());
  EXPECT_TRUE(w.window.view().showConduction);
  const QRect strip = [&] {
    const PlotRect s = w.parts().strip;
    return QRect(int(s.left), int(s.top), int(s.width), int(s.height));
  }();
  EXPECT_GT(pixelsNear(w.area().grab().toImage(), qRgb(255, 140, 0), strip), 100);

  int changes = 0;
  w.window.onViewChanged = [&] { ++changes; };
  action->trigger();
  EXPECT_FALSE(w.window.view().showConduction);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pixelsNear(w.area().grab().toImage(), qRgb(255, 140, 0), w.area().rect()), 0);
  action->trigger();
  EXPECT_TRUE(w.window.view().showConduction && action->isChecked());

  wolterix::model::Schematic filter;
  ASSERT_TRUE(wolterix::model::openSchematicFile(filter, WOLTERIX_EXAMPLES "/filtr.wtx").ok());
  wolterix::engine::Simulation sweep;
  sweep.setSampleCount(100);
  ASSERT_TRUE(sweep.frequencySweep(filter, 1.0, 1e6).ok());
  WaveformSelection transfer;
  transfer.traceSlots[0] = {"K(C1)", true};
  w.window.showResults(sweep, transfer, true, 0.0);
  EXPECT_FALSE(action->isEnabled());
}

TEST(ConductionStripWindow, InstantFollowsTheMouseCursorAAndEscape) {
  RectifierWindow w;
  ASSERT_EQ(w.told.size(), 1u);  // new results: nothing pointed at
  EXPECT_FALSE(w.told.back());

  w.mouse(QEvent::MouseMove, w.at(0.25));
  ASSERT_TRUE(w.told.back());
  EXPECT_NEAR(*w.told.back(), 10e-3, 1e-4);
  w.mouse(QEvent::MouseMove, w.at(0.5, true));  // over the strip the cursor runs on
  ASSERT_TRUE(w.told.back() && w.window.instant());
  EXPECT_NEAR(*w.told.back(), 20e-3, 1e-4);
  EXPECT_EQ(w.window.instant(), w.told.back());

  w.mouse(QEvent::MouseButtonPress, w.at(0.75), Qt::LeftButton);
  w.mouse(QEvent::MouseButtonRelease, w.at(0.75), Qt::LeftButton);
  ASSERT_TRUE(w.window.cursorA() && w.told.back());
  EXPECT_NEAR(*w.told.back(), 30e-3, 1e-4);
  const std::size_t afterClick = w.told.size();
  w.mouse(QEvent::MouseMove, w.at(0.1));  // cursor A holds the instant
  EXPECT_EQ(w.told.size(), afterClick);

  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(&w.window, &escape);
  EXPECT_FALSE(w.told.back());
  EXPECT_FALSE(w.window.instant());

  // Followed from outside: cursor A moves (clamped to the run), nobody is told back.
  const std::size_t before = w.told.size();
  w.window.followInstant(15e-3);
  ASSERT_TRUE(w.window.cursorA());
  EXPECT_DOUBLE_EQ(w.window.cursorA()->x(), 15e-3);
  EXPECT_EQ(w.window.instant(), std::optional<double>(15e-3));
  // Its line runs down through the strip.
  const TimeFrames parts = w.parts();
  const int x = int(std::lround(parts.traces.left + parts.traces.width * 15e-3 / 40e-3));
  const QRect column(x - 1, int(parts.strip.top) + 1, 3, int(parts.strip.height) - 2);
  EXPECT_GT(pixelsNear(w.area().grab().toImage(), qRgb(192, 192, 192), column), 2);
  w.window.followInstant(1.0);
  EXPECT_DOUBLE_EQ(w.window.cursorA()->x(), w.window.fullTimePlot().span());
  w.window.clearInstant();
  EXPECT_FALSE(w.window.cursorA());
  EXPECT_EQ(w.told.size(), before);

  // Leaving the plot with no fixed cursor points at nothing.
  w.mouse(QEvent::MouseMove, w.at(0.5));
  EXPECT_TRUE(w.told.back());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&w.area(), &leave);
  EXPECT_FALSE(w.told.back());
}

// The three-phase bridge: six thyristor rows in the order of the element list. With
// WOLTERIX_STRIP_SHOT=<png> the window is saved with cursor A at 50 ms.
TEST(ConductionStripWindow, ThreePhaseBridgeShowsItsThyristorsInListOrder) {
  wolterix::model::Schematic bridge;
  ASSERT_TRUE(wolterix::model::openSchematicFile(bridge, WOLTERIX_EXAMPLES "/mostek3f.wtx").ok());
  wolterix::engine::Simulation sim;
  sim.setSampleCount(1000);
  ASSERT_TRUE(sim.transientRun(bridge, 0, 100e-3, 2).ok());
  WaveformSelection selection;
  selection.traceSlots[0] = {"I(Ea)", true};
  selection.traceSlots[1] = {"U(R1)", true};
  TWykDialog window;
  window.setFullScreenMode(false);
  window.resize(1200, 760);
  window.showResults(sim, selection, false, 0.0);
  std::vector<std::string> names;
  for (const auto& row : window.view().time.conduction) {
    names.push_back(row.name);
    EXPECT_GE(conductingRuns(row.states).size(), 4u) << row.name;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"T1", "T3", "T5", "T4", "T6", "T2"}));
  window.followInstant(50e-3);
  if (qEnvironmentVariableIsSet("WOLTERIX_STRIP_SHOT")) {
    window.show();
    window.grab().toImage().save(qEnvironmentVariable("WOLTERIX_STRIP_SHOT"));
  }
}

}  // namespace
