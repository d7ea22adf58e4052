#pragma once
/// Replacing a file's contents so that a crash, a full disk or a planted link never leaves a
/// half-written or wrong file behind.

#include <filesystem>
#include <string_view>

namespace wolterix::model {

/// Writes bytes to a fresh file beside the target, flushes it to disk and renames it over the
/// target. A symbolic link is followed: the file it points to is replaced and the link stays.
/// An existing file keeps its permission bits (and owner, where allowed). Returns false, with
/// the target untouched, when anything fails.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace wolterix::model
