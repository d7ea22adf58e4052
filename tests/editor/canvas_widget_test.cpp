#include <gtest/gtest.h>

#include <QTest>

#include "app/main_window.h"
#include "editor/schematic_canvas.h"

namespace {

using namespace wolterix::editor;
using namespace wolterix::app;
using namespace wolterix::drawing;
using wolterix::model::ElementKind;

QPoint pixel(int x, int y, int grid = 20, int zoom = 1) {
  return {(x + 1) * grid * zoom, (y + 1) * grid * zoom};
}

TEST(CanvasWidget, GrowsWithTheGridSize) {
  TForm1 window;
  SchematicCanvas& canvas = window.canvas();
  EXPECT_EQ(canvas.size(), QSize(2040, 2040));
  ViewSettings view = canvas.view();
  view.grid = 24;
  canvas.setView(view);
  EXPECT_EQ(canvas.size(), QSize(2448, 2448));
  view.zoom = 2;
  canvas.setView(view);
  EXPECT_EQ(canvas.size(), QSize(4896, 4896));
}

TEST(CanvasWidget, MouseDrawsAndReportsWhatIsUnderIt) {
  TForm1 window;
  window.show();
  SchematicCanvas& canvas = window.canvas();
  Editor& editor = window.editor();
  QString position, object;
  canvas.onStatus = [&](const QString& p, const QString& o) {
    position = p;
    object = o;
  };

  editor.setMode(static_cast<int>(ElementKind::Rez));
  QTest::mouseClick(&canvas, Qt::LeftButton, {}, pixel(10, 10));
  ASSERT_EQ(window.schematic().elementCount(), 1);
  // Alt or Ctrl make the surface ignore the mouse; so does the right button.
  QTest::mouseClick(&canvas, Qt::LeftButton, Qt::ControlModifier, pixel(20, 10));
  QTest::mouseClick(&canvas, Qt::RightButton, {}, pixel(30, 10));
  EXPECT_EQ(window.schematic().elementCount(), 1);

  editor.setMode(kWireMode);
  QTest::mousePress(&canvas, Qt::LeftButton, {}, pixel(11, 10));
  QMouseEvent move(QEvent::MouseMove, pixel(15, 11), canvas.mapToGlobal(pixel(15, 11)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&canvas, &move);
  ASSERT_TRUE(editor.wirePreview());
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, pixel(15, 11));
  ASSERT_EQ(window.schematic().wires().size(), 1u);
  EXPECT_EQ(window.schematic().wires()[0]->end(), (wolterix::model::GridPoint{15, 10}));
  EXPECT_EQ(position, QStringLiteral("15:11"));

  editor.setMode(kSelectMode);
  QMouseEvent hover(QEvent::MouseMove, pixel(10, 10), canvas.mapToGlobal(pixel(10, 10)),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&canvas, &hover);
  EXPECT_EQ(object, QStringLiteral("R1 { R=?; }"));
  EXPECT_EQ(canvas.cursor().shape(), Qt::BitmapCursor);  // our hand over an object
  EXPECT_TRUE(editor.flags().modified);

  // It paints without complaint, selected and not.
  QImage image(canvas.size(), QImage::Format_RGB32);
  canvas.render(&image);
  EXPECT_EQ(image.pixelColor(5, 5), QColor(0, 255, 0));  // the lime background
}

}  // namespace
