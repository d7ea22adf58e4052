#include "results/plot_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/frequency_sweep.h"
#include "engine/waveform_store.h"
#include "model/element.h"
#include "model/schematic.h"
#include "model/waveform_names.h"
#include "results/plot_scales.h"

namespace wolterix::results {

double inputLevelOf(const model::Schematic& schematic) {
  for (const auto& element : schematic.elements())
    if (element->kind() == model::ElementKind::nWe) return element->inputLevel();
  return 0.0;
}

TimePlot buildTimePlot(const engine::WaveformStore& store, const WaveformSelection& selection) {
  TimePlot plot;
  plot.startTime = store.startTime;
  plot.spacing = store.spacing;
  plot.sampleCount = store.sampleCount;
  for (int slot = 0; slot < WaveformSelection::kSlotCount; ++slot) {
    const TraceSlot& chosen = selection.traceSlots[slot];
    if (!chosen.on || chosen.name.empty()) continue;
    const auto parts = model::splitWaveformName(chosen.name);
    if (!parts) continue;
    auto samples = store.trace(chosen.name);
    if (!samples) continue;
    samples->resize(
        std::min<std::size_t>(samples->size(), std::size_t(std::max(0, store.sampleCount))));
    plot.traces.push_back({slot, chosen.name, quantityOfLetter(parts->first), std::move(*samples)});
  }
  std::vector<int> rows(std::size_t(store.stateRows()));
  for (int row = 0; row < store.stateRows(); ++row) rows[std::size_t(row)] = row;
  std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
    return store.stateElementIndex(a) < store.stateElementIndex(b);
  });
  for (const int row : rows) {
    const auto states = store.stateRow(row);
    const std::size_t kept = std::min(states.size(), std::size_t(std::max(0, store.sampleCount)));
    plot.conduction.push_back(
        {store.stateElement(row).name, {states.begin(), states.begin() + kept}});
  }
  for (int qi = 0; qi < kQuantityCount; ++qi) {
    const Quantity q = static_cast<Quantity>(qi);
    plot.fixedScales[qi] = selection.isFixed(q);
    if (selection.isFixed(q)) plot.scales[qi] = selection.fixedScaleValue(q);
  }
  fitAutomaticScales(plot);
  return plot;
}

void fitAutomaticScales(TimePlot& plot) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  std::array<double, kQuantityCount> smallest{kInf, kInf, kInf, kInf};
  std::array<double, kQuantityCount> largest{-kInf, -kInf, -kInf, -kInf};
  std::array<bool, kQuantityCount> present{};
  for (const TimeTrace& trace : plot.traces) {
    const int qi = static_cast<int>(trace.quantity);
    present[qi] = true;
    for (double v : trace.samples) {
      if (!std::isfinite(v)) continue;
      smallest[qi] = std::min(smallest[qi], v);
      largest[qi] = std::max(largest[qi], v);
    }
  }
  for (int qi = 0; qi < kQuantityCount; ++qi) {
    if (!present[qi]) {
      plot.scales[qi] = -1;
      continue;
    }
    if (plot.fixedScales[qi]) continue;
    plot.scales[qi] =
        automaticScale(static_cast<Quantity>(qi), std::isfinite(smallest[qi]) ? smallest[qi] : 0.0,
                       std::isfinite(largest[qi]) ? largest[qi] : 0.0);
  }
}

TransferPlot buildTransferPlot(const engine::FrequencyStore& store,
                               const WaveformSelection& selection, double inputLevel) {
  TransferPlot plot;
  plot.inputLevel = inputLevel;
  const int points = std::max(0, store.pointCount);
  plot.frequencies.reserve(points);
  for (int k = 0; k < points; ++k) plot.frequencies.push_back(store.frequency(k));
  for (int slot = 0; slot < WaveformSelection::kSlotCount; ++slot) {
    const TraceSlot& chosen = selection.traceSlots[slot];
    if (!chosen.on || chosen.name.empty()) continue;
    auto values = store.trace(chosen.name);
    if (!values) continue;
    values->resize(std::min<std::size_t>(values->size(), std::size_t(points)));
    plot.traces.push_back({slot, chosen.name, std::move(*values), false});
  }
  fitTransferScales(plot, kMagnitudeSpans[std::clamp(selection.magnitudeScale, 0, 5)]);
  return plot;
}

void fitTransferScales(TransferPlot& plot, double dbSpan) {
  double peakDb = -std::numeric_limits<double>::infinity();
  double largestPart = 0.0;
  for (TransferTrace& trace : plot.traces) {
    trace.hasZero = false;
    for (const auto& k : trace.values) {
      if (k == std::complex<double>{}) trace.hasZero = true;
      largestPart = std::max({largestPart, std::fabs(k.real()), std::fabs(k.imag())});
    }
    if (!trace.hasZero)
      for (const auto& k : trace.values) peakDb = std::max(peakDb, magnitudeDb(k, plot.inputLevel));
  }
  if (!plot.frequencies.empty() && plot.frequencies.front() > 0.0) {
    plot.lowerFrequency = plot.frequencies.front();
    plot.lowerDecade = firstDecade(plot.lowerFrequency);
    plot.decades = std::log10(plot.frequencies.back() / plot.lowerFrequency);
  }
  const DbRange range = magnitudeRange(std::isfinite(peakDb) ? peakDb : 0.0, dbSpan);
  plot.dbTop = range.top;
  plot.dbBottom = range.bottom;
  plot.complexScale = complexPlaneScale(largestPart);
}

}  // namespace wolterix::results
