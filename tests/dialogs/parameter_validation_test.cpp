#include "dialogs/parameter_validation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editing.h"
#include "model/machine_elements.h"
#include "model/schematic.h"
#include "model/source_elements.h"
#include "model/switching_elements.h"
#include "support/circuit_builder.h"

namespace wolterix::dialogs {
namespace {

using model::ElementKind;
using Lines = std::vector<std::string>;

class ParameterValidationTest : public ::testing::Test {
 protected:
  model::Element& add(ElementKind kind, int x) {
    return testing::CircuitBuilder(m_schematic).element(kind, x, 10);
  }

  /// Index of the form field shown under a message name.
  static std::size_t fieldOf(ElementKind kind, std::string_view messageName) {
    const auto& fields = parameterForm(kind).fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
      if (fields[i].messageName == messageName) return i;
    ADD_FAILURE() << "no field " << messageName;
    return 0;
  }

  /// The element's current input with some fields retyped, by message name.
  static ParameterInput typed(
      const model::Element& element,
      std::initializer_list<std::pair<std::string_view, std::string>> texts) {
    ParameterInput input = inputFromElement(element);
    for (const auto& [name, text] : texts) input.texts[fieldOf(element.kind(), name)] = text;
    return input;
  }

  Lines check(const model::Element& element, const ParameterInput& input) {
    return validateInput(element, m_schematic, input).lines;
  }

