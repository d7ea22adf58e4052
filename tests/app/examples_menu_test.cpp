// The examples come from the menu as copies, and the version shows where the program names it.
#include "app/examples_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>

#include "app/main_window.h"
#include "help/about_dialog.h"
#include "model/version.h"
#include "support/scripted_prompts.h"

namespace {

using wolterix::app::TForm1;

TEST(ExamplesMenu, ListsEveryExampleByTitleAndOpensACopy) {
  const auto examples = wolterix::app::examplesIn(WOLTERIX_EXAMPLES);
  ASSERT_EQ(examples.size(), 17u);
  for (const auto& e : examples)
    EXPECT_FALSE(e.title.endsWith(QStringLiteral(".wtx"))) << e.path.toStdString();

  wolterix::testing::ScriptedDocumentPrompt prompt;
  TForm1 window;
  window.documents().setPrompt(prompt);
  auto* menu = window.findChild<QMenu*>(QStringLiteral("MXprzyklady"));
  ASSERT_NE(menu, nullptr);
  QAction* bridge = nullptr;
  for (QAction* a : menu->actions())
    if (a->text() == QStringLiteral("Trójfazowy mostek tyrystorowy")) bridge = a;
  ASSERT_NE(bridge, nullptr);
  EXPECT_EQ(menu->actions().size(), 17);

  const QString path = QStringLiteral(WOLTERIX_EXAMPLES "/mostek3f.wtx");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray before = file.readAll();
  bridge->trigger();
  EXPECT_EQ(window.schematic().elementCount(), 12);
  EXPECT_TRUE(window.currentFile().isEmpty());  // a copy: "Zapisz" asks for a name
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Wolterix - (bez nazwy)"));
  window.editor().selectAll();
  window.editor().rotateLeft();
  prompt.savePath.clear();  // the name question cancelled
  EXPECT_FALSE(window.documents().save());
  file.seek(0);
  EXPECT_EQ(file.readAll(), before);  // the example itself never changes
}

TEST(ExamplesMenu, TheVersionComesFromTheBuild) {
  EXPECT_FALSE(wolterix::model::programVersion().empty());
  EXPECT_EQ(
      wolterix::help::versionText(),
      QStringLiteral("wersja ") + QString::fromUtf8(wolterix::model::programVersion().data()));
  TForm1 window;
  bool shown = false;
  for (auto* label : window.findChildren<QLabel*>())
    shown = shown || label->text() == wolterix::help::versionText();
  EXPECT_TRUE(shown);  // on the start screen
}

}  // namespace
