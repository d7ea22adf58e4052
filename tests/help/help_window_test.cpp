#include "help/help_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>

#include "help/about_dialog.h"
#include "help/help_topics.h"

namespace wolterix::help {
namespace {

class HelpWindowTest : public ::testing::Test {
 protected:
  QTreeWidget* tree() { return window.findChild<QTreeWidget*>(QStringLiteral("topicTree")); }
  QTextBrowser* page() { return window.findChild<QTextBrowser*>(QStringLiteral("pageView")); }
  int selectedTopic() {
    QTreeWidgetItem* item = tree()->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
  }

  HelpWindow window;
};

TEST_F(HelpWindowTest, RequestShowsThePageAndSelectsItsTreeItem) {
  ASSERT_TRUE(tree());
  ASSERT_TRUE(page());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Pomoc – Wolterix"));
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.lastTopic(), 0);

  ASSERT_TRUE(window.showTopic(QStringLiteral("@#51")));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(selectedTopic(), 51);
  EXPECT_EQ(tree()->currentItem()->text(0), QStringLiteral("Rezystancja"));
  EXPECT_TRUE(page()->toPlainText().contains(QStringLiteral("Rezystancja")));
  EXPECT_TRUE(page()->toPlainText().contains(QStringLiteral("R > 0")));
  EXPECT_EQ(window.lastTopic(), 51);

  // A second dialog's request moves the same window on.
  ASSERT_TRUE(window.showTopic(QStringLiteral("@#66")));
  EXPECT_EQ(selectedTopic(), 66);
  EXPECT_TRUE(page()->toPlainText().contains(QStringLiteral("Uzr/100 > Pun/S")));

  window.hideHelp();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.lastTopic(), 66);
}

TEST_F(HelpWindowTest, BadRequestChangesNothing) {
  ASSERT_TRUE(window.showTopic(QStringLiteral("@#36")));
  const QString shown = page()->toHtml();
  for (const char* request : {"", "@#", "@#abc", "@#99999", "@#123456789012345678901234"}) {
    EXPECT_FALSE(window.showTopic(QString::fromLatin1(request))) << request;
  }
  EXPECT_EQ(selectedTopic(), 36);
  EXPECT_EQ(page()->toHtml(), shown);
  EXPECT_EQ(window.lastTopic(), 36);
}

TEST_F(HelpWindowTest, TreeClicksAndPageLinksNavigate) {
  window.showContents();
  EXPECT_EQ(window.lastTopic(), kOverviewTopic);

  tree()->setCurrentItem(
      tree()
          ->findItems(QStringLiteral("Dioda Zenera"), Qt::MatchExactly | Qt::MatchRecursive)
          .value(0));
  EXPECT_EQ(window.lastTopic(), 58);
  EXPECT_TRUE(page()->toPlainText().contains(QStringLiteral("Uz")));

  // The Zener page links to the diode's page.
  emit page()->anchorClicked(QUrl(QStringLiteral("@#57")));
  EXPECT_EQ(window.lastTopic(), 57);
  EXPECT_EQ(selectedTopic(), 57);

  window.showQuestions();
  EXPECT_TRUE(
      page()->toPlainText().contains(QStringLiteral("Niepołączony element lub grupa elementów.")));
  EXPECT_EQ(selectedTopic(), kQuestionsTopic);
}

TEST_F(HelpWindowTest, LastTopicReopensAfterHiding) {
  window.showLastTopic();  // nothing shown yet: the overview
  EXPECT_EQ(selectedTopic(), kOverviewTopic);
  window.showTopic(QStringLiteral("@#64"));
  window.hideHelp();
  window.showContents();
  window.showTopic(QStringLiteral("@#64"));
  window.hideHelp();
  window.showLastTopic();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(selectedTopic(), 64);
}

TEST(AboutDialogTest, ShowsNameVersionAndClosesOnOk) {
  AboutDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("O programie"));
  EXPECT_TRUE(dialog.isModal());
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("Wolterix")));
  EXPECT_TRUE(texts.contains(QStringLiteral("wersja 2.0")));
  const QLabel* icon = dialog.findChild<QLabel*>(QStringLiteral("aboutIcon"));
  ASSERT_TRUE(icon);
  EXPECT_FALSE(icon->pixmap().isNull());

  dialog.show();
  QPushButton* ok = nullptr;
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->text() == QStringLiteral("OK")) ok = button;
  ASSERT_TRUE(ok);
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace wolterix::help
