#include "model/element_catalogue.h"

namespace wolterix::model {
namespace {

// Validity rules: "+" non-zero and positive, "0+" zero allowed, "±" non-zero of either sign,
// "0±" anything. Where the parameter dialog is more lenient than the catalogue (a negative
// motor excitation, a zero motor inertia from an older file), the reader takes the lenient
// rule so that every file the program writes reads back unchanged; the models refuse values
// they cannot compute with before a run.
constexpr NumberRule kPos{false, false};
constexpr NumberRule kPosZ{true, false};
constexpr NumberRule kNonZero{false, true};
constexpr NumberRule kAny{true, true};

constexpr ParameterSpec kRez[] = {{"R", "R=", kPos, "?"}};
constexpr ParameterSpec kInd[] = {
    {"L", "L=", kPos, "?"},
    {.name = "Io", .displayLabel = "Io=", .rule = kAny, .defaultText = "0", .timeOnly = true},
};
constexpr ParameterSpec kPoj[] = {
    {"C", "C=", kPos, "?"},
    {.name = "Uo", .displayLabel = "Uo=", .rule = kAny, .defaultText = "0", .timeOnly = true},
};
constexpr ParameterSpec kDio[] = {{"Rf", "Rf=", kPosZ, "0"}, {"Gd", "Gd=", kPosZ, "0"}};
constexpr ParameterSpec kZen[] = {
    {"Uz", "Uz=", kPos, "?"}, {"Rf", "Rf=", kPosZ, "0"}, {"Gd", "Gd=", kPosZ, "0"}};
constexpr ParameterSpec kTyr[] = {
    {"Rt", "Rt=", kPosZ, "0"},
    {"Gd", "Gd=", kPosZ, "0"},
    {"f", "f=", kPos, "?"},
    {.name = "(on)1", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
    {.name = "(on)2", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
    {.name = "(on)3", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
};
constexpr ParameterSpec kGTO[] = {
    {"Rt", "Rt=", kPosZ, "0"}, {"Gd", "Gd=", kPosZ, "0"}, {"f", "f=", kPos, "?"},
    {"(on)", "(on):", kPosZ, "?"}, {"(off)", "(off):", kPosZ, "?"},
};
constexpr ParameterSpec kBJT[] = {
    {"h11e", "h11e=", kPosZ, "?"}, {"h12e", "h12e=", kPosZ, "?"},
    {"h21e", "h21e=", kPosZ, "?"}, {"h22e", "h22e=", kPosZ, "?"},
};
constexpr ParameterSpec kWar[] = {{"c", "c=", kPos, "?"}, {"ß", "ß=", kPos, "?"}};
constexpr ParameterSpec kNonlinear[] = {
    {"c", "c=", kPos, "?"}, {"ß", "ß=", kPos, "?"}, {"Io", "Io=", kAny, "0"}};
constexpr ParameterSpec kSpr[] = {
    {"L1", "L1=", kPos, "?"},
    {"L2", "L2=", kPos, "?"},
    {"Io1", "Io1=", kAny, "0"},
    {"Io2", "Io2=", kAny, "0"},
    {.name = "M", .displayLabel = "M=", .rule = kPos, .defaultText = "100", .upperBound = 100.0,
     .displaySuffix = "%"},
};
constexpr ParameterSpec kTf1[] = {
    {"S", "S=", kPos, "?"},
    {"U1", "U1=", kPos, "?"},
    {"U2", "U2=", kPos, "?"},
    {"f", "f=", kPos, "?"},
    {.name = "uzr", .displayLabel = "uzr=", .rule = kPos, .defaultText = "?", .upperBound = 100.0,
     .upperInclusive = false, .displaySuffix = "%"},
    {.name = "Ior", .displayLabel = "Ior=", .rule = kPos, .defaultText = "?", .upperBound = 100.0,
     .upperInclusive = false, .displaySuffix = "%"},
    {"Pun", "Pun=", kPosZ, "0"},
    {"Pfen", "Pfen=", kPosZ, "0"},
};
// The load-type flag stands between c and J in the file; the element reads it separately.
constexpr ParameterSpec kSDC[] = {
    {"P", "P=", kPos, "?"},     {"U", "U=", kPos, "?"},     {"I", "I=", kPos, "?"},
    {"n", "n=", kPos, "?"},     {"Rt", "Rt=", kPosZ, "?"},  {"Lt", "Lt=", kPosZ, "?"},
    {"a", "a=", kPosZ, "0"},    {"b", "b=", kPosZ, "0"},    {"c", "c=", kPosZ, "0"},
    {"J", "J=", kPosZ, "?"},    {"f", "f=", kAny, "100"},   {"I(0)", "I(0)=", kAny, "0"},
    {"n(0)", "n(0)=", kAny, "0"},
};
constexpr ParameterSpec kNap[] = {
    {"E", "E=", kPos, "?"}, {"Rw", "Rw=", kPosZ, "0"}, {"f", "f=", kPos, "?"},
    {"faza", "faza=", kAny, "0"}};
constexpr ParameterSpec kPrd[] = {
    {"J", "J=", kPos, "?"}, {"Gw", "Gw=", kPosZ, "0"}, {"f", "f=", kPos, "?"},
    {"faza", "faza=", kAny, "0"}};
constexpr ParameterSpec kZsN[] = {{"k", "E=", kNonZero, "?"}, {"Rw", "Rw=", kPosZ, "0"}};
constexpr ParameterSpec kZsP[] = {{"k", "J=", kNonZero, "?"}, {"Gw", "Gw=", kPosZ, "0"}};
constexpr ParameterSpec kNWe[] = {{"Poziom", "Poziom: ", kAny, "0"}};
constexpr ParameterSpec kWyl[] = {
    {.name = "t1", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
    {.name = "t2", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
};

// Label offset codes for orientations 1, 3, 5, 7.
constexpr std::array<LabelCode, 4> kLabelCommon{{{10, -5}, {1000, 8}, {2009, -5}, {1000, -20}}};
constexpr std::array<LabelCode, 4> kLabelWide{{{12, -5}, {1000, 10}, {2011, -5}, {1000, -22}}};
constexpr std::array<LabelCode, 4> kLabelRez{{{8, -5}, {1000, 6}, {2007, -5}, {1000, -18}}};
constexpr std::array<LabelCode, 4> kLabelNarrow{{{6, -5}, {1000, 4}, {2005, -5}, {1000, -16}}};
constexpr std::array<LabelCode, 4> kLabelBJT{{{10, 2}, {2002, 8}, {2009, -13}, {3, -20}}};
constexpr std::array<LabelCode, 4> kLabelMmW{{{5, -20}, {6, 7}, {2006, 7}, {2005, -20}}};
constexpr std::array<LabelCode, 4> kLabelWinding{
    {{1000, 3003}, {-4002, -5}, {1000, -3014}, {3003, -5}}};

using K = ElementKind;
// clang-format off
constexpr KindInfo kCatalogue[] = {
  // kind    code   class            palette name                   prefix parameters  labels
  {K::Rez, "Rez", "Rezystancja",    "Rezystancja",                 "R",  kRez,       kLabelRez},
  {K::Ind, "Ind", "Indukcyjnosc",   "Indukcyjność",                "L",  kInd,       kLabelNarrow},
  {K::Poj, "Poj", "Pojemnosc",      "Pojemność",                   "C",  kPoj,       kLabelCommon},
  {K::Dio, "Dio", "Dioda",          "Dioda",                       "D",  kDio,       kLabelCommon},
  {K::Zen, "Zen", "Zener",          "Dioda Zenera",                "DZ", kZen,       kLabelCommon},
  {K::Tyr, "Tyr", "TyrystorSCR",    "Tyrystor SCR",                "T",  kTyr,       kLabelCommon},
  {K::GTO, "GTO", "TyrystorGTO",    "Tyrystor GTO",                "GT", kGTO,       kLabelCommon},
  {K::TrM, "TrM", "TranzMocy",      "Tranzystor mocy",             "TM", kGTO,       kLabelWide},
  {K::BJT, "BJT", "TranzystorBJT",  "Tranzystor Bipolarny",        "B",  kBJT,       kLabelBJT},
  {K::RCT, "RCT", "TyrystorRCT",    "Tyrystor RCT",                "RT", kTyr,       kLabelCommon},
  {K::War, "War", "Warystor",       "Warystor",                    "Rv", kWar,       kLabelCommon},
  {K::nlL, "nlL", "IndNieliniowa",  "Indukcyjność nieliniowa",     "Lv", kNonlinear, kLabelCommon},
  {K::nlC, "nlC", "PojNieliniowa",  "Pojemność nieliniowa",        "Cv", kNonlinear, kLabelCommon},
  {K::Spr, "Spr", "Sprzezenie",     "Cewki sprzężone",             "M",  kSpr,       kLabelWinding},
  {K::Tf1, "Tf1", "Trafo1faz",      "Transformator jednofazowy",   "Tf", kTf1,       kLabelWinding},
  {K::sDC, "sDC", "SilnikDC",       "Silnik prądu stałego",        "S",  kSDC,       kLabelCommon},
  {K::Nap, "Nap", "Napiecie",       "Źródło napięcia",             "E",  kNap,       kLabelCommon},
  {K::Prd, "Prd", "Prond",          "Źródło prądu",                "J",  kPrd,       kLabelCommon},
  {K::zsN, "zsN", "NapiecieSter",   "Źródło napięcia sterowane",   "Es", kZsN,       kLabelWide},
  {K::zsP, "zsP", "ProndSter",      "Źródło prądu sterowane",      "Js", kZsP,       kLabelWide},
  {K::nWe, "nWe", "NapWej",         "Napięcie wejściowe",          "U",  kNWe,       kLabelCommon},
  {K::mmV, "mmV", "Woltomierz",     "Woltomierz",                  "V",  {},         kLabelCommon},
  {K::mmA, "mmA", "Amperomierz",    "Amperomierz",                 "A",  {},         kLabelCommon},
  {K::mmW, "mmW", "Watomierz",      "Watomierz",                   "W",  {},         kLabelMmW},
  {K::wyl, "wyl", "Wylacznik",      "Wyłącznik",                   "Ł",  kWyl,       kLabelNarrow},
};
// clang-format on

}  // namespace

bool ParameterSpec::accepts(std::string_view text) const {
  if (!isValidNumber(text, rule)) return false;
  const double value = *parseNumber(text);
  return upperInclusive ? value <= upperBound : value < upperBound;
}

std::span<const KindInfo> allKinds() { return kCatalogue; }

const KindInfo& kindInfo(ElementKind kind) {
  for (const KindInfo& info : kCatalogue)
    if (info.kind == kind) return info;
  return kCatalogue[0];  // unreachable for a valid enumerator
}

std::optional<ElementKind> kindFromCode(std::string_view code) {
  for (const KindInfo& info : kCatalogue)
    if (info.code == code) return info.kind;
  return std::nullopt;
}

std::optional<ElementKind> kindFromNumber(int number) {
  for (const KindInfo& info : kCatalogue)
    if (static_cast<int>(info.kind) == number) return info.kind;
  return std::nullopt;
}

bool isSourceKind(ElementKind kind) {
  return kind == K::Nap || kind == K::Prd || kind == K::zsN || kind == K::zsP || kind == K::nWe;
}

bool hasSwapFlag(ElementKind kind) { return kind == K::BJT || kind == K::Spr || kind == K::mmW; }

int terminalCount(ElementKind kind) {
  switch (kind) {
    case K::BJT: return 3;
    case K::Spr:
    case K::Tf1:
    case K::mmW: return 4;
    case K::Rez: case K::Ind: case K::Poj: case K::Dio: case K::Zen: case K::Tyr:
    case K::GTO: case K::TrM: case K::RCT: case K::War: case K::nlL: case K::nlC:
    case K::sDC: case K::Nap: case K::Prd: case K::zsN: case K::zsP: case K::nWe:
    case K::mmV: case K::mmA: case K::wyl: return 2;
  }
  return 2;
}

namespace {
struct WaveformNames {
  Waveform waveform;
  std::string_view code;
  std::string_view longName;
};
constexpr WaveformNames kWaveforms[] = {
    {Waveform::Constant, "st", "stałe"},
    {Waveform::Sine, "sin", "sinusoidalne"},
    {Waveform::Square, "pro", "prostokątne"},
    {Waveform::Triangle, "tr", "trójkątne"},
    {Waveform::Sawtooth, "pil", "piłokształtne"},
};
}  // namespace

std::string_view waveformCode(Waveform w) { return kWaveforms[static_cast<int>(w)].code; }
std::string_view waveformLongName(Waveform w) { return kWaveforms[static_cast<int>(w)].longName; }
std::optional<Waveform> waveformFromCode(std::string_view code) {
  for (const auto& names : kWaveforms)
    if (names.code == code) return names.waveform;
  return std::nullopt;
}

}  // namespace wolterix::model
