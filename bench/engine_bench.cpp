// Engine benchmarks: time runs of the examples and of generated RC ladders at a full-screen
// sample count (N = 1840, a 1920-pixel screen) and k = 6, the transfer sweep of the filter,
// 25-cycle measurements of the single-phase diode bridge and the three-phase thyristor
// bridge, and the floor of the latter's step (stepFloor).
//
//   build/bench/engine_bench                      all cases
//   build/bench/engine_bench --benchmark_filter=ladder

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/circuits.h"
#include "engine/elimination_replay.h"
#include "engine/measurement.h"
#include "engine/transient_run.h"
#include "model/element.h"

namespace {

using namespace wolterix;

constexpr int kSamples = 1840;
constexpr int kIterations = 6;

void report(benchmark::State& state, const engine::Simulation& sim, double seconds) {
  const auto& counters = sim.network().counters();
  state.counters["nodes"] = sim.network().nodeCount();
  state.counters["branches"] = static_cast<double>(sim.network().branches().size());
  state.counters["band"] = sim.network().halfBandwidth();
  state.counters["steps"] = static_cast<double>(counters.steps);
  state.counters["solves"] = static_cast<double>(counters.solves);
  state.counters["factorisations"] = static_cast<double>(counters.factorisations);
  state.counters["ms"] = seconds * 1e3;
  state.counters["steps_per_s"] = static_cast<double>(counters.steps) / seconds;
  state.counters["solves_per_step"] =
      static_cast<double>(counters.solves) / static_cast<double>(counters.steps);
}

void timeRun(benchmark::State& state, const std::function<bool(model::Schematic&)>& build,
             double simulatedTime) {
  for (auto _ : state) {
    state.PauseTiming();
    model::Schematic schematic;
    if (!build(schematic)) throw std::runtime_error("circuit could not be built");
    engine::Simulation sim;
    sim.setSampleCount(kSamples);
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    const engine::RunResult result = sim.transientRun(schematic, 0.0, simulatedTime, kIterations);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.ok())
      state.SkipWithError(result.lines.empty() ? "run failed" : result.lines[0].c_str());
    report(state, sim, seconds);
  }
}

void example(benchmark::State& state, const std::string& file, double simulatedTime) {
  timeRun(
      state, [&](model::Schematic& s) { return bench::loadExample(s, file); }, simulatedTime);
}

void ladder(benchmark::State& state) {
  const int sections = static_cast<int>(state.range(0));
  timeRun(
      state, [&](model::Schematic& s) { return bench::buildRcLadder(s, sections); }, 40e-3);
}

void transferSweep(benchmark::State& state) {
  for (auto _ : state) {
    model::Schematic schematic;
    bench::loadExample(schematic, "filtr.wtx");
    engine::Simulation sim;
    sim.setSampleCount(kSamples);
    const auto start = std::chrono::steady_clock::now();
    const engine::RunResult result = sim.frequencySweep(schematic, 1.0, 1e6);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.ok()) state.SkipWithError("sweep failed");
    state.counters["points"] = sim.transferStore().pointCount;
    state.counters["ms"] = seconds * 1e3;
  }
}

// A 25-cycle, 50 Hz measurement at k = 6 with three meters on the given elements: the
// voltage of one, the current of another and the power of a third, as a student would watch
// a converter's load and supply.
void measurement(benchmark::State& state, const std::string& file, const std::string& voltage,
                 const std::string& current, const std::string& power) {
  constexpr double kFrequency = 50.0;
  constexpr long long kCycles = 25;
  for (auto _ : state) {
    model::Schematic schematic;
    bench::loadExample(schematic, file);
    model::DocumentFlags flags;
    engine::Measurement measurement(schematic, flags);
    measurement.simulation().setSampleCount(kSamples);
    measurement.settings() = {"50", "25", kFrequency, kCycles, kIterations};
    measurement.addMeter(*schematic.findElement(voltage), engine::MeterQuantity::Voltage);
    measurement.addMeter(*schematic.findElement(current), engine::MeterQuantity::Current);
    measurement.addMeter(*schematic.findElement(power), engine::MeterQuantity::Power);
    long long steps = 0;
    long long solves = 0;
    long long factorisations = 0;
    engine::MeasurementCallbacks callbacks;
    // What the measuring panel asks for: its progress animation and a look at the clock to
    // let the window's events through every 20 ms.
    int frames = 0;
    using Clock = std::chrono::steady_clock;
    Clock::time_point sinceEvents = Clock::now();
    callbacks.progress = [&](int percent) {
      if (engine::animationFrame(percent)) ++frames;
    };
    callbacks.afterSample = [&](double) {
      if (Clock::now() - sinceEvents >= std::chrono::milliseconds(20)) sinceEvents = Clock::now();
    };
    callbacks.afterCycle = [&](long long) {
      const auto& counters = measurement.simulation().network().counters();
      steps += counters.steps;
      solves += counters.solves;
      factorisations += counters.factorisations;
    };
    const auto start = std::chrono::steady_clock::now();
    const engine::MeasurementOutcome outcome = measurement.run(false, callbacks);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome.failure.code != 0) state.SkipWithError("measurement failed");
    benchmark::DoNotOptimize(frames);
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["solves_per_step"] = static_cast<double>(solves) / static_cast<double>(steps);
    state.counters["factorisations"] = static_cast<double>(factorisations);
    state.counters["ms"] = seconds * 1e3;
    state.counters["steps_per_s"] = static_cast<double>(steps) / seconds;
    // Circuit time measured per second of waiting: above 1 the meters run ahead of real time.
    state.counters["real_time_ratio"] = static_cast<double>(kCycles) / kFrequency / seconds;
  }
}

