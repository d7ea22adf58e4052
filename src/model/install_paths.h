#pragma once
/// Where the program finds the files it ships with, both when run from the build of a checkout
/// and when installed under a prefix (/usr, /usr/local, a package).

#include <filesystem>

namespace wolterix::model {

/// The examples of an installed program, `<prefix>/share/wolterix/examples` beside the
/// executable's `<prefix>/bin`, when that folder exists; otherwise the checkout's `examples/`
/// the program was built from, when it still exists; otherwise an empty path.
std::filesystem::path examplesDirectory(const std::filesystem::path& executable);

/// The same choice with the checkout's examples folder given (empty: none).
std::filesystem::path examplesDirectory(const std::filesystem::path& executable,
                                        const std::filesystem::path& checkoutExamples);

}  // namespace wolterix::model
