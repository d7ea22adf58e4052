#include "editor/editing.h"

#include <algorithm>
#include <cmath>

#include "model/connectivity.h"
#include "model/placement.h"

namespace wolterix::editor {

using model::Element;
using model::ElementKind;
using model::GridPoint;
using model::Linia;
using model::Obiekt;
using model::Wenzeu;

namespace {

constexpr int kWireNumber = model::kWireKind;
constexpr int kJunctionNumber = model::kJunctionKind;

// Kinds without a voltage arrow and without a current arrow.
bool hasNoVoltageArrow(ElementKind k) {
  return k == ElementKind::mmV || k == ElementKind::mmA || k == ElementKind::mmW ||
         k == ElementKind::Spr || k == ElementKind::Tf1;
}
bool hasNoCurrentArrow(ElementKind k) { return hasNoVoltageArrow(k) || k == ElementKind::BJT; }

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
  m_flags.modified = true;
  m_flags.resultsValid = false;
  m_flags.measurementContinuable = false;
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
  if (count > 1) return auxiliary ? SelectionSummary::SeveralWithWires : SelectionSummary::SeveralElements;
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
  return summary() == SelectionSummary::OneElement ? static_cast<Element*>(firstSelected()) : nullptr;
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
    m_dragOrigins.clear();
    const auto remember = [&](const auto& list) {
      for (const auto& o : list)
        if (o->selected) m_dragOrigins.emplace_back(o.get(), o->position());
    };
    remember(m_schematic.junctions());
    remember(m_schematic.wires());
    remember(m_schematic.elements());
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
    if (model::isWindingKind(e->kind())) {
      if (p.x < 1 || p.x > 99 || p.y < 1 || p.y > 99) return false;
      for (GridPoint n : model::kWindingNeighbours)
        if (occupancy.at(p + n) > 1) return false;
    }
  }
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
  if (m_mode == kSelectMode && (s == SelectionSummary::OneWire || s == SelectionSummary::SeveralWithWires))
    mergeSelectedWires();
  if (m_mode != kSelectMode && m_buttonDown) placeObject(m_press, g);
  m_buttonDown = false;
  m_preview.reset();
  m_dragOrigins.clear();
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
    placed = m_schematic.addObject(kWireNumber, press, model::orthogonalEnd(press, release), false);
  } else if (m_mode == kJunctionMode) {
    placed = m_schematic.addObject(kJunctionNumber, release, release, false);
  } else {
    // A second input voltage would be dropped when the file is read again.
    if (m_mode == static_cast<int>(ElementKind::nWe) && m_schematic.hasInputVoltage()) return;
    placed = m_schematic.addObject(m_mode, release, release, false);
  }
  if (!placed) return;
  m_current = m_schematic.lastCreated();
  changed();
}

void Editor::mergeSelectedWires() {
  std::vector<Linia*> selected;
  for (const auto& w : m_schematic.wires())
    if (w->selected) selected.push_back(w.get());
  const auto collinear = [](const Linia& a, const Linia& b) {
    const GridPoint d = a.end() - a.start();
    for (GridPoint p : {b.start(), b.end()}) {
      const GridPoint q = p - a.start();
      if (static_cast<long long>(d.x) * q.y != static_cast<long long>(d.y) * q.x) return false;
    }
    return true;
  };
  bool mergedAny = false;
  for (Linia* s : selected) {
    std::vector<Linia*> neighbours;
    for (const auto& w : m_schematic.wires()) {
      if (w->selected || w.get() == s || neighbours.size() == 2) continue;
      if (!collinear(*s, *w)) continue;
      const bool touching = s->covers(w->start()) || s->covers(w->end()) ||
                            w->covers(s->start()) || w->covers(s->end());
      if (touching) neighbours.push_back(w.get());
    }
    if (neighbours.empty()) continue;

    // The longest span over all the ends; the merge is kept only if the circuit stays the same.
    std::vector<GridPoint> ends{s->start(), s->end()};
    for (Linia* n : neighbours) {
      ends.push_back(n->start());
      ends.push_back(n->end());
    }
    GridPoint a = ends[0], b = ends[0];
    for (GridPoint p : ends)
      for (GridPoint q : ends)
        if (std::abs(p.x - q.x) + std::abs(p.y - q.y) > std::abs(a.x - b.x) + std::abs(a.y - b.y)) {
          a = p;
          b = q;
        }
    const std::vector<int> before = circuitNodes(m_schematic);
    const model::SchematicText saved = [&] {
      model::SchematicText text;
      model::writeSchematic(m_schematic, text, false);
      return text;
    }();
    Linia* keeper = neighbours.front();
    keeper->occupy(m_schematic.occupancy(), -1);
    keeper->setSegment(a, b);
    keeper->occupy(m_schematic.occupancy(), +1);
    for (std::size_t i = 1; i < neighbours.size(); ++i) m_schematic.destroy(neighbours[i]);
    m_schematic.destroy(s);
    if (circuitNodes(m_schematic) == before) {
      mergedAny = true;
      continue;
    }
    // The merge would have joined or parted nodes: put everything back as it was.
    const bool transfer = m_schematic.transferMode();
    m_schematic.clear();
    model::readSchematic(m_schematic, saved, model::ReadMode::Open);
    m_schematic.setTransferMode(transfer);
    deselectAll();  // objects read back start selected
    return;
  }
  if (mergedAny) {
    m_current = nullptr;
    changed();
  }
}

