#pragma once
/// Fixed texts of the model that reach the user.

#include <string_view>

namespace wolterix::model::messages {

inline constexpr std::string_view kTransferHeader = "**Transmitancja**";
inline constexpr std::string_view kCannotRead = "Nie można odczytać pliku: ";
inline constexpr std::string_view kCannotWrite = "Nie można zapisać pliku: ";
inline constexpr std::string_view kFileMissing = "Plik nie istnieje.";
inline constexpr std::string_view kFileTooLarge = "Plik jest zbyt duży, by był schematem: ";
inline constexpr std::string_view kNotAFile = "To nie jest zwykły plik: ";

}  // namespace wolterix::model::messages
