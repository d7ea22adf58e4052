#include "dialogs/parameter_validation.h"

#include <algorithm>
#include <optional>

#include "dialogs/parameter_messages.h"
#include "editor/editing.h"
#include "model/machine_elements.h"
#include "model/schematic.h"
#include "model/source_elements.h"
#include "model/switching_elements.h"
#include "model/waveform_names.h"

namespace wolterix::dialogs {
namespace {

using model::ElementKind;
using model::NumberRule;
constexpr NumberRule kPos{false, false};  // > 0
constexpr NumberRule kPosZ{true, false};  // >= 0
constexpr NumberRule kNonZero{false, true};
constexpr NumberRule kAny{true, true};
constexpr FieldGate kBox = FieldGate::EnableBox;
constexpr FieldGate kNotDC = FieldGate::NonConstantSource;

// clang-format off
// label, unit, name in messages, parameter slot, rule, reset, widget, group, limit, gate,
// length, enable box
constexpr FormField kRez[] = {{"R =", "Ω", "R", 0, kPos, "?", "valR"}};
constexpr FormField kInd[] = {
    {"L =", "H", "L", 0, kPos, "?", "valL"},
    {"I(t=0) =", "A", "I(t=0)", 1, kAny, "0", "valI"},
};
constexpr FormField kPoj[] = {
    {"C =", "F", "C", 0, kPos, "?", "valC"},
    {"U(t=0)=", "V", "U(t=0)", 1, kAny, "0", "valU"},
};
constexpr FormField kNap[] = {
    {"E =", "V", "E", 0, kPos, "?", "valE"},
    {"Rw =", "Ω", "Rw", 1, kPosZ, "0", "valRw"},
    {"f =", "Hz", "f", 2, kPos, "?", "valf", {}, FieldLimit::None, kNotDC},
    {"φ =", "°", "(fi)", 3, kAny, "0", "valFi", {}, FieldLimit::None, kNotDC},
};
constexpr FormField kPrd[] = {
    {"J =", "A", "J", 0, kPos, "?", "valJ"},
    {"Gw =", "S", "Gw", 1, kPosZ, "0", "valGw"},
    {"f =", "Hz", "f", 2, kPos, "?", "valf", {}, FieldLimit::None, kNotDC},
    {"φ =", "°", "(fi)", 3, kAny, "0", "valFi", {}, FieldLimit::None, kNotDC},
};
constexpr FormField kZsN[] = {
    {"Rw =", "Ω", "Rw", 1, kPosZ, "0", "valRw"},
    {"k =", "", "k", 0, kNonZero, "?", "valk"},
};
constexpr FormField kZsP[] = {
    {"Gw =", "S", "Gw", 1, kPosZ, "0", "valGw"},
    {"k =", "", "k", 0, kNonZero, "?", "valk"},
};
constexpr FormField kNWe[] = {
    {"Poziom :", "dB", "Poziom", 0, kAny, "0", "valPoziom", {}, FieldLimit::None,
     FieldGate::Always, 16},
};
constexpr FormField kDio[] = {
    {"Rf =", "Ω", "Rf", 0, kPosZ, "0", "valRf"},
    {"Gd =", "S", "Gd", 1, kPosZ, "0", "valGd"},
};
constexpr FormField kZen[] = {
    {"Uz =", "V", "Uz", 0, kPos, "?", "valUz"},
    {"Rf =", "Ω", "Rf", 1, kPosZ, "0", "valRf"},
    {"Gd =", "S", "Gd", 2, kPosZ, "0", "valGd"},
};
constexpr std::size_t kZenOrder[] = {1, 2, 0};
constexpr FormField kTyr[] = {
    {"Rt =", "Ω", "Rt", 0, kPosZ, "0", "valRt"},
    {"Gd =", "S", "Gd", 1, kPosZ, "0", "valGd"},
    {"f =", "Hz", "f", 2, kPos, "?", "valf", "Sterowanie"},
    {"φ1 =", "°", "(fi)1", 3, kPosZ, "?", "valFi1", "Sterowanie", FieldLimit::None, kBox, 13, "CBox0"},
    {"φ2 =", "°", "(fi)2", 4, kPosZ, "?", "valFi2", "Sterowanie", FieldLimit::None, kBox, 13, "CBox1"},
    {"φ3 =", "°", "(fi)3", 5, kPosZ, "?", "valFi3", "Sterowanie", FieldLimit::None, kBox, 13, "CBox2"},
};
constexpr FormField kGTO[] = {
    {"Rt =", "Ω", "Rt", 0, kPosZ, "0", "valRt"},
    {"Gd =", "S", "Gd", 1, kPosZ, "0", "valGd"},
    {"f =", "Hz", "f", 2, kPos, "?", "valf", "Sterowanie"},
    {"φon =", "°", "(fi)on", 3, kPosZ, "?", "valFiOn", "Sterowanie"},
    {"φoff =", "°", "(fi)off", 4, kPosZ, "?", "valFiOff", "Sterowanie"},
};
constexpr FormField kWar[] = {
    {"c =", "", "c", 0, kPos, "?", "valc"},
    {"ß =", "", "ß", 1, kPos, "?", "valBeta"},
};
constexpr FormField kNlL[] = {
    {"L =", "", "L", 0, kPos, "?", "valL"},
    {"ß =", "", "ß", 1, kPos, "?", "valBeta"},
    {"I(t=0) =", "A", "I(t=0)", 2, kPosZ, "0", "valI"},
};
constexpr FormField kNlC[] = {
    {"C =", "", "C", 0, kPos, "?", "valC"},
    {"ß =", "", "ß", 1, kPos, "?", "valBeta"},
    {"U(t=0)=", "V", "U(t=0)", 2, kPosZ, "0", "valU"},
};
constexpr FormField kBJT[] = {
    {"h11e =", "Ω", "h11e", 0, kPos, "?", "valH11"},
    {"h12e =", "", "h12e", 1, kPos, "?", "valH12"},
    {"h21e =", "", "h21e", 2, kPos, "?", "valH21"},
    {"h22e =", "S", "h22e", 3, kPos, "?", "valH22"},
};
constexpr std::string_view kRated = "Dane znamionowe";
constexpr std::string_view kLoad = "Obciążenie";
constexpr FormField kSDC[] = {
    {"P =", "W", "P", 0, kPos, "?", "valP", kRated},
    {"U =", "V", "U", 1, kPos, "?", "valU", kRated},
    {"I =", "A", "I", 2, kPos, "?", "valI", kRated},
    {"n =", "obr/min", "n", 3, kPos, "?", "valn", kRated},
    {"J =", "kgm²", "J", 9, kPos, "?", "valJ", "Moment bezwładności"},
    {"a =", "", "M(a)", 6, kPosZ, "0", "vala", kLoad, FieldLimit::None, FieldGate::Always, 11},
    {"b =", "", "M(b)", 7, kPosZ, "0", "valb", kLoad, FieldLimit::None, FieldGate::Always, 11},
    {"c =", "", "M(c)", 8, kPosZ, "0", "valc", kLoad, FieldLimit::None, FieldGate::Always, 11},
    {"Rt =", "Ω", "Rt", 4, kPos, "?", "valRt"},
    {"Lt =", "H", "Lt", 5, kPos, "?", "valLt"},
    {"I(0)=", "A", "I(0)", 11, kAny, "0", "valI0", "Warunki początkowe"},
    {"n(0)=", "obr/min", "n(0)", 12, kAny, "0", "valn0", "Warunki początkowe"},
    {"f =", "%", "(fi)", 10, kAny, "100", "valFi", "Wzbudzenie", FieldLimit::None,
     FieldGate::Always, 6},
};
constexpr FormField kWyl[] = {
    {"t1 =", "s", "Czas przełączenia(1)", 0, kPosZ, "?", "valT1", "Czas przełączenia",
     FieldLimit::None, kBox, 13, "CB1"},
    {"t2 =", "s", "Czas przełączenia(2)", 1, kPosZ, "?", "valT2", "Czas przełączenia",
     FieldLimit::None, kBox, 13, "CB2"},
};
constexpr FormField kSpr[] = {
    {"L =", "H", "L1", 0, kPos, "?", "valL1", "Cewka  I "},
    {"I(t=0) =", "A", "I1(t=0)", 2, kAny, "0", "valI1", "Cewka  I "},
    {"L =", "H", "L2", 1, kPos, "?", "valL2", "Cewka  II "},
    {"I(t=0) =", "A", "I2(t=0)", 3, kAny, "0", "valI2", "Cewka  II "},
    {"M =", "%", "M", 4, kPos, "100", "valM", "Współczynnik sprzężenia ", FieldLimit::AtMost100},
};
constexpr std::size_t kSprOrder[] = {0, 2, 1, 3, 4};
constexpr std::string_view kTfRated = "Dane znamionowe ";
constexpr std::string_view kTfOther = "Inne parametry ";
constexpr FormField kTf1[] = {
    {"S =", "VA", "S", 0, kPos, "?", "valS", kTfRated},
    {"U1 =", "V", "U1", 1, kPos, "?", "valU1", kTfRated},
    {"U2 =", "V", "U2", 2, kPos, "?", "valU2", kTfRated},
    {"f =", "Hz", "f", 3, kPos, "?", "valf", kTfRated},
    {"Uzr =", "%", "Uzr", 4, kPos, "?", "valUzr", kTfOther, FieldLimit::Below100},
    {"Ior =", "%", "Ior", 5, kPos, "?", "valIor", kTfOther, FieldLimit::Below100},
    {"Pun =", "W", "Pun", 6, kPosZ, "0", "valPun", kTfOther},
    {"Pfen =", "W", "Pfen", 7, kPosZ, "0", "valPfen", kTfOther},
};
// clang-format on

// Field indices of the transformer's cross-checked fields.
constexpr std::size_t kTfS = 0, kTfUzr = 4, kTfPun = 6, kTfPfen = 7;

constexpr std::string_view kWaveforms[] = {"Stałe", "Sinusoidalne", "Prostokątne", "Trójkątne",
                                           "Piłokształtne"};
constexpr std::string_view kTransistorTypes[] = {"npn", "pnp"};
constexpr std::string_view kLoadTypes[] = {"czynne", "bierne"};
constexpr std::string_view kSwitchStates[] = {"Otwarty", "Zamknięty"};
// The "czynne" button comes first; the element's flag is true for an active load.
constexpr int kActiveLoadChoice = 0;
constexpr int kPassiveLoadChoice = 1;

constexpr ParameterForm kFormRez{"Rezystancja", 51, kRez};
constexpr ParameterForm kFormInd{"Indukcyjność", 52, kInd};
constexpr ParameterForm kFormPoj{"Pojemność", 53, kPoj};
constexpr ParameterForm kFormNap{.caption = "Źródło napięcia",
                                 .helpTopic = 46,
                                 .fields = kNap,
                                 .choiceCaption = "Rodzaj",
                                 .choices = kWaveforms};
constexpr ParameterForm kFormPrd{.caption = "Źródło prądu",
                                 .helpTopic = 47,
                                 .fields = kPrd,
                                 .choiceCaption = "Rodzaj",
                                 .choices = kWaveforms};
constexpr ParameterForm kFormZsN{
    .caption = "Źródło napięcia sterowane", .helpTopic = 48, .fields = kZsN, .hasControl = true};
constexpr ParameterForm kFormZsP{
    .caption = "Źródło prądu sterowane", .helpTopic = 49, .fields = kZsP, .hasControl = true};
constexpr ParameterForm kFormNWe{
    .caption = "Napięcie wejściowe", .helpTopic = 50, .fields = kNWe, .nameMaxLength = 13};
constexpr ParameterForm kFormDio{"Dioda", 57, kDio};
constexpr ParameterForm kFormZen{"Dioda Zenera", 58, kZen, kZenOrder};
constexpr ParameterForm kFormTyr{"Tyrystor SCR", 59, kTyr};
constexpr ParameterForm kFormRCT{"Tyrystor RCT", 60, kTyr};
constexpr ParameterForm kFormGTO{"Tyrystor GTO", 61, kGTO};
constexpr ParameterForm kFormTrM{"Tranzystor mocy", 62, kGTO};
constexpr ParameterForm kFormWar{"Warystor", 54, kWar};
constexpr ParameterForm kFormNlL{"Indukcyjność nieliniowa", 55, kNlL};
constexpr ParameterForm kFormNlC{"Pojemność nieliniowa", 56, kNlC};
constexpr ParameterForm kFormBJT{.caption = "Tranzystor bipolarny",
                                 .helpTopic = 67,
                                 .fields = kBJT,
                                 .choices = kTransistorTypes};
constexpr ParameterForm kFormSDC{.caption = "Silnik prądu stałego",
                                 .helpTopic = 64,
                                 .fields = kSDC,
                                 .choiceCaption = kLoad,
                                 .choices = kLoadTypes};
constexpr ParameterForm kFormWyl{.caption = "Wyłącznik",
                                 .helpTopic = 63,
                                 .fields = kWyl,
                                 .choiceCaption = "Stan początkowy",
                                 .choices = kSwitchStates};
constexpr ParameterForm kFormSpr{"Cewki sprzężone", 65, kSpr, kSprOrder};
constexpr ParameterForm kFormTf1{"Transformator jednofazowy", 66, kTf1};
constexpr ParameterForm kFormMmV{"Woltomierz", 68, {}};
constexpr ParameterForm kFormMmA{"Amperomierz", 69, {}};
constexpr ParameterForm kFormMmW{"Watomierz", 70, {}};

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string fieldLine(std::string_view opening, std::string_view fieldName) {
  return std::string(opening) + " " + inQuotes(fieldName) + ".";
}

bool isChecked(const FormField& field, const ParameterInput& input, std::size_t i) {
  switch (field.gate) {
    case FieldGate::Always: return true;
    case FieldGate::EnableBox: return i < input.enabled.size() && input.enabled[i];
    case FieldGate::NonConstantSource: return input.choice != 0;
  }
  return true;
}

std::string_view textOf(const ParameterInput& input, std::size_t i) {
  return i < input.texts.size() ? std::string_view(input.texts[i]) : std::string_view();
}

std::optional<double> valueOf(const ParameterForm& form, const ParameterInput& input,
                              std::size_t i) {
  const std::string_view text = textOf(input, i);
  if (!form.fields[i].accepts(text)) return std::nullopt;
  return model::parseNumber(text);
}

}  // namespace

bool FormField::accepts(std::string_view text) const {
  if (!model::isValidNumber(text, rule)) return false;
  const double value = *model::parseNumber(text);
  switch (limit) {
    case FieldLimit::None: return true;
    case FieldLimit::AtMost100: return value <= 100.0;
    case FieldLimit::Below100: return value < 100.0;
  }
  return true;
}

const ParameterForm& parameterForm(ElementKind kind) {
  switch (kind) {
    case ElementKind::Rez: return kFormRez;
    case ElementKind::Ind: return kFormInd;
    case ElementKind::Poj: return kFormPoj;
    case ElementKind::Dio: return kFormDio;
    case ElementKind::Zen: return kFormZen;
    case ElementKind::Tyr: return kFormTyr;
    case ElementKind::GTO: return kFormGTO;
    case ElementKind::TrM: return kFormTrM;
    case ElementKind::BJT: return kFormBJT;
    case ElementKind::RCT: return kFormRCT;
    case ElementKind::War: return kFormWar;
    case ElementKind::nlL: return kFormNlL;
    case ElementKind::nlC: return kFormNlC;
    case ElementKind::Spr: return kFormSpr;
    case ElementKind::Tf1: return kFormTf1;
    case ElementKind::sDC: return kFormSDC;
    case ElementKind::Nap: return kFormNap;
    case ElementKind::Prd: return kFormPrd;
    case ElementKind::zsN: return kFormZsN;
    case ElementKind::zsP: return kFormZsP;
    case ElementKind::nWe: return kFormNWe;
    case ElementKind::mmV: return kFormMmV;
    case ElementKind::mmA: return kFormMmA;
    case ElementKind::mmW: return kFormMmW;
    case ElementKind::wyl: return kFormWyl;
  }
  return kFormRez;
}

ParameterInput inputFromElement(const model::Element& element) {
  const ParameterForm& form = parameterForm(element.kind());
  ParameterInput input;
  input.name = element.name();
  for (const FormField& field : form.fields) {
    input.texts.push_back(element.parameter(field.slot).text());
    input.enabled.push_back(field.gate == FieldGate::EnableBox && element.isGiven(field.slot));
  }
  if (const auto* source = dynamic_cast<const model::IndependentSource*>(&element))
    input.choice = static_cast<int>(source->waveform());
  else if (const auto* motor = dynamic_cast<const model::SilnikDC*>(&element))
    input.choice = motor->activeLoad() ? kActiveLoadChoice : kPassiveLoadChoice;
  else if (const auto* breaker = dynamic_cast<const model::Wylacznik*>(&element))
    input.choice = breaker->initiallyOn() ? 1 : 0;
  else if (element.kind() == ElementKind::BJT)
    input.choice = element.isNpn() ? 0 : 1;
  if (const auto* controlled = dynamic_cast<const model::ControlledSource*>(&element))
    input.control = controlled->control();
  return input;
}

Validation validateInput(const model::Element& element, const model::Schematic& schematic,
                         const ParameterInput& input) {
  const ParameterForm& form = parameterForm(element.kind());
  Validation result{{}, input};
  ParameterInput& corrected = result.corrected;
  corrected.texts.resize(form.fields.size());
  corrected.enabled.resize(form.fields.size(), false);
  std::vector<std::string> faults;

  // The element itself is skipped, so keeping one's own name is fine.
  const model::Element* holder = schematic.findElement(input.name);
  bool nameBad = true;
  if (input.name.empty())
    faults.emplace_back(messages::kNoName);
  else if (holder && holder != &element)
    faults.push_back(std::string(messages::kNameTakenOpening) + " " + inQuotes(input.name) + " " +
                     std::string(messages::kNameTakenClosing));
  else if (!model::Element::isAcceptableName(input.name))
    faults.emplace_back(messages::kNameNotAllowed);
  else
    nameBad = false;
  if (nameBad) corrected.name = element.name();

  const auto reset = [&](std::size_t i) {
    corrected.texts[i] = std::string(form.fields[i].resetText);
  };

  const std::size_t count = form.fields.size();
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t i = form.messageOrder.empty() ? k : form.messageOrder[k];
    const FormField& field = form.fields[i];
    if (!isChecked(field, input, i) || field.accepts(textOf(input, i))) continue;
    faults.push_back(fieldLine(messages::kInvalidNumberField, field.messageName));
    reset(i);
  }

