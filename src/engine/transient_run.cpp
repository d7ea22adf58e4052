#include "engine/transient_run.h"

#include <algorithm>
#include <cmath>

#include "engine/branch_stamp.h"
#include "model/connectivity.h"
#include "model/messages.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "model/source_elements.h"
#include "model/waveform_names.h"

namespace wolterix::engine {

namespace msg = model::messages;

namespace {

std::string numberedLine(int number, std::string_view text, const std::string& name) {
  return "[" + std::to_string(number) + "] " + std::string(text) + " \"" + name + "\".";
}

RunResult failure(int code, std::string_view line) { return {code, {std::string(line)}}; }

}  // namespace

std::vector<std::string> checkElements(std::span<const std::unique_ptr<ElementModel>> models) {
  std::vector<std::string> lines;
  for (const auto& model : models) {
    if (!model->hasParameters())
      lines.push_back(
          numberedLine(static_cast<int>(lines.size()) + 1, msg::kMissingParameters, model->name()));
    if (model->hasShortedTerminals())
      lines.push_back(
          numberedLine(static_cast<int>(lines.size()) + 1, msg::kShortedTerminals, model->name()));
  }
  return lines;
}

void Simulation::prepareModels(model::Schematic& schematic) {
  // A controlled source steered by a quantity that is no longer on offer loses it, so that the
  // check below reports the source.
  for (const auto& element : schematic.elements()) {
    if (auto* source = dynamic_cast<model::ControlledSource*>(element.get())) {
      const auto offered = model::controlQuantityList(schematic, source);
      if (std::find(offered.begin(), offered.end(), source->control()) == offered.end())
        source->clearControl();
    }
  }

  // Models (and their states) are kept only for the very circuit they were made from.
  const std::string fingerprint = model::circuitFingerprint(schematic);
  if (fingerprint != m_fingerprint || m_models.size() != schematic.elements().size()) {
    m_models.clear();
    m_statesValid = false;
    m_fingerprint = fingerprint;
    for (const auto& element : schematic.elements())
      m_models.push_back(createModel(*element, schematic));
  }
  // Node numbers come from the connectivity pass just made.
  for (std::size_t i = 0; i < m_models.size(); ++i) {
    const model::Element& element = *schematic.elements()[i];
    for (int t : {0, 1, 2, 3, model::kInternalNodeTerminal})
      m_models[i]->setNode(t, std::max(element.terminalNode(t), 0));
  }
}

RunResult Simulation::transientRun(model::Schematic& schematic, double t0, double T, int k,
                                   bool measurementMode, const RunCallbacks& callbacks) {
  if (schematic.elements().empty()) return failure(1, msg::kNothingToSimulate);
  k = std::clamp(k, 0, 6);
  const int stepsPerSample = 1 << k;
  const int samples = m_sampleCount;
  const double h = T / (static_cast<double>(stepsPerSample) * samples);
  // A run that could not advance (T <= 0, a step lost against the start time) never starts.
  if (!(T > 0.0) || !std::isfinite(T) || !(h > 0.0) || !std::isfinite(t0) || t0 + h == t0)
    return failure(1, msg::kInvalidNumber);

  model::numberNodes(schematic);
  prepareModels(schematic);
  RunResult result;

  m_network.build(m_models, schematic.nodeCount(), true);
  m_network.setSolverPath(m_solverPath);
  result.lines = checkElements(m_models);
  if (!result.lines.empty()) {
    result.code = static_cast<int>(result.lines.size());
    return result;
  }

  // The store keeps its own copy of the node map, so traces never depend on later numbering.
  m_store.elements = storedElements(&m_network);
  const int motors =
      static_cast<int>(std::count_if(m_models.begin(), m_models.end(), [](const auto& m) {
        return m->kind() == model::ElementKind::sDC;
      }));
  const int columns = samples + 4;
  const bool allocated =
      m_store.allocate(m_network.nodeCount(), static_cast<int>(m_network.branches().size()), motors,
                       columns, m_recorded, m_limits.resultBytes);
  m_resultBytes = m_store.requiredBytes();
  if (!allocated) return {kResultsTooLarge, {}};
  // A byte a sample for each switching element: which of them conducts.
  std::vector<int> switching;
  for (std::size_t i = 0; i < m_models.size(); ++i)
    if (m_models[i]->conductionState() >= 0) switching.push_back(static_cast<int>(i));
  m_store.allocateStates(std::move(switching));

  if (t0 <= 0.0 || !m_statesValid) {
    t0 = 0.0;
    for (const auto& model : m_models) model->resetState();
  }
  m_statesValid = true;
  for (const auto& model : m_models) model->bind(m_network);
  m_store.startTime = t0;
  m_store.spacing = stepsPerSample * h;

  if (callbacks.progress) callbacks.progress(0);
  // c * N + 1 solves, samples 0..N, whatever k is. Each step's time is start + s * h, not a
  // running sum, so events due at a step's instant are not put off by rounding.
  const long long lastStep = static_cast<long long>(stepsPerSample) * samples;
  const long long sampleMask = stepsPerSample - 1;
  // The first step whose progress shows a new per cent.
  const auto stepOfPercent = [&](long long percent) { return (percent * lastStep + 99) / 100; };
  long long nextProgress = callbacks.progress ? stepOfPercent(1) : lastStep + 1;
  double t = t0;
  for (long long step = 0; step <= lastStep; ++step) {
    t = t0 + static_cast<double>(step) * h;
    int code = m_network.solveStep(h, t);
    if (code == 0 && (step & sampleMask) == 0) {
      if (!record(static_cast<int>(step / stepsPerSample)))
        code = -2;
      else if (measurementMode && callbacks.afterSample)
        callbacks.afterSample(t + h);
    }
    if (code != 0) {
      m_statesValid = false;
      if (code == -1) return failure(code, msg::kSingularNetwork);
      // Most often the step is too long for the circuit's fastest time constant.
      return {code, {std::string(msg::kFatalSimulationError), std::string(msg::kShorterStepHint)}};
    }
    // The last time point is not committed: a continued run recomputes it from the states
    // of before it.
    if (step < lastStep) m_network.commitStep(h, t);
    if (step >= nextProgress) {
      const long long percent = step * 100 / lastStep;
      callbacks.progress(static_cast<int>(percent));
      nextProgress = stepOfPercent(percent + 1);
    }
    if (stopRequested() && step < lastStep) {
      // The states now lie in the middle of the run: nothing may continue from them.
      m_statesValid = false;
      return {kStopped, {}};
    }
  }
  m_continuationTime = t;
  return result;
}

std::vector<StoredElement> Simulation::storedElements(const Network* network) const {
  std::vector<StoredElement> elements;
  int motors = 0;
  for (std::size_t i = 0; i < m_models.size(); ++i) {
    const ElementModel& model = *m_models[i];
    StoredElement stored;
    stored.name = model.name();
    stored.kind = model.kind();
    for (int t = 0; t < 4; ++t) stored.nodes[t] = model.node(t);
    stored.nodes[4] = model.node(model::kInternalNodeTerminal);
    stored.firstBranch = network ? network->firstBranchOf(i) : static_cast<int>(i);
    if (model.kind() == model::ElementKind::sDC) stored.motor = motors++;
    stored.voltageDirection = model.voltageDirection();
    stored.currentDirection = model.currentDirection();
    elements.push_back(std::move(stored));
  }
  return elements;
}

RunResult Simulation::frequencySweep(model::Schematic& schematic, double f1, double f2,
                                     const RunCallbacks& callbacks) {
  if (schematic.elements().empty()) return failure(1, msg::kNothingToSimulate);
  if (!(f1 > 0.0) || !(f2 > f1) || !std::isfinite(f2)) return failure(1, msg::kInvalidNumber);

  model::numberNodes(schematic);
  prepareModels(schematic);
  RunResult result;
  result.lines = checkElements(m_models);
  if (!result.lines.empty()) {
    result.code = static_cast<int>(result.lines.size());
    return result;
  }

  // One branch per element, terminal 0 to terminal 1; node 0 is the only reference.
  const int n = std::max(schematic.nodeCount(), 1);
  const int points = m_sampleCount;
  const double q = std::pow(f2 / f1, 1.0 / points);
  const auto w = static_cast<std::size_t>(n) + 1;
  // The store, the frequencies and the working matrix, all complex but the frequencies.
  m_resultBytes = (static_cast<std::size_t>(n) * (static_cast<std::size_t>(points) + 4) +
                   static_cast<std::size_t>(n) * w) *
                      sizeof(Complex) +
                  (static_cast<std::size_t>(points) + 1) * sizeof(double);
  if (m_limits.resultBytes > 0 && m_resultBytes > m_limits.resultBytes)
    return {kResultsTooLarge, {}};
  m_transferStore.elements = storedElements(nullptr);
  m_transferStore.allocate(n, points + 4);
  m_transferStore.ratio = q;

  std::vector<Complex> matrix(static_cast<std::size_t>(n) * w);
  std::vector<std::pair<int, int>> links;
  if (callbacks.progress) callbacks.progress(0);
  double f = f1;
  for (int k = 0; k <= points; ++k) {
    // Repeated multiplication, with the last point put exactly on f2.
    if (k == points) f = f2;
    std::fill(matrix.begin(), matrix.end(), Complex{});
    links.clear();
    DenseNodalTarget<Complex> target(matrix.data(), n);
    for (const auto& model : m_models) {
      const AcStamp stamp = model->acStamp(f);
      const BranchEnds ends{model->node(0), model->node(1)};
      if (stamp.Y != Complex{}) links.emplace_back(ends.from, ends.to);
      stampBranch(target, ends, stamp.Y, stamp.J);
    }
    // Singular or not is a question of the graph; the elimination then serves accuracy only.
    if (!reachesTheReference(n, links) || !solveNodalComplex(matrix, n))
      return failure(-1, msg::kSingularNetwork);
    for (int node = 1; node < n; ++node) {
      const Complex v = matrix[static_cast<std::size_t>(node) * w + w - 1];
      if (!std::isfinite(v.real()) || !std::isfinite(v.imag()))
        return failure(-2, msg::kFatalSimulationError);
      m_transferStore.nodeRow(node)[k] = v;
    }
    m_transferStore.frequencies.push_back(f);
    m_transferStore.pointCount = k + 1;
    f *= q;
    if (callbacks.progress) callbacks.progress((k + 1) * 100 / (points + 1));
    if (stopRequested() && k < points) return {kStopped, {}};
  }
  return result;
}

bool Simulation::record(int sample) {
  if (sample >= m_store.columns()) return true;
  const NodeVector V = m_network.voltages();
  for (int n = 0; n < m_store.nodeRows(); ++n)
    if (const auto row = m_store.nodeRow(n); !row.empty()) row[sample] = V[n];
  // Potentials are bounded by the solve; currents and speeds (and so every power) here. Rows
  // the store does not keep are checked all the same, so a run ends alike whatever it keeps.
  bool bounded = true;
  for (int b = 0; b < m_store.branchRows(); ++b) {
    const double i = m_network.branchCurrent(static_cast<std::size_t>(b), V);
    if (const auto row = m_store.branchRow(b); !row.empty()) row[sample] = i;
    bounded = withinBounds(i) && bounded;
  }
  int motor = 0;
  for (const auto& model : m_models)
    if (model->kind() == model::ElementKind::sDC) {
      const double n = model->motorSpeed();
      if (const auto row = m_store.motorRow(motor); !row.empty()) row[sample] = n;
      ++motor;
      bounded = withinBounds(n) && bounded;
    }
  for (int row = 0; row < m_store.stateRows(); ++row) {
    const auto model = static_cast<std::size_t>(m_store.stateElementIndex(row));
    m_store.stateRow(row)[static_cast<std::size_t>(sample)] =
        static_cast<std::uint8_t>(std::max(m_models[model]->conductionState(), 0));
  }
  m_store.sampleCount = sample + 1;
  return bounded;
}

}  // namespace wolterix::engine