// What no exact step of the three-phase bridge can do without, and nothing else: the three
// sources' sines (as the source model takes them) turned into Norton currents, the replayed
// elimination of the bridge's seven nodes (two valves on, four off) with its divisions, and an
// inductor current carried from step to step. No valve, clock, meter or sample is looked at,
// so its real_time_ratio bounds what the measurement of the bridge can reach on this machine.
// With valves, it adds the least a step must also do: the clock of the control period, the
// six valves' tests against it and against their voltages, and a sample every 2^k steps (still
// one factorisation, no re-solve: the step of a bridge fused by hand for this one circuit).
template <bool kValves>
void stepFloor(benchmark::State& state) {
  constexpr int n = 7;  // reference, three phases, two rails, the load's middle
  constexpr double kRw = 1e-4, kOn = 1e4, kOff = 1e-6, kPeak = 325.0;
  constexpr double kOmega = 2.0 * 3.14159265358979323846 * 50.0;
  constexpr double kPhase[3] = {0.0, -2.0943951023931953, 2.0943951023931953};
  constexpr long long kSteps = 25LL * kSamples * (1 << kIterations);
  const double h = 0.02 / (kSamples * (1 << kIterations));
  std::vector<double> matrix(n * (n + 1), 0.0);
  const auto branch = [&](int a, int b, double g) {
    matrix[a * (n + 1) + a] += g;
    matrix[b * (n + 1) + b] += g;
    matrix[a * (n + 1) + b] -= g;
    matrix[b * (n + 1) + a] -= g;
  };
  for (int phase = 1; phase <= 3; ++phase) {
    branch(phase, 0, 1.0 / kRw);
    branch(phase, 4, phase == 1 ? kOn : kOff);  // the upper valves
    branch(5, phase, phase == 2 ? kOn : kOff);  // the lower valves
  }
  const double gL = h / 0.05;  // R-L load: 10 ohms, 50 mH
  branch(4, 6, 0.1);
  branch(6, 5, gL);
  engine::EliminationReplay replay;
  if (!replay.factor(matrix, n)) state.SkipWithError("singular");
  std::vector<double> rhs(n, 0.0);
  std::vector<double> v(n, 0.0);
  // Valves T1..T6 fired 60 degrees apart; the samples of a run, 20 values each.
  std::vector<double> samples(static_cast<std::size_t>(kSteps / 64 + 1) * 20);
  for (auto _ : state) {
    double clock = 0.0;
    bool on[6] = {true, false, false, false, false, false};
    double firing[6];
    for (int valve = 0; valve < 6; ++valve) firing[valve] = 0.02 * (1 + 2 * valve) / 12.0;
    double iL = 0.0;
    double sum = 0.0;
    const auto start = std::chrono::steady_clock::now();
    for (long long s = 0; s < kSteps; ++s) {
      const double t = static_cast<double>(s) * h;
      for (int phase = 1; phase <= 3; ++phase)
        rhs[phase] += kPeak * std::sin(kOmega * t + kPhase[phase - 1]) / kRw;
      rhs[6] += iL;  // the inductor's history current, J = -iL from 6 to 5
      rhs[5] -= iL;
      sum += replay.solveInto(rhs.data(), v.data());
      iL = gL * (v[6] - v[5]) + iL;
      if constexpr (kValves) {
        const double x = t + h;
        const double q = static_cast<double>(static_cast<long long>(x / 0.02));
        const double now = std::fma(-q, 0.02, x);
        const double from = (now < clock ? clock - 0.02 : clock) + 1e-6 * h;
        clock = now;
        for (int valve = 0; valve < 6; ++valve) {
          const int anode = valve < 3 ? valve + 1 : 5;
          const int cathode = valve < 3 ? 4 : valve - 2;
          if (on[valve]) {
            on[valve] = !(v[anode] < v[cathode]);
          } else if (v[anode] > v[cathode]) {
            const double a = firing[valve];
            for (const double occurrence : {a, a - 0.02, a + 0.02})
              if (from < occurrence && occurrence <= now + 1e-6 * h) on[valve] = true;
          }
        }
        if ((s & 63) == 0) {
          for (int node = 0; node < n; ++node) samples[(s >> 6) * 20 + node] = v[node];
          for (int k = 0; k < 12; ++k) samples[(s >> 6) * 20 + 7 + k] = v[k % 7] * 1e-3 - iL;
        }
      }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(samples.data());
    state.counters["steps_per_s"] = static_cast<double>(kSteps) / seconds;
    state.counters["real_time_ratio"] = 0.5 / seconds;
  }
}

}  // namespace

BENCHMARK_CAPTURE(example, rc, std::string("rc.wtx"), 40e-3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(example, rlc, std::string("rlc.wtx"), 40e-3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(example, half_wave_rectifier, std::string("prostownik.wtx"), 40e-3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(example, diode_bridge, std::string("mostek.wtx"), 40e-3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(example, three_phase_bridge, std::string("mostek3f.wtx"), 40e-3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(example, scr_phase_control, std::string("tyrystor.wtx"), 40e-3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(example, transformer, std::string("transformator.wtx"), 40e-3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(example, dc_motor, std::string("silnik.wtx"), 1.0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ladder)
    ->Arg(40)
    ->Arg(398)
    ->Arg(960)
    ->Arg(wolterix::bench::maxLadderSections())
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(transferSweep)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(measurement, diode_bridge, std::string("mostek.wtx"), std::string("R1"),
                  std::string("R1"), std::string("R1"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(measurement, three_phase_bridge, std::string("mostek3f.wtx"), std::string("R1"),
                  std::string("Ea"), std::string("Ea"))
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(stepFloor<false>)
    ->Name("stepFloor/sines_and_solve")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(stepFloor<true>)
    ->Name("stepFloor/with_valves")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
