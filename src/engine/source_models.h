#pragma once
/// Independent and controlled sources, and the input voltage of the transfer function.

#include <cmath>

#include "engine/element_model.h"
#include "model/element_catalogue.h"

namespace wolterix::engine {

/// Value at time t of a waveform of amplitude a (RMS for the sine), f in Hz, phase in degrees.
double waveformValue(model::Waveform kind, double a, double f, double phaseDegrees, double t);

/// Voltage source (Norton form E/Rw behind 1/Rw) or current source (J behind Gw).
class IndependentSourceModel final : public ElementModel {
 public:
  unsigned needs() const override { return 0; }
  explicit IndependentSourceModel(const model::Element& element);
  // Inline: the network calls it for every source at every solve.
  BranchStamp companion(double, double t, SubBranchCode) override {
    const double w = m_waveform == model::Waveform::Sine ? m_peak * std::sin(m_omega * t + m_phase)
                                                         : otherWaveform(t);
    // Sources start with the current arrow set, which reverses them: s = -1.
    const double s = m_currentDirection ? -1.0 : 1.0;
    // A voltage source in Norton form: E/Rw behind 1/Rw.
    if (m_voltage) return {m_conductance, s * w / m_internal};
    return {m_conductance, s * w};
  }
  bool hasParameters() const override;

 private:
  double otherWaveform(double t) const;

  model::Waveform m_waveform;
  bool m_voltage;
  // Worked out once, in the very operations of waveformValue, so the values are the same to the
  // last digit: the sine's peak, 2 pi f and the phase in radians; Rw (at least 0.1 mOhm) and
  // 1/Rw for a voltage source, Gw (at least 1e-12 S) for a current source.
  double m_peak;
  double m_omega;
  double m_phase;
  double m_internal;
  double m_conductance;
};

/// Source whose value is k * X, X a quantity of another element one accepted step late.
class ControlledSourceModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit; }
  ControlledSourceModel(const model::Element& element, const model::Schematic& schematic);
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  bool hasParameters() const override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double t) override;
  void bind(const Network& network) override;

  /// The steering value used in the present step.
  double steeringValue() const { return m_x; }

 private:
  double sign() const { return m_currentDirection ? -1.0 : 1.0; }

  bool m_voltage;
  bool m_controlGiven;
  char m_letter = 'U';
  int m_target = -1;  ///< index of the steering element in the element list
  const Network* m_network = nullptr;
  double m_x = 0.0;
};

/// The transfer-function input: open in the time domain, 1 V behind 0.1 mOhm in a sweep.
class InputVoltageModel final : public ElementModel {
 public:
  unsigned needs() const override { return kConstantStamp; }
  using ElementModel::ElementModel;
  BranchStamp companion(double, double, SubBranchCode) override { return {}; }
  /// V(terminal 1) - V(terminal 0) = 1 V at no load.
  AcStamp acStamp(double) const override { return {10000.0, -10000.0}; }
};

}  // namespace wolterix::engine
