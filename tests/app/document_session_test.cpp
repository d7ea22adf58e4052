#include "app/document_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "editor/editing.h"
#include "support/circuit_builder.h"
#include "support/scripted_prompts.h"

namespace {

using namespace wolterix;
using app::OverwriteAnswer;
using app::SaveAnswer;
using model::ElementKind;
using wolterix::testing::CircuitBuilder;
namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

void write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A document with scripted questions in a folder of its own.
struct Document : wolterix::testing::ScriptedDocumentPrompt {
  model::Schematic schematic;
  editor::Editor editor{schematic};
  std::array<std::string, 4> recent;
  app::DocumentSession session{editor, recent, *this};
  int replaced = 0;
  fs::path dir;

  Document() {
    session.onReplaced = [this] { ++replaced; };
    dir = fs::temp_directory_path() /
          ("wolterix-document-" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~Document() override { fs::remove_all(dir); }
  std::string file(const char* name) const { return (dir / name).string(); }
};

const std::string kExample = WOLTERIX_EXAMPLES "/dzielnik.wtx";

TEST(DocumentSession, TheSaveQuestionGuardsEveryCommand) {
  Document d;
  CircuitBuilder(d.schematic).element(ElementKind::Rez, 10, 10);
  d.editor.flags().modified = true;

  d.answer = SaveAnswer::Cancel;
  EXPECT_FALSE(d.session.newDocument());
  EXPECT_EQ(d.schematic.elementCount(), 1);

  // "Tak" with the save dialog cancelled abandons the command as well.
  d.answer = SaveAnswer::Yes;
  d.savePath.clear();
  EXPECT_FALSE(d.session.newDocument());
  EXPECT_EQ(d.schematic.elementCount(), 1);

  // "Tak" with a folder that cannot be written: reported, nothing lost.
  d.savePath = d.file("no-such-folder/x.wtx");
  EXPECT_FALSE(d.session.newDocument());
  EXPECT_EQ(d.schematic.elementCount(), 1);
  EXPECT_TRUE(d.editor.flags().modified);
  ASSERT_FALSE(d.warnings.empty());
  EXPECT_EQ(d.warnings.back().rfind("Nie można zapisać pliku", 0), 0u);

  // "Tak" and a good name: saved, then the new workspace.
  d.savePath = d.file("obwod.wtx");
  d.newMode = true;
  EXPECT_TRUE(d.session.newDocument());
  EXPECT_TRUE(fs::exists(d.savePath));
  EXPECT_EQ(d.schematic.elementCount(), 0);
  EXPECT_TRUE(d.schematic.transferMode());
  EXPECT_EQ(d.session.currentFile(), "");
  EXPECT_EQ(d.replaced, 1);

  // An unmodified schematic asks nothing; a cancelled "Nowy" deletes nothing.
  const int asked = d.questions;
  CircuitBuilder(d.schematic).element(ElementKind::Rez, 10, 10);
  d.newMode = std::nullopt;
  EXPECT_FALSE(d.session.newDocument());
  EXPECT_EQ(d.questions, asked);
  EXPECT_EQ(d.schematic.elementCount(), 1);
}

TEST(DocumentSession, AnUnreadableFileKeepsTheSchematic) {
  Document d;
  ASSERT_TRUE(d.session.openFile(kExample));
  const int before = d.schematic.elementCount();
  EXPECT_FALSE(d.session.openFile("/nonexistent/brak.wtx"));
  ASSERT_EQ(d.warnings.size(), 1u);
  EXPECT_NE(d.warnings[0].find("Plik nie istnieje."), std::string::npos);
  EXPECT_EQ(d.schematic.elementCount(), before);
  EXPECT_EQ(d.session.currentFile(), kExample);
  EXPECT_EQ(d.replaced, 1);
}

TEST(DocumentSession, RecentFilesFollowOpeningAndSaving) {
  Document d;
  const std::string a = d.file("a.wtx");
  const std::string b = d.file("b.wtx");
  CircuitBuilder(d.schematic).element(ElementKind::Rez, 10, 10);
  d.savePath = a;
  ASSERT_TRUE(d.session.saveAs());
  EXPECT_TRUE(d.session.rememberCurrentFile());  // a new document saved joins the list
  EXPECT_EQ(d.recent[0], a);
  d.savePath = b;
  ASSERT_TRUE(d.session.saveAs());
  d.session.rememberCurrentFile();
  EXPECT_EQ(d.recent[1], a);
  EXPECT_FALSE(d.session.rememberCurrentFile());  // nothing new

  ASSERT_TRUE(d.session.openRecent(1));  // the second entry goes to the top
  d.session.rememberCurrentFile();
  EXPECT_EQ(d.recent[0], a);
  EXPECT_EQ(d.recent[1], b);

  fs::remove(b);
  EXPECT_FALSE(d.session.openRecent(1));
  EXPECT_EQ(d.warnings.back(), "Plik nie istnieje.");
}

TEST(DocumentSession, AFileHoldingNoSchematicIsRefusedAndTheSchematicStays) {
  Document d;
  ASSERT_TRUE(d.session.openFile(kExample));
  const int before = d.schematic.elementCount();

  std::string noise(3000, '\0');
  std::uint32_t state = 12345;
  for (char& c : noise) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
  const std::string path = d.file("szum.wtx");
  write(path, noise);
  EXPECT_FALSE(d.session.openFile(path));
  ASSERT_EQ(d.warnings.size(), 1u);
  EXPECT_EQ(d.warnings[0], "Plik nie zawiera schematu programu Wolterix: " + path);
  EXPECT_EQ(d.schematic.elementCount(), before);
  EXPECT_EQ(d.session.currentFile(), kExample);
  EXPECT_EQ(d.replaced, 1);
  EXPECT_EQ(contents(path), noise);
}

// Saving over a file whose opening skipped lines would drop them: the first save asks.
TEST(DocumentSession, TheFirstSaveOverAFileWithSkippedLinesAsks) {
  Document d;
  const std::string path = d.file("uszkodzony.wtx");
  const std::string original(
      "E:Rez\xABR1\xBB"
      "10|10|3|0|0|1|1|0|1k/$\r\n"
      "wiersz innej wersji programu\r\n"
      "L:11|10|15|10$\r\n");
  write(path, original);
  ASSERT_TRUE(d.session.openFile(path));
  d.warnings.clear();

  EXPECT_FALSE(d.session.save());
  EXPECT_EQ(d.overwriteAsked, std::vector<int>{1});
  EXPECT_EQ(contents(path), original);

  // Through the save question of another command, cancelling abandons that command.
  d.editor.flags().modified = true;
  d.answer = SaveAnswer::Yes;
  EXPECT_FALSE(d.session.newDocument());
  EXPECT_EQ(d.overwriteAsked.size(), 2u);
  EXPECT_EQ(d.schematic.elementCount(), 1);
  EXPECT_EQ(contents(path), original);

  // "Zapisz jako..." writes elsewhere; the new file is whole, so it is not asked again.
  d.overwrite = OverwriteAnswer::SaveAs;
  d.savePath = d.file("kopia.wtx");
  EXPECT_TRUE(d.session.save());
  EXPECT_EQ(d.session.currentFile(), d.savePath);
  EXPECT_TRUE(fs::exists(d.savePath));
  EXPECT_EQ(contents(path), original);
  EXPECT_TRUE(d.session.save());
  EXPECT_EQ(d.overwriteAsked.size(), 3u);

  // "Zapisz" overwrites it; only that first save asks.
  ASSERT_TRUE(d.session.openFile(path));
  d.overwrite = OverwriteAnswer::Save;
  EXPECT_TRUE(d.session.save());
  EXPECT_EQ(d.overwriteAsked.size(), 4u);
  EXPECT_EQ(contents(path), contents(d.savePath));
  EXPECT_TRUE(d.session.save());
  EXPECT_EQ(d.overwriteAsked.size(), 4u);
}

TEST(DocumentSession, ACancelledReadKeepsTheSchematicQuietly) {
  Document d;
  ASSERT_TRUE(d.session.openFile(kExample));
  const int before = d.schematic.elementCount();
  std::string wires;
  for (int length = 1; length <= 2; ++length)
    for (int y = 0; y <= 100; ++y)
      for (int x = 0; x + length <= 100; ++x)
        wires += "L:" + std::to_string(x) + "|" + std::to_string(y) + "|" +
                 std::to_string(x + length) + "|" + std::to_string(y) + "$\r\n";
  write(d.file("dlugi.wtx"), wires);
  d.cancelReading = true;
  EXPECT_FALSE(d.session.openFile(d.file("dlugi.wtx")));
  EXPECT_TRUE(d.warnings.empty());
  EXPECT_EQ(d.schematic.elementCount(), before);
  EXPECT_EQ(d.session.currentFile(), kExample);
}

}  // namespace
