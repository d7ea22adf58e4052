#pragma once
/// The rules that keep objects on the grid from overlapping.

#include "model/element_catalogue.h"
#include "model/grid.h"

namespace wolterix::model {

class Schematic;

/// End of a wire drawn from a towards b: horizontal or vertical along the longer
/// difference, b itself when both differences are equal (a 45-degree wire).
GridPoint orthogonalEnd(GridPoint a, GridPoint b);

/// Coupled coils and transformers: elements whose four centre neighbours stay free of wires.
inline bool isWindingKind(ElementKind kind) { return kind == ElementKind::Spr || kind == ElementKind::Tf1; }

/// The four neighbours of a winding element's centre: the ends of its axis and the centres of
/// its windings, whichever way it is turned. Wires are kept off all four (not only off the
/// current axis ends), so that turning the element can never put a wire where a reloaded file
/// would refuse it.
inline constexpr GridPoint kWindingNeighbours[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

/// Whether an element of kind may stand with its centre at r.
bool canPlaceElement(const Schematic& schematic, ElementKind kind, GridPoint r);
/// Whether a junction may stand at r.
bool canPlaceJunction(const Schematic& schematic, GridPoint r);
/// Whether a wire may run from a to b.
bool canPlaceWire(const Schematic& schematic, GridPoint a, GridPoint b);

}  // namespace wolterix::model
