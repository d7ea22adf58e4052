#include "results/plot_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <tuple>

#include "engine/transient_run.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "results/axis_dialog.h"
#include "results/plot_readout.h"
#include "support/recording_canvas.h"

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

// Pixels of the first two trace colours (slots 0 and 1 on black) inside and outside a rectangle.
std::pair<int, int> tracePixels(const QImage& image, const QRect& frame) {
  std::pair<int, int> count{0, 0};
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if ((qGreen(p) > 160 && qRed(p) < 90 && qBlue(p) < 90) ||
          (qRed(p) > 160 && qGreen(p) < 90 && qBlue(p) < 90))
        ++(frame.contains(x, y) ? count.first : count.second);
    }
  return count;
}

TEST(PlotWindow, TracesBeyondTheirScalesStayInTheirFrames) {
  wolterix::model::Schematic rectifier;
  ASSERT_TRUE(
      wolterix::model::openSchematicFile(rectifier, WOLTERIX_EXAMPLES "/prostownik.wtx").ok());
  wolterix::engine::Simulation run;
  run.setSampleCount(300);
  ASSERT_TRUE(run.transientRun(rectifier, 0, 40e-3, 2).ok());
  wolterix::model::Schematic filter;
  ASSERT_TRUE(wolterix::model::openSchematicFile(filter, WOLTERIX_EXAMPLES "/filtr.wtx").ok());
  wolterix::engine::Simulation sweep;
  sweep.setSampleCount(300);
  ASSERT_TRUE(sweep.frequencySweep(filter, 1.0, 1e6).ok());

  // Scales far too small: the time, magnitude and complex-plane traces run far outside.
  PlotView time;
  time.selection.traceSlots[0] = {"U(E1)", true};
  time.selection.traceSlots[1] = {"U(R1)", true};
  time.time = buildTimePlot(run.store(), time.selection);
  for (double& scale : time.time.scales) scale /= 100;
  PlotView transfer;
  transfer.transfer = true;
  transfer.selection.traceSlots[0] = {"K(C1)", true};
  transfer.selection.traceSlots[1] = {"K(R1)", true};
  transfer.transferPlot = buildTransferPlot(sweep.transferStore(), transfer.selection, 0.0);
  ASSERT_EQ(transfer.transferPlot.traces.size(), 2u);
  transfer.transferPlot.dbTop = transfer.transferPlot.dbBottom + 0.05;
  transfer.transferPlot.complexScale /= 100;

  const QRectF area(0, 0, 1200, 800);
  const QRectF frame = area.adjusted(62, 12, -62, -36);
  QRectF square(0, 0, frame.height(), frame.height());
  square.moveCenter(frame.center());
  for (const auto& [name, view, kind, box] :
       {std::tuple{"time", &time, TransferPlotKind::Magnitude, frame},
        {"magnitude", &transfer, TransferPlotKind::Magnitude, frame},
        {"complex", &transfer, TransferPlotKind::Complex, square}}) {
    view->selection.transferPlot = kind;
    QImage image(area.size().toSize(), QImage::Format_RGB32);
    {
      QPainter painter(&image);
      paintPlot(painter, area, *view, false);
    }
    const auto [inside, outside] = tracePixels(image, box.toAlignedRect().adjusted(-2, -2, 2, 2));
    EXPECT_GT(inside, 500) << name;
    EXPECT_EQ(outside, 0) << name;
  }
}

}  // namespace

namespace {

// A paint device that keeps every text drawn on it with its place.
class TextRecorder : public QPaintDevice {
 public:
  struct Text {
    QPointF at;
    QString text;
  };
  std::vector<Text> texts;

  QPaintEngine* paintEngine() const override { return &m_engine; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth: return 1200;
      case PdmHeight: return 800;
      case PdmWidthMM: return 317;
      case PdmHeightMM: return 211;
      case PdmDepth: return 32;
      case PdmNumColors: return 1 << 24;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 96;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return 1 * int(devicePixelRatioFScale());
      default: return 0;
    }
  }