void Editor::rotateSelected(int steps) {
  bool any = false;
  for (Element* e : selectedElements()) {
    e->rotate(m_schematic.occupancy(), steps);
    any = true;
  }
  if (any) changed();
}

void Editor::reverse() {
  if (summary() != SelectionSummary::OneElement) return;
  auto* e = static_cast<Element*>(firstSelected());
  if (!model::hasSwapFlag(e->kind())) return;
  e->setTerminalsSwapped(m_schematic.occupancy(), !e->terminalsSwapped);
  changed();
}

void Editor::toggleNames() {
  for (Element* e : selectedElements()) e->showName = !e->showName;
}

void Editor::toggleVoltageArrows() {
  for (Element* e : selectedElements())
    if (!hasNoVoltageArrow(e->kind())) e->showVoltage = !e->showVoltage;
}

void Editor::toggleCurrentArrows() {
  for (Element* e : selectedElements())
    if (!hasNoCurrentArrow(e->kind())) e->showCurrent = !e->showCurrent;
}

void Editor::reverseVoltageArrows() {
  for (Element* e : selectedElements()) {
    if (hasNoVoltageArrow(e->kind())) continue;
    e->voltageDirection = !e->voltageDirection;
    e->showVoltage = true;
  }
}

void Editor::reverseCurrentArrows() {
  for (Element* e : selectedElements()) {
    if (hasNoCurrentArrow(e->kind())) continue;
    e->setCurrentDirection(!e->currentDirection());
    e->showCurrent = true;
  }
}

void Editor::deleteSelected() {
  if (summary() == SelectionSummary::Nothing) return;
  model::SchematicText group;
  model::writeSchematic(m_schematic, group, true);
  m_undo.push_front(std::move(group));
  if (m_undo.size() > kUndoDepth) m_undo.pop_back();
  destroySelected();
}

void Editor::destroySelected() {
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
  changed();
}

bool Editor::undoDelete() {
  if (m_undo.empty()) return false;
  const model::SchematicText& group = m_undo.front();
  const bool transfer = m_schematic.transferMode();
  // All or nothing: the group goes back only where every object of it still fits.
  const bool fits = model::readSchematic(m_schematic, group, model::ReadMode::PasteCheck, 0, 0).success;
  m_schematic.setTransferMode(transfer);
  if (!fits) return false;
  deselectAll();
  model::readSchematic(m_schematic, group, model::ReadMode::PasteInsert, 0, 0);
  m_schematic.setTransferMode(transfer);
  renameDuplicatesAmongSelected();
  m_undo.pop_front();
  changed();
  return true;
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
  copy();
  destroySelected();  // deleting through the clipboard does not enter the undo history
}

bool Editor::canPaste() const {
  return !m_clipboard.empty() && m_clipboardTransfer == m_schematic.transferMode();
}

bool Editor::paste() {
  if (!canPaste()) return false;
  deselectAll();
  const bool transfer = m_schematic.transferMode();
  const model::ReadResult bounds =
      model::readSchematic(m_schematic, m_clipboard, model::ReadMode::MeasureBounds);
  const GridPoint size = bounds.max - bounds.min;
  const auto& occupancy = m_schematic.occupancy();
  const auto rectangleFree = [&](int ox, int oy) {
    for (int x = ox; x <= ox + size.x; ++x)
      for (int y = oy; y <= oy + size.y; ++y)
        if (occupancy.at({x, y}) > 0) return false;
    return true;
  };
  for (int ox = 0; ox + size.x < model::kGridSize; ++ox) {
    for (int oy = 0; oy + size.y < model::kGridSize; ++oy) {
      if (!rectangleFree(ox, oy)) continue;
      const int dx = ox - bounds.min.x;
      const int dy = oy - bounds.min.y;
      if (!model::readSchematic(m_schematic, m_clipboard, model::ReadMode::PasteCheck, dx, dy).success)
        continue;
      model::readSchematic(m_schematic, m_clipboard, model::ReadMode::PasteInsert, dx, dy);
      m_schematic.setTransferMode(transfer);
      renameDuplicatesAmongSelected();
      m_current = m_schematic.lastCreated();
      changed();
      return true;
    }
  }
  m_schematic.setTransferMode(transfer);
  return false;
}

}  // namespace wolterix::editor
