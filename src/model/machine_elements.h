#pragma once
/// Multi-terminal kinds: bipolar transistor, coupled coils, transformer, and the DC motor.

#include "model/element.h"

namespace wolterix::model {

/// Bipolar transistor in h-parameters; terminals collector, emitter and base (S).
class TranzystorBJT final : public Element {
public:
  TranzystorBJT() : Element(ElementKind::BJT) {}
  bool isNpn() const override { return m_npn; }
  void setNpn(bool npn) { m_npn = npn; }
  const Parameter& h11e() const { return parameter(0); }
  const Parameter& h12e() const { return parameter(1); }
  const Parameter& h21e() const { return parameter(2); }
  const Parameter& h22e() const { return parameter(3); }

  std::string parameterText(TextForm form, bool transferMode) const override;
  std::vector<GridPoint> coveredPoints() const override;

protected:
  void placeFurtherTerminals(GridPoint direction) override;
  void parseFields(FieldCursor& fields) override;

private:
  bool m_npn = true;
};

/// Two windings beside the axis: terminals A+d, A-d (first) and B-d, B+d (second).
class TwoWindingElement : public Element {
public:
  /// Centres of the first and second winding.
  GridPoint firstWindingCentre() const;
  GridPoint secondWindingCentre() const;
  std::vector<GridPoint> coveredPoints() const override;

protected:
  using Element::Element;
  void placeFurtherTerminals(GridPoint direction) override;
};

class Sprzezenie final : public TwoWindingElement {
public:
  Sprzezenie() : TwoWindingElement(ElementKind::Spr) {}
  const Parameter& inductance1() const { return parameter(0); }
  const Parameter& inductance2() const { return parameter(1); }
  const Parameter& initialCurrent1() const { return parameter(2); }
  const Parameter& initialCurrent2() const { return parameter(3); }
  const Parameter& couplingPercent() const { return parameter(4); }
};

class Trafo1faz final : public TwoWindingElement {
public:
  Trafo1faz() : TwoWindingElement(ElementKind::Tf1) {}
  const Parameter& ratedPower() const { return parameter(0); }
  const Parameter& primaryVoltage() const { return parameter(1); }
  const Parameter& secondaryVoltage() const { return parameter(2); }
  const Parameter& frequency() const { return parameter(3); }
  const Parameter& shortCircuitVoltage() const { return parameter(4); }
  const Parameter& noLoadCurrent() const { return parameter(5); }
  const Parameter& copperLoss() const { return parameter(6); }
  const Parameter& ironLoss() const { return parameter(7); }
};

/// Separately excited DC motor with its mechanical load.
class SilnikDC final : public Element {
public:
  /// Parameters before the load-type flag in the file form (P .. c).
  static constexpr std::size_t kBeforeLoadType = 9;

  SilnikDC() : Element(ElementKind::sDC) {}
  /// Load character: true = "czynne" (active), false = "bierne" (passive).
  bool activeLoad() const { return m_activeLoad; }
  void setActiveLoad(bool active) { m_activeLoad = active; }

  std::string parameterText(TextForm form, bool transferMode) const override;

protected:
  void parseFields(FieldCursor& fields) override;

private:
  bool m_activeLoad = false;
};

}  // namespace wolterix::model
