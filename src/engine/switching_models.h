#pragma once
/// Piecewise-linear switching devices: diodes, thyristors, the power transistor, the switch.

#include <array>
#include <optional>

#include "engine/element_model.h"

namespace wolterix::engine {

/// Lower limits applied when a switching device's stamp is formed.
inline constexpr double kMinOnResistance = 0.0001;
inline constexpr double kMinOffConductance = 1e-6;

/// Diode: conducts while forward biased.
class DiodeModel final : public ElementModel {
 public:
  unsigned needs() const override {
    return kNeedsCheck | kVaryingConductance | kStampFollowsState | kSourceFree;
  }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override {
    m_conducting = false;
    stampChanged();
  }
  // Inline: the network calls it for every diode at every solve.
  bool checkState(NodeVector V) override {
    const bool forward = V[node(0)] > V[node(1)];
    if (forward == m_conducting) return false;
    m_conducting = forward;
    stampChanged();
    return true;
  }
  bool conducting() const { return m_conducting; }
  int conductionState() const override { return m_conducting ? 1 : 0; }

 private:
  bool m_conducting = false;
};

/// Zener diode: forward conduction, blocking, and reverse breakdown at Uz.
class ZenerModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCheck | kVaryingConductance | kStampFollowsState; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override {
    m_mode = 0;
    stampChanged();
  }
  bool checkState(NodeVector V) override;
  /// 0 blocking, 1 forward conducting, -1 reverse breakdown.
  int mode() const { return m_mode; }
  int conductionState() const override { return m_mode == 0 ? 0 : m_mode > 0 ? 1 : 2; }

 private:
  int m_mode = 0;
};

/// The clock of a phase-controlled device: the time within the control period 1/f.
///
/// Each step owns the instants after the clock of the step before, up to and including its
/// own clock, so the steps of a period share its instants out without a gap or an overlap,
/// also across the wrap at the end of the period. The one exception: in a run from 0 the
/// second step also owns the instant 0 of the first, in which nothing is biased yet.
class PhaseClock {
 public:
  void reset() {
    m_time = 0.0;
    m_fresh = true;
  }
  /// Moves on to the step after the one at time t (of a run from 0), whose length was h.
  void advance(double h, double t, double frequency) { advanceBy(h, t, 1.0 / frequency); }
  /// The same with the period 1/f worked out beforehand.
  void advanceBy(double h, double t, double period);
  double time() const { return m_time; }
  /// True when the instant of the angle (degrees, taken modulo 360) lies in the last step.
  bool inLastStep(double angleDegrees, double frequency, double h) const {
    return whenInLastStep(angleDegrees, frequency, h).has_value();
  }
  /// How far into the last step the instant of the angle lies, if it lies in it.
  std::optional<double> whenInLastStep(double angleDegrees, double frequency, double h) const {
    return whenInstantInLastStep(instant(angleDegrees, frequency), 1.0 / frequency, h);
  }
  /// The same for an instant within the period, both worked out beforehand.
  std::optional<double> whenInstantInLastStep(double instant, double period, double h) const {
    return when(lastStep(h), instant, period);
  }
  /// The instants the last step (of length h) owns: from (exclusive) to (inclusive).
  struct Window {
    double from;
    double to;
  };
  Window lastStep(double h) const {
    // An instant due at a step's own time, give or take a millionth of a step, is that step's.
    const double tolerance = 1e-6 * h;
    return {(m_fresh ? m_time - h : m_previous) + tolerance, m_time + tolerance};
  }
  /// How far into the window the instant a lies, if it lies in it.
  static std::optional<double> when(const Window& window, double a, double period) {
    // The same instant a period earlier (the window reaches back over the wrap) or later (the
    // clock, a hair short of the period, has not wrapped yet).
    for (const double occurrence : {a, a - period, a + period})
      if (window.from < occurrence && occurrence <= window.to) return occurrence - window.from;
    return std::nullopt;
  }
  /// The instant of an angle within the period.
  static double instant(double angleDegrees, double frequency);
  /// True when an interval from angle on to angle off (degrees) covers whole periods: off
  /// lies one or more full turns after on.
  static bool spansWholePeriods(double onDegrees, double offDegrees);

