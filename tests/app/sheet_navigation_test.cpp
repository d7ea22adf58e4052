// The sheet under the wheel, the middle button and files dropped from elsewhere.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "editor/schematic_canvas.h"
#include "model/schematic_file.h"
#include "support/scripted_prompts.h"

namespace {

using namespace wolterix::app;
using wolterix::drawing::pixelToGrid;
using wolterix::model::GridPoint;

const QString kRc = QStringLiteral(WOLTERIX_EXAMPLES "/rc.wtx");

struct ShownWindow : wolterix::testing::ScriptedDocumentPrompt {
  TForm1 window;
  QScrollArea* box = nullptr;

  ShownWindow() {
    window.documents().setPrompt(*this);
    window.show();
    QApplication::processEvents();
    box = window.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
  }
  QScrollBar& across() { return *box->horizontalScrollBar(); }
  QScrollBar& down() { return *box->verticalScrollBar(); }
  QWidget& sheet() { return window.canvas(); }

  void wheel(QPointF at, QPoint turn, Qt::KeyboardModifiers modifiers = {}) {
    QWheelEvent event(at, sheet().mapToGlobal(at), {}, turn, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&sheet(), &event);
  }
  void mouse(QEvent::Type type, QPointF global, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, sheet().mapFromGlobal(global), global, button, held, {});
    QApplication::sendEvent(&sheet(), &event);
  }
  int selected() {
    const auto& s = window.schematic();
    const auto count = [](const auto& objects) {
      return static_cast<int>(
          std::count_if(objects.begin(), objects.end(), [](const auto& o) { return o->selected; }));
    };
    return count(s.elements()) + count(s.wires()) + count(s.junctions());
  }
  std::vector<std::string> text() {
    std::vector<std::string> lines;
    wolterix::model::writeSchematic(window.schematic(), lines, false);
    return lines;
  }
};

TEST(SheetNavigation, WheelScrollsDownAndWithShiftAcross) {
  ShownWindow w;
  ASSERT_GT(w.down().maximum(), 0);
  const QPointF at(100, 100);
  w.wheel(at, {0, -120});
  const int notch = w.down().value();
  EXPECT_GT(notch, 0);
  EXPECT_EQ(w.across().value(), 0);
  w.wheel(at, {0, 120});
  EXPECT_EQ(w.down().value(), 0);
  w.wheel(at, {0, -120}, Qt::ShiftModifier);
  EXPECT_EQ(w.across().value(), notch);
  EXPECT_EQ(w.down().value(), 0);
  EXPECT_EQ(w.window.canvas().view().zoom, 1);  // plain and shifted turns never zoom
}

TEST(SheetNavigation, CtrlWheelZoomsOneStepAroundTheMouse) {
  ShownWindow w;
  w.across().setValue(200);
  w.down().setValue(300);
  // A point in the middle of what is seen, in surface pixels.
  const QPointF at = QPointF(w.box->viewport()->rect().center()) + QPointF(200, 300);
  const QPointF screen = w.sheet().mapToGlobal(at);
  const GridPoint before = pixelToGrid(at.x(), at.y(), w.window.canvas().view());
  const auto pointUnderMouse = [&] {
    const QPointF now = w.sheet().mapFromGlobal(screen);
    return pixelToGrid(now.x(), now.y(), w.window.canvas().view());
  };

  w.wheel(at, {0, 120}, Qt::ControlModifier);
  EXPECT_EQ(w.window.canvas().view().zoom, 2);
  EXPECT_TRUE(w.window.action(Command::Zoom200)->isChecked());
  const GridPoint closer = pointUnderMouse();
  EXPECT_LE(std::abs(closer.x - before.x), 1);
  EXPECT_LE(std::abs(closer.y - before.y), 1);

  w.wheel(w.sheet().mapFromGlobal(screen), {0, -120}, Qt::ControlModifier);
  EXPECT_EQ(w.window.canvas().view().zoom, 1);
  const GridPoint back = pointUnderMouse();
  EXPECT_LE(std::abs(back.x - before.x), 1);
  EXPECT_LE(std::abs(back.y - before.y), 1);
  // Below 100 % there is no step left; half a notch is not a step yet.
  w.wheel(w.sheet().mapFromGlobal(screen), {0, -120}, Qt::ControlModifier);
  EXPECT_EQ(w.window.canvas().view().zoom, 1);
  w.wheel(w.sheet().mapFromGlobal(screen), {0, 60}, Qt::ControlModifier);
  EXPECT_EQ(w.window.canvas().view().zoom, 1);
  w.wheel(w.sheet().mapFromGlobal(screen), {0, 60}, Qt::ControlModifier);
  EXPECT_EQ(w.window.canvas().view().zoom, 2);
}

