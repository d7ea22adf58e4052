#include "results/harmonics_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <limits>
#include <sstream>
#include <utility>

#include "drawing/painter_canvas.h"
#include "model/atomic_file.h"
#include "model/engineering_number.h"
#include "model/messages.h"
#include "results/plot_readout.h"

namespace wolterix::results {

namespace {
constexpr int kHelpTopic = 44;
// A harmonic this much smaller than the largest component has no phase worth showing.
constexpr double kNegligible = 1e-9;

QString qtext(const std::string& s) { return QString::fromStdString(s); }

QLocale polishNumbers() {
  QLocale locale(QLocale::Polish);
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return locale;
}

// "−12,5": a decimal comma and a true minus sign, as the plot's readout writes.
QString decimal(double value, int decimals) {
  if (std::round(std::fabs(value) * std::pow(10.0, decimals)) == 0) value = 0.0;
  QString text = polishNumbers().toString(value, 'f', decimals);
  if (text.startsWith(QLatin1Char('-'))) text.replace(0, 1, QChar(0x2212));
  return text;
}

// "okres", "okresy", "okresów" after a count.
QString periodsWord(int n) {
  if (n == 1) return QStringLiteral("okres");
  const int ones = n % 10;
  const int tens = n % 100;
  if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14)) return QStringLiteral("okresy");
  return QStringLiteral("okresów");
}

class HarmonicsChart : public QWidget {
 public:
  HarmonicsChart(const HarmonicsView& view, QWidget* parent) : QWidget(parent), m_view(view) {
    setObjectName(QStringLiteral("Wykres"));
    setMinimumSize(400, 220);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    paintHarmonics(painter, QRectF(rect()), m_view, false);
  }

 private:
  const HarmonicsView& m_view;
};

const QStringList kColumns = {QStringLiteral("Rząd"), QStringLiteral("f [Hz]"),
                              QStringLiteral("Wartość skuteczna"), QStringLiteral("% podstawowej"),
                              QStringLiteral("Faza [°]")};
}  // namespace

void paintHarmonics(QPainter& painter, const QRectF& area, const HarmonicsView& view, bool paper) {
  painter.save();
  drawing::PainterCanvas canvas(painter);
  const PrintSizes sizes = paper ? printSizes(painter.device()->logicalDpiX(),
                                              std::abs(painter.combinedTransform().m11()))
                                 : PrintSizes{};
  paintHarmonics(canvas, area.x(), area.y(), area.width(), area.height(), view, paper, sizes);
  painter.restore();
}

