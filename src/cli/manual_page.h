#pragma once
/// The manual page of wolterix-cli, written from the same option descriptions as its --help.

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>

namespace wolterix::cli {

/// The app as a roff manual page (section 1): name, synopsis, description, the options of the
/// program, a subsection per command with each of its options, and the exit codes of the
/// app's footer. Options without a group (hidden) and the commands' help flags are left out.
std::string manualPage(const CLI::App& app, std::string_view version);

}  // namespace wolterix::cli
