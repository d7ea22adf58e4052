#pragma once
/// Fixed texts of the parameter dialogs' error lines.

#include <string_view>

namespace wolterix::dialogs::messages {

inline constexpr std::string_view kNoName = "Brak nazwy elementu.";
inline constexpr std::string_view kNameTakenOpening = "Nazwę";
inline constexpr std::string_view kNameTakenClosing = "posiada już inny element.";
inline constexpr std::string_view kNameNotAllowed =
    "Nazwa zawiera niedozwolone znaki (np. », /, $).";
inline constexpr std::string_view kInvalidNumberField = "Niewłaściwa wartość liczbowa: pole";
inline constexpr std::string_view kInvalidControlField = "Niewłaściwa wielkość sterująca: pole";
inline constexpr std::string_view kInadmissibleField = "Niedopuszczalna wartość liczbowa: pole";
inline constexpr std::string_view kTransformerCondition =
    "Niespełniony warunek:  Uzr/100 > Pun/S .";

}  // namespace wolterix::dialogs::messages
