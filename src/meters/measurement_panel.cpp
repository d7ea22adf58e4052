#include "meters/measurement_panel.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>

#include "model/element.h"

namespace wolterix::meters {

namespace {
constexpr int kPanelWidth = 165;
constexpr int kIconSize = 24;
constexpr int kSmallIconSize = 14;
const QColor kLime(0x00, 0xFF, 0x00);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kPlayGreen(0x1E, 0x8C, 0x2A);
const QColor kStopRed(0xB0, 0x1C, 0x1C);

// Every picture is drawn at twice its size, so it stays sharp on high-density screens.
constexpr qreal kScale = 2.0;

QPixmap blankPicture(int width, int height) {
  QPixmap picture(static_cast<int>(width * kScale), static_cast<int>(height * kScale));
  picture.setDevicePixelRatio(kScale);
  picture.fill(Qt::transparent);
  return picture;
}

void prepare(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
}

QFont boldFont(int pixelSize) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(pixelSize);
  font.setBold(true);
  return font;
}

// A meter dial: the letter of the quantity in a circle with a small plus for "add".
QIcon addIcon(const QString& letter) {
  QPixmap picture = blankPicture(kIconSize, kIconSize);
  QPainter painter(&picture);
  prepare(painter);
  const QRectF dial(2.5, 3.5, 18, 18);
  painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.6));
  painter.setBrush(QColor(0xFF, 0xFC, 0xE8));
  painter.drawEllipse(dial);
  painter.setFont(boldFont(11));
  painter.setPen(Qt::black);
  painter.drawText(dial, Qt::AlignCenter, letter);
  painter.setPen(QPen(kPlayGreen, 2.2, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(QPointF(19.5, 0.5), QPointF(19.5, 7.5));
  painter.drawLine(QPointF(16, 4), QPointF(23, 4));
  return QIcon(picture);
}

QPolygonF triangle(qreal left, qreal top, qreal width, qreal height) {
  return QPolygonF(
      {QPointF(left, top), QPointF(left + width, top + height / 2), QPointF(left, top + height)});
}

// A play triangle with a small panel meter in its corner.
QIcon startIcon() {
  QPixmap picture = blankPicture(kIconSize, kIconSize);
  QPainter painter(&picture);
  prepare(painter);
  painter.setPen(QPen(kPlayGreen.darker(130), 1.0));
  painter.setBrush(kPlayGreen);
  painter.drawPolygon(triangle(2, 1.5, 13, 15));
  const QRectF meter(10.5, 12.5, 12.5, 10);
  painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(meter, 1.5, 1.5);
  const QPointF pivot(meter.center().x(), meter.bottom() - 1.5);
  painter.drawArc(QRectF(pivot.x() - 4.5, pivot.y() - 4.5, 9, 9), 30 * 16, 120 * 16);
  painter.setPen(QPen(kStopRed, 1.2));
  painter.drawLine(pivot, pivot + QPointF(3.5, -5.5));
  return QIcon(picture);
}

QIcon stopIcon() {
  QPixmap picture = blankPicture(kIconSize, kIconSize);
  QPainter painter(&picture);
  prepare(painter);
  painter.setPen(QPen(kStopRed.darker(130), 1.0));
  painter.setBrush(kStopRed);
  painter.drawRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
  return QIcon(picture);
}

// Play-forward: two triangles, one after the other.
QIcon continueIcon() {
  QPixmap picture = blankPicture(kIconSize, kIconSize);
  QPainter painter(&picture);
  prepare(painter);
  painter.setPen(QPen(kPlayGreen.darker(130), 1.0));
  painter.setBrush(kPlayGreen);
  painter.drawPolygon(triangle(2.5, 5, 9.5, 14));
  painter.drawPolygon(triangle(12, 5, 9.5, 14));
  return QIcon(picture);
}

// Three slider tracks with their knobs: the settings of a meter.
QIcon optionsIcon() {
  QPixmap picture = blankPicture(kSmallIconSize, kSmallIconSize);
  QPainter painter(&picture);
  prepare(painter);
  const qreal knobs[] = {9.5, 4.5, 7.5};
  for (int i = 0; i < 3; ++i) {
    const qreal y = 3 + 4 * i;
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.2));
    painter.drawLine(QPointF(1.5, y), QPointF(12.5, y));
    painter.setBrush(QColor(0x20, 0x50, 0xA0));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(knobs[i], y), 1.9, 1.9);
  }
  return QIcon(picture);
}

