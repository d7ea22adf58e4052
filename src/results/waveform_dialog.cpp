#include "results/waveform_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "results/plot_scales.h"

namespace wolterix::results {

namespace {
constexpr int kHelpTopic = 39;

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QColor toQColor(drawing::Color c) { return QColor(c.r, c.g, c.b); }
}  // namespace

TPrzeb2Dialog::TPrzeb2Dialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Przebiegi"));
  m_tabs = new QTabWidget(this);

  // The waveforms: the list of the last run and the six slots beside it.
  m_waveformTab = new QWidget;
  m_list = new QListWidget(m_waveformTab);
  m_list->setObjectName(QStringLiteral("ListBox1"));
  auto* slotsGrid = new QGridLayout;
  for (int k = 0; k < WaveformSelection::kSlotCount; ++k) {
    auto* arrow = new QToolButton(m_waveformTab);
    arrow->setObjectName(QStringLiteral("Over%1").arg(k + 1));
    arrow->setArrowType(Qt::RightArrow);
    connect(arrow, &QToolButton::clicked, this, [this, k] { OverClick(k); });
    m_markers[k] = new QLabel(QStringLiteral("  %1  ").arg(k + 1), m_waveformTab);
    m_markers[k]->setAutoFillBackground(true);
    m_slotEdits[k] = new QLineEdit(m_waveformTab);
    m_slotEdits[k]->setObjectName(QStringLiteral("ed%1").arg(k));
    m_slotEdits[k]->setReadOnly(true);
    m_slotEdits[k]->installEventFilter(this);
    m_slotOn[k] = new QCheckBox(m_waveformTab);
    m_slotOn[k]->setObjectName(QStringLiteral("cb%1").arg(k));
    slotsGrid->addWidget(arrow, k, 0);
    slotsGrid->addWidget(m_markers[k], k, 1);
    slotsGrid->addWidget(m_slotEdits[k], k, 2);
    slotsGrid->addWidget(m_slotOn[k], k, 3);
  }
  auto* waveformLayout = new QHBoxLayout(m_waveformTab);
  waveformLayout->addWidget(m_list);
  waveformLayout->addLayout(slotsGrid);
  connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
    // A double click on the list fills the first free slot, the quickest way to add a trace.
    for (int k = 0; k < WaveformSelection::kSlotCount; ++k)
      if (m_slotEdits[k]->text().isEmpty()) return OverClick(k);
  });

  // The fixed scales of the time plots: value and unit steps per quantity.
  m_scaleTab = new QWidget;
  auto* scaleGrid = new QGridLayout(m_scaleTab);
  const char* quantityNames[] = {"Napięcie", "Prąd", "Prędkość", "Moc"};
  // Steps of each quantity (value, unit), in button order; -1 where there is none.
  const int stepsOf[kQuantityCount][2] = {{0, 1}, {2, 3}, {4, -1}, {5, 6}};
  for (int q = 0; q < kQuantityCount; ++q) {
    m_fixed[q] = new QCheckBox(QString::fromUtf8(quantityNames[q]), m_scaleTab);
    m_fixed[q]->setObjectName(QStringLiteral("Stala%1").arg(q));
    scaleGrid->addWidget(m_fixed[q], q, 0);
    for (int part = 0; part < 2; ++part) {
      const int step = stepsOf[q][part];
      if (step < 0) {
        scaleGrid->addWidget(new QLabel(text(kSpeedUnitText), m_scaleTab), q, 3);
        continue;
      }
      m_stepLabels[step] = new QLabel(m_scaleTab);
      m_stepLabels[step]->setMinimumWidth(40);
      m_stepLabels[step]->setAlignment(part == 0 ? Qt::AlignRight | Qt::AlignVCenter
                                                 : Qt::AlignLeft | Qt::AlignVCenter);
      auto* up = new QToolButton(m_scaleTab);
      up->setObjectName(QStringLiteral("UD%1up").arg(step + 1));
      up->setArrowType(Qt::UpArrow);
      auto* down = new QToolButton(m_scaleTab);
      down->setObjectName(QStringLiteral("UD%1down").arg(step + 1));
      down->setArrowType(Qt::DownArrow);
      connect(up, &QToolButton::clicked, this, [this, step] { UDcl(step, +1); });
      connect(down, &QToolButton::clicked, this, [this, step] { UDcl(step, -1); });
      auto* arrows = new QVBoxLayout;
      arrows->setSpacing(0);
      arrows->addWidget(up);
      arrows->addWidget(down);
      scaleGrid->addWidget(m_stepLabels[step], q, 1 + 2 * part);
      scaleGrid->addLayout(arrows, q, 2 + 2 * part);
    }
  }

  // The transfer-function plots: kind, decibel span, start marks, coordinates.
  m_transferTab = new QWidget;
  auto* transferLayout = new QVBoxLayout(m_transferTab);
  auto* kindBox = new QGroupBox(QStringLiteral("Rodzaj"), m_transferTab);
  auto* kindLayout = new QVBoxLayout(kindBox);
  m_plotKind = new QButtonGroup(this);
  for (int k = 0; k < int(kTransferPlotKindTexts.size()); ++k) {
    auto* radio = new QRadioButton(text(kTransferPlotKindTexts[k]), kindBox);
    m_plotKind->addButton(radio, k);
    kindLayout->addWidget(radio);
  }
  m_magnitudeScale = new QComboBox(m_transferTab);
  m_magnitudeScale->setObjectName(QStringLiteral("SkalaDB"));
  for (auto s : kMagnitudeScaleTexts) m_magnitudeScale->addItem(text(s));
  m_markStart = new QCheckBox(text(kMarkStartPointsText), m_transferTab);
  auto* coordBox = new QGroupBox(QStringLiteral("Układ współrzędnych"), m_transferTab);
  auto* coordLayout = new QVBoxLayout(coordBox);
  m_coordinates = new QButtonGroup(this);
  for (int k = 0; k < int(kCoordinateSystemTexts.size()); ++k) {
    auto* radio = new QRadioButton(text(kCoordinateSystemTexts[k]), coordBox);
    m_coordinates->addButton(radio, k);
    coordLayout->addWidget(radio);
  }
  transferLayout->addWidget(kindBox);
  transferLayout->addWidget(new QLabel(QStringLiteral("Skala:"), m_transferTab));
  transferLayout->addWidget(m_magnitudeScale);
  transferLayout->addWidget(m_markStart);
  transferLayout->addWidget(coordBox);

  m_tabs->addTab(m_waveformTab, QStringLiteral("Przebiegi"));
  m_tabs->addTab(m_scaleTab, QStringLiteral("Skala..."));
  m_tabs->addTab(m_transferTab, QStringLiteral("Rodzaj / Skala"));

  auto* box = new QDialogButtonBox(this);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  box->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
  QPushButton* help = box->addButton(QStringLiteral("Pomoc"), QDialogButtonBox::HelpRole);
  ok->setDefault(true);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (onHelp) onHelp(kHelpTopic);
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addWidget(box);

  const PlotColors colors = plotColors(drawing::Color{0, 0, 0}, GridMode::Faint);
  std::array<QColor, 6> traces;
  for (int k = 0; k < 6; ++k) traces[k] = toQColor(colors.traces[k]);
  setTraceColors(Qt::black, traces);
}

