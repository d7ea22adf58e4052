#include "dialogs/parameter_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <map>
#include <vector>

#include "dialogs/error_dialog.h"
#include "drawing/symbols.h"
#include "editor/editing.h"
#include "engine/element_model.h"
#include "help/help_topics.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "support/circuit_builder.h"
#include "support/recording_canvas.h"

namespace wolterix::dialogs {
namespace {

using model::ElementKind;
using Texts = std::map<QString, QString>;

/// Runs editParameters with a scripted user: each round fills the dialog and presses a button.
class ParameterDialogTest : public ::testing::Test {
 protected:
  using Round = std::function<void(ParameterDialog&)>;

  void SetUp() override {
    TErrorDialog::showHook = [this](const QStringList& lines) { m_errors.push_back(lines); };
  }
  void TearDown() override {
    TErrorDialog::showHook = nullptr;
    ParameterDialog::execHook = nullptr;
  }

  model::Element& add(ElementKind kind, int x) {
    return testing::CircuitBuilder(m_schematic).element(kind, x, 10);
  }

  bool edit(model::Element& element, std::vector<Round> rounds) {
    std::size_t round = 0;
    ParameterDialog::execHook = [&](ParameterDialog& dialog) {
      if (round >= rounds.size()) return int(QDialog::Rejected);  // never loop for ever
      rounds[round++](dialog);
      return dialog.result();
    };
    return editParameters(
        nullptr, element, m_schematic, m_flags,
        [this](int topic) { m_helpTopics.push_back(topic); }, [this] { ++m_helpHidden; });
  }

  static void fill(ParameterDialog& dialog, const Texts& texts) {
    for (const auto& [name, text] : texts) {
      if (auto* combo = dialog.findChild<QComboBox*>(name)) {
        combo->setEditText(text);
        continue;
      }
      auto* field = dialog.findChild<QLineEdit*>(name);
      ASSERT_NE(field, nullptr) << name.toStdString();
      ASSERT_TRUE(field->isVisible()) << name.toStdString();
      field->setText(text);
    }
  }
  static void click(ParameterDialog& dialog, const QString& name) {
    auto* button = dialog.findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    // Near the left edge: a radio button in a column is wider than its indicator and text.
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(std::min(8, button->width() / 2), button->height() / 2));
  }
  static QString text(ParameterDialog& dialog, const QString& name) {
    return dialog.findChild<QLineEdit*>(name)->text();
  }