QIcon closeIcon() {
  QPixmap picture = blankPicture(kSmallIconSize, kSmallIconSize);
  QPainter painter(&picture);
  prepare(painter);
  painter.setPen(QPen(kStopRed, 2.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(3.5, 3.5), QPointF(10.5, 10.5));
  painter.drawLine(QPointF(10.5, 3.5), QPointF(3.5, 10.5));
  return QIcon(picture);
}

// One frame of an analogue meter whose needle swings to full scale and back over eight frames.
QPixmap meterFramePicture(int frame) {
  constexpr int kWidth = 58;
  constexpr int kHeight = 46;
  QPixmap picture = blankPicture(kWidth, kHeight);
  QPainter painter(&picture);
  prepare(painter);
  painter.setPen(QPen(QColor(0x50, 0x50, 0x50), 1.2));
  painter.setBrush(QColor(0xFF, 0xFC, 0xE8));
  painter.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), 4, 4);

  const QPointF pivot(kWidth / 2.0, kHeight - 8.0);
  const qreal radius = kHeight - 16.0;
  const auto along = [&](qreal degrees, qreal r) {
    const qreal a = degrees * std::numbers::pi / 180.0;
    return pivot + QPointF(r * std::cos(a), -r * std::sin(a));
  };
  const QRectF arc(pivot.x() - radius, pivot.y() - radius, 2 * radius, 2 * radius);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 1.0));
  painter.drawArc(arc, 40 * 16, 100 * 16);
  painter.setPen(QPen(kStopRed, 2.0, Qt::SolidLine, Qt::FlatCap));
  painter.drawArc(arc, 40 * 16, 20 * 16);
  painter.setPen(QPen(Qt::black, 1.0));
  for (int tick = 0; tick <= 10; ++tick) {
    const qreal degrees = 140.0 - 10.0 * tick;
    painter.drawLine(along(degrees, radius), along(degrees, radius - (tick % 5 == 0 ? 5.0 : 3.0)));
  }

  const qreal swing = (1.0 - std::cos(2.0 * std::numbers::pi * frame / 8.0)) / 2.0;
  painter.setPen(QPen(kStopRed, 1.4, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(pivot, along(140.0 - 100.0 * swing, radius - 2.0));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x20, 0x20, 0x20));
  painter.drawEllipse(pivot, 2.5, 2.5);
  return picture;
}

// The quantity letter, white on a maroon disc.
class BadgeLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    prepare(painter);
    const QRectF disc = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kMaroon);
    painter.drawEllipse(disc);
    painter.setPen(Qt::white);
    painter.setFont(font());
    painter.drawText(disc, Qt::AlignCenter, text());
  }
};

QToolButton* toolButton(QWidget* parent, const QString& name, const QIcon& icon,
                        const QString& hint, const QString& longHint, int iconSize) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(icon);
  button->setIconSize(QSize(iconSize, iconSize));
  button->setToolTip(hint);
  button->setStatusTip(longHint);
  button->setAutoRaise(true);
  return button;
}

QLabel* screenLabel(QWidget* parent, const QString& name, int pixelSize, Qt::Alignment alignment) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(pixelSize);
  font.setBold(true);
  label->setFont(font);
  label->setAlignment(alignment);
  label->setStyleSheet(QStringLiteral("color: %1; background-color: black;").arg(kLime.name()));
  return label;
}
// Shows text in the label's font, made smaller (down to a third) where it would not fit the
// label's width: a long reading ("-0.8272") or unit ("kvar") stays whole in the narrow panel.
void showFitted(QLabel* label, const QString& text, int pixelSize) {
  QFont font = label->font();
  font.setPixelSize(pixelSize);
  const int width = label->contentsRect().width();
  while (width > 0 && font.pixelSize() > pixelSize / 3 &&
         QFontMetrics(font).horizontalAdvance(text) > width)
    font.setPixelSize(font.pixelSize() - 1);
  label->setFont(font);
  label->setText(text);
}

constexpr int kValuePixels = 27;
constexpr int kUnitPixels = 17;
constexpr int kIndicationPixels = 10;

}  // namespace

