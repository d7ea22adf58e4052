#pragma once
/// The help window: a tree of topics beside the page of the chosen topic.

#include <QHash>
#include <QWidget>

class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace wolterix::help {

/// Top-level window that dialogs open on their topic by a "@#" + number request.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  /// Shows the topic of a "@#" + number request, selects it in the tree and raises the window.
  /// An unknown or malformed request changes nothing and returns false.
  bool showTopic(const QString& request);
  /// Opens the overview page ("Tematy pomocy").
  void showContents();
  /// Opens the questions and answers page.
  void showQuestions();
  /// Opens the page shown last, or the overview when none was shown yet.
  void showLastTopic();
  /// Hides the window when it is visible; dialogs call it when they close.
  void hideHelp();

  /// Number of the page shown last; 0 before any page was shown.
  int lastTopic() const { return m_lastTopic; }

 private:
  void showPage(int number);
  void onTreeSelection(QTreeWidgetItem* item);
  void onLink(const QUrl& url);

  QTreeWidget* m_tree;
  QTextBrowser* m_page;
  QHash<int, QTreeWidgetItem*> m_items;
  int m_lastTopic = 0;
};

}  // namespace wolterix::help
