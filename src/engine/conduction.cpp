#include "engine/conduction.h"

#include <algorithm>

namespace wolterix::engine {

std::vector<ConductionInterval> conductionIntervals(const WaveformStore& store, int row) {
  std::vector<ConductionInterval> intervals;
  const auto states = store.stateRow(row);
  const int count = std::min<int>(store.sampleCount, static_cast<int>(states.size()));
  const auto time = [&](int k) { return store.startTime + k * store.spacing; };
  int start = -1;
  for (int k = 0; k < count; ++k) {
    const bool on = states[static_cast<std::size_t>(k)] != 0;
    if (on && start < 0) start = k;
    if (!on && start >= 0) {
      intervals.push_back({time(start), time(k), false});
      start = -1;
    }
  }
  if (start >= 0) intervals.push_back({time(start), time(count - 1), true});
  return intervals;
}

}  // namespace wolterix::engine
