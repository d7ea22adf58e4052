#pragma once
/// The command line as a whole: parsing the arguments, the Polish help and messages, and
/// dispatching to the commands.

#include <ostream>

#include "cli/commands.h"

namespace wolterix::cli {

/// Runs one call of wolterix-cli (argv[0] is the program's name) and answers its exit code.
/// Every message, including the parser's, is Polish; no exception leaves it.
int runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                   const RunControl& control = {});

}  // namespace wolterix::cli
