#include "engine/element_model.h"
#include "engine/passive_models.h"
#include "engine/source_models.h"

namespace wolterix::engine {

std::unique_ptr<ElementModel> createModel(const model::Element& element,
                                          const model::Schematic& schematic) {
  using K = model::ElementKind;
  switch (element.kind()) {
    case K::Rez: return std::make_unique<ResistanceModel>(element);
    case K::Ind: return std::make_unique<InductanceModel>(element);
    case K::Poj: return std::make_unique<CapacitanceModel>(element);
    case K::mmV:
    case K::mmA:
    case K::mmW: return std::make_unique<MeterModel>(element);
    case K::Nap:
    case K::Prd: return std::make_unique<IndependentSourceModel>(element);
    case K::zsN:
    case K::zsP: return std::make_unique<ControlledSourceModel>(element, schematic);
    case K::nWe: return std::make_unique<InputVoltageModel>(element);
    case K::Dio:
    case K::Zen:
    case K::Tyr:
    case K::GTO:
    case K::TrM:
    case K::BJT:
    case K::RCT:
    case K::War:
    case K::nlL:
    case K::nlC:
    case K::Spr:
    case K::Tf1:
    case K::sDC:
    case K::wyl: return nullptr;
  }
  return nullptr;
}

}  // namespace wolterix::engine
