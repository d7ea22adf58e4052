#include "drawing/svg_canvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace wolterix::drawing {
namespace {

// True when every tag is closed in order, which is all the structure our documents have.
bool wellFormed(const std::string& doc) {
  std::vector<std::string> open;
  for (std::size_t i = doc.find('<'); i != std::string::npos; i = doc.find('<', i + 1)) {
    const std::size_t end = doc.find('>', i);
    if (end == std::string::npos) return false;
    const std::string tag = doc.substr(i + 1, end - i - 1);
    if (tag.empty()) return false;
    if (tag.back() == '/') continue;
    if (tag.front() == '/') {
      if (open.empty() || open.back() != tag.substr(1)) return false;
      open.pop_back();
    } else {
      open.push_back(tag.substr(0, tag.find(' ')));
    }
  }
  // Text between tags must not hold a raw "<" or "&" that is not an entity.
  for (std::size_t i = doc.find('&'); i != std::string::npos; i = doc.find('&', i + 1))
    if (doc.find(';', i) - i > 6) return false;
  return open.empty();
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

TEST(SvgCanvas, DocumentIsWellFormedAndEscapesText) {
  SvgCanvas canvas(120, 80);
  canvas.setBackground(colors::kWhite);
  canvas.setPen({colors::kNavy, 2, PenStyle::Dot});
  canvas.setBrush(Brush::solid(colors::kLime));
  canvas.line(0, 0, 10, 10);
  canvas.rectangle(12, 4, 4, 20);
  canvas.ellipse(0, 0, 5, 5);
  const CanvasPoint triangle[] = {{0, 0}, {4, 0}, {2, 3}};
  canvas.polygon(triangle);
  canvas.setPen({colors::kRed, 1.5, PenStyle::Dash});
  canvas.polyline(triangle);  // open and unfilled, whatever the brush
  // A figure cut in two parts (a trace leaving its frame) stays one element.
  const std::vector<CanvasPoint> parts[] = {{{0, 0}, {1, 1}}, {{5, 5}, {6, 4}}};
  canvas.polylines(parts);
  canvas.text(3, 4, "R&<1>\"\x01", 11);
  const std::string doc = canvas.document();
  EXPECT_EQ(doc.rfind("<svg", 0), 0u);
  EXPECT_TRUE(wellFormed(doc)) << doc;
  EXPECT_NE(doc.find("R&amp;&lt;1&gt;&quot;?</text>"), std::string::npos) << doc;
  EXPECT_NE(doc.find("width=\"120\" height=\"80\""), std::string::npos);
  EXPECT_NE(doc.find("stroke=\"#000080\""), std::string::npos);
  EXPECT_NE(doc.find("fill=\"#00ff00\""), std::string::npos);
  EXPECT_NE(doc.find("stroke-dasharray"), std::string::npos);
  EXPECT_NE(doc.find("<polyline points=\"0,0 4,0 2,3\" stroke=\"#ff0000\" stroke-width=\"1.5\" "
                     "stroke-dasharray=\"6 3\" fill=\"none\""),
            std::string::npos)
      << doc;
  EXPECT_NE(doc.find("<path d=\"M0,0 L1,1 M5,5 L6,4\""), std::string::npos) << doc;
  // Corners given in any order make the same box.
  EXPECT_NE(doc.find("<rect x=\"4\" y=\"4\" width=\"8\" height=\"16\""), std::string::npos);
}

TEST(SvgCanvas, MalformedUtf8NeverReachesTheDocument) {
  EXPECT_EQ(escapeXml("a\xC5\x81z"), "a\xC5\x81z");  // "Ł" stays
  EXPECT_EQ(escapeXml("a\xC5"), "a?");               // cut sequence
  EXPECT_EQ(escapeXml("\xC0\xAF"), "??");            // overlong "/"
  EXPECT_EQ(escapeXml("\xED\xA0\x80"), "???");       // surrogate
}

TEST(SvgCanvas, ArcsTurnCounterClockwiseForPositiveSpans) {
  SvgCanvas canvas(40, 40);
  canvas.arc(0, 0, 20, 20, 0, 90);    // from three o'clock up to twelve
  canvas.arc(0, 0, 20, 20, 0, -270);  // the long way round, clockwise
  const std::string doc = canvas.document();
  EXPECT_NE(doc.find("d=\"M20 10 A10 10 0 0 0 10 0\""), std::string::npos) << doc;
  EXPECT_NE(doc.find("d=\"M20 10 A10 10 0 1 1 10 0\""), std::string::npos) << doc;
}

TEST(SvgCanvas, TextIsMeasuredInCharactersNotBytes) {
  const SvgCanvas canvas(10, 10);
  EXPECT_DOUBLE_EQ(canvas.textWidth("\xC5\x81"
                                    "1",
                                    10),
                   canvas.textWidth("L1", 10));
  EXPECT_GT(canvas.textWidth("R12", 10), canvas.textWidth("R1", 10));
  EXPECT_GT(canvas.textHeight("R1", 14), canvas.textHeight("R1", 11));
}

class RenderCommand : public ::testing::Test {
 protected:
  std::filesystem::path out =
      std::filesystem::temp_directory_path() /
      (std::string("wolterix_render_") +
       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".svg");
  void TearDown() override { std::filesystem::remove(out); }
};

TEST_F(RenderCommand, EveryKindRendersWithItsShownNames) {
  cli::RenderOptions options;
  options.path = WOLTERIX_TEST_DATA "/all_kinds.wtx";
  options.svgPath = out.string();
  options.zoom = 2;
  std::ostringstream err;
  ASSERT_EQ(cli::render(options, err), cli::kSuccess) << err.str();
  const std::string doc = readFile(out);
  EXPECT_EQ(doc.rfind("<svg", 0), 0u);
  EXPECT_TRUE(wellFormed(doc));
  for (const char* name : {">R1<", ">Tf1<", ">B1<", ">W1<",
                           ">\xC5\x81"
                           "1<"})
    EXPECT_NE(doc.find(name), std::string::npos) << name;
  // The arrows of the file are shown; printing has no grid dots.
  EXPECT_NE(doc.find("#0000ff"), std::string::npos);
  EXPECT_EQ(doc.find("width=\"1\" height=\"1\""), std::string::npos);
}

TEST_F(RenderCommand, EveryExampleRenders) {
  for (const auto& entry : std::filesystem::directory_iterator(WOLTERIX_EXAMPLES)) {
    cli::RenderOptions options;
    options.path = entry.path().string();
    options.svgPath = out.string();
    std::ostringstream err;
    ASSERT_EQ(cli::render(options, err), cli::kSuccess) << entry.path() << err.str();
    EXPECT_TRUE(wellFormed(readFile(out))) << entry.path();
  }
}

TEST_F(RenderCommand, FailsCleanlyOnBadInput) {
  cli::RenderOptions options;
  options.path = WOLTERIX_TEST_DATA "/no_such_file.wtx";
  options.svgPath = out.string();
  std::ostringstream missing;
  EXPECT_EQ(cli::render(options, missing), cli::kUsageOrFileError);
  EXPECT_FALSE(missing.str().empty());
  EXPECT_FALSE(std::filesystem::exists(out));

  options.path = WOLTERIX_TEST_DATA "/all_kinds.wtx";
  for (auto [grid, zoom] :
       {std::pair{17, 1}, std::pair{26, 1}, std::pair{20, 0}, std::pair{20, 5}}) {
    options.grid = grid;
    options.zoom = zoom;
    std::ostringstream err;
    EXPECT_EQ(cli::render(options, err), cli::kUsageOrFileError) << grid << ' ' << zoom;
    EXPECT_FALSE(err.str().empty());
  }

  options.grid = 20;
  options.zoom = 1;
  options.svgPath = (out.parent_path() / "no_such_folder_wolterix" / "x.svg").string();
  std::ostringstream unwritable;
  EXPECT_EQ(cli::render(options, unwritable), cli::kUsageOrFileError);
  EXPECT_NE(unwritable.str().find("x.svg"), std::string::npos);
}

}  // namespace
}  // namespace wolterix::drawing