MeasurementPanel::MeasurementPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelPomiar"));
  setFixedWidth(kPanelWidth);
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Raised);

  m_add[0] = toolButton(this, QStringLiteral("dodU"), addIcon(QStringLiteral("V")),
                        QString::fromUtf8(kAddVoltageHint.tip),
                        QString::fromUtf8(kAddVoltageHint.status), kIconSize);
  m_add[1] = toolButton(this, QStringLiteral("dodI"), addIcon(QStringLiteral("A")),
                        QString::fromUtf8(kAddCurrentHint.tip),
                        QString::fromUtf8(kAddCurrentHint.status), kIconSize);
  m_add[2] = toolButton(this, QStringLiteral("dodP"), addIcon(QStringLiteral("W")),
                        QString::fromUtf8(kAddPowerHint.tip),
                        QString::fromUtf8(kAddPowerHint.status), kIconSize);
  const engine::MeterQuantity added[] = {
      engine::MeterQuantity::Voltage, engine::MeterQuantity::Current, engine::MeterQuantity::Power};
  for (int i = 0; i < 3; ++i)
    connect(m_add[i], &QToolButton::clicked, this, [this, quantity = added[i]] {
      if (onAdd) onAdd(quantity);
    });

  m_start =
      toolButton(this, QStringLiteral("StartPause"), startIcon(), QString::fromUtf8(kStartHint.tip),
                 QString::fromUtf8(kStartHint.status), kIconSize);
  m_stop = toolButton(this, QStringLiteral("Stop"), stopIcon(), QString::fromUtf8(kStopHint.tip),
                      QString::fromUtf8(kStopHint.status), kIconSize);
  // Esc stops a running measurement too; it is left alone otherwise.
  m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(m_escape, &QShortcut::activated, this, [this] {
    if (m_running && onStop) onStop();
  });
  m_continue = toolButton(this, QStringLiteral("Continue"), continueIcon(),
                          QString::fromUtf8(kContinueHint.tip),
                          QString::fromUtf8(kContinueHint.status), kIconSize);
  connect(m_start, &QToolButton::clicked, this, [this] {
    if (onStart) onStart();
  });
  connect(m_stop, &QToolButton::clicked, this, [this] {
    if (onStop) onStop();
  });
  connect(m_continue, &QToolButton::clicked, this, [this] {
    if (onContinue) onContinue();
  });

  for (int i = 0; i < 8; ++i) m_frames[i] = meterFramePicture(i);
  m_animation = new QLabel(this);
  m_animation->setObjectName(QStringLiteral("Animacja"));
  m_animation->setPixmap(m_frames[0]);
  m_animation->setAlignment(Qt::AlignCenter);

  auto* buttons = new QGridLayout;
  buttons->setSpacing(1);
  for (int i = 0; i < 3; ++i) buttons->addWidget(m_add[i], 0, i);
  buttons->addWidget(m_start, 1, 0);
  buttons->addWidget(m_stop, 1, 1);
  buttons->addWidget(m_continue, 1, 2);
  auto* top = new QHBoxLayout;
  top->setSpacing(4);
  top->addLayout(buttons);
  top->addStretch(1);
  top->addWidget(m_animation);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  layout->setSpacing(3);
  layout->addLayout(top);
  // On a small screen the six meters scroll rather than squeeze or push the window taller.
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* column = new QWidget(scroll);
  auto* meters = new QVBoxLayout(column);
  meters->setContentsMargins(0, 0, 0, 0);
  meters->setSpacing(3);
  for (int i = 0; i < kSlotCount; ++i) meters->addWidget(createDisplay(i));
  meters->addStretch(1);
  scroll->setWidget(column);
  layout->addWidget(scroll, 1);

  updateButtons();
}

