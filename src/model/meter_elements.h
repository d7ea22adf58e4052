#pragma once
/// Voltmeter, ammeter and wattmeter: no parameters of their own.

#include "model/element.h"

namespace wolterix::model {

class Meter : public Element {
 public:
  /// Meters have no parameters; both text forms are "-".
  std::string parameterText(TextForm, bool) const override { return "-"; }

 protected:
  using Element::Element;
};

class Woltomierz final : public Meter {
 public:
  Woltomierz() : Meter(ElementKind::mmV) {}
};

class Amperomierz final : public Meter {
 public:
  Amperomierz() : Meter(ElementKind::mmA) {}
};

/// Current path T1-T2 along the axis, voltage path V1-V2 across it.
class Watomierz final : public Meter {
 public:
  Watomierz() : Meter(ElementKind::mmW) {}

 protected:
  void placeFurtherTerminals(GridPoint direction) override;
};

}  // namespace wolterix::model
