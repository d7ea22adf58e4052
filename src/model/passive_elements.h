#pragma once
/// Resistance, inductance, capacitance and their nonlinear relatives.

#include "model/element.h"

namespace wolterix::model {

class Rezystancja final : public Element {
public:
  Rezystancja() : Element(ElementKind::Rez) {}
  const Parameter& resistance() const { return parameter(0); }
};

class Indukcyjnosc final : public Element {
public:
  Indukcyjnosc() : Element(ElementKind::Ind) {}
  const Parameter& inductance() const { return parameter(0); }
  const Parameter& initialCurrent() const { return parameter(1); }
};

class Pojemnosc final : public Element {
public:
  Pojemnosc() : Element(ElementKind::Poj) {}
  const Parameter& capacitance() const { return parameter(0); }
  const Parameter& initialVoltage() const { return parameter(1); }
  std::string parameterText(TextForm form, bool transferMode) const override;
};

class Warystor final : public Element {
public:
  Warystor() : Element(ElementKind::War) {}
  const Parameter& coefficient() const { return parameter(0); }
  const Parameter& exponent() const { return parameter(1); }
};

/// Nonlinear inductance (flux = c * i^beta) and capacitance (charge = c * u^beta).
class NonlinearElement : public Element {
public:
  const Parameter& coefficient() const { return parameter(0); }
  const Parameter& exponent() const { return parameter(1); }
  const Parameter& initialValue() const { return parameter(2); }

protected:
  using Element::Element;
};

class IndNieliniowa final : public NonlinearElement {
public:
  IndNieliniowa() : NonlinearElement(ElementKind::nlL) {}
};

class PojNieliniowa final : public NonlinearElement {
public:
  PojNieliniowa() : NonlinearElement(ElementKind::nlC) {}
};

}  // namespace wolterix::model
