#include "editor/editing.h"

#include <algorithm>
#include <cmath>

#include "model/connectivity.h"
#include "model/messages.h"
#include "model/placement.h"

namespace wolterix::editor {

namespace {
// One command, one step in the history (recorded only if it changed the schematic).
class ScopedEdit {
 public:
  ScopedEdit(Editor& editor, std::string label) : m_editor(editor), m_label(std::move(label)) {
    m_editor.beginEdit();
  }
  ~ScopedEdit() { m_editor.endEdit(m_label); }
  ScopedEdit(const ScopedEdit&) = delete;
  ScopedEdit& operator=(const ScopedEdit&) = delete;

 private:
  Editor& m_editor;
  std::string m_label;
};
}  // namespace

using model::Element;
using model::ElementKind;
using model::GridPoint;
using model::Linia;
using model::Obiekt;
using model::Wenzeu;

namespace {

constexpr int kWireNumber = model::kWireKind;
constexpr int kJunctionNumber = model::kJunctionKind;

bool hasNoVoltageArrow(ElementKind k) { return !model::kindInfo(k).hasArrow(model::kVoltageArrow); }
bool hasNoCurrentArrow(ElementKind k) { return !model::kindInfo(k).hasArrow(model::kCurrentArrow); }

// The terminal node numbers of every element, in list order: equal lists mean the same circuit.
std::vector<int> circuitNodes(model::Schematic& s) {
  model::numberNodes(s);
  std::vector<int> nodes;
  for (const auto& e : s.elements())
    for (int t = 0; t < e->terminalCount(); ++t) nodes.push_back(e->terminalNode(t));
  return nodes;
}

}  // namespace

Editor::Editor(model::Schematic& schematic) : m_schematic(schematic) {}

void Editor::setView(int grid, int zoom) {
  m_grid = grid;
  m_zoom = zoom;
}

PixelPoint Editor::pixelOf(GridPoint g) const {
  const double step = static_cast<double>(m_grid) * m_zoom;
  return {(g.x + 1) * step, (g.y + 1) * step};
}

void Editor::changed() {
  ++m_changeCount;
  m_flags.modified = true;
  m_flags.resultsValid = false;
  m_flags.measurementContinuable = false;
}

model::SchematicText Editor::text() const {
  model::SchematicText lines;
  model::writeSchematic(m_schematic, lines, false);
  return lines;
}

void Editor::beginEdit() {
  if (m_editStart) endEdit(m_mouseLabel);  // an edit still open is over
  m_editStart = text();
  m_editStartChanges = m_changeCount;
}

void Editor::endEdit(const std::string& label) {
  if (!m_editStart) return;
  model::SchematicText after = text();
  if (after != *m_editStart) {
    // Whatever the file would hold differently is the document's change, names and arrows
    // shown or hidden included: closing must not drop it without the save question.
    m_flags.modified = true;
    m_history.record(
        {label, std::move(*m_editStart), std::move(after), m_changeCount != m_editStartChanges});
  }
  m_editStart.reset();
}

void Editor::restore(const model::SchematicText& lines) {
  const bool transfer = m_schematic.transferMode();
  m_current = nullptr;
  m_dragOrigins.clear();
  m_schematic.clear();
  model::readSchematic(m_schematic, lines, model::ReadMode::Open);
  m_schematic.setTransferMode(transfer);
}

bool Editor::undo() {
  if (m_running || !m_history.canUndo()) return false;
  endEdit(m_mouseLabel);  // a press without its release is over
  const EditStep step = m_history.undo();
  restore(step.before);
  m_flags.modified = true;
  if (step.changedCircuit) changed();
  return true;
}

bool Editor::redo() {
  if (m_running || !m_history.canRedo()) return false;
  endEdit(m_mouseLabel);
  const EditStep step = m_history.redo();
  restore(step.after);
  m_flags.modified = true;
  if (step.changedCircuit) changed();
  return true;
}

void Editor::setMode(int mode) {
  m_mode = mode;
  deselectAll();
}

std::string Editor::positionText(GridPoint g) {
  if (!model::onGrid(g)) return {};
  return std::to_string(g.x) + ":" + std::to_string(g.y);
}

std::string Editor::objectText(GridPoint g) const {
  const Obiekt* hit = hitTest(g);
  if (!hit) return {};
  if (hit->kindNumber() == kWireNumber) return "Przewód elektryczny";
  if (hit->kindNumber() == kJunctionNumber) return "Węzeł elektryczny";
  return static_cast<const Element*>(hit)->parameterText(model::TextForm::Display,
                                                         m_schematic.transferMode());
}

Obiekt* Editor::hitTest(GridPoint g) const {
  if (!model::onGrid(g) || m_schematic.occupancy().at(g) < 1) return nullptr;
  for (const auto& j : m_schematic.junctions())
    if (j->position() == g) return j.get();
  for (const auto& w : m_schematic.wires())
    if (w->covers(g)) return w.get();
  for (const auto& e : m_schematic.elements())
    if (e->position() == g) return e.get();
  return nullptr;
}

SelectionSummary Editor::summary() const {
  int count = 0;
  bool auxiliary = false;
  const Obiekt* only = nullptr;
  const auto visit = [&](const Obiekt& o, bool isAuxiliary) {
    if (!o.selected) return;
    ++count;
    only = &o;
    auxiliary = auxiliary || isAuxiliary;
  };
  for (const auto& j : m_schematic.junctions()) visit(*j, true);
  for (const auto& w : m_schematic.wires()) visit(*w, true);
  for (const auto& e : m_schematic.elements()) visit(*e, false);
  if (count == 0) return SelectionSummary::Nothing;
  if (count > 1)
    return auxiliary ? SelectionSummary::SeveralWithWires : SelectionSummary::SeveralElements;
  if (only->kindNumber() == kJunctionNumber) return SelectionSummary::OneJunction;
  if (only->kindNumber() == kWireNumber) return SelectionSummary::OneWire;
  return SelectionSummary::OneElement;
}

Obiekt* Editor::firstSelected() const {
  for (const auto& j : m_schematic.junctions())
    if (j->selected) return j.get();
  for (const auto& w : m_schematic.wires())
    if (w->selected) return w.get();
  for (const auto& e : m_schematic.elements())
    if (e->selected) return e.get();
  return nullptr;
}

Element* Editor::selectedElement() const {
  return summary() == SelectionSummary::OneElement ? static_cast<Element*>(firstSelected())
                                                   : nullptr;
}

std::vector<Element*> Editor::selectedElements() const {
  std::vector<Element*> list;
  for (const auto& e : m_schematic.elements())
    if (e->selected) list.push_back(e.get());
  return list;
}

void Editor::deselectAll() {
  for (const auto& j : m_schematic.junctions()) j->selected = false;
  for (const auto& w : m_schematic.wires()) w->selected = false;
  for (const auto& e : m_schematic.elements()) e->selected = false;
  m_current = nullptr;
}

void Editor::select(GridPoint g, bool adding) {
  if (!adding) deselectAll();
  Obiekt* hit = hitTest(g);
  if (!hit) return;
  hit->selected = adding ? !hit->selected : true;
  m_current = hit->selected ? hit : firstSelected();
}

namespace {
template <typename List>
Obiekt* selectList(const List& list) {
  Obiekt* last = nullptr;
  for (const auto& o : list) {
    o->selected = true;
    last = o.get();
  }
  return last;
}
}  // namespace

void Editor::selectAll() {
  deselectAll();
  Obiekt* last = selectList(m_schematic.wires());
  if (Obiekt* j = selectList(m_schematic.junctions())) last = j;
  if (Obiekt* e = selectList(m_schematic.elements())) last = e;
  m_current = last;
}

void Editor::selectElements() {
  deselectAll();
  m_current = selectList(m_schematic.elements());
}

void Editor::selectWires() {
  deselectAll();
  m_current = selectList(m_schematic.wires());
}

void Editor::selectJunctions() {
  deselectAll();
  m_current = selectList(m_schematic.junctions());
}

void Editor::mouseDown(GridPoint g, PixelPoint raw, Modifiers modifiers) {
  if (modifiers.alt || modifiers.ctrl || m_running) return;
  // A press and its release make one step: placing, a wire, a drag, a join of wires.
  endEdit(m_mouseLabel);
  beginEdit();
  m_mouseLabel = "edycja";
  m_press = g;
  m_lastMove = g;
  if (m_mode == kSelectMode) {
    Obiekt* hit = hitTest(g);
    if (!modifiers.shift) {
      if (!hit || !hit->selected) select(g, false);
      if (!hit) m_band = std::pair{raw, raw};
    } else if (hit) {
      select(g, true);
    }
    rememberSelection();
  }
  m_buttonDown = true;
}

void Editor::mouseMove(GridPoint g, PixelPoint raw, Modifiers modifiers, bool leftButtonHeld) {
  if (modifiers.alt || modifiers.ctrl) return;
  if (m_band) {
    m_band->second = raw;
    return;
  }
  if (m_running || modifiers.shift || !leftButtonHeld || !m_buttonDown) return;
  if (m_mode == kWireMode) {
    m_preview = std::pair{m_press, model::orthogonalEnd(m_press, g)};
  } else if (m_mode == kSelectMode && g != m_lastMove) {
    if (moveSelection(g)) {
      m_lastMove = g;
      if (g != m_press) changed();
    }
  }
}

void Editor::rememberSelection() {
  m_dragOrigins.clear();
  const auto remember = [&](const auto& list) {
    for (const auto& o : list)
      if (o->selected) m_dragOrigins.emplace_back(o.get(), o->position());
  };
  remember(m_schematic.junctions());
  remember(m_schematic.wires());
  remember(m_schematic.elements());
}

bool Editor::moveSelection(GridPoint g) {
  if (m_dragOrigins.empty()) return false;
  const GridPoint delta = g - m_press;
  // Every reference point must stay on the grid.
  for (const auto& [object, origin] : m_dragOrigins) {
    const GridPoint target = origin + delta;
    if (!model::onGrid(target)) return false;
    if (object->kindNumber() == kWireNumber) {
      const auto* w = static_cast<const Linia*>(object);
      if (!model::onGrid(w->end() - w->start() + target)) return false;
    }
  }
  std::vector<GridPoint> before;
  for (const auto& entry : m_dragOrigins) before.push_back(entry.first->position());
  for (const auto& [object, origin] : m_dragOrigins)
    object->moveTo(m_schematic.occupancy(), origin + delta);
  if (selectionPlacedSoundly()) return true;
  for (std::size_t i = 0; i < m_dragOrigins.size(); ++i)
    m_dragOrigins[i].first->moveTo(m_schematic.occupancy(), before[i]);
  return false;
}

// Every selected object stands where placement could have put it among the others, so the
// layout always reads back whole from its file.
bool Editor::selectionPlacedSoundly() const {
  const auto& occupancy = m_schematic.occupancy();
  const auto& elements = m_schematic.elements();
  for (const auto& e : elements) {
    if (!e->selected) continue;
    const GridPoint p = e->position();
    if (occupancy.at(p) > 1) return false;  // a wire, junction or terminal besides itself
    for (const auto& other : elements) {
      if (other.get() == e.get()) continue;
      const GridPoint q = other->position();
      if (std::abs(p.x - q.x) <= 1 && std::abs(p.y - q.y) <= 1) return false;
    }
    if (model::isWindingKind(e->kind()) && (p.x < 1 || p.x > 99 || p.y < 1 || p.y > 99))
      return false;
  }
  if (!windingNeighboursClear()) return false;
  for (const auto& w : m_schematic.wires()) {
    // Any wire next to a moved element is checked too, as a moved element may land on it.
    for (const auto& e : elements) {
      if (!w->selected && !e->selected) continue;
      if (w->covers(e->position())) return false;
      if (model::isWindingKind(e->kind()))
        for (GridPoint n : model::kWindingNeighbours)
          if (w->covers(e->position() + n)) return false;
    }
    if (!w->selected) continue;
    for (const auto& other : m_schematic.wires()) {
      if (other.get() == w.get()) continue;
      if (other->covers(w->start()) && other->covers(w->end())) return false;
      if (w->covers(other->start()) && w->covers(other->end())) return false;
    }
  }
  for (const auto& j : m_schematic.junctions()) {
    if (!j->selected) continue;
    for (const auto& e : elements)
      if (e->position() == j->position()) return false;
    for (const auto& other : m_schematic.junctions())
      if (other.get() != j.get() && other->position() == j->position()) return false;
  }
  return true;
}

// The four centre neighbours of a coupled-coil or transformer element hold nothing but the
// element itself, as its file line is refused otherwise. Checked for every winding element,
// selected or not: a moved or turned neighbour may land on one that stays put.
bool Editor::windingNeighboursClear() const {
  const auto& occupancy = m_schematic.occupancy();
  for (const auto& w : m_schematic.elements()) {
    if (!model::isWindingKind(w->kind())) continue;
    const std::vector<GridPoint> own = w->coveredPoints();
    for (GridPoint n : model::kWindingNeighbours) {
      const GridPoint q = w->position() + n;
      const int foreign = occupancy.at(q) - static_cast<int>(std::count(own.begin(), own.end(), q));
      if (foreign > 0 && (w->selected || selectionCovers(q))) return false;
    }
  }
  return true;
}

bool Editor::selectionCovers(GridPoint q) const {
  for (const auto& j : m_schematic.junctions())
    if (j->selected && j->position() == q) return true;
  for (const auto& w : m_schematic.wires())
    if (w->selected && w->covers(q)) return true;
  for (const auto& e : m_schematic.elements()) {
    if (!e->selected) continue;
    const std::vector<GridPoint> points = e->coveredPoints();
    if (std::find(points.begin(), points.end(), q) != points.end()) return true;
  }
  return false;
}

void Editor::mouseUp(GridPoint g, PixelPoint raw, Modifiers modifiers) {
  if (modifiers.alt || modifiers.ctrl || m_running) return;
  if (m_openParametersOnRelease) {
    m_openParametersOnRelease = false;
    m_buttonDown = false;
    if (summary() == SelectionSummary::OneElement && onParameters)
      onParameters(*static_cast<Element*>(firstSelected()));
    return;
  }
  if (m_band) {
    m_band->second = raw;
    const double left = std::min(m_band->first.x, m_band->second.x);
    const double right = std::max(m_band->first.x, m_band->second.x);
    const double top = std::min(m_band->first.y, m_band->second.y);
    const double bottom = std::max(m_band->first.y, m_band->second.y);
    const auto inside = [&](GridPoint p) {
      const PixelPoint q = pixelOf(p);
      return q.x >= left && q.x <= right && q.y >= top && q.y <= bottom;
    };
    for (const auto& w : m_schematic.wires())
      if (inside(w->start()) || inside(w->end())) {
        w->selected = true;
        m_current = w.get();
      }
    for (const auto& j : m_schematic.junctions())
      if (inside(j->position())) {
        j->selected = true;
        m_current = j.get();
      }
    for (const auto& e : m_schematic.elements())
      if (inside(e->position())) {
        e->selected = true;
        m_current = e.get();
      }
    m_band.reset();
  }
  const SelectionSummary s = summary();
  const std::size_t moved = m_dragOrigins.size();
  const bool dragged = m_mode == kSelectMode && m_lastMove != m_press;
  if (m_mode == kSelectMode &&
      (s == SelectionSummary::OneWire || s == SelectionSummary::SeveralWithWires))
    mergeSelectedWires();
  if (m_mode != kSelectMode && m_buttonDown) placeObject(m_press, g);
  m_buttonDown = false;
  m_preview.reset();
  m_dragOrigins.clear();
  if (dragged) {
    m_mouseLabel = "przesunięcie " + objectCount(moved);
  } else if (m_mode == kSelectMode) {
    m_mouseLabel = "połączenie przewodów";
  } else if (m_mode == kWireMode) {
    m_mouseLabel = "rysowanie przewodu";
  } else if (m_mode == kJunctionMode) {
    m_mouseLabel = "wstawienie węzła";
  } else {
    m_mouseLabel = "wstawienie elementu";
    if (const auto* placed = dynamic_cast<const Element*>(m_schematic.lastCreated()))
      m_mouseLabel += " " + placed->name();
  }
  endEdit(m_mouseLabel);
}

void Editor::doubleClick() {
  if (m_mode == kSelectMode && summary() == SelectionSummary::OneElement)
    m_openParametersOnRelease = true;
}

void Editor::placeObject(GridPoint press, GridPoint release) {
  if (!model::onGrid(press) || !model::onGrid(release)) return;
  deselectAll();
  bool placed = false;
  if (m_mode == kWireMode) {
    const GridPoint end = model::orthogonalEnd(press, release);
    if (press != end && liesAlongAWire(press, end)) {
      // It would look joined to that wire without being joined to it.
      if (onHint) onHint(std::string(model::messages::kWireAlongWire));
      return;
    }
    placed = m_schematic.addObject(kWireNumber, press, end, false);
  } else if (m_mode == kJunctionMode) {
    placed = m_schematic.addObject(kJunctionNumber, release, release, false);
  } else {
    // A second input voltage would be dropped when the file is read again.
    if (m_mode == static_cast<int>(ElementKind::nWe) && m_schematic.hasInputVoltage()) return;
    placed = m_schematic.addObject(m_mode, release, release, false);
  }
  if (!placed) return;
  if (!windingNeighboursClear()) {
    m_schematic.destroy(m_schematic.lastCreated());
    return;
  }
  m_current = m_schematic.lastCreated();
  changed();
}

bool Editor::liesAlongAWire(GridPoint a, GridPoint b) const {
  // Two straight runs sharing two grid points lie on one line and overlap.
  for (const auto& w : m_schematic.wires()) {
    int shared = 0;
    model::walkSegment(a, b, [&](GridPoint p) {
      if (w->covers(p)) ++shared;
      return shared < 2;
    });
    if (shared >= 2) return true;
  }
  return false;
}

namespace {

bool collinear(const Linia& a, const Linia& b) {
  const GridPoint d = a.end() - a.start();
  for (GridPoint p : {b.start(), b.end()}) {
    const GridPoint q = p - a.start();
    if (static_cast<long long>(d.x) * q.y != static_cast<long long>(d.y) * q.x) return false;
  }
  return true;
}

// A merge of one wire with up to two collinear wires it touches, by positions in the wire list
// so that it can be tried on a copy of the schematic first.
struct WireMerge {
  std::size_t wire = 0;
  std::vector<std::size_t> neighbours;
  GridPoint from{};
  GridPoint to{};
};

std::optional<WireMerge> mergeFor(const model::Schematic& s, std::size_t index) {
  const auto& wires = s.wires();
  const Linia& wire = *wires[index];
  WireMerge merge{index, {}, {}, {}};
  for (std::size_t i = 0; i < wires.size() && merge.neighbours.size() < 2; ++i) {
    const Linia& other = *wires[i];
    if (other.selected || i == index || !collinear(wire, other)) continue;
    if (wire.covers(other.start()) || wire.covers(other.end()) || other.covers(wire.start()) ||
        other.covers(wire.end()))
      merge.neighbours.push_back(i);
  }
  if (merge.neighbours.empty()) return std::nullopt;
  // The longest span over all the ends.
  std::vector<GridPoint> ends{wire.start(), wire.end()};
  for (std::size_t n : merge.neighbours) {
    ends.push_back(wires[n]->start());
    ends.push_back(wires[n]->end());
  }
  const auto length = [](GridPoint p, GridPoint q) {
    return std::abs(p.x - q.x) + std::abs(p.y - q.y);
  };
  merge.from = merge.to = ends[0];
  for (GridPoint p : ends)
    for (GridPoint q : ends)
      if (length(p, q) > length(merge.from, merge.to)) {
        merge.from = p;
        merge.to = q;
      }
  return merge;
}

// The first neighbour takes the whole span; the selected wire and the other neighbour go.
void applyMerge(model::Schematic& s, const WireMerge& merge) {
  Linia* keeper = s.wires()[merge.neighbours.front()].get();
  std::vector<const Obiekt*> doomed{s.wires()[merge.wire].get()};
  for (std::size_t i = 1; i < merge.neighbours.size(); ++i)
    doomed.push_back(s.wires()[merge.neighbours[i]].get());
  keeper->occupy(s.occupancy(), -1);
  keeper->setSegment(merge.from, merge.to);
  keeper->occupy(s.occupancy(), +1);
  for (const Obiekt* o : doomed) s.destroy(o);
}

// Whether the merge leaves every element terminal on the node it had. It is tried on a copy
// read from the schematic's text, so the live schematic (and whatever points into it, such as
// the meters) is never touched by a merge that would not be kept.
bool mergeKeepsCircuit(const model::Schematic& s, const WireMerge& merge) {
  model::SchematicText text;
  model::writeSchematic(s, text, false);
  model::Schematic copy;
  model::readSchematic(copy, text, model::ReadMode::Open);
  if (copy.wires().size() != s.wires().size() || copy.elements().size() != s.elements().size() ||
      copy.junctions().size() != s.junctions().size())
    return false;
  const std::vector<int> before = circuitNodes(copy);
  applyMerge(copy, merge);
  return circuitNodes(copy) == before;
}

}  // namespace

void Editor::mergeSelectedWires() {
  std::vector<const Linia*> selected;
  for (const auto& w : m_schematic.wires())
    if (w->selected) selected.push_back(w.get());
  bool mergedAny = false;
  for (const Linia* s : selected) {
    const auto& wires = m_schematic.wires();
    const auto at =
        std::find_if(wires.begin(), wires.end(), [&](const auto& w) { return w.get() == s; });
    const auto merge = mergeFor(m_schematic, static_cast<std::size_t>(at - wires.begin()));
    if (!merge || !mergeKeepsCircuit(m_schematic, *merge)) continue;
    applyMerge(m_schematic, *merge);
    mergedAny = true;
  }
  if (mergedAny) {
    m_current = firstSelected();
    changed();
  }
}

void Editor::rotateSelected(int steps) {
  const std::vector<Element*> turned = selectedElements();
  if (turned.empty()) return;
  ScopedEdit edit(*this, "obrót " + objectCount(turned.size()));
  for (Element* e : turned) e->rotate(m_schematic.occupancy(), steps);
  if (!selectionPlacedSoundly()) {
    // A terminal would land where the file could not carry it: turn everything back.
    for (Element* e : turned) e->rotate(m_schematic.occupancy(), -steps);
    return;
  }
  changed();
}

void Editor::reverse() {
  if (summary() != SelectionSummary::OneElement) return;
  auto* e = static_cast<Element*>(firstSelected());
  if (!model::hasSwapFlag(e->kind())) return;
  ScopedEdit edit(*this, "zamiana końcówek " + e->name());
  e->setTerminalsSwapped(m_schematic.occupancy(), !e->terminalsSwapped);
  changed();
}

void Editor::toggleNames() {
  ScopedEdit edit(*this, "nazwy elementów");
  for (Element* e : selectedElements()) e->showName = !e->showName;
}

void Editor::toggleVoltageArrows() {
  ScopedEdit edit(*this, "strzałki napięć");
  for (Element* e : selectedElements())
    if (!hasNoVoltageArrow(e->kind())) e->showVoltage = !e->showVoltage;
}

void Editor::toggleCurrentArrows() {
  ScopedEdit edit(*this, "strzałki prądów");
  for (Element* e : selectedElements())
    if (!hasNoCurrentArrow(e->kind())) e->showCurrent = !e->showCurrent;
}

void Editor::reverseVoltageArrows() {
  ScopedEdit edit(*this, "odwrócenie strzałek napięć");
  bool reversed = false;
  for (Element* e : selectedElements()) {
    if (hasNoVoltageArrow(e->kind())) continue;
    e->voltageDirection = !e->voltageDirection;
    e->showVoltage = true;
    reversed = true;
  }
  // A voltage is read, plotted and measured in its arrow's direction: the results are stale.
  if (reversed) changed();
}

void Editor::reverseCurrentArrows() {
  ScopedEdit edit(*this, "odwrócenie strzałek prądów");
  bool reversed = false;
  for (Element* e : selectedElements()) {
    if (hasNoCurrentArrow(e->kind())) continue;
    e->setCurrentDirection(!e->currentDirection());
    e->showCurrent = true;
    reversed = true;
  }
  // Currents are read in their arrows' direction, and a source's arrow sets its sign.
  if (reversed) changed();
}

void Editor::deleteSelected() {
  if (summary() == SelectionSummary::Nothing) return;
  ScopedEdit edit(*this, "usunięcie " + objectCount(selectedCount()));
  destroySelected();
}

std::size_t Editor::selectedCount() const {
  std::size_t count = 0;
  for (const auto& w : m_schematic.wires()) count += w->selected;
  for (const auto& j : m_schematic.junctions()) count += j->selected;
  for (const auto& e : m_schematic.elements()) count += e->selected;
  return count;
}

bool Editor::nudge(int dx, int dy) {
  if (m_running || summary() == SelectionSummary::Nothing) return false;
  ScopedEdit edit(*this, "przesunięcie " + objectCount(selectedCount()));
  rememberSelection();
  const GridPoint press = m_press;
  m_press = {0, 0};
  const bool moved = moveSelection({dx, dy});
  m_press = press;
  m_dragOrigins.clear();
  if (!moved) return false;
  changed();
  const SelectionSummary s = summary();
  if (s == SelectionSummary::OneWire || s == SelectionSummary::SeveralWithWires)
    mergeSelectedWires();
  return true;
}

void Editor::destroySelected() {
  removeSelected();
  changed();
}

void Editor::removeSelected() {
  // Wires, then junctions, then elements.
  std::vector<const Obiekt*> doomed;
  for (const auto& w : m_schematic.wires())
    if (w->selected) doomed.push_back(w.get());
  for (const auto& j : m_schematic.junctions())
    if (j->selected) doomed.push_back(j.get());
  for (const auto& e : m_schematic.elements())
    if (e->selected) doomed.push_back(e.get());
  for (const Obiekt* o : doomed) m_schematic.destroy(o);
  m_current = nullptr;
}

void Editor::renameDuplicatesAmongSelected() {
  for (Element* e : selectedElements()) {
    const bool duplicate = std::any_of(
        m_schematic.elements().begin(), m_schematic.elements().end(),
        [&](const auto& other) { return other.get() != e && other->name() == e->name(); });
    // The default name is one no element carries, this one included.
    if (duplicate) e->setName(m_schematic.defaultName(e->kind()));
  }
}

void Editor::copy() {
  if (summary() == SelectionSummary::Nothing) return;
  model::writeSchematic(m_schematic, m_clipboard, true);
  m_clipboardTransfer = m_schematic.transferMode();
}

void Editor::cut() {
  if (summary() == SelectionSummary::Nothing) return;
  ScopedEdit edit(*this, "wycięcie " + objectCount(selectedCount()));
  copy();
  destroySelected();
}

bool Editor::canPaste() const {
  return !m_clipboard.empty() && m_clipboardTransfer == m_schematic.transferMode();
}

bool Editor::paste(GridPoint start) {
  if (!canPaste()) return false;
  ScopedEdit edit(*this, "wklejenie");
  deselectAll();
  const bool transfer = m_schematic.transferMode();
  const model::ReadResult bounds =
      model::readSchematic(m_schematic, m_clipboard, model::ReadMode::MeasureBounds);
  m_schematic.setTransferMode(transfer);
  const GridPoint size = bounds.max - bounds.min;
  const auto& occupancy = m_schematic.occupancy();
  const auto rectangleFree = [&](int ox, int oy) {
    for (int x = ox; x <= ox + size.x; ++x)
      for (int y = oy; y <= oy + size.y; ++y)
        if (occupancy.at({x, y}) > 0) return false;
    return true;
  };
  // Column by column from a corner, the first free rectangle the group fits into.
  const auto fitFrom = [&](GridPoint corner) -> std::optional<GridPoint> {
    for (int ox = std::max(corner.x, 0); ox + size.x < model::kGridSize; ++ox)
      for (int oy = std::max(corner.y, 0); oy + size.y < model::kGridSize; ++oy) {
        if (!rectangleFree(ox, oy)) continue;
        const GridPoint shift{ox - bounds.min.x, oy - bounds.min.y};
        if (insertGroup(m_clipboard, shift)) return shift;
      }
    return std::nullopt;
  };
  std::optional<GridPoint> shift = fitFrom(start);
  if (!shift && start != GridPoint{0, 0}) shift = fitFrom({0, 0});
  if (!shift) return false;
  m_current = m_schematic.lastCreated();
  changed();
  return true;
}

bool Editor::insertGroup(const model::SchematicText& group, GridPoint shift) {
  // Reading sets the workspace's mode from the group's first line: keep the workspace's own.
  const bool transfer = m_schematic.transferMode();
  const bool fits =
      model::readSchematic(m_schematic, group, model::ReadMode::PasteCheck, shift.x, shift.y)
          .success;
  m_schematic.setTransferMode(transfer);
  if (!fits) return false;
  deselectAll();
  model::readSchematic(m_schematic, group, model::ReadMode::PasteInsert, shift.x, shift.y);
  m_schematic.setTransferMode(transfer);
  if (!windingNeighboursClear()) {
    removeSelected();  // a terminal of the group would sit beside a transformer already there
    return false;
  }
  renameDuplicatesAmongSelected();
  return true;
}

}  // namespace wolterix::editor
