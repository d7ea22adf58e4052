#include "model/schematic_file.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <unordered_set>

#include "model/atomic_file.h"
#include "model/cp1250.h"
#include "model/element.h"
#include "model/messages.h"
#include "model/placement.h"
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
  if (orientation->size() != 1 ||
      std::string_view("1357").find((*orientation)[0]) == std::string_view::npos)
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
                     std::to_string(e.orientation()) + '|' + flag(displayFlags && e.showVoltage) +
                     '|' + flag(displayFlags && e.showCurrent) + '|' + flag(e.voltageDirection) +
                     '|' + flag(e.currentDirection()) + '|' + flag(displayFlags && e.showName) +
                     '|';
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
    lines.push_back("L:" + std::to_string(w->start().x) + '|' + std::to_string(w->start().y) + '|' +
                    std::to_string(w->end().x) + '|' + std::to_string(w->end().y) + '$');
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

namespace {

// Reads lines one at a time, so that a file need not be split into a list of lines first.
class LineReader {
 public:
  LineReader(Schematic& schematic, ReadMode mode, int dx, int dy)
      : m_schematic(schematic),
        m_mode(mode),
        m_shift((mode == ReadMode::PasteCheck || mode == ReadMode::PasteInsert) ? GridPoint{dx, dy}
                                                                                : GridPoint{0, 0}) {
    // The names in use, so that a taken one is found without walking the elements each time.
    // Pasting leaves duplicates to the editor, which renames only the pasted group.
    if (mode == ReadMode::Open)
      for (const auto& e : schematic.elements()) m_names.insert(e->name());
    if (mode != ReadMode::MeasureBounds) {
      m_index.emplace(schematic);
      schematic.setPlacementIndex(&*m_index);
    }
  }
  ~LineReader() { m_schematic.setPlacementIndex(nullptr); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  /// Reads the next line; false once a paste check has been refused.
  bool read(std::string_view line) {
    const std::string_view text = withoutTrailingBlanks(line);
    const bool first = m_first;
    m_first = false;
    if (first) m_schematic.setTransferMode(text == messages::kTransferHeader);
    if (text.empty() || (first && text == messages::kTransferHeader)) return true;
    switch (readLine(text)) {
      case Outcome::Read: return true;
      case Outcome::Skipped: ++m_result.skippedLines; return true;
      case Outcome::PasteRefused: m_result = ReadResult{false}; return false;
    }
    return true;
  }

  const ReadResult& result() const { return m_result; }

 private:
  enum class Outcome { Read, Skipped, PasteRefused };

  // Measures, checks or creates one object; false only when a paste check is refused.
  bool place(int kindNumber, GridPoint a, GridPoint b) {
    switch (m_mode) {
      case ReadMode::MeasureBounds:
        widen(m_result, a);
        widen(m_result, b);
        return true;
      case ReadMode::PasteCheck:
        return m_schematic.addObject(kindNumber, a + m_shift, b + m_shift, true);
      case ReadMode::Open:
      case ReadMode::PasteInsert:
        return m_schematic.addObject(kindNumber, a + m_shift, b + m_shift, false);
    }
    return true;
  }

  Outcome refused() const {
    return m_mode == ReadMode::PasteCheck ? Outcome::PasteRefused : Outcome::Skipped;
  }

  Outcome readLine(std::string_view text) {
    // Control characters and bytes the code page does not define make a line unreadable.
    if (!isCp1250Text(text)) return Outcome::Skipped;
    Tokenizer tokens(text);
    const auto type = tokens.next(":");
    if (!type) return Outcome::Skipped;
    switch (type->front()) {
      case 'L': {
        const auto a = parsePoint(tokens, "|");
        const auto b = parsePoint(tokens, "$");
        if (!a || !b || !isGridAligned(*a, *b)) return Outcome::Skipped;
        return place(kWireKind, *a, *b) ? Outcome::Read : refused();
      }
      case 'W': {
        const auto p = parsePoint(tokens, "$");
        if (!p) return Outcome::Skipped;
        return place(kJunctionKind, *p, *p) ? Outcome::Read : refused();
      }
      case 'E': return readElement(tokens);
      default: return Outcome::Skipped;
    }
  }

  Outcome readElement(Tokenizer& tokens) {
    const auto line = parseElementLine(tokens);
    if (!line) return Outcome::Skipped;
    if (line->kind == ElementKind::nWe && m_schematic.hasInputVoltage()) return Outcome::Skipped;
    const int kindNumber = static_cast<int>(line->kind);
    if (m_mode != ReadMode::Open && m_mode != ReadMode::PasteInsert)
      return place(kindNumber, line->position, line->position) ? Outcome::Read : refused();
    if (!place(kindNumber, line->position, line->position)) return Outcome::Skipped;
    auto& element = static_cast<Element&>(*m_schematic.lastCreated());
    element.showVoltage = line->showVoltage;
    element.showCurrent = line->showCurrent;
    element.voltageDirection = line->voltageDirection;
    element.setCurrentDirection(line->currentDirection);
    element.showName = line->showName;
    if (line->swapped) element.setTerminalsSwapped(m_schematic.occupancy(), true);
    element.parseParameters(&line->name, line->parameters);
    if (line->orientation != 3) element.rotate(m_schematic.occupancy(), line->orientation - 3);
    bool renamed = element.name() != line->name;  // refused: the default name stays
    if (m_mode == ReadMode::Open) {
      if (m_names.count(element.name()) != 0) {
        element.setName(m_schematic.defaultName(element.kind()));
        renamed = true;
      }
      m_names.insert(element.name());
    }
    if (renamed) ++m_result.renamedElements;
    return Outcome::Read;
  }

  Schematic& m_schematic;
  const ReadMode m_mode;
  const GridPoint m_shift;
  std::optional<PlacementIndex> m_index;
  std::unordered_set<std::string> m_names;
  ReadResult m_result;
  bool m_first = true;
};

// Calls line(text, end) for each line of the bytes, end being the offset just past its line
// end; stops early, answering false, when line does. A run of CRs, with or without an LF after
// it, ends one line: CR LF, CR CR LF (a CR LF file sent once more through a text-mode copy),
// CR alone, and LF alone. Blank lines such a run may swallow would be skipped anyway.
template <typename Line>
bool forEachLine(std::string_view bytes, Line&& line) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view text = bytes.substr(start, end - start);
    start = end;
    while (start < bytes.size() && bytes[start] == '\r') ++start;
    if (start < bytes.size() && bytes[start] == '\n') ++start;
    if (!line(text, start)) return false;
  }
  return true;
}

