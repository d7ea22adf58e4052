#pragma once
/// Builds small test schematics in a few lines.

#include "model/element.h"
#include "model/schematic.h"

namespace wolterix::testing {

class CircuitBuilder {
 public:
  explicit CircuitBuilder(model::Schematic& schematic) : m_schematic(schematic) {}

  /// Places an element at (x, y) and turns it to orientation; throws when placement is refused.
  model::Element& element(model::ElementKind kind, int x, int y, int orientation = 3);
  /// Places an element and sets its parameters from a file form ("10k", "sin/230/0/50/0").
  model::Element& element(model::ElementKind kind, int x, int y, int orientation,
                          const std::string& fileForm);
  model::Linia& wire(int x1, int y1, int x2, int y2);
  model::Wenzeu& junction(int x, int y);

 private:
  model::Schematic& m_schematic;
};

}  // namespace wolterix::testing
