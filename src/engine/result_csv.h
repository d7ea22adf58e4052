#pragma once
/// The CSV of recorded results, as the command line writes them and the plot window exports
/// them: one header row, then a row per sample (t) or per frequency point (f).

#include <complex>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace wolterix::engine {

/// Shortest decimal text that reads back to exactly the same double.
std::string csvNumber(double value);
/// A header field, quoted only when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);

struct TimeColumn {
  std::string_view name;
  std::span<const double> samples;  ///< a sample beyond its end is written empty
};
struct SweepColumn {
  std::string_view name;
  std::span<const std::complex<double>> values;  ///< missing points are written as 0
};

/// `stop` is asked before every row; when it answers true the writing ends and the function
/// answers false, so that the caller can throw the half-written file away.
using StopRequest = std::function<bool()>;

bool writeTimeCsv(std::ostream& csv, double startTime, double spacing, int sampleCount,
                  std::span<const TimeColumn> columns, const StopRequest& stop = {});
/// f, then .re, .im, .dB (20·log10|K|, without the input level) and .deg of every column.
bool writeSweepCsv(std::ostream& csv, std::span<const double> frequencies,
                   std::span<const SweepColumn> columns, const StopRequest& stop = {});

}  // namespace wolterix::engine
