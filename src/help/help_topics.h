#pragma once
/// The help topics: numbers, titles, the tree they form and their pages (simple HTML).

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/element_catalogue.h"

namespace wolterix::help {

/// One page of help.
struct HelpTopic {
  int number;              ///< what "@#" + number addresses
  std::string_view title;  ///< shown in the tree and as the page heading
  int parent;              ///< number of the parent topic; 0 for a top-level topic
  std::string_view page;   ///< body of the page in simple HTML (no heading: the title is added)
};

/// Topics of the program's own pages that have no dialog of their own.
inline constexpr int kOverviewTopic = 1;
inline constexpr int kEditorTopic = 2;
inline constexpr int kNumbersTopic = 3;
inline constexpr int kAnalysesTopic = 4;
inline constexpr int kMeasurementPanelTopic = 5;
inline constexpr int kFileFormatTopic = 6;
inline constexpr int kCommandLineTopic = 7;
inline constexpr int kQuestionsTopic = 8;

/// Topics the dialogs send.
inline constexpr int kSimulationTopic = 36;
inline constexpr int kTransferTopic = 37;
inline constexpr int kMeasurementTopic = 38;
inline constexpr int kWaveformsTopic = 39;
inline constexpr int kMeterOptionsTopic = 40;
inline constexpr int kPlotsTopic = 42;
inline constexpr int kPrintTopic = 43;
inline constexpr int kHarmonicsTopic = 44;

/// Every topic in tree order: a parent comes before its children, siblings in reading order.
std::span<const HelpTopic> allTopics();

/// The topic with this number, or null.
const HelpTopic* findTopic(int number);

/// Topic number of a request "@#" followed by decimal digits; nullopt for any other text,
/// including numbers too large for an int.
std::optional<int> parseTopicRequest(std::string_view request);

/// The topic a request addresses, or null when the request is malformed or names no topic.
const HelpTopic* resolveTopicRequest(std::string_view request);

/// The request text that addresses a topic ("@#" + number).
std::string topicRequest(int number);

/// The topic that describes an element kind (the one its parameter dialog sends).
int topicOfKind(model::ElementKind kind);

}  // namespace wolterix::help
