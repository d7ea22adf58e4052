#include "results/plot_window.h"

#include <QAction>
#include <QBuffer>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
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
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "dialogs/workspace_dialogs.h"
#include "drawing/painter_canvas.h"
#include "drawing/svg_canvas.h"
#include "drawing/symbols.h"
#include "engine/transient_run.h"
#include "model/atomic_file.h"
#include "model/messages.h"
#include "results/axis_dialog.h"
#include "results/harmonics_window.h"
#include "results/plot_readout.h"

namespace wolterix::results {

namespace {
constexpr int kHelpTopic = 42;
constexpr double kDragPixels = 5;  // a press moved further than this drags out a zoom range

QColor toQColor(drawing::Color c) { return QColor(c.r, c.g, c.b); }
QString qtext(const std::string& s) { return QString::fromStdString(s); }

QRectF toQRect(const PlotRect& r) { return QRectF(r.left, r.top, r.width, r.height); }
PlotRect toPlotRect(const QRectF& r) { return {r.left(), r.top(), r.width(), r.height()}; }
QRectF plotFrame(const QRectF& area) { return toQRect(plotFrame(toPlotRect(area))); }
QRectF complexSquare(const QRectF& frame) { return toQRect(complexSquare(toPlotRect(frame))); }
double frequencyX(const TransferPlot& plot, const QRectF& r, double f) {
  return frequencyX(plot, toPlotRect(r), f);
}
}  // namespace

namespace {
// Width and height of an exported image in pixels, the window's proposed.
std::optional<QSize> askImageSizeDialog(QWidget* parent, QSize proposed) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Rozmiar obrazu"));
  auto* form = new QFormLayout(&dialog);
  auto* width = new QSpinBox(&dialog);
  auto* height = new QSpinBox(&dialog);
  for (QSpinBox* box : {width, height}) {
    box->setRange(200, 10000);
    box->setSuffix(QStringLiteral(" px"));
  }
  width->setValue(proposed.width());
  height->setValue(proposed.height());
  form->addRow(QStringLiteral("Szerokość:"), width);
  form->addRow(QStringLiteral("Wysokość:"), height);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return QSize(width->value(), height->value());
}
}  // namespace

