#include "model/schematic_file.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <unordered_set>

#include "model/cp1250.h"
#include "model/element.h"
#include "model/messages.h"
#include "model/schematic.h"

namespace wolterix::model {
namespace {

// The name delimiters in code page 1250.
constexpr char kNameOpen = '\xAB';
constexpr char kNameClose = '\xBB';
constexpr std::string_view kNameOpenSet = "\xAB";
constexpr std::string_view kNameCloseSet = "\xBB";

// Files larger than this are not schematics (a full 101 x 101 grid needs a few megabytes).
constexpr std::uintmax_t kMaxFileSize = 64u << 20;

// Splits like the classic tokenizer: each call names its own delimiter set, runs of
// delimiters before a token are skipped, and one delimiter after it is consumed.
class Tokenizer {
public:
  explicit Tokenizer(std::string_view text) : m_text(text) {}

  std::optional<std::string_view> next(std::string_view delimiters) {
    while (m_pos < m_text.size() && delimiters.find(m_text[m_pos]) != std::string_view::npos)
      ++m_pos;
    if (m_pos >= m_text.size()) return std::nullopt;
    const std::size_t start = m_pos;
    while (m_pos < m_text.size() && delimiters.find(m_text[m_pos]) == std::string_view::npos)
      ++m_pos;
    const std::string_view token = m_text.substr(start, m_pos - start);
    if (m_pos < m_text.size()) ++m_pos;
    return token;
  }

private:
  std::string_view m_text;
  std::size_t m_pos = 0;
};

std::optional<int> parseCoordinate(std::optional<std::string_view> token) {
  if (!token) return std::nullopt;
  int value = 0;
  const char* first = token->data();
  const char* last = first + token->size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last || value < 0 || value >= kGridSize) return std::nullopt;
  return value;
}

std::optional<GridPoint> parsePoint(Tokenizer& tokens, std::string_view afterY) {
  const auto x = parseCoordinate(tokens.next("|"));
  const auto y = parseCoordinate(tokens.next(afterY));
  if (!x || !y) return std::nullopt;
  return GridPoint{*x, *y};
}

struct ElementLine {
  ElementKind kind{};
  std::string name;
  GridPoint position;
  int orientation = 3;
  bool showVoltage = false;
  bool showCurrent = false;
  bool voltageDirection = false;
  bool currentDirection = false;
  bool showName = false;
  bool swapped = false;
  std::string parameters;
};

std::optional<ElementLine> parseElementLine(Tokenizer& tokens) {
  ElementLine line;
  const auto code = tokens.next(kNameOpenSet);
  const auto name = tokens.next(kNameCloseSet);
  if (!code || !name) return std::nullopt;
  const auto kind = kindFromCode(*code);
  if (!kind) return std::nullopt;
  line.kind = *kind;
  line.name = *decodeCp1250(*name);  // the whole line was checked to decode
  const auto position = parsePoint(tokens, "|");
  const auto orientation = tokens.next("|");
  if (!position || !orientation) return std::nullopt;
  line.position = *position;
  if (orientation->size() != 1 || std::string_view("1357").find((*orientation)[0]) ==
                                      std::string_view::npos)
    return std::nullopt;
  line.orientation = (*orientation)[0] - '0';
  bool* flags[] = {&line.showVoltage, &line.showCurrent, &line.voltageDirection,
                   &line.currentDirection, &line.showName};
  for (bool* flag : flags) {
    const auto token = tokens.next("|");
    if (!token) return std::nullopt;
    *flag = token->front() == '1';
  }
  if (hasSwapFlag(line.kind)) {
    const auto token = tokens.next("|");
    if (!token) return std::nullopt;
    line.swapped = token->front() == '1';
  }
  const auto parameters = tokens.next("$");
  if (!parameters) return std::nullopt;
  line.parameters = *decodeCp1250(*parameters);
  return line;
}

void widen(ReadResult& result, GridPoint p) {
  result.min = {std::min(result.min.x, p.x), std::min(result.min.y, p.y)};
  result.max = {std::max(result.max.x, p.x), std::max(result.max.y, p.y)};
}

std::string flag(bool value) { return value ? "1" : "0"; }

// Editors and mail programs leave blanks and tabs at line ends; they carry nothing.
std::string_view withoutTrailingBlanks(std::string_view line) {
  const std::size_t last = line.find_last_not_of(" \t");
  return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

}  // namespace

namespace {

// One element line. Without display flags the arrows and the name are written as hidden,
// which makes the line describe the circuit only.
std::string elementLine(const Element& e, bool transferMode, bool displayFlags) {
  const GridPoint p = e.position();
  std::string line = "E:" + e.nameOrCode(false) + kNameOpen + encodeCp1250(e.name()) + kNameClose +
                     std::to_string(p.x) + '|' + std::to_string(p.y) + '|' +
                     std::to_string(e.orientation()) + '|' +
                     flag(displayFlags && e.showVoltage) + '|' +
                     flag(displayFlags && e.showCurrent) + '|' + flag(e.voltageDirection) + '|' +
                     flag(e.currentDirection()) + '|' + flag(displayFlags && e.showName) + '|';
  if (hasSwapFlag(e.kind())) line += flag(e.terminalsSwapped) + '|';
  line += encodeCp1250(e.parameterText(TextForm::File, transferMode));
  line += "/$";
  return line;
}

void writeLines(const Schematic& schematic, SchematicText& lines, bool selectedOnly,
                bool displayFlags) {
  lines.clear();
  if (schematic.transferMode()) lines.emplace_back(messages::kTransferHeader);
  const auto wanted = [&](const Obiekt& object) { return !selectedOnly || object.selected; };
  for (const auto& e : schematic.elements())
    if (wanted(*e)) lines.push_back(elementLine(*e, schematic.transferMode(), displayFlags));
  for (const auto& w : schematic.wires()) {
    if (!wanted(*w)) continue;
    lines.push_back("L:" + std::to_string(w->start().x) + '|' + std::to_string(w->start().y) +
                    '|' + std::to_string(w->end().x) + '|' + std::to_string(w->end().y) + '$');
  }
  for (const auto& j : schematic.junctions()) {
    if (!wanted(*j)) continue;
    const GridPoint p = j->position();
    lines.push_back("W:" + std::to_string(p.x) + '|' + std::to_string(p.y) + '$');
  }
}

}  // namespace

void writeSchematic(const Schematic& schematic, SchematicText& lines, bool selectedOnly) {
  writeLines(schematic, lines, selectedOnly, true);
}

std::string circuitFingerprint(const Schematic& schematic) {
  SchematicText lines;
  writeLines(schematic, lines, false, false);
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

ReadResult readSchematic(Schematic& schematic, const SchematicText& lines, ReadMode mode, int dx,
                         int dy) {
  ReadResult result;
  if (!lines.empty())
    schematic.setTransferMode(withoutTrailingBlanks(lines.front()) == messages::kTransferHeader);
  const GridPoint shift = (mode == ReadMode::PasteCheck || mode == ReadMode::PasteInsert)
                              ? GridPoint{dx, dy}
                              : GridPoint{0, 0};
  const bool create = mode == ReadMode::Open || mode == ReadMode::PasteInsert;

  // The names in use, so that a taken one is found without walking the elements each time.
  // Pasting leaves duplicates to the editor, which renames only the pasted group.
  std::unordered_set<std::string> names;
  if (mode == ReadMode::Open)
    for (const auto& e : schematic.elements()) names.insert(e->name());

  // Measures, checks or creates one object; false only when a paste check is refused.
  const auto place = [&](int kindNumber, GridPoint a, GridPoint b) {
    switch (mode) {
      case ReadMode::MeasureBounds:
        widen(result, a);
        widen(result, b);
        return true;
      case ReadMode::PasteCheck:
        return schematic.addObject(kindNumber, a + shift, b + shift, true);
      case ReadMode::Open:
      case ReadMode::PasteInsert:
        return schematic.addObject(kindNumber, a + shift, b + shift, false);
    }
    return true;
  };

  enum class Outcome { Read, Skipped, PasteRefused };
  const auto readLine = [&](std::string_view text) {
    // Control characters and bytes the code page does not define make a line unreadable.
    if (!decodeCp1250(text)) return Outcome::Skipped;
    Tokenizer tokens(text);
    const auto type = tokens.next(":");
    if (!type) return Outcome::Skipped;
    switch (type->front()) {
      case 'L': {
        const auto a = parsePoint(tokens, "|");
        const auto b = parsePoint(tokens, "$");
        if (!a || !b || !isGridAligned(*a, *b)) return Outcome::Skipped;
        if (place(kWireKind, *a, *b)) return Outcome::Read;
        return mode == ReadMode::PasteCheck ? Outcome::PasteRefused : Outcome::Skipped;
      }
      case 'W': {
        const auto p = parsePoint(tokens, "$");
        if (!p) return Outcome::Skipped;
        if (place(kJunctionKind, *p, *p)) return Outcome::Read;
        return mode == ReadMode::PasteCheck ? Outcome::PasteRefused : Outcome::Skipped;
      }
      case 'E':
        break;
      default:
        return Outcome::Skipped;
    }
    const auto line = parseElementLine(tokens);
    if (!line) return Outcome::Skipped;
    if (line->kind == ElementKind::nWe && schematic.hasInputVoltage()) return Outcome::Skipped;
    const int kindNumber = static_cast<int>(line->kind);
    if (!create) {
      if (place(kindNumber, line->position, line->position)) return Outcome::Read;
      return mode == ReadMode::PasteCheck ? Outcome::PasteRefused : Outcome::Skipped;
    }
    if (!place(kindNumber, line->position, line->position)) return Outcome::Skipped;
    auto& element = static_cast<Element&>(*schematic.lastCreated());
    element.showVoltage = line->showVoltage;
    element.showCurrent = line->showCurrent;
    element.voltageDirection = line->voltageDirection;
    element.setCurrentDirection(line->currentDirection);
    element.showName = line->showName;
    if (line->swapped) element.setTerminalsSwapped(schematic.occupancy(), true);
    element.parseParameters(&line->name, line->parameters);
    if (line->orientation != 3) element.rotate(schematic.occupancy(), line->orientation - 3);
    bool renamed = element.name() != line->name;  // refused: the default name stays
    if (mode == ReadMode::Open) {
      if (names.count(element.name()) != 0) {
        element.setName(schematic.defaultName(element.kind()));
        renamed = true;
      }
      names.insert(element.name());
    }
    if (renamed) ++result.renamedElements;
    return Outcome::Read;
  };

  for (std::size_t index = 0; index < lines.size(); ++index) {
    const std::string_view text = withoutTrailingBlanks(lines[index]);
    if (text.empty() || (index == 0 && text == messages::kTransferHeader)) continue;
    switch (readLine(text)) {
      case Outcome::Read:
        break;
      case Outcome::Skipped:
        ++result.skippedLines;
        break;
      case Outcome::PasteRefused:
        return ReadResult{false};
    }
  }
  return result;
}

SchematicText schematicTextFromBytes(std::string_view bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::string converted;
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    converted = fileUtf8ToCp1250(bytes.substr(kByteOrderMark.size()));
    bytes = converted;
  } else if (isUtf8Text(bytes)) {
    converted = fileUtf8ToCp1250(bytes);
    bytes = converted;
  }
  // A run of CRs, with or without an LF after it, ends one line: CR LF, CR CR LF (a CR LF
  // file sent once more through a text-mode copy), CR alone, and LF alone. Blank lines such a
  // run may swallow would be skipped anyway.
  SchematicText lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.emplace_back(bytes.substr(start, end - start));
    start = end;
    while (start < bytes.size() && bytes[start] == '\r') ++start;
    if (start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

FileResult loadSchematicText(const std::filesystem::path& path, SchematicText& lines) {
  const std::string shown = path.string();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return {std::string(messages::kFileMissing) + " " + shown};
  if (!std::filesystem::is_regular_file(path, ec)) return {std::string(messages::kNotAFile) + shown};
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return {std::string(messages::kCannotRead) + shown};
  if (size > kMaxFileSize) return {std::string(messages::kFileTooLarge) + shown};

  std::ifstream in(path, std::ios::binary);
  if (!in) return {std::string(messages::kCannotRead) + shown};
  std::string content(static_cast<std::size_t>(size), '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  if (in.bad() || static_cast<std::uintmax_t>(in.gcount()) != size)
    return {std::string(messages::kCannotRead) + shown};

  lines = schematicTextFromBytes(content);
  return {};
}

FileResult saveSchematicText(const std::filesystem::path& path, const SchematicText& lines) {
  const std::string shown = path.string();
  // Write beside the target and rename over it, so a failed save leaves the old file intact.
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return {std::string(messages::kCannotWrite) + shown};
    for (const std::string& line : lines) {
      out.write(line.data(), static_cast<std::streamsize>(line.size()));
      out.write("\r\n", 2);
    }
    out.flush();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return {std::string(messages::kCannotWrite) + shown};
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return {std::string(messages::kCannotWrite) + shown};
  }
  return {};
}

std::string OpenResult::warning() const {
  const int count = skippedLines + renamedElements;
  if (count == 0) return {};
  return std::string(messages::kLinesSkippedOrRenamed) + std::to_string(count) + ".";
}

OpenResult openSchematicFile(Schematic& schematic, const std::filesystem::path& path) {
  SchematicText lines;
  OpenResult result{loadSchematicText(path, lines)};
  if (!result.ok()) return result;
  schematic.clear();
  schematic.setTransferMode(false);
  const ReadResult read = readSchematic(schematic, lines, ReadMode::Open);
  result.skippedLines = read.skippedLines;
  result.renamedElements = read.renamedElements;
  return result;
}

FileResult saveSchematicFile(const Schematic& schematic, const std::filesystem::path& path) {
  SchematicText lines;
  writeSchematic(schematic, lines, false);
  return saveSchematicText(path, lines);
}

}  // namespace wolterix::model
