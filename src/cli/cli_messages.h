#pragma once
/// The command line's own texts.

#include <string_view>

namespace wolterix::cli::messages {

inline constexpr std::string_view kCannotWriteStdout = "Nie można zapisać na standardowe wyjście.";
inline constexpr std::string_view kOutputIsInput = "Plik wyjściowy nie może być plikiem schematu: ";
inline constexpr std::string_view kResultsTooLarge =
    "Wyniki nie zmieszczą się w pamięci: potrzeba ";
inline constexpr std::string_view kResultsAllowed = " MB, dozwolone ";
inline constexpr std::string_view kSimulateHint =
    " MB. Zmniejsz --samples albo wybierz mniej przebiegów (--waves).";
inline constexpr std::string_view kMeasureHint = " MB. Zmniejsz --samples.";
inline constexpr std::string_view kInterrupted = "Przerwano.";
inline constexpr std::string_view kProgress = "Postęp: ";
inline constexpr std::string_view kOutOfMemory = "Za mało pamięci na tę operację.";
inline constexpr std::string_view kUnexpected = "Nieoczekiwany błąd programu.";

// Calls the parser refuses.
inline constexpr std::string_view kHelpHint = "Opis poleceń i opcji: wolterix-cli --help";
inline constexpr std::string_view kNoCommand =
    "Podaj polecenie: list, topology, simulate, measure, harmonics, conduction, render albo plot.";
inline constexpr std::string_view kUnknownCommand = "Nieznane polecenie: ";
inline constexpr std::string_view kUnknownOption = "Nieznana opcja: ";
inline constexpr std::string_view kExtraArgument = "Zbędny argument: ";
inline constexpr std::string_view kMissingOption = "Brak wymaganej opcji ";
inline constexpr std::string_view kMissingArgument = "Brak wymaganego argumentu ";
inline constexpr std::string_view kBadValue = "Niewłaściwa wartość opcji ";
inline constexpr std::string_view kValueCount = "Niewłaściwa liczba wartości opcji ";
inline constexpr std::string_view kBadCall = "Niewłaściwe wywołanie programu.";
inline constexpr std::string_view kWholeNumber = "oczekiwano liczby całkowitej od ";
inline constexpr std::string_view kOneOf = "oczekiwano jednej z wartości ";
inline constexpr std::string_view kGiven = ", podano: ";

}  // namespace wolterix::cli::messages
