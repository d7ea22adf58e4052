#include "printing/print_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "drawing/painter_canvas.h"
#include "drawing/symbols.h"
#include "help/help_topics.h"
#include "model/schematic.h"

namespace wolterix::printing {

namespace {

// Frame colours, repeated by the swatches beside "Schemat" and "Wykres".
const QColor kSchematicColor(0, 160, 0);
const QColor kPlotColor(255, 0, 0);

// The page miniature: white page, green schematic frame, red plot frame.
class Miniature : public QWidget {
 public:
  Miniature(PrintLayout& layout, QWidget* parent) : QWidget(parent), m_layout(layout) {
    setFixedSize(PrintLayout::kMiniatureWidth + 1, PrintLayout::kMiniatureHeight + 1);
  }
  bool showPlot = true;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const MiniRect& page = m_layout.miniature();
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(page.left, page.top, page.width, page.height);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSchematicColor, 1));
    const MiniRect& s = m_layout.schematicFrame();
    p.drawRect(s.left, s.top, std::max(s.width, 1), std::max(s.height, 1));
    if (showPlot) {
      p.setPen(QPen(kPlotColor, 1));
      const MiniRect& w = m_layout.plotFrame();
      p.drawRect(w.left, w.top, std::max(w.width, 1), std::max(w.height, 1));
    }
  }

 private:
  PrintLayout& m_layout;
};

QWidget* swatch(const QColor& color, const QString& name, QWidget* parent) {
  auto* box = new QLabel(parent);
  box->setObjectName(name);
  box->setFixedSize(14, 14);
  box->setAutoFillBackground(true);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, color);
  box->setPalette(palette);
  box->setFrameShape(QFrame::Box);
  return box;
}

drawing::ViewSettings printerView(const QPaintDevice& device, int grid) {
  drawing::ViewSettings view;
  view.grid = grid;
  view.printer = true;
  view.background = drawing::colors::kWhite;
  view.printerPen = drawing::printedLineWidth(device.logicalDpiX());
  return view;
}

}  // namespace

PageMetrics pageMetricsOf(const QPrinter& printer) {
  PageMetrics page;
  const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
  page.pageWidth = area.width();
  page.pageHeight = area.height();
  page.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  page.dotsPerInch = printer.resolution();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    page.screenWidth = screen->geometry().width();
    page.screenHeight = screen->geometry().height();
  }
  return page;
}

TDrukDialog::TDrukDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), m_printer(printer), m_layout(pageMetricsOf(printer)) {
  setWindowTitle(QStringLiteral("Drukuj"));
  m_miniature = new Miniature(m_layout, this);
  m_miniature->setObjectName(QStringLiteral("Shape1"));

  m_parts = new QGroupBox(QStringLiteral("Drukuj : "), this);
  m_parts->setObjectName(QStringLiteral("GroupBox1"));
  m_schematicBox = new QCheckBox(QStringLiteral("Schemat"), m_parts);
  m_schematicBox->setObjectName(QStringLiteral("CBschemat"));
  m_plotBox = new QCheckBox(QStringLiteral("Wykres"), m_parts);
  m_plotBox->setObjectName(QStringLiteral("CBwykres"));
  m_schematicBox->setChecked(true);
  m_plotBox->setChecked(true);
  auto* partsLayout = new QGridLayout(m_parts);
  partsLayout->addWidget(swatch(kSchematicColor, QStringLiteral("schematicSwatch"), m_parts), 0, 0);
  partsLayout->addWidget(m_schematicBox, 0, 1);
  partsLayout->addWidget(swatch(kPlotColor, QStringLiteral("plotSwatch"), m_parts), 1, 0);
  partsLayout->addWidget(m_plotBox, 1, 1);
  partsLayout->setColumnStretch(1, 1);

  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("PageControl1"));
  const auto tab = [&](const QString& title, const QString& prefix, bool schematic) {
    auto* page = new QWidget(m_tabs);
    auto* grid = new QGridLayout(page);
    const auto move = [this, schematic](Move m) {
      return [this, schematic, m] { schematic ? m_layout.moveSchematic(m) : m_layout.movePlot(m); };
    };
    const struct {
      const char* name;
      const char* text;
      const char* tip;
      int row;
      int column;
      std::function<void()> action;
    } buttons[] = {
        {"up", "↑", "Przesuń w górę", 0, 1, move(Move::Up)},
        {"left", "←", "Przesuń w lewo", 1, 0, move(Move::Left)},
        {"right", "→", "Przesuń w prawo", 1, 2, move(Move::Right)},
        {"down", "↓", "Przesuń w dół", 2, 1, move(Move::Down)},
        {"plus", "+", "Powiększ", 0, 3,
         [this, schematic] { schematic ? m_layout.enlargeSchematic() : m_layout.enlargePlot(); }},
        {"minus", "−", "Zmniejsz", 2, 3,
         [this, schematic] { schematic ? m_layout.reduceSchematic() : m_layout.reducePlot(); }},
    };
    for (const auto& b : buttons) {
      auto* button = new QPushButton(QString::fromUtf8(b.text), page);
      button->setObjectName(prefix + QString::fromLatin1(b.name));
      button->setToolTip(QString::fromUtf8(b.tip));
      button->setFixedSize(32, 28);
      grid->addWidget(button, b.row, b.column);
      connect(button, &QPushButton::clicked, this, [this, action = b.action] {
        action();
        refresh();
      });
    }
    auto* scale = new QLabel(page);
    scale->setObjectName(prefix + QStringLiteral("scale"));
    grid->addWidget(scale, 3, 0, 1, 4);
    m_tabs->addTab(page, title);
    return scale;
  };
  m_schematicScale = tab(QStringLiteral("Schemat"), QStringLiteral("bS"), true);
  m_plotScale = tab(QStringLiteral("Wykres"), QStringLiteral("bW"), false);

  auto* box = new QDialogButtonBox(this);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("Button1"));
  box->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole)
      ->setObjectName(QStringLiteral("Button2"));
  QPushButton* help = box->addButton(QStringLiteral("Pomoc"), QDialogButtonBox::HelpRole);
  help->setObjectName(QStringLiteral("Button3"));
  QPushButton* setup = box->addButton(QStringLiteral("Ustawienia"), QDialogButtonBox::ActionRole);
  setup->setObjectName(QStringLiteral("Button4"));
  ok->setDefault(true);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (onHelp) onHelp(help::kPrintTopic);
  });
  connect(setup, &QPushButton::clicked, this, [this] {
    QPageSetupDialog dialog(&m_printer, this);
    if (dialog.exec() == QDialog::Accepted) {
      m_layout.setPage(pageMetricsOf(m_printer));
      refresh();
    }
  });

  auto* side = new QVBoxLayout;
  side->addWidget(m_parts);
  side->addWidget(m_tabs);
  side->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(m_miniature);
  top->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(box);
  refresh();
  setFixedSize(sizeHint());
}