HarmonicsWindow::HarmonicsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Harmoniczne"));
  setContextMenuPolicy(Qt::ActionsContextMenu);
  resize(920, 680);
  // The plot window that opens this one hands over its own file question.
  showWarning = [this](const QString& text) {
    QMessageBox::warning(this, QStringLiteral("Uwaga"), text);
  };

  // The choices.
  m_traces = new QComboBox(this);
  m_traces->setObjectName(QStringLiteral("Przebieg"));
  m_traces->setMinimumContentsLength(10);
  m_fundamental = new QLineEdit(this);
  m_fundamental->setObjectName(QStringLiteral("Podstawowa"));
  m_fundamental->setMaxLength(int(model::kMaxNumberTextLength));
  m_fundamental->setFixedWidth(100);
  m_count = new QSpinBox(this);
  m_count->setObjectName(QStringLiteral("Liczba"));
  m_count->setRange(1, engine::kMaxHarmonicCount);
  m_count->setValue(engine::kDefaultHarmonicCount);
  // The last periods analysed: all that fit, or fewer to leave a start-up transient out.
  m_periods = new QSpinBox(this);
  m_periods->setObjectName(QStringLiteral("Okresy"));
  m_periods->setRange(0, 1000000);
  m_periods->setSpecialValueText(QStringLiteral("wszystkie"));
  m_periods->setValue(0);
  auto* choices = new QHBoxLayout;
  const auto labelled = [this, choices](const QString& text, QWidget* field) {
    auto* label = new QLabel(text, this);
    label->setBuddy(field);
    choices->addWidget(label);
    choices->addWidget(field);
    choices->addSpacing(12);
  };
  labelled(QStringLiteral("&Przebieg:"), m_traces);
  labelled(QStringLiteral("&Częstotliwość podstawowa [Hz]:"), m_fundamental);
  labelled(QStringLiteral("&Liczba harmonicznych:"), m_count);
  labelled(QStringLiteral("&Okresy od końca:"), m_periods);
  choices->addStretch(1);

  m_percent = new QRadioButton(QStringLiteral("Procent podstawowej"), this);
  m_absolute = new QRadioButton(QStringLiteral("Wartości bezwzględne"), this);
  m_linear = new QRadioButton(QStringLiteral("Skala liniowa"), this);
  m_logarithmic = new QRadioButton(QStringLiteral("Skala logarytmiczna"), this);
  auto* toggles = new QHBoxLayout;
  for (const auto& [a, b] : {std::pair{m_percent, m_absolute}, {m_linear, m_logarithmic}}) {
    auto* pair = new QButtonGroup(this);
    pair->addButton(a);
    pair->addButton(b);
    toggles->addWidget(a);
    toggles->addWidget(b);
    toggles->addSpacing(24);
    a->setChecked(true);
  }
  toggles->addStretch(1);

  // The chart above, the table and the summary below.
  m_chart = new HarmonicsChart(m_view, this);
  m_table = new QTableWidget(0, int(kColumns.size()), this);
  m_table->setObjectName(QStringLiteral("Tabela"));
  m_table->setHorizontalHeaderLabels(kColumns);
  m_table->verticalHeader()->setVisible(false);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  m_table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  m_summary = new QLabel(this);
  m_summary->setObjectName(QStringLiteral("Podsumowanie"));
  m_summary->setWordWrap(true);
  m_summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_summary->setMinimumWidth(260);
  auto* lower = new QWidget(this);
  auto* lowerLayout = new QHBoxLayout(lower);
  lowerLayout->setContentsMargins(0, 0, 0, 0);
  lowerLayout->addWidget(m_table, 3);
  lowerLayout->addWidget(m_summary, 2);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(m_chart);
  splitter->addWidget(lower);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  splitter->setChildrenCollapsible(false);

  // Commands: buttons below and the same on the pop-up menu, with their keys.
  auto* buttons = new QHBoxLayout;
  const auto command = [this, buttons](const char* name, const QString& text,
                                       const QKeySequence& key, std::function<void()> run) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, std::move(run));
    addAction(action);
    auto* button = new QPushButton(QString(text).remove(QLatin1Char('&')), this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button,
            [button, action] { button->setEnabled(action->isEnabled()); });
    buttons->addWidget(button);
    return action;
  };
  command("HrKopiuj", QStringLiteral("&Kopiuj tabelę"), QKeySequence(Qt::CTRL | Qt::Key_C),
          [this] { copyTable(); });
  command("HrCsv", QStringLiteral("Eksportuj &dane (CSV)..."), QKeySequence(),
          [this] { exportCsv(); });
  command("HrDrukuj", QStringLiteral("Dr&ukuj..."), QKeySequence(Qt::CTRL | Qt::Key_D), [this] {
    if (onPrint) onPrint();
  });
  command("HrPdf", QStringLiteral("Eksportuj do &PDF..."), QKeySequence(), [this] {
    if (onExportPdf) onExportPdf();
  });
  buttons->addStretch(1);
  command("HrPomoc", QStringLiteral("Pomo&c"), Qt::Key_F1, [this] {
    if (onHelp) onHelp(kHelpTopic);
  });
  command("HrZamknij", QStringLiteral("&Zamknij"), Qt::Key_Escape, [this] { close(); });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addLayout(toggles);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);

  connect(m_traces, &QComboBox::currentIndexChanged, this, [this] { analyse(); });
  connect(m_fundamental, &QLineEdit::textChanged, this, [this] { analyse(); });
  connect(m_count, &QSpinBox::valueChanged, this, [this] { analyse(); });
  connect(m_periods, &QSpinBox::valueChanged, this, [this] { analyse(); });
  connect(m_percent, &QRadioButton::toggled, this, [this](bool on) {
    m_view.percent = on;
    m_chart->update();
  });
  connect(m_logarithmic, &QRadioButton::toggled, this, [this](bool on) {
    m_view.logarithmic = on;
    m_chart->update();
  });
  analyse();
}

