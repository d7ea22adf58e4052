#pragma once
/// Small circuits and trace access shared by the engine tests.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "engine/transient_run.h"
#include "model/schematic.h"
#include "support/circuit_builder.h"

namespace wolterix::testing {

/// E1 (vertical, left; terminal 1 on top) drives R1 (top) into a load (vertical, right,
/// terminal 0 on top) and back, dx grid steps to the right of the usual place. Returns the load.
inline model::Element& buildLoop(model::Schematic& s, const std::string& source,
                                 model::ElementKind loadKind, const std::string& load,
                                 const std::string& resistor = "1k", int dx = 0) {
  using K = model::ElementKind;
  CircuitBuilder b(s);
  b.element(K::Nap, 10 + dx, 10, 1, source);
  b.element(K::Rez, 14 + dx, 8, 3, resistor);
  auto& x = b.element(loadKind, 16 + dx, 10, 5, load);
  b.wire(10 + dx, 9, 10 + dx, 8);
  b.wire(10 + dx, 8, 13 + dx, 8);
  b.wire(15 + dx, 8, 16 + dx, 8);
  b.wire(16 + dx, 8, 16 + dx, 9);
  b.wire(10 + dx, 11, 10 + dx, 12);
  b.wire(10 + dx, 12, 16 + dx, 12);
  b.wire(16 + dx, 12, 16 + dx, 11);
  return x;
}

/// Two elements side by side, both vertical with terminal 0 on top, joined top and bottom.
inline void buildPair(model::Schematic& s, model::ElementKind a, const std::string& aParams,
                      model::ElementKind b, const std::string& bParams) {
  CircuitBuilder builder(s);
  builder.element(a, 10, 10, 5, aParams);
  builder.element(b, 14, 10, 5, bParams);
  builder.wire(10, 9, 14, 9);
  builder.wire(10, 11, 14, 11);
}

/// Source E1 (terminal 1 on top) through R1 into the first winding of M (coupled coils or a
/// transformer) at (20, 20), turned so that the first winding is on the left (terminal 0 on
/// top) and the second on the right (terminal 2 at the bottom, 3 on top); R2 (terminal 0 on
/// top) loads the second winding, so U(R2) = -v2 = R2 i2.
inline void buildTwoWindingCircuit(model::Schematic& s, model::ElementKind kind,
                                   const std::string& parameters, const std::string& source,
                                   const std::string& r1, const std::string& load) {
  using K = model::ElementKind;
  CircuitBuilder b(s);
  b.element(K::Nap, 10, 20, 1, source);
  b.element(K::Rez, 14, 18, 3, r1);
  b.element(kind, 20, 20, 5, parameters);
  b.element(K::Rez, 25, 20, 5, load);
  for (auto [x1, y1, x2, y2] : {std::array{10, 19, 10, 18},
                                {10, 18, 13, 18},
                                {15, 18, 19, 18},
                                {19, 18, 19, 19},
                                {10, 21, 10, 22},
                                {10, 22, 19, 22},
                                {19, 22, 19, 21},
                                {21, 19, 21, 18},
                                {21, 18, 25, 18},
                                {25, 18, 25, 19},
                                {21, 21, 21, 22},
                                {21, 22, 25, 22},
                                {25, 22, 25, 21}})
    b.wire(x1, y1, x2, y2);
}

inline std::vector<double> trace(const engine::Simulation& sim, const std::string& name) {
  const auto t = sim.store().trace(name);
  EXPECT_TRUE(t.has_value()) << name;
  return t.value_or(std::vector<double>{});
}

/// Root mean square of the samples from first on.
inline double rms(const std::vector<double>& samples, std::size_t first) {
  double sum = 0.0;
  for (std::size_t k = first; k < samples.size(); ++k) sum += samples[k] * samples[k];
  return std::sqrt(sum / static_cast<double>(samples.size() - first));
}

/// RMS of the alternating part (the mean removed) of the samples from first on.
inline double acRms(const std::vector<double>& samples, std::size_t first) {
  double sum = 0.0;
  for (std::size_t k = first; k < samples.size(); ++k) sum += samples[k];
  const double mean = sum / static_cast<double>(samples.size() - first);
  double square = 0.0;
  for (std::size_t k = first; k < samples.size(); ++k)
    square += (samples[k] - mean) * (samples[k] - mean);
  return std::sqrt(square / static_cast<double>(samples.size() - first));
}

}  // namespace wolterix::testing