void TPrzeb2Dialog::setTraceColors(const QColor& background, const std::array<QColor, 6>& traces) {
  for (int k = 0; k < 6; ++k) {
    QPalette palette = m_markers[k]->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, traces[k]);
    m_markers[k]->setPalette(palette);
  }
}

bool TPrzeb2Dialog::edit(WaveformSelection& selection, const std::vector<std::string>& list,
                         bool transfer) {
  load(selection, list, transfer);
  if (exec() != QDialog::Accepted) return false;
  selection = controls();
  return true;
}

void TPrzeb2Dialog::load(const WaveformSelection& selection, const std::vector<std::string>& list,
                         bool transfer) {
  m_tabs->setTabVisible(m_tabs->indexOf(m_scaleTab), !transfer);
  m_tabs->setTabVisible(m_tabs->indexOf(m_transferTab), transfer);
  m_tabs->setCurrentIndex(m_tabs->isTabVisible(m_lastTab) ? m_lastTab : 0);

  m_list->clear();
  for (const auto& name : list) m_list->addItem(QString::fromStdString(name));
  if (m_list->count() > 0) m_list->setCurrentRow(0);

  m_working = selection;
  m_working.clearSlotsNotIn(list);
  for (int k = 0; k < WaveformSelection::kSlotCount; ++k) {
    m_slotEdits[k]->setText(QString::fromStdString(m_working.traceSlots[k].name));
    m_slotOn[k]->setChecked(m_working.traceSlots[k].on);
  }
  for (int q = 0; q < kQuantityCount; ++q) m_fixed[q]->setChecked(m_working.fixedScale[q]);
  m_plotKind->button(static_cast<int>(m_working.transferPlot))->setChecked(true);
  m_magnitudeScale->setCurrentIndex(std::clamp(m_working.magnitudeScale, 0, 5));
  m_markStart->setChecked(m_working.markStartPoints);
  m_coordinates->button(static_cast<int>(m_working.coordinates))->setChecked(true);
  showSteps();
}

