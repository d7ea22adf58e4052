// Engine results against values worked out by hand, chosen so that a flipped sign, a
// reversed winding or an ignored exponent shows up as a plainly wrong number.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "model/switching_elements.h"
#include "support/run_helpers.h"

namespace {

using namespace wolterix::engine;
using namespace wolterix::model;
using wolterix::testing::buildLoop;
using wolterix::testing::buildPair;
using wolterix::testing::buildTwoWindingCircuit;
using wolterix::testing::CircuitBuilder;
using wolterix::testing::trace;
using K = ElementKind;
using Complex = std::complex<double>;

constexpr double kPi = 3.14159265358979;
constexpr double kOmega = 2.0 * kPi * 50.0;
constexpr double kMinRw = 0.0001;  // a source's Rw = 0 acts as this

RunResult run(Simulation& sim, Schematic& s, double T, int samples, int k) {
  sim.setSampleCount(samples);
  return sim.transientRun(s, 0, T, k);
}

// A current source drives the current w(t) out of its terminal 1, so across a resistor R
// joined to it in parallel (both with terminal 0 on top) U(R) = -R w(t). A controlled current
// source does the same with k X, X taken from the step before; with its arrow reversed it
// drives the other way.
TEST(ClosedFormSources, CurrentSourcesDriveTheirSignedValue) {
  Schematic s;
  buildPair(s, K::Prd, "sin/1m/0/50/0", K::Rez, "1k");  // J1, R1
  CircuitBuilder b(s);
  b.element(K::zsP, 30, 10, 5, "2m/U(R1)/0");  // Js1: 2 mA/V times U(R1)
  b.element(K::Rez, 34, 10, 5, "500");         // R2
  b.wire(30, 9, 34, 9);
  b.wire(30, 11, 34, 11);
  auto& reversed = b.element(K::zsP, 40, 10, 5, "-3/I(R1)/0");  // Js2: -3 times I(R1)
  reversed.setCurrentDirection(false);
  b.element(K::Rez, 44, 10, 5, "100");  // R3
  b.wire(40, 9, 44, 9);
  b.wire(40, 11, 44, 11);

  Simulation sim;
  const int n = 200;
  ASSERT_TRUE(run(sim, s, 20e-3, n, 0).ok());
  const double h = 20e-3 / n;
  const auto w = [&](int k) { return std::sqrt(2.0) * 1e-3 * std::sin(kOmega * k * h); };
  const auto u1 = trace(sim, "U(R1)");
  const auto u2 = trace(sim, "U(R2)");
  const auto u3 = trace(sim, "U(R3)");
  EXPECT_NEAR(u2[0], 0.0, 1e-12);  // X starts at 0
  EXPECT_NEAR(u3[0], 0.0, 1e-12);
  for (int k = 1; k <= n; ++k) {
    EXPECT_NEAR(u1[k], -1000.0 * w(k), 1e-8) << k;
    // s = -1 as created: U(R2) = -1 * 2m * U(R1)[k-1] * 500 = +1000 w(k-1).
    EXPECT_NEAR(u2[k], 1000.0 * w(k - 1), 1e-8) << k;
    // s = +1 reversed, X = I(R1) = -w: U(R3) = +1 * (-3) * (-w(k-1)) * 100 = +300 w(k-1).
    EXPECT_NEAR(u3[k], 300.0 * w(k - 1), 1e-8) << k;
  }
}

// Phasor of U(R2) per volt of source for two coupled windings (v1 = jw L1 i1 + jw M i2,
// v2 = jw M i1 + jw L2 i2, currents into terminals 0 and 2) with series resistance rp before
// the first and rs before the load: I2 = -jw M E / det.
Complex loadPerVolt(double rp, double l1, double l2, double m, double rs, double load) {
  const Complex j(0, 1);
  const Complex a = rp + j * kOmega * l1, b = j * kOmega * m, d = rs + load + j * kOmega * l2;
  return -b / (a * d - b * b) * load;
}

// Switched on at the source's peak (phase 90) the flux starts without an offset. Every sample
// of the last period must follow the phasor solution, sign included; backward Euler at these
// steps stays within about 0.1 % of the peak.
void expectSteadyWaveform(Schematic& s, double T, int samples, int k, Complex perVolt,
                          double sourceRms) {
  Simulation sim;
  const RunResult r = run(sim, s, T, samples, k);
  ASSERT_TRUE(r.ok()) << (r.lines.empty() ? "" : r.lines.front());
  const auto u = trace(sim, "U(R2)");
  const Complex phasor = perVolt * sourceRms * std::sqrt(2.0);
  const double peak = std::abs(phasor);
  const std::size_t perPeriod = static_cast<std::size_t>(std::lround(20e-3 / sim.store().spacing));
  double seenPeak = 0.0, worst = 0.0, worstAt = 0.0;
  for (std::size_t i = u.size() - 1 - perPeriod; i < u.size(); ++i) {
    const double t = static_cast<double>(i) * sim.store().spacing;
    const double exact = std::imag(phasor * std::exp(Complex(0, kOmega * t + kPi / 2)));
    if (std::abs(u[i] - exact) > worst) {
      worst = std::abs(u[i] - exact);
      worstAt = t;
    }
    seenPeak = std::max(seenPeak, std::abs(u[i]));
  }
  EXPECT_LT(worst, 0.01 * peak) << "at t = " << worstAt;
  EXPECT_NEAR(seenPeak, peak, 0.01 * peak);
}

TEST(ClosedFormWindings, CoupledCoilsSecondaryFollowsThePhasorSampleBySample) {
  // 0.1 H each, 50 % coupling: M = 0.05 H; 10 Ohm before the first winding and as the load.
  Schematic s;
  buildTwoWindingCircuit(s, K::Spr, "0,1/0,1/0/0/50", "sin/100/0/50/90", "10", "10");
  const Complex perVolt = loadPerVolt(10.0 + kMinRw, 0.1, 0.1, 0.05, 0.0, 10.0);
  ASSERT_NEAR(std::abs(perVolt), 0.175, 0.001);  // 157 / |(10 + j31.4)^2 + 15.7^2| * 10
  expectSteadyWaveform(s, 0.2, 2000, 4, perVolt, 100.0);
}

TEST(ClosedFormWindings, TransformerSecondaryFollowsThePhasorSampleBySample) {
  // 1 kVA 230/24 V 50 Hz, uzr 4 %, Ior 5 %, Pun 20 W, no iron loss; 500 W at 24 V of load.
  const double S = 1000, U1 = 230, U2 = 24, f = 50, uzr = 0.04, ior = 5, pun = 20;
  const double r1 = pun * U1 * U1 / (2 * S * S), r2 = pun * U2 * U2 / (2 * S * S);
  const double x = std::sqrt(uzr * uzr - (pun / S) * (pun / S));
  const double ls1 = x * U1 * U1 / (4 * kPi * f * S), ls2 = x * U2 * U2 / (4 * kPi * f * S);
  const double r = 50 / (kPi * f * S * ior);  // magnetising: Lm1 = U1^2 r, M = U1 U2 r
  const double load = 24.0 * 24.0 / 500.0;
  Schematic s;
  buildTwoWindingCircuit(s, K::Tf1, "1k/230/24/50/4/5/20/0", "sin/230/0/50/90", "1u", "1,152");
  const Complex perVolt =
      loadPerVolt(1e-6 + kMinRw + r1, ls1 + U1 * U1 * r, ls2 + U2 * U2 * r, U1 * U2 * r, r2, load);
  // Nearly the turns ratio, inverted by the dot convention of this circuit.
  ASSERT_NEAR(std::real(perVolt), -24.0 / 230.0, 0.005);
  expectSteadyWaveform(s, 0.1, 1000, 4, perVolt, 230.0);
}

// Common-emitter stage: Vcc = 12 V with Rw = 2k as the collector resistor, Vbb = 2 V with
// Rw = 47k as the base resistor, Re = 220 Ohm. Collector C (19,15), emitter E (21,15),
// base B (20,16).
//
// Once X no longer changes from step to step (X = -i_e, the emitter branch current), the three
// branches give: i_c = G1 (Vc - Vi) + (h21 + h12)/(h21 + 1) i_e, i_e = G2 (Vi - Ve) = i_c + i_b,
// i_b = g3 (Vb - Vi). With G1 = h22/(h21 + 1), G2 = h22/h12, 1/g3 = h11 - (h21 + 1) h12/h22
// these reduce to the two-port itself:
//   Vbe = h11 i_b + h12 Vce,   i_c = h21 i_b + h22 Vce,
// and the stage adds Vce = Vcc - Rc i_c - Re (i_b + i_c), Vbe = Vbb - Rb i_b - Re (i_b + i_c).
// Eliminating Vce leaves two linear equations in i_c and i_b:
//   (1 + h22 (Rc + Re)) i_c - (h21 - h22 Re) i_b = h22 Vcc
//   (Re - h12 (Rc + Re)) i_c + (Rb + Re + h11 - h12 Re) i_b = Vbb - h12 Vcc
TEST(ClosedFormBjt, BiasedStageSettlesAtTheTwoPortOperatingPoint) {
  const double h11 = 2e3, h12 = 1e-4, h21 = 100, h22 = 1e-5;  // 1/g3 = 990 Ohm > 0
  const double vcc = 12, rc = 2e3, vbb = 2, rb = 47e3, re = 220;
  const double a11 = 1 + h22 * (rc + re), a12 = -(h21 - h22 * re), b1 = h22 * vcc;
  const double a21 = re - h12 * (rc + re), a22 = rb + re + h11 - h12 * re, b2 = vbb - h12 * vcc;
  const double det = a11 * a22 - a12 * a21;
  const double ic = (b1 * a22 - a12 * b2) / det;
  const double ib = (a11 * b2 - a21 * b1) / det;
  const double vce = vcc - rc * ic - re * (ib + ic);
  ASSERT_NEAR(ic, 2.8466e-3, 1e-7);  // about h21 i_b: the stage is well inside its active region
  ASSERT_NEAR(vce, 5.674, 1e-3);

  for (const bool npn : {true, false}) {
    SCOPED_TRACE(npn ? "npn" : "pnp");
    Schematic s;
    CircuitBuilder b(s);
    auto& supply = b.element(K::Nap, 10, 20, 1, "st/12/2k");  // + at (10, 19)
    auto& bias = b.element(K::Nap, 16, 20, 1, "st/2/47k");    // + at (16, 19)
    b.element(K::BJT, 20, 15, 3, std::string(npn ? "npn" : "pnp") + "/2k/100u/100/10u");
    b.element(K::Rez, 24, 18, 5, "220");  // (24,17) top, (24,19) bottom
    for (auto [x1, y1, x2, y2] : {std::array{10, 19, 10, 15},
                                  {10, 15, 19, 15},
                                  {16, 19, 16, 17},
                                  {16, 17, 20, 17},
                                  {20, 17, 20, 16},
                                  {21, 15, 24, 15},
                                  {24, 15, 24, 17},
                                  {24, 19, 24, 22},
                                  {10, 21, 10, 22},
                                  {10, 22, 16, 22},
                                  {16, 21, 16, 22},
                                  {16, 22, 24, 22}})
      b.wire(x1, y1, x2, y2);
    // The pnp stage is the npn one with both supplies reversed: every quantity changes sign.
    if (!npn) {
      supply.setCurrentDirection(false);
      bias.setCurrentDirection(false);
    }
    const double sign = npn ? 1.0 : -1.0;
    Simulation sim;
    // X follows the emitter current one step late; without reactive elements the step
    // length does not matter, only the number of steps it takes to settle.
    const RunResult r = run(sim, s, 1e-3, 4000, 0);
    ASSERT_TRUE(r.ok()) << (r.lines.empty() ? "" : r.lines.front());
    EXPECT_NEAR(trace(sim, "I(B1)").back(), sign * ic, 1e-6 * ic);
    EXPECT_NEAR(trace(sim, "U(B1)").back(), sign * vce, 1e-6 * vce);
    EXPECT_NEAR(trace(sim, "I(R1)").back(), sign * (ib + ic), 1e-6 * ic);
  }
}

// Charge Q = c U^beta fed by a constant current I: c U^beta = c U0^beta + I t. The engine's
// step uses the slope c beta a^(beta - 1) at the last accepted voltage, so its first step is
// U0 + I h / (c beta U0^(beta - 1)); over many small steps it follows the charge law. With the
// exponent ignored the voltage would rise linearly to U0 + I t / c.
TEST(ClosedFormNonlinear, CapacitanceChargedByAConstantCurrentFollowsItsChargeLaw) {
  const double c = 1e-6, beta = 2, u0 = 2, current = 1e-3;
  Schematic s;
  buildPair(s, K::nlC, "1u/2/2", K::Prd, "st/1m/0");
  s.findElement("J1")->setCurrentDirection(false);  // drives into terminal 0 of Cv1
  Simulation sim;
  const int n = 1000;
  const double T = 10e-3, h = T / n;
  ASSERT_TRUE(run(sim, s, T, n, 0).ok());
  const auto u = trace(sim, "U(Cv1)");
  const double first = u0 + current * h / (c * beta * std::pow(u0, beta - 1));
  EXPECT_NEAR(u[0], first, 1e-9);  // 2.0025 V
  EXPECT_NEAR(u[1], first + current * h / (c * beta * std::pow(first, beta - 1)), 1e-9);
  // Sample n is the solve at t = n h, after n + 1 steps.
  const double charge = c * std::pow(u0, beta) + current * (n + 1) * h;
  EXPECT_NEAR(u[n], std::pow(charge / c, 1 / beta), 0.002 * u[n]);  // sqrt(14.01) V
}

// Flux Psi = c I^beta under a constant voltage E: c i^beta = c I0^beta + E t. Here beta < 1,
// a coil whose incremental inductance falls as the current rises.
TEST(ClosedFormNonlinear, InductanceUnderAConstantVoltageFollowsItsFluxLaw) {
  const double c = 0.1, beta = 0.5, i0 = 4, e = 10;
  Schematic s;
  buildPair(s, K::nlL, "0,1/0,5/4", K::Nap, "st/10/0");
  s.findElement("E1")->setCurrentDirection(false);  // terminal 0 of Lv1 at +10 V
  Simulation sim;
  const int n = 1000;
  const double T = 20e-3, h = T / n;
  ASSERT_TRUE(run(sim, s, T, n, 0).ok());
  const auto i = trace(sim, "I(Lv1)");
  // First step with the source's 0.1 mOhm: i1 = i0 + (h/Ld) (E - Rw i1).
  const double g = h / (c * beta * std::pow(i0, beta - 1));  // Ld = 0.025 H at 4 A
  EXPECT_NEAR(i[0], (i0 + g * e) / (1 + g * kMinRw), 1e-9);  // 4.008 A
  const double flux = c * std::pow(i0, beta) + e * (n + 1) * h;
  EXPECT_NEAR(i[n], std::pow(flux / c, 1 / beta), 0.002 * i[n]);  // about 16 A
}

// A thyristor with only its second (or third) angle slot given fires as the first does:
// 90 degrees at 50 Hz is due at 5 ms, exactly a step instant at 0.1 ms steps. The file form
// fills the given angles into the slots from the first on, so the slot is set directly.
TEST(ClosedFormFiring, EachAngleSlotFiresOnItsOwn) {
  for (const std::size_t slot : {std::size_t{1}, std::size_t{2}}) {
    SCOPED_TRACE(slot + 1);
    Schematic s;
    auto& scr = buildLoop(s, "st/10/0", K::Tyr, "0/0/50", "10");
    const std::size_t index = Thyristor::kFirstAngle + slot;
    ASSERT_TRUE(scr.setParameter(index, "90"));
    scr.setGiven(index, true);
    Simulation sim;
    ASSERT_TRUE(run(sim, s, 40e-3, 400, 0).ok());
    const auto i = trace(sim, "I(T1)");
    for (std::size_t k = 0; k < i.size(); ++k) {
      const double t = static_cast<double>(k) * sim.store().spacing;
      if (t < 5e-3 - 1e-9) {
        EXPECT_LT(std::abs(i[k]), 0.01) << t;
      } else {
        EXPECT_NEAR(i[k], 1.0, 1e-3) << t;  // 10 V through 10 Ohm
      }
    }
  }
}

}  // namespace