  if (element.kind() == ElementKind::Tf1) {
    // Losses are fractions of the rated power; the copper loss also bounds the short-circuit
    // voltage from below (Uzr/100 > Pun/S), or the winding resistance would exceed the
    // short-circuit impedance.
    const auto s = valueOf(form, input, kTfS);
    auto pun = valueOf(form, input, kTfPun);
    for (const std::size_t i : {kTfPun, kTfPfen}) {
      const auto loss = valueOf(form, input, i);
      if (!s || !loss || *loss < *s) continue;
      faults.push_back(fieldLine(messages::kInadmissibleField, form.fields[i].messageName));
      reset(i);
      if (i == kTfPun) pun.reset();
    }
    const auto uzr = valueOf(form, input, kTfUzr);
    if (s && uzr && pun && !(*uzr / 100.0 > *pun / *s)) {
      faults.emplace_back(messages::kTransformerCondition);
      reset(kTfUzr);
    }
  }

  if (form.hasControl) {
    const auto list = model::controlQuantityList(schematic, &element);
    if (std::find(list.begin(), list.end(), input.control) == list.end()) {
      faults.push_back(fieldLine(messages::kInvalidControlField, "X"));
      corrected.control.clear();
    }
  }

  for (std::size_t n = 0; n < faults.size(); ++n)
    result.lines.push_back("[" + std::to_string(n + 1) + "] " + faults[n]);
  return result;
}

