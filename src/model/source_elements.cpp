#include "model/source_elements.h"

namespace wolterix::model {

std::string IndependentSource::parameterText(TextForm form, bool transferMode) const {
  const bool periodic = m_waveform != Waveform::Constant;
  if (form == TextForm::File) {
    std::vector<std::string> fields{std::string(waveformCode(m_waveform))};
    appendFileFields(fields, 0, periodic ? param::source::Count : param::source::F, transferMode);
    return joinFields(fields);
  }
  const bool voltage = kind() == ElementKind::Nap;
  std::string text = name() + " { " + std::string(waveformLongName(m_waveform));
  text += voltage ? "; E=" : "; J=";
  text += parameter(param::source::Value).text();
  text += voltage ? "; Rw=" : "; Gw=";
  text += parameter(param::source::Internal).text() + "; ";
  if (periodic)
    text += "f=" + parameter(param::source::F).text() +
            "; faza=" + parameter(param::source::Phase).text() + ";";
  return text + " }";
}

void IndependentSource::parseFields(FieldCursor& fields) {
  const auto code = fields.next();
  if (!code) return;
  if (const auto waveform = waveformFromCode(*code)) m_waveform = *waveform;
  readParameters(fields, 0, parameterCount());
}

bool ControlledSource::setControl(std::string_view text) {
  if (text == "?") {
    m_control.clear();
    return true;
  }
  // The quantity travels in the "/"-separated file form, so it may not contain "/" or "$".
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '$' || u < 0x20 || u == 0x7F) return false;
  }
  m_control = std::string(text);
  return true;
}

std::string ControlledSource::parameterText(TextForm form, bool transferMode) const {
  const std::string control = m_control.empty() ? "?" : m_control;
  if (form == TextForm::File) {
    std::vector<std::string> fields{parameter(param::controlled::K).text(), control};
    appendFileFields(fields, param::controlled::Internal, param::controlled::Count, transferMode);
    return joinFields(fields);
  }
  const bool voltage = kind() == ElementKind::zsN;
  return name() + (voltage ? " { E=" : " { J=") + parameter(param::controlled::K).text() + "×" +
         control + (voltage ? "; Rw=" : "; Gw=") + parameter(param::controlled::Internal).text() +
         "; }";
}

void ControlledSource::parseFields(FieldCursor& fields) {
  // The controlling quantity stands between k and the internal immittance.
  readParameters(fields, param::controlled::K, param::controlled::Internal);
  if (const auto control = fields.next()) setControl(*control);
  readParameters(fields, param::controlled::Internal, param::controlled::Count);
}

}  // namespace wolterix::model