void paintPlot(QPainter& painter, const QRectF& area, const PlotView& view, bool paper) {
  painter.save();
  drawing::PainterCanvas canvas(painter);
  if (paper)
    paintPlotWithLegend(
        canvas, area.x(), area.y(), area.width(), area.height(), view, true,
        printSizes(painter.device()->logicalDpiX(), std::abs(painter.combinedTransform().m11())));
  else
    paintPlot(canvas, area.x(), area.y(), area.width(), area.height(), view, false);
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
  m_view.showConduction = true;
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
  askImageSize = [this](QSize proposed) { return askImageSizeDialog(this, proposed); };

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
  m_harmonicsAction = command(
      "PwHarm", QStringLiteral("&Harmoniczne..."), Qt::Key_F7, [this] { openHarmonics(); },
      QStringLiteral("Harmoniczne"));
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
  command("PwSvg", QStringLiteral("Eksportuj obraz (SVG)..."), QKeySequence(),
          [this] { exportSvg(); });
  command("PwOkno", QStringLiteral("Okno"), QKeySequence(Qt::CTRL | Qt::Key_W),
          [this] { setFullScreenMode(!m_fullScreen); });
  // The key is named in the item: Qt's Polish name of Home reads "Katalog domowy".
  command("PwZakres", QStringLiteral("Pełny zakres\tHome"), Qt::Key_Home,
          [this] { showFullRange(); });
  m_conductionAction =
      command("PwPrzew", QStringLiteral("Przewodzenie"), QKeySequence(Qt::CTRL | Qt::Key_P),
              [this] { setShowConduction(m_conductionAction->isChecked()); });
  m_conductionAction->setCheckable(true);
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
  m_conductionAction->setChecked(m_view.showConduction);
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
  m_harmonicsAction->setEnabled(!transfer);
  m_conductionAction->setEnabled(!transfer);
  if (m_harmonics && m_harmonics->isVisible()) {
    if (transfer)
      m_harmonics->hide();
    else
      m_harmonics->updateTraces(m_fullTime);
  }
  updateInformation();
  m_plotArea->update();
  m_instant.reset();
  if (onInstant) onInstant(std::nullopt);
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

void TWykDialog::setShowConduction(bool shown) {
  m_conductionAction->setChecked(shown);
  if (m_view.showConduction == shown) return;
  m_view.showConduction = shown;
  m_plotArea->update();
  if (onViewChanged) onViewChanged();
}

std::optional<double> TWykDialog::instant() const {
  if (m_view.transfer) return std::nullopt;
  if (m_cursorA) return m_cursorA->x();
  if (m_hover) return m_hover->x();
  return std::nullopt;
}

void TWykDialog::followInstant(double t) {
  if (m_view.transfer || m_fullTime.sampleCount < 1 || !std::isfinite(t)) return;
  m_cursorA =
      QPointF(std::clamp(t, m_fullTime.startTime, m_fullTime.startTime + m_fullTime.span()), 0.0);
  m_instant = instant();
  cursorsMoved();
}

void TWykDialog::clearInstant() {
  m_cursorA.reset();
  m_instant = instant();
  cursorsMoved();
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

double TWykDialog::proposedFundamental() const {
  if (proposeFundamental)
    if (const std::optional<double> f = proposeFundamental(); f && *f > 0) return *f;
  constexpr double kMains = 50.0;
  const double span = m_fullTime.span();
  return span * kMains >= 1.0 || !(span > 0) ? kMains : 1.0 / span;
}

// The time trace drawn nearest the mouse when it is over the plot; the first one otherwise.
int TWykDialog::traceNearestMouse() const {
  const QPointF pos = m_plotArea->mapFromGlobal(QCursor::pos());
  const std::optional<QPointF> at = plotPointAt(pos);
  if (m_view.transfer || !at) return 0;
  const QRectF frame =
      toQRect(timeFrames(plotFrame(toPlotRect(QRectF(m_plotArea->rect()))), m_view).traces);
  int nearest = 0;
  double distance = std::numeric_limits<double>::infinity();
  for (std::size_t k = 0; k < m_view.time.traces.size(); ++k) {
    const double scale = m_view.time.scale(m_view.time.traces[k].quantity);
    const std::optional<double> value = valueAt(m_view.time, k, at->x());
    if (!value || !(scale > 0)) continue;
    const double y = frame.center().y() - *value / scale * frame.height() / 2;
    if (std::abs(y - pos.y()) < distance) {
      distance = std::abs(y - pos.y());
      nearest = int(k);
    }
  }
  return nearest;
}

void TWykDialog::openHarmonics() {
  if (m_view.transfer) return;
  const int trace = traceNearestMouse();
  if (!m_harmonics) {
    m_harmonics = new HarmonicsWindow(this);
    m_harmonics->onHelp = [this](int topic) {
      if (onHelp) onHelp(topic);
    };
    m_harmonics->onPrint = [this] {
      if (onPrintHarmonics) onPrintHarmonics();
    };
    m_harmonics->onExportPdf = [this] {
      if (onExportHarmonicsPdf) onExportHarmonicsPdf();
    };
    m_harmonics->askExportPath = [this](const QString& title, const QString& filter,
                                        const QString& suffix) {
      return askExportPath(title, filter, suffix);
    };
    m_harmonics->showWarning = [this](const QString& text) { showWarning(text); };
  }
  m_harmonics->setTraces(m_fullTime, proposedFundamental());
  m_harmonics->chooseTrace(trace);
  m_harmonics->show();
  m_harmonics->raise();
  m_harmonics->activateWindow();
}

void TWykDialog::cursorsMoved() {
  updateInformation();
  m_plotArea->update();
  const std::optional<double> now = instant();
  if (now == m_instant) return;
  m_instant = now;
  if (onInstant) onInstant(now);
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
  if (m_view.time.traces.empty() && !showsConduction(m_view)) return std::nullopt;
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
    // The hover line goes too until the mouse moves again: nothing is pointed at.
    m_hover.reset();
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
  const std::optional<QSize> size = askImageSize ? askImageSize(this->size()) : this->size();
  if (!size) return;
  QImage image(*size, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    drawing::PainterCanvas canvas(painter);
    paintPlotWithLegend(canvas, 0, 0, size->width(), size->height(), m_view, false);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  writeExport(path, std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

// The shown plot with its legend above it, all text as SVG text.
void TWykDialog::exportSvg() {
  const QString path = askExportPath(QStringLiteral("Eksportuj obraz (SVG)"),
                                     QStringLiteral("Obrazy SVG (*.svg)"), QStringLiteral("svg"));
  if (path.isEmpty()) return;
  const std::optional<QSize> size = askImageSize ? askImageSize(this->size()) : this->size();
  if (!size) return;
  drawing::SvgCanvas canvas(size->width(), size->height());
  canvas.setBackground(m_view.colors.background);
  paintPlotWithLegend(canvas, 0, 0, size->width(), size->height(), m_view, false);
  writeExport(path, canvas.document());
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
