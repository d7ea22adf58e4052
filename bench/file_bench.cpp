// Reading schematic files: the costliest files of wire lines at doubling sizes (every line
// placed beside all the earlier ones), so that the ratio of neighbouring times shows how
// reading grows with the file.
//
//   build/bench/file_bench

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "bench/circuits.h"
#include "model/schematic.h"
#include "model/schematic_file.h"

namespace {

using namespace wolterix;

void openWireFile(benchmark::State& state) {
  const auto lines = static_cast<std::size_t>(state.range(0));
  const std::string bytes = bench::wireFileBytes(lines);
  const auto path = std::filesystem::temp_directory_path() / "wolterix-file-bench.wtx";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  for (auto _ : state) {
    model::Schematic schematic;
    const model::OpenResult opened = model::openSchematicFile(schematic, path);
    if (!opened.ok()) state.SkipWithError(opened.error.c_str());
    benchmark::DoNotOptimize(schematic.wires().size());
  }
  state.counters["MB"] = static_cast<double>(bytes.size()) / (1 << 20);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(openWireFile)
    ->Arg(62500)
    ->Arg(125000)
    ->Arg(250000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Arg(2000000)
    ->Arg(4000000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
