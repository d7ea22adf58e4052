#include "dialogs/parameter_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/error_dialog.h"
#include "editor/editing.h"
#include "model/element.h"
#include "model/schematic.h"

namespace wolterix::dialogs {
namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Hints of the source value field by waveform: a constant value, an RMS value, or (for the
// square, triangle and sawtooth waves) the peak.
QString sourceValueHint(int waveform) {
  switch (waveform) {
    case 0: return QStringLiteral("Wartość napięcia stałego");
    case 1: return QStringLiteral("Wartość skuteczna");
    default: return QStringLiteral("Amplituda");
  }
}

// Common column widths keep the fields of the separate groups roughly in line.
constexpr int kLabelWidth = 56;
constexpr int kUnitWidth = 24;

}  // namespace

ParameterDialog::ParameterDialog(model::ElementKind kind, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_form(parameterForm(kind)) {
  setWindowTitle(qs(model::kindInfo(kind).caption));
  auto* layout = new QVBoxLayout(this);
  m_body = layout;

  auto* nameRow = new QHBoxLayout;
  auto* nameLabel = new QLabel(QStringLiteral("Nazwa"), this);
  nameLabel->setMinimumWidth(kLabelWidth);
  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("Nazwa"));
  m_name->setMaxLength(m_form.nameMaxLength);
  nameLabel->setBuddy(m_name);
  nameRow->addWidget(nameLabel);
  nameRow->addWidget(m_name, 1);
  layout->addLayout(nameRow);

  QWidget* choices = buildChoices();
  const bool choicesInGroup = std::any_of(
      m_form.fields.begin(), m_form.fields.end(),
      [&](const FormField& f) { return !f.group.empty() && f.group == m_form.choiceCaption; });
  if (choices && !choicesInGroup)
    layout->addWidget(choices);
  else
    m_choiceRow = choices;
  buildFields(layout);

  if (m_form.hasControl) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("X ="), this);
    m_control = new QComboBox(this);
    m_control->setObjectName(QStringLiteral("X"));
    m_control->setEditable(true);
    m_control->setInsertPolicy(QComboBox::NoInsert);
    m_control->lineEdit()->setMaxLength(kControlMaxLength);
    m_control->setMinimumContentsLength(kControlMaxLength);
    label->setBuddy(m_control);
    row->addWidget(label);
    row->addWidget(m_control, 1);
    layout->addLayout(row);
  }

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
  QPushButton* help = buttons->addButton(QStringLiteral("Pomoc"), QDialogButtonBox::HelpRole);
  ok->setObjectName(QStringLiteral("OK"));
  cancel->setObjectName(QStringLiteral("Anuluj"));
  help->setObjectName(QStringLiteral("Pomoc"));
  ok->setDefault(true);
  help->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &ParameterDialog::PomCli);
  layout->addWidget(buttons);

  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* ParameterDialog::buildChoices() {
  if (m_form.choices.empty()) return nullptr;
  m_choices = new QButtonGroup(this);
  QWidget* box = nullptr;
  QBoxLayout* boxLayout = nullptr;
  const bool separateGroup =
      !m_form.choiceCaption.empty() &&
      std::none_of(m_form.fields.begin(), m_form.fields.end(),
                   [&](const FormField& f) { return f.group == m_form.choiceCaption; });
  if (separateGroup) {
    box = new QGroupBox(qs(m_form.choiceCaption), this);
    boxLayout = new QVBoxLayout(box);
  } else {
    box = new QWidget(this);
    boxLayout = new QHBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
  }
  box->setObjectName(QStringLiteral("Rodzaj"));
  for (std::size_t i = 0; i < m_form.choices.size(); ++i) {
    auto* radio = new QRadioButton(qs(m_form.choices[i]), box);
    radio->setObjectName(QStringLiteral("choice%1").arg(i));
    m_choices->addButton(radio, static_cast<int>(i));
    boxLayout->addWidget(radio);
  }
  if (!separateGroup) boxLayout->addStretch(1);
  m_choices->button(0)->setChecked(true);
  return box;
}

