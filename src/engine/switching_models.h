#pragma once
/// Piecewise-linear switching devices: diodes, thyristors, the power transistor, the switch.

#include "engine/element_model.h"

namespace wolterix::engine {

/// Lower limits applied when a switching device's stamp is formed.
inline constexpr double kMinOnResistance = 0.0001;
inline constexpr double kMinOffConductance = 1e-6;

/// Diode: conducts while forward biased.
class DiodeModel final : public ElementModel {
public:
  unsigned needs() const override { return kNeedsCheck | kVaryingConductance; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override { m_conducting = false; }
  bool checkState(NodeVector V) override;
  bool conducting() const { return m_conducting; }

private:
  bool m_conducting = false;
};

/// Zener diode: forward conduction, blocking, and reverse breakdown at Uz.
class ZenerModel final : public ElementModel {
public:
  unsigned needs() const override { return kNeedsCheck | kVaryingConductance; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override { m_mode = 0; }
  bool checkState(NodeVector V) override;
  /// 0 blocking, 1 forward conducting, -1 reverse breakdown.
  int mode() const { return m_mode; }

private:
  int m_mode = 0;
};

/// The clock of a phase-controlled device: the time within the control period 1/f.
class PhaseClock {
public:
  void reset() { m_time = 0.0; }
  /// Advances by one accepted step, modulo the period.
  void advance(double h, double frequency);
  double time() const { return m_time; }
  /// True when the instant of the angle (degrees, taken modulo 360) lies in the last step.
  bool inLastStep(double angleDegrees, double frequency, double h) const;
  /// The instant of an angle within the period.
  static double instant(double angleDegrees, double frequency);

private:
  double m_time = 0.0;
};

/// SCR and reverse-conducting thyristor: fired at up to three angles per period.
class ThyristorModel final : public ElementModel {
public:
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override;
  void prepareStep(double h, NodeVector V) override;
  bool checkState(NodeVector V) override;
  void commitStep(NodeVector V, double h, double t) override;
  bool conducting() const { return m_conducting; }

private:
  bool reverseConducting() const { return kind() == model::ElementKind::RCT; }
  bool m_conducting = false;
  bool m_reverseFlag = false;
  PhaseClock m_clock;
};

/// GTO thyristor (fired at (on), turned off by the gate at (off)) and power transistor (gate
/// on between the two angles).
class TurnOffModel final : public ElementModel {
public:
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override;
  void prepareStep(double h, NodeVector V) override;
  bool checkState(NodeVector V) override;
  void commitStep(NodeVector V, double h, double t) override;
  bool conducting() const { return m_conducting; }

private:
  bool isTransistor() const { return kind() == model::ElementKind::TrM; }
  bool m_conducting = false;
  bool m_gate = false;
  PhaseClock m_clock;
};

/// Ideal switch toggled at up to two given times of a run from 0.
class SwitchModel final : public ElementModel {
public:
  unsigned needs() const override { return kNeedsCommit | kVaryingConductance; }
  explicit SwitchModel(const model::Element& element);
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double t) override;
  bool closed() const { return m_closed; }

private:
  bool m_initiallyClosed;
  bool m_closed = false;
  bool m_done[2] = {false, false};
};

}  // namespace wolterix::engine
