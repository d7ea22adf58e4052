#pragma once
/// The branch table, the nodal equations and their solution.

#include <memory>
#include <span>
#include <vector>

#include "engine/banded_solver.h"
#include "engine/element_model.h"
#include "engine/elimination_replay.h"

namespace wolterix::engine {

class CapacitanceModel;
class DiodeModel;
class IndependentSourceModel;
class InductanceModel;
class ThyristorModel;

/// How the nodal equations are solved: the reference path is the plain dense elimination;
/// the fast path orders the nodes into a narrow band and reuses factorisations of conductance
/// sets met before.
enum class SolverPath { Reference, Fast };

/// Work done since the network was built.
struct SolveCounters {
  long long steps = 0;
  long long solves = 0;
  long long factorisations = 0;
};

/// One branch: a stamp between two engine nodes, owned by an element model.
struct Branch {
  double G = 0.0;
  double J = 0.0;
  double Gm = 0.0;   ///< mutual conductance to the partner winding
  int partner = -1;  ///< index of the other winding's branch, -1 for none
  int from = 0;
  int to = 0;
  int fromPosition = -1;  ///< places of the nodes in the ordered (fast) solver, -1 = reference
  int toPosition = -1;
  ElementModel* model = nullptr;
  SubBranchCode code = SubBranchCode::Single;
};

/// Solves the nodal equations in place by elimination without pivoting. matrix holds n rows of
/// n + 1 columns (row and column 0 unused, column n the right-hand side). On success column n
/// of rows 1..n-1 holds the potentials; a zero pivot answers false.
bool solveNodal(std::span<double> matrix, int n);

class Network {
 public:
  /// Builds the branch table from the models' node numbers (element-list order). With
  /// groundParts, every galvanically separate part gets its own reference node and the
  /// models receive the renumbered nodes.
  void build(std::span<const std::unique_ptr<ElementModel>> models, int nodeCount,
             bool groundParts);
  /// Chooses the solver for the following solves (the fast path unless told otherwise).
  void setSolverPath(SolverPath path) { m_path = path; }
  const SolveCounters& counters() const { return m_counters; }
  /// Half bandwidth of the ordered nodal matrix (fast path).
  int halfBandwidth() const { return m_band; }

  int nodeCount() const { return m_nodeCount; }
  std::span<const Branch> branches() const { return m_branches; }
  /// Index of the first branch of model i.
  int firstBranchOf(std::size_t model) const { return m_firstBranch.at(model); }
  ElementModel& model(std::size_t i) const { return *m_models[i]; }
  std::size_t modelCount() const { return m_models.size(); }

  /// i = G * (V(from) - V(to)) + Gm * v_partner - J with the branch's last stamp.
  double branchCurrent(std::size_t branch, NodeVector V) const;

  /// Present node voltages (entry 0 is the reference).
  std::span<double> voltages() { return m_voltages; }
  NodeVector voltages() const { return m_voltages; }

  /// Solves one time step at time t with step h, repeating the solve while switching
  /// elements change state (at most six solves). Returns 0, -1 for a singular network or
  /// -2 for a solution that is not finite.
  int solveStep(double h, double t);
  /// After an accepted step: lets every model that keeps state store it.
  void commitStep(double h, double t);
  /// How many solves the last step took (1..6).
  int lastStepSolves() const { return m_lastStepSolves; }

 private:
  struct CachedFactor {
    std::vector<double> key;   ///< the conductances it was made from
    BandMatrix matrix;         ///< large circuits: band in node order of least fill
    EliminationReplay replay;  ///< small circuits: the plain elimination, replayed
    unsigned long long lastUse = 0;
  };

  void groundSeparateParts();
  void orderNodes();
  void assembleDense(bool withRightHandSide);
  /// Stamps every branch into target in branch order, with the windings' mutual terms; ends
  /// gives a branch's ends in the target's numbering.
  template <class Target, class Ends>
  void stampBranches(Target& target, Ends ends) const;
  bool smallCircuit() const;
  void stamp(double h, double t);
  int solveReference();
  int solveFast();
  int solveSmall(const CachedFactor& entry);
  bool keyMatches(const std::vector<double>& key) const;
  bool everyNodeReachesTheReference() const;
  int storeSolution(std::span<const double> solution, bool ordered);

  std::vector<ElementModel*> m_models;
  std::vector<ElementModel*> m_varistors;
  std::vector<ElementModel*> m_preparers;
  std::vector<ElementModel*> m_checkers;
  std::vector<DiodeModel*> m_diodes;          ///< checked at every solve
  std::vector<ThyristorModel*> m_thyristors;  ///< prepared and checked at every solve
  /// Stamped at every solve and committed at every step, with their branches.
  std::vector<std::pair<InductanceModel*, int>> m_inductors;
  std::vector<std::pair<CapacitanceModel*, int>> m_capacitors;
  std::vector<std::pair<IndependentSourceModel*, int>> m_sources;
  std::vector<ElementModel*> m_committers;
  std::vector<int> m_varyingBranches;    ///< branches whose G may change within a run
  std::vector<int> m_restampedBranches;  ///< branches stamped at every solve
  /// Models whose stamps are taken afresh only when their conduction state changed.
  struct StateStamped {
    ElementModel* model;
    int firstBranch;
    int count;
    bool sourceFree;
  };
  std::vector<StateStamped> m_stateStamped;
  std::vector<int> m_pendingStamps;   ///< of m_stateStamped, whose states changed
  std::vector<int> m_sourceBranches;  ///< branches whose J may be non-zero
  /// The valves whose clock the others read: only those advance one.
  std::vector<ThyristorModel*> m_clockOwners;
  bool m_constantsStamped = false;
  bool m_varyingEverySolve = false;   ///< a model's G may change at any solve
  bool m_conductancesChanged = true;  ///< since the last solve's factorisation was found
  std::vector<int> m_order;           ///< node at each solver position
  std::vector<Branch> m_branches;
  std::vector<int> m_firstBranch;
  std::vector<double> m_voltages;
  int m_nodeCount = 0;
  int m_lastStepSolves = 0;
  SolverPath m_path = SolverPath::Fast;
  SolveCounters m_counters;
  // Reference path: the dense matrix of n rows and n + 1 columns.
  std::vector<double> m_matrix;
  // Fast path: solver position of every node (-1 for the reference), the band, the cache.
  std::vector<int> m_position;
  int m_band = 0;
  std::vector<CachedFactor> m_cache;
  std::size_t m_cacheLimit = 1;
  std::size_t m_lastEntry = 0;  ///< the factorisation the last solve used
  unsigned long long m_clock = 0;
  std::vector<double> m_rhs;       ///< small circuits: all zero between solves
  std::vector<double> m_solution;  ///< reference path
};

}  // namespace wolterix::engine
