#pragma once
/// The program's version, one number set in the build (the project's version).

#include <string_view>

namespace wolterix::model {

/// "2.0"
std::string_view programVersion();

}  // namespace wolterix::model