 private:
  double m_time = 0.0;
  double m_previous = 0.0;  ///< the clock of the step before, less a period if it wrapped
  bool m_fresh = true;      ///< no step has been taken since the reset
};

/// A valve switched at angles of a control period 1/f: on resistance Rt, off conductance Gd
/// and the clock the angles are read from. The thyristors and the power transistor differ only
/// in how the angles and the voltage switch them.
class PhaseControlledModel : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsEverything | kStampFollowsState | kSourceFree; }
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override;
  // The network advances the thyristors' clocks by advanceClock; the other valves come here.
  void commitStep(NodeVector, double h, double t) override {
    if (ownsClock()) advanceClock(h, t);
  }
  /// Valves of one control period share the clock of the first of them in the list.
  void bind(const Network& network) override;
  bool conducting() const { return m_conducting; }
  int conductionState() const override { return m_conducting ? 1 : 0; }
  /// True for the first valve of its control period (after bind): the others read its clock.
  bool ownsClock() const { return !m_leader; }
  /// What commitStep does for a valve that owns its clock.
  void advanceClock(double h, double t) { m_clock.advanceBy(h, t, m_period); }

 protected:
  explicit PhaseControlledModel(const model::Element& element);
  /// The control frequency.
  double frequency() const;
  /// Turns a conducting valve off once its voltage reverses, that is when the current through
  /// Rt reverses; true on that change.
  bool offWhenReversed(NodeVector V) {
    if (!(m_conducting && V[node(0)] < V[node(1)])) return false;
    setConducting(false);
    return true;
  }
  /// Sets the conduction state; the network takes a fresh stamp when it changed.
  void setConducting(bool conducting);
  const PhaseClock& clock() const { return m_leader ? m_leader->m_clock : m_clock; }

  bool m_conducting = false;
  double m_period;  ///< 1/f, the control period

 private:
  PhaseClock m_clock;
  const PhaseControlledModel* m_leader = nullptr;  ///< whose clock this valve reads
};

/// SCR and reverse-conducting thyristor: fired at up to three angles per period.
class ThyristorModel final : public PhaseControlledModel {
 public:
  explicit ThyristorModel(const model::Element& element);
  void resetState() override;
  // Inline, as the network calls them for every valve at every solve.
  void prepareStep(double h, NodeVector V) override {
    if (!m_conducting && V[node(0)] > V[node(1)]) fireIfDue(h);
  }
  bool checkState(NodeVector V) override {
    return reverseConducting() ? checkReverseConduction(V) : offWhenReversed(V);
  }

 private:
  void fireIfDue(double h);
  bool checkReverseConduction(NodeVector V);
  bool reverseConducting() const { return kind() == model::ElementKind::RCT; }
  bool m_reverseFlag = false;
  std::array<double, 3> m_firingInstants{};  ///< of the given firing angles, within the period
  int m_firingCount = 0;
};

/// GTO thyristor (fired at (on), turned off by the gate at (off)) and power transistor (gate
/// on between the two angles).
class TurnOffModel final : public PhaseControlledModel {
 public:
  explicit TurnOffModel(const model::Element& element);
  void resetState() override;
  void prepareStep(double h, NodeVector V) override;
  bool checkState(NodeVector V) override;

 private:
  bool isTransistor() const { return kind() == model::ElementKind::TrM; }
  bool m_gate = false;
  double m_onInstant;   ///< of the (on) angle, within the period
  double m_offInstant;  ///< of the (off) angle
  bool m_wholePeriods;  ///< off lies whole periods after on: the gate never turns off
};

/// Ideal switch toggled at up to two given times of a run from 0.
class SwitchModel final : public ElementModel {
 public:
  unsigned needs() const override {
    return kNeedsCommit | kVaryingConductance | kStampFollowsState | kSourceFree;
  }
  explicit SwitchModel(const model::Element& element);
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double t) override;
  bool closed() const { return m_closed; }
  int conductionState() const override { return m_closed ? 1 : 0; }

 private:
  bool m_initiallyClosed;
  bool m_closed = false;
  bool m_done[model::param::wyl::Count] = {false, false};
};

}  // namespace wolterix::engine
