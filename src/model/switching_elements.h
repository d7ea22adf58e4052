#pragma once
/// Diodes, thyristors, the power transistor and the switch.

#include "model/element.h"

namespace wolterix::model {

class Dioda final : public Element {
public:
  Dioda() : Element(ElementKind::Dio) {}
  const Parameter& forwardResistance() const { return parameter(0); }
  const Parameter& reverseConductance() const { return parameter(1); }
};

class Zener final : public Element {
public:
  Zener() : Element(ElementKind::Zen) {}
  const Parameter& zenerVoltage() const { return parameter(0); }
  const Parameter& forwardResistance() const { return parameter(1); }
  const Parameter& reverseConductance() const { return parameter(2); }
};

/// SCR and reverse-conducting thyristor: up to three firing angles per period.
class Thyristor : public Element {
public:
  static constexpr std::size_t kFirstAngle = 3;
  static constexpr std::size_t kAngleCount = 3;

  const Parameter& onResistance() const { return parameter(0); }
  const Parameter& offConductance() const { return parameter(1); }
  const Parameter& frequency() const { return parameter(2); }
  const Parameter& firingAngle(std::size_t i) const { return parameter(kFirstAngle + i); }
  bool firingAngleGiven(std::size_t i) const { return isGiven(kFirstAngle + i); }

  std::string parameterText(TextForm form, bool transferMode) const override;

protected:
  using Element::Element;
};

class TyrystorSCR final : public Thyristor {
public:
  TyrystorSCR() : Thyristor(ElementKind::Tyr) {}
};

class TyrystorRCT final : public Thyristor {
public:
  TyrystorRCT() : Thyristor(ElementKind::RCT) {}
};

/// GTO thyristor and power transistor: switched on and off at given angles.
class TurnOffSwitch : public Element {
public:
  const Parameter& onResistance() const { return parameter(0); }
  const Parameter& offConductance() const { return parameter(1); }
  const Parameter& frequency() const { return parameter(2); }
  const Parameter& onAngle() const { return parameter(3); }
  const Parameter& offAngle() const { return parameter(4); }

protected:
  using Element::Element;
};

class TyrystorGTO final : public TurnOffSwitch {
public:
  TyrystorGTO() : TurnOffSwitch(ElementKind::GTO) {}
};

class TranzMocy final : public TurnOffSwitch {
public:
  TranzMocy() : TurnOffSwitch(ElementKind::TrM) {}
};

/// Ideal switch with an initial state and up to two switching times.
class Wylacznik final : public Element {
public:
  static constexpr std::size_t kTimeCount = 2;

  Wylacznik() : Element(ElementKind::wyl) {}
  bool initiallyOn() const { return m_initiallyOn; }
  void setInitiallyOn(bool on) { m_initiallyOn = on; }
  const Parameter& switchingTime(std::size_t i) const { return parameter(i); }
  bool switchingTimeGiven(std::size_t i) const { return isGiven(i); }

  std::string parameterText(TextForm form, bool transferMode) const override;

protected:
  void parseFields(FieldCursor& fields) override;

private:
  bool m_initiallyOn = false;
};

}  // namespace wolterix::model
