#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "editor/main_window.h"

namespace {

using wolterix::editor::TForm1;

TEST(MainWindow, TitleNamesTheFileWithoutDirectoryAndExtension) {
  EXPECT_EQ(TForm1::titleFor({}), QStringLiteral("Wolterix - (bez nazwy)"));
  EXPECT_EQ(TForm1::titleFor(QStringLiteral("/home/ala/prostownik.wtx")),
            QStringLiteral("Wolterix - prostownik"));
}

TEST(MainWindow, OpensShowsAndClosesCleanly) {
  TForm1 window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Wolterix - (bez nazwy)"));
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx")));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Wolterix - dzielnik"));
  EXPECT_GT(window.schematic().elementCount(), 0);
  EXPECT_TRUE(window.close());
}

TEST(MainWindow, AMissingFileKeepsTheSchematic) {
  TForm1 window;
  ASSERT_TRUE(window.openFile(QStringLiteral(WOLTERIX_EXAMPLES "/dzielnik.wtx")));
  const int before = window.schematic().elementCount();
  // The warning box is modal: close it as soon as it shows.
  QTimer::singleShot(0, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  EXPECT_FALSE(window.openFile(QStringLiteral("/nonexistent/brak.wtx")));
  EXPECT_EQ(window.schematic().elementCount(), before);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Wolterix - dzielnik"));
}

}  // namespace
