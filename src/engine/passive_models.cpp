#include "engine/passive_models.h"

namespace wolterix::engine {

namespace param = model::param;

namespace {
constexpr double kMeterOpen = 1e-9;
constexpr double kMeterShort = 1e6;
constexpr double kTwoPi = 6.283185308;
}  // namespace

BranchStamp ResistanceModel::companion(double, double, SubBranchCode) {
  return {1.0 / value(param::rez::R), 0.0};
}

AcStamp ResistanceModel::acStamp(double) const { return {1.0 / value(param::rez::R), 0.0}; }

AcStamp InductanceModel::acStamp(double f) const {
  return {Complex(0.0, -1.0 / (kTwoPi * f * value(param::ind::L))), 0.0};
}

void InductanceModel::resetState() {
  m_current = m_currentDirection ? value(param::ind::Io) : -value(param::ind::Io);
}

AcStamp CapacitanceModel::acStamp(double f) const {
  return {Complex(0.0, kTwoPi * f * value(param::poj::C)), 0.0};
}

void CapacitanceModel::resetState() {
  m_voltage = m_voltageDirection ? value(param::poj::Uo) : -value(param::poj::Uo);
}

namespace {
double meterConductance(model::ElementKind kind, SubBranchCode code) {
  if (kind == model::ElementKind::mmA) return kMeterShort;
  if (kind == model::ElementKind::mmW && code == SubBranchCode::CurrentPath) return kMeterShort;
  return kMeterOpen;
}
}  // namespace

BranchStamp MeterModel::companion(double, double, SubBranchCode code) {
  return {meterConductance(kind(), code), 0.0};
}

// In the transfer analysis only the voltmeter is a branch; the ammeter and the wattmeter
// are open.
AcStamp MeterModel::acStamp(double) const {
  return {kind() == model::ElementKind::mmV ? kMeterOpen : 0.0, 0.0};
}

}  // namespace wolterix::engine
