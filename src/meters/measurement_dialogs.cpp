#include "meters/measurement_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

#include "dialogs/simulation_dialogs.h"

namespace wolterix::meters {

namespace {
constexpr int kMeasurementTopic = 38;
constexpr int kOptionsTopic = 40;
constexpr int kRangeCount = 16;

const char* const kRangeTexts[kRangeCount] = {"1000 G", "100 G", "10 G", "1000 M", "100 M", "10 M",
                                              "1000 k", "100 k", "10 k", "1000 ",  "100 ",  "10 ",
                                              "1000 m", "100 m", "10 m", "1000 u"};

// A slider that tells where its handle stands for any value, so the scale labels can sit level
// with the positions whatever the style draws.
class RangeSlider : public QSlider {
 public:
  using QSlider::QSlider;

  int handleCentre(int value) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = value;
    option.sliderValue = value;
    return style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this)
        .center()
        .y();
  }
};

// The vertical range slider with one label beside each position.
class RangeScale : public QWidget {
 public:
  explicit RangeScale(QWidget* parent) : QWidget(parent) {
    m_slider = new RangeSlider(Qt::Vertical, this);
    m_slider->setObjectName(QStringLiteral("Zakres"));
    m_slider->setRange(0, kRangeCount - 1);
    m_slider->setPageStep(1);
    m_slider->setTickInterval(1);
    m_slider->setTickPosition(QSlider::TicksRight);
    // Position 0 (the largest range) at the top, and the arrow keys moving the way it looks.
    m_slider->setInvertedAppearance(true);
    m_slider->setInvertedControls(true);
    for (int i = 0; i < kRangeCount; ++i) m_labels[i] = new QLabel(this);
  }

  QSlider* slider() const { return m_slider; }
  QLabel* label(int i) const { return m_labels[i]; }

  QSize minimumSizeHint() const override {
    const int row = fontMetrics().height() + 2;
    const int text = fontMetrics().horizontalAdvance(QStringLiteral("1000 MW")) + 8;
    return {m_slider->sizeHint().width() + kGap + text, kRangeCount * row + row};
  }
  QSize sizeHint() const override { return minimumSizeHint(); }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    const int sliderWidth = m_slider->sizeHint().width();
    m_slider->setGeometry(0, 0, sliderWidth, height());
    const int row = fontMetrics().height();
    for (int i = 0; i < kRangeCount; ++i)
      m_labels[i]->setGeometry(sliderWidth + kGap, m_slider->handleCentre(i) - row / 2,
                               width() - sliderWidth - kGap, row);
  }

 private:
  static constexpr int kGap = 4;
  RangeSlider* m_slider;
  std::array<QLabel*, kRangeCount> m_labels{};
};

}  // namespace

TPomiarDialog::TPomiarDialog(int samples, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Pomiar (Real-Time)"));
  m_frequency = new QLineEdit(this);
  m_frequency->setObjectName(QStringLiteral("Edit1"));
  m_frequency->setMaxLength(13);
  m_cycles = new QLineEdit(this);
  m_cycles->setObjectName(QStringLiteral("Edit2"));
  m_cycles->setMaxLength(13);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Częstotliwość :"), this), 0, 0);
  grid->addWidget(m_frequency, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Hz"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Ilość cykli :"), this), 1, 0);
  grid->addWidget(m_cycles, 1, 1);
  const dialogs::IterationRow iterations = dialogs::addIterationRow(grid, 2, samples, this);
  m_iterations = iterations.bar;
  m_steps = iterations.steps;
  QDialogButtonBox* box = dialogs::addRunButtons(this, [this] {
    if (onHelp) onHelp(kMeasurementTopic);
  });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(box);
}

void TPomiarDialog::setValues(const QString& frequency, const QString& cycles, int iterations) {
  m_frequency->setText(frequency);
  m_cycles->setText(cycles);
  m_iterations->setValue(iterations);
}

QString TPomiarDialog::frequencyText() const { return m_frequency->text(); }
QString TPomiarDialog::cyclesText() const { return m_cycles->text(); }
int TPomiarDialog::iterations() const { return m_iterations->value(); }
QString TPomiarDialog::stepsText() const { return m_steps->text(); }

void TPomiarDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_frequency->setFocus();
  m_frequency->selectAll();
}

void TPomiarDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && onHelp) {
    onHelp(kMeasurementTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

TOpcjeDialog::TOpcjeDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Opcje miernika"));

  auto* rangeBox = new QGroupBox(QStringLiteral("Zakres "), this);
  auto* scale = new RangeScale(rangeBox);
  m_range = scale->slider();
  m_range->setValue(9);
  for (int i = 0; i < kRangeCount; ++i) m_rangeLabels[i] = scale->label(i);
  m_autoRange = new QCheckBox(QStringLiteral("Automatyczny"), rangeBox);
  m_autoRange->setObjectName(QStringLiteral("AutoZakres"));
  m_autoRange->setChecked(true);
  auto* rangeLayout = new QVBoxLayout(rangeBox);
  rangeLayout->addWidget(scale, 1);
  rangeLayout->addWidget(m_autoRange);

  auto radioGroup = [this](QGroupBox* box, QButtonGroup* group,
                           std::initializer_list<const char*> texts) {
    auto* column = new QVBoxLayout(box);
    int id = 0;
    for (const char* text : texts) {
      auto* radio = new QRadioButton(QString::fromUtf8(text), box);
      group->addButton(radio, id++);
      column->addWidget(radio);
    }
  };

  m_indicationBox = new QGroupBox(QStringLiteral("Rodzaj pomiaru "), this);
  m_indicationBox->setObjectName(QStringLiteral("Wskaz"));
  m_indications = new QButtonGroup(this);
  {
    // Every indication has its button; the chosen quantity shows the ones it offers.
    auto* column = new QVBoxLayout(m_indicationBox);
    for (int id = 0; id <= static_cast<int>(engine::Indication::DisplacementFactor); ++id) {
      auto* radio = new QRadioButton(m_indicationBox);
      m_indications->addButton(radio, id);
      column->addWidget(radio);
    }
  }
  m_indications->button(static_cast<int>(engine::Indication::TrueRms))->setChecked(true);
  connect(m_indications, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) indicationChanged();
  });

  auto* quantityBox = new QGroupBox(QStringLiteral("Wielkość mierzona "), this);
  quantityBox->setObjectName(QStringLiteral("Wielkosc"));
  m_quantities = new QButtonGroup(this);
  radioGroup(quantityBox, m_quantities,
             {"Napięcie  (woltomierz)", "Prąd  (amperomierz)", "Moc elektryczna  (watomierz)"});
  m_quantities->button(static_cast<int>(engine::MeterQuantity::Voltage))->setChecked(true);

  auto* elementBox = new QGroupBox(QStringLiteral("Pomiar na elemencie : "), this);
  m_element = new QLabel(elementBox);
  m_element->setObjectName(QStringLiteral("Element"));
  QFont bold = m_element->font();
  bold.setBold(true);
  m_element->setFont(bold);
  (new QVBoxLayout(elementBox))->addWidget(m_element);

  auto* box = new QDialogButtonBox(this);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  box->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
  QPushButton* help = box->addButton(QStringLiteral("Pomoc"), QDialogButtonBox::HelpRole);
  ok->setDefault(true);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (onHelp) onHelp(kOptionsTopic);
  });

  connect(m_autoRange, &QCheckBox::toggled, this, &TOpcjeDialog::autoRangeChanged);
  connect(m_quantities, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) quantityChanged();
  });

  auto* right = new QVBoxLayout;
  right->addWidget(m_indicationBox);
  right->addWidget(quantityBox);
  right->addWidget(elementBox);
  right->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addWidget(rangeBox);
  columns->addLayout(right, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(box);

  quantityChanged();
  autoRangeChanged();
}

void TOpcjeDialog::setSlot(const engine::MeterSlot& slot, const QString& elementName) {
  m_autoRange->setChecked(slot.autoRange);
  m_range->setValue(engine::rangePosition(slot.fullScale, slot.rangeExponent));
  m_indications->button(static_cast<int>(slot.indication))->setChecked(true);
  m_quantities->button(static_cast<int>(slot.quantity))->setChecked(true);
  m_element->setText(elementName);
  quantityChanged();
  autoRangeChanged();
}

bool TOpcjeDialog::autoRange() const { return m_autoRange->isChecked(); }

engine::MeterQuantity TOpcjeDialog::quantity() const {
  return static_cast<engine::MeterQuantity>(m_quantities->checkedId());
}

engine::Indication TOpcjeDialog::indication() const {
  const auto chosen = static_cast<engine::Indication>(m_indications->checkedId());
  if (engine::indicationFits(quantity(), chosen)) return chosen;
  return engine::indicationsOf(quantity()).front();
}

int TOpcjeDialog::rangePosition() const { return m_range->value(); }

void TOpcjeDialog::quantityChanged() {
  const engine::MeterQuantity chosen = quantity();
  const auto offered = engine::indicationsOf(chosen);
  for (QAbstractButton* button : m_indications->buttons()) {
    const auto id = static_cast<engine::Indication>(m_indications->id(button));
    button->setText(QString::fromStdString(engine::indicationName(chosen, id)));
    button->setVisible(engine::indicationFits(chosen, id));
  }
  // A quantity that does not offer the chosen indication starts from its first one.
  if (!engine::indicationFits(chosen, static_cast<engine::Indication>(m_indications->checkedId())))
    m_indications->button(static_cast<int>(offered.front()))->setChecked(true);
  indicationChanged();
}

void TOpcjeDialog::indicationChanged() {
  const engine::Indication shown = indication();
  const QString unit = QString::fromStdString(engine::indicationUnit(quantity(), shown));
  for (int i = 0; i < kRangeCount; ++i)
    m_rangeLabels[i]->setText(QString::fromUtf8(kRangeTexts[i]) + unit);
  autoRangeChanged();
}

void TOpcjeDialog::autoRangeChanged() {
  // Ratios and percentages have no range: they always show four digits without a prefix.
  const bool ratio = engine::isRatio(indication());
  m_autoRange->setEnabled(!ratio);
  const bool manual = !m_autoRange->isChecked() && !ratio;
  m_range->setEnabled(manual);
  for (QLabel* label : m_rangeLabels) label->setEnabled(manual);
}

void TOpcjeDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && onHelp) {
    onHelp(kOptionsTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace wolterix::meters