void applyInput(model::Element& element, const ParameterInput& input) {
  const ParameterForm& form = parameterForm(element.kind());
  element.setName(input.name);
  for (std::size_t i = 0; i < form.fields.size() && i < input.texts.size(); ++i) {
    const FormField& field = form.fields[i];
    // A text the form refuses is never stored: a field outside the check (an unticked angle,
    // the frequency of a constant source) keeps its old text and value.
    if (field.accepts(input.texts[i])) element.setParameter(field.slot, input.texts[i]);
    if (field.gate == FieldGate::EnableBox)
      element.setGiven(field.slot, i < input.enabled.size() && input.enabled[i]);
  }
  if (auto* source = dynamic_cast<model::IndependentSource*>(&element)) {
    if (input.choice >= 0 && input.choice < static_cast<int>(std::size(kWaveforms)))
      source->setWaveform(static_cast<model::Waveform>(input.choice));
  } else if (auto* motor = dynamic_cast<model::SilnikDC*>(&element)) {
    motor->setActiveLoad(input.choice == kActiveLoadChoice);
  } else if (auto* breaker = dynamic_cast<model::Wylacznik*>(&element)) {
    breaker->setInitiallyOn(input.choice == 1);
  } else if (auto* transistor = dynamic_cast<model::TranzystorBJT*>(&element)) {
    transistor->setNpn(input.choice == 0);
  } else if (auto* controlled = dynamic_cast<model::ControlledSource*>(&element)) {
    controlled->setControl(input.control);
  }
}

ParameterEditSession::ParameterEditSession(model::Element& element,
                                           const model::Schematic& schematic,
                                           model::DocumentFlags& flags)
    : m_element(element),
      m_schematic(schematic),
      m_flags(flags),
      m_shown(inputFromElement(element)) {
  if (parameterForm(element.kind()).hasControl)
    m_controlList = model::controlQuantityList(schematic, &element);
}

std::vector<std::string> ParameterEditSession::submit(const ParameterInput& typed) {
  Validation check = validateInput(m_element, m_schematic, typed);
  m_shown = std::move(check.corrected);
  if (!check.ok()) return std::move(check.lines);
  applyInput(m_element, typed);
  m_flags.modified = true;
  m_flags.resultsValid = false;
  m_flags.measurementContinuable = false;
  return {};
}

}  // namespace wolterix::dialogs
