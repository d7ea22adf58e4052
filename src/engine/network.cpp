#include "engine/network.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/branch_stamp.h"
#include "engine/passive_models.h"
#include "engine/source_models.h"
#include "engine/switching_models.h"

namespace wolterix::engine {

namespace {

// The band of the ordered solver, indexed by solver position (-1 the reference).
struct BandTarget {
  static constexpr bool kConductances = true;
  static constexpr bool kSources = false;

  static bool unknown(int position) { return position >= 0; }
  double& entry(int row, int column) { return m.at(row, column); }

  BandMatrix& m;
};

}  // namespace

template <class Target, class Ends>
void Network::stampBranches(Target& target, Ends ends) const {
  for (const Branch& b : m_branches) {
    if (b.partner < 0) {
      stampBranch(target, ends(b), b.G, b.J);
      continue;
    }
    const Branch& p = m_branches[static_cast<std::size_t>(b.partner)];
    stampBranch(target, ends(b), b.G, b.J, ends(p), b.Gm);
  }
}

bool solveNodal(std::span<double> a, int n) {
  const std::size_t w = static_cast<std::size_t>(n) + 1;
  const auto at = [&](int row, int col) -> double& {
    return a[static_cast<std::size_t>(row) * w + static_cast<std::size_t>(col)];
  };
  // Forward: clear column j below the diagonal, from the bottom row up. The update keeps the
  // reversed sign (row j times f minus row i); rows change sign, the solution does not.
  for (int j = 1; j < n - 1; ++j) {
    for (int i = n - 1; i >= j + 1; --i) {
      if (at(i, j) == 0.0) continue;
      if (at(j, j) == 0.0) return false;
      const double f = at(i, j) / at(j, j);
      // Columns left of j are zero in both rows already.
      for (int c = j; c <= n; ++c) at(i, c) = at(j, c) * f - at(i, c);
    }
  }
  // Backward: clear column i above the diagonal.
  for (int i = n - 1; i >= 2; --i) {
    for (int j = 1; j <= i - 1; ++j) {
      if (at(j, i) == 0.0) continue;
      if (at(i, i) == 0.0) return false;
      const double f = at(j, i) / at(i, i);
      // From column j: the update also flips the sign of row j's own entries left of i.
      for (int c = j; c <= n; ++c) at(j, c) = at(i, c) * f - at(j, c);
    }
  }
  for (int j = 1; j <= n - 1; ++j) {
    if (at(j, j) == 0.0) return false;  // a row no elimination touched: no path to the reference
    at(j, n) /= at(j, j);
  }
  return true;
}

void Network::build(std::span<const std::unique_ptr<ElementModel>> models, int nodeCount,
                    bool groundParts) {
  m_models.clear();
  m_varistors.clear();
  m_preparers.clear();
  m_checkers.clear();
  m_diodes.clear();
  m_thyristors.clear();
  m_inductors.clear();
  m_capacitors.clear();
  m_sources.clear();
  m_committers.clear();
  m_varyingBranches.clear();
  m_restampedBranches.clear();
  m_stateStamped.clear();
  m_pendingStamps.clear();
  m_sourceBranches.clear();
  m_constantsStamped = false;
  m_varyingEverySolve = false;
  m_conductancesChanged = true;
  m_branches.clear();
  m_firstBranch.clear();
  for (const auto& owned : models) {
    ElementModel* model = owned.get();
    m_models.push_back(model);
    const unsigned needs = model->needs();
    if (model->kind() == model::ElementKind::War) m_varistors.push_back(model);
    // The commonest kinds are called without the virtual call (their classes are final and
    // their step functions inline); the order of the calls does not matter.
    auto* diode = dynamic_cast<DiodeModel*>(model);
    auto* valve = dynamic_cast<ThyristorModel*>(model);
    auto* inductor = dynamic_cast<InductanceModel*>(model);
    auto* capacitor = dynamic_cast<CapacitanceModel*>(model);
    auto* source = dynamic_cast<IndependentSourceModel*>(model);
    const bool typed = diode || valve || inductor || capacitor || source;
    if (diode) m_diodes.push_back(diode);
    if (valve) m_thyristors.push_back(valve);
    if ((needs & kNeedsPrepare) && !typed) m_preparers.push_back(model);
    if ((needs & kNeedsCheck) && !typed) m_checkers.push_back(model);
    if ((needs & kNeedsCommit) && !typed) m_committers.push_back(model);
    const auto count = static_cast<int>(model->branches().size());
    const int first = static_cast<int>(m_branches.size());
    if (inductor) m_inductors.push_back({inductor, first});
    if (capacitor) m_capacitors.push_back({capacitor, first});
    if (source) m_sources.push_back({source, first});
    for (int k = 0; k < count && !inductor && !capacitor && !source; ++k) {
      const int index = first + k;
      if (needs & kVaryingConductance) m_varyingBranches.push_back(index);
      if (!(needs & (kConstantStamp | kStampFollowsState))) m_restampedBranches.push_back(index);
    }
    if (needs & kStampFollowsState) {
      model->reportStampChangesTo(&m_pendingStamps, static_cast<int>(m_stateStamped.size()));
      m_stateStamped.push_back({model, first, count, (needs & kSourceFree) != 0});
    } else if (needs & kVaryingConductance)
      m_varyingEverySolve = true;
    m_firstBranch.push_back(first);
    for (const BranchShape& shape : model->branches()) {
      Branch b;
      b.from = model->node(shape.fromTerminal);
      b.to = model->node(shape.toTerminal);
      b.model = model;
      b.code = shape.code;
      // The two windings of a magnetic element see each other.
      if (shape.code == SubBranchCode::FirstWinding) b.partner = first + 1;
      if (shape.code == SubBranchCode::SecondWinding) b.partner = first;
      m_branches.push_back(b);
    }
  }
  m_nodeCount = nodeCount;
  if (groundParts && !m_branches.empty()) groundSeparateParts();
  m_nodeCount = std::max(m_nodeCount, 1);
  m_voltages.assign(static_cast<std::size_t>(m_nodeCount), 0.0);
  m_matrix.clear();
  m_counters = {};
  orderNodes();
}

void Network::orderNodes() {
  // The unknowns are nodes 1..n-1; their coupling pattern is that of the branches and of the
  // mutual terms between windings.
  const int unknowns = m_nodeCount - 1;
  std::vector<std::pair<int, int>> edges;
  const auto join = [&](int a, int b) {
    if (a != 0 && b != 0 && a != b) edges.emplace_back(a - 1, b - 1);
  };
  for (const Branch& b : m_branches) {
    join(b.from, b.to);
    if (b.partner >= 0) {
      const Branch& p = m_branches[static_cast<std::size_t>(b.partner)];
      for (int row : {b.from, b.to})
        for (int column : {p.from, p.to}) join(row, column);
    }
  }
  const std::vector<int> order = reverseCuthillMcKee(unknowns, edges);
  m_position.assign(static_cast<std::size_t>(m_nodeCount), -1);
  m_order.assign(static_cast<std::size_t>(unknowns), 0);
  for (int k = 0; k < unknowns; ++k) {
    m_position[static_cast<std::size_t>(order[k]) + 1] = k;
    m_order[static_cast<std::size_t>(k)] = order[k] + 1;
  }
  for (Branch& b : m_branches) {
    b.fromPosition = m_position[b.from];
    b.toPosition = m_position[b.to];
  }
  m_band = 0;
  for (const auto& [a, b] : edges)
    m_band = std::max(m_band, std::abs(m_position[a + 1] - m_position[b + 1]));

  // Keep as many factorisations as fit in a few tens of megabytes, at most eight.
  const double bytes = smallCircuit() ? 18.0 * m_nodeCount * m_nodeCount
                                      : 8.0 * std::max(unknowns, 1) * (2.0 * m_band + 1.0);
  m_cacheLimit = static_cast<std::size_t>(std::clamp(32e6 / bytes, 1.0, 8.0));
  m_cache.clear();
  m_lastEntry = 0;
  m_clock = 0;
  m_rhs.assign(static_cast<std::size_t>(m_nodeCount), 0.0);
}

void Network::groundSeparateParts() {
  // Parts are the connected groups of nodes; the part of the first branch keeps node 0.
  const int n = m_nodeCount;
  std::vector<int> parent(n);
  std::iota(parent.begin(), parent.end(), 0);
  const auto root = [&](int x) {
    while (parent[x] != x) x = parent[x] = parent[parent[x]];
    return x;
  };
  for (const Branch& b : m_branches) parent[root(b.from)] = root(b.to);

  // The lowest node of every other part becomes that part's reference, node 0; the nodes
  // above it close up.
  std::vector<int> lowest(n, -1);
  for (int x = 0; x < n; ++x)
    if (lowest[root(x)] < 0) lowest[root(x)] = x;
  const int firstPart = root(m_branches.front().from);
  std::vector<int> renumbered(n);
  int removed = 0;
  for (int x = 0; x < n; ++x) {
    const bool reference = root(x) != firstPart && lowest[root(x)] == x;
    renumbered[x] = reference ? 0 : x - removed;
    if (reference) ++removed;
  }
  for (Branch& b : m_branches) {
    b.from = renumbered[b.from];
    b.to = renumbered[b.to];
  }
  for (std::size_t i = 0; i < m_models.size(); ++i) {
    const auto shapes = m_models[i]->branches();
    for (std::size_t k = 0; k < shapes.size(); ++k) {
      const Branch& b = m_branches[m_firstBranch[i] + k];
      m_models[i]->setNode(shapes[k].fromTerminal, b.from);
      m_models[i]->setNode(shapes[k].toTerminal, b.to);
    }
  }
  m_nodeCount = n - removed;
}

double Network::branchCurrent(std::size_t branch, NodeVector V) const {
  const Branch& b = m_branches[branch];
  double i = b.G * (V[b.from] - V[b.to]) - b.J;
  if (b.partner >= 0) {
    const Branch& p = m_branches[b.partner];
    i += b.Gm * (V[p.from] - V[p.to]);
  }
  return i;
}

void Network::commitStep(double h, double t) {
  for (const auto& [inductor, k] : m_inductors) inductor->commitStep(m_voltages, h, t);
  for (const auto& [capacitor, k] : m_capacitors) capacitor->commitStep(m_voltages, h, t);
  for (ThyristorModel* valve : m_clockOwners) valve->advanceClock(h, t);
  for (ElementModel* model : m_committers) model->commitStep(m_voltages, h, t);
}

void Network::stamp(double h, double t) {
  // A conducting thyristor waits for no firing: its inline prepareStep returns at once.
  for (ThyristorModel* valve : m_thyristors) valve->prepareStep(h, m_voltages);
  for (ElementModel* model : m_preparers) model->prepareStep(h, m_voltages);
  const auto stampBranch = [&](Branch& b) {
    const BranchStamp stamp = b.model->companion(h, t, b.code);
    b.G = stamp.G;
    b.J = stamp.J;
    b.Gm = stamp.Gm;
  };
  if (!m_constantsStamped) {
    // Stamps that stay the same for the run are taken once.
    for (Branch& b : m_branches) stampBranch(b);
    for (const StateStamped& s : m_stateStamped) s.model->takeStampChange();
    m_pendingStamps.clear();
    m_pendingStamps.reserve(m_stateStamped.size());
    m_conductancesChanged = true;
    // The right-hand side takes every branch whose J may be or become non-zero.
    m_sourceBranches.clear();
    const std::vector<bool> restamped = [&] {
      std::vector<bool> flags(m_branches.size(), false);
      for (int k : m_restampedBranches) flags[static_cast<std::size_t>(k)] = true;
      for (const auto& [inductor, k] : m_inductors) flags[static_cast<std::size_t>(k)] = true;
      for (const auto& [capacitor, k] : m_capacitors) flags[static_cast<std::size_t>(k)] = true;
      for (const auto& [source, k] : m_sources) flags[static_cast<std::size_t>(k)] = true;
      for (const StateStamped& s : m_stateStamped)
        for (int k = 0; k < s.count; ++k)
          flags[static_cast<std::size_t>(s.firstBranch + k)] = !s.sourceFree;
      return flags;
    }();
    for (std::size_t k = 0; k < m_branches.size(); ++k)
      if (restamped[k] || m_branches[k].J != 0.0) m_sourceBranches.push_back(static_cast<int>(k));
    // Here, not in build: which valve owns its clock is settled by bind, after the build.
    m_clockOwners.clear();
    for (ThyristorModel* valve : m_thyristors)
      if (valve->ownsClock()) m_clockOwners.push_back(valve);
    m_constantsStamped = true;
    return;
  }
  for (int k : m_restampedBranches) stampBranch(m_branches[static_cast<std::size_t>(k)]);
  // Sources, L and C without the virtual call (final classes, inline step functions).
  const auto take = [&](auto* model, int k) {
    const BranchStamp stamp = model->companion(h, t, SubBranchCode::Single);
    Branch& b = m_branches[static_cast<std::size_t>(k)];
    b.G = stamp.G;
    b.J = stamp.J;
    b.Gm = stamp.Gm;
  };
  for (const auto& [source, k] : m_sources) take(source, k);
  for (const auto& [inductor, k] : m_inductors) take(inductor, k);
  for (const auto& [capacitor, k] : m_capacitors) take(capacitor, k);
  if (m_varyingEverySolve) m_conductancesChanged = true;
  if (m_pendingStamps.empty()) return;
  for (int pending : m_pendingStamps) {
    const StateStamped& s = m_stateStamped[static_cast<std::size_t>(pending)];
    s.model->takeStampChange();
    for (int k = 0; k < s.count; ++k)
      stampBranch(m_branches[static_cast<std::size_t>(s.firstBranch + k)]);
  }
  m_pendingStamps.clear();
  m_conductancesChanged = true;
}

int Network::storeSolution(std::span<const double> solution, bool ordered) {
  const int unknowns = m_nodeCount - 1;
  // A non-finite value, or one beyond any physical meaning, ends the run: a step that blew
  // up must not be shown as a result.
  bool bounded = true;
  if (ordered) {
    for (int k = 0; k < unknowns; ++k) {
      m_voltages[m_order[k]] = solution[k];
      bounded = withinBounds(solution[k]) && bounded;
    }
  } else {
    const bool inPlace = solution.data() == m_voltages.data();
    for (int k = 1; k <= unknowns; ++k) {
      if (!inPlace) m_voltages[k] = solution[k];
      bounded = withinBounds(solution[k]) && bounded;
    }
  }
  return bounded ? 0 : -2;
}

// The dense nodal matrix of n rows and n + 1 columns in branch order, as the plain
// elimination takes it.
void Network::assembleDense(bool withRightHandSide) {
  const auto n = static_cast<std::size_t>(m_nodeCount);
  m_matrix.assign(n * (n + 1), 0.0);
  if (withRightHandSide) {
    DenseNodalTarget<double> target(m_matrix.data(), m_nodeCount);
    stampBranches(target, [](const Branch& b) { return BranchEnds{b.from, b.to}; });
  } else {
    DenseNodalTarget<double, false> target(m_matrix.data(), m_nodeCount);
    stampBranches(target, [](const Branch& b) { return BranchEnds{b.from, b.to}; });
  }
}

int Network::solveReference() {
  const auto n = static_cast<std::size_t>(m_nodeCount);
  const std::size_t w = n + 1;
  assembleDense(true);
  ++m_counters.factorisations;
  // A graph that reaches the reference everywhere is connected, however badly the numbers
  // of an extreme step condition it: that failure is the simulation's, not the circuit's.
  if (!solveNodal(m_matrix, m_nodeCount)) return everyNodeReachesTheReference() ? -2 : -1;
  std::vector<double>& solution = m_solution;
  solution.assign(n, 0.0);
  for (std::size_t j = 1; j < n; ++j) solution[j] = m_matrix[j * w + n];
  return storeSolution(solution, false);
}

// Up to this many unknowns the plain elimination, replayed on the right-hand side, costs no
// more than the band and gives exactly the reference result.
bool Network::smallCircuit() const { return m_nodeCount - 1 <= 32; }

bool Network::keyMatches(const std::vector<double>& key) const {
  if (key.size() != m_varyingBranches.size()) return false;
  for (std::size_t k = 0; k < key.size(); ++k)
    if (key[k] != m_branches[static_cast<std::size_t>(m_varyingBranches[k])].G) return false;
  return true;
}

bool Network::everyNodeReachesTheReference() const {
  // Exact, whatever the elimination order: a node without a path of non-zero conductance to
  // the reference has no defined potential.
  std::vector<std::vector<int>> next(static_cast<std::size_t>(m_nodeCount));
  for (const Branch& b : m_branches) {
    if (b.G == 0.0 || b.from == b.to) continue;
    next[b.from].push_back(b.to);
    next[b.to].push_back(b.from);
  }
  std::vector<bool> reached(static_cast<std::size_t>(m_nodeCount), false);
  std::vector<int> queue{0};
  reached[0] = true;
  for (std::size_t head = 0; head < queue.size(); ++head)
    for (int n : next[queue[head]])
      if (!reached[n]) {
        reached[n] = true;
        queue.push_back(n);
      }
  return queue.size() == static_cast<std::size_t>(m_nodeCount);
}

int Network::solveSmall(const CachedFactor& entry) {
  // Indexed by node, summed in branch order like the full matrix's last column. The replay
  // leaves the right-hand side zero for the next solve and ignores its entry 0, so the
  // reference end of a branch may add there.
  double* rhs = m_rhs.data();
  for (int k : m_sourceBranches) {
    const Branch& b = m_branches[static_cast<std::size_t>(k)];
    rhs[b.from] += b.J;
    rhs[b.to] -= b.J;
  }
  const double sum = entry.replay.solveInto(rhs, m_voltages.data());
  // Every potential is within bounds when the sum of their sizes is (and one that is not a
  // number makes the sum none); only a sum beyond them asks one by one.
  return withinBounds(sum) ? 0 : storeSolution(m_voltages, false);
}

int Network::solveFast() {
  // Most solves keep the conductances of the solve before, and with them its factorisation.
  // The cache's clock stands still meanwhile: the last entry stays the one used latest.
  const bool small = smallCircuit();
  if (small && !m_conductancesChanged && m_lastEntry < m_cache.size())
    return solveSmall(m_cache[m_lastEntry]);
  const int unknowns = m_nodeCount - 1;
  if (unknowns <= 0) return 0;
  ++m_clock;
  // Otherwise the last factorisation is tried first, as most steps keep the switch states of
  // the step before.
  CachedFactor* entry = nullptr;
  if (m_lastEntry < m_cache.size() &&
      (!m_conductancesChanged || keyMatches(m_cache[m_lastEntry].key)))
    entry = &m_cache[m_lastEntry];
  for (std::size_t k = 0; !entry && k < m_cache.size(); ++k)
    if (k != m_lastEntry && keyMatches(m_cache[k].key)) entry = &m_cache[k];
  m_conductancesChanged = false;
  if (!entry) {
    if (!everyNodeReachesTheReference()) return -1;
    if (m_cache.size() < m_cacheLimit) {
      m_cache.emplace_back();
      entry = &m_cache.back();
    } else {
      entry = &*std::min_element(m_cache.begin(), m_cache.end(), [](const auto& a, const auto& b) {
        return a.lastUse < b.lastUse;
      });
    }
    entry->key.clear();
    for (int k : m_varyingBranches) entry->key.push_back(m_branches[static_cast<std::size_t>(k)].G);
    ++m_counters.factorisations;
    bool factored = false;
    if (smallCircuit()) {
      assembleDense(false);
      factored = entry->replay.factor(m_matrix, m_nodeCount);
    } else {
      BandMatrix& m = entry->matrix;
      m.resize(unknowns, m_band);
      BandTarget target{m};
      stampBranches(target, [](const Branch& b) {
        return BranchEnds{b.fromPosition, b.toPosition};
      });
      factored = m.factor();
    }
    if (!factored) {
      m_cache.erase(m_cache.begin() + (entry - m_cache.data()));  // never reused
      m_lastEntry = m_cache.size();
      return -2;  // connected (checked above), so numerically singular at this step
    }
  }
  entry->lastUse = m_clock;
  m_lastEntry = static_cast<std::size_t>(entry - m_cache.data());

  if (small) return solveSmall(*entry);
  std::fill(m_rhs.begin(), m_rhs.end(), 0.0);
  SourceVectorTarget<-1> byPosition{m_rhs.data()};
  for (int k : m_sourceBranches) {
    const Branch& b = m_branches[static_cast<std::size_t>(k)];
    stampBranch(byPosition, {b.fromPosition, b.toPosition}, b.G, b.J);
  }
  entry->matrix.solve(m_rhs);
  return storeSolution(m_rhs, true);
}

int Network::solveStep(double h, double t) {
  ++m_counters.steps;
  bool relinearised = false;
  for (int solveCount = 1;; ++solveCount) {
    m_lastStepSolves = solveCount;
    ++m_counters.solves;
    stamp(h, t);
    const int result = m_path == SolverPath::Fast ? solveFast() : solveReference();
    if (result != 0) return result;
    bool changed = false;
    for (DiodeModel* diode : m_diodes) changed = diode->checkState(m_voltages) || changed;
    for (ThyristorModel* valve : m_thyristors) changed = valve->checkState(m_voltages) || changed;
    for (ElementModel* model : m_checkers) changed = model->checkState(m_voltages) || changed;
    // Varistors are relinearised around the fresh solution once per step.
    if (!m_varistors.empty() && !relinearised) {
      for (ElementModel* varistor : m_varistors) varistor->commitStep(m_voltages, h, t);
      relinearised = true;
      changed = true;
    }
    if (!changed || solveCount >= 6) return 0;
  }
}

}  // namespace wolterix::engine
