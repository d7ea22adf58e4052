#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>

#include "bench/circuits.h"
#include "model/placement.h"
#include "model/schematic.h"
#include "model/schematic_file.h"
#include "support/circuit_builder.h"

namespace {

using namespace wolterix::model;
using wolterix::testing::CircuitBuilder;

class ScratchFile {
 public:
  explicit ScratchFile(const std::string& bytes, const std::string& name = "plik")
      : m_path(std::filesystem::temp_directory_path() /
               ("wolterix-reading-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                name + ".wtx")) {
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << bytes;
  }
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
  }
  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

GridPoint randomPoint(std::mt19937& rng) {
  // A few points just off the grid, where the rules must still refuse.
  return {static_cast<int>(rng() % 105) - 2, static_cast<int>(rng() % 105) - 2};
}

// A wire end that is usually aligned with a, as drawn wires are.
GridPoint randomEnd(std::mt19937& rng, GridPoint a) {
  const int length = static_cast<int>(rng() % 30);
  switch (rng() % 4) {
    case 0: return {a.x + length, a.y};
    case 1: return {a.x, a.y - length};
    case 2: return {a.x + length, a.y + length};
    default: return randomPoint(rng);
  }
}

// The index answers exactly as the walks over every object do, on crowded schematics that
// grew through the index, and once more when it is built from them afresh.
TEST(PlacementIndex, AnswersExactlyAsTheWalksOverEveryObject) {
  std::mt19937 rng(4711);
  const std::vector<ElementKind> kinds = {ElementKind::Rez, ElementKind::Tf1, ElementKind::Spr,
                                          ElementKind::BJT, ElementKind::Nap};
  for (int round = 0; round < 6; ++round) {
    Schematic s;
    CircuitBuilder(s).element(ElementKind::Tf1, 50, 50);
    PlacementIndex grown(s);
    s.setPlacementIndex(&grown);
    int disagreements = 0;
    for (int step = 0; step < 3000; ++step) {
      const GridPoint a = randomPoint(rng);
      const GridPoint b = randomEnd(rng, a);
      const ElementKind kind = kinds[rng() % kinds.size()];
      disagreements += grown.canPlaceWire(a, b) != canPlaceWire(s, a, b);
      disagreements += grown.canPlaceElement(kind, a) != canPlaceElement(s, kind, a);
      disagreements += grown.canPlaceJunction(a) != canPlaceJunction(s, a);
      switch (rng() % 8) {
        case 0: s.addObject(static_cast<int>(kind), a, a, false); break;
        case 1: s.addObject(kJunctionKind, a, a, false); break;
        default: s.addObject(kWireKind, a, b, false); break;
      }
    }
    s.setPlacementIndex(nullptr);
    EXPECT_EQ(disagreements, 0) << "round " << round;
    EXPECT_GT(s.wires().size(), 500u);

    const PlacementIndex built(s);
    for (int query = 0; query < 3000; ++query) {
      const GridPoint a = randomPoint(rng);
      const GridPoint b = randomEnd(rng, a);
      const ElementKind kind = kinds[rng() % kinds.size()];
      ASSERT_EQ(built.canPlaceWire(a, b), canPlaceWire(s, a, b));
      ASSERT_EQ(built.canPlaceElement(kind, a), canPlaceElement(s, kind, a));
      ASSERT_EQ(built.canPlaceJunction(a), canPlaceJunction(s, a));
    }
  }
}

// Processor time, which other programs on the machine do not stretch as they do the clock's.
double bestOpeningSeconds(const std::filesystem::path& path) {
  double best = 1e9;
  for (int repetition = 0; repetition < 5; ++repetition) {
    Schematic s;
    const std::clock_t start = std::clock();
    const OpenResult opened = openSchematicFile(s, path);
    best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    EXPECT_TRUE(opened.ok()) << opened.error;
  }
  return best;
}

// Every line of these files is a wire placed beside all the earlier ones: checking each
// against the others made reading grow with the square of the file.
TEST(FileReading, TimeGrowsLinearlyWithTheFile) {
  constexpr std::size_t kLines = 40000;  // 0.6 MB
  const ScratchFile small(wolterix::bench::wireFileBytes(kLines), "small");
  const ScratchFile large(wolterix::bench::wireFileBytes(2 * kLines), "large");
  Schematic s;
  ASSERT_TRUE(openSchematicFile(s, large.path()).ok());
  ASSERT_EQ(s.wires().size(), 2 * kLines);
  const double ratio = bestOpeningSeconds(large.path()) / bestOpeningSeconds(small.path());
  EXPECT_LT(ratio, 3.0);
}

TEST(FileReading, AFileWithoutASingleObjectIsRefusedAndChangesNothing) {
  std::mt19937 rng(99);
  std::string noise(4000, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  const struct {
    const char* name;
    std::string bytes;
  } refused[] = {
      {"random bytes", noise},
      {"CSV", "czas;U(R1)\r\n0;1,5\r\n0,001;1,7\r\n"},
      {"picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
      {"header and a broken line", "**Transmitancja**\r\nL:1|2|3$\r\n"},
  };
  for (const auto& file : refused) {
    SCOPED_TRACE(file.name);
    const ScratchFile scratch(file.bytes);
    Schematic s;
    s.setTransferMode(true);
    CircuitBuilder(s).element(ElementKind::Rez, 10, 10);
    const OpenResult opened = openSchematicFile(s, scratch.path());
    EXPECT_FALSE(opened.ok());
    EXPECT_EQ(opened.error,
              "Plik nie zawiera schematu programu Wolterix: " + scratch.path().string());
    EXPECT_EQ(s.elementCount(), 1);
    EXPECT_TRUE(s.transferMode());
  }

  // Nothing to read is not the same as nothing readable: these are empty schematics.
  for (const std::string bytes : {"", "\r\n \r\n\t\r\n", "**Transmitancja**\r\n"}) {
    const ScratchFile scratch(bytes);
    Schematic s;
    CircuitBuilder(s).element(ElementKind::Rez, 10, 10);
    EXPECT_TRUE(openSchematicFile(s, scratch.path()).ok()) << bytes;
    EXPECT_EQ(s.elementCount(), 0);
    EXPECT_EQ(s.transferMode(), !bytes.empty() && bytes.front() == '*');
  }
}

TEST(FileReading, ProgressIsToldAndCancellingKeepsTheSchematic) {
  const std::string bytes = wolterix::bench::wireFileBytes(20000);
  const ScratchFile scratch(bytes);
  Schematic s;
  CircuitBuilder(s).element(ElementKind::Rez, 10, 10);

  std::vector<std::size_t> told;
  ASSERT_TRUE(openSchematicFile(s, scratch.path(), [&](std::size_t done, std::size_t total) {
                told.push_back(done);
                EXPECT_EQ(total, bytes.size());
                return true;
              }).ok());
  EXPECT_GE(told.size(), 4u);
  EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
  EXPECT_EQ(s.wires().size(), 20000u);

  s.clear();
  CircuitBuilder(s).element(ElementKind::Rez, 10, 10);
  const OpenResult cancelled =
      openSchematicFile(s, scratch.path(), [](std::size_t, std::size_t) { return false; });
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_FALSE(cancelled.ok());
  EXPECT_TRUE(cancelled.error.empty());
  EXPECT_TRUE(s.wires().empty());
  EXPECT_EQ(s.elementCount(), 1);
}

}  // namespace