  model::Schematic m_schematic;
  model::DocumentFlags m_flags{false, true, true};
  std::vector<QStringList> m_errors;
  std::vector<int> m_helpTopics;
  int m_helpHidden = 0;
};

struct FamilyCase {
  ElementKind kind;
  Texts texts;                     ///< object name -> typed text ("Nazwa", "valR", "X")
  QStringList clicks = {};         ///< radio buttons and enable boxes to press
  int choice = -1;                 ///< expected radio choice, -1 when the kind has none
  std::vector<bool> enabled = {};  ///< expected enable boxes of gated fields
};

class DialogFamilyTest : public ParameterDialogTest,
                         public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(DialogFamilyTest, TypedValuesAreStoredOnOk) {
  const FamilyCase& c = GetParam();
  add(ElementKind::Rez, 30);  // R1, something for a controlled source to follow
  model::Element& element = add(c.kind, 10);
  const bool accepted = edit(element, {[&](ParameterDialog& d) {
                               for (const QString& name : c.clicks) click(d, name);
                               fill(d, c.texts);
                               click(d, "OK");
                             }});
  ASSERT_TRUE(accepted);
  EXPECT_TRUE(m_errors.empty()) << m_errors.front().join('\n').toStdString();
  EXPECT_TRUE(m_flags.modified);
  EXPECT_FALSE(m_flags.resultsValid);
  EXPECT_FALSE(m_flags.measurementContinuable);

  const ParameterInput stored = inputFromElement(element);
  const ParameterForm& form = parameterForm(c.kind);
  for (const auto& [name, typed] : c.texts) {
    if (name == "Nazwa") {
      EXPECT_EQ(stored.name, typed.toStdString());
    } else if (name == "X") {
      EXPECT_EQ(stored.control, typed.toStdString());
    } else {
      std::size_t i = 0;
      while (i < form.fields.size() && QString::fromUtf8(form.fields[i].objectName) != name) ++i;
      ASSERT_LT(i, form.fields.size()) << name.toStdString();
      EXPECT_EQ(stored.texts[i], typed.toStdString()) << name.toStdString();
    }
  }
  if (c.choice >= 0) {
    EXPECT_EQ(stored.choice, c.choice);
  }
  for (std::size_t i = 0; i < c.enabled.size(); ++i)
    EXPECT_EQ(stored.enabled[i], c.enabled[i]) << i;
}

using K = ElementKind;
INSTANTIATE_TEST_SUITE_P(
    Kinds, DialogFamilyTest,
    ::testing::Values(
        FamilyCase{K::Rez, {{"Nazwa", "Rob"}, {"valR", "4,7k"}}},
        FamilyCase{K::Ind, {{"valL", "10m"}, {"valI", "-1"}}},
        FamilyCase{K::Poj, {{"valC", "1u"}, {"valU", "5"}}},
        FamilyCase{K::Nap,
                   {{"valE", "230"}, {"valRw", "0,1"}, {"valf", "50"}, {"valFi", "-30"}},
                   {"choice1"},
                   1},
        FamilyCase{K::Prd, {{"valJ", "2"}, {"valGw", "1m"}}, {}, 0},
        FamilyCase{K::zsN, {{"X", "U(R1)"}, {"valk", "-2"}, {"valRw", "1"}}},
        FamilyCase{K::zsP, {{"X", "I(R1)"}, {"valk", "3"}, {"valGw", "0"}}},
        FamilyCase{K::nWe, {{"Nazwa", "Uwe"}, {"valPoziom", "-20"}}},
        FamilyCase{K::Dio, {{"valRf", "0,01"}, {"valGd", "1u"}}},
        FamilyCase{K::Zen, {{"valUz", "5,1"}, {"valRf", "1"}}},
        FamilyCase{K::Tyr,
                   {{"valf", "50"}, {"valFi1", "30"}},
                   {"CBox0"},
                   -1,
                   {false, false, false, true, false, false}},
        FamilyCase{K::RCT,
                   {{"valf", "50"}, {"valFi3", "210"}},
                   {"CBox2"},
                   -1,
                   {false, false, false, false, false, true}},
        FamilyCase{K::GTO, {{"valf", "50"}, {"valFiOn", "10"}, {"valFiOff", "170"}}},
        FamilyCase{K::TrM, {{"valf", "1k"}, {"valFiOn", "0"}, {"valFiOff", "90"}}},
        FamilyCase{K::War, {{"valc", "100"}, {"valBeta", "0,2"}}},
        FamilyCase{K::nlL, {{"valL", "1m"}, {"valBeta", "1,5"}, {"valI", "2"}}},
        FamilyCase{K::nlC, {{"valC", "1u"}, {"valBeta", "0,5"}, {"valU", "3"}}},
        FamilyCase{K::BJT,
                   {{"valH11", "1k"}, {"valH12", "1m"}, {"valH21", "100"}, {"valH22", "10u"}},
                   {"choice1"},
                   1},
        FamilyCase{K::sDC,
                   {{"valP", "1k"},
                    {"valU", "220"},
                    {"valI", "5"},
                    {"valn", "1500"},
                    {"valJ", "0,1"},
                    {"valb", "1m"},
                    {"valRt", "2"},
                    {"valLt", "10m"},
                    {"valn0", "100"},
                    {"valFi", "80"}},
                   {"choice0"},
                   0},
        FamilyCase{K::wyl, {{"valT1", "1m"}}, {"choice1", "CB1"}, 1, {true, false}},
        FamilyCase{K::Spr, {{"valL1", "1m"}, {"valL2", "4m"}, {"valI2", "-1"}, {"valM", "95"}}},
        FamilyCase{K::Tf1,
                   {{"valS", "1k"},
                    {"valU1", "230"},
                    {"valU2", "24"},
                    {"valf", "50"},
                    {"valUzr", "5"},
                    {"valIor", "3"},
                    {"valPun", "20"},
                    {"valPfen", "10"}}},
        FamilyCase{K::mmW, {{"Nazwa", "W9"}}}),
    [](const auto& info) {
      return std::string(model::kindInfo(info.param.kind).code) + "_" + std::to_string(info.index);
    });

TEST_F(ParameterDialogTest, ErrorsComeBackNumberedUntilTheInputIsValid) {
  model::Element& r = add(ElementKind::Rez, 10);
  QString nameInRoundTwo, valueInRoundTwo;
  const bool accepted = edit(r, {[](ParameterDialog& d) {
                                   fill(d, {{"Nazwa", ""}, {"valR", "0"}});
                                   click(d, "OK");
                                 },
                                 [&](ParameterDialog& d) {
                                   nameInRoundTwo = text(d, "Nazwa");
                                   valueInRoundTwo = text(d, "valR");
                                   fill(d, {{"valR", "-5"}});
                                   click(d, "OK");
                                 },
                                 [](ParameterDialog& d) {
                                   fill(d, {{"valR", "10"}});
                                   click(d, "OK");
                                 }});
  EXPECT_TRUE(accepted);
  ASSERT_EQ(m_errors.size(), 2u);
  EXPECT_EQ(m_errors[0], (QStringList{"[1] Brak nazwy elementu.",
                                      "[2] Niewłaściwa wartość liczbowa: pole \"R\"."}));
  EXPECT_EQ(m_errors[1], QStringList{"[1] Niewłaściwa wartość liczbowa: pole \"R\"."});
  EXPECT_EQ(nameInRoundTwo, "R1");
  EXPECT_EQ(valueInRoundTwo, "?");
  EXPECT_EQ(r.parameter(0).text(), "10");
}

TEST_F(ParameterDialogTest, CancelChangesNothingAndChecksNothing) {
  model::Element& r = add(ElementKind::Rez, 10);
  EXPECT_FALSE(edit(r, {[](ParameterDialog& d) {
                      fill(d, {{"Nazwa", ""}, {"valR", "0"}});
                      click(d, "Anuluj");
                    }}));
  EXPECT_TRUE(m_errors.empty());

  // Also after rounds of errors, and after valid text was typed into another field.
  EXPECT_FALSE(edit(r, {[](ParameterDialog& d) {
                          fill(d, {{"Nazwa", "Rnew"}, {"valR", "x"}});
                          click(d, "OK");
                        },
                        [](ParameterDialog& d) { click(d, "Anuluj"); }}));
  EXPECT_EQ(m_errors.size(), 1u);
  EXPECT_EQ(r.name(), "R1");
  EXPECT_EQ(r.parameter(0).text(), "?");
  EXPECT_FALSE(m_flags.modified);
  EXPECT_TRUE(m_flags.resultsValid);
  EXPECT_TRUE(m_flags.measurementContinuable);
}

TEST_F(ParameterDialogTest, SourceShowsFrequencyAndPhaseOnlyForVaryingWaveforms) {
  model::Element& source = add(ElementKind::Nap, 10);
  edit(source, {[](ParameterDialog& d) {
         auto* f = d.findChild<QLineEdit*>("valf");
         auto* value = d.findChild<QLineEdit*>("valE");
         EXPECT_FALSE(f->isVisible());
         EXPECT_FALSE(d.findChild<QLineEdit*>("valFi")->isVisible());
         EXPECT_EQ(value->toolTip(), "Wartość napięcia stałego");
         EXPECT_EQ(d.focusWidget(), value);
         const std::pair<const char*, const char*> hints[] = {{"choice1", "Wartość skuteczna"},
                                                              {"choice2", "Amplituda"},
                                                              {"choice3", "Amplituda"},
                                                              {"choice4", "Amplituda"}};
         for (const auto& [button, hint] : hints) {
           click(d, button);
           EXPECT_TRUE(f->isVisible()) << button;
           EXPECT_EQ(value->toolTip(), hint);
         }
         click(d, "choice0");
         EXPECT_FALSE(f->isVisible());
         click(d, "Anuluj");
       }});
}

TEST_F(ParameterDialogTest, InitialConditionIsHiddenInATransferWorkspace) {
  model::Element& capacitor = add(ElementKind::Poj, 10);
  bool shownInTime = false, shownInTransfer = true;
  edit(capacitor, {[&](ParameterDialog& d) {
         shownInTime = d.findChild<QLineEdit*>("valU")->isVisible();
         click(d, "Anuluj");
       }});
  m_schematic.setTransferMode(true);
  edit(capacitor, {[&](ParameterDialog& d) {
         shownInTransfer = d.findChild<QLineEdit*>("valU")->isVisible();
         fill(d, {{"valC", "1u"}});
         click(d, "OK");
       }});
  EXPECT_TRUE(shownInTime);
  EXPECT_FALSE(shownInTransfer);
  EXPECT_EQ(capacitor.parameter(0).text(), "1u");
}

TEST_F(ParameterDialogTest, ControlledSourceOffersTheQuantitiesOfTheOtherElements) {
  add(ElementKind::Rez, 10);
  add(ElementKind::mmV, 20);
  model::Element& source = add(ElementKind::zsP, 30);
  QStringList entries;
  edit(source, {[&](ParameterDialog& d) {
                  auto* combo = d.findChild<QComboBox*>("X");
                  for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
                  EXPECT_TRUE(combo->isEditable());
                  fill(d, {{"valk", "2"}, {"X", "I(V1)"}});
                  click(d, "OK");
                },
                [](ParameterDialog& d) {
                  EXPECT_EQ(d.findChild<QComboBox*>("X")->currentText(),
                            "");  // the refused quantity is gone
                  EXPECT_EQ(text(d, "valk"), "2");
                  click(d, "Anuluj");
                }});
  EXPECT_EQ(entries, (QStringList{"U(R1)", "I(R1)", "U(V1)"}));
  ASSERT_EQ(m_errors.size(), 1u);
  EXPECT_EQ(m_errors[0], QStringList{"[1] Niewłaściwa wielkość sterująca: pole \"X\"."});
}

TEST_F(ParameterDialogTest, HelpOpensTheKindsTopicAndIsHiddenOnClose) {
  model::Element& breaker = add(ElementKind::wyl, 10);
  edit(breaker, {[](ParameterDialog& d) {
         QTest::keyClick(d.findChild<QLineEdit*>("valT1"), Qt::Key_F1);
         click(d, "Pomoc");
         click(d, "Anuluj");
       }});
  EXPECT_EQ(m_helpTopics, (std::vector<int>{63, 63}));
  EXPECT_GE(m_helpHidden, 1);
}

// Every row of the table makes a whole kind: a model element, an engine model with the row's
// branches, a symbol, a dialog with the row's caption, a help page with the same title, and
// parameters whose every text the dialog takes comes back from a file as it was typed.
// WOLTERIX_DIALOG_SHOTS=<folder> also saves a picture of each dialog for a look by eye.
TEST_F(ParameterDialogTest, EveryKindOfTheTableIsWhole) {
  const QString shots = qEnvironmentVariable("WOLTERIX_DIALOG_SHOTS");
  const std::string_view samples[] = {"0", "1", "-2,5", "4,7k", "10m", "99,9", "100", "150"};
  for (const model::KindInfo& info : model::allKinds()) {
    SCOPED_TRACE(std::string(info.code));
    model::Schematic schematic;
    model::Element& element = testing::CircuitBuilder(schematic).element(info.kind, 10, 10);
    EXPECT_EQ(element.kind(), info.kind);
    EXPECT_EQ(element.terminalCount(), info.terminals);

    const auto engineModel = engine::createModel(element, schematic);
    ASSERT_NE(engineModel, nullptr);
    EXPECT_EQ(static_cast<int>(engineModel->branches().size()), info.branchCount());

    testing::RecordingCanvas canvas;
    drawing::drawElement(canvas, element, drawing::ViewSettings{}, 1.0, 0.0, 0.0);
    EXPECT_GT(canvas.figures.size(), static_cast<std::size_t>(info.terminals));

    const auto dialog = createParameterDialog(info.kind);
    dialog->setInput(inputFromElement(element));
    dialog->show();
    EXPECT_EQ(dialog->windowTitle().toStdString(), info.caption);
    EXPECT_TRUE(dialog->findChild<QPushButton*>("OK")->isDefault());
    if (!shots.isEmpty())
      dialog->grab().save(QDir(shots).filePath(QString::fromUtf8(info.code) + ".png"));
    dialog->hide();

    const help::HelpTopic* page = help::findTopic(info.helpTopic);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->title, info.caption);

    // Each sample goes into every field that takes it, as the dialog would store it (the
    // second choice makes a source periodic, so its frequency and phase are written too).
    const ParameterForm& form = parameterForm(info.kind);
    ASSERT_EQ(form.fields.size(), info.parameters.size());
    for (const std::string_view sample : samples) {
      ParameterInput input = inputFromElement(element);
      input.choice = form.choices.empty() ? 0 : 1;
      std::vector<std::size_t> taken;
      for (std::size_t i = 0; i < form.fields.size(); ++i) {
        if (!form.accepts(i, sample)) continue;
        EXPECT_TRUE(form.parameter(i).accepts(sample)) << "the reader refuses " << sample;
        input.texts[i] = std::string(sample);
        input.enabled[i] = true;
        taken.push_back(i);
      }
      model::Schematic written;
      model::Element& typed = testing::CircuitBuilder(written).element(info.kind, 10, 10);
      applyInput(typed, input);
      model::SchematicText lines;
      model::writeSchematic(written, lines, false);
      model::Schematic read;
      model::readSchematic(read, lines, model::ReadMode::Open);
      ASSERT_EQ(read.elements().size(), 1u);
      for (const std::size_t i : taken)
        EXPECT_EQ(read.elements()[0]->parameter(form.fields[i].slot).text(), sample)
            << form.fields[i].messageName;
    }
  }
}

