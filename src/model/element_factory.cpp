#include "model/machine_elements.h"
#include "model/meter_elements.h"
#include "model/passive_elements.h"
#include "model/source_elements.h"
#include "model/switching_elements.h"

namespace wolterix::model {

namespace {
std::unique_ptr<Element> makeElement(ElementKind kind) {
  using K = ElementKind;
  switch (kind) {
    case K::Rez: return std::make_unique<Rezystancja>();
    case K::Ind: return std::make_unique<Indukcyjnosc>();
    case K::Poj: return std::make_unique<Pojemnosc>();
    case K::Dio: return std::make_unique<Dioda>();
    case K::Zen: return std::make_unique<Zener>();
    case K::Tyr: return std::make_unique<TyrystorSCR>();
    case K::GTO: return std::make_unique<TyrystorGTO>();
    case K::TrM: return std::make_unique<TranzMocy>();
    case K::BJT: return std::make_unique<TranzystorBJT>();
    case K::RCT: return std::make_unique<TyrystorRCT>();
    case K::War: return std::make_unique<Warystor>();
    case K::nlL: return std::make_unique<IndNieliniowa>();
    case K::nlC: return std::make_unique<PojNieliniowa>();
    case K::Spr: return std::make_unique<Sprzezenie>();
    case K::Tf1: return std::make_unique<Trafo1faz>();
    case K::sDC: return std::make_unique<SilnikDC>();
    case K::Nap: return std::make_unique<Napiecie>();
    case K::Prd: return std::make_unique<Prond>();
    case K::zsN: return std::make_unique<NapiecieSter>();
    case K::zsP: return std::make_unique<ProndSter>();
    case K::nWe: return std::make_unique<NapWej>();
    case K::mmV: return std::make_unique<Woltomierz>();
    case K::mmA: return std::make_unique<Amperomierz>();
    case K::mmW: return std::make_unique<Watomierz>();
    case K::wyl: return std::make_unique<Wylacznik>();
  }
  unknownKind(kind, "createElement");
}
}  // namespace

std::unique_ptr<Element> createElement(ElementKind kind, GridPoint position) {
  auto element = makeElement(kind);
  element->placeAt(position);
  return element;
}

}  // namespace wolterix::model
