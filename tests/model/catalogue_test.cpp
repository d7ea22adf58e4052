#include <gtest/gtest.h>

#include <set>

#include "model/element.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;

TEST(Catalogue, HoldsTwentyFiveDistinctKinds) {
  std::set<std::string_view> codes;
  std::set<std::string_view> prefixes;
  std::set<int> numbers;
  for (const KindInfo& info : allKinds()) {
    codes.insert(info.code);
    prefixes.insert(info.prefix);
    numbers.insert(static_cast<int>(info.kind));
    EXPECT_EQ(kindFromCode(info.code), info.kind);
    EXPECT_EQ(kindFromNumber(static_cast<int>(info.kind)), info.kind);
  }
  EXPECT_EQ(allKinds().size(), 25u);
  EXPECT_EQ(codes.size(), 25u);
  EXPECT_EQ(prefixes.size(), 25u);
  EXPECT_EQ(numbers.size(), 25u);
  EXPECT_FALSE(kindFromCode("rez"));  // codes are case-sensitive
  EXPECT_FALSE(kindFromNumber(kWireKind));
  EXPECT_FALSE(kindFromNumber(kJunctionKind));
}

// Every kind: a new element is named from its prefix, starts with its default texts, and its
// default file form reads back into an identical element.
TEST(Catalogue, EveryKindStartsFromItsDefaults) {
  for (const KindInfo& info : allKinds()) {
    SCOPED_TRACE(std::string(info.code));
    Schematic schematic;
    auto& e = CircuitBuilder(schematic).element(info.kind, 10, 10);
    EXPECT_EQ(e.name(), std::string(info.prefix) + "1");
    EXPECT_EQ(e.nameOrCode(false), info.code);
    EXPECT_EQ(e.orientation(), 3);
    EXPECT_TRUE(e.selected);
    EXPECT_TRUE(e.currentDirection());
    EXPECT_FALSE(e.showVoltage || e.showCurrent || e.showName || e.terminalsSwapped);
    EXPECT_EQ(e.voltageDirection, !isSourceKind(info.kind));
    ASSERT_EQ(e.parameterCount(), info.parameters.size());
    for (std::size_t i = 0; i < e.parameterCount(); ++i) {
      EXPECT_EQ(e.parameter(i).text(), info.parameters[i].defaultText);
      EXPECT_FALSE(e.isGiven(i));
    }
    for (int t : {0, 1, 2, 3, kInternalNodeTerminal}) EXPECT_EQ(e.terminalNode(t), -1);

    const std::string file = e.parameterText(TextForm::File, false);
    auto& copy = CircuitBuilder(schematic).element(info.kind, 20, 20);
    copy.parseParameters(nullptr, file);
    EXPECT_EQ(copy.parameterText(TextForm::File, false), file);
  }
}

TEST(Catalogue, DefaultTextsOfCharacteristicKinds) {
  Schematic s;
  CircuitBuilder b(s);
  EXPECT_EQ(b.element(ElementKind::Rez, 2, 2).parameterText(TextForm::File, false), "?");
  EXPECT_EQ(b.element(ElementKind::Spr, 10, 10).parameterText(TextForm::File, false),
            "?/?/0/0/100");
  EXPECT_EQ(b.element(ElementKind::sDC, 20, 20).parameterText(TextForm::File, false),
            "?/?/?/?/?/?/0/0/0/0/?/100/0/0");
  EXPECT_EQ(b.element(ElementKind::Nap, 30, 30).parameterText(TextForm::File, false), "st/?/0");
  EXPECT_EQ(b.element(ElementKind::zsN, 40, 40).parameterText(TextForm::File, false), "?/?/0");
  EXPECT_EQ(b.element(ElementKind::Tyr, 50, 50).parameterText(TextForm::File, false), "0/0/?");
  EXPECT_EQ(b.element(ElementKind::wyl, 60, 60).parameterText(TextForm::File, false), "0");
  EXPECT_EQ(b.element(ElementKind::BJT, 70, 70).parameterText(TextForm::File, false),
            "npn/?/?/?/?");
  EXPECT_EQ(b.element(ElementKind::mmW, 80, 80).parameterText(TextForm::File, false), "-");
}

