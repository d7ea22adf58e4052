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
namespace param = model::param;
constexpr FieldGate kBox = FieldGate::EnableBox;
constexpr FieldGate kNotDC = FieldGate::NonConstantSource;
constexpr FieldGate kAlways = FieldGate::Always;

// clang-format off
// label, unit, name in messages, parameter, widget, group, gate, length, enable box; the rules
// and the reset texts are the table's.
constexpr FormField kRez[] = {{"R =", "Ω", "R", param::rez::R, "valR"}};
constexpr FormField kInd[] = {
    {"L =", "H", "L", param::ind::L, "valL"},
    {"I(t=0) =", "A", "I(t=0)", param::ind::Io, "valI"},
};
constexpr FormField kPoj[] = {
    {"C =", "F", "C", param::poj::C, "valC"},
    {"U(t=0)=", "V", "U(t=0)", param::poj::Uo, "valU"},
};
constexpr FormField kNap[] = {
    {"E =", "V", "E", param::source::Value, "valE"},
    {"Rw =", "Ω", "Rw", param::source::Internal, "valRw"},
    {"f =", "Hz", "f", param::source::F, "valf", {}, kNotDC},
    {"φ =", "°", "(fi)", param::source::Phase, "valFi", {}, kNotDC},
};
constexpr FormField kPrd[] = {
    {"J =", "A", "J", param::source::Value, "valJ"},
    {"Gw =", "S", "Gw", param::source::Internal, "valGw"},
    {"f =", "Hz", "f", param::source::F, "valf", {}, kNotDC},
    {"φ =", "°", "(fi)", param::source::Phase, "valFi", {}, kNotDC},
};
constexpr FormField kZsN[] = {
    {"Rw =", "Ω", "Rw", param::controlled::Internal, "valRw"},
    {"k =", "", "k", param::controlled::K, "valk"},
};
constexpr FormField kZsP[] = {
    {"Gw =", "S", "Gw", param::controlled::Internal, "valGw"},
    {"k =", "", "k", param::controlled::K, "valk"},
};
constexpr FormField kNWe[] = {
    {"Poziom :", "dB", "Poziom", param::nwe::Level, "valPoziom", {}, kAlways, 16},
};
constexpr FormField kDio[] = {
    {"Rf =", "Ω", "Rf", param::dio::Rf, "valRf"},
    {"Gd =", "S", "Gd", param::dio::Gd, "valGd"},
};
constexpr FormField kZen[] = {
    {"Uz =", "V", "Uz", param::zen::Uz, "valUz"},
    {"Rf =", "Ω", "Rf", param::zen::Rf, "valRf"},
    {"Gd =", "S", "Gd", param::zen::Gd, "valGd"},
};
constexpr std::size_t kZenOrder[] = {1, 2, 0};
constexpr std::string_view kControl = "Sterowanie";
constexpr FormField kTyr[] = {
    {"Rt =", "Ω", "Rt", param::tyr::Rt, "valRt"},
    {"Gd =", "S", "Gd", param::tyr::Gd, "valGd"},
    {"f =", "Hz", "f", param::tyr::F, "valf", kControl},
    {"φ1 =", "°", "(fi)1", param::tyr::On1, "valFi1", kControl, kBox, 13, "CBox0"},
    {"φ2 =", "°", "(fi)2", param::tyr::On2, "valFi2", kControl, kBox, 13, "CBox1"},
    {"φ3 =", "°", "(fi)3", param::tyr::On3, "valFi3", kControl, kBox, 13, "CBox2"},
};
constexpr FormField kGTO[] = {
    {"Rt =", "Ω", "Rt", param::gto::Rt, "valRt"},
    {"Gd =", "S", "Gd", param::gto::Gd, "valGd"},
    {"f =", "Hz", "f", param::gto::F, "valf", kControl},
    {"φon =", "°", "(fi)on", param::gto::On, "valFiOn", kControl},
    {"φoff =", "°", "(fi)off", param::gto::Off, "valFiOff", kControl},
};
constexpr FormField kWar[] = {
    {"c =", "", "c", param::war::C, "valc"},
    {"ß =", "", "ß", param::war::Beta, "valBeta"},
};
constexpr FormField kNlL[] = {
    {"L =", "", "L", param::nonlinear::C, "valL"},
    {"ß =", "", "ß", param::nonlinear::Beta, "valBeta"},
    {"I(t=0) =", "A", "I(t=0)", param::nonlinear::Initial, "valI"},
};
constexpr FormField kNlC[] = {
    {"C =", "", "C", param::nonlinear::C, "valC"},
    {"ß =", "", "ß", param::nonlinear::Beta, "valBeta"},
    {"U(t=0)=", "V", "U(t=0)", param::nonlinear::Initial, "valU"},
};
constexpr FormField kBJT[] = {
    {"h11e =", "Ω", "h11e", param::bjt::H11e, "valH11"},
    {"h12e =", "", "h12e", param::bjt::H12e, "valH12"},
    {"h21e =", "", "h21e", param::bjt::H21e, "valH21"},
    {"h22e =", "S", "h22e", param::bjt::H22e, "valH22"},
};
constexpr std::string_view kRated = "Dane znamionowe";
constexpr std::string_view kLoad = "Obciążenie";
constexpr std::string_view kInitial = "Warunki początkowe";
constexpr FormField kSDC[] = {
    {"P =", "W", "P", param::sdc::P, "valP", kRated},
    {"U =", "V", "U", param::sdc::U, "valU", kRated},
    {"I =", "A", "I", param::sdc::I, "valI", kRated},
    {"n =", "obr/min", "n", param::sdc::N, "valn", kRated},
    {"J =", "kgm²", "J", param::sdc::J, "valJ", "Moment bezwładności"},
    {"a =", "", "M(a)", param::sdc::A, "vala", kLoad, kAlways, 11},
    {"b =", "", "M(b)", param::sdc::B, "valb", kLoad, kAlways, 11},
    {"c =", "", "M(c)", param::sdc::C, "valc", kLoad, kAlways, 11},
    {"Rt =", "Ω", "Rt", param::sdc::Rt, "valRt"},
    {"Lt =", "H", "Lt", param::sdc::Lt, "valLt"},
    {"I(0)=", "A", "I(0)", param::sdc::I0, "valI0", kInitial},
    {"n(0)=", "obr/min", "n(0)", param::sdc::N0, "valn0", kInitial},
    {"f =", "%", "(fi)", param::sdc::Excitation, "valFi", "Wzbudzenie", kAlways, 6},
};
constexpr std::string_view kSwitching = "Czas przełączenia";
constexpr FormField kWyl[] = {
    {"t1 =", "s", "Czas przełączenia(1)", param::wyl::T1, "valT1", kSwitching, kBox, 13, "CB1"},
    {"t2 =", "s", "Czas przełączenia(2)", param::wyl::T2, "valT2", kSwitching, kBox, 13, "CB2"},
};
constexpr std::string_view kCoil1 = "Cewka  I ";
constexpr std::string_view kCoil2 = "Cewka  II ";
constexpr FormField kSpr[] = {
    {"L =", "H", "L1", param::spr::L1, "valL1", kCoil1},
    {"I(t=0) =", "A", "I1(t=0)", param::spr::Io1, "valI1", kCoil1},
    {"L =", "H", "L2", param::spr::L2, "valL2", kCoil2},
    {"I(t=0) =", "A", "I2(t=0)", param::spr::Io2, "valI2", kCoil2},
    {"M =", "%", "M", param::spr::M, "valM", "Współczynnik sprzężenia "},
};
constexpr std::size_t kSprOrder[] = {0, 2, 1, 3, 4};
constexpr std::string_view kTfRated = "Dane znamionowe ";
constexpr std::string_view kTfOther = "Inne parametry ";
constexpr FormField kTf1[] = {
    {"S =", "VA", "S", param::tf1::S, "valS", kTfRated},
    {"U1 =", "V", "U1", param::tf1::U1, "valU1", kTfRated},
    {"U2 =", "V", "U2", param::tf1::U2, "valU2", kTfRated},
    {"f =", "Hz", "f", param::tf1::F, "valf", kTfRated},
    {"Uzr =", "%", "Uzr", param::tf1::Uzr, "valUzr", kTfOther},
    {"Ior =", "%", "Ior", param::tf1::Ior, "valIor", kTfOther},
    {"Pun =", "W", "Pun", param::tf1::Pun, "valPun", kTfOther},
    {"Pfen =", "W", "Pfen", param::tf1::Pfen, "valPfen", kTfOther},
};
// clang-format on

