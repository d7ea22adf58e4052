#pragma once
/// The commands of the command-line program, writing to the given streams.

#include <ostream>
#include <string>

namespace wolterix::cli {

/// Prints each element's display form, then the counts of wires and junctions.
/// Returns the process exit code.
int listSchematic(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace wolterix::cli
