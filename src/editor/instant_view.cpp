#include "editor/instant_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "engine/meter_reading.h"
#include "engine/waveform_store.h"
#include "model/schematic.h"

namespace wolterix::editor {

namespace {

using model::GridPoint;

int cellOf(GridPoint p) { return p.x * model::kGridSize + p.y; }

// The wires as a graph: its vertices are the points where something may join a wire (its
// ends, junctions, element terminals), its edges the pieces between neighbouring ones.
class WireGraph {
 public:
  explicit WireGraph(const model::Schematic& schematic) {
    std::vector<bool> joins(model::kGridSize * model::kGridSize, false);
    const auto mark = [&](GridPoint p) {
      if (model::onGrid(p)) joins[static_cast<std::size_t>(cellOf(p))] = true;
    };
    for (const auto& j : schematic.junctions()) mark(j->position());
    for (const auto& e : schematic.elements())
      for (int t = 0; t < e->terminalCount(); ++t) mark(e->terminalPoint(t));
    for (const auto& wire : schematic.wires()) {
      const GridPoint start = wire->start();
      const GridPoint end = wire->end();
      if (start == end || !model::onGrid(start) || !model::onGrid(end)) continue;
      int previous = -1;
      model::walkSegment(start, end, [&](GridPoint p) {
        if (!model::onGrid(p)) return false;
        if (p == start || p == end || joins[static_cast<std::size_t>(cellOf(p))]) {
          const int v = vertex(p);
          if (previous >= 0) addEdge(previous, v);
          previous = v;
        }
        return true;
      });
    }
  }

  /// The vertex at p, -1 when no wire joins there.
  int find(GridPoint p) const {
    const auto it = m_vertexOf.find(cellOf(p));
    return it == m_vertexOf.end() ? -1 : it->second;
  }
  int vertexCount() const { return static_cast<int>(m_points.size()); }
  GridPoint point(int v) const { return m_points[static_cast<std::size_t>(v)]; }
  struct Edge {
    int a;
    int b;
  };
  const std::vector<Edge>& edges() const { return m_edges; }
  /// (neighbour, edge) pairs of a vertex.
  const std::vector<std::pair<int, int>>& around(int v) const {
    return m_around[static_cast<std::size_t>(v)];
  }

 private:
  int vertex(GridPoint p) {
    const auto [it, added] = m_vertexOf.try_emplace(cellOf(p), vertexCount());
    if (added) {
      m_points.push_back(p);
      m_around.emplace_back();
    }
    return it->second;
  }
  void addEdge(int a, int b) {
    const int e = static_cast<int>(m_edges.size());
    m_edges.push_back({a, b});
    m_around[static_cast<std::size_t>(a)].emplace_back(b, e);
    m_around[static_cast<std::size_t>(b)].emplace_back(a, e);
  }

  std::unordered_map<int, int> m_vertexOf;
  std::vector<GridPoint> m_points;
  std::vector<Edge> m_edges;
  std::vector<std::vector<std::pair<int, int>>> m_around;
};

// The current of every edge from its a to its b: on a spanning tree of each net the current
// through a tree edge is what the element terminals inject on its child's side; the edges
// that close loops carry none.
std::vector<double> edgeCurrents(const WireGraph& graph, const std::vector<double>& injected) {
  const int n = graph.vertexCount();
  std::vector<double> current(graph.edges().size(), 0.0);
  std::vector<int> parentEdge(static_cast<std::size_t>(n), -1);
  std::vector<bool> seen(static_cast<std::size_t>(n), false);
  std::vector<double> subtree(injected);
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(n));
  for (int root = 0; root < n; ++root) {
    if (seen[static_cast<std::size_t>(root)]) continue;
    seen[static_cast<std::size_t>(root)] = true;
    const std::size_t first = order.size();
    order.push_back(root);
    for (std::size_t i = first; i < order.size(); ++i)
      for (const auto& [next, edge] : graph.around(order[i])) {
        if (seen[static_cast<std::size_t>(next)]) continue;
        seen[static_cast<std::size_t>(next)] = true;
        parentEdge[static_cast<std::size_t>(next)] = edge;
        order.push_back(next);
      }
  }
  // Children before parents: each hands its side's sum up through its tree edge.
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const int v = *it;
    const int edge = parentEdge[static_cast<std::size_t>(v)];
    if (edge < 0) continue;
    const WireGraph::Edge& e = graph.edges()[static_cast<std::size_t>(edge)];
    const int parent = e.a == v ? e.b : e.a;
    const double up = subtree[static_cast<std::size_t>(v)];
    subtree[static_cast<std::size_t>(parent)] += up;
    current[static_cast<std::size_t>(edge)] = e.a == v ? up : -up;
  }
  return current;
}

std::string withName(char quantity, const std::string& name) {
  return std::string(1, quantity) + "(" + name + ")";
}

}  // namespace