TEST_F(ParameterDialogTest, TabReachesEachEnableBoxBeforeItsField) {
  for (const ElementKind kind : {ElementKind::Tyr, ElementKind::RCT, ElementKind::wyl}) {
    auto& element = add(kind, 10 + 4 * static_cast<int>(m_schematic.elements().size()));
    int boxes = 0;
    edit(element, {[&](ParameterDialog& dialog) {
           // The chain Tab follows, from the dialog on, among what Tab can reach.
           std::vector<QWidget*> chain;
           for (QWidget* w = dialog.nextInFocusChain(); w && w != &dialog;
                w = w->nextInFocusChain())
             if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden()) chain.push_back(w);
           for (std::size_t i = 0; i < chain.size(); ++i) {
             if (!qobject_cast<QCheckBox*>(chain[i])) continue;
             ++boxes;
             ASSERT_LT(i + 1, chain.size());
             EXPECT_NE(qobject_cast<QLineEdit*>(chain[i + 1]), nullptr)
                 << chain[i]->objectName().toStdString() << " is followed by "
                 << chain[i + 1]->objectName().toStdString();
           }
           dialog.reject();
         }});
    EXPECT_GE(boxes, 2) << static_cast<int>(kind);
  }
}

}  // namespace
}  // namespace wolterix::dialogs
