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
};

class Trafo1faz final : public TwoWindingElement {
 public:
  Trafo1faz() : TwoWindingElement(ElementKind::Tf1) {}
};

/// Separately excited DC motor with its mechanical load.
class SilnikDC final : public Element {
 public:
  /// Parameters before the load-type flag in the file form (P .. c).
  static constexpr std::size_t kBeforeLoadType = param::sdc::J;

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
