#include "model/waveform_names.h"

#include <gtest/gtest.h>

#include "model/schematic.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;
using K = ElementKind;
using Names = std::vector<std::string>;

TEST(WaveformList, OffersWhatEachKindHas) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::Rez, 10, 10);
  b.element(K::mmV, 20, 10);
  b.element(K::mmA, 30, 10);
  b.element(K::mmW, 40, 10);
  b.element(K::sDC, 50, 10);
  b.element(K::BJT, 60, 10);
  b.element(K::Spr, 70, 10);
  EXPECT_EQ(waveformList(s), (Names{"U(R1)", "I(R1)", "P(R1)", "U(V1)", "I(A1)", "P(W1)", "U(S1)",
                                    "I(S1)", "n(S1)", "P(S1)", "U(B1)", "I(B1)"}));
  EXPECT_EQ(controlQuantityList(s, s.findElement("R1")),
            (Names{"U(V1)", "I(A1)", "U(S1)", "I(S1)", "n(S1)", "U(B1)", "I(B1)"}));
}

TEST(WaveformList, TransferModeOffersOnlyTransferRatios) {
  Schematic s;
  s.setTransferMode(true);
  CircuitBuilder b(s);
  b.element(K::nWe, 10, 10);
  b.element(K::Rez, 20, 10);
  b.element(K::mmV, 30, 10);
  EXPECT_EQ(waveformList(s), (Names{"K(U1)", "K(R1)", "K(V1)"}));

  Schematic magnetic;
  CircuitBuilder(magnetic).element(K::Tf1, 10, 10);
  CircuitBuilder(magnetic).element(K::Spr, 20, 10);
  EXPECT_TRUE(waveformList(magnetic).empty());
}

TEST(Resolver, CountsBranchesOfMultiBranchKinds) {
  Schematic s;
  CircuitBuilder b(s);
  b.element(K::BJT, 10, 10);
  b.element(K::Rez, 20, 10);
  b.element(K::mmW, 30, 10);
  b.element(K::Ind, 40, 10);
  const auto r = resolveWaveform(s, "U(R1)");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->branchIndex, 3);
  EXPECT_EQ(r->elementIndex, 1);
  EXPECT_EQ(resolveWaveform(s, "I(L1)")->branchIndex, 6);
  EXPECT_EQ(resolveWaveform(s, "K(L1)")->quantity, 'U');
  EXPECT_FALSE(resolveWaveform(s, "U(R9)"));
  EXPECT_FALSE(resolveWaveform(s, "U(r1)"));
  EXPECT_FALSE(resolveWaveform(s, "UR1"));
  EXPECT_FALSE(resolveWaveform(s, ""));
}

}  // namespace
