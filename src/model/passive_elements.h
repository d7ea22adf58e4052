#pragma once
/// Resistance, inductance, capacitance and their nonlinear relatives.

#include "model/element.h"

namespace wolterix::model {

class Rezystancja final : public Element {
 public:
  Rezystancja() : Element(ElementKind::Rez) {}
};

class Indukcyjnosc final : public Element {
 public:
  Indukcyjnosc() : Element(ElementKind::Ind) {}
};

class Pojemnosc final : public Element {
 public:
  Pojemnosc() : Element(ElementKind::Poj) {}
  std::string parameterText(TextForm form, bool transferMode) const override;
};

class Warystor final : public Element {
 public:
  Warystor() : Element(ElementKind::War) {}
};

/// Nonlinear inductance (flux = c * i^beta) and capacitance (charge = c * u^beta).
class NonlinearElement : public Element {
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