// The transformer's fields in form order are its parameters in file order, so the named
// positions index the cross-checked fields.
static_assert(param::tf1::S == 0 && param::tf1::Uzr == 4 && param::tf1::Pun == 6 &&
              param::tf1::Pfen == 7);

constexpr std::string_view kWaveforms[] = {"Stałe", "Sinusoidalne", "Prostokątne", "Trójkątne",
                                           "Piłokształtne"};
constexpr std::string_view kTransistorTypes[] = {"npn", "pnp"};
constexpr std::string_view kLoadTypes[] = {"czynne", "bierne"};
constexpr std::string_view kSwitchStates[] = {"Otwarty", "Zamknięty"};
// The "czynne" button comes first; the element's flag is true for an active load.
constexpr int kActiveLoadChoice = 0;
constexpr int kPassiveLoadChoice = 1;

constexpr ParameterForm kFormRez{ElementKind::Rez, kRez};
constexpr ParameterForm kFormInd{ElementKind::Ind, kInd};
constexpr ParameterForm kFormPoj{ElementKind::Poj, kPoj};
constexpr ParameterForm kFormNap{
    .kind = ElementKind::Nap, .fields = kNap, .choiceCaption = "Rodzaj", .choices = kWaveforms};
constexpr ParameterForm kFormPrd{
    .kind = ElementKind::Prd, .fields = kPrd, .choiceCaption = "Rodzaj", .choices = kWaveforms};
