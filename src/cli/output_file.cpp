#include "cli/output_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "model/atomic_file.h"

namespace wolterix::cli {

namespace fs = std::filesystem;

namespace {

fs::path normalised(const std::string& path) {
  std::error_code ec;
  const fs::path resolved = fs::weakly_canonical(path, ec);
  if (!ec) return resolved;
  return fs::absolute(path, ec).lexically_normal();
}

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) {
    const bool same = fs::equivalent(a, b, ec);
    if (!ec) return same;
  }
  return normalised(a) == normalised(b);
}

WriteOutcome writeFileSafely(const std::string& path,
                             const std::function<bool(std::ostream&)>& write) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    std::ofstream direct(path, std::ios::binary);
    if (!direct.is_open()) return WriteOutcome::Failed;
    const bool complete = write(direct);
    direct.close();
    if (!complete) return WriteOutcome::Abandoned;
    return direct.fail() ? WriteOutcome::Failed : WriteOutcome::Written;
  }

  // Written whole in memory first, then through the model's safe replacement: a fresh file
  // under an unpredictable name, flushed and renamed over the target (a link is followed).
  std::ostringstream buffer;
  const bool complete = write(buffer);
  if (!complete) return WriteOutcome::Abandoned;
  if (buffer.fail()) return WriteOutcome::Failed;
  return model::writeFileAtomically(path, buffer.view()) ? WriteOutcome::Written
                                                         : WriteOutcome::Failed;
}

}  // namespace wolterix::cli
