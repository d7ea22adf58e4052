#include "model/element_catalogue.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace wolterix::model {
namespace {

// Validity rules: "+" non-zero and positive, "0+" zero allowed, "±" non-zero of either sign,
// "0±" anything. Where the dialog is stricter than the reader (a zero motor inertia or
// armature or h-parameter from an older file, a negative initial value of a nonlinear
// element), the row holds
// both: the reader takes the lenient rule so that every file reads back unchanged, and the
// models refuse values they cannot compute with before a run.
constexpr NumberRule kPos{false, false};
constexpr NumberRule kPosZ{true, false};
constexpr NumberRule kNonZero{false, true};
constexpr NumberRule kAny{true, true};

constexpr ParameterRow stricterInDialog(ParameterRow row, NumberRule dialogRule) {
  row.dialogOnlyRule = dialogRule;
  return row;
}

// clang-format off
constexpr ParameterRow kRez[] = {{"R", "R=", kPos, "?"}};
constexpr ParameterRow kInd[] = {
    {"L", "L=", kPos, "?"},
    {.name = "Io", .displayLabel = "Io=", .rule = kAny, .defaultText = "0", .timeOnly = true},
};
constexpr ParameterRow kPoj[] = {
    {"C", "C=", kPos, "?"},
    {.name = "Uo", .displayLabel = "Uo=", .rule = kAny, .defaultText = "0", .timeOnly = true},
};
constexpr ParameterRow kDio[] = {{"Rf", "Rf=", kPosZ, "0"}, {"Gd", "Gd=", kPosZ, "0"}};
constexpr ParameterRow kZen[] = {
    {"Uz", "Uz=", kPos, "?"}, {"Rf", "Rf=", kPosZ, "0"}, {"Gd", "Gd=", kPosZ, "0"}};
constexpr ParameterRow kTyr[] = {
    {"Rt", "Rt=", kPosZ, "0"},
    {"Gd", "Gd=", kPosZ, "0"},
    {"f", "f=", kPos, "?"},
    {.name = "(on)1", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
    {.name = "(on)2", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
    {.name = "(on)3", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
};
constexpr ParameterRow kGTO[] = {
    {"Rt", "Rt=", kPosZ, "0"}, {"Gd", "Gd=", kPosZ, "0"}, {"f", "f=", kPos, "?"},
    {"(on)", "(on):", kPosZ, "?"}, {"(off)", "(off):", kPosZ, "?"},
};
constexpr ParameterRow kBJT[] = {
    stricterInDialog({"h11e", "h11e=", kPosZ, "?"}, kPos),
    stricterInDialog({"h12e", "h12e=", kPosZ, "?"}, kPos),
    stricterInDialog({"h21e", "h21e=", kPosZ, "?"}, kPos),
    stricterInDialog({"h22e", "h22e=", kPosZ, "?"}, kPos),
};
constexpr ParameterRow kWar[] = {{"c", "c=", kPos, "?"}, {"ß", "ß=", kPos, "?"}};
constexpr ParameterRow kNonlinear[] = {
    {"c", "c=", kPos, "?"},
    {"ß", "ß=", kPos, "?"},
    stricterInDialog({"Io", "Io=", kAny, "0"}, kPosZ),
};
constexpr ParameterRow kSpr[] = {
    {"L1", "L1=", kPos, "?"},
    {"L2", "L2=", kPos, "?"},
    {"Io1", "Io1=", kAny, "0"},
    {"Io2", "Io2=", kAny, "0"},
    {.name = "M", .displayLabel = "M=", .rule = kPos, .defaultText = "100", .upperBound = 100.0,
     .displaySuffix = "%"},
};
constexpr ParameterRow kTf1[] = {
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
constexpr ParameterRow kSDC[] = {
    {"P", "P=", kPos, "?"},
    {"U", "U=", kPos, "?"},
    {"I", "I=", kPos, "?"},
    {"n", "n=", kPos, "?"},
    stricterInDialog({"Rt", "Rt=", kPosZ, "?"}, kPos),
    stricterInDialog({"Lt", "Lt=", kPosZ, "?"}, kPos),
    {"a", "a=", kPosZ, "0"},
    {"b", "b=", kPosZ, "0"},
    {"c", "c=", kPosZ, "0"},
    stricterInDialog({"J", "J=", kPosZ, "?"}, kPos),
    {"f", "f=", kAny, "100"},
    {"I(0)", "I(0)=", kAny, "0"},
    {"n(0)", "n(0)=", kAny, "0"},
};
constexpr ParameterRow kNap[] = {
    {"E", "E=", kPos, "?"}, {"Rw", "Rw=", kPosZ, "0"}, {"f", "f=", kPos, "?"},
    {"faza", "faza=", kAny, "0"}};
constexpr ParameterRow kPrd[] = {
    {"J", "J=", kPos, "?"}, {"Gw", "Gw=", kPosZ, "0"}, {"f", "f=", kPos, "?"},
    {"faza", "faza=", kAny, "0"}};
constexpr ParameterRow kZsN[] = {{"k", "E=", kNonZero, "?"}, {"Rw", "Rw=", kPosZ, "0"}};
constexpr ParameterRow kZsP[] = {{"k", "J=", kNonZero, "?"}, {"Gw", "Gw=", kPosZ, "0"}};
constexpr ParameterRow kNWe[] = {{"Poziom", "Poziom: ", kAny, "0"}};
constexpr ParameterRow kWyl[] = {
    {.name = "t1", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
    {.name = "t2", .displayLabel = "", .rule = kPosZ, .defaultText = "?", .optional = true},
};
// clang-format on

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
using F = Family;
using B = BranchLayout;
constexpr std::uint8_t kArrows = kVoltageArrow | kCurrentArrow;
constexpr std::uint8_t kUIP = kWaveU | kWaveI | kWaveP;

// clang-format off
constexpr KindInfo kCatalogue[] = {
  // kind, code, class, caption (dialog, help, menu), palette hint, prefix;
  //   family, terminals, branches, swap flag, time only, arrows, waveforms, help topic;
  //   what the palette hint says the button does;
  //   parameters, labels
  {K::Rez, "Rez", "Rezystancja",   "Rezystancja",               "Rezystancja",               "R",
     F::Passive,       2, B::Single,      false, false, kArrows,       kUIP,            51,
     "Umożliwia wstawienie rezystancji",
     kRez, kLabelRez},
  {K::Ind, "Ind", "Indukcyjnosc",  "Indukcyjność",              "Indukcyjność",              "L",
     F::Passive,       2, B::Single,      false, false, kArrows,       kUIP,            52,
     "Umożliwia wstawienie indukcyjności",
     kInd, kLabelNarrow},
  {K::Poj, "Poj", "Pojemnosc",     "Pojemność",                 "Pojemność",                 "C",
     F::Passive,       2, B::Single,      false, false, kArrows,       kUIP,            53,
     "Umożliwia wstawienie pojemności",
     kPoj, kLabelCommon},
  {K::Dio, "Dio", "Dioda",         "Dioda",                     "Dioda",                     "D",
     F::Semiconductor, 2, B::Single,      false, true,  kArrows,       kUIP,            57,
     "Umożliwia wstawienie diody prostowniczej",
     kDio, kLabelCommon},
  {K::Zen, "Zen", "Zener",         "Dioda Zenera",              "Dioda Zenera",              "DZ",
     F::Semiconductor, 2, B::Single,      false, true,  kArrows,       kUIP,            58,
     "Umożliwia wstawienie diody Zenera",
     kZen, kLabelCommon},
  {K::Tyr, "Tyr", "TyrystorSCR",   "Tyrystor SCR",              "Tyrystor SCR",              "T",
     F::Semiconductor, 2, B::Single,      false, true,  kArrows,       kUIP,            59,
     "Umożliwia wstawienie tyrystora SCR (półsterowalnego)",
     kTyr, kLabelCommon},
  {K::GTO, "GTO", "TyrystorGTO",   "Tyrystor GTO",              "Tyrystor GTO",              "GT",
     F::Semiconductor, 2, B::Single,      false, true,  kArrows,       kUIP,            61,
     "Umożliwia wstawienie tyrystora GTO (pełnosterowalnego)",
     kGTO, kLabelCommon},
  {K::TrM, "TrM", "TranzMocy",     "Tranzystor mocy",           "Tranzystor mocy",           "TM",
     F::Semiconductor, 2, B::Single,      false, true,  kArrows,       kUIP,            62,
     "Umożliwia wstawienie tranzystora mocy (zaworu pełnosterowalnego)",
     kGTO, kLabelWide},
  {K::BJT, "BJT", "TranzystorBJT", "Tranzystor bipolarny",      "Tranzystor Bipolarny",      "B",
     F::Semiconductor, 3, B::Transistor,  true,  true,  kVoltageArrow, kWaveU | kWaveI, 67,
     "Umożliwia wstawienie tranzystora bipolarnego",
     kBJT, kLabelBJT},
  {K::RCT, "RCT", "TyrystorRCT",   "Tyrystor RCT",              "Tyrystor RCT",              "RT",
     F::Semiconductor, 2, B::Single,      false, true,  kArrows,       kUIP,            60,
     "Umożliwia wstawienie tyrystora RCT (przewodzącego wstecznie)",
     kTyr, kLabelCommon},
  {K::War, "War", "Warystor",      "Warystor",                  "Warystor",                  "Rv",
     F::Passive,       2, B::Single,      false, true,  kArrows,       kUIP,            54,
     "Umożliwia wstawienie warystora",
     kWar, kLabelCommon},
  {K::nlL, "nlL", "IndNieliniowa", "Indukcyjność nieliniowa",   "Indukcyjność nieliniowa",   "Lv",
     F::Passive,       2, B::Single,      false, true,  kArrows,       kUIP,            55,
     "Umożliwia wstawienie indukcyjności nieliniowej",
     kNonlinear, kLabelCommon},
  {K::nlC, "nlC", "PojNieliniowa", "Pojemność nieliniowa",      "Pojemność nieliniowa",      "Cv",
     F::Passive,       2, B::Single,      false, true,  kArrows,       kUIP,            56,
     "Umożliwia wstawienie pojemności nieliniowej",
     kNonlinear, kLabelCommon},
  {K::Spr, "Spr", "Sprzezenie",    "Cewki sprzężone",           "Cewki sprzężone",           "M",
     F::Machine,       4, B::TwoWindings, true,  true,  kNoArrows,     0,               65,
     "Umożliwia wstawienie cewek sprzężonych magnetycznie",
     kSpr, kLabelWinding},
  {K::Tf1, "Tf1", "Trafo1faz",     "Transformator jednofazowy", "Transformator jednofazowy", "Tf",
     F::Machine,       4, B::TwoWindings, false, true,  kNoArrows,     0,               66,
     "Umożliwia wstawienie transformatora jednofazowego",
     kTf1, kLabelWinding},
  {K::sDC, "sDC", "SilnikDC",      "Silnik prądu stałego",      "Silnik prądu stałego",      "S",
     F::Machine,       2, B::Single,      false, true,  kArrows,       kUIP | kWaveN,   64,
     "Umożliwia wstawienie silnika obcowzbudnego prądu stałego",
     kSDC, kLabelCommon},
  {K::Nap, "Nap", "Napiecie",      "Źródło napięcia",           "Źródło napięcia",           "E",
     F::Source,        2, B::Single,      false, true,  kArrows,       kUIP,            46,
     "Umożliwia wstawienie źródła napięcia różnego rodzaju",
     kNap, kLabelCommon},
  {K::Prd, "Prd", "Prond",         "Źródło prądu",              "Źródło prądu",              "J",
     F::Source,        2, B::Single,      false, true,  kArrows,       kUIP,            47,
     "Umożliwia wstawienie źródła prądu różnego rodzaju",
     kPrd, kLabelCommon},
  {K::zsN, "zsN", "NapiecieSter",  "Źródło napięcia sterowane", "Źródło napięcia sterowane", "Es",
     F::Source,        2, B::Single,      false, true,  kArrows,       kUIP,            48,
     "Umożliwia wstawienie sterowanego źródła napięcia",
     kZsN, kLabelWide},
  {K::zsP, "zsP", "ProndSter",     "Źródło prądu sterowane",    "Źródło prądu sterowane",    "Js",
     F::Source,        2, B::Single,      false, true,  kArrows,       kUIP,            49,
     "Umożliwia wstawienie sterowanego źródła prądu",
     kZsP, kLabelWide},
  {K::nWe, "nWe", "NapWej",        "Napięcie wejściowe",        "Napięcie wejściowe",        "U",
     F::Source,        2, B::Single,      false, false, kArrows,       kUIP,            50,
     "Umożliwia wstawienie napięcia wejściowego transmitancji",
     kNWe, kLabelCommon},
  {K::mmV, "mmV", "Woltomierz",    "Woltomierz",                "Woltomierz",                "V",
     F::Meter,         2, B::Single,      false, false, kNoArrows,     kWaveU,          68,
     "Umożliwia wstawienie woltomierza",
     {}, kLabelCommon},
  {K::mmA, "mmA", "Amperomierz",   "Amperomierz",               "Amperomierz",               "A",
     F::Meter,         2, B::Single,      false, true,  kNoArrows,     kWaveI,          69,
     "Umożliwia wstawienie amperomierza",
     {}, kLabelCommon},
  {K::mmW, "mmW", "Watomierz",     "Watomierz",                 "Watomierz",                 "W",
     F::Meter,         4, B::TwoPaths,    true,  true,  kNoArrows,     kWaveP,          70,
     "Umożliwia wstawienie watomierza",
     {}, kLabelMmW},
  {K::wyl, "wyl", "Wylacznik",     "Wyłącznik",                 "Wyłącznik",                 "Ł",
     F::Semiconductor, 2, B::Single,      false, true,  kArrows,       kUIP,            63,
     "Umożliwia wstawienie wyłącznika",
     kWyl, kLabelNarrow},
};
// clang-format on

static_assert(std::size(kCatalogue) == 25, "twenty-five kinds");

constexpr bool codesAndNumbersUnique() {
  for (std::size_t i = 0; i < std::size(kCatalogue); ++i)
    for (std::size_t j = i + 1; j < std::size(kCatalogue); ++j)
      if (kCatalogue[i].code == kCatalogue[j].code || kCatalogue[i].kind == kCatalogue[j].kind ||
          kCatalogue[i].helpTopic == kCatalogue[j].helpTopic)
        return false;
  return true;
}
static_assert(codesAndNumbersUnique(), "codes, numeric kinds and help topics are unique");

// Whatever a dialog stores must read back from the file.
constexpr bool dialogsNoLaxerThanTheReader() {
  for (const KindInfo& info : kCatalogue)
    for (const ParameterRow& row : info.parameters) {
      const NumberRule dialog = row.dialogRule();
      if ((dialog.zeroAllowed && !row.rule.zeroAllowed) ||
          (dialog.negativeAllowed && !row.rule.negativeAllowed))
        return false;
    }
  return true;
}
static_assert(dialogsNoLaxerThanTheReader());

// Row of each numeric kind, so that the lookups in the step and numbering loops cost nothing.
constexpr std::array<std::int8_t, 256> kRowOfNumber = [] {
  std::array<std::int8_t, 256> rows{};
  rows.fill(-1);
  for (std::size_t i = 0; i < std::size(kCatalogue); ++i)
    rows[static_cast<std::size_t>(kCatalogue[i].kind)] = static_cast<std::int8_t>(i);
  return rows;
}();

// The named positions name what the rows hold: a reordered list fails here, not in a run.
template <std::size_t N>
constexpr bool positions(std::span<const ParameterRow> rows, std::size_t count,
                         const std::pair<std::size_t, std::string_view> (&names)[N]) {
  if (rows.size() != count) return false;
  for (const auto& [position, name] : names)
    if (rows[position].name != name) return false;
  return true;
}
namespace p = param;
static_assert(positions(kRez, p::rez::Count, {{p::rez::R, "R"}}));
static_assert(positions(kInd, p::ind::Count, {{p::ind::L, "L"}, {p::ind::Io, "Io"}}));
static_assert(positions(kPoj, p::poj::Count, {{p::poj::C, "C"}, {p::poj::Uo, "Uo"}}));
static_assert(positions(kDio, p::dio::Count, {{p::dio::Rf, "Rf"}, {p::dio::Gd, "Gd"}}));
static_assert(positions(kZen, p::zen::Count,
                        {{p::zen::Uz, "Uz"}, {p::zen::Rf, "Rf"}, {p::zen::Gd, "Gd"}}));
static_assert(positions(kTyr, p::tyr::Count,
                        {{p::tyr::Rt, "Rt"},
                         {p::tyr::Gd, "Gd"},
                         {p::tyr::F, "f"},
                         {p::tyr::On1, "(on)1"},
                         {p::tyr::On2, "(on)2"},
                         {p::tyr::On3, "(on)3"}}));
static_assert(positions(kGTO, p::gto::Count,
                        {{p::gto::Rt, "Rt"},
                         {p::gto::Gd, "Gd"},
                         {p::gto::F, "f"},
                         {p::gto::On, "(on)"},
                         {p::gto::Off, "(off)"}}));
static_assert(positions(kBJT, p::bjt::Count,
                        {{p::bjt::H11e, "h11e"},
                         {p::bjt::H12e, "h12e"},
                         {p::bjt::H21e, "h21e"},
                         {p::bjt::H22e, "h22e"}}));
static_assert(positions(kWar, p::war::Count, {{p::war::C, "c"}, {p::war::Beta, "ß"}}));
static_assert(
    positions(kNonlinear, p::nonlinear::Count,
              {{p::nonlinear::C, "c"}, {p::nonlinear::Beta, "ß"}, {p::nonlinear::Initial, "Io"}}));
static_assert(positions(kSpr, p::spr::Count,
                        {{p::spr::L1, "L1"},
                         {p::spr::L2, "L2"},
                         {p::spr::Io1, "Io1"},
                         {p::spr::Io2, "Io2"},
                         {p::spr::M, "M"}}));
static_assert(positions(kTf1, p::tf1::Count,
                        {{p::tf1::S, "S"},
                         {p::tf1::U1, "U1"},
                         {p::tf1::U2, "U2"},
                         {p::tf1::F, "f"},
                         {p::tf1::Uzr, "uzr"},
                         {p::tf1::Ior, "Ior"},
                         {p::tf1::Pun, "Pun"},
                         {p::tf1::Pfen, "Pfen"}}));
static_assert(positions(kSDC, p::sdc::Count,
                        {{p::sdc::P, "P"},
                         {p::sdc::U, "U"},
                         {p::sdc::I, "I"},
                         {p::sdc::N, "n"},
                         {p::sdc::Rt, "Rt"},
                         {p::sdc::Lt, "Lt"},
                         {p::sdc::A, "a"},
                         {p::sdc::B, "b"},
                         {p::sdc::C, "c"},
                         {p::sdc::J, "J"},
                         {p::sdc::Excitation, "f"},
                         {p::sdc::I0, "I(0)"},
                         {p::sdc::N0, "n(0)"}}));
static_assert(positions(kNap, p::source::Count,
                        {{p::source::Value, "E"},
                         {p::source::Internal, "Rw"},
                         {p::source::F, "f"},
                         {p::source::Phase, "faza"}}));
static_assert(positions(kPrd, p::source::Count,
                        {{p::source::Value, "J"},
                         {p::source::Internal, "Gw"},
                         {p::source::F, "f"},
                         {p::source::Phase, "faza"}}));
static_assert(positions(kZsN, p::controlled::Count,
                        {{p::controlled::K, "k"}, {p::controlled::Internal, "Rw"}}));
static_assert(positions(kZsP, p::controlled::Count,
                        {{p::controlled::K, "k"}, {p::controlled::Internal, "Gw"}}));
static_assert(positions(kNWe, p::nwe::Count, {{p::nwe::Level, "Poziom"}}));
static_assert(positions(kWyl, p::wyl::Count, {{p::wyl::T1, "t1"}, {p::wyl::T2, "t2"}}));

}  // namespace

bool ParameterRow::accepts(std::string_view text) const {
  if (!isValidNumber(text, rule)) return false;
  const double value = *parseNumber(text);
  return upperInclusive ? value <= upperBound : value < upperBound;
}

bool ParameterRow::dialogAccepts(std::string_view text) const {
  return isValidNumber(text, dialogRule()) && accepts(text);
}

std::span<const KindInfo> allKinds() { return kCatalogue; }

const KindInfo& kindInfo(ElementKind kind) {
  const int row = kRowOfNumber[static_cast<std::size_t>(kind)];
  if (row < 0) unknownKind(kind, "kindInfo");
  return kCatalogue[row];
}

std::optional<ElementKind> kindFromCode(std::string_view code) {
  for (const KindInfo& info : kCatalogue)
    if (info.code == code) return info.kind;
  return std::nullopt;
}

std::optional<ElementKind> kindFromNumber(int number) {
  if (number < 0 || number >= static_cast<int>(kRowOfNumber.size())) return std::nullopt;
  const int row = kRowOfNumber[static_cast<std::size_t>(number)];
  if (row < 0) return std::nullopt;
  return kCatalogue[row].kind;
}

void unknownKind(ElementKind kind, std::string_view where) {
  std::fprintf(stderr, "Błąd wewnętrzny: rodzaj elementu %d pominięty w %.*s\n",
               static_cast<int>(kind), static_cast<int>(where.size()), where.data());
  std::abort();
}

namespace {
struct WaveformNames {
  Waveform waveform;
  std::string_view code;
  std::string_view longName;
};
constexpr WaveformNames kWaveforms[] = {
    {Waveform::Constant, "st", "stałe"},          {Waveform::Sine, "sin", "sinusoidalne"},
    {Waveform::Square, "pro", "prostokątne"},     {Waveform::Triangle, "tr", "trójkątne"},
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
