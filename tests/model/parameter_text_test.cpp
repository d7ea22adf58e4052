#include <gtest/gtest.h>

#include "model/element.h"
#include "model/schematic.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;

struct TextCase {
  ElementKind kind;
  const char* fileIn;   // file form read into a new element
  bool transfer;        // workspace mode
  const char* fileOut;  // file form written back
  const char* display;  // display form
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << kindInfo(c.kind).code << " \"" << c.fileIn << "\"" << (c.transfer ? " transfer" : "");
}

class ParameterTextForms : public ::testing::TestWithParam<TextCase> {};

TEST_P(ParameterTextForms, ReadWriteAndDisplay) {
  const auto& c = GetParam();
  Schematic s;
  s.setTransferMode(c.transfer);
  auto& e = CircuitBuilder(s).element(c.kind, 10, 10);
  e.parseParameters(nullptr, c.fileIn);
  EXPECT_EQ(e.parameterText(TextForm::File, c.transfer), c.fileOut);
  EXPECT_EQ(e.parameterText(TextForm::Display, c.transfer), c.display);
}

using K = ElementKind;
INSTANTIATE_TEST_SUITE_P(
    Kinds, ParameterTextForms,
    ::testing::Values(
        TextCase{K::Rez, "10k/", false, "10k", "R1 { R=10k; }"},
        TextCase{K::Rez, "?/", false, "?", "R1 { R=?; }"},
        TextCase{K::Ind, "1m/-2", false, "1m/-2", "L1 { L=1m; Io=-2; }"},
        TextCase{K::Ind, "1m/-2", true, "1m", "L1 { L=1m; }"},
        TextCase{K::Poj, "4,7u/5", false, "4,7u/5", "C1 { C=4,7u;Uo=5; }"},
        TextCase{K::Poj, "4,7u", true, "4,7u", "C1 { C=4,7u; }"},
        TextCase{K::Dio, "0,01/1u", false, "0,01/1u", "D1 { Rf=0,01; Gd=1u; }"},
        TextCase{K::Zen, "5,1/0/0", false, "5,1/0/0", "DZ1 { Uz=5,1; Rf=0; Gd=0; }"},
        // the given angles fill the first slots; invalid ones are passed over
        TextCase{K::Tyr, "0/0/50/30/x/120", false, "0/0/50/30/120",
                 "T1 { Rt=0; Gd=0; f=50; (on):30/120/ }"},
        TextCase{K::RCT, "0/0/50", false, "0/0/50", "RT1 { Rt=0; Gd=0; f=50; (on): }"},
        TextCase{K::GTO, "0/0/50/30/150", false, "0/0/50/30/150",
                 "GT1 { Rt=0; Gd=0; f=50; (on):30; (off):150; }"},
        TextCase{K::TrM, "1m/0/1k/0/180", false, "1m/0/1k/0/180",
                 "TM1 { Rt=1m; Gd=0; f=1k; (on):0; (off):180; }"},
        TextCase{K::BJT, "pnp/1k/0/100/10u", false, "pnp/1k/0/100/10u",
                 "B1 { pnp; h11e=1k; h12e=0; h21e=100; h22e=10u; }"},
        TextCase{K::War, "100/0,3", false, "100/0,3", "Rv1 { c=100; ß=0,3; }"},
        TextCase{K::nlL, "1/2/-1", false, "1/2/-1", "Lv1 { c=1; ß=2; Io=-1; }"},
        TextCase{K::nlC, "1/2/0", false, "1/2/0", "Cv1 { c=1; ß=2; Io=0; }"},
        TextCase{K::Spr, "1/2/0/0/95", false, "1/2/0/0/95",
                 "M1 { L1=1; L2=2; Io1=0; Io2=0; M=95%; }"},
        TextCase{K::Tf1, "1k/230/24/50/5/3/20/10", false, "1k/230/24/50/5/3/20/10",
                 "Tf1 { S=1k; U1=230; U2=24; f=50; uzr=5%; Ior=3%; Pun=20; Pfen=10; }"},
        TextCase{K::sDC, "1k/220/5/1500/1/10m/1/0/0/1/0,1/-80/0/0", false,
                 "1k/220/5/1500/1/10m/1/0/0/1/0,1/-80/0/0",
                 "S1 { P=1k; U=220; I=5; n=1500; Rt=1; Lt=10m; }"},
        TextCase{K::Nap, "sin/230/0/50/0", false, "sin/230/0/50/0",
                 "E1 { sinusoidalne; E=230; Rw=0; f=50; faza=0; }"},
        TextCase{K::Nap, "st/12/0/50/0", false, "st/12/0", "E1 { stałe; E=12; Rw=0;  }"},
        TextCase{K::Prd, "pil/2/1m/1k/-90", false, "pil/2/1m/1k/-90",
                 "J1 { piłokształtne; J=2; Gw=1m; f=1k; faza=-90; }"},
        TextCase{K::Prd, "xyz/2", false, "st/2/0", "J1 { stałe; J=2; Gw=0;  }"},
        TextCase{K::zsN, "-2/U(R1)/0", false, "-2/U(R1)/0", "Es1 { E=-2×U(R1); Rw=0; }"},
        TextCase{K::zsP, "3/?/1m", false, "3/?/1m", "Js1 { J=3×?; Gw=1m; }"},
        TextCase{K::nWe, "-20", true, "-20", "U1 { Poziom: -20; }"},
        TextCase{K::mmV, "-", false, "-", "-"}, TextCase{K::mmA, "anything", false, "-", "-"},
        TextCase{K::wyl, "1/0,01/0,02", false, "1/0,01/0,02", "Ł1 { on; switch:0,01/0,02; }"},
        TextCase{K::wyl, "0", false, "0", "Ł1 { off; switch:; }"},
        TextCase{K::wyl, "0/?/5m", false, "0/5m", "Ł1 { off; switch:5m; }"}));

