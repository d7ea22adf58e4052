#include "app/instant_session.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <cmath>

#include "editor/instant_view.h"
#include "editor/schematic_canvas.h"
#include "engine/harmonics.h"
#include "engine/waveform_store.h"

namespace wolterix::app {

namespace {
// Playback frames: 25 a second.
constexpr int kFrameMilliseconds = 40;
constexpr int kSlowdowns[] = {10, 100, 1000};
}  // namespace

InstantSession::InstantSession(editor::SchematicCanvas& canvas, const model::Schematic& schematic)
    : m_canvas(canvas), m_schematic(schematic), m_clock(std::make_unique<QElapsedTimer>()) {}

InstantSession::~InstantSession() = default;

QToolBar* InstantSession::createBar(QMainWindow& window, const Actions& actions) {
  m_bar = new QToolBar(QStringLiteral("Przewijanie"), &window);
  m_bar->setObjectName(QStringLiteral("PasekPrzewijania"));
  m_bar->setMovable(false);
  m_bar->setFloatable(false);
  m_playAction = actions.playPause;
  const QStyle* style = QApplication::style();
  const auto add = [&](QAction* a, QStyle::StandardPixmap icon) {
    if (!a) return;
    a->setIcon(style->standardIcon(icon));
    m_bar->addAction(a);
  };
  add(actions.periodBack, QStyle::SP_MediaSkipBackward);
  add(actions.sampleBack, QStyle::SP_MediaSeekBackward);
  add(actions.playPause, QStyle::SP_MediaPlay);
  add(actions.sampleForward, QStyle::SP_MediaSeekForward);
  add(actions.periodForward, QStyle::SP_MediaSkipForward);
  m_slider = new QSlider(Qt::Horizontal, m_bar);
  m_slider->setObjectName(QStringLiteral("SuwakCzasu"));
  m_slider->setMinimumWidth(240);
  m_slider->setFocusPolicy(Qt::NoFocus);  // the keys stay the window's
  m_bar->addWidget(m_slider);
  m_timeLabel = new QLabel(m_bar);
  m_timeLabel->setObjectName(QStringLiteral("CzasChwili"));
  m_timeLabel->setMinimumWidth(110);
  m_timeLabel->setContentsMargins(8, 0, 8, 0);
  m_bar->addWidget(m_timeLabel);
  m_speed = new QComboBox(m_bar);
  m_speed->setObjectName(QStringLiteral("Zwolnienie"));
  m_speed->setToolTip(QStringLiteral("Tempo odtwarzania względem czasu rzeczywistego"));
  m_speed->setFocusPolicy(Qt::NoFocus);
  for (const int ratio : kSlowdowns) m_speed->addItem(QStringLiteral("1:%1").arg(ratio), ratio);
  m_speed->setCurrentIndex(m_speed->findData(m_slowdown));
  m_bar->addWidget(m_speed);
  if (actions.values) {
    m_bar->addSeparator();
    m_bar->addAction(actions.values);
  }
  window.addToolBar(Qt::BottomToolBarArea, m_bar);
  m_bar->hide();

  QObject::connect(m_slider, &QSlider::valueChanged, m_bar, [this](int value) {
    if (m_active && (!m_sample || *m_sample != value)) show(value, true);
  });
  QObject::connect(m_speed, &QComboBox::currentIndexChanged, m_bar, [this](int index) {
    if (index >= 0) setSlowdown(m_speed->itemData(index).toInt());
  });
  m_timer = new QTimer(m_bar);
  m_timer->setInterval(kFrameMilliseconds);
  QObject::connect(m_timer, &QTimer::timeout, m_bar, [this] { tick(); });
  return m_bar;
}

std::optional<double> InstantSession::time() const {
  const engine::WaveformStore* store = results ? results() : nullptr;
  if (!m_sample || !store) return std::nullopt;
  return store->startTime + *m_sample * store->spacing;
}

std::string InstantSession::timeText(double t) { return "t = " + editor::prefixedValue(t, "s", 4); }

bool InstantSession::setActive(bool on) {
  if (!on) {
    end();
    return true;
  }
  const engine::WaveformStore* store = results ? results() : nullptr;
  if (!store || store->sampleCount <= 0) {
    end();
    return false;
  }
  m_active = true;
  if (m_slider) {
    const QSignalBlocker block(m_slider);
    m_slider->setRange(0, store->sampleCount - 1);
    m_slider->setPageStep(std::max(1, periodSamples()));
  }
  if (m_bar) m_bar->show();
  show(m_sample.value_or(0), true);
  return true;
}

int InstantSession::periodSamples() const {
  const engine::WaveformStore* store = results ? results() : nullptr;
  if (!store || store->spacing <= 0) return 1;
  const double span = (store->sampleCount - 1) * store->spacing;
  const std::optional<double> f = engine::proposedFundamental(m_schematic);
  const double period = f && *f > 0 ? 1.0 / *f : span / 20.0;
  return std::max(1, static_cast<int>(std::lround(period / store->spacing)));
}

void InstantSession::step(int samples) {
  if (!m_active || !m_sample) return;
  show(*m_sample + samples, true);
}

void InstantSession::stepPeriods(int periods) { step(periods * periodSamples()); }

bool InstantSession::playing() const { return m_timer && m_timer->isActive(); }

void InstantSession::togglePlay() {
  if (!m_timer) return;
  if (playing()) {
    m_timer->stop();
  } else {
    const engine::WaveformStore* store = results ? results() : nullptr;
    if (!m_active || !store || !m_sample) return;
    if (*m_sample >= store->sampleCount - 1) show(0, true);  // from the start again
    m_playTime = store->startTime + *m_sample * store->spacing;
    m_clock->start();
    m_timer->start();
  }
  if (m_playAction) {
    m_playAction->setIcon(QApplication::style()->standardIcon(playing() ? QStyle::SP_MediaPause
                                                                        : QStyle::SP_MediaPlay));
  }
}

void InstantSession::setSlowdown(int ratio) {
  m_slowdown = std::max(1, ratio);
  if (m_speed) {
    const QSignalBlocker block(m_speed);
    if (const int index = m_speed->findData(m_slowdown); index >= 0)
      m_speed->setCurrentIndex(index);
  }
}

void InstantSession::tick() {
  const engine::WaveformStore* store = results ? results() : nullptr;
  if (!store || !m_active) return end();
  m_playTime += static_cast<double>(m_clock->restart()) / 1000.0 / m_slowdown;
  const int sample = editor::nearestSample(*store, m_playTime);
  if (sample != m_sample) show(sample, true);
  if (sample >= store->sampleCount - 1) togglePlay();  // the end of the run: pause
}

void InstantSession::setShowValues(bool show) { m_canvas.setShowValues(show); }

void InstantSession::followPlot(std::optional<double> t) {
  const engine::WaveformStore* store = results ? results() : nullptr;
  if (!store) return;
  if (t) return show(editor::nearestSample(*store, *t), false);
  // Without a cursor the plot leaves the stepping where it is; alone it shows nothing.
  if (!m_active) {
    m_sample.reset();
    m_canvas.setInstant(std::nullopt);
  }
}

void InstantSession::resultsReplaced() {
  if (!m_active) {
    m_sample.reset();
    m_canvas.setInstant(std::nullopt);
    return;
  }
  m_sample.reset();
  if (playing()) togglePlay();
  setActive(true);
}

void InstantSession::check() {
  if ((m_active || m_sample) && !(results && results())) end();
}

void InstantSession::show(int sample, bool tellPlot) {
  const engine::WaveformStore* store = results ? results() : nullptr;
  if (!store || store->sampleCount <= 0) return end();
  sample = std::clamp(sample, 0, store->sampleCount - 1);
  m_sample = sample;
  m_canvas.setInstant(editor::instantAt(m_schematic, *store, sample));
  const double t = store->startTime + sample * store->spacing;
  if (m_slider && m_slider->value() != sample) {
    const QSignalBlocker block(m_slider);
    m_slider->setValue(sample);
  }
  if (m_timeLabel) m_timeLabel->setText(QString::fromStdString(timeText(t)));
  if (tellPlot && onMoved) onMoved(t);
}

void InstantSession::end() {
  if (m_timer) m_timer->stop();
  if (m_playAction)
    m_playAction->setIcon(QApplication::style()->standardIcon(QStyle::SP_MediaPlay));
  m_active = false;
  m_sample.reset();
  m_canvas.setInstant(std::nullopt);
  if (m_bar) m_bar->hide();
}

}  // namespace wolterix::app
