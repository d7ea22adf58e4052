#include "model/element.h"

#include <algorithm>

#include "model/cp1250.h"

namespace wolterix::model {

FieldCursor::FieldCursor(std::string_view fileForm) : m_rest(fileForm) {}

std::optional<std::string_view> FieldCursor::next() {
  const std::size_t start = m_rest.find_first_not_of('/');
  if (start == std::string_view::npos) {
    m_rest = {};
    return std::nullopt;
  }
  const std::size_t end = std::min(m_rest.find('/', start), m_rest.size());
  const std::string_view field = m_rest.substr(start, end - start);
  m_rest.remove_prefix(end);
  return field;
}

GridPoint orientationDirection(int orientation) {
  switch (orientation) {
    case 1: return {0, 1};
    case 5: return {0, -1};
    case 7: return {1, 0};
    default: return {-1, 0};
  }
}

int wrapOrientation(int orientation) {
  orientation %= 8;
  if (orientation < 1) orientation += 8;
  return orientation;
}

Element::Element(ElementKind kind) : Obiekt(static_cast<std::uint8_t>(kind)), m_kind(kind) {
  for (const ParameterRow& definition : info().parameters)
    m_parameters.emplace_back(definition.defaultText);
  m_given.assign(m_parameters.size(), false);
  voltageDirection = !isSourceKind(kind);
}

bool Element::isAcceptableName(std::string_view name) {
  // A name must survive the file unchanged: no delimiters of the element line ("«", "»", "$")
  // or of a controlled source's reference ("/"), no control characters, and nothing the
  // file's code page cannot hold.
  if (name.empty()) return false;
  for (std::string_view forbidden : {"«", "»", "/", "$"})
    if (name.find(forbidden) != std::string_view::npos) return false;
  const auto decoded = decodeCp1250(encodeCp1250(name));
  return decoded && *decoded == name;
}

bool Element::setName(std::string_view name) {
  if (!isAcceptableName(name)) return false;
  m_name = std::string(name);
  return true;
}

std::string Element::nameOrCode(bool name) const {
  return name ? m_name : std::string(info().code);
}

void Element::setPosition(GridPoint p) {
  m_position = p;
  placeTerminals();
}

void Element::rotate(OccupancyMap& map, int steps) {
  occupy(map, -1);
  m_orientation = wrapOrientation(m_orientation + steps);
  placeTerminals();
  occupy(map, +1);
}

void Element::setTerminalsSwapped(OccupancyMap& map, bool swapped) {
  occupy(map, -1);
  terminalsSwapped = swapped;
  placeTerminals();
  occupy(map, +1);
}

void Element::placeTerminals() {
  const GridPoint d = orientationDirection(m_orientation);
  m_axis1 = m_position + d;
  m_axis2 = m_position - d;
  m_labelPoint = m_position + GridPoint{d.y, -d.x};
  m_terminals = {m_axis1, m_axis2, m_axis1, m_axis2};
  placeFurtherTerminals(d);
}

GridPoint Element::terminalPoint(int i) const {
  if (i >= 0 && i < terminalCount()) return m_terminals[static_cast<std::size_t>(i)];
  return m_terminals[i == 0 ? 0 : 1];
}

bool Element::hasTerminalAt(GridPoint p) const {
  for (int i = 0; i < terminalCount(); ++i)
    if (m_terminals[static_cast<std::size_t>(i)] == p) return true;
  return false;
}

bool Element::joinTerminalAt(Element& other, int terminal, GridPoint p) const {
  for (int i = 0; i < terminalCount(); ++i) {
    if (m_terminals[static_cast<std::size_t>(i)] == p && terminalNode(i) >= 0) {
      other.setTerminalNode(terminal, terminalNode(i));
      return true;
    }
  }
  return false;
}

namespace {
int nodeSlot(int terminal) {
  if (terminal >= 0 && terminal <= 3) return terminal;
  if (terminal == kInternalNodeTerminal) return 4;
  return -1;
}
}  // namespace

int Element::terminalNode(int i) const {
  const int slot = nodeSlot(i);
  return slot < 0 ? -1 : m_terminalNodes[static_cast<std::size_t>(slot)];
}

void Element::setTerminalNode(int i, int node) {
  const int slot = nodeSlot(i);
  if (slot >= 0) m_terminalNodes[static_cast<std::size_t>(slot)] = node;
}

PointPair Element::secondPair() const {
  if (terminalCount() == 4) return {m_terminals[2], m_terminals[3]};
  return terminalPair();
}

std::vector<GridPoint> Element::coveredPoints() const {
  std::vector<GridPoint> points{m_position, m_axis1, m_axis2};
  for (int i = 0; i < terminalCount(); ++i) {
    const GridPoint t = m_terminals[static_cast<std::size_t>(i)];
    if (std::find(points.begin(), points.end(), t) == points.end()) points.push_back(t);
  }
  return points;
}

bool Element::setParameter(std::size_t i, std::string_view text) {
  if (i >= m_parameters.size() || !parameterRow(i).accepts(text)) return false;
  return m_parameters[i].set(text, parameterRow(i).rule);
}

void Element::parseParameters(const std::string* name, std::string_view fileForm) {
  if (name) setName(*name);
  FieldCursor fields(fileForm);
  parseFields(fields);
}

void Element::parseFields(FieldCursor& fields) { readParameters(fields, 0, m_parameters.size()); }

void Element::readParameters(FieldCursor& fields, std::size_t first, std::size_t last) {
  for (std::size_t i = first; i < last; ++i) {
    if (parameterRow(i).optional) {
      // Optional values fill their slots in turn: whatever is given comes first.
      std::size_t slot = i;
      while (slot < last) {
        const auto field = fields.next();
        if (!field) return;
        if (setParameter(slot, *field)) m_given[slot++] = true;
      }
      return;
    }
    const auto field = fields.next();
    if (!field) return;
    setParameter(i, *field);
  }
}

bool Element::shown(std::size_t i, bool transferMode) const {
  const ParameterRow& definition = parameterRow(i);
  if (definition.timeOnly && transferMode) return false;
  if (definition.optional && !m_given[i]) return false;
  return true;
}

void Element::appendFileFields(std::vector<std::string>& fields, std::size_t first,
                               std::size_t last, bool transferMode) const {
  for (std::size_t i = first; i < last; ++i)
    if (shown(i, transferMode)) fields.push_back(m_parameters[i].text());
}

std::string Element::labelledValues(std::size_t first, std::size_t last, bool transferMode) const {
  std::string text;
  for (std::size_t i = first; i < last; ++i) {
    if (!shown(i, transferMode)) continue;
    const ParameterRow& definition = parameterRow(i);
    text += ' ';
    text += definition.displayLabel;
    text += m_parameters[i].text();
    text += definition.displaySuffix;
    text += ';';
  }
  return text;
}

std::string Element::givenValues(std::size_t first, std::size_t last,
                                 std::string_view suffix) const {
  std::string text;
  for (std::size_t i = first; i < last; ++i) {
    if (!m_given[i]) continue;
    text += m_parameters[i].text();
    text += suffix;
  }
  return text;
}

std::string Element::joinFields(const std::vector<std::string>& fields) {
  std::string text;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) text += '/';
    text += fields[i];
  }
  return text;
}

std::string Element::parameterText(TextForm form, bool transferMode) const {
  if (form == TextForm::File) {
    std::vector<std::string> fields;
    appendFileFields(fields, 0, m_parameters.size(), transferMode);
    return joinFields(fields);
  }
  return m_name + " {" + labelledValues(0, m_parameters.size(), transferMode) + " }";
}

}  // namespace wolterix::model
