#include "model/waveform_names.h"

#include "model/schematic.h"

namespace wolterix::model {

int branchCountOf(const Element& element) {
  if (element.kind() == ElementKind::BJT) return 3;
  return element.terminalCount() == 4 ? 2 : 1;  // two windings or two paths
}

namespace {
std::string named(char letter, const Element& e) { return std::string(1, letter) + "(" + e.name() + ")"; }
}  // namespace

std::vector<std::string> waveformList(const Schematic& schematic) {
  using K = ElementKind;
  std::vector<std::string> list;
  const bool transfer = schematic.transferMode();
  for (const auto& e : schematic.elements()) {
    const K kind = e->kind();
    if (kind == K::Spr || kind == K::Tf1) continue;
    if (kind != K::mmA && kind != K::mmW) list.push_back(named(transfer ? 'K' : 'U', *e));
    if (transfer) continue;
    if (kind != K::mmV && kind != K::mmW) list.push_back(named('I', *e));
    if (kind == K::sDC) list.push_back(named('n', *e));
    if (kind != K::BJT && kind != K::mmV && kind != K::mmA) list.push_back(named('P', *e));
  }
  return list;
}

std::vector<std::string> controlQuantityList(const Schematic& schematic, const Element* source) {
  using K = ElementKind;
  std::vector<std::string> list;
  for (const auto& e : schematic.elements()) {
    const K kind = e->kind();
    if (e.get() == source || kind == K::Spr || kind == K::Tf1 || kind == K::mmW) continue;
    if (kind != K::mmA) list.push_back(named('U', *e));
    if (kind != K::mmV) list.push_back(named('I', *e));
    if (kind == K::sDC) list.push_back(named('n', *e));
  }
  return list;
}

std::optional<std::pair<char, std::string>> splitWaveformName(std::string_view name) {
  if (name.size() < 4 || name[1] != '(' || name.back() != ')') return std::nullopt;
  return std::pair<char, std::string>{name[0], std::string(name.substr(2, name.size() - 3))};
}

std::optional<ResolvedTrace> resolveWaveform(const Schematic& schematic, std::string_view name) {
  const auto parts = splitWaveformName(name);
  if (!parts) return std::nullopt;
  const char letter = parts->first == 'K' ? 'U' : parts->first;
  int branch = 0;
  int index = 0;
  for (const auto& e : schematic.elements()) {
    if (e->name() == parts->second) return ResolvedTrace{e.get(), letter, branch, index};
    branch += branchCountOf(*e);
    ++index;
  }
  return std::nullopt;
}

}  // namespace wolterix::model