  model::Schematic m_schematic;
};

TEST_F(ParameterValidationTest, KeepingOwnNameIsValidAndAnotherElementsNameIsRefused) {
  add(ElementKind::Rez, 10);
  model::Element& r2 = add(ElementKind::Rez, 20);
  ParameterInput input = typed(r2, {{"R", "10k"}});
  EXPECT_TRUE(validateInput(r2, m_schematic, input).ok());

  input.name = "R1";
  const Validation v = validateInput(r2, m_schematic, input);
  EXPECT_EQ(v.lines, Lines{"[1] Nazwę \"R1\" posiada już inny element."});
  EXPECT_EQ(v.corrected.name, "R2");
  EXPECT_EQ(v.corrected.texts[0], "10k");  // a valid field keeps what was typed

  input.name = "r1";  // names differ by case
  EXPECT_TRUE(validateInput(r2, m_schematic, input).ok());
}

TEST_F(ParameterValidationTest, EmptyOrUnwritableNameIsRefusedAndTheStoredNamePutBack) {
  model::Element& r = add(ElementKind::Rez, 10);
  ParameterInput input = typed(r, {{"R", "0"}});
  input.name = "";
  const Validation v = validateInput(r, m_schematic, input);
  EXPECT_EQ(v.lines,
            (Lines{"[1] Brak nazwy elementu.", "[2] Niewłaściwa wartość liczbowa: pole \"R\"."}));
  EXPECT_EQ(v.corrected.name, "R1");
  EXPECT_EQ(v.corrected.texts[0], "?");

  for (const char* name : {"R»1", "A/B", "x$", "R\t1", "R✓"}) {
    input = typed(r, {{"R", "1"}});
    input.name = name;
    const Validation bad = validateInput(r, m_schematic, input);
    ASSERT_EQ(bad.lines.size(), 1u) << name;
    EXPECT_EQ(bad.lines[0].rfind("[1] Nazwa zawiera niedozwolone znaki", 0), 0u) << name;
    EXPECT_EQ(bad.corrected.name, "R1");
  }
}

struct FieldCase {
  ElementKind kind;
  std::string_view field;
  std::string text;
  bool valid;
};

class FieldRuleTest : public ParameterValidationTest,
                      public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldRuleTest, FieldIsJudgedByItsRule) {
  const FieldCase& c = GetParam();
  add(ElementKind::Rez, 30);  // something for a controlled source to follow
  model::Element& element = add(c.kind, 10);
  ParameterInput input = inputFromElement(element);
  // Fill every required field so only the field under test can fail.
  for (std::size_t i = 0; i < input.texts.size(); ++i)
    if (input.texts[i] == "?") input.texts[i] = "1";
  input.choice = c.kind == ElementKind::Nap || c.kind == ElementKind::Prd ? 1 : input.choice;
  input.control = "U(R1)";
  input.texts[fieldOf(c.kind, c.field)] = c.text;
  const Lines lines = check(element, input);
  if (c.valid) {
    EXPECT_TRUE(lines.empty()) << lines.front();
  } else {
    EXPECT_EQ(lines,
              Lines{"[1] Niewłaściwa wartość liczbowa: pole \"" + std::string(c.field) + "\"."});
  }
}

INSTANTIATE_TEST_SUITE_P(Rules, FieldRuleTest,
                         ::testing::Values(FieldCase{ElementKind::Rez, "R", "0", false},
                                           FieldCase{ElementKind::Rez, "R", "-5", false},
                                           FieldCase{ElementKind::Rez, "R", "4,7k", true},
                                           FieldCase{ElementKind::Nap, "E", "0", false},
                                           FieldCase{ElementKind::Nap, "Rw", "0", true},
                                           FieldCase{ElementKind::Nap, "(fi)", "-30", true},
                                           FieldCase{ElementKind::Prd, "Gw", "-1", false},
                                           FieldCase{ElementKind::zsN, "k", "-2", true},
                                           FieldCase{ElementKind::zsN, "k", "0", false},
                                           FieldCase{ElementKind::Ind, "I(t=0)", "-2", true},
                                           FieldCase{ElementKind::nlL, "I(t=0)", "-2", false},
                                           FieldCase{ElementKind::BJT, "h12e", "0", false},
                                           FieldCase{ElementKind::Spr, "M", "100", true},
                                           FieldCase{ElementKind::Spr, "M", "100,5", false},
                                           FieldCase{ElementKind::Tf1, "Uzr", "100", false},
                                           FieldCase{ElementKind::Tf1, "Ior", "99,9", true},
                                           FieldCase{ElementKind::sDC, "(fi)", "-50", true},
                                           FieldCase{ElementKind::sDC, "J", "0", false},
                                           FieldCase{ElementKind::nWe, "Poziom", "-20", true}),
                         [](const auto& info) {
                           return std::string(model::kindInfo(info.param.kind).code) + "_" +
                                  std::to_string(info.index);
                         });

TEST_F(ParameterValidationTest, FieldsAreListedInTheOrderOfTheirKind) {
  model::Element& zener = add(ElementKind::Zen, 10);
  EXPECT_EQ(check(zener, typed(zener, {{"Uz", "x"}, {"Rf", "x"}, {"Gd", "x"}})),
            (Lines{"[1] Niewłaściwa wartość liczbowa: pole \"Rf\".",
                   "[2] Niewłaściwa wartość liczbowa: pole \"Gd\".",
                   "[3] Niewłaściwa wartość liczbowa: pole \"Uz\"."}));

  model::Element& motor = add(ElementKind::sDC, 20);
  ParameterInput input = inputFromElement(motor);
  for (std::string& text : input.texts) text = "x";
  const Validation v = validateInput(motor, m_schematic, input);
  Lines expected;
  int n = 1;
  for (const char* field :
       {"P", "U", "I", "n", "J", "M(a)", "M(b)", "M(c)", "Rt", "Lt", "I(0)", "n(0)", "(fi)"})
    expected.push_back("[" + std::to_string(n++) + "] Niewłaściwa wartość liczbowa: pole \"" +
                       field + "\".");
  EXPECT_EQ(v.lines, expected);
  EXPECT_EQ(v.corrected.texts[fieldOf(ElementKind::sDC, "(fi)")], "100");
  EXPECT_EQ(v.corrected.texts[fieldOf(ElementKind::sDC, "M(b)")], "0");

  model::Element& coils = add(ElementKind::Spr, 30);
  input = inputFromElement(coils);
  for (std::string& text : input.texts) text = "x";
  EXPECT_EQ(check(coils, input), (Lines{"[1] Niewłaściwa wartość liczbowa: pole \"L1\".",
                                        "[2] Niewłaściwa wartość liczbowa: pole \"L2\".",
                                        "[3] Niewłaściwa wartość liczbowa: pole \"I1(t=0)\".",
                                        "[4] Niewłaściwa wartość liczbowa: pole \"I2(t=0)\".",
                                        "[5] Niewłaściwa wartość liczbowa: pole \"M\"."}));
}

TEST_F(ParameterValidationTest, TransformerLossesAndShortCircuitVoltage) {
  model::Element& tf = add(ElementKind::Tf1, 10);
  const auto base = [&](std::string uzr, std::string pun, std::string pfen) {
    return typed(tf, {{"S", "1k"},
                      {"U1", "230"},
                      {"U2", "24"},
                      {"f", "50"},
                      {"Uzr", uzr},
                      {"Ior", "5"},
                      {"Pun", pun},
                      {"Pfen", pfen}});
  };
  EXPECT_TRUE(check(tf, base("5", "40", "20")).empty());

  Validation v = validateInput(tf, m_schematic, base("5", "1k", "2k"));
  EXPECT_EQ(v.lines, (Lines{"[1] Niedopuszczalna wartość liczbowa: pole \"Pun\".",
                            "[2] Niedopuszczalna wartość liczbowa: pole \"Pfen\"."}));
  EXPECT_EQ(v.corrected.texts[fieldOf(ElementKind::Tf1, "Pun")], "0");
  EXPECT_EQ(v.corrected.texts[fieldOf(ElementKind::Tf1, "Pfen")], "0");

  // 4 % of 1 kVA is 40 W: a copper loss of 40 W or more cannot be.
  v = validateInput(tf, m_schematic, base("4", "40", "0"));
  EXPECT_EQ(v.lines, Lines{"[1] Niespełniony warunek:  Uzr/100 > Pun/S ."});
  EXPECT_EQ(v.corrected.texts[fieldOf(ElementKind::Tf1, "Uzr")], "?");
  EXPECT_EQ(v.corrected.texts[fieldOf(ElementKind::Tf1, "Pun")], "40");
  EXPECT_TRUE(check(tf, base("4", "39", "0")).empty());

  // Without a valid S there is nothing to compare against.
  ParameterInput noS = base("4", "40", "0");
  noS.texts[fieldOf(ElementKind::Tf1, "S")] = "?";
  EXPECT_EQ(check(tf, noS), Lines{"[1] Niewłaściwa wartość liczbowa: pole \"S\"."});
}

TEST_F(ParameterValidationTest, ConstantSourceIgnoresFrequencyAndPhase) {
  auto& source = static_cast<model::IndependentSource&>(add(ElementKind::Nap, 10));
  ParameterInput input = typed(source, {{"E", "12"}, {"f", ""}, {"(fi)", "x"}});
  input.choice = 0;
  EXPECT_TRUE(check(source, input).empty());
  applyInput(source, input);
  EXPECT_EQ(source.parameter(model::param::source::F).text(), "?");
  EXPECT_EQ(source.parameter(model::param::source::Phase).text(), "0");

  input.choice = 1;
  EXPECT_EQ(check(source, input), (Lines{"[1] Niewłaściwa wartość liczbowa: pole \"f\".",
                                         "[2] Niewłaściwa wartość liczbowa: pole \"(fi)\"."}));
  input = typed(source, {{"E", "230"}, {"f", "50"}, {"(fi)", "-30"}});
  input.choice = 3;
  applyInput(source, input);
  EXPECT_EQ(source.waveform(), model::Waveform::Triangle);
  EXPECT_DOUBLE_EQ(source.parameter(model::param::source::Phase).value(), -30.0);
}

TEST_F(ParameterValidationTest, UntickedAngleIsNeverAnErrorAndKeepsItsStoredText) {
  namespace Tyr = model::param::tyr;
  model::Element& thyristor = add(ElementKind::Tyr, 10);
  ASSERT_TRUE(thyristor.setParameter(Tyr::On2, "45"));
  thyristor.setGiven(Tyr::On2, true);

  ParameterInput input =
      typed(thyristor, {{"f", "50"}, {"(fi)1", "30"}, {"(fi)2", ""}, {"(fi)3", "x"}});
  input.enabled = {false, false, false, true, false, false};
  EXPECT_TRUE(check(thyristor, input).empty());
  applyInput(thyristor, input);
  EXPECT_TRUE(thyristor.isGiven(Tyr::On1));
  EXPECT_DOUBLE_EQ(thyristor.parameter(Tyr::On1).value(), 30.0);
  EXPECT_FALSE(thyristor.isGiven(Tyr::On2));
  EXPECT_EQ(thyristor.parameter(Tyr::On2).text(), "45");
  EXPECT_EQ(thyristor.parameter(Tyr::On3).text(), "?");

  input.enabled[5] = true;
  const Validation v = validateInput(thyristor, m_schematic, input);
  EXPECT_EQ(v.lines, Lines{"[1] Niewłaściwa wartość liczbowa: pole \"(fi)3\"."});
  EXPECT_EQ(v.corrected.texts[5], "?");

  auto& breaker = static_cast<model::Wylacznik&>(add(ElementKind::wyl, 20));
  input = typed(breaker, {{"Czas przełączenia(1)", "1m"}, {"Czas przełączenia(2)", "-1"}});
  input.enabled = {true, true};
  EXPECT_EQ(check(breaker, input),
            Lines{"[1] Niewłaściwa wartość liczbowa: pole \"Czas przełączenia(2)\"."});
  input.enabled = {true, false};
  input.choice = 1;
  applyInput(breaker, input);
  EXPECT_TRUE(breaker.initiallyOn());
  EXPECT_TRUE(breaker.isGiven(model::param::wyl::T1));
  EXPECT_FALSE(breaker.isGiven(model::param::wyl::T2));
}

TEST_F(ParameterValidationTest, ControlledSourceNeedsAQuantityOfTheList) {
  add(ElementKind::Rez, 10);
  auto& source = static_cast<model::ControlledSource&>(add(ElementKind::zsN, 20));
  ParameterInput input = typed(source, {{"k", "2"}});
  input.control = "U(R1)";
  EXPECT_TRUE(check(source, input).empty());

  for (const char* control : {"", "u(R1)", "U(R1) ", "U(Es1)", "U(R9)"}) {
    input.control = control;
    const Validation v = validateInput(source, m_schematic, input);
    EXPECT_EQ(v.lines, Lines{"[1] Niewłaściwa wielkość sterująca: pole \"X\"."}) << control;
    EXPECT_EQ(v.corrected.control, "");
  }
  input.texts[fieldOf(ElementKind::zsN, "Rw")] = "-1";
  EXPECT_EQ(check(source, input), (Lines{"[1] Niewłaściwa wartość liczbowa: pole \"Rw\".",
                                         "[2] Niewłaściwa wielkość sterująca: pole \"X\"."}));
}

TEST_F(ParameterValidationTest, SessionStoresOnlyValidInputAndNumbersEachRoundFromOne) {
  add(ElementKind::Rez, 10);
  model::Element& r = add(ElementKind::Rez, 20);
  model::DocumentFlags flags{false, true, true};
  ParameterEditSession session(r, m_schematic, flags);

  ParameterInput input = session.shown();
  input.name = "R1";
  input.texts[0] = "-5";
  EXPECT_EQ(session.submit(input).size(), 2u);
  EXPECT_EQ(session.shown().name, "R2");
  EXPECT_EQ(session.shown().texts[0], "?");

  input = session.shown();  // second round: only the number is still wrong
  input.texts[0] = "0";
  EXPECT_EQ(session.submit(input), Lines{"[1] Niewłaściwa wartość liczbowa: pole \"R\"."});
  EXPECT_EQ(r.parameter(0).text(), "?");
  EXPECT_FALSE(flags.modified);
  EXPECT_TRUE(flags.resultsValid);

  input.name = "Rx";
  input.texts[0] = "1,5k";
  EXPECT_TRUE(session.submit(input).empty());
  EXPECT_EQ(r.name(), "Rx");
  EXPECT_DOUBLE_EQ(r.parameter(0).value(), 1500.0);
  EXPECT_TRUE(flags.modified);
  EXPECT_FALSE(flags.resultsValid);
  EXPECT_FALSE(flags.measurementContinuable);
}

TEST_F(ParameterValidationTest, ChoicesRoundTripThroughTheElement) {
  auto& motor = static_cast<model::SilnikDC&>(add(ElementKind::sDC, 10));
  EXPECT_FALSE(motor.activeLoad());
  ParameterInput input = inputFromElement(motor);
  EXPECT_EQ(parameterForm(ElementKind::sDC).choices[static_cast<std::size_t>(input.choice)],
            "bierne");
  input.choice = 0;
  applyInput(motor, input);
  EXPECT_TRUE(motor.activeLoad());

  model::Element& bjt = add(ElementKind::BJT, 20);
  input = inputFromElement(bjt);
  EXPECT_EQ(input.choice, 0);
  input.choice = 1;
  applyInput(bjt, input);
  EXPECT_FALSE(bjt.isNpn());
  EXPECT_EQ(inputFromElement(bjt).choice, 1);
}

TEST(ParameterFormTest, EveryFieldNamesAParameterOfItsKindOnce) {
  for (const model::KindInfo& info : model::allKinds()) {
    const ParameterForm& form = parameterForm(info.kind);
    std::vector<bool> seen(info.parameters.size(), false);
    for (std::size_t i = 0; i < form.fields.size(); ++i) {
      const FormField& field = form.fields[i];
      ASSERT_LT(field.slot, info.parameters.size()) << info.code;
      EXPECT_FALSE(seen[field.slot]) << info.code << " " << field.messageName;
      seen[field.slot] = true;
      // The reset text must itself be storable, or a reset field would never be accepted.
      if (form.resetText(i) != "?") {
        EXPECT_TRUE(form.accepts(i, form.resetText(i))) << info.code;
      }
    }
    if (!form.messageOrder.empty()) {
      EXPECT_EQ(form.messageOrder.size(), form.fields.size());
    }
  }
}

}  // namespace
}  // namespace wolterix::dialogs
