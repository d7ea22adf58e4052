#include "model/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>

namespace wolterix::model {
namespace {

// The file a path finally names once symbolic links in its last component are followed;
// empty when the links go round in a circle or cannot be read.
std::filesystem::path resolveLinks(std::filesystem::path path) {
  for (int hops = 0; hops <= 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::error_code ec;
    const std::filesystem::path next = std::filesystem::read_symlink(path, ec);
    if (ec) return {};
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return {};
}

// A name nobody can guess in advance, so nothing can be planted where the file will appear.
std::string randomSuffix(std::mt19937_64& rng) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::uint64_t bits = rng();
  std::string suffix;
  for (int i = 0; i < 12; ++i, bits /= 36) suffix += kLetters[bits % 36];
  return suffix;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
 public:
  ~TemporaryFile() {
    if (fd >= 0) ::close(fd);
    if (!path.empty()) ::unlink(path.c_str());
  }
  int fd = -1;
  std::filesystem::path path;
};

}  // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path target = resolveLinks(path);
  if (target.empty() || !target.has_filename()) return false;
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";

  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;

  // O_EXCL refuses anything already there, a symbolic link included, and a stale leftover
  // only costs another draw. A new file gets 0666 less the umask, like any other.
  TemporaryFile temporary;
  std::mt19937_64 rng(std::random_device{}());
  for (int attempt = 0; attempt < 100 && temporary.fd < 0; ++attempt) {
    const std::filesystem::path candidate =
        folder / ("." + target.filename().string().substr(0, 200) + "." + randomSuffix(rng));
    const int fd =
        ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      temporary.fd = fd;
      temporary.path = candidate;
    } else if (errno != EEXIST) {
      return false;
    }
  }
  if (temporary.fd < 0) return false;

  if (replacing) {
    // The owner first: changing it may clear the set-id bits that the mode then restores.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
      // Only root may give a file away; anyone else's save still keeps the mode below.
      [[maybe_unused]] const int kept = ::fchown(temporary.fd, old.st_uid, old.st_gid);
    }
    if (::fchmod(temporary.fd, old.st_mode & 07777) != 0) return false;
  }
  if (!writeAll(temporary.fd, bytes) || ::fsync(temporary.fd) != 0) return false;
  const int fd = temporary.fd;
  temporary.fd = -1;
  if (::close(fd) != 0) return false;
  if (::rename(temporary.path.c_str(), target.c_str()) != 0) return false;
  temporary.path.clear();

  // The rename itself reaches the disk only with the folder.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace wolterix::model
