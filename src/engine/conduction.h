#pragma once
/// When the switching elements of a run conduct: their intervals, read from the conduction
/// states the run recorded sample by sample.

#include <string>
#include <vector>

#include "engine/waveform_store.h"

namespace wolterix::engine {

/// From the first sample where the element conducts to the first where it no longer does.
struct ConductionInterval {
  double start = 0.0;
  double end = 0.0;
  bool runsOn = false;  ///< still conducting at the last sample: `end` is the end of the run
};

/// The intervals of one state row of the store, in time order.
std::vector<ConductionInterval> conductionIntervals(const WaveformStore& store, int row);

/// The conduction angle of an interval in degrees of a fundamental f.
inline double conductionAngle(const ConductionInterval& interval, double f) {
  return (interval.end - interval.start) * f * 360.0;
}

}  // namespace wolterix::engine
