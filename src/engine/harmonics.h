#pragma once
/// Harmonic content of a recorded trace: the DC component and harmonics 1..H of a
/// fundamental frequency over the last whole periods of the trace, with THD and total RMS.
///
/// A harmonic h is written as A_h·sin(h·2πf·t + φ_h) with t the time of the run, the form
/// the sinusoidal sources use, so a source's own phase reads back as φ_1.

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wolterix::model {
class Schematic;
}

namespace wolterix::engine {

constexpr int kDefaultHarmonicCount = 40;
constexpr int kMaxHarmonicCount = 100;

struct Harmonic {
  int order = 0;
  double frequency = 0.0;  ///< Hz
  double amplitude = 0.0;  ///< peak value A_h
  double rms = 0.0;        ///< A_h / √2
  double phase = 0.0;      ///< degrees, (-180, 180]
  double percent = 0.0;    ///< RMS in per cent of the fundamental's (NaN without a fundamental)
  /// The order sits at half the samples of a period: its amplitude and phase depend on where
  /// the samples fall and cannot be trusted.
  bool atSamplingLimit = false;
};

struct HarmonicAnalysis {
  double fundamental = 0.0;  ///< Hz
  int periods = 0;           ///< whole periods analysed, at least 1
  double from = 0.0;         ///< the analysed time window [from, to]
  double to = 0.0;
  double samplesPerPeriod = 0.0;
  /// A period holds a whole number of samples: the DFT at the harmonic bins was used.
  /// Otherwise the waveform, linear between samples, was integrated over exactly [from, to].
  bool wholeSamples = false;
  /// The highest order the sampling can show: half the samples of a period, rounded down.
  int samplingLimit = 0;
  int requestedCount = 0;  ///< orders asked for; harmonics.size() may be fewer (the limit)
  double dc = 0.0;
  double rms = 0.0;  ///< total RMS over the window, DC and every order included
  double thd = 0.0;  ///< √(Σ h≥2 RMS²) / RMS₁ over the orders computed; NaN without RMS₁
  double thdOfRms = 0.0;            ///< the same distortion over the total RMS; NaN when that is 0
  std::vector<Harmonic> harmonics;  ///< orders 1, 2, ... in order

  /// The fundamental (order 1); nullptr when none was computed.
  const Harmonic* fundamentalLine() const { return harmonics.empty() ? nullptr : &harmonics[0]; }
};

/// The analysis or, when it cannot be made, the reason in Polish.
struct HarmonicOutcome {
  std::optional<HarmonicAnalysis> analysis;
  std::string refusal;
};

/// Analyses samples x_k at startTime + k·spacing over the last `periods` whole periods (0:
/// as many as the trace holds; a start-up transient can be left out by asking fewer).
/// Refuses f ≤ 0 (or not finite), a run shorter than one period, and fewer than two samples
/// a period. The count is clamped to 1..kMaxHarmonicCount and to the sampling limit.
HarmonicOutcome analyseHarmonics(std::span<const double> samples, double startTime, double spacing,
                                 double fundamental, int count = kDefaultHarmonicCount,
                                 int periods = 0);

/// The fundamental to propose: the frequency of the schematic's first sinusoidal source (in
/// element-list order), else of its first other periodic source, else the control frequency
/// of its first thyristor, GTO or power transistor; nullopt when none has a positive one.
std::optional<double> proposedFundamental(const model::Schematic& schematic);

/// The table as CSV: a header row "n,f,Um,RMS,%,deg", the DC component as order 0, one row
/// per order, then THD and THD_R (in the % column) and the total RMS (in the RMS column).
void writeHarmonicsCsv(std::ostream& csv, const HarmonicAnalysis& analysis);

/// Refusals.
inline constexpr std::string_view kFundamentalNotPositive =
    "Częstotliwość podstawowa musi być dodatnia.";
inline constexpr std::string_view kShorterThanPeriod =
    "Przebieg jest krótszy niż jeden okres częstotliwości podstawowej – wydłuż czas symulacji "
    "albo zwiększ częstotliwość.";
inline constexpr std::string_view kTooFewSamples =
    "Za mało próbek na okres częstotliwości podstawowej (potrzeba co najmniej dwóch) – zwiększ "
    "liczbę próbek albo skróć czas symulacji.";

}  // namespace wolterix::engine
