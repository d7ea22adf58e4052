#include "model/passive_elements.h"

namespace wolterix::model {

std::string Pojemnosc::parameterText(TextForm form, bool transferMode) const {
  if (form == TextForm::File) return Element::parameterText(form, transferMode);
  // The capacitor's display form has no blank before its initial voltage.
  std::string text = name() + " { C=" + parameter(param::poj::C).text();
  if (!transferMode) text += ";Uo=" + parameter(param::poj::Uo).text();
  return text + "; }";
}

}  // namespace wolterix::model