TEST(Naming, TakesTheLowestFreeNumber) {
  Schematic s;
  CircuitBuilder b(s);
  auto& r1 = b.element(ElementKind::Rez, 10, 10);
  auto& r2 = b.element(ElementKind::Rez, 20, 10);
  EXPECT_EQ(r1.name(), "R1");
  EXPECT_EQ(r2.name(), "R2");
  ASSERT_TRUE(r1.setName("X"));
  EXPECT_EQ(b.element(ElementKind::Rez, 30, 10).name(), "R1");
  EXPECT_EQ(b.element(ElementKind::Rez, 40, 10).name(), "R3");
  EXPECT_EQ(b.element(ElementKind::wyl, 50, 10).name(), "Ł1");
  // Names are compared exactly: "r1" does not block "R1".
  Schematic t;
  CircuitBuilder(t).element(ElementKind::Rez, 10, 10).setName("r1");
  EXPECT_EQ(t.defaultName(ElementKind::Rez), "R1");
}

TEST(Naming, RefusesNamesTheFileCannotCarry) {
  Schematic s;
  auto& r = CircuitBuilder(s).element(ElementKind::Rez, 10, 10);
  EXPECT_FALSE(r.setName(""));
  EXPECT_FALSE(r.setName("a»b"));
  EXPECT_FALSE(r.setName("a«b"));
  EXPECT_FALSE(r.setName("a\nb"));
  EXPECT_FALSE(r.setName("a/b"));
  EXPECT_FALSE(r.setName("a$b"));
  EXPECT_FALSE(r.setName("漢"));
  EXPECT_FALSE(r.setName("a\xff"));  // not UTF-8 at all
  EXPECT_EQ(r.name(), "R1");
  EXPECT_TRUE(r.setName("Rój 1|×ß"));
  // Whatever is accepted comes back from the file unchanged.
  SchematicText lines;
  writeSchematic(s, lines, false);
  Schematic copy;
  readSchematic(copy, lines, ReadMode::Open);
  EXPECT_EQ(copy.elements().at(0)->name(), "Rój 1|×ß");
}

TEST(Schematic, CountsDownAndForgetsDestroyedObjects) {
  Schematic s;
  CircuitBuilder b(s);
  auto& r = b.element(ElementKind::Rez, 10, 10);
  b.element(ElementKind::Poj, 20, 10);
  EXPECT_EQ(s.elementCount(), 2);
  EXPECT_EQ(s.occupancy().at({10, 10}), 1);
  s.destroy(&r);
  EXPECT_EQ(s.elementCount(), 1);
  EXPECT_EQ(s.occupancy().at({10, 10}), 0);
  EXPECT_EQ(s.occupancy().at({9, 10}), 0);
  auto& w = b.wire(0, 0, 5, 0);
  EXPECT_EQ(s.lastCreated(), &w);
  s.destroy(&w);
  EXPECT_EQ(s.lastCreated(), nullptr);
  EXPECT_TRUE(s.wires().empty());
  s.clear();
  EXPECT_EQ(s.elementCount(), 0);
  EXPECT_EQ(s.occupancy().at({20, 10}), 0);
}

TEST(Schematic, CheckOnlyCreatesNothing) {
  Schematic s;
  EXPECT_TRUE(s.addObject(static_cast<int>(ElementKind::Rez), {5, 5}, {5, 5}, true));
  EXPECT_TRUE(s.addObject(kWireKind, {0, 0}, {3, 0}, true));
  EXPECT_TRUE(s.addObject(kJunctionKind, {1, 1}, {1, 1}, true));
  EXPECT_EQ(s.elementCount(), 0);
  EXPECT_TRUE(s.wires().empty());
  EXPECT_TRUE(s.junctions().empty());
  EXPECT_EQ(s.occupancy().at({5, 5}), 0);
  EXPECT_FALSE(s.addObject(77, {5, 5}, {5, 5}, false));  // no such kind
}

}  // namespace
