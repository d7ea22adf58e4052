#include "help/about_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>

#include "model/version.h"

namespace wolterix::help {

QString versionText() {
  const std::string_view version = model::programVersion();
  return QStringLiteral("wersja ") +
         QString::fromUtf8(version.data(), static_cast<qsizetype>(version.size()));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("O programie"));
  setModal(true);

  auto* icon = new QLabel;
  icon->setObjectName(QStringLiteral("aboutIcon"));
  icon->setPixmap(drawIcon(64));

  auto* name = new QLabel(QStringLiteral("Wolterix"));
  QFont nameFont = name->font();
  nameFont.setPixelSize(24);
  nameFont.setBold(true);
  name->setFont(nameFont);
  auto* version = new QLabel(versionText());
  auto* description = new QLabel(
      QStringLiteral("Symulator obwodów elektrycznych i energoelektronicznych do nauki."));

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(version);
  texts->addSpacing(8);
  texts->addWidget(description);

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts, 1);

  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(12);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedSize(sizeHint());
}

QPixmap AboutDialog::drawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const double s = size;

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(16, 32, 64));
  painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.12, s * 0.12);

  // One period of a sine in the upper half, in the plot window's first trace colour.
  QPainterPath wave;
  const double left = s * 0.12;
  const double width = s * 0.76;
  const double axis = s * 0.34;
  const double amplitude = s * 0.16;
  for (int i = 0; i <= 48; ++i) {
    const double x = left + width * i / 48.0;
    const double y = axis - amplitude * std::sin(2.0 * std::numbers::pi * i / 48.0);
    if (i == 0)
      wave.moveTo(x, y);
    else
      wave.lineTo(x, y);
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0, 255, 0), s / 24.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawPath(wave);

  // A resistor (rectangle with two leads) in the lower half.
  const double y = s * 0.72;
  painter.setPen(QPen(Qt::white, s / 24.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(s * 0.1, y), QPointF(s * 0.3, y));
  painter.drawLine(QPointF(s * 0.7, y), QPointF(s * 0.9, y));
  painter.drawRect(QRectF(s * 0.3, y - s * 0.08, s * 0.4, s * 0.16));
  return pixmap;
}

}  // namespace wolterix::help
