#include "engine/result_csv.h"

#include <charconv>
#include <cmath>

namespace wolterix::engine {

std::string csvNumber(double value) {
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string("nan");
}

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

bool writeTimeCsv(std::ostream& csv, double startTime, double spacing, int sampleCount,
                  std::span<const TimeColumn> columns, const StopRequest& stop) {
  csv << 't';
  for (const TimeColumn& column : columns) csv << ',' << csvField(column.name);
  csv << '\n';
  for (int k = 0; k < sampleCount && csv; ++k) {
    if (stop && stop()) return false;
    csv << csvNumber(startTime + k * spacing);
    for (const TimeColumn& column : columns)
      csv << ','
          << (k < static_cast<int>(column.samples.size()) ? csvNumber(column.samples[k]) : "");
    csv << '\n';
  }
  return true;
}

bool writeSweepCsv(std::ostream& csv, std::span<const double> frequencies,
                   std::span<const SweepColumn> columns, const StopRequest& stop) {
  csv << 'f';
  for (const SweepColumn& column : columns)
    for (const char* part : {".re", ".im", ".dB", ".deg"})
      csv << ',' << csvField(std::string(column.name) + part);
  csv << '\n';
  for (std::size_t k = 0; k < frequencies.size() && csv; ++k) {
    if (stop && stop()) return false;
    csv << csvNumber(frequencies[k]);
    for (const SweepColumn& column : columns) {
      const std::complex<double> v =
          k < column.values.size() ? column.values[k] : std::complex<double>{};
      // Not angleDegrees of the plot: the file keeps arg's own −180 for the negative axis.
      csv << ',' << csvNumber(v.real()) << ',' << csvNumber(v.imag()) << ','
          << csvNumber(20.0 * std::log10(std::abs(v))) << ','
          << csvNumber(std::arg(v) * 180.0 / 3.14159265358979323846);
    }
    csv << '\n';
  }
  return true;
}

}  // namespace wolterix::engine