 private:
  class Engine final : public QPaintEngine {
   public:
    explicit Engine(TextRecorder& owner) : QPaintEngine(AllFeatures), m_owner(owner) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawLines(const QLineF*, int) override {}
    void drawLines(const QLine*, int) override {}
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawEllipse(const QRectF&) override {}
    void drawPoints(const QPointF*, int) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
      m_owner.texts.push_back({painter()->transform().map(p), item.text()});
    }
    Type type() const override { return User; }

   private:
    TextRecorder& m_owner;
  };
  mutable Engine m_engine{*this};
};

TEST(PlotWindowAxes, EachButtonLabelsItsOwnQuantity) {
  wolterix::model::Schematic schematic;
  ASSERT_TRUE(wolterix::model::openSchematicFile(schematic, WOLTERIX_EXAMPLES "/silnik.wtx").ok());
  wolterix::engine::Simulation sim;
  sim.setSampleCount(200);
  ASSERT_TRUE(sim.transientRun(schematic, 0, 2.0, 0).ok());
  WaveformSelection selection;
  selection.traceSlots[0] = {"n(S1)", true};
  selection.traceSlots[1] = {"P(S1)", true};
  TWykDialog window;
  window.showResults(sim, selection, false, 0.0);
  window.execAxisDialog = [](TOpisOsiDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Opis osi pionowej"));
    dialog.findChild<QPushButton*>(QStringLiteral("Xn0"))->click();
    dialog.findChild<QPushButton*>(QStringLiteral("XP1"))->click();
    return int(QDialog::Accepted);
  };
  window.findChild<QAction*>(QStringLiteral("Pw6"))->trigger();

  if (qEnvironmentVariableIsSet("WOLTERIX_AXES_SHOT")) {
    window.resize(1200, 800);
    window.show();
    window.grab().toImage().save(qEnvironmentVariable("WOLTERIX_AXES_SHOT"));
  }
  TextRecorder recorder;
  const QRectF area(0, 0, 1200, 800);
  {
    QPainter painter(&recorder);
    paintPlot(painter, area, window.view(), false);
  }
  // The plot's frame lies inside the area's margins: texts left of its middle third are the
  // left axis's, right of it the right axis's.
  QStringList left, right;
  for (const auto& t : recorder.texts) {
    if (t.at.x() < area.width() / 3) left << t.text;
    if (t.at.x() > area.width() * 2 / 3) right << t.text;
  }
  EXPECT_TRUE(left.contains(QStringLiteral("[o/m]"))) << left.join(' ').toStdString();
  EXPECT_FALSE(right.contains(QStringLiteral("[o/m]"))) << right.join(' ').toStdString();
  EXPECT_TRUE(std::any_of(right.begin(), right.end(), [](const QString& t) {
    return t.endsWith("W]");
  })) << right.join(' ').toStdString();
  EXPECT_FALSE(
      std::any_of(left.begin(), left.end(), [](const QString& t) { return t.endsWith("W]"); }));

  // The dialog shows the stored choices on the buttons they belong to.
  window.execAxisDialog = [](TOpisOsiDialog& dialog) {
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("Xn0"))->isChecked());
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("XP1"))->isChecked());
    return int(QDialog::Rejected);
  };
  window.findChild<QAction*>(QStringLiteral("Pw6"))->trigger();
}

TEST(PlotWindowAxes, DescriptionDialogChoosesTheLabelledQuantities) {
  wolterix::results::TWykDialog window;
  window.execAxisDialog = [](wolterix::results::TOpisOsiDialog& dialog) {
    dialog.findChild<QPushButton*>(QStringLiteral("XP0"))->click();
    // "I" is down on the right by default: pressing it lifts it, leaving no label there.
    dialog.findChild<QPushButton*>(QStringLiteral("XI1"))->click();
    return int(QDialog::Accepted);
  };
  window.findChild<QAction*>(QStringLiteral("Pw6"))->trigger();
  EXPECT_EQ(window.view().labelChoices[0], static_cast<int>(Quantity::Power));
  EXPECT_EQ(window.view().labelChoices[1], -1);
}

}  // namespace

