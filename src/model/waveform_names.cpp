#include "model/waveform_names.h"

#include "model/schematic.h"

namespace wolterix::model {

int branchCountOf(const Element& element) { return element.info().branchCount(); }

namespace {
std::string named(char letter, const Element& e) {
  return std::string(1, letter) + "(" + e.name() + ")";
}
}  // namespace

std::vector<std::string> waveformList(const Schematic& schematic) {
  std::vector<std::string> list;
  const bool transfer = schematic.transferMode();
  for (const auto& e : schematic.elements()) {
    const KindInfo& info = e->info();
    if (info.offers(kWaveU)) list.push_back(named(transfer ? 'K' : 'U', *e));
    if (transfer) continue;
    if (info.offers(kWaveI)) list.push_back(named('I', *e));
    if (info.offers(kWaveN)) list.push_back(named('n', *e));
    if (info.offers(kWaveP)) list.push_back(named('P', *e));
  }
  return list;
}

std::vector<std::string> controlQuantityList(const Schematic& schematic, const Element* source) {
  std::vector<std::string> list;
  for (const auto& e : schematic.elements()) {
    if (e.get() == source) continue;
    const KindInfo& info = e->info();
    if (info.offers(kWaveU)) list.push_back(named('U', *e));
    if (info.offers(kWaveI)) list.push_back(named('I', *e));
    if (info.offers(kWaveN)) list.push_back(named('n', *e));
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
