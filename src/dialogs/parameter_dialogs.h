#pragma once
/// The parameter dialogs of the element kinds and the edit loop that runs them.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/parameter_validation.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace wolterix::model {
class Element;
class Schematic;
}  // namespace wolterix::model
namespace wolterix::editor {
struct DocumentFlags;
}

namespace wolterix::dialogs {

/// Common body of the parameter dialogs: the name, the number fields of the kind's form (with
/// their groups, units and enable boxes), the radio group, the control list, "OK", "Anuluj"
/// and "Pomoc". The kind-specific classes add their notes and show/hide rules.
class ParameterDialog : public QDialog {
  Q_OBJECT

 public:
  ParameterDialog(model::ElementKind kind, QWidget* parent);

  model::ElementKind kind() const { return m_kind; }
  const ParameterForm& form() const { return m_form; }

  /// Puts name, texts, enable boxes, choice and control into the widgets.
  void setInput(const ParameterInput& input);
  /// What the widgets hold now.
  ParameterInput input() const;
  /// Entries of the control drop-down (controlled sources).
  void setControlList(const std::vector<std::string>& list);
  /// Whether the workspace analyses the transfer function (hides initial conditions).
  void setTransferMode(bool transfer) { m_transferMode = transfer; }
  void setHelp(std::function<void(int)> showHelp, std::function<void()> hideHelp);

  /// The number field of form field i.
  QLineEdit* field(std::size_t i) const;

  /// Shows the dialog modally and answers QDialog::Accepted or Rejected.
  int run();
  /// When set, run() shows the dialog without a modal loop and hands it here instead of
  /// exec(); the hook fills the widgets and answers Accepted or Rejected (offscreen tests).
  static inline std::function<int(ParameterDialog&)> execHook;

  void done(int result) override;

 protected:
  struct FieldRow {
    QWidget* label = nullptr;  ///< the label, or the enable box of a gated field
    QLineEdit* edit = nullptr;
    QLabel* unit = nullptr;
    QCheckBox* enable = nullptr;
  };

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  /// On show: the keyboard focus goes to the first number field.
  virtual void OnSh();
  /// "Pomoc" and F1: the help viewer on the dialog's topic.
  void PomCli();
  /// On close: hides the help viewer.
  void Close();

  /// Shows or hides the label, field and unit of form field i.
  void setRowVisible(std::size_t i, bool visible);
  /// Adds a line of text below the fields (rich text allowed).
  QLabel* addNote(const QString& text);
  bool transferMode() const { return m_transferMode; }
  QButtonGroup* choiceGroup() const { return m_choices; }

 private:
  void buildFields(QVBoxLayout* layout);
  QWidget* buildChoices();

  model::ElementKind m_kind;
  const ParameterForm& m_form;
  QLineEdit* m_name = nullptr;
  std::vector<FieldRow> m_rows;
  QButtonGroup* m_choices = nullptr;
  QWidget* m_choiceRow = nullptr;  ///< radio buttons that stand inside a field group
  QComboBox* m_control = nullptr;
  QVBoxLayout* m_body = nullptr;
  bool m_transferMode = false;
  std::function<void(int)> m_showHelp;
  std::function<void()> m_hideHelp;
};

class TRezDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TRezDialog(QWidget* parent = nullptr);
};

/// Inductance and capacitance: no initial condition in a transfer-function workspace.
class TIndDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TIndDialog(QWidget* parent = nullptr);
  TIndDialog(model::ElementKind kind, QWidget* parent);

 protected:
  void OnSh() override;
};

class TPojDialog : public TIndDialog {
  Q_OBJECT
 public:
  explicit TPojDialog(QWidget* parent = nullptr);
};

/// Voltage and current source: the frequency and phase belong to the varying waveforms.
class TNapDialog : public ParameterDialog {
  Q_OBJECT
 public:
  TNapDialog(model::ElementKind kind, QWidget* parent = nullptr);
  void RodzOnCl();
};

/// Controlled voltage and current source.
class TzsNDialog : public ParameterDialog {
  Q_OBJECT
 public:
  TzsNDialog(model::ElementKind kind, QWidget* parent = nullptr);
};

class TnWeDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TnWeDialog(QWidget* parent = nullptr);
};

class TDioDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TDioDialog(QWidget* parent = nullptr);
};

class TZenDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TZenDialog(QWidget* parent = nullptr);
};

/// SCR and RCT thyristor: up to three firing angles, each with its enable box.
class TTyrDialog : public ParameterDialog {
  Q_OBJECT
 public:
  TTyrDialog(model::ElementKind kind, QWidget* parent = nullptr);
};

/// GTO thyristor and power transistor.
class TGTODialog : public ParameterDialog {
  Q_OBJECT
 public:
  TGTODialog(model::ElementKind kind, QWidget* parent = nullptr);
};

class TWarDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TWarDialog(QWidget* parent = nullptr);
};

/// Nonlinear inductance and capacitance.
class TNielDialog : public ParameterDialog {
  Q_OBJECT
 public:
  TNielDialog(model::ElementKind kind, QWidget* parent = nullptr);

 protected:
  void OnSh() override;

 private:
  QLabel* m_formula;
};

class TBJTDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TBJTDialog(QWidget* parent = nullptr);
};

class TsDCDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TsDCDialog(QWidget* parent = nullptr);
};

class TwylDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TwylDialog(QWidget* parent = nullptr);
};

class TSprDialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TSprDialog(QWidget* parent = nullptr);
};

class TTf1Dialog : public ParameterDialog {
  Q_OBJECT
 public:
  explicit TTf1Dialog(QWidget* parent = nullptr);
};

/// Voltmeter, ammeter and wattmeter: the name only.
class TmmVDialog : public ParameterDialog {
  Q_OBJECT
 public:
  TmmVDialog(model::ElementKind kind, QWidget* parent = nullptr);
};

/// The dialog of a kind.
std::unique_ptr<ParameterDialog> createParameterDialog(model::ElementKind kind,
                                                       QWidget* parent = nullptr);

/// Opens the element's dialog and repeats it with the numbered error lines until the input is
/// valid or the user cancels. On acceptance stores the input, marks the document modified and
/// invalidates results and measurements, and answers true; a cancel changes nothing.
/// showHelp opens the help viewer on a topic; hideHelp, when given, is called on close.
bool editParameters(QWidget* parent, model::Element& element, model::Schematic& schematic,
                    model::DocumentFlags& flags, const std::function<void(int)>& showHelp,
                    const std::function<void()>& hideHelp = {});

}  // namespace wolterix::dialogs