void HarmonicsWindow::setTraces(const TimePlot& plot, double proposedFundamental) {
  {
    const QSignalBlocker block(m_fundamental);
    setFundamental(proposedFundamental);
  }
  updateTraces(plot);
}

void HarmonicsWindow::updateTraces(const TimePlot& plot) {
  const QString chosen = m_traces->currentText();
  m_plot = plot;
  {
    const QSignalBlocker block(m_traces);
    m_traces->clear();
    for (const TimeTrace& trace : m_plot.traces) m_traces->addItem(qtext(trace.name));
    m_traces->setCurrentIndex(std::max(0, m_traces->findText(chosen)));
  }
  analyse();
}

void HarmonicsWindow::chooseTrace(int index) { m_traces->setCurrentIndex(index); }

int HarmonicsWindow::chosenTrace() const { return m_traces->currentIndex(); }

std::optional<double> HarmonicsWindow::fundamental() const {
  return model::parseNumber(m_fundamental->text().trimmed().toStdString());
}

void HarmonicsWindow::setFundamental(double hertz) {
  m_fundamental->setText(polishNumbers().toString(hertz, 'g', 10));
}

void HarmonicsWindow::setHarmonicCount(int count) { m_count->setValue(count); }
void HarmonicsWindow::setLastPeriods(int periods) { m_periods->setValue(periods); }

void HarmonicsWindow::setPercent(bool percent) {
  (percent ? m_percent : m_absolute)->setChecked(true);
}

void HarmonicsWindow::setLogarithmic(bool logarithmic) {
  (logarithmic ? m_logarithmic : m_linear)->setChecked(true);
}

void HarmonicsWindow::analyse() {
  m_view.analysis.reset();
  m_refusal.clear();
  const int index = m_traces->currentIndex();
  const std::optional<double> f = fundamental();
  if (index < 0 || index >= int(m_plot.traces.size())) {
    m_view.traceName.clear();
    m_refusal = QStringLiteral("Brak przebiegów czasowych do analizy.");
  } else if (!f) {
    m_refusal = QStringLiteral("Częstotliwość podstawowa nie jest poprawną liczbą.");
  }
  if (m_refusal.isEmpty()) {
    const TimeTrace& trace = m_plot.traces[std::size_t(index)];
    m_view.traceName = trace.name;
    m_view.quantity = trace.quantity;
    engine::HarmonicOutcome outcome = engine::analyseHarmonics(
        trace.samples, m_plot.startTime, m_plot.spacing, *f, m_count->value(), m_periods->value());
    m_view.analysis = std::move(outcome.analysis);
    if (!m_view.analysis)
      m_refusal =
          outcome.refusal.empty() ? QStringLiteral("Analiza niemożliwa.") : qtext(outcome.refusal);
  }
  const bool shown = m_view.analysis.has_value();
  for (const char* name : {"HrKopiuj", "HrCsv", "HrDrukuj", "HrPdf"})
    if (auto* action = findChild<QAction*>(QString::fromLatin1(name))) action->setEnabled(shown);
  fillTable();
  updateSummary();
  m_chart->update();
}

QString HarmonicsWindow::unit() const { return qtext(quantityUnit(m_view.quantity)); }

void HarmonicsWindow::fillTable() {
  m_table->setRowCount(0);
  if (!m_view.analysis) return;
  const engine::HarmonicAnalysis& a = *m_view.analysis;
  const std::string u = unit().toStdString();
  const engine::Harmonic* first = a.fundamentalLine();
  double largest = std::fabs(a.dc);
  for (const engine::Harmonic& h : a.harmonics) largest = std::max(largest, h.amplitude);

  m_table->setRowCount(int(a.harmonics.size()) + 1);
  const auto put = [this](int row, int column, const QString& text, bool atLimit = false) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(column == 0 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
    if (atLimit) item->setForeground(QColor(200, 90, 0));
    m_table->setItem(row, column, item);
  };
  put(0, 0, QStringLiteral("DC"));
  put(0, 1, QStringLiteral("0"));
  put(0, 2, qtext(prefixedValue(a.dc, u)));
  put(0, 3,
      qtext(percentNumber(first && first->rms > 0 ? std::fabs(a.dc) / first->rms * 100
                                                  : std::numeric_limits<double>::quiet_NaN())));
  put(0, 4, QString());
  int row = 1;
  for (const engine::Harmonic& h : a.harmonics) {
    const bool limit = h.atSamplingLimit;
    put(row, 0, QString::number(h.order) + (limit ? QStringLiteral(" *") : QString()), limit);
    put(row, 1, polishNumbers().toString(h.frequency, 'g', 8), limit);
    put(row, 2, qtext(prefixedValue(h.rms, u)), limit);
    put(row, 3, qtext(percentNumber(h.percent)), limit);
    put(row, 4, h.amplitude > kNegligible * largest ? decimal(h.phase, 1) : QString(), limit);
    ++row;
  }
}