TEST(ParameterText, RunsOfSlashesAreOneSeparator) {
  Schematic s;
  auto& e = CircuitBuilder(s).element(K::Nap, 10, 10);
  e.parseParameters(nullptr, "sin//10///0/50/0/");
  EXPECT_EQ(e.parameterText(TextForm::File, false), "sin/10/0/50/0");
}

TEST(ParameterText, InvalidFieldsKeepWhatWasThere) {
  Schematic s;
  auto& r = CircuitBuilder(s).element(K::Rez, 10, 10, 3, "10k");
  r.parseParameters(nullptr, "0");                     // zero is not allowed for R
  r.parseParameters(nullptr, "-5");                    // nor a negative value
  r.parseParameters(nullptr, "12345678901234567890");  // nor an over-long text
  EXPECT_EQ(r.parameter(0).text(), "10k");
  EXPECT_DOUBLE_EQ(r.parameter(0).value(), 1e4);
}

TEST(ParameterText, UpperBoundsOfPercentages) {
  Schematic s;
  CircuitBuilder b(s);
  auto& m = b.element(K::Spr, 10, 10, 3, "1/1/0/0/100");
  EXPECT_EQ(m.parameter(4).text(), "100");
  m.parseParameters(nullptr, "1/1/0/0/100,5");
  EXPECT_EQ(m.parameter(4).text(), "100");
  auto& t = b.element(K::Tf1, 30, 30, 3, "1k/230/24/50/100/100/0/0");
  EXPECT_EQ(t.parameter(4).text(), "?");  // uzr must stay below 100
  EXPECT_EQ(t.parameter(5).text(), "?");
}

TEST(ParameterText, NameIsSetOnlyWhenGiven) {
  Schematic s;
  auto& r = CircuitBuilder(s).element(K::Rez, 10, 10);
  const std::string name = "Rwe";
  r.parseParameters(&name, "1k/");
  EXPECT_EQ(r.name(), "Rwe");
  r.parseParameters(nullptr, "2k/");
  EXPECT_EQ(r.name(), "Rwe");
  EXPECT_EQ(r.parameter(0).text(), "2k");
}

TEST(ParameterText, ControlledSourceControlText) {
  Schematic s;
  auto& e = CircuitBuilder(s).element(K::zsN, 10, 10, 3, "2/I(R1)/0");
  EXPECT_EQ(e.controlText(), "I(R1)");
  e.clearControl();
  EXPECT_EQ(e.controlText(), "");
  EXPECT_EQ(e.parameterText(TextForm::File, false), "2/?/0");
  auto& r = CircuitBuilder(s).element(K::Rez, 20, 20);
  EXPECT_EQ(r.controlText(), "");
  EXPECT_DOUBLE_EQ(r.inputLevel(), 0.0);
  EXPECT_TRUE(r.isNpn());
  auto& u = CircuitBuilder(s).element(K::nWe, 30, 30, 3, "-6");
  EXPECT_DOUBLE_EQ(u.inputLevel(), -6.0);
}

}  // namespace