namespace {

using namespace wolterix::results;

// A run of the divider: 10 V across 1 kΩ and 2 kΩ, traces U(E1) and U(R2) shown.
struct DividerPlot {
  wolterix::engine::Simulation sim;
  WaveformSelection selection;
  TWykDialog window;

  DividerPlot() {
    wolterix::model::Schematic schematic;
    EXPECT_TRUE(
        wolterix::model::openSchematicFile(schematic, WOLTERIX_EXAMPLES "/dzielnik.wtx").ok());
    sim.setSampleCount(400);
    EXPECT_TRUE(sim.transientRun(schematic, 0, 20e-3, 0).ok());
    selection.traceSlots[0] = {"U(E1)", true};
    selection.traceSlots[1] = {"U(R2)", true};
    window.setFullScreenMode(false);
    window.resize(1000, 700);
    window.showResults(sim, selection, false, 0.0);
  }

  QWidget& area() { return *window.findChild<QWidget*>(QStringLiteral("Wykres")); }
  // A position on the plot at a fraction of its frame's width, halfway down.
  QPointF at(double u) {
    const QRectF frame = QRectF(area().rect()).adjusted(62, 12, -62, -36);
    return {frame.left() + frame.width() * u, frame.center().y()};
  }
  void mouse(QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, pos, area().mapToGlobal(pos), button, buttons, modifiers);
    QCoreApplication::sendEvent(&area(), &event);
  }
  void click(double u, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    mouse(QEvent::MouseButtonPress, at(u), Qt::LeftButton, Qt::LeftButton, modifiers);
    mouse(QEvent::MouseButtonRelease, at(u), Qt::LeftButton, Qt::NoButton, modifiers);
  }
};

TEST(PlotWindowView, OpensOverTheScreenAndSwitchesToAFramedWindow) {
  TWykDialog window;
  EXPECT_TRUE(window.fullScreenMode());
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window.geometry(), QGuiApplication::primaryScreen()->availableGeometry());
  window.findChild<QAction*>(QStringLiteral("PwOkno"))->trigger();
  EXPECT_FALSE(window.fullScreenMode());
  EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);
  window.findChild<QAction*>(QStringLiteral("PwOkno"))->trigger();
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);

  // A resized window draws the whole plot at its new size.
  DividerPlot divider;
  divider.window.resize(700, 450);
  const QImage small = divider.window.grab().toImage();
  EXPECT_EQ(small.size(), QSize(700, 450));
  const QImage plot = divider.area().grab().toImage();
  int rightmostGreen = 0;
  for (int x = 0; x < plot.width(); ++x)
    for (int y = 0; y < plot.height(); ++y)
      if (qGreen(plot.pixel(x, y)) > 200 && qRed(plot.pixel(x, y)) < 90) rightmostGreen = x;
  EXPECT_NEAR(rightmostGreen, plot.width() - 62, 3);
}

TEST(PlotWindowView, CursorsReadTheTracesAndEscapeClearsThem) {
  DividerPlot d;
  EXPECT_TRUE(d.window.informationText().contains(QStringLiteral("/dz")));
  d.click(0.25);
  d.click(0.75, Qt::ShiftModifier);
  ASSERT_TRUE(d.window.cursorA() && d.window.cursorB());
  EXPECT_NEAR(d.window.cursorA()->x(), 5e-3, 1e-4);
  EXPECT_NEAR(d.window.cursorB()->x(), 15e-3, 1e-4);
  const QString info = d.window.informationText();
  const auto lines =
      timeReadout(d.window.view().time, d.window.cursorA()->x(), d.window.cursorB()->x());
  ASSERT_FALSE(lines.empty());
  for (const auto& line : lines)
    EXPECT_TRUE(info.contains(QString::fromStdString(line.text).toHtmlEscaped()))
        << line.text << "\n"
        << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("10 V"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("6,67 V"))) << info.toStdString();

  d.window.show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(&d.window, &escape);
  EXPECT_FALSE(d.window.cursorA() || d.window.cursorB());
  EXPECT_TRUE(d.window.isVisible());
}