void HarmonicsWindow::updateSummary() { m_summary->setText(summaryText()); }

QString HarmonicsWindow::summaryText() const {
  if (!m_view.analysis) return m_refusal;
  const engine::HarmonicAnalysis& a = *m_view.analysis;
  const std::string u = unit().toStdString();
  QStringList lines;
  lines
      << QStringLiteral("THD = %1 % (względem podstawowej)").arg(qtext(percentNumber(a.thd * 100)))
      << QStringLiteral("THD = %1 % (względem wartości skutecznej)")
             .arg(qtext(percentNumber(a.thdOfRms * 100)))
      << QStringLiteral("Wartość skuteczna = %1").arg(qtext(prefixedValue(a.rms, u)))
      << QStringLiteral("Składowa stała = %1").arg(qtext(prefixedValue(a.dc, u)));
  if (const engine::Harmonic* first = a.fundamentalLine())
    lines << QStringLiteral("Podstawowa: %1 (skuteczna), faza %2°")
                 .arg(qtext(prefixedValue(first->rms, u)), decimal(first->phase, 1));
  lines << QString()
        << QStringLiteral("Analizowano %1 %2: %3 … %4")
               .arg(a.periods)
               .arg(periodsWord(a.periods), qtext(prefixedValue(a.from, "s")),
                    qtext(prefixedValue(a.to, "s")));
  lines << QStringLiteral("Granica próbkowania: rząd %1").arg(a.samplingLimit);
  if (int(a.harmonics.size()) < a.requestedCount)
    lines << QStringLiteral(
                 "Obliczono %1 z %2 żądanych harmonicznych – wyższe rzędy leżą "
                 "powyżej granicy próbkowania.")
                 .arg(a.harmonics.size())
                 .arg(a.requestedCount);
  for (const engine::Harmonic& h : a.harmonics)
    if (h.atSamplingLimit)
      lines << QStringLiteral(
                   "Rząd %1 (*) leży na granicy próbkowania: jego amplituda i faza "
                   "są niepewne.")
                   .arg(h.order);
  if (!a.wholeSamples)
    lines << QStringLiteral(
        "Okres nie obejmuje całkowitej liczby próbek: przebieg całkowano "
        "między próbkami.");
  return lines.join(QLatin1Char('\n'));
}

QString HarmonicsWindow::tableText() const {
  QStringList rows{kColumns.join(QLatin1Char('\t'))};
  for (int row = 0; row < m_table->rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < m_table->columnCount(); ++column) {
      const QTableWidgetItem* item = m_table->item(row, column);
      cells << (item ? item->text() : QString());
    }
    rows << cells.join(QLatin1Char('\t'));
  }
  return rows.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void HarmonicsWindow::copyTable() {
  if (!m_view.analysis) return;
  QGuiApplication::clipboard()->setText(tableText());
}

void HarmonicsWindow::exportCsv() {
  if (!m_view.analysis || !askExportPath) return;
  const QString path = askExportPath(QStringLiteral("Eksportuj dane (CSV)"),
                                     QStringLiteral("Pliki CSV (*.csv)"), QStringLiteral("csv"));
  if (path.isEmpty()) return;
  std::ostringstream csv;
  engine::writeHarmonicsCsv(csv, *m_view.analysis);
  if (model::writeFileAtomically(path.toStdString(), csv.str())) return;
  if (showWarning) showWarning(QString::fromUtf8(model::messages::kCannotWrite) + path);
}

}  // namespace wolterix::results
