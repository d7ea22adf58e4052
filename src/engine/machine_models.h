#pragma once
/// The separately excited DC motor and the bipolar transistor.

#include "engine/element_model.h"

namespace wolterix::engine {

/// Armature R-L with back EMF kE * omega; the shaft turns under kT * i against the load.
class DcMotorModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCheck | kNeedsCommit; }
  explicit DcMotorModel(const model::Element& element);
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  bool hasParameters() const override;
  void resetState() override;
  bool checkState(NodeVector V) override;
  void commitStep(NodeVector V, double h, double t) override;
  double motorSpeed() const override;

  double torqueConstant() const { return m_kT; }
  double voltageConstant() const { return m_kE; }
  /// Load torque of the last solve.
  double loadTorque() const { return m_load; }

 private:
  bool m_activeLoad;
  double m_kT = 0.0;
  double m_kE = 0.0;
  double m_current = 0.0;
  double m_omega = 0.0;      ///< rad/s after the last accepted step
  double m_nextOmega = 0.0;  ///< rad/s of the step being solved
  double m_free = 0.0;       ///< rad/s the step would reach without the armature's torque
  double m_h = 0.0;
  double m_load = 0.0;
  double m_G = 0.0;
  double m_J = 0.0;
};

/// Bipolar transistor in h-parameters: collector, emitter and base branches meeting at an
/// internal node.
class BjtModel final : public ElementModel {
 public:
  explicit BjtModel(const model::Element& element);
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  bool hasParameters() const override;
  void resetState() override;
  bool checkState(NodeVector V) override;
  void commitStep(NodeVector V, double h, double t) override;
  bool active() const { return m_active; }
  int conductionState() const override { return m_active ? 1 : 0; }

 private:
  double baseConductance() const;
  double emitterConductance() const;

  bool m_npn;
  bool m_active = false;
  double m_x = 0.0;
  double m_stepEmitterConductance = 0.0;  ///< of the last solve's stamp
};

}  // namespace wolterix::engine
