#pragma once
/// Nonlinear inductance and capacitance, and the varistor: linearised around the last
/// accepted step (the varistor once more within the step).

#include "engine/element_model.h"

namespace wolterix::engine {

/// Flux = c * i^beta: G = h / Ld with the incremental inductance at the last current.
class NonlinearInductanceModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit | kVaryingConductance; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double t) override;

 private:
  double m_current = 0.0;
};

/// Charge = c * u^beta: G = Cd / h with the incremental capacitance at the last voltage.
class NonlinearCapacitanceModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit | kVaryingConductance; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double t) override;

 private:
  double m_voltage = 0.0;
};

/// U = c * I^beta: the tangent of I(U) = (U/c)^(1/beta) at the linearisation voltage.
class VaristorModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit | kVaryingConductance; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override { m_voltage = 0.0; }
  /// Also called within a step to relinearise around the fresh solution.
  void commitStep(NodeVector V, double h, double t) override;

 private:
  double m_voltage = 0.0;
};

}  // namespace wolterix::engine