int nearestSample(const engine::WaveformStore& store, double t) {
  if (store.sampleCount <= 0) return 0;
  const double k = store.spacing > 0 ? std::round((t - store.startTime) / store.spacing) : 0.0;
  return static_cast<int>(std::clamp(k, 0.0, static_cast<double>(store.sampleCount - 1)));
}

std::string prefixedValue(double value, std::string_view unit, int digits) {
  digits = std::clamp(digits, 1, 9);
  const double magnitude = std::fabs(value);
  int prefix = 0;
  double scaled = value;
  const auto decimals = [digits](double m) {
    return std::max(0, digits - 1 - static_cast<int>(std::floor(std::log10(m))));
  };
  if (std::isfinite(magnitude) && magnitude >= 1e-12) {
    prefix = std::clamp(static_cast<int>(std::floor(std::log10(magnitude) / 3.0)), -4, 4);
    scaled = value / std::pow(1000.0, prefix);
    // 999,95 rounds up to 1000 of its prefix: the next prefix writes it as 1.
    const double unitStep = std::pow(10.0, decimals(std::fabs(scaled)));
    if (std::round(std::fabs(scaled) * unitStep) / unitStep >= 1000.0 && prefix < 4) {
      ++prefix;
      scaled /= 1000.0;
    }
  } else if (!std::isfinite(value)) {
    return "? " + std::string(unit);
  } else {
    scaled = 0.0;
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", scaled == 0.0 ? 0 : decimals(std::fabs(scaled)),
                scaled);
  std::string text(buffer);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  std::replace(text.begin(), text.end(), '.', ',');
  if (!text.empty() && text.front() == '-') text.replace(0, 1, "\u2212");
  return text + " " + engine::prefixText(prefix) + std::string(unit);
}

InstantView instantAt(const model::Schematic& schematic, const engine::WaveformStore& store,
                      int sample, double fraction) {
  InstantView view;
  if (store.sampleCount <= 0) return view;
  view.sample = std::clamp(sample, 0, store.sampleCount - 1);
  view.time = store.startTime + view.sample * store.spacing;

  std::unordered_map<std::string_view, const engine::StoredElement*> stored;
  for (const engine::StoredElement& e : store.elements) stored.try_emplace(e.name, &e);

  const WireGraph graph(schematic);
  std::vector<double> injected(static_cast<std::size_t>(graph.vertexCount()), 0.0);
  double largest = 0.0;
  for (const auto& element : schematic.elements()) {
    const auto it = stored.find(element->name());
    if (it == stored.end()) continue;
    ElementInstant instant;
    instant.element = element.get();
    const std::array<double, 4> into = store.terminalCurrents(*it->second, view.sample);
    for (int t = 0; t < element->terminalCount() && t < 4; ++t) {
      const double i = into[static_cast<std::size_t>(t)];
      instant.current = std::max(instant.current, std::fabs(i));
      // What flows into the element leaves the wires at its terminal.
      if (const int v = graph.find(element->terminalPoint(t)); v >= 0)
        injected[static_cast<std::size_t>(v)] -= i;
    }
    if (const int row = store.stateRowOf(element->name()); row >= 0) {
      const auto states = store.stateRow(row);
      const auto k = static_cast<std::size_t>(view.sample);
      instant.conducting = k < states.size() && states[k] != 0;
    }
    // Only the quantities the element offers as waveforms (a voltmeter: its voltage).
    if (element->info().offers(model::kWaveU))
      instant.voltage = store.valueAt(withName('U', element->name()), view.sample);
    if (element->info().offers(model::kWaveI))
      instant.branchCurrent = store.valueAt(withName('I', element->name()), view.sample);
    largest = std::max(largest, instant.current);
    view.elements.push_back(instant);
  }
  view.threshold = fraction * largest;

  const std::vector<double> currents = edgeCurrents(graph, injected);
  for (std::size_t e = 0; e < currents.size(); ++e) {
    const WireGraph::Edge& edge = graph.edges()[e];
    WirePiece piece{graph.point(edge.a), graph.point(edge.b), currents[e]};
    piece.highlighted = std::fabs(piece.current) > view.threshold;
    if (piece.highlighted) view.picture.pieces.emplace_back(piece.from, piece.to);
    view.pieces.push_back(piece);
  }
  for (ElementInstant& instant : view.elements) {
    instant.highlighted = instant.conducting || instant.current > view.threshold;
    if (instant.highlighted) view.picture.elements.push_back(instant.element);
    drawing::InstantPicture::Label label{instant.element, {}};
    if (instant.voltage) label.lines.push_back(prefixedValue(*instant.voltage, "V"));
    if (instant.branchCurrent) label.lines.push_back(prefixedValue(*instant.branchCurrent, "A"));
    if (!label.lines.empty()) view.picture.labels.push_back(std::move(label));
  }
  return view;
}

}  // namespace wolterix::editor