TEST(SheetNavigation, MiddleDragPansWithoutTouchingTheSchematic) {
  ShownWindow w;
  ASSERT_TRUE(w.window.openFile(kRc));
  w.window.editor().selectAll();
  const int selected = w.selected();
  ASSERT_GT(selected, 0);
  const auto text = w.text();
  // Over an element, where a left drag would move it.
  const GridPoint onElement = w.window.schematic().elements().front()->position();
  const auto pixel = wolterix::drawing::gridToPixel(onElement, w.window.canvas().view());
  const QPointF from = w.sheet().mapToGlobal(QPointF(pixel.x, pixel.y));
  const QPointF to = from - QPointF(60, 45);

  w.mouse(QEvent::MouseButtonPress, from, Qt::MiddleButton, Qt::MiddleButton);
  EXPECT_EQ(w.sheet().cursor().shape(), Qt::ClosedHandCursor);
  w.mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::MiddleButton);
  // A left click during the pan is not an edit either.
  w.mouse(QEvent::MouseButtonPress, to, Qt::LeftButton, Qt::MiddleButton | Qt::LeftButton);
  w.mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::MiddleButton | Qt::LeftButton);
  w.mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::MiddleButton);
  w.mouse(QEvent::MouseButtonRelease, to, Qt::MiddleButton, Qt::NoButton);

  EXPECT_EQ(w.across().value(), 60);
  EXPECT_EQ(w.down().value(), 45);
  EXPECT_NE(w.sheet().cursor().shape(), Qt::ClosedHandCursor);
  EXPECT_EQ(w.selected(), selected);
  EXPECT_EQ(w.text(), text);
  EXPECT_FALSE(w.window.editor().flags().modified);
}

struct Dropped {
  QMimeData data;
  explicit Dropped(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
  }
  // Whether the window takes the drag, and then the drop; the opening follows the drop.
  std::pair<bool, bool> onto(QWidget& window) {
    QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &drop);
    QApplication::processEvents();
    return {enter.isAccepted(), drop.isAccepted()};
  }
};

TEST(SheetNavigation, DroppedSchematicOpensAfterTheSaveQuestion) {
  ShownWindow w;
  w.window.editor().flags().modified = true;
  w.answer = SaveAnswer::Cancel;
  EXPECT_EQ(Dropped({kRc}).onto(w.window), std::make_pair(true, true));
  EXPECT_EQ(w.questions, 1);
  EXPECT_TRUE(w.window.currentFile().isEmpty());

  w.answer = SaveAnswer::No;
  EXPECT_EQ(Dropped({kRc}).onto(w.window), std::make_pair(true, true));
  EXPECT_EQ(w.questions, 2);
  EXPECT_EQ(w.window.currentFile(), kRc);
  EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Wolterix - rc"));
  EXPECT_GT(w.window.schematic().elementCount(), 0);
}

TEST(SheetNavigation, OnlyASchematicAmongTheDroppedFilesIsTaken) {
  ShownWindow w;
  const QString notes = QStringLiteral(WOLTERIX_EXAMPLES "/notatki.txt");
  EXPECT_EQ(Dropped({notes}).onto(w.window), std::make_pair(false, false));
  EXPECT_TRUE(w.window.currentFile().isEmpty());
  // Of several files the first schematic.
  const QString divider = QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx");
  EXPECT_EQ(Dropped({notes, divider, kRc}).onto(w.window), std::make_pair(true, true));
  EXPECT_EQ(w.window.currentFile(), divider);
  EXPECT_EQ(w.questions, 0);  // nothing unsaved, nothing asked
}

}  // namespace
