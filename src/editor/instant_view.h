#pragma once
/// The circuit at one sample of a time run: which elements conduct, where the current flows
/// through the wires, and the element values, as the schematic shows them while stepping
/// through the results.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/instant_overlay.h"
#include "model/grid.h"

namespace wolterix::model {
class Element;
class Schematic;
}  // namespace wolterix::model
namespace wolterix::engine {
class WaveformStore;
}

namespace wolterix::editor {

/// One element at the instant.
struct ElementInstant {
  const model::Element* element = nullptr;
  bool conducting = false;              ///< a switching element in its on state (or breakdown)
  double current = 0.0;                 ///< largest current magnitude at its terminals
  std::optional<double> voltage;        ///< U(name), where the element offers it
  std::optional<double> branchCurrent;  ///< I(name), where the element offers it
  bool highlighted = false;             ///< conducting or carrying current above the threshold
};

/// A piece of a wire between two neighbouring points where something joins it, with the
/// current it carries from `from` to `to`.
struct WirePiece {
  model::GridPoint from;
  model::GridPoint to;
  double current = 0.0;
  bool highlighted = false;  ///< |current| above the threshold
};

struct InstantView {
  int sample = 0;
  double time = 0.0;
  double threshold = 0.0;  ///< currents above it count as flowing
  /// Every element the run stored, in element-list order.
  std::vector<ElementInstant> elements;
  /// Every wire piece; on a net whose wires close a loop the closing pieces carry nothing.
  std::vector<WirePiece> pieces;
  /// The highlighted elements and pieces and the value labels, for drawing::drawInstant.
  drawing::InstantPicture picture;
};

/// The circuit at one sample of the store (clamped to the recorded ones): elements are matched
/// to the store by name; an element counts as carrying current, and a wire piece likewise,
/// above `fraction` of the largest element current at that sample. The pieces' currents
/// follow from the terminal currents by Kirchhoff's law over a spanning tree of each net.
InstantView instantAt(const model::Schematic& schematic, const engine::WaveformStore& store,
                      int sample, double fraction = 0.02);

/// The recorded sample nearest to time t.
int nearestSample(const engine::WaveformStore& store, double t);

/// A value with a unit prefix and a decimal comma, `digits` significant digits: "12,3 V",
/// "−4,56 mA", "12,35 ms".
std::string prefixedValue(double value, std::string_view unit, int digits = 3);

}  // namespace wolterix::editor
