#include "app/start_panel.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/object_palette.h"
#include "app/tool_icons.h"
#include "help/about_dialog.h"

namespace wolterix::app {

QWidget* createStartPanel(QWidget* parent, const std::function<void()>& onStart) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(QStringLiteral("Panel1"));
  auto* layout = new QVBoxLayout(panel);
  auto* icon = new QLabel(panel);
  icon->setPixmap(programIcon().pixmap(64, 64));
  icon->setAlignment(Qt::AlignCenter);
  auto* name = new QLabel(QStringLiteral("Wolterix"), panel);
  name->setObjectName(QStringLiteral("Label1"));
  QFont big = name->font();
  big.setPixelSize(34);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel(help::versionText(), panel);
  version->setObjectName(QStringLiteral("Label2"));
  version->setAlignment(Qt::AlignCenter);
  auto* about = new QLabel(
      QStringLiteral("Symulator obwodów elektrycznych i energoelektronicznych do nauki"), panel);
  about->setObjectName(QStringLiteral("Label3"));
  about->setAlignment(Qt::AlignCenter);
  about->setWordWrap(true);
  auto* startButton = new QPushButton(QStringLiteral("S T A R T"), panel);
  startButton->setObjectName(QStringLiteral("SpeedButton1"));
  startButton->setDefault(true);
  QObject::connect(startButton, &QPushButton::clicked, panel, onStart);
  layout->addWidget(icon);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(about);
  layout->addStretch();
  layout->addWidget(startButton);
  return panel;
}

// The window shows the start panel alone in a small frameless box until "S T A R T".
void TForm1::showStartScreen() {
  m_started = false;
  m_pages->setCurrentIndex(0);
  menuBar()->hide();
  m_toolPalette->hide();
  m_objectPalette->hide();
  statusBar()->hide();
  setWindowFlag(Qt::FramelessWindowHint, true);
  setFixedSize(350, 240);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(175, 120));
}

void TForm1::start() {
  const bool wasShown = isVisible();
  m_started = true;
  m_pages->setCurrentIndex(1);
  setWindowFlag(Qt::FramelessWindowHint, false);
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    setGeometry(area.x() + area.width() / 10, area.y() + area.height() / 10, area.width() * 8 / 10,
                area.height() * 8 / 10);
  }
  menuBar()->show();
  applyView();
  if (wasShown) showMaximized();
}

}  // namespace wolterix::app
