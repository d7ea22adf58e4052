#pragma once
/// The time-domain run: checks, the fixed-step time loop, recording and continuation.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/element_model.h"
#include "engine/frequency_sweep.h"
#include "engine/network.h"
#include "engine/waveform_store.h"

namespace wolterix::model {
class Schematic;
}

namespace wolterix::engine {

/// Analysis settings kept for the life of the program (not saved with the schematic).
struct SimulationSettings {
  std::string timeText = "?";  ///< simulated time as typed
  double time = 0.0;           ///< seconds
  int iterations = 0;          ///< k: 2^k steps per sample, 0..6
  std::string fromText = "?";  ///< transfer-function range
  std::string toText = "?";
  double from = 0.0;
  double to = 0.0;
};

/// Outcome of a run: 0 success, a positive count of check lines, -1 singular network,
/// -2 a solution that is not finite, and only under RunLimits kResultsTooLarge or kStopped.
/// lines holds the numbered texts to show.
inline constexpr int kResultsTooLarge = -3;  ///< refused before the start; lines stay empty
inline constexpr int kStopped = -4;          ///< the stop flag ended it; lines stay empty
struct RunResult {
  int code = 0;
  std::vector<std::string> lines;
  bool ok() const { return code == 0; }
};

/// Called during a run: progress in per cent (once for each new value), and after every
/// recorded sample with the time it has reached (measurement).
struct RunCallbacks {
  std::function<void(int percent)> progress;
  std::function<void(double time)> afterSample;
};

/// What a caller may bound a run by (the window sets neither).
struct RunLimits {
  std::size_t resultBytes = 0;  ///< the stored results may take at most this; 0 no limit
  const std::atomic<bool>* stop = nullptr;  ///< once set, the run ends after its present step
};

/// Owns the element models, whose state lives on between continued runs, and the results.
class Simulation {
 public:
  /// Samples per run (one per pixel column of a full-screen plot).
  void setSampleCount(int samples) { m_sampleCount = samples < 1 ? 1 : samples; }
  int sampleCount() const { return m_sampleCount; }
  /// The solver of the time runs: the fast path unless a test asks for the reference one.
  void setSolverPath(SolverPath path) { m_solverPath = path; }
  /// Time runs keep only the rows these waveforms read; empty (the default) keeps everything.
  void setRecordedWaveforms(std::vector<std::string> names) { m_recorded = std::move(names); }
  void setLimits(const RunLimits& limits) { m_limits = limits; }
  /// Bytes the results of the last run took, or would have taken when it was refused.
  std::size_t resultBytes() const { return m_resultBytes; }

  /// Runs from start time t0 for duration T with 2^k steps per sample. A start time above 0
  /// continues the previous run, but only while the schematic is the one that run left its
  /// states in; otherwise the run starts from 0.
  RunResult transientRun(model::Schematic& schematic, double t0, double T, int k,
                         bool measurementMode = false, const RunCallbacks& callbacks = {});

  /// Transfer functions of every element over N intervals from f1 to f2 (0 < f1 < f2), the
  /// input voltage applying 1 V. Same result codes as the time run.
  RunResult frequencySweep(model::Schematic& schematic, double f1, double f2,
                           const RunCallbacks& callbacks = {});

  const WaveformStore& store() const { return m_store; }
  const FrequencyStore& transferStore() const { return m_transferStore; }
  /// The network of the last run (its branches and last stamps).
  const Network& network() const { return m_network; }
  /// The element models of the last run, in element-list order.
  std::span<const std::unique_ptr<ElementModel>> models() const { return m_models; }
  /// Time of the last accepted step of the last run.
  double continuationTime() const { return m_continuationTime; }

 private:
  void prepareModels(model::Schematic& schematic);
  /// Stores one sample; false when a current or speed is beyond any physical meaning.
  bool record(int sample);
  bool stopRequested() const {
    return m_limits.stop && m_limits.stop->load(std::memory_order_relaxed);
  }
  std::vector<StoredElement> storedElements(const Network* network) const;

  std::vector<std::unique_ptr<ElementModel>> m_models;
  std::string m_fingerprint;  ///< the circuit the models' states belong to
  bool m_statesValid = false;
  Network m_network;
  WaveformStore m_store;
  FrequencyStore m_transferStore;
  int m_sampleCount = 944;
  SolverPath m_solverPath = SolverPath::Fast;
  double m_continuationTime = 0.0;
  std::vector<std::string> m_recorded;
  RunLimits m_limits;
  std::size_t m_resultBytes = 0;
};

/// "[j] Brak parametrów: Element "R1"." style lines for every element that fails a check.
std::vector<std::string> checkElements(std::span<const std::unique_ptr<ElementModel>> models);

}  // namespace wolterix::engine
