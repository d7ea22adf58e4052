// libFuzzer harness: any bytes as a schematic file. Reading never fails hard, what was read
// writes back stably (write, read, write gives the same text twice), the nodes of whatever was
// read number without fault, and pasting the text back in keeps to the grid.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "model/connectivity.h"
#include "model/schematic.h"
#include "model/schematic_file.h"

namespace {

using namespace wolterix::model;

[[noreturn]] void unstable(const SchematicText& first, const SchematicText& second) {
  std::fprintf(stderr, "write/read/write differs (%zu lines, then %zu)\n", first.size(),
               second.size());
  for (std::size_t i = 0; i < first.size() || i < second.size(); ++i) {
    const char* a = i < first.size() ? first[i].c_str() : "(none)";
    const char* b = i < second.size() ? second[i].c_str() : "(none)";
    if (i >= first.size() || i >= second.size() || first[i] != second[i])
      std::fprintf(stderr, "line %zu:\n  %s\n  %s\n", i, a, b);
  }
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const SchematicText lines =
      schematicTextFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));

  Schematic read;
  readSchematic(read, lines, ReadMode::Open);
  numberNodes(read);
  showTopology(read);

  SchematicText written;
  writeSchematic(read, written, false);
  Schematic reread;
  readSchematic(reread, written, ReadMode::Open);
  SchematicText rewritten;
  writeSchematic(reread, rewritten, false);
  if (rewritten != written) unstable(written, rewritten);

  // The editor's paste: measure, check the shifted copy, then insert it beside the original.
  const ReadResult bounds = readSchematic(reread, written, ReadMode::MeasureBounds);
  const int dx = size > 0 ? data[0] % 7 - 3 : 1;
  const int dy = size > 1 ? data[1] % 7 - 3 : 1;
  if (bounds.min.x + dx >= 0 && bounds.min.y + dy >= 0 && bounds.max.x + dx <= 100 &&
      bounds.max.y + dy <= 100 &&
      readSchematic(reread, written, ReadMode::PasteCheck, dx, dy).success) {
    readSchematic(reread, written, ReadMode::PasteInsert, dx, dy);
    numberNodes(reread);
  }
  return 0;
}