WaveformSelection TPrzeb2Dialog::controls() const {
  WaveformSelection s = m_working;
  for (int k = 0; k < WaveformSelection::kSlotCount; ++k)
    s.traceSlots[k] = {m_slotEdits[k]->text().toStdString(), m_slotOn[k]->isChecked()};
  for (int q = 0; q < kQuantityCount; ++q) s.fixedScale[q] = m_fixed[q]->isChecked();
  s.transferPlot = static_cast<TransferPlotKind>(std::max(0, m_plotKind->checkedId()));
  s.magnitudeScale = m_magnitudeScale->currentIndex();
  s.markStartPoints = m_markStart->isChecked();
  s.coordinates = static_cast<CoordinateSystem>(std::max(0, m_coordinates->checkedId()));
  return s;
}

void TPrzeb2Dialog::OverClick(int slot) {
  const QListWidgetItem* item = m_list->currentItem();
  if (!item || slot < 0 || slot >= WaveformSelection::kSlotCount) return;
  m_slotEdits[slot]->setText(item->text());
  m_slotOn[slot]->setChecked(true);
}

void TPrzeb2Dialog::edDbCl(int slot) {
  if (slot < 0 || slot >= WaveformSelection::kSlotCount) return;
  m_slotEdits[slot]->clear();
  m_slotOn[slot]->setChecked(false);
}

void TPrzeb2Dialog::UDcl(int step, int delta) {
  if (step < 0 || step >= kScaleStepCount) return;
  m_working.moveStep(static_cast<ScaleStep>(step), delta);
  showSteps();
}

void TPrzeb2Dialog::showSteps() {
  for (int s = 0; s < kScaleStepCount; ++s)
    m_stepLabels[s]->setText(
        QString::fromStdString(stepText(static_cast<ScaleStep>(s), m_working.steps[s])));
}

void TPrzeb2Dialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    if (onHelp) onHelp(kHelpTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TPrzeb2Dialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    for (int k = 0; k < WaveformSelection::kSlotCount; ++k) {
      if (watched == m_slotEdits[k]) {
        edDbCl(k);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TPrzeb2Dialog::done(int result) {
  m_lastTab = m_tabs->currentIndex();
  QDialog::done(result);
}

}  // namespace wolterix::results
