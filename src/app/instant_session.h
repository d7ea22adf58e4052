#pragma once
/// Stepping through the last time run on the schematic: the instant shown (from the stepping
/// bar, its keys, the slowed-down playback or the plot window's cursor), and the bar itself.

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QComboBox;
class QElapsedTimer;
class QLabel;
class QMainWindow;
class QSlider;
class QTimer;
class QToolBar;

namespace wolterix::model {
class Schematic;
}
namespace wolterix::engine {
class WaveformStore;
}
namespace wolterix::editor {
class SchematicCanvas;
}

namespace wolterix::app {

class InstantSession {
 public:
  /// The actions the bar holds (the window's commands, with their keys).
  struct Actions {
    QAction* periodBack = nullptr;
    QAction* sampleBack = nullptr;
    QAction* playPause = nullptr;
    QAction* sampleForward = nullptr;
    QAction* periodForward = nullptr;
    QAction* values = nullptr;
  };

  InstantSession(editor::SchematicCanvas& canvas, const model::Schematic& schematic);
  ~InstantSession();
  InstantSession(const InstantSession&) = delete;
  InstantSession& operator=(const InstantSession&) = delete;

  /// The store of the valid time results, null when there are none.
  std::function<const engine::WaveformStore*()> results;
  /// Told of every instant the stepping moves to (the plot window's cursor follows).
  std::function<void(double t)> onMoved;

  /// The stepping bar under the sheet, hidden until stepping starts.
  QToolBar* createBar(QMainWindow& window, const Actions& actions);

  /// Stepping: the bar shown, the schematic at the chosen instant.
  bool active() const { return m_active; }
  /// Starts stepping at the first sample (false without time results) or ends it.
  bool setActive(bool on);
  /// The sample shown, nullopt when the schematic is drawn as usual.
  std::optional<int> sample() const { return m_sample; }
  std::optional<double> time() const;
  /// Moves by samples or by periods (of the first sinusoidal source, else 1/20 of the run).
  void step(int samples);
  void stepPeriods(int periods);
  /// Samples in one period of stepping.
  int periodSamples() const;
  void togglePlay();
  bool playing() const;
  /// Playback at 1 : ratio of real time.
  void setSlowdown(int ratio);
  int slowdown() const { return m_slowdown; }
  void setShowValues(bool show);

  /// The plot window's cursor moved to t (nullopt: it has none); while not stepping the
  /// schematic shows that instant alone.
  void followPlot(std::optional<double> t);
  /// A run ended: stepping starts again at the first sample of the new results, or ends when
  /// there are none.
  void resultsReplaced();
  /// Ends everything once the results are no longer valid (an edit, another document).
  void check();

  /// The time text of the bar: "t = 12,35 ms".
  static std::string timeText(double t);

 private:
  void show(int sample, bool tellPlot);
  void end();
  void tick();

  editor::SchematicCanvas& m_canvas;
  const model::Schematic& m_schematic;
  bool m_active = false;
  std::optional<int> m_sample;
  int m_slowdown = 100;
  double m_playTime = 0.0;
  QToolBar* m_bar = nullptr;
  QSlider* m_slider = nullptr;
  QLabel* m_timeLabel = nullptr;
  QComboBox* m_speed = nullptr;
  QAction* m_playAction = nullptr;
  QTimer* m_timer = nullptr;
  std::unique_ptr<QElapsedTimer> m_clock;
};

}  // namespace wolterix::app
