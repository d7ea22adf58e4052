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
/// Followed by the path: a non-empty file without a single readable line.
inline constexpr std::string_view kNoSchematicInFile =
    "Plik nie zawiera schematu programu Wolterix: ";
/// Shown, followed by the file's name, while a long file is read.
inline constexpr std::string_view kReadingFile = "Wczytywanie pliku ";
/// The question before a save would drop the lines its file's opening skipped: the first part,
/// their count, the second part.
inline constexpr std::string_view kSkippedLinesLostBefore =
    "Przy otwieraniu tego pliku pominięto wiersze, których nie udało się odczytać (liczba: ";
inline constexpr std::string_view kSkippedLinesLostAfter =
    "). Zapisanie schematu w tym samym pliku usunie je z niego. Czy mimo to zapisać?";
/// Followed by the count and a full stop.
inline constexpr std::string_view kLinesSkippedOrRenamed =
    "Podczas wczytywania pominięto wiersze pliku lub zmieniono nazwy elementów: ";

// Hints of the editor.
inline constexpr std::string_view kWireAlongWire =
    "Przewód nie może biec wzdłuż innego przewodu – narysuj go od końca tamtego.";

// Checks and results of the analyses.
inline constexpr std::string_view kMissingParameters = "Brak parametrów: Element";
inline constexpr std::string_view kShortedTerminals =
    "Niedozwolone bezpośrednie zwarcie końcówek: Element";
inline constexpr std::string_view kSingularNetwork =
    "[1] Niepołączony element lub grupa elementów.";
inline constexpr std::string_view kFatalSimulationError = "[1] Fatalny błąd symulacji!";
inline constexpr std::string_view kShorterStepHint =
    "[2] Spróbuj zwiększyć ilość iteracji, co skraca krok symulacji.";
inline constexpr std::string_view kInvalidNumber = "[1] Niewłaściwa wartość liczbowa.";
inline constexpr std::string_view kNothingToSimulate = "[1] Schemat nie zawiera żadnego elementu.";

}  // namespace wolterix::model::messages
