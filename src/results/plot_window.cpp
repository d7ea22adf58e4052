#include "results/plot_window.h"

#include <QAction>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/workspace_dialogs.h"
#include "drawing/symbols.h"
#include "engine/transient_run.h"
#include "results/axis_dialog.h"

namespace wolterix::results {

namespace {
constexpr int kHelpTopic = 42;
constexpr int kTimeDivisions = 10;
constexpr int kValueDivisions = 10;  // five above and five below the zero line

QColor toQColor(drawing::Color c) { return QColor(c.r, c.g, c.b); }
QString qtext(const std::string& s) { return QString::fromStdString(s); }

struct Style {
  QColor text;
  QPen grid;
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
  return style;
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
  template <class PointAt>
  void draw(int slot, std::size_t count, PointAt pointAt) {
    if (count == 0) return;
    QPainterPath path(pointAt(std::size_t{0}));
    for (std::size_t i = 1; i < count; ++i) path.lineTo(pointAt(i));
    m_painter.setPen(m_style.traceIn(slot));
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

void paintTime(QPainter& p, const QRectF& r, const PlotView& view, const Style& s) {
  drawGrid(p, r, s, kTimeDivisions, kValueDivisions);
  const TimePlot& plot = view.time;
  const double midY = r.center().y();
  p.setPen(s.axis);
  p.drawLine(QPointF(r.left(), midY), QPointF(r.right(), midY));

  // Time labels under the grid lines.
  const double span = plot.span();
  const TimeUnit unit = timeUnit(span);
  p.setPen(s.text);
  for (int i = 0; i <= kTimeDivisions; i += 2) {
    const double t = (plot.startTime + span * i / kTimeDivisions) * unit.factor;
    drawTextAt(p, QPointF(r.left() + r.width() * i / kTimeDivisions, r.bottom() + 2),
               qtext(axisNumber(t)), Qt::AlignTop);
  }
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
  for (const TimeTrace& trace : plot.traces) {
    const double scale = plot.scale(trace.quantity);
    if (!(scale > 0) || trace.samples.size() < 2) continue;
    const double last = double(trace.samples.size() - 1);
    layer.draw(trace.slot, trace.samples.size(), [&](std::size_t i) {
      const double v = std::clamp(trace.samples[i] / scale, -2.0, 2.0);
      return QPointF(r.left() + r.width() * double(i) / last, midY - v * r.height() / 2);
    });
  }
}

double frequencyX(const TransferPlot& plot, const QRectF& r, double f) {
  if (!(plot.decades > 0)) return r.left();
  return r.left() + r.width() * std::log10(f / plot.lowerFrequency) / plot.decades;
}

void paintFrequencyAxis(QPainter& p, const QRectF& r, const TransferPlot& plot, const Style& s) {
  for (double f = plot.lowerDecade; f <= plot.frequencies.back() * (1 + 1e-9); f *= 10) {
    const double x = frequencyX(plot, r, f);
    if (x < r.left() - 0.5) continue;
    p.setPen(s.grid);
    p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    p.setPen(s.text);
    drawTextAt(p, QPointF(x, r.bottom() + 2), qtext(axisNumber(f)), Qt::AlignTop);
  }
  drawTextAt(p, QPointF(r.right(), r.bottom() + 16), QStringLiteral("[Hz]"),
             Qt::AlignTop | Qt::AlignRight);
}

void paintBode(QPainter& p, const QRectF& r, const PlotView& view, const Style& s, bool angle) {
  const TransferPlot& plot = view.transferPlot;
  const double top = angle ? 180.0 : plot.dbTop;
  const double bottom = angle ? -180.0 : plot.dbBottom;
  const int rows = angle ? 8 : 5;
  drawGrid(p, r, s, 1, rows);
  if (plot.frequencies.size() < 2) return;
  paintFrequencyAxis(p, r, plot, s);
  p.setPen(s.text);
  for (int j = 0; j <= rows; ++j) {
    const double value = top - (top - bottom) * j / rows;
    drawTextAt(p, QPointF(r.left() - 4, r.top() + r.height() * j / rows), qtext(axisNumber(value)),
               Qt::AlignRight);
  }
  drawTextAt(p, QPointF(r.left() - 4, r.top() + r.height() / rows / 2),
             angle ? QStringLiteral("[°]") : QStringLiteral("[dB]"), Qt::AlignRight);

  TraceLayer layer(p, r, s);
  for (const TransferTrace& trace : plot.traces) {
    if (trace.hasZero) continue;
    layer.draw(trace.slot, trace.values.size(), [&](std::size_t k) {
      const double v =
          angle ? angleDegrees(trace.values[k]) : magnitudeDb(trace.values[k], plot.inputLevel);
      const double y = r.top() + r.height() * (top - v) / (top - bottom);
      return QPointF(frequencyX(plot, r, plot.frequencies[k]),
                     std::clamp(y, r.top() - 5, r.bottom() + 5));
    });
  }
}

void paintComplex(QPainter& p, const QRectF& area, const PlotView& view, const Style& s) {
  const TransferPlot& plot = view.transferPlot;
  const double side = std::min(area.width(), area.height());
  QRectF r(0, 0, side, side);
  r.moveCenter(area.center());
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
  for (const TransferTrace& trace : plot.traces) {
    if (trace.values.empty()) continue;
    layer.draw(trace.slot, trace.values.size(),
               [&](std::size_t k) { return toPoint(trace.values[k]); });
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
  const QRectF plot = area.adjusted(62, 12, -62, -36);
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
    setMinimumSize(400, 250);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    paintPlot(painter, QRectF(rect()), m_view, false);
  }

 private:
  const PlotView& m_view;
};
}  // namespace

TWykDialog::TWykDialog(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setWindowTitle(QStringLiteral("Wykresy"));
  setContextMenuPolicy(Qt::ActionsContextMenu);
  resize(960, 600);
  execAxisDialog = [](TOpisOsiDialog& dialog) { return dialog.exec(); };

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
  m_information->setContentsMargins(8, 0, 8, 0);

  m_plotArea = new PlotArea(m_view, this);
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
    m_view.transferPlot = buildTransferPlot(simulation.transferStore(), selection, inputLevel);
    m_view.time = {};
  } else {
    m_view.time = buildTimePlot(simulation.store(), selection);
    m_view.transferPlot = {};
  }
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
  QStringList parts;
  auto add = [&](int slot, const std::string& name) {
    parts << QStringLiteral("<span style=\"color:%1\">%2</span>")
                 .arg(toQColor(m_view.colors.traces[slot]).name(), qtext(name).toHtmlEscaped());
  };
  if (m_view.transfer) {
    for (const auto& t : m_view.transferPlot.traces) add(t.slot, t.name);
  } else {
    for (const auto& t : m_view.time.traces) add(t.slot, t.name);
  }
  return parts.join(QStringLiteral("&nbsp;&nbsp;&nbsp;"));
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