TEST(PlotWindowView, DraggedZoomAndFullRangeLeaveTheResultsAlone) {
  DividerPlot d;
  const TimePlot stored = buildTimePlot(d.sim.store(), d.selection);
  d.mouse(QEvent::MouseButtonPress, d.at(0.2), Qt::LeftButton, Qt::LeftButton);
  d.mouse(QEvent::MouseMove, d.at(0.4), Qt::NoButton, Qt::LeftButton);
  d.mouse(QEvent::MouseButtonRelease, d.at(0.4), Qt::LeftButton, Qt::NoButton);
  ASSERT_TRUE(d.window.zoomed());
  EXPECT_FALSE(d.window.cursorA());  // the drag fixed no cursor
  EXPECT_NEAR(d.window.view().time.startTime, 4e-3, 2e-4);
  EXPECT_NEAR(d.window.view().time.span(), 4e-3, 4e-4);

  d.window.findChild<QAction*>(QStringLiteral("PwZakres"))->trigger();
  EXPECT_FALSE(d.window.zoomed());
  for (const TimePlot* plot : {&d.window.view().time, &d.window.fullTimePlot()}) {
    EXPECT_EQ(plot->startTime, stored.startTime);
    EXPECT_EQ(plot->sampleCount, stored.sampleCount);
    EXPECT_EQ(plot->scales, stored.scales);
    ASSERT_EQ(plot->traces.size(), stored.traces.size());
    for (std::size_t k = 0; k < stored.traces.size(); ++k)
      EXPECT_EQ(plot->traces[k].samples, stored.traces[k].samples);
  }
  const TimePlot again = buildTimePlot(d.sim.store(), d.selection);
  EXPECT_EQ(again.traces[1].samples, stored.traces[1].samples);
}

TEST(PlotWindowPrint, PaperPlotCarriesItsLegendReadableTextAndFirmLines) {
  DividerPlot d;
  // A screen-sized plot on an A4 page at 600 dpi: 0.9 of 210 mm over 1000 pixels.
  const double dpi = 600;
  const double pageScale = 0.9 * 210 / 25.4 * dpi / 1000;
  const PrintSizes sizes = printSizes(dpi, pageScale);
  EXPECT_NEAR(sizes.lineWidth, 0.3 / 25.4 * dpi, 1e-9);
  wolterix::testing::RecordingCanvas canvas;
  paintPlotWithLegend(canvas, 0, 0, 1000, 700, d.window.view(), true, sizes);

  const PlotRect frame = plotFrame({0, kLegendHeight * sizes.textSize / kScreenTextSize, 1000,
                                    700 - kLegendHeight * sizes.textSize / kScreenTextSize},
                                   sizes.textSize);
  const auto texts = canvas.ofType('t');
  ASSERT_FALSE(texts.empty());
  for (const auto& t : texts) {
    // Measured one pixel size high: at least 8 pt once on the page.
    const double points = (t.points[1].y - t.points[0].y) * pageScale / dpi * 72;
    EXPECT_GE(points, 8.0 - 1e-9) << t.text;
  }
  const auto& paper = printedTraceColors();
  for (const auto& [name, slot] : {std::pair{"U(E1) ", 0}, std::pair{"U(R2) ", 1}}) {
    const auto legend = std::find_if(texts.begin(), texts.end(),
                                     [&](const auto& t) { return t.text.rfind(name, 0) == 0; });
    ASSERT_NE(legend, texts.end()) << name;
    EXPECT_EQ(legend->color, paper[slot]) << name;
    EXPECT_LT(legend->points[1].y, frame.top) << name;
  }
  const auto traces = canvas.ofType('y');
  ASSERT_EQ(traces.size(), 2u);
  for (const auto& trace : traces) {
    EXPECT_GE(trace.penWidth / dpi * 25.4, 0.3 - 1e-9);
    for (const auto& p : trace.points)
      EXPECT_TRUE(frame.contains(p.x, p.y) || std::abs(p.y - frame.top) <= 1 ||
                  std::abs(p.y - frame.bottom()) <= 1);
  }
}

