#pragma once
/// Turns the drawn picture (terminals, wires, junctions) into numbered circuit nodes.

#include <string>
#include <vector>

namespace wolterix::model {

class Schematic;

/// Numbers the node of every element terminal and every wire, in the order of discovery;
/// node 0 is the node of the first terminal of the first element. The internal nodes of
/// bipolar transistors come last. Stores the node count in the schematic.
void numberNodes(Schematic& schematic);

/// The topology listing, one line per element:
/// "0 : Rez/R1/[10,10]/{0,1}/10k". Call numberNodes first.
std::vector<std::string> showTopology(const Schematic& schematic);

}  // namespace wolterix::model
