#include "dialogs/simulation_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "engine/run_settings.h"

namespace wolterix::dialogs {

namespace {
constexpr int kSimulationTopic = 36;
constexpr int kTransferTopic = 37;

QPushButton* button(QDialogButtonBox* box, const QString& text, QDialogButtonBox::ButtonRole role) {
  return box->addButton(text, role);
}
}  // namespace

IterationRow addIterationRow(QGridLayout* grid, int row, int samples, QWidget* dialog) {
  auto* bar = new QSlider(Qt::Horizontal, dialog);
  bar->setObjectName(QStringLiteral("Iteracje"));
  bar->setRange(0, 6);
  bar->setTickPosition(QSlider::TicksBelow);
  bar->setTickInterval(1);
  bar->setPageStep(1);
  auto* steps = new QLabel(QString::number(engine::totalSteps(samples, 0)), dialog);
  steps->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  steps->setMinimumWidth(80);
  QObject::connect(bar, &QSlider::valueChanged, steps, [steps, samples](int k) {
    steps->setText(QString::number(engine::totalSteps(samples, k)));
  });
  grid->addWidget(new QLabel(QStringLiteral("Ilość iteracji :"), dialog), row, 0);
  grid->addWidget(bar, row, 1);
  grid->addWidget(steps, row, 2);
  return {bar, steps};
}

QDialogButtonBox* addRunButtons(QDialog* dialog, std::function<void()> help) {
  auto* box = new QDialogButtonBox(dialog);
  QPushButton* start = button(box, QStringLiteral("Start"), QDialogButtonBox::AcceptRole);
  QPushButton* resume = button(box, QStringLiteral("Kontynuuj"), QDialogButtonBox::ActionRole);
  button(box, QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
  QPushButton* helpButton = button(box, QStringLiteral("Pomoc"), QDialogButtonBox::HelpRole);
  start->setDefault(true);
  QObject::connect(start, &QPushButton::clicked, dialog, [dialog] { dialog->done(1); });
  QObject::connect(resume, &QPushButton::clicked, dialog, [dialog] { dialog->done(2); });
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, [dialog] { dialog->done(0); });
  QObject::connect(helpButton, &QPushButton::clicked, dialog, std::move(help));
  return box;
}

TSymuDialog::TSymuDialog(int samples, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Symulacja"));
  m_time = new QLineEdit(this);
  m_time->setObjectName(QStringLiteral("EditCzas"));
  m_time->setMaxLength(13);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Czas symulacji :"), this), 0, 0);
  grid->addWidget(m_time, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("s"), this), 0, 2);
  const IterationRow iterations = addIterationRow(grid, 1, samples, this);
  m_iterations = iterations.bar;
  m_steps = iterations.steps;
  QDialogButtonBox* box = addRunButtons(this, [this] {
    if (onHelp) onHelp(kSimulationTopic);
  });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(box);
}

void TSymuDialog::setValues(const QString& timeText, int iterations) {
  m_time->setText(timeText);
  m_iterations->setValue(iterations);
}

QString TSymuDialog::timeText() const { return m_time->text(); }
int TSymuDialog::iterations() const { return m_iterations->value(); }
QString TSymuDialog::stepsText() const { return m_steps->text(); }

void TSymuDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_time->setFocus();
  m_time->selectAll();
}

void TSymuDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && onHelp) {
    onHelp(kSimulationTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

TTransmiDialog::TTransmiDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Transmitancja"));
  auto* group = new QGroupBox(QStringLiteral("Zakres częstotliwości "), this);
  m_from = new QLineEdit(group);
  m_from->setObjectName(QStringLiteral("valf1"));
  m_from->setMaxLength(16);
  m_to = new QLineEdit(group);
  m_to->setObjectName(QStringLiteral("valf2"));
  m_to->setMaxLength(16);
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(QStringLiteral("od"), group), 0, 0);
  grid->addWidget(m_from, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Hz"), group), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("do"), group), 1, 0);
  grid->addWidget(m_to, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Hz"), group), 1, 2);
  auto* box = new QDialogButtonBox(this);
  QPushButton* start = button(box, QStringLiteral("Start"), QDialogButtonBox::AcceptRole);
  button(box, QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
  QPushButton* help = button(box, QStringLiteral("Pomoc"), QDialogButtonBox::HelpRole);
  start->setDefault(true);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (onHelp) onHelp(kTransferTopic);
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(box);
}

void TTransmiDialog::setValues(const QString& from, const QString& to) {
  m_from->setText(from);
  m_to->setText(to);
}

QString TTransmiDialog::fromText() const { return m_from->text(); }
QString TTransmiDialog::toText() const { return m_to->text(); }

void TTransmiDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_from->setFocus();
  m_from->selectAll();
}

void TTransmiDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && onHelp) {
    onHelp(kTransferTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Przebieg symulacji"));
  m_bar = new QProgressBar(this);
  m_bar->setRange(0, 100);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_bar);
  resize(320, 60);
}

void ProgressWindow::setProgress(int percent) {
  if (m_bar->value() == percent) return;
  m_bar->setValue(percent);
  m_bar->repaint();
}

int ProgressWindow::progress() const { return m_bar->value(); }

}  // namespace wolterix::dialogs
