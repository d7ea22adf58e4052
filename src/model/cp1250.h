#pragma once
/// Windows code page 1250, in which schematic files are stored.

#include <optional>
#include <string>
#include <string_view>

namespace wolterix::model {

/// Converts code page 1250 bytes to UTF-8. Returns nullopt when the text holds a byte the
/// code page leaves undefined or a control character (a binary file, a damaged line).
std::optional<std::string> decodeCp1250(std::string_view bytes);
/// True when decodeCp1250 would accept the bytes; nothing is converted.
bool isCp1250Text(std::string_view bytes);

/// Converts UTF-8 text to code page 1250; characters the code page cannot hold, and bytes
/// that are not valid UTF-8, become "?".
std::string encodeCp1250(std::string_view utf8);

/// True when the bytes hold at least one non-ASCII character and every non-ASCII byte belongs
/// to a well-formed UTF-8 sequence. Code page 1250 text practically never passes: its "«" and
/// "»" alone are stray continuation bytes in UTF-8.
bool isUtf8Text(std::string_view bytes);

/// Converts UTF-8 text read from a file to code page 1250. What the code page cannot hold, and
/// malformed sequences, become a byte the code page leaves undefined, so that decodeCp1250
/// refuses the line rather than a "?" taking the place of a name or a value.
std::string fileUtf8ToCp1250(std::string_view utf8);

}  // namespace wolterix::model
