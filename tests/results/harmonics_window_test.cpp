#include "results/harmonics_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <sstream>

#include "engine/transient_run.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "results/plot_window.h"
#include "support/recording_canvas.h"

namespace {

using namespace wolterix;
using namespace wolterix::results;

// A ±1 square wave of 50 Hz, 1000 samples a period over `periods` periods.
TimePlot squareWave(int samplesPerPeriod = 1000, int periods = 3) {
  TimePlot plot;
  plot.spacing = 0.02 / samplesPerPeriod;
  plot.sampleCount = samplesPerPeriod * periods + 1;
  TimeTrace trace{0, "U(E1)", Quantity::Voltage, {}};
  for (int k = 0; k < plot.sampleCount; ++k)
    trace.samples.push_back(k % samplesPerPeriod < samplesPerPeriod / 2 ? 1.0 : -1.0);
  plot.traces.push_back(trace);
  plot.traces.push_back(
      {1, "I(R1)", Quantity::Current, std::vector<double>(trace.samples.size(), 0.5)});
  plot.scales[0] = 1;
  plot.scales[1] = 1;
  return plot;
}

double cellNumber(const QTableWidget* table, int row, int column) {
  QString text = table->item(row, column)->text();
  text.replace(QChar(0x2212), QLatin1Char('-')).replace(QLatin1Char(','), QLatin1Char('.'));
  return text.toDouble();
}

QAction* action(QWidget& window, const char* name) {
  return window.findChild<QAction*>(QString::fromLatin1(name));
}

std::vector<std::string> textsOf(const wolterix::testing::RecordingCanvas& canvas) {
  std::vector<std::string> texts;
  for (const auto& figure : canvas.ofType('t')) texts.push_back(figure.text);
  return texts;
}

bool hasText(const std::vector<std::string>& texts, const std::string& wanted) {
  return std::find(texts.begin(), texts.end(), wanted) != texts.end();
}

TEST(HarmonicsWindow, SquareWaveTableSummaryAndCopy) {
  HarmonicsWindow window;
  window.setTraces(squareWave(), 50);
  ASSERT_TRUE(window.analysis());
  const QTableWidget* table = window.table();
  ASSERT_EQ(table->rowCount(), 1 + engine::kDefaultHarmonicCount);
  EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("DC"));
  EXPECT_EQ(table->item(3, 0)->text(), QStringLiteral("3"));
  EXPECT_EQ(table->item(3, 1)->text(), QStringLiteral("150"));
  EXPECT_NEAR(cellNumber(table, 1, 3), 100.0, 1e-9);
  EXPECT_NEAR(cellNumber(table, 3, 3), 100.0 / 3, 0.05);
  EXPECT_NEAR(cellNumber(table, 5, 3), 100.0 / 5, 0.05);
  for (int even = 2; even <= 40; even += 2) EXPECT_NEAR(cellNumber(table, even, 3), 0.0, 0.01);
  EXPECT_EQ(table->item(1, 2)->text(), QStringLiteral("900 mV"));  // 4/π/√2

  const QString summary = window.summaryText();
  EXPECT_TRUE(summary.contains(QStringLiteral("THD = 47,0"))) << summary.toStdString();
  EXPECT_TRUE(summary.contains(QStringLiteral("(względem podstawowej)")));
  EXPECT_TRUE(summary.contains(QStringLiteral("Analizowano 3 okresy")));
  EXPECT_TRUE(summary.contains(QStringLiteral("Wartość skuteczna = 1 V")));
  window.setLastPeriods(1);
  EXPECT_TRUE(window.summaryText().contains(QStringLiteral("Analizowano 1 okres")))
      << window.summaryText().toStdString();
  window.setLastPeriods(0);

  // One choice of each pair of toggles stays on.
  const auto checkedToggles = [&] {
    const auto radios = window.findChildren<QRadioButton*>();
    return std::count_if(radios.begin(), radios.end(), [](auto* r) { return r->isChecked(); });
  };
  EXPECT_EQ(checkedToggles(), 2);
  window.setPercent(false);
  window.setLogarithmic(true);
  EXPECT_FALSE(window.view().percent);
  EXPECT_TRUE(window.view().logarithmic);
  EXPECT_EQ(checkedToggles(), 2);
  window.setPercent(true);
  window.setLogarithmic(false);

  // Another trace, a unit of its own; back by name when the results come again.
  window.chooseTrace(1);
  EXPECT_EQ(window.table()->item(0, 2)->text(), QStringLiteral("500 mA"));
  window.updateTraces(squareWave());
  EXPECT_EQ(window.chosenTrace(), 1);
  window.chooseTrace(0);

  action(window, "HrKopiuj")->trigger();
  const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 42);
  EXPECT_EQ(lines[0], QStringLiteral("Rząd\tf [Hz]\tWartość skuteczna\t% podstawowej\tFaza [°]"));
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1\t50\t900 mV\t100,00\t")))
      << lines[2].toStdString();
  EXPECT_EQ(lines[41].split(QLatin1Char('\t')).value(0), QStringLiteral("40"));
}

