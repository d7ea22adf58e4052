#pragma once
/// Diodes, thyristors, the power transistor and the switch.

#include "model/element.h"

namespace wolterix::model {

class Dioda final : public Element {
 public:
  Dioda() : Element(ElementKind::Dio) {}
};

class Zener final : public Element {
 public:
  Zener() : Element(ElementKind::Zen) {}
};

/// SCR and reverse-conducting thyristor: up to three firing angles per period.
class Thyristor : public Element {
 public:
  static constexpr std::size_t kFirstAngle = param::tyr::On1;
  static constexpr std::size_t kAngleCount = param::tyr::Count - param::tyr::On1;

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
  static constexpr std::size_t kTimeCount = param::wyl::Count;

  Wylacznik() : Element(ElementKind::wyl) {}
  bool initiallyOn() const { return m_initiallyOn; }
  void setInitiallyOn(bool on) { m_initiallyOn = on; }

  std::string parameterText(TextForm form, bool transferMode) const override;

 protected:
  void parseFields(FieldCursor& fields) override;

 private:
  bool m_initiallyOn = false;
};

}  // namespace wolterix::model
