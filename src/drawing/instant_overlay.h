#pragma once
/// The circuit at one instant of a time run drawn over the schematic: the conducting elements
/// and the wires carrying current underlaid in a signal colour, and the values beside the
/// elements.

#include <string>
#include <utility>
#include <vector>

#include "drawing/symbols.h"

namespace wolterix::drawing {

/// What the overlay shows, filled by whoever worked out the instant (see editor/instant_view).
struct InstantPicture {
  /// A grid-aligned piece of a wire, from one grid point to another.
  using Piece = std::pair<model::GridPoint, model::GridPoint>;
  /// The values of one element, one line each ("12,3 V", "4,56 A").
  struct Label {
    const model::Element* element = nullptr;
    std::vector<std::string> lines;
  };

  std::vector<const model::Element*> elements;  ///< conducting or carrying current
  std::vector<Piece> pieces;                    ///< wire pieces carrying current
  std::vector<Label> labels;                    ///< shown only when values are asked for
};

/// The signal colour of the overlay and the dark edge that keeps it readable on the light
/// backgrounds (one of them is itself orange-ish).
inline constexpr Color kInstantColor{255, 127, 0};
inline constexpr Color kInstantEdge{90, 40, 0};

/// Draws the schematic as drawSchematic does with the picture over it: the highlighted
/// elements and wire pieces get a broad band in kInstantColor under their normal lines, and
/// with values set each label stands in a white box beside its element, on the side away from
/// its name.
void drawInstant(Canvas& canvas, const model::Schematic& schematic, const ViewSettings& view,
                 double scale, double dx, double dy, const InstantPicture& picture, bool values);

}  // namespace wolterix::drawing