TEST(HarmonicsWindow, CsvExportGoesThroughTheHooks) {
  HarmonicsWindow window;
  window.setTraces(squareWave(), 50);
  QTemporaryDir dir;
  QString asked = dir.filePath(QStringLiteral("harmoniczne.csv"));
  QString warning;
  window.askExportPath = [&](const QString&, const QString&, const QString&) { return asked; };
  window.showWarning = [&](const QString& text) { warning = text; };
  action(window, "HrCsv")->trigger();
  QFile file(asked);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  std::ostringstream expected;
  engine::writeHarmonicsCsv(expected, *window.analysis());
  const std::string header = expected.str().substr(0, expected.str().find('\n'));
  EXPECT_EQ(file.readLine().trimmed().toStdString(), header);
  EXPECT_TRUE(warning.isEmpty());

  asked = dir.filePath(QStringLiteral("brak/harmoniczne.csv"));
  action(window, "HrCsv")->trigger();
  EXPECT_TRUE(warning.contains(asked));
}

TEST(HarmonicsWindow, RefusalsClearTheTableAndChart) {
  HarmonicsWindow window;
  window.setTraces(squareWave(), 1);  // a period of 1 s on a 60 ms trace
  EXPECT_FALSE(window.analysis());
  EXPECT_EQ(window.refusal().toStdString(), engine::kShorterThanPeriod);
  EXPECT_EQ(window.summaryText(), window.refusal());
  EXPECT_EQ(window.table()->rowCount(), 0);
  EXPECT_FALSE(window.view().analysis);
  EXPECT_FALSE(action(window, "HrKopiuj")->isEnabled());

  // The field takes the program's numbers.
  auto* field = window.findChild<QLineEdit*>(QStringLiteral("Podstawowa"));
  field->setText(QStringLiteral("abc"));
  EXPECT_TRUE(window.summaryText().contains(QStringLiteral("nie jest poprawną liczbą")));
  field->setText(QStringLiteral("1k"));
  ASSERT_TRUE(window.analysis());
  EXPECT_DOUBLE_EQ(window.analysis()->fundamental, 1000.0);
  EXPECT_TRUE(action(window, "HrKopiuj")->isEnabled());
}

TEST(HarmonicsWindow, SamplingLimitIsReportedAndHatched) {
  HarmonicsWindow window;
  window.setTraces(squareWave(10), 50);  // ten samples a period: order 5 at the limit
  ASSERT_TRUE(window.analysis());
  EXPECT_EQ(window.table()->rowCount(), 1 + 5);
  const QString summary = window.summaryText();
  EXPECT_TRUE(summary.contains(QStringLiteral("Granica próbkowania: rząd 5")));
  EXPECT_TRUE(summary.contains(QStringLiteral("Obliczono 5 z 40")));
  EXPECT_TRUE(window.table()->item(5, 0)->text().endsWith(QLatin1Char('*')));

  wolterix::testing::RecordingCanvas canvas;
  paintHarmonics(canvas, 0, 0, 800, 400, window.view(), false);
  EXPECT_TRUE(std::any_of(canvas.figures.begin(), canvas.figures.end(), [](const auto& f) {
    return f.type == 't' && f.text.find("granicy próbkowania") != std::string::npos;
  }));
  // The hatched bar is strokes in its own colour beside the filled ones.
  EXPECT_GT(canvas.inColor({220, 110, 0}).size(), 3u);
}