void TDrukDialog::measure(const model::Schematic& schematic, int grid) {
  m_grid = grid;
  m_layout.setSchematic([this, &schematic, grid](int scale) {
    const drawing::DeviceTextMetrics metrics(&m_printer);
    return drawnBounds(schematic, printerView(m_printer, grid), scale, metrics);
  });
}

void TDrukDialog::prepareForSchematic(const model::Schematic& schematic, int grid) {
  m_parts->hide();
  static_cast<Miniature*>(m_miniature)->showPlot = false;
  m_tabs->setCurrentIndex(0);
  m_tabs->setTabVisible(1, false);
  measure(schematic, grid);
  refresh();
}

void TDrukDialog::prepareForPlot(const model::Schematic& schematic, int grid) {
  m_parts->show();
  static_cast<Miniature*>(m_miniature)->showPlot = true;
  m_tabs->setTabVisible(0, true);
  m_tabs->setTabVisible(1, true);
  m_tabs->setCurrentIndex(1);
  measure(schematic, grid);
  refresh();
}

bool TDrukDialog::schematicChosen() const { return m_schematicBox->isChecked(); }
bool TDrukDialog::plotChosen() const { return m_plotBox->isChecked(); }

void TDrukDialog::refresh() {
  m_miniature->update();
  m_schematicScale->setText(QString::fromStdString(m_layout.schematicScaleText(m_grid)));
  m_plotScale->setText(QString::fromStdString(m_layout.plotScaleText()));
}

void TDrukDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && onHelp) {
    onHelp(help::kPrintTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

bool printSchematic(QPrinter& printer, const model::Schematic& schematic, const PrintLayout& layout,
                    int grid) {
  return printPage(printer, &schematic, layout, grid, nullptr);
}

bool printPage(QPrinter& printer, const model::Schematic* schematic, const PrintLayout& layout,
               int grid, const PlotPainter& paintPlot) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  paintPage(painter, schematic, layout, grid, paintPlot);
  return painter.end();
}

void paintPage(QPainter& painter, const model::Schematic* schematic, const PrintLayout& layout,
               int grid, const PlotPainter& paintPlot) {
  if (schematic) {
    drawing::PainterCanvas canvas(painter);
    const drawing::ViewSettings view = printerView(*painter.device(), grid);
    const auto [dx, dy] = layout.schematicOffset();
    drawing::drawSchematic(canvas, *schematic, view, layout.scale(), dx, dy);
  }
  if (paintPlot) {
    // The plot is drawn as on the screen and scaled onto the page, so its lines and
    // lettering keep their proportions.
    const PrintLayout::PageRect r = layout.plotRect();
    const double k = layout.plotScale();
    painter.save();
    painter.translate(r.left, r.top);
    painter.scale(k, k);
    paintPlot(painter, QRectF(0, 0, r.width / k, r.height / k));
    painter.restore();
  }
}

}  // namespace wolterix::printing
