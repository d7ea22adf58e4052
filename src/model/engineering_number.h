#pragma once
/// Engineering numbers: "4,7u", "10k", "-2,5" with a comma as the decimal separator.

#include <optional>
#include <string>
#include <string_view>

namespace wolterix::model {

/// Whether zero and negative values are acceptable for a parameter.
struct NumberRule {
  bool zeroAllowed = false;
  bool negativeAllowed = false;
};

/// Longest number text that is ever converted; longer texts are invalid.
inline constexpr std::size_t kMaxNumberTextLength = 19;

/// True when text is a well-formed engineering number acceptable under the two switches.
bool isValidNumber(std::string_view text, bool zeroAllowed, bool negativeAllowed);
inline bool isValidNumber(std::string_view text, NumberRule rule) {
  return isValidNumber(text, rule.zeroAllowed, rule.negativeAllowed);
}

/// Value of a text that isValidNumber accepted; nullopt for anything that is not a number.
std::optional<double> parseNumber(std::string_view text);

/// A numeric parameter: the text the user typed and the value parsed from it, only ever
/// set together.
class Parameter {
 public:
  Parameter() = default;
  /// Starts with a default text; "?" (or any invalid text) leaves the value at 0.
  explicit Parameter(std::string_view defaultText);

  const std::string& text() const { return m_text; }
  double value() const { return m_value; }
  /// True when the text is a number (not "?").
  bool hasValue() const { return m_hasValue; }

  /// Stores text and value when the text is valid under rule; otherwise changes nothing.
  bool set(std::string_view text, NumberRule rule);

 private:
  std::string m_text = "?";
  double m_value = 0.0;
  bool m_hasValue = false;
};

}  // namespace wolterix::model
