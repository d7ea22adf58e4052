#pragma once
/// The commands of the command-line program, writing to the given streams.

#include <atomic>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace wolterix::cli {

/// Exit codes of the program.
enum ExitCode : int {
  kSuccess = 0,
  kUsageOrFileError = 1,
  kCheckErrors = 2,
  kSingularNetwork = 3,
  kFatalError = 4,
  kInterrupted = 130,  ///< Ctrl+C, as a shell reports a program ended by SIGINT
};

/// How a run of the command line is bounded and shown.
struct RunControl {
  /// Bytes the results of one run may take; 0 takes defaultMemoryBudget().
  std::size_t memoryBudget = 0;
  /// Show a progress line on the error stream once a run has taken a while.
  bool showProgress = false;
  /// Set by Ctrl+C: the run ends and nothing is written.
  const std::atomic<bool>* interrupted = nullptr;
};

/// 1 GiB, or half the physical memory when that is less.
std::size_t defaultMemoryBudget();

/// Prints each element's display form, then the counts of wires and junctions.
int listSchematic(const std::string& path, std::ostream& out, std::ostream& err);

/// Prints the topology lines (element, position, nodes, parameters).
int showTopology(const std::string& path, std::ostream& out, std::ostream& err);

struct SimulateOptions {
  std::string path;
  std::string timeText;  ///< time simulation: simulated time, an engineering number ("20m")
  std::string fromText;  ///< transfer function: first frequency (Hz)
  std::string toText;    ///< transfer function: last frequency (Hz)
  int iterations = 0;    ///< 0..6
  int samples = 944;
  std::vector<std::string> waves;  ///< empty: every waveform of the schematic
  std::string outPath;             ///< empty: standard output
  bool stats = false;              ///< print the solver's counters on the error stream
};

/// Runs a time simulation (time-simulation schematics, --time) or a transfer-function sweep
/// (transfer schematics, --from/--to) and writes the chosen waveforms as CSV.
int simulate(const SimulateOptions& options, std::ostream& out, std::ostream& err,
             const RunControl& control = {});

struct MeasureOptions {
  std::string path;
  std::string frequencyText;  ///< frequency of the measuring cycle (Hz), an engineering number
  std::string cyclesText;     ///< number of cycles, a whole number >= 1
  int iterations = 0;         ///< 0..6
  int samples = 944;
  std::vector<std::string> meters;  ///< "U(R1)", "I(L1):avg", "P(R1):dc"
};

/// Measures period by period like the measurement panel and prints, after the last cycle,
/// one line per meter: waveform, indication, raw reading and the display text with its unit.
int measure(const MeasureOptions& options, std::ostream& out, std::ostream& err,
            const RunControl& control = {});

struct RenderOptions {
  std::string path;      ///< schematic file (.wtx)
  std::string svgPath;   ///< SVG file to write
  int grid = 20;         ///< grid step in pixels: 16, 18, 20, 22 or 24
  int zoom = 1;          ///< 1..4
  std::string atText;    ///< an instant of a time run to draw the circuit at; empty: none
  std::string timeText;  ///< with atText: the simulated time of that run
  int iterations = 0;    ///< with atText: 0..6
  int samples = 944;     ///< with atText
};

/// Draws the schematic as it would be printed (no grid dots, white bodies, only the names and
/// arrows that are shown) into an SVG file, cropped to the objects with a margin. With an
/// instant, the time run is made first and the circuit is drawn at its sample nearest that
/// instant: conducting switches and the elements and wires carrying current highlighted, and
/// every element's voltage and current beside it.
int render(const RenderOptions& options, std::ostream& err, const RunControl& control = {});

struct PlotOptions {
  std::string path;
  std::string timeText;  ///< time plot: simulated time, an engineering number
  std::string fromText;  ///< transfer plot: first frequency (Hz)
  std::string toText;    ///< transfer plot: last frequency (Hz)
  int iterations = 0;    ///< 0..6
  int samples = 944;
  std::vector<std::string> waves;  ///< up to six; empty: the first six of the schematic
  std::string svgPath;             ///< SVG file to write
  std::string sizeText = "1600x900";
  std::string background = "white";  ///< white or black
  std::string axesText;              ///< quantities labelled left and right, e.g. "U,I"
  std::string kind = "magnitude";    ///< transfer plot: magnitude, angle or complex
  int dbSpan = 60;                   ///< decibels shown on the magnitude plot
};

/// Runs the schematic like simulate and draws the plot of the chosen waveforms, as the plot
/// window shows it with its legend above, into an SVG file.
int plot(const PlotOptions& options, std::ostream& err, const RunControl& control = {});

struct HarmonicsOptions {
  std::string path;
  std::string timeText;  ///< simulated time, an engineering number
  int iterations = 0;    ///< 0..6
  int samples = 944;
  std::string wave;             ///< the analysed waveform, "I(E1)"
  std::string fundamentalText;  ///< Hz; empty: the first sinusoidal source's frequency
  int count = 40;               ///< orders 1..count (at most 100)
  int periods = 0;              ///< the last whole periods analysed; 0: all that fit
};

/// Runs the time simulation and prints the harmonics of one waveform over the last whole
/// periods of the fundamental: a line per order (order, f [Hz], RMS, % of the fundamental,
/// phase [°] in the sine form), then THD [%], RMS and DC. The periods and the sampling limit
/// go to the error stream.
int harmonics(const HarmonicsOptions& options, std::ostream& out, std::ostream& err,
              const RunControl& control = {});

struct ConductionOptions {
  std::string path;
  std::string timeText;  ///< simulated time, an engineering number
  int iterations = 0;    ///< 0..6
  int samples = 944;
  std::string fundamentalText;  ///< Hz; empty: no conduction angles
};

/// Runs the time simulation and prints, for every switching element in element-list order, a
/// line per conduction interval: name, start and end [s] and, with a fundamental, the
/// conduction angle [°]; "-" for an element that never conducts.
int conduction(const ConductionOptions& options, std::ostream& out, std::ostream& err,
               const RunControl& control = {});

/// Shortest decimal text that reads back to exactly the same double.
std::string formatNumber(double value);

}  // namespace wolterix::cli
