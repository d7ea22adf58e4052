#include "results/plot_window.h"

#include <QAction>
#include <QBuffer>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/workspace_dialogs.h"
#include "drawing/symbols.h"
#include "engine/transient_run.h"
#include "model/atomic_file.h"
#include "model/messages.h"
#include "results/axis_dialog.h"
#include "results/plot_readout.h"

namespace wolterix::results {

namespace {
constexpr int kHelpTopic = 42;
constexpr int kValueDivisions = 10;  // five above and five below the zero line
constexpr double kDragPixels = 5;    // a press moved further than this drags out a zoom range

QColor toQColor(drawing::Color c) { return QColor(c.r, c.g, c.b); }
QString qtext(const std::string& s) { return QString::fromStdString(s); }

struct Style {
  QColor text;
  QPen grid;
  QPen minorGrid;  ///< the 2…9 lines of a logarithmic axis
  QPen axis;
  std::array<QColor, 6> traces;
  QPen trace;  ///< width and kind of the trace lines; the colour comes per slot

  QPen traceIn(int slot) const {
    QPen pen = trace;
    pen.setColor(traces[slot]);
    return pen;
  }
};

// Paper lines have a width of their own in device pixels (cosmetic pens), whatever the scale
// the plot is printed at: hairlines would vanish on a high-resolution page.
QPen paperPen(const QColor& color, double width) {
  QPen pen(color, width);
  pen.setCosmetic(true);
  return pen;
}

Style styleFor(const PlotView& view, bool paper, double paperLine) {
  Style style;
  style.trace = QPen(Qt::black, 1.2);
  if (paper) {
    style.text = Qt::black;
    style.grid = paperPen(view.grid == GridMode::Strong ? Qt::black : Qt::gray, paperLine / 2);
    style.trace = paperPen(Qt::black, paperLine);
    for (int k = 0; k < 6; ++k) style.traces[k] = toQColor(printedTraceColors()[k]);
  } else {
    style.text = toQColor(view.colors.text);
    style.grid = QPen(toQColor(view.colors.grid), 0);
    for (int k = 0; k < 6; ++k) style.traces[k] = toQColor(view.colors.traces[k]);
  }
  if (view.grid == GridMode::None)
    style.grid = QPen(Qt::NoPen);
  else if (view.grid == GridMode::Faint)
    style.grid.setStyle(Qt::DotLine);
  style.axis = paper ? paperPen(style.text, paperLine) : QPen(style.text, 0);
  style.minorGrid = style.grid;
  QColor minor = style.minorGrid.color();
  minor.setAlpha(paper ? 110 : 90);
  style.minorGrid.setColor(minor);
  return style;
}

QRectF plotFrame(const QRectF& area) { return area.adjusted(62, 12, -62, -36); }

// The complex plane is square, centred in the frame.
QRectF complexSquare(const QRectF& frame) {
  const double side = std::min(frame.width(), frame.height());
  QRectF r(0, 0, side, side);
  r.moveCenter(frame.center());
  return r;
}

void drawGrid(QPainter& p, const QRectF& r, const Style& s, int columns, int rows) {
  p.setPen(s.grid);
  for (int i = 1; i < columns; ++i) {
    const double x = r.left() + r.width() * i / columns;
    p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
  }
  for (int j = 1; j < rows; ++j) {
    const double y = r.top() + r.height() * j / rows;
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
  }
  p.setPen(s.axis);
  p.setBrush(Qt::NoBrush);
  p.drawRect(r);
}

void drawTextAt(QPainter& p, const QPointF& at, const QString& text, Qt::Alignment align) {
  const QFontMetricsF metrics(p.font());
  const QRectF box(0, 0, metrics.horizontalAdvance(text) + 2, metrics.height());
  QRectF placed = box;
  placed.moveCenter(at);
  if (align & Qt::AlignRight) placed.moveRight(at.x());
  if (align & Qt::AlignLeft) placed.moveLeft(at.x());
  if (align & Qt::AlignTop) placed.moveTop(at.y());
  if (align & Qt::AlignBottom) placed.moveBottom(at.y());
  p.drawText(placed, Qt::AlignCenter, text);
}

// The traces of a plot, antialiased and clipped to its frame with a pixel to spare; each is
// a polyline through its points in its slot's pen.
class TraceLayer {
 public:
  TraceLayer(QPainter& p, const QRectF& frame, const Style& style) : m_painter(p), m_style(style) {
    p.save();
    p.setClipRect(frame.adjusted(-1, -1, 1, 1));
    p.setRenderHint(QPainter::Antialiasing, true);
  }
  ~TraceLayer() { m_painter.restore(); }
  TraceLayer(const TraceLayer&) = delete;
  TraceLayer& operator=(const TraceLayer&) = delete;

