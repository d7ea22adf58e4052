#pragma once
/// Files the command line writes: never the schematic it read, never half-written.

#include <functional>
#include <ostream>
#include <string>

namespace wolterix::cli {

/// True when both paths name one file: the same file when both exist, otherwise the same
/// absolute path once normalised.
bool sameFile(const std::string& a, const std::string& b);

enum class WriteOutcome { Written, Failed, Abandoned };

/// Writes path through a temporary file beside it that replaces the target only when write
/// answered true and every byte was written; otherwise the target stays as it was. A target
/// that is not a regular file (a device, a pipe) is written directly.
WriteOutcome writeFileSafely(const std::string& path,
                             const std::function<bool(std::ostream&)>& write);

}  // namespace wolterix::cli
