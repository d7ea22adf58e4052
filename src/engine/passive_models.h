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

// The step functions of L and C are inline: the network calls them for every element at every
// step, and a ladder has hundreds.

/// Backward Euler: G = h/L, J = -i of the last accepted step.
class InductanceModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double, SubBranchCode) override {
    return {conductance(h), -m_current};
  }
  AcStamp acStamp(double f) const override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double) override {
    // i = G * v - J with the stamp of the step just accepted.
    m_current = conductance(h) * voltage(V, 0, 1) + m_current;
  }

 private:
  /// h / L, divided out again only when the step changes.
  double conductance(double h) {
    if (h != m_step) {
      m_step = h;
      m_conductance = h / value(model::param::ind::L);
    }
    return m_conductance;
  }

  double m_current = 0.0;
  double m_step = 0.0;
  double m_conductance = 0.0;
};

/// Backward Euler: G = C/h, J = G * u of the last accepted step.
class CapacitanceModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double, SubBranchCode) override {
    if (h != m_step) {
      m_step = h;
      m_conductance = value(model::param::poj::C) / h;
    }
    return {m_conductance, m_conductance * m_voltage};
  }
  AcStamp acStamp(double f) const override;
  void resetState() override;
  void commitStep(NodeVector V, double, double) override { m_voltage = voltage(V, 0, 1); }

 private:
  double m_voltage = 0.0;
  double m_step = 0.0;
  double m_conductance = 0.0;  ///< C / h
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