QWidget* MeasurementPanel::createDisplay(int index) {
  const QString k = QString::number(index + 1);
  Display& d = m_displays[index];
  auto* group = new QFrame(this);
  group->setObjectName(QStringLiteral("Miernik") + k);
  group->setFrameShape(QFrame::StyledPanel);
  group->setFrameShadow(QFrame::Raised);
  group->setFixedHeight(98);
  d.group = group;

  d.badge = new BadgeLabel(QStringLiteral("U"), group);
  d.badge->setObjectName(QStringLiteral("Znak") + k);
  d.badge->setFont(boldFont(11));
  d.badge->setFixedSize(18, 18);
  d.name = new QLabel(group);
  d.name->setObjectName(QStringLiteral("Lbn") + k);
  d.name->setFont(boldFont(12));
  d.options = toolButton(
      group, QStringLiteral("Opcje") + k, optionsIcon(), QStringLiteral("Opcje"),
      QStringLiteral("Wywołuje pole dialogowe opcji miernika: zakres,wskazanie,wielkość mierzona"),
      kSmallIconSize);
  d.close = toolButton(group, QStringLiteral("End") + k, closeIcon(), QStringLiteral("Zamknij"),
                       QStringLiteral("Zamyka miernik"), kSmallIconSize);
  connect(d.options, &QToolButton::clicked, this, [this, index] {
    if (onOptions) onOptions(index);
  });
  connect(d.close, &QToolButton::clicked, this, [this, index] {
    if (onClose) onClose(index);
  });

  auto* screen = new QFrame(group);
  screen->setObjectName(QStringLiteral("Ekran") + k);
  screen->setStyleSheet(
      QStringLiteral("QFrame#Ekran%1 { background-color: black; border: 2px solid #505050;"
                     " border-radius: 3px; }")
          .arg(k));
  d.value = screenLabel(screen, QStringLiteral("Display") + k, kValuePixels,
                        Qt::AlignRight | Qt::AlignVCenter);
  // The reading takes what the unit leaves and never widens the panel.
  d.value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  d.value->setMinimumWidth(0);
  d.unit =
      screenLabel(screen, QStringLiteral("Unit") + k, kUnitPixels, Qt::AlignLeft | Qt::AlignBottom);
  d.indication = screenLabel(screen, QStringLiteral("Wart") + k, kIndicationPixels,
                             Qt::AlignLeft | Qt::AlignTop);
  const int unitWidth = d.unit->fontMetrics().horizontalAdvance(QStringLiteral("MW"));
  d.unit->setFixedWidth(
      qMax(unitWidth, d.indication->fontMetrics().horizontalAdvance(QStringLiteral("TRMS"))));
  d.indication->setFixedWidth(d.unit->width());

  auto* units = new QVBoxLayout;
  units->setSpacing(0);
  units->addWidget(d.unit);
  units->addWidget(d.indication);
  auto* readout = new QHBoxLayout(screen);
  readout->setContentsMargins(4, 3, 5, 3);
  readout->setSpacing(4);
  readout->addWidget(d.value, 1);
  readout->addLayout(units);

  auto* heading = new QHBoxLayout;
  heading->setSpacing(3);
  heading->addWidget(d.badge);
  heading->addWidget(d.name, 1);
  heading->addWidget(d.options);
  heading->addWidget(d.close);

  auto* column = new QVBoxLayout(group);
  column->setContentsMargins(4, 3, 4, 4);
  column->setSpacing(3);
  column->addLayout(heading);
  column->addWidget(screen, 1);
  group->hide();
  return group;
}

void MeasurementPanel::showSlot(int index, const engine::MeterSlot& slot) {
  if (index < 0 || index >= kSlotCount) return;
  Display& d = m_displays[index];
  if (!slot.inUse) {
    d.group->hide();
    return;
  }
  const QString name = slot.element ? QString::fromStdString(slot.element->name()) : QString();
  d.name->setText(name);
  d.name->setToolTip(name);
  d.badge->setText(QString::fromStdString(engine::quantityLetter(slot.quantity)));
  d.group->show();
  // Fitted once the group has its width.
  d.group->layout()->activate();
  showFitted(d.value, QString::fromStdString(slot.display), kValuePixels);
  showFitted(d.unit, QString::fromStdString(engine::displayUnit(slot)), kUnitPixels);
  showFitted(d.indication, QString::fromStdString(engine::indicationText(slot.indication)),
             kIndicationPixels);
}

void MeasurementPanel::setAddEnabled(bool enabled) {
  m_addEnabled = enabled;
  updateButtons();
}

void MeasurementPanel::setRunning(bool running, bool continuable) {
  m_running = running;
  m_continuable = continuable;
  updateButtons();
}

void MeasurementPanel::setAnimationFrame(int frame) {
  m_animation->setPixmap(m_frames[((frame % 8) + 8) % 8]);
  m_animation->repaint();
}

void MeasurementPanel::updateButtons() {
  for (QToolButton* add : m_add) add->setEnabled(m_addEnabled && !m_running);
  m_start->setEnabled(!m_running);
  m_stop->setEnabled(m_running);
  m_escape->setEnabled(m_running);
  m_continue->setEnabled(!m_running && m_continuable);
  for (const Display& d : m_displays) {
    d.options->setEnabled(!m_running);
    d.close->setEnabled(!m_running);
  }
}

}  // namespace wolterix::meters
