#include "bench/circuits.h"

#include "model/schematic_file.h"

namespace wolterix::bench {

namespace {

using model::ElementKind;
using model::GridPoint;

constexpr int kSectionsPerRow = 48;  // resistors centred at x = 3, 5, ..., 97
constexpr int kRows = 25;            // rows at y = 1, 5, ..., 97

bool element(model::Schematic& s, ElementKind kind, int x, int y, int orientation,
             const char* parameters) {
  if (!s.addObject(static_cast<int>(kind), {x, y}, {x, y}, false)) return false;
  auto& e = static_cast<model::Element&>(*s.lastCreated());
  if (orientation != 3) e.rotate(s.occupancy(), orientation - 3);
  e.parseParameters(nullptr, parameters);
  return true;
}

bool wire(model::Schematic& s, int x1, int y1, int x2, int y2) {
  return s.addObject(model::kWireKind, {x1, y1}, {x2, y2}, false);
}

}  // namespace

int maxLadderSections() { return kSectionsPerRow * kRows; }

bool buildRcLadder(model::Schematic& s, int sections) {
  if (sections < 1 || sections > maxLadderSections()) return false;
  bool ok = true;
  // The source on the left of the first row: its upper terminal feeds the row at (2, 1), its
  // lower one the ground bus under it.
  ok &= element(s, ElementKind::Nap, 0, 3, 1, "pro/10/0/50/0");
  ok &= wire(s, 0, 2, 0, 1);
  ok &= wire(s, 0, 1, 2, 1);
  ok &= wire(s, 0, 4, 1, 4);
  int placed = 0;
  for (int row = 0; row < kRows && placed < sections; ++row) {
    const int y = 1 + 4 * row;
    const int inRow = std::min(kSectionsPerRow, sections - placed);
    // Sections in the direction of travel: left to right on even rows, back on odd ones.
    int lastNode = 0;
    for (int k = 0; k < inRow; ++k) {
      const int slot = row % 2 == 0 ? k : kSectionsPerRow - 1 - k;
      const int x = 3 + 2 * slot;
      ok &= element(s, ElementKind::Rez, x, y, 3, "100");
      const int node = row % 2 == 0 ? x + 1 : x - 1;  // the node the section leads to
      ok &= wire(s, node, y, node, y + 1);
      ok &= element(s, ElementKind::Poj, node, y + 2, 5, "1u");
      lastNode = node;
    }
    // The ground bus under the row, joined to the spine on the left.
    ok &= wire(s, 1, y + 3, 99, y + 3);
    if (row > 0) ok &= wire(s, 1, y - 1, 1, y + 3);
    placed += inRow;
    if (placed < sections) {
      // Down to the next row at the end of this one.
      const int side = row % 2 == 0 ? 100 : 0;
      ok &= wire(s, lastNode, y, side, y);
      ok &= wire(s, side, y, side, y + 4);
      ok &= wire(s, side, y + 4, lastNode, y + 4);
    }
  }
  return ok;
}

bool loadExample(model::Schematic& schematic, const std::string& name) {
  return model::openSchematicFile(schematic, std::filesystem::path(WOLTERIX_EXAMPLES) / name).ok();
}

std::string wireFileBytes(std::size_t count) {
  std::string bytes;
  std::size_t written = 0;
  while (written < count) {
    for (int y = 0; y < model::kGridSize && written < count; ++y)
      for (int length = 1; length < model::kGridSize && written < count; ++length)
        for (int x = 0; x + length < model::kGridSize && written < count; ++x, ++written)
          bytes += "L:" + std::to_string(x) + '|' + std::to_string(y) + '|' +
                   std::to_string(x + length) + '|' + std::to_string(y) + "$\r\n";
  }
  return bytes;
}

}  // namespace wolterix::bench
