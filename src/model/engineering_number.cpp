#include "model/engineering_number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace wolterix::model {
namespace {

constexpr std::string_view kScaleLetters = "pnumkMGT";

int scaleExponent(char c) {
  switch (c) {
    case 'p': return -12;
    case 'n': return -9;
    case 'u': return -6;
    case 'm': return -3;
    case 'k': return 3;
    case 'M': return 6;
    case 'G': return 9;
    case 'T': return 12;
    default: return 0;
  }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Converts an optional leading minus sign, digits and at most one comma. from_chars ignores
// the locale, so the comma becomes a point in a local copy.
std::optional<double> parseDecimal(std::string_view text) {
  std::string copy(text);
  bool digit = false;
  for (std::size_t i = 0; i < copy.size(); ++i) {
    char& c = copy[i];
    if (c == ',') {
      c = '.';
    } else if (isDigit(c)) {
      digit = true;
    } else if (!(c == '-' && i == 0)) {
      return std::nullopt;
    }
  }
  if (!digit) return std::nullopt;
  double value = 0.0;
  const char* first = copy.data();
  const char* last = first + copy.size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last) return std::nullopt;
  return value;
}

}  // namespace

bool isValidNumber(std::string_view text, bool zeroAllowed, bool negativeAllowed) {
  if (text.empty() || text.size() > kMaxNumberTextLength) return false;
  int commas = 0;
  bool digit = false;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const char c = text[i];
    if (isDigit(c)) {
      digit = true;
    } else if (c == ',') {
      ++commas;
    } else if (!(c == '-' && i == 0 && negativeAllowed)) {
      return false;
    }
  }
  const char last = text.back();
  if (isDigit(last)) {
    digit = true;
  } else if (last == ',') {
    ++commas;
  } else if (kScaleLetters.find(last) == std::string_view::npos) {
    return false;
  }
  if (commas >= 2) return false;
  // A text without any digit ("k", ",", "-k") names no number.
  if (!digit) return false;
  const auto value = parseNumber(text);
  if (!value) return false;
  if (!zeroAllowed && *value == 0.0) return false;
  return true;
}

std::optional<double> parseNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const int exponent = scaleExponent(text.back());
  if (exponent == 0) return parseDecimal(text);
  const auto mantissa = parseDecimal(text.substr(0, text.size() - 1));
  if (!mantissa) return std::nullopt;
  return *mantissa * std::pow(10.0, exponent);
}

Parameter::Parameter(std::string_view defaultText) : m_text(defaultText) {
  if (const auto value = parseNumber(defaultText)) {
    m_value = *value;
    m_hasValue = true;
  }
}

bool Parameter::set(std::string_view text, NumberRule rule) {
  if (!isValidNumber(text, rule)) return false;
  m_text = std::string(text);
  m_value = *parseNumber(text);
  m_hasValue = true;
  return true;
}

}  // namespace wolterix::model
