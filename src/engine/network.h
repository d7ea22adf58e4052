#pragma once
/// The branch table, the nodal equations and their solution.

#include <memory>
#include <span>
#include <vector>

#include "engine/element_model.h"

namespace wolterix::engine {

/// One branch: a stamp between two engine nodes, owned by an element model.
struct Branch {
  double G = 0.0;
  double J = 0.0;
  double Gm = 0.0;   ///< mutual conductance to the partner winding
  int partner = -1;  ///< index of the other winding's branch, -1 for none
  int from = 0;
  int to = 0;
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
  /// How many solves the last step took (1..6).
  int lastStepSolves() const { return m_lastStepSolves; }

private:
  void groundSeparateParts();
  void assemble(double h, double t);
  int solve();

  std::vector<ElementModel*> m_models;
  std::vector<ElementModel*> m_varistors;
  std::vector<Branch> m_branches;
  std::vector<int> m_firstBranch;
  std::vector<double> m_matrix;
  std::vector<double> m_voltages;
  int m_nodeCount = 0;
  int m_lastStepSolves = 0;
};

}  // namespace wolterix::engine