// A UTF-8 file (byte-order mark, or well-formed multi-byte sequences only) in code page 1250.
void convertUtf8File(std::string& bytes) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const std::string_view view = bytes;
  if (view.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    bytes = fileUtf8ToCp1250(view.substr(kByteOrderMark.size()));
  else if (isUtf8Text(view))
    bytes = fileUtf8ToCp1250(view);
}

FileResult loadFileBytes(const std::filesystem::path& path, std::string& content) {
  const std::string shown = path.string();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec))
    return {std::string(messages::kFileMissing) + " " + shown};
  if (!std::filesystem::is_regular_file(path, ec))
    return {std::string(messages::kNotAFile) + shown};
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return {std::string(messages::kCannotRead) + shown};
  if (size > kMaxFileSize) return {std::string(messages::kFileTooLarge) + shown};

  std::ifstream in(path, std::ios::binary);
  if (!in) return {std::string(messages::kCannotRead) + shown};
  content.assign(static_cast<std::size_t>(size), '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  if (in.bad() || static_cast<std::uintmax_t>(in.gcount()) != size)
    return {std::string(messages::kCannotRead) + shown};
  return {};
}

}  // namespace

ReadResult readSchematic(Schematic& schematic, const SchematicText& lines, ReadMode mode, int dx,
                         int dy) {
  LineReader reader(schematic, mode, dx, dy);
  for (const std::string& line : lines)
    if (!reader.read(line)) break;
  return reader.result();
}

namespace {

SchematicText splitLines(std::string_view bytes) {
  SchematicText lines;
  forEachLine(bytes, [&](std::string_view line, std::size_t) {
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

}  // namespace

SchematicText schematicTextFromBytes(std::string_view bytes) {
  std::string converted(bytes);
  convertUtf8File(converted);
  return splitLines(converted);
}

FileResult loadSchematicText(const std::filesystem::path& path, SchematicText& lines) {
  std::string content;
  const FileResult result = loadFileBytes(path, content);
  if (!result.ok()) return result;
  convertUtf8File(content);
  lines = splitLines(content);
  return result;
}

FileResult saveSchematicText(const std::filesystem::path& path, const SchematicText& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  // A failed save leaves the old file as it was.
  if (!writeFileAtomically(path, bytes))
    return {std::string(messages::kCannotWrite) + path.string()};
  return {};
}

std::string OpenResult::warning() const {
  const int count = skippedLines + renamedElements;
  if (count == 0) return {};
  return std::string(messages::kLinesSkippedOrRenamed) + std::to_string(count) + ".";
}

OpenResult openSchematicFile(Schematic& schematic, const std::filesystem::path& path,
                             const ReadProgress& progress) {
  std::string bytes;
  OpenResult result{loadFileBytes(path, bytes)};
  if (!result.ok()) return result;
  convertUtf8File(bytes);

  // Read aside, so that a cancelled or refused file leaves the schematic as it was.
  Schematic fresh;
  ReadResult read;
  {
    constexpr std::size_t kLinesPerReport = 4096;
    constexpr std::size_t kBytesPerReport = 1 << 20;
    LineReader reader(fresh, ReadMode::Open, 0, 0);
    std::size_t count = 0;
    std::size_t reported = 0;
    const bool complete = forEachLine(bytes, [&](std::string_view line, std::size_t end) {
      reader.read(line);
      if (!progress || (++count % kLinesPerReport != 0 && end - reported < kBytesPerReport))
        return true;
      reported = end;
      return progress(end, bytes.size());
    });
    if (!complete) {
      result.cancelled = true;
      return result;
    }
    read = reader.result();
  }
  // Random bytes or another program's file: opening it as an empty schematic would invite
  // saving nothing over it.
  const bool nothingRead =
      fresh.elements().empty() && fresh.wires().empty() && fresh.junctions().empty();
  if (nothingRead && read.skippedLines > 0) {
    result.error = std::string(messages::kNoSchematicInFile) + path.string();
    return result;
  }
  schematic.replaceWith(std::move(fresh));
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
