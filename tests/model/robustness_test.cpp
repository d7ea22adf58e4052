#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>

#include "model/schematic.h"
#include "model/schematic_file.h"

namespace {

using namespace wolterix::model;

// Lines a real file holds, as seeds for mutation.
const SchematicText kSeeds = {
    "**Transmitancja**",
    "E:Rez\xABR1\xBB"
    "10|10|3|0|0|1|1|0|10k/$",
    "E:BJT\xABQ\xB3"
    "1\xBB"
    "20|20|1|1|1|1|1|1|1|pnp/1k/0/100/10u/$",
    "E:Spr\xABM1\xBB"
    "30|30|5|0|0|1|1|0|1|1/2/0/0/95/$",
    "E:mmW\xABW1\xBB"
    "40|40|7|0|0|1|1|1|0|-/$",
    "E:Tyr\xABT1\xBB"
    "50|50|3|0|0|1|1|0|0/0/50/30/60/90/$",
    "E:sDC\xABS1\xBB"
    "60|60|1|0|0|1|1|0|1k/220/5/1500/1/10m/1/0/0/1/0,1/-80/0/0/$",
    "E:Nap\xAB"
    "E1\xBB"
    "5|14|1|0|0|0|1|0|sin/230/0/50/0/$",
    "E:wyl\xAB\xA3"
    "1\xBB"
    "70|70|3|0|0|1|1|0|1/1m/2m/$",
    "E:nWe\xABU1\xBB"
    "80|80|3|0|0|0|1|0|-3/$",
    "E:zsN\xAB"
    "Es1\xBB"
    "90|90|3|0|0|0|1|0|2/U(R1)/0/$",
    "L:10|12|14|12$",
    "L:0|0|100|100$",
    "W:14|12$",
};

std::string mutate(std::string line, std::mt19937& rng) {
  std::uniform_int_distribution<int> byte(0, 255);
  const int edits = std::uniform_int_distribution<int>(1, 6)(rng);
  for (int i = 0; i < edits; ++i) {
    const std::size_t at = line.empty() ? 0 : rng() % (line.size() + 1);
    switch (rng() % 6) {
      case 0:  // replace a byte with anything, NUL and control characters included
        if (!line.empty()) line[std::min(at, line.size() - 1)] = static_cast<char>(byte(rng));
        break;
      case 1:  // insert a delimiter
        line.insert(at, 1, "|$/:\xAB\xBB-,"[rng() % 9]);
        break;
      case 2:  // cut
        line.erase(at, rng() % 8);
        break;
      case 3:  // stretch far beyond any fixed buffer
        line.insert(at, std::string(rng() % 2000, static_cast<char>('0' + rng() % 10)));
        break;
      case 4:  // huge or negative numbers
        line.insert(at, rng() % 2 ? "99999999999999999999" : "-2147483649");
        break;
      default:  // splice in part of another seed
        line.insert(at, kSeeds[rng() % kSeeds.size()].substr(0, rng() % 40));
        break;
    }
  }
  return line;
}

// Whatever the lines hold, reading them in every mode terminates, never reads out of bounds
// (run under the sanitizers) and leaves a schematic that writes and reads back unchanged, its
// names unique. The lines arrive through the file splitter, stray line ends included.
TEST(ReaderRobustness, MutatedAndRandomLinesNeverBreakTheReader) {
  std::mt19937 rng(20261209);
  for (int round = 0; round < 400; ++round) {
    std::string file;
    const int count = std::uniform_int_distribution<int>(1, 40)(rng);
    for (int i = 0; i < count; ++i) {
      if (rng() % 8 == 0) {
        std::string noise(rng() % 300, '\0');
        for (char& c : noise) c = static_cast<char>(rng());
        file += noise;
      } else {
        file += mutate(kSeeds[rng() % kSeeds.size()], rng);
      }
      file += std::array{"\r\n", "\n", "\r", "\r\r\n", " \t\r\n"}[rng() % 5];
    }
    const SchematicText lines = schematicTextFromBytes(file);
    Schematic s;
    readSchematic(s, lines, ReadMode::MeasureBounds);
    readSchematic(s, lines, ReadMode::PasteCheck, static_cast<int>(rng() % 21) - 10, 3);
    const ReadResult opened = readSchematic(s, lines, ReadMode::Open);
    ASSERT_LE(static_cast<std::size_t>(opened.skippedLines + opened.renamedElements), lines.size());
    std::set<std::string> names;
    for (const auto& e : s.elements()) ASSERT_TRUE(names.insert(e->name()).second) << e->name();

    SchematicText out;
    writeSchematic(s, out, false);
    Schematic copy;
    const ReadResult reread = readSchematic(copy, out, ReadMode::Open);
    EXPECT_EQ(reread.skippedLines + reread.renamedElements, 0) << "round " << round;
    SchematicText again;
    writeSchematic(copy, again, false);
    ASSERT_EQ(again, out) << "round " << round;

    // Pasting may repeat names (the editor renames the pasted group); it never breaks the map.
    readSchematic(s, lines, ReadMode::PasteInsert, static_cast<int>(rng() % 41) - 20, -7);
    for (int x = 0; x < kGridSize; ++x)
      for (int y = 0; y < kGridSize; ++y) ASSERT_GE(s.occupancy().at({x, y}), 0);
    writeSchematic(s, out, false);
    Schematic pasted;
    EXPECT_EQ(readSchematic(pasted, out, ReadMode::Open).skippedLines, 0) << "round " << round;
  }
}

}  // namespace
