#include "model/connectivity.h"

#include <algorithm>
#include <array>

#include "model/schematic.h"

namespace wolterix::model {
namespace {

// Marks of grid points: which hold a junction and which hold an element terminal.
class PointMarks {
 public:
  void set(GridPoint p) {
    if (onGrid(p)) m_marks[index(p)] = true;
  }
  bool at(GridPoint p) const { return onGrid(p) && m_marks[index(p)]; }

 private:
  static std::size_t index(GridPoint p) {
    return static_cast<std::size_t>(p.x) * kGridSize + static_cast<std::size_t>(p.y);
  }
  std::vector<bool> m_marks = std::vector<bool>(kGridSize * kGridSize, false);
};

bool boxesOverlap(const Linia& a, const Linia& b) {
  const auto low = [](int p, int q) { return p < q ? p : q; };
  const auto high = [](int p, int q) { return p < q ? q : p; };
  return low(a.start().x, a.end().x) <= high(b.start().x, b.end().x) &&
         low(b.start().x, b.end().x) <= high(a.start().x, a.end().x) &&
         low(a.start().y, a.end().y) <= high(b.start().y, b.end().y) &&
         low(b.start().y, b.end().y) <= high(a.start().y, a.end().y);
}

class NodeNumbering {
 public:
  explicit NodeNumbering(Schematic& schematic)
      : m_schematic(schematic),
        m_wiresAt(kGridSize * kGridSize),
        m_elementsAt(kGridSize * kGridSize) {
    for (const auto& j : schematic.junctions()) m_junctions.set(j->position());
    const auto& elements = schematic.elements();
    for (std::size_t e = 0; e < elements.size(); ++e)
      for (int t = 0; t < elements[e]->terminalCount(); ++t) {
        const GridPoint p = elements[e]->terminalPoint(t);
        m_terminals.set(p);
        if (onGrid(p)) addOnce(m_elementsAt[cell(p)], static_cast<int>(e));
      }
    // Which wires cover each grid point, in wire-list order.
    const auto& wires = schematic.wires();
    for (std::size_t w = 0; w < wires.size(); ++w)
      walkSegment(wires[w]->start(), wires[w]->end(), [&](GridPoint p) {
        if (onGrid(p)) addOnce(m_wiresAt[cell(p)], static_cast<int>(w));
        return true;
      });
  }

  void run() {
    for (const auto& w : m_schematic.wires()) w->node = -1;
    for (const auto& e : m_schematic.elements())
      for (int t = 0; t < 4; ++t) e->setTerminalNode(t, -1);
    for (const auto& e : m_schematic.elements())
      for (int t = 0; t < e->terminalCount(); ++t) numberTerminal(*e, t);
    for (const auto& e : m_schematic.elements())
      if (e->kind() == ElementKind::BJT) e->setTerminalNode(kInternalNodeTerminal, m_count++);
    m_schematic.setNodeCount(m_count);
  }

 private:
  static std::size_t cell(GridPoint p) {
    return static_cast<std::size_t>(p.x) * kGridSize + static_cast<std::size_t>(p.y);
  }
  static void addOnce(std::vector<int>& list, int index) {
    if (list.empty() || list.back() != index) list.push_back(index);
  }

  // Two wires are one node when they share an end, or when at the first point they have in
  // common (walking along w from its start) a junction or an element terminal stands.
  bool joined(const Linia& w, const Linia& q) const {
    if (w.start() == q.start() || w.start() == q.end() || w.end() == q.start() ||
        w.end() == q.end())
      return true;
    if (!boxesOverlap(w, q)) return false;
    bool result = false;
    walkSegment(w.start(), w.end(), [&](GridPoint p) {
      if (!q.covers(p)) return true;
      result = m_junctions.at(p) || m_terminals.at(p);
      return false;
    });
    return result;
  }

  void numberTerminal(Element& element, int terminal) {
    const GridPoint p = element.terminalPoint(terminal);
    const auto& wires = m_schematic.wires();
    // Every wire through p meets the terminal. If one of them already carries a node, that is
    // the terminal's node, and the others join it; otherwise they start a new node.
    int node = -1;
    std::vector<Linia*> members;
    if (onGrid(p)) {
      for (int index : m_wiresAt[cell(p)]) {
        Linia* w = wires[static_cast<std::size_t>(index)].get();
        if (w->node >= 0) {
          if (node < 0) node = w->node;
        } else {
          members.push_back(w);
        }
      }
    }
    const bool touchesWire = node >= 0 || !members.empty();
    if (touchesWire) {
      const bool fresh = node < 0;
      if (fresh) node = m_count;
      for (Linia* w : members) w->node = node;
      grow(members, node);
      element.setTerminalNode(terminal, node);
      if (fresh) ++m_count;
      return;
    }
    if (onGrid(p)) {
      const auto& elements = m_schematic.elements();
      for (int index : m_elementsAt[cell(p)]) {
        const Element& other = *elements[static_cast<std::size_t>(index)];
        if (&other != &element && other.joinTerminalAt(element, terminal, p)) return;
      }
    }
    element.setTerminalNode(terminal, m_count++);
  }

  // Adds to the node every unnumbered wire joined to a member, members in order and the
  // candidates of each in wire-list order.
  void grow(std::vector<Linia*>& members, int node) {
    const auto& wires = m_schematic.wires();
    std::vector<int> candidates;
    for (std::size_t i = 0; i < members.size(); ++i) {
      const Linia& w = *members[i];
      candidates.clear();
      walkSegment(w.start(), w.end(), [&](GridPoint p) {
        if (onGrid(p))
          for (int index : m_wiresAt[cell(p)])
            if (wires[static_cast<std::size_t>(index)]->node == -1) candidates.push_back(index);
        return true;
      });
      std::sort(candidates.begin(), candidates.end());
      candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
      for (int index : candidates) {
        Linia* q = wires[static_cast<std::size_t>(index)].get();
        if (q->node != -1 || !joined(w, *q)) continue;
        q->node = node;
        members.push_back(q);
      }
    }
  }

  Schematic& m_schematic;
  PointMarks m_junctions;
  PointMarks m_terminals;
  std::vector<std::vector<int>> m_wiresAt;
  std::vector<std::vector<int>> m_elementsAt;
  int m_count = 0;
};

}  // namespace

void numberNodes(Schematic& schematic) { NodeNumbering(schematic).run(); }

std::vector<std::string> showTopology(const Schematic& schematic) {
  std::vector<std::string> lines;
  int number = 0;
  for (const auto& e : schematic.elements()) {
    const GridPoint p = e->position();
    std::string line = std::to_string(number++) + " : " + e->nameOrCode(false) + "/" + e->name() +
                       "/[" + std::to_string(p.x) + "," + std::to_string(p.y) + "]/{" +
                       std::to_string(e->terminalNode(0)) + "," +
                       std::to_string(e->terminalNode(1));
    if (e->kind() == ElementKind::BJT) {
      line += "," + std::to_string(e->terminalNode(2)) + "(" +
              std::to_string(e->terminalNode(kInternalNodeTerminal)) + ")";
    } else if (e->terminalCount() == 4) {
      line += "," + std::to_string(e->terminalNode(2)) + "," + std::to_string(e->terminalNode(3));
    }
    line += "}/" + e->parameterText(TextForm::File, schematic.transferMode());
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace wolterix::model
