#include "editor/print_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "editor/painter_canvas.h"
#include "editor/symbols.h"
#include "help/help_topics.h"
#include "model/schematic.h"

namespace wolterix::editor {

namespace {

constexpr int kPrintTopic = help::kEditorTopic;

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
    p.setPen(QPen(QColor(0, 160, 0), 1));
    const MiniRect& s = m_layout.schematicFrame();
    p.drawRect(s.left, s.top, std::max(s.width, 1), std::max(s.height, 1));
    if (showPlot) {
      p.setPen(QPen(Qt::red, 1));
      const MiniRect& w = m_layout.plotFrame();
      p.drawRect(w.left, w.top, std::max(w.width, 1), std::max(w.height, 1));
    }
  }

private:
  PrintLayout& m_layout;
};

}  // namespace

PageMetrics pageMetricsOf(const QPrinter& printer) {
  PageMetrics page;
  const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
  page.pageWidth = area.width();
  page.pageHeight = area.height();
  page.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
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
  auto* partsLayout = new QVBoxLayout(m_parts);
  partsLayout->addWidget(m_schematicBox);
  partsLayout->addWidget(m_plotBox);

  m_tabs = new QTabWidget(this);
  m_tabs->setObjectName(QStringLiteral("PageControl1"));
  const auto tab = [&](const QString& title, const QString& prefix, bool schematic) {
    auto* page = new QWidget(m_tabs);
    auto* grid = new QGridLayout(page);
    const struct { const char* name; const char* text; int row; int column; } buttons[] = {
        {"up", "↑", 0, 1}, {"left", "←", 1, 0}, {"right", "→", 1, 2}, {"down", "↓", 2, 1},
        {"plus", "+", 0, 3}, {"minus", "−", 2, 3}};
    for (const auto& b : buttons) {
      auto* button = new QPushButton(QString::fromUtf8(b.text), page);
      button->setObjectName(prefix + QString::fromLatin1(b.name));
      button->setFixedSize(32, 28);
      grid->addWidget(button, b.row, b.column);
      const QString name = QString::fromLatin1(b.name);
      connect(button, &QPushButton::clicked, this, [this, name, schematic] {
        if (name == QStringLiteral("up")) schematic ? m_layout.moveSchematic(Move::Up) : m_layout.movePlot(Move::Up);
        if (name == QStringLiteral("down")) schematic ? m_layout.moveSchematic(Move::Down) : m_layout.movePlot(Move::Down);
        if (name == QStringLiteral("left")) schematic ? m_layout.moveSchematic(Move::Left) : m_layout.movePlot(Move::Left);
        if (name == QStringLiteral("right")) schematic ? m_layout.moveSchematic(Move::Right) : m_layout.movePlot(Move::Right);
        if (name == QStringLiteral("plus")) schematic ? m_layout.enlargeSchematic() : m_layout.enlargePlot();
        if (name == QStringLiteral("minus")) schematic ? m_layout.reduceSchematic() : m_layout.reducePlot();
        refresh();
      });
    }
    m_tabs->addTab(page, title);
  };
  tab(QStringLiteral("Schemat"), QStringLiteral("bS"), true);
  tab(QStringLiteral("Wykres"), QStringLiteral("bW"), false);

  auto* box = new QDialogButtonBox(this);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("Button1"));
  box->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("Button2"));
  QPushButton* help = box->addButton(QStringLiteral("Pomoc"), QDialogButtonBox::HelpRole);
  help->setObjectName(QStringLiteral("Button3"));
  QPushButton* setup = box->addButton(QStringLiteral("Ustawienia"), QDialogButtonBox::ActionRole);
  setup->setObjectName(QStringLiteral("Button4"));
  ok->setDefault(true);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (onHelp) onHelp(kPrintTopic);
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
  setFixedSize(sizeHint());
}

void TDrukDialog::prepareForSchematic(model::GridPoint extent, int grid) {
  m_parts->hide();
  static_cast<Miniature*>(m_miniature)->showPlot = false;
  m_tabs->setCurrentIndex(0);
  m_tabs->setTabVisible(1, false);
  m_layout.setSchematic(extent, grid);
  refresh();
}

void TDrukDialog::prepareForPlot(model::GridPoint extent, int grid) {
  m_parts->show();
  static_cast<Miniature*>(m_miniature)->showPlot = true;
  m_tabs->setTabVisible(0, true);
  m_tabs->setTabVisible(1, true);
  m_tabs->setCurrentIndex(1);
  m_layout.setSchematic(extent, grid);
  refresh();
}

bool TDrukDialog::schematicChosen() const { return m_schematicBox->isChecked(); }
bool TDrukDialog::plotChosen() const { return m_plotBox->isChecked(); }

void TDrukDialog::refresh() { m_miniature->update(); }

void TDrukDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && onHelp) {
    onHelp(kPrintTopic);
    return;
  }
  QDialog::keyPressEvent(event);
}

bool printSchematic(QPrinter& printer, const model::Schematic& schematic, const PrintLayout& layout,
                    model::GridPoint min, int grid) {
  return printPage(printer, &schematic, layout, min, grid, nullptr);
}

bool printPage(QPrinter& printer, const model::Schematic* schematic, const PrintLayout& layout,
               model::GridPoint min, int grid,
               const std::function<void(QPainter&, const QRectF&)>& paintPlot) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  if (schematic) {
    PainterCanvas canvas(painter);
    ViewSettings view;
    view.grid = grid;
    view.printer = true;
    view.background = colors::kWhite;
    const auto [dx, dy] = layout.schematicOffset(min, grid);
    drawSchematic(canvas, *schematic, view, layout.scale(), dx, dy);
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
  return painter.end();
}

}  // namespace wolterix::editor
