#include "help/help_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>

#include "help/help_topics.h"

namespace wolterix::help {
namespace {

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString pageHtml(const HelpTopic& topic) {
  return QStringLiteral("<h2>%1</h2>%2")
      .arg(toQString(topic.title).toHtmlEscaped(), toQString(topic.page));
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_tree(new QTreeWidget), m_page(new QTextBrowser) {
  setWindowTitle(QStringLiteral("Pomoc – Wolterix"));
  m_tree->setObjectName(QStringLiteral("topicTree"));
  m_page->setObjectName(QStringLiteral("pageView"));

  m_tree->setHeaderHidden(true);
  m_tree->setColumnCount(1);
  for (const HelpTopic& topic : allTopics()) {
    // The table lists parents before their children, so one pass builds the tree.
    QTreeWidgetItem* parentItem = m_items.value(topic.parent, nullptr);
    auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_tree);
    item->setText(0, toQString(topic.title));
    item->setData(0, Qt::UserRole, topic.number);
    m_items.insert(topic.number, item);
  }
  m_tree->expandAll();

  // Links carry "@#" requests, not addresses; the window follows them itself.
  m_page->setOpenLinks(false);
  m_page->setOpenExternalLinks(false);

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->addWidget(m_tree);
  splitter->addWidget(m_page);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({280, 560});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);
  resize(860, 580);

  connect(m_tree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current) { onTreeSelection(current); });
  connect(m_page, &QTextBrowser::anchorClicked, this, &HelpWindow::onLink);
}

bool HelpWindow::showTopic(const QString& request) {
  const HelpTopic* topic = resolveTopicRequest(request.toStdString());
  if (!topic) return false;
  showPage(topic->number);
  show();
  raise();
  activateWindow();
  return true;
}

void HelpWindow::showContents() { showTopic(QString::fromStdString(topicRequest(kOverviewTopic))); }

void HelpWindow::showQuestions() {
  showTopic(QString::fromStdString(topicRequest(kQuestionsTopic)));
}

void HelpWindow::showLastTopic() {
  showTopic(QString::fromStdString(topicRequest(m_lastTopic ? m_lastTopic : kOverviewTopic)));
}

void HelpWindow::hideHelp() {
  if (isVisible()) hide();
}

void HelpWindow::showPage(int number) {
  const HelpTopic* topic = findTopic(number);
  if (!topic) return;
  m_lastTopic = number;
  m_page->setHtml(pageHtml(*topic));
  QTreeWidgetItem* item = m_items.value(number, nullptr);
  if (item && m_tree->currentItem() != item) {
    // Selecting the item calls back into onTreeSelection, which finds the page already shown.
    m_tree->setCurrentItem(item);
    m_tree->scrollToItem(item);
  }
}

void HelpWindow::onTreeSelection(QTreeWidgetItem* item) {
  if (!item) return;
  const int number = item->data(0, Qt::UserRole).toInt();
  if (number != m_lastTopic || m_page->document()->isEmpty()) showPage(number);
}

void HelpWindow::onLink(const QUrl& url) {
  // QUrl splits "@#51" into a path and a fragment; its whole text is the request again.
  showTopic(url.toString());
}

}  // namespace wolterix::help
