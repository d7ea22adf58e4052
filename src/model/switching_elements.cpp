#include "model/switching_elements.h"

namespace wolterix::model {

std::string Thyristor::parameterText(TextForm form, bool transferMode) const {
  if (form == TextForm::File) return Element::parameterText(form, transferMode);
  return name() + " {" + labelledValues(0, kFirstAngle, transferMode) +
         " (on):" + givenValues(kFirstAngle, kFirstAngle + kAngleCount, "/") + " }";
}

std::string Wylacznik::parameterText(TextForm form, bool transferMode) const {
  if (form == TextForm::File) {
    std::vector<std::string> fields{m_initiallyOn ? "1" : "0"};
    appendFileFields(fields, 0, kTimeCount, transferMode);
    return joinFields(fields);
  }
  std::string times = givenValues(0, kTimeCount, "/");
  if (!times.empty()) times.pop_back();  // separated, not terminated, by "/"
  return name() + " { " + (m_initiallyOn ? "on" : "off") + "; switch:" + times + "; }";
}

void Wylacznik::parseFields(FieldCursor& fields) {
  const auto state = fields.next();
  if (!state) return;
  if (*state == "1" || *state == "0") m_initiallyOn = *state == "1";
  readParameters(fields, 0, kTimeCount);
}

}  // namespace wolterix::model
