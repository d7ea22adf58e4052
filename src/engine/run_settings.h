#pragma once
/// The rules of the analysis dialogs, without widgets: which texts start a run, the step
/// count shown beside the iteration setting, and the time display.

#include <optional>
#include <string>
#include <utility>

namespace wolterix::engine {

/// A simulated time that may start a run: a valid unsigned number above zero (a time of 0
/// would never advance). nullopt otherwise.
std::optional<double> acceptedTime(const std::string& text);

/// A frequency range that may start a sweep: two valid unsigned numbers with 0 < f1 < f2.
std::optional<std::pair<double, double>> acceptedRange(const std::string& from,
                                                       const std::string& to);

/// Number of time steps of a run: N * 2^k.
long long totalSteps(int samples, int iterations);

/// The time display: t in ps, ns, us or ms chosen from T/8, rounded half up ("250 ms").
std::string timeDisplayText(double t, double T);

/// N: one sample per pixel column of a full-screen plot (screen width - 80), at least 1.
int sampleCountForScreen(int screenWidth);

}  // namespace wolterix::engine
