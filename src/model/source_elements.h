#pragma once
/// Independent sources, controlled sources and the input voltage of a transfer function.

#include "model/element.h"

namespace wolterix::model {

/// Voltage source (E, Rw) or current source (J, Gw) with one of five waveforms.
class IndependentSource : public Element {
 public:
  Waveform waveform() const { return m_waveform; }
  void setWaveform(Waveform waveform) { m_waveform = waveform; }

  std::string parameterText(TextForm form, bool transferMode) const override;

 protected:
  using Element::Element;
  void parseFields(FieldCursor& fields) override;

 private:
  Waveform m_waveform = Waveform::Constant;
};

class Napiecie final : public IndependentSource {
 public:
  Napiecie() : IndependentSource(ElementKind::Nap) {}
};

class Prond final : public IndependentSource {
 public:
  Prond() : IndependentSource(ElementKind::Prd) {}
};

/// Source controlled by another quantity of the circuit: value = k * X.
class ControlledSource : public Element {
 public:
  /// The controlling quantity ("U(R1)"); empty while not chosen.
  const std::string& control() const { return m_control; }
  /// Sets the controlling quantity; "?" clears it. Refuses texts the file cannot carry.
  bool setControl(std::string_view text);

  std::string controlText() const override { return m_control; }
  void clearControl() override { m_control.clear(); }
  std::string parameterText(TextForm form, bool transferMode) const override;

 protected:
  using Element::Element;
  void parseFields(FieldCursor& fields) override;

 private:
  std::string m_control;
};

class NapiecieSter final : public ControlledSource {
 public:
  NapiecieSter() : ControlledSource(ElementKind::zsN) {}
};

class ProndSter final : public ControlledSource {
 public:
  ProndSter() : ControlledSource(ElementKind::zsP) {}
};

/// The input voltage of a transfer-function workspace (its level in dB).
class NapWej final : public Element {
 public:
  NapWej() : Element(ElementKind::nWe) {}
  double inputLevel() const override { return parameter(param::nwe::Level).value(); }
};

}  // namespace wolterix::model
