#include "engine/element_model.h"
#include "engine/machine_models.h"
#include "engine/magnetic_models.h"
#include "engine/nonlinear_models.h"
#include "engine/passive_models.h"
#include "engine/source_models.h"
#include "engine/switching_models.h"

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
    case K::Dio: return std::make_unique<DiodeModel>(element);
    case K::Zen: return std::make_unique<ZenerModel>(element);
    case K::Tyr:
    case K::RCT: return std::make_unique<ThyristorModel>(element);
    case K::GTO:
    case K::TrM: return std::make_unique<TurnOffModel>(element);
    case K::wyl: return std::make_unique<SwitchModel>(element);
    case K::War: return std::make_unique<VaristorModel>(element);
    case K::nlL: return std::make_unique<NonlinearInductanceModel>(element);
    case K::nlC: return std::make_unique<NonlinearCapacitanceModel>(element);
    case K::Spr: return std::make_unique<CoupledCoilsModel>(element);
    case K::Tf1: return std::make_unique<TransformerModel>(element);
    case K::sDC: return std::make_unique<DcMotorModel>(element);
    case K::BJT: return std::make_unique<BjtModel>(element);
  }
  model::unknownKind(element.kind(), "createModel");
}

}  // namespace wolterix::engine