TEST(HarmonicsChart, BarsAxesAndLabels) {
  HarmonicsWindow window;
  window.setTraces(squareWave(), 50);
  HarmonicsView view = window.view();

  wolterix::testing::RecordingCanvas canvas;
  paintHarmonics(canvas, 0, 0, 1000, 500, view, false);
  auto texts = textsOf(canvas);
  EXPECT_TRUE(hasText(texts, "[%]"));
  EXPECT_TRUE(hasText(texts, "DC"));
  EXPECT_TRUE(hasText(texts, "1"));
  EXPECT_TRUE(hasText(texts, "100"));
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
    return t.find("U(E1)") == 0 && t.find("THD = 47,0") != std::string::npos;
  }));
  // Bar heights: the fundamental the tallest, the third harmonic a third of it.
  std::vector<double> heights;
  for (const auto& f : canvas.inColor({0, 90, 200}))
    if (f.type == 'r') heights.push_back(std::abs(f.points[1].y - f.points[0].y));
  std::sort(heights.rbegin(), heights.rend());
  ASSERT_GE(heights.size(), 3u);
  EXPECT_NEAR(heights[1] / heights[0], 1.0 / 3, 0.01);

  // Decades of per cent, then of the unit.
  view.logarithmic = true;
  wolterix::testing::RecordingCanvas logPlot;
  paintHarmonics(logPlot, 0, 0, 1000, 500, view, false);
  texts = textsOf(logPlot);
  EXPECT_TRUE(hasText(texts, "0.01"));
  EXPECT_TRUE(hasText(texts, "100"));
  view.percent = false;
  EXPECT_EQ(harmonicAxis(view).unit, "[V]");
  view.logarithmic = false;
  const HarmonicAxis linear = harmonicAxis(view);
  EXPECT_EQ(linear.unit, "[V]");  // up to 1 V in steps of 0,2 V
  EXPECT_EQ(linear.ticks.size(), 6u);
  EXPECT_DOUBLE_EQ(linear.top, 1.0);
  EXPECT_DOUBLE_EQ(linear.ticks.back(), 1.0);

  // Forty orders on a narrow chart: labels thin out and never overlap.
  wolterix::testing::RecordingCanvas narrow;
  paintHarmonics(narrow, 0, 0, 300, 300, window.view(), false);
  std::vector<std::pair<double, double>> spans;
  for (const auto& f : narrow.ofType('t'))
    if (!f.text.empty() &&
        std::all_of(f.text.begin(), f.text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        f.points[0].y > 250)
      spans.push_back({f.points[0].x, f.points[1].x});
  std::sort(spans.begin(), spans.end());
  ASSERT_GE(spans.size(), 3u);
  EXPECT_LT(spans.size(), 40u);
  for (std::size_t k = 1; k < spans.size(); ++k) EXPECT_LT(spans[k - 1].second, spans[k].first);

  if (qEnvironmentVariableIsSet("WOLTERIX_HARMONICS_SHOT")) {
    window.resize(1000, 720);
    window.show();
    const QString shot = qEnvironmentVariable("WOLTERIX_HARMONICS_SHOT");
    window.grab().toImage().save(shot);
    window.setLogarithmic(true);
    window.setPercent(false);
    window.grab().toImage().save(
        QString(shot).replace(QStringLiteral(".png"), QStringLiteral("-log.png")));
  }
}

TEST(HarmonicsWindow, PlotWindowOpensItOnTimePlotsOnly) {
  model::Schematic rectifier;
  ASSERT_TRUE(model::openSchematicFile(rectifier, WOLTERIX_EXAMPLES "/prostownik.wtx").ok());
  engine::Simulation run;
  run.setSampleCount(944);
  ASSERT_TRUE(run.transientRun(rectifier, 0, 40e-3, 2).ok());
  model::Schematic filter;
  ASSERT_TRUE(model::openSchematicFile(filter, WOLTERIX_EXAMPLES "/filtr.wtx").ok());
  engine::Simulation sweep;
  sweep.setSampleCount(100);
  ASSERT_TRUE(sweep.frequencySweep(filter, 1.0, 1e6).ok());

  TWykDialog plots;
  int topic = 0;
  plots.onHelp = [&](int t) { topic = t; };
  WaveformSelection transfer;
  transfer.traceSlots[0] = {"K(C1)", true};
  plots.showResults(sweep, transfer, true, 0.0);
  QAction* harmonics = action(plots, "PwHarm");
  ASSERT_TRUE(harmonics);
  EXPECT_EQ(harmonics->shortcut(), QKeySequence(Qt::Key_F7));
  EXPECT_FALSE(harmonics->isEnabled());

  WaveformSelection time;
  time.traceSlots[0] = {"U(E1)", true};
  time.traceSlots[1] = {"U(R1)", true};
  plots.showResults(run, time, false, 0.0);
  ASSERT_TRUE(harmonics->isEnabled());
  EXPECT_DOUBLE_EQ(plots.proposedFundamental(), 50.0);  // no hook: 50 Hz fits in 40 ms
  plots.proposeFundamental = [] { return std::optional<double>(25.0); };
  harmonics->trigger();
  HarmonicsWindow* window = plots.harmonicsWindow();
  ASSERT_TRUE(window);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Harmoniczne"));
  EXPECT_EQ(window->fundamental(), 25.0);
  ASSERT_TRUE(window->analysis());
  // The source of the rectifier: a pure 50 Hz sine is the second order of 25 Hz.
  const auto& lines = window->analysis()->harmonics;
  EXPECT_GT(lines[1].rms, 100 * lines[0].rms);

  // New results refresh the open window; a transfer plot closes it.
  time.traceSlots[0] = {"U(R1)", true};
  time.traceSlots[1] = {};
  plots.showResults(run, time, false, 0.0);
  EXPECT_EQ(window->findChild<QComboBox*>(QStringLiteral("Przebieg"))->count(), 1);
  EXPECT_EQ(window->fundamental(), 25.0);
  action(*window, "HrPomoc")->trigger();
  EXPECT_EQ(topic, 44);
  plots.showResults(sweep, transfer, true, 0.0);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
