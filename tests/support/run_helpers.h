#pragma once
/// Small circuits and trace access shared by the engine tests.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/transient_run.h"
#include "model/schematic.h"
#include "support/circuit_builder.h"

namespace wolterix::testing {

/// E1 (vertical, left; terminal 1 on top) drives R1 (top) into a load (vertical, right,
/// terminal 0 on top) and back. Returns the load.
inline model::Element& buildLoop(model::Schematic& s, const std::string& source,
                                 model::ElementKind loadKind, const std::string& load,
                                 const std::string& resistor = "1k") {
  using K = model::ElementKind;
  CircuitBuilder b(s);
  b.element(K::Nap, 10, 10, 1, source);
  b.element(K::Rez, 14, 8, 3, resistor);
  auto& x = b.element(loadKind, 16, 10, 5, load);
  b.wire(10, 9, 10, 8);
  b.wire(10, 8, 13, 8);
  b.wire(15, 8, 16, 8);
  b.wire(16, 8, 16, 9);
  b.wire(10, 11, 10, 12);
  b.wire(10, 12, 16, 12);
  b.wire(16, 12, 16, 11);
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
