#pragma once
/// What the parameter dialogs show, how typed entries are checked, and how they are stored.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/document_flags.h"
#include "model/element.h"

namespace wolterix::model {
class Schematic;
}
namespace wolterix::editor {
struct DocumentFlags;
}

namespace wolterix::dialogs {

/// When a number field takes part in the check.
enum class FieldGate {
  Always,
  EnableBox,          ///< only while its own enable box is ticked (firing angles, switch times)
  NonConstantSource,  ///< only for a waveform other than "Stałe" (source frequency and phase)
};

/// One number field of a parameter dialog, in the dialog's order.
struct FormField {
  std::string_view label;        ///< "R =", or the enable box text of a gated field
  std::string_view unit;         ///< "Ω", "H", ... ("" for none)
  std::string_view messageName;  ///< the name between quotes in an error line
  std::size_t slot;              ///< parameter position in the element (model::param)
  std::string_view objectName;   ///< the widget's name ("valR")
  std::string_view group = {};   ///< caption of the group box the field stands in
  FieldGate gate = FieldGate::Always;
  int maxLength = 13;
  std::string_view enableName = {};  ///< object name of the enable box of a gated field
};

/// Everything a kind's dialog is made of besides what the table of kinds holds (caption, help
/// topic, the fields' rules and reset texts).
struct ParameterForm {
  model::ElementKind kind;
  std::span<const FormField> fields;
  /// Field indices in the order their errors are listed; empty means the field order.
  std::span<const std::size_t> messageOrder = {};
  int nameMaxLength = 16;
  /// Radio group: caption (may name a field group to stand inside it) and button texts.
  std::string_view choiceCaption = {};
  std::span<const std::string_view> choices = {};
  /// Controlled sources: the editable drop-down "X =".
  bool hasControl = false;

  /// The table's row of the parameter field i stands for.
  const model::ParameterRow& parameter(std::size_t field) const;
  /// True when the dialog takes text in field i (the table's dialog rule and bound).
  bool accepts(std::size_t field, std::string_view text) const {
    return parameter(field).dialogAccepts(text);
  }
  /// Put into field i when it is faulty.
  std::string_view resetText(std::size_t field) const { return parameter(field).defaultText; }
};

/// The dialog of a kind.
const ParameterForm& parameterForm(model::ElementKind kind);

/// Longest text of the controlling-quantity field.
inline constexpr int kControlMaxLength = 16;

/// What the user sees and types in a dialog.
struct ParameterInput {
  std::string name;
  std::vector<std::string> texts;  ///< one per field, in field order
  std::vector<bool> enabled;       ///< enable boxes, one per field (only gated fields use it)
  int choice = 0;                  ///< index of the ticked radio button
  std::string control;             ///< controlled sources: "X ="
};

/// The element's stored name, texts and choices as the dialog shows them.
ParameterInput inputFromElement(const model::Element& element);

/// Result of checking one round of input.
struct Validation {
  std::vector<std::string> lines;  ///< "[1] ...", numbered from 1
  ParameterInput corrected;        ///< the input with faulty fields reset
  bool ok() const { return lines.empty(); }
};

/// Checks what the user typed into the dialog of element.
Validation validateInput(const model::Element& element, const model::Schematic& schematic,
                         const ParameterInput& input);

/// Stores valid input: name, texts with their values, choices, enable boxes.
void applyInput(model::Element& element, const ParameterInput& input);

/// The edit loop without the widgets: what to show, then one check per press of "OK".
class ParameterEditSession {
 public:
  ParameterEditSession(model::Element& element, const model::Schematic& schematic,
                       model::DocumentFlags& flags);

  /// What the dialog is to show in the coming round.
  const ParameterInput& shown() const { return m_shown; }
  /// The user pressed "OK": returns the error lines, or stores the input and marks the
  /// document changed when there are none.
  std::vector<std::string> submit(const ParameterInput& typed);
  /// The control list of a controlled source (empty for other kinds).
  const std::vector<std::string>& controlList() const { return m_controlList; }

 private:
  model::Element& m_element;
  const model::Schematic& m_schematic;
  model::DocumentFlags& m_flags;
  ParameterInput m_shown;
  std::vector<std::string> m_controlList;
};

}  // namespace wolterix::dialogs
