#include "model/install_paths.h"

#include <system_error>

namespace wolterix::model {

namespace {

bool isDirectory(const std::filesystem::path& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

std::filesystem::path examplesDirectory(const std::filesystem::path& executable,
                                        const std::filesystem::path& checkoutExamples) {
  if (executable.has_parent_path()) {
    const std::filesystem::path installed =
        (executable.parent_path() / ".." / "share" / "wolterix" / "examples").lexically_normal();
    if (isDirectory(installed)) return installed;
  }
  if (isDirectory(checkoutExamples)) return checkoutExamples;
  return {};
}

std::filesystem::path examplesDirectory(const std::filesystem::path& executable) {
#ifdef WOLTERIX_SOURCE_EXAMPLES
  return examplesDirectory(executable, WOLTERIX_SOURCE_EXAMPLES);
#else
  return examplesDirectory(executable, {});
#endif
}

}  // namespace wolterix::model