void ParameterDialog::buildFields(QVBoxLayout* layout) {
  QGridLayout* grid = nullptr;
  QWidget* section = nullptr;
  std::string_view sectionGroup;
  int row = 0;
  const auto closeSection = [&] {
    if (section && sectionGroup == m_form.choiceCaption && m_choiceRow)
      grid->addWidget(m_choiceRow, row++, 0, 1, 3);
  };
  for (std::size_t i = 0; i < m_form.fields.size(); ++i) {
    const FormField& entry = m_form.fields[i];
    if (!section || entry.group != sectionGroup) {
      closeSection();
      sectionGroup = entry.group;
      section = entry.group.empty() ? new QWidget(this) : new QGroupBox(qs(entry.group), this);
      grid = new QGridLayout(section);
      if (entry.group.empty()) grid->setContentsMargins(0, 0, 0, 0);
      grid->setColumnStretch(1, 1);
      grid->setColumnMinimumWidth(0, kLabelWidth);
      grid->setColumnMinimumWidth(2, kUnitWidth);
      layout->addWidget(section);
      row = 0;
    }
    FieldRow fieldRow;
    // Tab follows the order of creation: an enable box comes before the field it enables.
    if (entry.gate == FieldGate::EnableBox) {
      fieldRow.enable = new QCheckBox(qs(entry.label), section);
      fieldRow.enable->setObjectName(qs(entry.enableName));
      fieldRow.label = fieldRow.enable;
    }
    fieldRow.edit = new QLineEdit(section);
    fieldRow.edit->setObjectName(qs(entry.objectName));
    fieldRow.edit->setMaxLength(entry.maxLength);
    fieldRow.edit->setMinimumWidth(110);
    if (!fieldRow.enable) {
      auto* label = new QLabel(qs(entry.label), section);
      label->setBuddy(fieldRow.edit);
      fieldRow.label = label;
    }
    fieldRow.unit = new QLabel(qs(entry.unit), section);
    grid->addWidget(fieldRow.label, row, 0);
    grid->addWidget(fieldRow.edit, row, 1);
    grid->addWidget(fieldRow.unit, row, 2);
    ++row;
    m_rows.push_back(fieldRow);
  }
  closeSection();
}

void ParameterDialog::setInput(const ParameterInput& input) {
  m_name->setText(QString::fromStdString(input.name));
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    m_rows[i].edit->setText(i < input.texts.size() ? QString::fromStdString(input.texts[i])
                                                   : QString());
    if (m_rows[i].enable)
      m_rows[i].enable->setChecked(i < input.enabled.size() && input.enabled[i]);
  }
  if (m_choices) {
    if (QAbstractButton* button = m_choices->button(input.choice)) button->setChecked(true);
  }
  if (m_control) m_control->setEditText(QString::fromStdString(input.control));
}

ParameterInput ParameterDialog::input() const {
  ParameterInput input;
  input.name = m_name->text().toStdString();
  for (const FieldRow& row : m_rows) {
    input.texts.push_back(row.edit->text().toStdString());
    input.enabled.push_back(row.enable && row.enable->isChecked());
  }
  if (m_choices) input.choice = std::max(0, m_choices->checkedId());
  if (m_control) input.control = m_control->currentText().toStdString();
  return input;
}

void ParameterDialog::setControlList(const std::vector<std::string>& list) {
  if (!m_control) return;
  const QString typed = m_control->currentText();
  m_control->clear();
  for (const std::string& entry : list) m_control->addItem(QString::fromStdString(entry));
  m_control->setEditText(typed);
}

void ParameterDialog::setHelp(std::function<void(int)> showHelp, std::function<void()> hideHelp) {
  m_showHelp = std::move(showHelp);
  m_hideHelp = std::move(hideHelp);
}

QLineEdit* ParameterDialog::field(std::size_t i) const {
  return i < m_rows.size() ? m_rows[i].edit : nullptr;
}

int ParameterDialog::run() {
  if (!execHook) return exec();
  show();
  const int result = execHook(*this);
  Close();
  hide();
  return result;
}

void ParameterDialog::done(int result) {
  Close();
  QDialog::done(result);
}

void ParameterDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  OnSh();
}

void ParameterDialog::OnSh() {
  for (const FieldRow& row : m_rows) {
    if (!row.edit->isHidden()) {
      row.edit->setFocus();
      row.edit->selectAll();
      return;
    }
  }
  m_name->setFocus();
}

void ParameterDialog::keyPressEvent(QKeyEvent* event) {
  // The controls leave F1 alone, so it arrives here from whichever of them has the focus.
  if (event->key() == Qt::Key_F1) {
    PomCli();
    return;
  }
  QDialog::keyPressEvent(event);
}

void ParameterDialog::PomCli() {
  if (m_showHelp) m_showHelp(model::kindInfo(m_kind).helpTopic);
}

void ParameterDialog::Close() {
  if (m_hideHelp) m_hideHelp();
}

void ParameterDialog::setRowVisible(std::size_t i, bool visible) {
  if (i >= m_rows.size()) return;
  m_rows[i].label->setVisible(visible);
  m_rows[i].edit->setVisible(visible);
  m_rows[i].unit->setVisible(visible);
}

QLabel* ParameterDialog::addNote(const QString& text) {
  auto* note = new QLabel(text, this);
  note->setObjectName(QStringLiteral("note"));
  // Above the button row, which is always the last item.
  m_body->insertWidget(m_body->count() - 1, note);
  return note;
}

TRezDialog::TRezDialog(QWidget* parent) : ParameterDialog(model::ElementKind::Rez, parent) {}

TIndDialog::TIndDialog(QWidget* parent) : TIndDialog(model::ElementKind::Ind, parent) {}
TIndDialog::TIndDialog(model::ElementKind kind, QWidget* parent) : ParameterDialog(kind, parent) {}

void TIndDialog::OnSh() {
  // The transfer function has no initial conditions.
  setRowVisible(1, !transferMode());
  ParameterDialog::OnSh();
}

TPojDialog::TPojDialog(QWidget* parent) : TIndDialog(model::ElementKind::Poj, parent) {}

TNapDialog::TNapDialog(model::ElementKind kind, QWidget* parent) : ParameterDialog(kind, parent) {
  connect(choiceGroup(), &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) RodzOnCl();
  });
  RodzOnCl();
}

void TNapDialog::RodzOnCl() {
  const int waveform = std::max(0, choiceGroup()->checkedId());
  setRowVisible(2, waveform != 0);
  setRowVisible(3, waveform != 0);
  field(0)->setToolTip(sourceValueHint(waveform));
}

TzsNDialog::TzsNDialog(model::ElementKind kind, QWidget* parent) : ParameterDialog(kind, parent) {
  addNote(kind == model::ElementKind::zsN ? QStringLiteral("gdzie:   E = k·X  [V]")
                                          : QStringLiteral("gdzie:   J = k·X  [A]"));
}

TnWeDialog::TnWeDialog(QWidget* parent) : ParameterDialog(model::ElementKind::nWe, parent) {}

TDioDialog::TDioDialog(QWidget* parent) : ParameterDialog(model::ElementKind::Dio, parent) {}

TZenDialog::TZenDialog(QWidget* parent) : ParameterDialog(model::ElementKind::Zen, parent) {}

TTyrDialog::TTyrDialog(model::ElementKind kind, QWidget* parent) : ParameterDialog(kind, parent) {}

TGTODialog::TGTODialog(model::ElementKind kind, QWidget* parent) : ParameterDialog(kind, parent) {}

TWarDialog::TWarDialog(QWidget* parent) : ParameterDialog(model::ElementKind::War, parent) {
  addNote(QStringLiteral("<span style=\"white-space:pre\">gdzie        U=c·I<sup>ß</sup></span>"));
}

TNielDialog::TNielDialog(model::ElementKind kind, QWidget* parent)
    : ParameterDialog(kind, parent), m_formula(addNote(QString())) {}

void TNielDialog::OnSh() {
  m_formula->setText(kind() == model::ElementKind::nlL
                         ? QStringLiteral("<span style=\"white-space:pre\">gdzie        "
                                          "Y=L·I<sup>ß</sup></span>")
                         : QStringLiteral("<span style=\"white-space:pre\">gdzie        "
                                          "Q=C·U<sup>ß</sup></span>"));
  ParameterDialog::OnSh();
}

