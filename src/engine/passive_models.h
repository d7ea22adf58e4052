#pragma once
/// Resistance, inductance, capacitance and the meters.

#include "engine/element_model.h"

namespace wolterix::engine {

class ResistanceModel final : public ElementModel {
 public:
  unsigned needs() const override { return kConstantStamp; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  AcStamp acStamp(double f) const override;
};

/// Backward Euler: G = h/L, J = -i of the last accepted step.
class InductanceModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  AcStamp acStamp(double f) const override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double t) override;

 private:
  double m_current = 0.0;
};

/// Backward Euler: G = C/h, J = G * u of the last accepted step.
class CapacitanceModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  AcStamp acStamp(double f) const override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double t) override;

 private:
  double m_voltage = 0.0;
};

/// Voltmeter (1e-9 S), ammeter (1e6 S), wattmeter (current path 1e6 S, voltage path 1e-9 S).
class MeterModel final : public ElementModel {
 public:
  unsigned needs() const override { return kConstantStamp; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  AcStamp acStamp(double f) const override;
};

}  // namespace wolterix::engine