  /// The polyline through pointAt(0) .. pointAt(count - 1); the pen stays set afterwards.
  /// A dashed line lets a trace identical to an earlier one show over it.
  template <class PointAt>
  void draw(int slot, std::size_t count, PointAt pointAt, bool dashed = false) {
    if (count == 0) return;
    QPainterPath path(pointAt(std::size_t{0}));
    for (std::size_t i = 1; i < count; ++i) path.lineTo(pointAt(i));
    QPen pen = m_style.traceIn(slot);
    if (dashed) pen.setStyle(Qt::DashLine);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPath(path);
  }

 private:
  QPainter& m_painter;
  const Style& m_style;
};

// Which present quantities get labelled on the left and on the right of the time plot.
std::array<int, 2> labelledQuantities(const PlotView& view) {
  std::array<int, 2> shown{-1, -1};
  for (int side = 0; side < 2; ++side) {
    const int q = view.labelChoices[side];
    if (q >= 0 && q < kQuantityCount && view.time.scales[q] > 0 && (side == 0 || q != shown[0]))
      shown[side] = q;
  }
  // An axis with traces on it but none of the chosen quantities still gets numbers.
  if (shown[0] < 0 && shown[1] < 0)
    for (int q = 0; q < kQuantityCount; ++q)
      if (view.time.scales[q] > 0) return {q, -1};
  return shown;
}

// Whether trace i repeats an earlier trace exactly (the same waveform in two slots).
template <class Traces, class Same>
bool repeatsEarlier(const Traces& traces, std::size_t i, Same same) {
  for (std::size_t j = 0; j < i; ++j)
    if (same(traces[j], traces[i])) return true;
  return false;
}

void paintTime(QPainter& p, const QRectF& r, const PlotView& view, const Style& s) {
  const TimePlot& plot = view.time;
  const double span = plot.span();
  const TimeUnit unit = timeUnit(span);
  drawGrid(p, r, s, 1, kValueDivisions);
  // Vertical grid lines at round instants, each labelled.
  if (span > 0) {
    for (const double t : timeGridLines(plot.startTime, span)) {
      const double x = r.left() + r.width() * (t - plot.startTime) / span;
      if (x < r.left() - 0.5 || x > r.right() + 0.5) continue;
      p.setPen(s.grid);
      p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
      p.setPen(s.text);
      drawTextAt(p, QPointF(x, r.bottom() + 2), qtext(axisNumber(t * unit.factor)), Qt::AlignTop);
    }
  }
  const double midY = r.center().y();
  p.setPen(s.axis);
  p.drawLine(QPointF(r.left(), midY), QPointF(r.right(), midY));
  p.setPen(s.text);
  drawTextAt(p, QPointF(r.right(), r.bottom() + 16), qtext(unit.text),
             Qt::AlignTop | Qt::AlignRight);

  // Value labels of up to two quantities, left and right of the plot.
  const auto labelled = labelledQuantities(view);
  for (int side = 0; side < 2; ++side) {
    const int q = labelled[side];
    if (q < 0) continue;
    const Quantity quantity = static_cast<Quantity>(q);
    const double scale = plot.scales[q];
    const double factor = labelFactor(quantity, scale);
    const AxisLabel label = verticalLabel(quantity, scale);
    const double x = side == 0 ? r.left() - 4 : r.right() + 4;
    const Qt::Alignment align = side == 0 ? Qt::AlignRight : Qt::AlignLeft;
    for (int j = 0; j <= kValueDivisions; ++j) {
      const double value = scale * (1.0 - 2.0 * j / kValueDivisions) * factor;
      drawTextAt(p, QPointF(x, r.top() + r.height() * j / kValueDivisions),
                 qtext(axisNumber(value)), align);
    }
    drawTextAt(p, QPointF(x, r.top() + r.height() / kValueDivisions / 2), qtext(label.unit), align);
  }

  // The traces, each scaled by its quantity.
  TraceLayer layer(p, r, s);
  for (std::size_t k = 0; k < plot.traces.size(); ++k) {
    const TimeTrace& trace = plot.traces[k];
    const double scale = plot.scale(trace.quantity);
    if (!(scale > 0) || trace.samples.size() < 2) continue;
    const double last = double(trace.samples.size() - 1);
    const bool repeated =
        repeatsEarlier(plot.traces, k, [](const TimeTrace& a, const TimeTrace& b) {
          return a.quantity == b.quantity && a.samples == b.samples;
        });
    layer.draw(
        trace.slot, trace.samples.size(),
        [&](std::size_t i) {
          const double v = std::clamp(trace.samples[i] / scale, -2.0, 2.0);
          return QPointF(r.left() + r.width() * double(i) / last, midY - v * r.height() / 2);
        },
        repeated);
  }
}

double frequencyX(const TransferPlot& plot, const QRectF& r, double f) {
  if (!(plot.decades > 0)) return r.left();
  return r.left() + r.width() * std::log10(f / plot.lowerFrequency) / plot.decades;
}

void paintFrequencyAxis(QPainter& p, const QRectF& r, const TransferPlot& plot, const Style& s) {
  const double upper = plot.lowerFrequency * std::pow(10.0, plot.decades);
  for (const LogGridLine& line : logGridLines(plot.lowerFrequency, upper)) {
    const double x = frequencyX(plot, r, line.frequency);
    if (x < r.left() - 0.5 || x > r.right() + 0.5) continue;
    p.setPen(line.major ? s.grid : s.minorGrid);
    p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    if (!line.major) continue;
    p.setPen(s.text);
    drawTextAt(p, QPointF(x, r.bottom() + 2), qtext(frequencyLabel(line.frequency)), Qt::AlignTop);
  }
  p.setPen(s.text);
  drawTextAt(p, QPointF(r.right(), r.bottom() + 16), QStringLiteral("[Hz]"),
             Qt::AlignTop | Qt::AlignRight);
}

void paintBode(QPainter& p, const QRectF& r, const PlotView& view, const Style& s, bool angle) {
  const TransferPlot& plot = view.transferPlot;
  const double top = angle ? 180.0 : plot.dbTop;
  const double bottom = angle ? -180.0 : plot.dbBottom;
  // Angles in 45° rows, decibels in round steps from the bottom of the range up.
  const double step = angle ? 45.0 : dbGridStep(top - bottom);
  std::vector<double> levels;
  if (step > 0 && top > bottom)
    for (double v = std::ceil(bottom / step - 1e-9) * step; v <= top + 1e-9 * step; v += step)
      levels.push_back(v);
  drawGrid(p, r, s, 1, 1);
  if (plot.frequencies.size() < 2) return;
  const auto levelY = [&](double v) { return r.top() + r.height() * (top - v) / (top - bottom); };
  for (const double v : levels) {
    const double y = levelY(v);
    if (y > r.top() + 0.5 && y < r.bottom() - 0.5) {
      p.setPen(s.grid);
      p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    p.setPen(s.text);
    drawTextAt(p, QPointF(r.left() - 4, y), qtext(axisNumber(std::abs(v) < 1e-9 ? 0.0 : v)),
               Qt::AlignRight);
  }
  paintFrequencyAxis(p, r, plot, s);
  p.setPen(s.text);
  const double unitY = levels.size() >= 2
                           ? (levelY(levels.back()) + levelY(levels[levels.size() - 2])) / 2
                           : r.top() + 10;
  drawTextAt(p, QPointF(r.left() - 4, unitY),
             angle ? QStringLiteral("[°]") : QStringLiteral("[dB]"), Qt::AlignRight);

  TraceLayer layer(p, r, s);
  for (std::size_t n = 0; n < plot.traces.size(); ++n) {
    const TransferTrace& trace = plot.traces[n];
    if (trace.hasZero) continue;
    const bool repeated =
        repeatsEarlier(plot.traces, n, [](const TransferTrace& a, const TransferTrace& b) {
          return !a.hasZero && a.values == b.values;
        });
    layer.draw(
        trace.slot, trace.values.size(),
        [&](std::size_t k) {
          const double v =
              angle ? angleDegrees(trace.values[k]) : magnitudeDb(trace.values[k], plot.inputLevel);
          return QPointF(frequencyX(plot, r, plot.frequencies[k]),
                         std::clamp(levelY(v), r.top() - 5, r.bottom() + 5));
        },
        repeated);
  }
}

void paintComplex(QPainter& p, const QRectF& area, const PlotView& view, const Style& s) {
  const TransferPlot& plot = view.transferPlot;
  const QRectF r = complexSquare(area);
  const double side = r.width();
  const double scale = plot.complexScale;
  const QPointF centre = r.center();
  const bool polar = view.selection.coordinates == CoordinateSystem::Polar;
  if (polar) {
    p.setPen(s.grid);
    p.setBrush(Qt::NoBrush);
    for (int ring = 1; ring <= 5; ++ring) {
      const double radius = side / 2 * ring / 5;
      p.drawEllipse(centre, radius, radius);
      p.setPen(s.text);
      drawTextAt(p, QPointF(centre.x() + radius, centre.y() + 2),
                 qtext(axisNumber(scale * 0.2 * ring)), Qt::AlignTop | Qt::AlignRight);
      p.setPen(s.grid);
    }
  } else {
    drawGrid(p, r, s, 10, 10);
    p.setPen(s.text);
    drawTextAt(p, QPointF(r.right(), centre.y() + 2), qtext(axisNumber(scale)),
               Qt::AlignTop | Qt::AlignRight);
    drawTextAt(p, QPointF(centre.x() + 4, r.top()), qtext(axisNumber(scale)),
               Qt::AlignTop | Qt::AlignLeft);
  }
  p.setPen(s.axis);
  p.drawLine(QPointF(r.left(), centre.y()), QPointF(r.right(), centre.y()));
  p.drawLine(QPointF(centre.x(), r.top()), QPointF(centre.x(), r.bottom()));
  drawTextAt(p, QPointF(r.right() - 4, centre.y() - 2), QStringLiteral("Re"),
             Qt::AlignBottom | Qt::AlignRight);
  drawTextAt(p, QPointF(centre.x() - 4, r.top() + 2), QStringLiteral("Im"),
             Qt::AlignTop | Qt::AlignRight);

  auto toPoint = [&](std::complex<double> k) {
    return QPointF(centre.x() + k.real() / scale * side / 2,
                   centre.y() - k.imag() / scale * side / 2);
  };
  TraceLayer layer(p, r, s);
  for (std::size_t n = 0; n < plot.traces.size(); ++n) {
    const TransferTrace& trace = plot.traces[n];
    if (trace.values.empty()) continue;
    const bool repeated = repeatsEarlier(
        plot.traces, n,
        [](const TransferTrace& a, const TransferTrace& b) { return a.values == b.values; });
    layer.draw(
        trace.slot, trace.values.size(), [&](std::size_t k) { return toPoint(trace.values[k]); },
        repeated);
    if (view.selection.markStartPoints) p.drawEllipse(toPoint(trace.values.front()), 3, 3);
  }
}
}  // namespace

void paintPlot(QPainter& painter, const QRectF& area, const PlotView& view, bool paper) {
  painter.save();
  QFont font = painter.font();
  font.setPixelSize(11);
  painter.setFont(font);
  if (!paper) painter.fillRect(area, toQColor(view.colors.background));
  const double paperLine = paper ? drawing::printedLineWidth(painter.device()->logicalDpiX()) : 0.0;
  const Style style = styleFor(view, paper, paperLine);
  const QRectF plot = plotFrame(area);
  if (!view.transfer)
    paintTime(painter, plot, view, style);
  else if (view.selection.transferPlot == TransferPlotKind::Complex)
    paintComplex(painter, plot, view, style);
  else
    paintBode(painter, plot, view, style, view.selection.transferPlot == TransferPlotKind::Angle);
  painter.restore();
}

namespace {
class PlotArea : public QWidget {
 public:
  PlotArea(const PlotView& view, QWidget* parent) : QWidget(parent), m_view(view) {
    setObjectName(QStringLiteral("Wykres"));
    setMinimumSize(400, 250);
    setMouseTracking(true);
  }