constexpr ParameterForm kFormZsN{.kind = ElementKind::zsN, .fields = kZsN, .hasControl = true};
constexpr ParameterForm kFormZsP{.kind = ElementKind::zsP, .fields = kZsP, .hasControl = true};
constexpr ParameterForm kFormNWe{.kind = ElementKind::nWe, .fields = kNWe, .nameMaxLength = 13};
constexpr ParameterForm kFormDio{ElementKind::Dio, kDio};
constexpr ParameterForm kFormZen{ElementKind::Zen, kZen, kZenOrder};
constexpr ParameterForm kFormTyr{ElementKind::Tyr, kTyr};
constexpr ParameterForm kFormRCT{ElementKind::RCT, kTyr};
constexpr ParameterForm kFormGTO{ElementKind::GTO, kGTO};
constexpr ParameterForm kFormTrM{ElementKind::TrM, kGTO};
constexpr ParameterForm kFormWar{ElementKind::War, kWar};
constexpr ParameterForm kFormNlL{ElementKind::nlL, kNlL};
constexpr ParameterForm kFormNlC{ElementKind::nlC, kNlC};
constexpr ParameterForm kFormBJT{
    .kind = ElementKind::BJT, .fields = kBJT, .choices = kTransistorTypes};
constexpr ParameterForm kFormSDC{
    .kind = ElementKind::sDC, .fields = kSDC, .choiceCaption = kLoad, .choices = kLoadTypes};
constexpr ParameterForm kFormWyl{.kind = ElementKind::wyl,
                                 .fields = kWyl,
                                 .choiceCaption = "Stan początkowy",
                                 .choices = kSwitchStates};
constexpr ParameterForm kFormSpr{ElementKind::Spr, kSpr, kSprOrder};
constexpr ParameterForm kFormTf1{ElementKind::Tf1, kTf1};
constexpr ParameterForm kFormMmV{ElementKind::mmV, {}};
constexpr ParameterForm kFormMmA{ElementKind::mmA, {}};
constexpr ParameterForm kFormMmW{ElementKind::mmW, {}};

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
  if (!form.accepts(i, text)) return std::nullopt;
  return model::parseNumber(text);
}

}  // namespace

const model::ParameterRow& ParameterForm::parameter(std::size_t field) const {
  return model::kindInfo(kind).parameters[fields[field].slot];
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
  model::unknownKind(kind, "parameterForm");
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

  const auto reset = [&](std::size_t i) { corrected.texts[i] = std::string(form.resetText(i)); };

  const std::size_t count = form.fields.size();
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t i = form.messageOrder.empty() ? k : form.messageOrder[k];
    const FormField& field = form.fields[i];
    if (!isChecked(field, input, i) || form.accepts(i, textOf(input, i))) continue;
    faults.push_back(fieldLine(messages::kInvalidNumberField, field.messageName));
    reset(i);
  }

  if (element.kind() == ElementKind::Tf1) {
    // Losses are fractions of the rated power; the copper loss also bounds the short-circuit
    // voltage from below (Uzr/100 > Pun/S), or the winding resistance would exceed the
    // short-circuit impedance.
    namespace Tf = param::tf1;
    const auto s = valueOf(form, input, Tf::S);
    auto pun = valueOf(form, input, Tf::Pun);
    for (const std::size_t i : {Tf::Pun, Tf::Pfen}) {
      const auto loss = valueOf(form, input, i);
      if (!s || !loss || *loss < *s) continue;
      faults.push_back(fieldLine(messages::kInadmissibleField, form.fields[i].messageName));
      reset(i);
      if (i == Tf::Pun) pun.reset();
    }
    const auto uzr = valueOf(form, input, Tf::Uzr);
    if (s && uzr && pun && !(*uzr / 100.0 > *pun / *s)) {
      faults.emplace_back(messages::kTransformerCondition);
      reset(Tf::Uzr);
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
    if (form.accepts(i, input.texts[i])) element.setParameter(field.slot, input.texts[i]);
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
