#pragma once
/// Circuits for the benchmarks and the equivalence tests, built on the grid like a user would.

#include <cstddef>
#include <filesystem>
#include <string>

#include "model/schematic.h"

namespace wolterix::bench {

/// An RC ladder of the given number of sections (R 100 Ohm, C 1 uF), driven by a 10 V
/// square wave at 50 Hz, laid out as a serpentine of rows of 48 sections. Up to
/// maxLadderSections() sections fit on the grid. Returns false when they do not fit.
bool buildRcLadder(model::Schematic& schematic, int sections);

/// The most sections buildRcLadder can place on the 101 x 101 grid.
int maxLadderSections();

/// Schematic file bytes of count wire lines, the costliest kind of file to read: no wire lies
/// along an earlier one, so every line is placed (row by row, all runs of the row, shorter
/// ones first; past the 510 050 such runs the lines repeat and are refused).
std::string wireFileBytes(std::size_t count);

/// Loads an example schematic by file name (from the examples folder given at build time).
bool loadExample(model::Schematic& schematic, const std::string& name);

}  // namespace wolterix::bench