TBJTDialog::TBJTDialog(QWidget* parent) : ParameterDialog(model::ElementKind::BJT, parent) {}

TsDCDialog::TsDCDialog(QWidget* parent) : ParameterDialog(model::ElementKind::sDC, parent) {
  // The load torque formula closes the load group, below its coefficients.
  auto* formula = new QLabel(QStringLiteral("M = a + b·nr + c·nr²  [Nm]"), this);
  formula->setObjectName(QStringLiteral("note"));
  QWidget* group = field(5)->parentWidget();
  if (auto* grid = qobject_cast<QGridLayout*>(group->layout()))
    grid->addWidget(formula, grid->rowCount(), 0, 1, 3);
}

TwylDialog::TwylDialog(QWidget* parent) : ParameterDialog(model::ElementKind::wyl, parent) {}

TSprDialog::TSprDialog(QWidget* parent) : ParameterDialog(model::ElementKind::Spr, parent) {}

TTf1Dialog::TTf1Dialog(QWidget* parent) : ParameterDialog(model::ElementKind::Tf1, parent) {}

TmmVDialog::TmmVDialog(model::ElementKind kind, QWidget* parent) : ParameterDialog(kind, parent) {}

std::unique_ptr<ParameterDialog> createParameterDialog(model::ElementKind kind, QWidget* parent) {
  using K = model::ElementKind;
  switch (kind) {
    case K::Rez: return std::make_unique<TRezDialog>(parent);
    case K::Ind: return std::make_unique<TIndDialog>(parent);
    case K::Poj: return std::make_unique<TPojDialog>(parent);
    case K::Dio: return std::make_unique<TDioDialog>(parent);
    case K::Zen: return std::make_unique<TZenDialog>(parent);
    case K::Tyr:
    case K::RCT: return std::make_unique<TTyrDialog>(kind, parent);
    case K::GTO:
    case K::TrM: return std::make_unique<TGTODialog>(kind, parent);
    case K::BJT: return std::make_unique<TBJTDialog>(parent);
    case K::War: return std::make_unique<TWarDialog>(parent);
    case K::nlL:
    case K::nlC: return std::make_unique<TNielDialog>(kind, parent);
    case K::Spr: return std::make_unique<TSprDialog>(parent);
    case K::Tf1: return std::make_unique<TTf1Dialog>(parent);
    case K::sDC: return std::make_unique<TsDCDialog>(parent);
    case K::Nap:
    case K::Prd: return std::make_unique<TNapDialog>(kind, parent);
    case K::zsN:
    case K::zsP: return std::make_unique<TzsNDialog>(kind, parent);
    case K::nWe: return std::make_unique<TnWeDialog>(parent);
    case K::mmV:
    case K::mmA:
    case K::mmW: return std::make_unique<TmmVDialog>(kind, parent);
    case K::wyl: return std::make_unique<TwylDialog>(parent);
  }
  model::unknownKind(kind, "createParameterDialog");
}

bool editParameters(QWidget* parent, model::Element& element, model::Schematic& schematic,
                    model::DocumentFlags& flags, const std::function<void(int)>& showHelp,
                    const std::function<void()>& hideHelp) {
  ParameterEditSession session(element, schematic, flags);
  const auto dialog = createParameterDialog(element.kind(), parent);
  dialog->setTransferMode(schematic.transferMode());
  dialog->setHelp(showHelp, hideHelp);
  dialog->setControlList(session.controlList());
  dialog->setInput(session.shown());
  for (;;) {
    if (dialog->run() != QDialog::Accepted) return false;
    const std::vector<std::string> lines = session.submit(dialog->input());
    if (lines.empty()) return true;
    QStringList errors;
    for (const std::string& line : lines) errors << QString::fromStdString(line);
    TErrorDialog::show(dialog.get(), errors);
    dialog->setInput(session.shown());
  }
}

}  // namespace wolterix::dialogs
