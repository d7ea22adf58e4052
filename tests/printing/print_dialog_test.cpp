#include "printing/print_dialog.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include "drawing/painter_canvas.h"
#include "model/schematic.h"
#include "results/plot_window.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::printing;
using namespace wolterix::drawing;
using wolterix::model::Schematic;
using wolterix::testing::CircuitBuilder;

QPrinter& pdfPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  return printer;
}

TEST(PrintDialog, SwatchesTipsScaleReadoutAndHelp) {
  Schematic schematic;
  CircuitBuilder(schematic).element(wolterix::model::ElementKind::Rez, 10, 10);
  TDrukDialog dialog(pdfPrinter());
  dialog.prepareForPlot(schematic, 20);

  // The swatches beside the choices repeat the colours of the frames.
  for (const auto& [name, colour] : {std::pair{"schematicSwatch", QColor(0, 160, 0)},
                                     std::pair{"plotSwatch", QColor(255, 0, 0)}}) {
    const auto* swatch = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    ASSERT_TRUE(swatch) << name;
    EXPECT_TRUE(swatch->isVisibleTo(&dialog)) << name;
    EXPECT_EQ(swatch->palette().color(QPalette::Window), colour) << name;
  }

  for (const char* prefix : {"bS", "bW"}) {
    for (const char* button : {"up", "down", "left", "right", "plus", "minus"}) {
      const auto* b = dialog.findChild<QPushButton*>(QString::fromLatin1(prefix) + button);
      ASSERT_TRUE(b) << prefix << button;
      EXPECT_FALSE(b->toolTip().isEmpty()) << prefix << button;
    }
  }
  EXPECT_EQ(dialog.findChild<QPushButton*>("bSup")->toolTip(), QStringLiteral("Przesuń w górę"));
  EXPECT_EQ(dialog.findChild<QPushButton*>("bWplus")->toolTip(), QStringLiteral("Powiększ"));

  const auto* readout = dialog.findChild<QLabel*>("bSscale");
  ASSERT_TRUE(readout);
  const QString before = readout->text();
  EXPECT_TRUE(before.startsWith(QStringLiteral("Skala: "))) << before.toStdString();
  QTest::mouseClick(dialog.findChild<QPushButton*>("bSplus"), Qt::LeftButton);
  EXPECT_NE(readout->text(), before);
  const auto* plotReadout = dialog.findChild<QLabel*>("bWscale");
  ASSERT_TRUE(plotReadout);
  QTest::mouseClick(dialog.findChild<QPushButton*>("bWminus"), Qt::LeftButton);
  EXPECT_EQ(plotReadout->text(), QStringLiteral("Skala: 90 %"));

  int topic = 0;
  dialog.onHelp = [&](int t) { topic = t; };
  QTest::mouseClick(dialog.findChild<QPushButton*>("Button3"), Qt::LeftButton);
  EXPECT_EQ(topic, 43);
}

// Length of the first run of dark pixels down a column from a row on.
int darkRun(const QImage& image, int x, int fromY) {
  int y = fromY;
  while (y < image.height() && qGray(image.pixel(x, y)) > 100) ++y;
  int run = 0;
  while (y < image.height() && qGray(image.pixel(x, y)) <= 100) ++y, ++run;
  return run;
}

// Lines on paper are about 0.3 mm thick whatever the resolution: the schematic's and the
// frame of a plot printed with it.
TEST(PrintDialog, PrintedLinesAreAboutAThirdOfAMillimetre) {
  constexpr int kDpi = 600;
  QImage page(1200, 1600, QImage::Format_RGB32);
  page.setDotsPerMeterX(static_cast<int>(kDpi / 0.0254));
  page.setDotsPerMeterY(static_cast<int>(kDpi / 0.0254));
  page.fill(Qt::white);
  PageMetrics metrics;
  metrics.pageWidth = page.width();
  metrics.pageHeight = page.height();
  metrics.dotsPerInch = kDpi;
  PrintLayout layout(metrics);
  Schematic schematic;
  CircuitBuilder(schematic).wire(10, 10, 30, 10);
  ViewSettings view;
  view.printer = true;
  const DeviceTextMetrics text(&page);
  layout.setSchematic([&](int scale) { return drawnBounds(schematic, view, scale, text); });

  const wolterix::results::PlotView plot;
  QPainter painter(&page);
  paintPage(painter, &schematic, layout, 20, [&](QPainter& p, const QRectF& area) {
    wolterix::results::paintPlot(p, area, plot, true);
  });
  painter.end();

  const auto [dx, dy] = layout.schematicOffset();
  const double s = layout.scale();
  const int wire = darkRun(page, static_cast<int>(dx + s * 20 * 20), 0);
  const double millimetres = 25.4 / kDpi;
  EXPECT_NEAR(wire * millimetres, 0.3, 0.06) << wire << " px";

  // The top of the plot's axis frame, a third of the way across.
  const PrintLayout::PageRect r = layout.plotRect();
  const double k = layout.plotScale();
  const int x = static_cast<int>(r.left + k * (62 + (r.width / k - 124) / 3));
  const int axis = darkRun(page, x, static_cast<int>(r.top));
  EXPECT_NEAR(axis * millimetres, 0.3, 0.06) << axis << " px";
}

}  // namespace