// A trace identical to an earlier one would hide under it: it is drawn dashed on top.
TEST(PlotWindowPrint, AnIdenticalTraceIsDrawnDashedOnTop) {
  DividerPlot d;
  PlotView view = d.window.view();
  TimeTrace copy = view.time.traces[0];
  copy.slot = 2;
  copy.name = "U(E1) kopia";
  view.time.traces.push_back(copy);
  wolterix::testing::RecordingCanvas canvas;
  paintPlot(canvas, 0, 0, 1000, 700, view, false);
  const auto traces = canvas.ofType('y');
  ASSERT_EQ(traces.size(), 3u);
  EXPECT_EQ(traces[0].style, wolterix::drawing::PenStyle::Solid);
  EXPECT_EQ(traces[1].style, wolterix::drawing::PenStyle::Solid);
  EXPECT_EQ(traces[2].style, wolterix::drawing::PenStyle::Dash);
  EXPECT_EQ(traces[2].points.size(), traces[0].points.size());
}

// With no trace chosen the screen says how to choose one; paper and a shown trace do not.
TEST(PlotWindowPrint, AnEmptyPlotSaysHowToChooseTraces) {
  DividerPlot d;
  const auto hints = [](const PlotView& view, bool paper) {
    wolterix::testing::RecordingCanvas canvas;
    paintPlot(canvas, 0, 0, 1000, 700, view, paper);
    int count = 0;
    for (const auto& text : canvas.ofType('t')) count += text.text == kNoTracesHint;
    return count;
  };
  PlotView view = d.window.view();
  EXPECT_EQ(hints(view, false), 0);
  view.time.traces.clear();
  EXPECT_EQ(hints(view, false), 1);
  EXPECT_EQ(hints(view, true), 0);
}

TEST(PlotWindowView, ExportsTheShownDataOrWarnsAndWritesNothing) {
  DividerPlot d;
  d.window.zoomTo(2e-3, 8e-3);
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("wykres.csv"));
  QStringList warnings;
  d.window.askExportPath = [&](const QString&, const QString&, const QString&) { return path; };
  d.window.showWarning = [&](const QString& text) { warnings << text; };
  d.window.findChild<QAction*>(QStringLiteral("PwCsv"))->trigger();
  QFile written(path);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll().toStdString(), timePlotCsv(d.window.view().time));
  EXPECT_TRUE(warnings.isEmpty());

  // Images come at the size the user chooses, the window's proposed; cancelling writes nothing.
  QSize proposed;
  std::optional<QSize> chosen = QSize(640, 400);
  d.window.askImageSize = [&](QSize p) {
    proposed = p;
    return chosen;
  };
  path = dir.filePath(QStringLiteral("wykres.png"));
  d.window.findChild<QAction*>(QStringLiteral("PwPng"))->trigger();
  EXPECT_EQ(proposed, d.window.size());
  EXPECT_EQ(QImage(path).size(), QSize(640, 400));
  chosen.reset();
  path = dir.filePath(QStringLiteral("anulowany.png"));
  d.window.findChild<QAction*>(QStringLiteral("PwPng"))->trigger();
  EXPECT_FALSE(QFile::exists(path));
  chosen = QSize(1200, 700);

  // The SVG keeps its words as text and draws each trace as one polyline.
  path = dir.filePath(QStringLiteral("wykres.svg"));
  d.window.findChild<QAction*>(QStringLiteral("PwSvg"))->trigger();
  QFile svg(path);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(svg.readAll());
  EXPECT_TRUE(text.contains(QStringLiteral(">U(E1) "))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral(">U(R2) ")));
  EXPECT_TRUE(text.contains(QStringLiteral(">[ms]</text>")));
  EXPECT_TRUE(text.contains(QStringLiteral(">[V]</text>")));
  EXPECT_EQ(text.count(QStringLiteral("<polyline")), 2);
  EXPECT_TRUE(text.contains(QStringLiteral("width=\"1200\"")));

  path = dir.filePath(QStringLiteral("brak/wykres.csv"));
  d.window.findChild<QAction*>(QStringLiteral("PwCsv"))->trigger();
  EXPECT_FALSE(QFile::exists(path));
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_EQ(warnings[0], QStringLiteral("Nie można zapisać pliku: ") + path);
}

}  // namespace
