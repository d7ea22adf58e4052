#include "help/help_topics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "model/element_catalogue.h"

namespace wolterix::help {
namespace {

struct DialogTopic {
  int number;
  const char* caption;
};

// The captions of the dialogs and the topic numbers their "Pomoc" buttons send.
const DialogTopic kDialogTopics[] = {
    {36, "Symulacja"},
    {37, "Transmitancja"},
    {38, "Pomiar (Real-Time)"},
    {39, "Przebiegi"},
    {40, "Opcje miernika"},
    {42, "Wykresy"},
    {43, "Drukuj"},
    {44, "Harmoniczne"},
    {46, "Źródło napięcia"},
    {47, "Źródło prądu"},
    {48, "Źródło napięcia sterowane"},
    {49, "Źródło prądu sterowane"},
    {50, "Napięcie wejściowe"},
    {51, "Rezystancja"},
    {52, "Indukcyjność"},
    {53, "Pojemność"},
    {54, "Warystor"},
    {55, "Indukcyjność nieliniowa"},
    {56, "Pojemność nieliniowa"},
    {57, "Dioda"},
    {58, "Dioda Zenera"},
    {59, "Tyrystor SCR"},
    {60, "Tyrystor RCT"},
    {61, "Tyrystor GTO"},
    {62, "Tranzystor mocy"},
    {63, "Wyłącznik"},
    {64, "Silnik prądu stałego"},
    {65, "Cewki sprzężone"},
    {66, "Transformator jednofazowy"},
    {67, "Tranzystor bipolarny"},
    {68, "Woltomierz"},
    {69, "Amperomierz"},
    {70, "Watomierz"},
};

class DialogTopicTest : public ::testing::TestWithParam<DialogTopic> {};

TEST_P(DialogTopicTest, RequestOpensThePageTitledLikeTheDialog) {
  const DialogTopic& expected = GetParam();
  const HelpTopic* topic = resolveTopicRequest("@#" + std::to_string(expected.number));
  ASSERT_NE(topic, nullptr);
  EXPECT_EQ(topic->number, expected.number);
  EXPECT_EQ(topic->title, expected.caption);
  EXPECT_GT(topic->page.size(), 100u) << "page too short to help anyone";
}

INSTANTIATE_TEST_SUITE_P(AllDialogs, DialogTopicTest, ::testing::ValuesIn(kDialogTopics));

TEST(TopicRequest, MalformedOrUnknownRequestsAreRefused) {
  // clang-format off
  const char* const requests[] = {
      "", "@", "@#", "#51", "@51", "@#abc", "@#5a", "@#51 ", " @#51", "@#-51", "@#+51",
      "@# 51", "@#5.1", "@#0", "@#41", "@#99999", "@#2147483647", "@#2147483648",
      "@#99999999999999999999999999999999", "@@#51"};
  // clang-format on
  for (const char* request : requests) {
    EXPECT_FALSE(resolveTopicRequest(request)) << '"' << request << '"';
  }
  EXPECT_FALSE(parseTopicRequest("@#99999999999999999999999999999999"));
  EXPECT_FALSE(parseTopicRequest("@#-1"));
}

TEST(TopicRequest, DigitsAfterThePrefixAreTheNumber) {
  EXPECT_EQ(parseTopicRequest("@#51"), 51);
  EXPECT_EQ(parseTopicRequest("@#051"), 51);
  EXPECT_EQ(parseTopicRequest("@#99999"), 99999);  // well-formed, just not a topic
  // A view into a longer text ends where the view ends, not at the text's terminator.
  const std::string buffer = "@#51";
  EXPECT_EQ(parseTopicRequest(std::string_view(buffer).substr(0, 3)), 5);
}

TEST(TopicRequest, EveryTopicRoundTripsThroughItsRequest) {
  for (const HelpTopic& topic : allTopics()) {
    const HelpTopic* found = resolveTopicRequest(topicRequest(topic.number));
    ASSERT_NE(found, nullptr) << topic.number;
    EXPECT_EQ(found->number, topic.number);
  }
}

std::string asciiLower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

TEST(ElementTopics, EveryKindHasAPageNamedAfterItsPaletteEntry) {
  std::set<int> numbers;
  for (const model::KindInfo& info : model::allKinds()) {
    const HelpTopic* topic = findTopic(topicOfKind(info.kind));
    ASSERT_NE(topic, nullptr) << info.code;
    EXPECT_EQ(topic->title, info.caption) << info.code;
    // The palette writes "Tranzystor Bipolarny", the dialog "Tranzystor bipolarny".
    EXPECT_EQ(asciiLower(topic->title), asciiLower(info.paletteName)) << info.code;
    numbers.insert(topic->number);
  }
  EXPECT_EQ(numbers.size(), model::allKinds().size()) << "two kinds share a page";
}

TEST(TopicTree, NumbersAreUniqueAndParentsComeFirst) {
  std::set<int> seen;
  for (const HelpTopic& topic : allTopics()) {
    EXPECT_GT(topic.number, 0);
    EXPECT_FALSE(topic.title.empty()) << topic.number;
    EXPECT_FALSE(topic.page.empty()) << topic.number;
    // A parent listed later (or missing) would leave the item without a place in the tree.
    EXPECT_TRUE(topic.parent == 0 || seen.count(topic.parent)) << topic.number;
    EXPECT_TRUE(seen.insert(topic.number).second) << "duplicate " << topic.number;
  }
  for (int own : {kOverviewTopic, kEditorTopic, kNumbersTopic, kAnalysesTopic,
                  kMeasurementPanelTopic, kFileFormatTopic, kCommandLineTopic, kQuestionsTopic})
    EXPECT_TRUE(own < 36 || own > 70) << own << " collides with a dialog's range";
}

// Every link of every page must lead somewhere, and the tags a page opens must be closed,
// or the text browser quietly swallows the rest of the page.
TEST(TopicPages, LinksResolveAndTagsBalance) {
  for (const HelpTopic& topic : allTopics()) {
    const std::string_view page = topic.page;
    for (std::size_t at = page.find("href=\""); at != std::string_view::npos;
         at = page.find("href=\"", at + 1)) {
      const std::size_t start = at + 6;
      const std::size_t end = page.find('"', start);
      ASSERT_NE(end, std::string_view::npos) << topic.number;
      EXPECT_TRUE(resolveTopicRequest(page.substr(start, end - start)))
          << topic.number << ": " << page.substr(start, end - start);
    }
    std::vector<std::string> open;
    for (std::size_t lt = page.find('<'); lt != std::string_view::npos;
         lt = page.find('<', lt + 1)) {
      const std::size_t gt = page.find('>', lt);
      ASSERT_NE(gt, std::string_view::npos) << topic.number;
      std::string_view tag = page.substr(lt + 1, gt - lt - 1);
      const bool closing = tag.starts_with('/');
      if (closing) tag.remove_prefix(1);
      const std::string name(tag.substr(0, tag.find(' ')));
      if (!closing) {
        open.push_back(name);
      } else {
        ASSERT_FALSE(open.empty()) << topic.number << ": stray </" << name << '>';
        EXPECT_EQ(open.back(), name) << topic.number;
        open.pop_back();
      }
    }
    EXPECT_TRUE(open.empty()) << topic.number << ": unclosed <" << open.back() << '>';
  }
}

}  // namespace
}  // namespace wolterix::help