  /// What only the screen shows over the plot: the cursors and a zoom range being dragged.
  std::function<void(QPainter&)> paintOverlay;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    paintPlot(painter, QRectF(rect()), m_view, false);
    if (paintOverlay) paintOverlay(painter);
  }

 private:
  const PlotView& m_view;
};

QColor slotColor(const PlotView& view, int slot) {
  return toQColor(slot >= 0 && slot < 6 ? view.colors.traces[slot] : view.colors.text);
}

TransferView transferViewOf(const PlotView& view) {
  switch (view.selection.transferPlot) {
    case TransferPlotKind::Angle: return TransferView::Angle;
    case TransferPlotKind::Complex: return TransferView::Complex;
    default: return TransferView::Magnitude;
  }
}

bool onComplexPlane(const PlotView& view) {
  return view.transfer && view.selection.transferPlot == TransferPlotKind::Complex;
}

// The readout of the shown plot at the fixed cursors, or else under the mouse.
std::vector<ReadoutLine> readoutOf(const PlotView& view, const std::optional<QPointF>& a,
                                   const std::optional<QPointF>& b,
                                   const std::optional<QPointF>& hover) {
  const std::optional<QPointF> at = a ? a : hover;
  if (!at) return {};
  if (!view.transfer) {
    if (view.time.traces.empty()) return {};
    return timeReadout(view.time, at->x(),
                       a && b ? std::optional<double>(b->x()) : std::optional<double>());
  }
  if (view.transferPlot.traces.empty()) return {};
  if (onComplexPlane(view)) return complexReadout(view.transferPlot, at->x(), at->y());
  auto lines = transferReadout(view.transferPlot, transferViewOf(view), at->x());
  if (a && b) {
    const auto second = transferReadout(view.transferPlot, transferViewOf(view), b->x());
    lines.insert(lines.end(), second.begin(), second.end());
  }
  return lines;
}
}  // namespace

TWykDialog::TWykDialog(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setWindowTitle(QStringLiteral("Wykresy"));
  setContextMenuPolicy(Qt::ActionsContextMenu);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    setGeometry(screen->availableGeometry());
  else
    resize(960, 600);
  execAxisDialog = [](TOpisOsiDialog& dialog) { return dialog.exec(); };
  askExportPath = [this](const QString& title, const QString& filter, const QString& suffix) {
    QFileDialog dialog(this, title, QString(), filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLocale(QLocale(QLocale::Polish));
    dialog.setDefaultSuffix(suffix);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  showWarning = [this](const QString& text) {
    QMessageBox::warning(this, QStringLiteral("Uwaga"), text);
  };

  auto* toolbar = new QToolBar(this);
  auto command = [this, toolbar](const char* name, const QString& text, const QKeySequence& key,
                                 std::function<void()> run, const QString& button = {}) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, std::move(run));
    addAction(action);
    if (!button.isEmpty()) {
      auto* b = new QToolButton(toolbar);
      b->setDefaultAction(action);
      b->setText(button);
      b->setToolTip(button);
      toolbar->addWidget(b);
    }
    return action;
  };
  command(
      "PwEsc", QStringLiteral("<< &Wolterix"), Qt::Key_F12,
      [this] {
        if (onBack) onBack();
      },
      QStringLiteral("<< Wolterix"));
  command(
      "Pw5", QStringLiteral("&Przebiegi..."), Qt::Key_F11,
      [this] {
        if (onSelectWaveforms) onSelectWaveforms();
      },
      QStringLiteral("Przebiegi"));
  command(
      "Pw7", QStringLiteral("&Symulacja..."), Qt::Key_F9,
      [this] {
        if (onSimulate) onSimulate();
      },
      QStringLiteral("Symulacja"));
  m_continueAction = command(
      "Pw8", QStringLiteral("Ko&ntynuuj"), Qt::Key_F10,
      [this] {
        if (onContinue) onContinue();
      },
      QStringLiteral("Kontynuuj"));
  m_axisAction = command(
      "Pw6", QStringLiteral("&Opis osi pionowej..."), Qt::Key_F6,
      [this] {
        TOpisOsiDialog dialog(this);
        dialog.onHelp = onHelp;
        dialog.setChoices(m_view.labelChoices[0], m_view.labelChoices[1]);
        if (execAxisDialog(dialog) != QDialog::Accepted) return;
        const auto chosen = dialog.choices();
        setLabelChoices(chosen[0], chosen[1]);
      },
      QStringLiteral("Opis osi"));
  command(
      "Pw9", QStringLiteral("Dr&ukuj..."), QKeySequence(Qt::CTRL | Qt::Key_D),
      [this] {
        if (onPrint) onPrint();
      },
      QStringLiteral("Drukuj"));
  command("PwPdf", QStringLiteral("Eksportuj do &PDF..."), QKeySequence(), [this] {
    if (onExportPdf) onExportPdf();
  });
  command("PwCsv", QStringLiteral("Eksportuj dane (CSV)..."), QKeySequence(),
          [this] { exportCsv(); });
  command("PwPng", QStringLiteral("Eksportuj obraz (PNG)..."), QKeySequence(),
          [this] { exportImage(); });
  command("PwOkno", QStringLiteral("Okno"), QKeySequence(Qt::CTRL | Qt::Key_W),
          [this] { setFullScreenMode(!m_fullScreen); });
  command("PwZakres", QStringLiteral("Pełny zakres"), Qt::Key_Home, [this] { showFullRange(); });
  command("Pw1", QStringLiteral("&Kolor tła..."), Qt::Key_F4, [this] { chooseBackground(); });
  command("Pw2", QStringLiteral("Wyraźne linie siatki"), QKeySequence(Qt::CTRL | Qt::Key_2),
          [this] { setGridMode(GridMode::Strong); });
  command("Pw3", QStringLiteral("Delikatne linie siatki"), QKeySequence(Qt::CTRL | Qt::Key_1),
          [this] { setGridMode(GridMode::Faint); });
  command("Pw4", QStringLiteral("Brak linii siatki"), QKeySequence(Qt::CTRL | Qt::Key_0),
          [this] { setGridMode(GridMode::None); });
  command(
      "MXpomocW", QStringLiteral("Pomo&c"), Qt::Key_F1,
      [this] {
        if (onHelp) onHelp(kHelpTopic);
      },
      QStringLiteral("Pomoc"));
  m_continue = qobject_cast<QToolButton*>(toolbar->widgetForAction(toolbar->actions().value(3)));
  m_axisLabels = qobject_cast<QToolButton*>(toolbar->widgetForAction(toolbar->actions().value(4)));

  m_information = new QLabel(this);
  m_information->setObjectName(QStringLiteral("Info"));
  m_information->setTextFormat(Qt::RichText);
  m_information->setAutoFillBackground(true);
  m_information->setMinimumHeight(22);
  m_information->setWordWrap(true);
  m_information->setContentsMargins(8, 0, 8, 0);

  auto* area = new PlotArea(m_view, this);
  area->paintOverlay = [this](QPainter& painter) { paintCursors(painter); };
  area->installEventFilter(this);
  m_plotArea = area;
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* top = new QHBoxLayout;
  top->addWidget(toolbar);
  top->addWidget(m_information, 1);
  layout->addLayout(top);
  layout->addWidget(m_plotArea, 1);
  rebuildColors();
}

void TWykDialog::showResults(const engine::Simulation& simulation,
                             const WaveformSelection& selection, bool transfer, double inputLevel) {
  m_view.transfer = transfer;
  m_view.selection = selection;
  if (transfer) {
    m_fullTransfer = buildTransferPlot(simulation.transferStore(), selection, inputLevel);
    m_fullTime = {};
  } else {
    m_fullTime = buildTimePlot(simulation.store(), selection);
    m_fullTransfer = {};
  }
  m_view.time = m_fullTime;
  m_view.transferPlot = m_fullTransfer;
  m_zoomed = false;
  m_cursorA.reset();
  m_cursorB.reset();
  m_hover.reset();
  // Continuing and the axis description belong to time plots only.
  m_continueAction->setEnabled(!transfer);
  m_axisAction->setEnabled(!transfer);
  updateInformation();
  m_plotArea->update();
  show();
  raise();
}

void TWykDialog::setBackground(const QColor& background) {
  m_view.colors.background =
      drawing::Color{std::uint8_t(background.red()), std::uint8_t(background.green()),
                     std::uint8_t(background.blue())};
  rebuildColors();
  if (onViewChanged) onViewChanged();
}

void TWykDialog::setGridMode(GridMode mode) {
  m_view.grid = mode;
  rebuildColors();
  if (onViewChanged) onViewChanged();
}

void TWykDialog::setLabelChoices(int left, int right) {
  m_view.labelChoices = {left, right};
  m_plotArea->update();
}

std::array<QColor, 6> TWykDialog::traceColors() const {
  std::array<QColor, 6> colors;
  for (int k = 0; k < 6; ++k) colors[k] = toQColor(m_view.colors.traces[k]);
  return colors;
}

QColor TWykDialog::backgroundColor() const { return toQColor(m_view.colors.background); }

QString TWykDialog::informationText() const {
  // Readout entries break between each other, never inside one.
  const auto span = [&](int slot, const std::string& text, bool whole = false) {
    return QStringLiteral("<span style=\"color:%1%2\">%3</span>")
        .arg(slotColor(m_view, slot).name(),
             whole ? QStringLiteral("; white-space:nowrap") : QString(),
             qtext(text).toHtmlEscaped());
  };
  QStringList parts;
  if (m_view.transfer) {
    for (const auto& t : m_view.transferPlot.traces) parts << span(t.slot, t.name);
  } else {
    for (const auto& t : m_view.time.traces)
      parts << span(t.slot, legendText(t.name, t.quantity, m_view.time.scale(t.quantity)));
  }
  QString text = parts.join(QStringLiteral("&nbsp;&nbsp;&nbsp;"));
  QStringList readout;
  for (const ReadoutLine& line : readoutOf(m_view, m_cursorA, m_cursorB, m_hover))
    readout << span(line.slot, line.text, true);
  if (!readout.isEmpty()) text += QStringLiteral("<br>") + readout.join(QStringLiteral("&nbsp; "));
  return text;
}

void TWykDialog::setFullScreenMode(bool fullScreen) {
  const bool visible = isVisible();
  m_fullScreen = fullScreen;
  setWindowFlags(fullScreen ? Qt::Window | Qt::FramelessWindowHint : Qt::Window);
  const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
  const QRect available = shown ? shown->availableGeometry() : QRect(0, 0, 1024, 768);
  if (fullScreen) {
    setGeometry(available);
  } else {
    QRect framed(QPoint(), available.size() * 3 / 4);
    framed.moveCenter(available.center());
    setGeometry(framed);
  }
  // Changing the flags recreates the native window: show it again with the keyboard.
  if (visible) {
    show();
    raise();
    activateWindow();
  }
  m_plotArea->update();
}

void TWykDialog::zoomTo(double from, double to) {
  if (from > to) std::swap(from, to);
  if (!(to > from)) return;
  if (m_view.transfer) {
    const double span = kMagnitudeSpans[std::clamp(m_view.selection.magnitudeScale, 0, 5)];
    m_view.transferPlot = zoomedTransferPlot(m_fullTransfer, from, to, span);
  } else {
    m_view.time = zoomedTimePlot(m_fullTime, from, to);
  }
  m_zoomed = true;
  m_hover.reset();
  cursorsMoved();
}

void TWykDialog::showFullRange() {
  m_view.time = m_fullTime;
  m_view.transferPlot = m_fullTransfer;
  m_zoomed = false;
  m_hover.reset();
  cursorsMoved();
}

void TWykDialog::clearCursors() {
  m_cursorA.reset();
  m_cursorB.reset();
  cursorsMoved();
}

void TWykDialog::cursorsMoved() {
  updateInformation();
  m_plotArea->update();
}

// The point of the plot under a position of the plot area: x the time or the frequency (on the
// logarithmic axis), on the complex plane (Re, Im). Nothing outside the frame.
std::optional<QPointF> TWykDialog::plotPointAt(const QPointF& pos) const {
  const QRectF frame = plotFrame(QRectF(m_plotArea->rect()));
  if (onComplexPlane(m_view)) {
    const QRectF square = complexSquare(frame);
    if (!square.contains(pos)) return std::nullopt;
    const double unit = m_view.transferPlot.complexScale / (square.width() / 2);
    return QPointF((pos.x() - square.center().x()) * unit, (square.center().y() - pos.y()) * unit);
  }
  if (!frame.contains(pos) || frame.width() <= 0) return std::nullopt;
  const double u = (pos.x() - frame.left()) / frame.width();
  if (m_view.transfer) {
    const TransferPlot& plot = m_view.transferPlot;
    if (plot.frequencies.empty()) return std::nullopt;
    return QPointF(plot.lowerFrequency * std::pow(10.0, plot.decades * u), 0.0);
  }
  if (m_view.time.traces.empty()) return std::nullopt;
  return QPointF(m_view.time.startTime + m_view.time.span() * u, 0.0);
}

void TWykDialog::paintCursors(QPainter& painter) const {
  const QRectF frame = plotFrame(QRectF(m_plotArea->rect()));
  const QColor text = toQColor(m_view.colors.text);
  painter.save();
  painter.setClipRect(frame.adjusted(-1, -1, 1, 1));
  const auto xOf = [&](const QPointF& at) {
    if (m_view.transfer) return frequencyX(m_view.transferPlot, frame, at.x());
    const double span = m_view.time.span();
    return span > 0 ? frame.left() + frame.width() * (at.x() - m_view.time.startTime) / span
                    : frame.left();
  };
  const auto mark = [&](const std::optional<QPointF>& at, Qt::PenStyle style, const QString& name) {
    if (!at) return;
    QPen pen(text, 0, style);
    painter.setPen(pen);
    if (onComplexPlane(m_view)) {
      const QRectF square = complexSquare(frame);
      const double perUnit = square.width() / 2 / m_view.transferPlot.complexScale;
      const QPointF p(square.center().x() + at->x() * perUnit,
                      square.center().y() - at->y() * perUnit);
      painter.drawLine(QPointF(p.x() - 8, p.y()), QPointF(p.x() + 8, p.y()));
      painter.drawLine(QPointF(p.x(), p.y() - 8), QPointF(p.x(), p.y() + 8));
      if (!name.isEmpty()) painter.drawText(p + QPointF(4, -4), name);
      return;
    }
    const double x = xOf(*at);
    painter.drawLine(QPointF(x, frame.top()), QPointF(x, frame.bottom()));
    if (!name.isEmpty()) painter.drawText(QPointF(x + 3, frame.top() + 12), name);
  };
  mark(m_hover, Qt::SolidLine, QString());
  mark(m_cursorA, Qt::DashLine, QStringLiteral("A"));
  mark(m_cursorB, Qt::DashLine, QStringLiteral("B"));
  if (m_dragging && m_pressAt) {
    QColor shade = text;
    shade.setAlpha(40);
    painter.fillRect(
        QRectF(QPointF(m_pressAt->x(), frame.top()), QPointF(m_dragTo.x(), frame.bottom()))
            .normalized(),
        shade);
  }
  painter.restore();
}

bool TWykDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_plotArea) {
    switch (event->type()) {
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease: plotMouseEvent(static_cast<QMouseEvent*>(event)); break;
      case QEvent::Leave:
        m_hover.reset();
        cursorsMoved();
        break;
      default: break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// Hovering moves the cursor line; a click fixes cursor A (with Shift B); a press dragged
// further than a few pixels shows the range it covers.
void TWykDialog::plotMouseEvent(QMouseEvent* event) {
  const QPointF pos = event->position();
  if (event->type() == QEvent::MouseButtonPress) {
    if (event->button() == Qt::LeftButton) {
      m_pressAt = pos;
      m_dragging = false;
    }
    return;
  }
  if (event->type() == QEvent::MouseMove) {
    m_hover = plotPointAt(pos);
    if (m_pressAt && (event->buttons() & Qt::LeftButton) &&
        (m_dragging || std::abs(pos.x() - m_pressAt->x()) > kDragPixels) &&
        !onComplexPlane(m_view)) {
      m_dragging = true;
      m_dragTo = pos;
    }
    cursorsMoved();
    return;
  }
  if (event->button() != Qt::LeftButton || !m_pressAt) return;
  const QPointF pressed = *m_pressAt;
  m_pressAt.reset();
  if (m_dragging) {
    m_dragging = false;
    const QRectF frame = plotFrame(QRectF(m_plotArea->rect()));
    const auto clampX = [&](double x) {
      return QPointF(std::clamp(x, frame.left(), frame.right() - 0.01), frame.center().y());
    };
    const auto from = plotPointAt(clampX(pressed.x()));
    const auto to = plotPointAt(clampX(pos.x()));
    if (from && to) {
      clearCursors();
      zoomTo(from->x(), to->x());
      m_hover = plotPointAt(pos);
    }
    cursorsMoved();
    return;
  }
  const auto at = plotPointAt(pos);
  if (!at) return;
  if (event->modifiers() & Qt::ShiftModifier)
    m_cursorB = at;
  else
    m_cursorA = at;
  cursorsMoved();
}

void TWykDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && (m_cursorA || m_cursorB)) {
    clearCursors();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TWykDialog::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_plotArea->update();
}

void TWykDialog::exportCsv() {
  const QString path = askExportPath(QStringLiteral("Eksportuj dane (CSV)"),
                                     QStringLiteral("Pliki CSV (*.csv)"), QStringLiteral("csv"));
  if (path.isEmpty()) return;
  writeExport(path,
              m_view.transfer ? transferPlotCsv(m_view.transferPlot) : timePlotCsv(m_view.time));
}

void TWykDialog::exportImage() {
  const QString path = askExportPath(QStringLiteral("Eksportuj obraz (PNG)"),
                                     QStringLiteral("Obrazy PNG (*.png)"), QStringLiteral("png"));
  if (path.isEmpty()) return;
  QImage image(size(), QImage::Format_RGB32);
  {
    QPainter painter(&image);
    paintPlot(painter, QRectF(image.rect()), m_view, false);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  writeExport(path, std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void TWykDialog::writeExport(const QString& path, std::string_view bytes) {
  if (model::writeFileAtomically(path.toStdString(), bytes)) return;
  if (showWarning) showWarning(QString::fromUtf8(model::messages::kCannotWrite) + path);
}

void TWykDialog::rebuildColors() {
  m_view.colors = plotColors(m_view.colors.background, m_view.grid);
  QPalette palette = m_information->palette();
  palette.setColor(QPalette::Window, backgroundColor());
  m_information->setPalette(palette);
  updateInformation();
  m_plotArea->update();
}

void TWykDialog::updateInformation() { m_information->setText(informationText()); }

void TWykDialog::chooseBackground() {
  dialogs::TKolorDialog dialog(this);
  drawing::Color colour{static_cast<std::uint8_t>(backgroundColor().red()),
                        static_cast<std::uint8_t>(backgroundColor().green()),
                        static_cast<std::uint8_t>(backgroundColor().blue())};
  const auto& palette = backgroundPalette();
  dialog.onPreview = [this](drawing::Color shown) {
    setBackground(QColor(shown.r, shown.g, shown.b));
  };
  if (dialog.choose(palette, colour)) setBackground(QColor(colour.r, colour.g, colour.b));
}

}  // namespace wolterix::results
