#include "model/machine_elements.h"

namespace wolterix::model {

std::string TranzystorBJT::parameterText(TextForm form, bool transferMode) const {
  const std::string type = m_npn ? "npn" : "pnp";
  if (form == TextForm::File) {
    std::vector<std::string> fields{type};
    appendFileFields(fields, 0, parameterCount(), transferMode);
    return joinFields(fields);
  }
  return name() + " { " + type + ";" + labelledValues(0, parameterCount(), transferMode) + " }";
}

void TranzystorBJT::parseFields(FieldCursor& fields) {
  const auto type = fields.next();
  if (!type) return;
  if (*type == "npn" || *type == "pnp") m_npn = *type == "npn";
  readParameters(fields, 0, parameterCount());
}

void TranzystorBJT::placeFurtherTerminals(GridPoint) {
  // Collector and emitter change places when swapped; the base stays beside the centre.
  if (terminalsSwapped) std::swap(m_terminals[0], m_terminals[1]);
  m_terminals[2] = labelPoint();
}

std::vector<GridPoint> TranzystorBJT::coveredPoints() const {
  const auto [a, b] = axisPoints();
  return {position(), a, b, labelPoint()};
}

GridPoint TwoWindingElement::firstWindingCentre() const { return labelPoint(); }

GridPoint TwoWindingElement::secondWindingCentre() const {
  return position() - (labelPoint() - position());
}

void TwoWindingElement::placeFurtherTerminals(GridPoint d) {
  const GridPoint a = firstWindingCentre();
  const GridPoint b = secondWindingCentre();
  m_terminals = {a + d, a - d, b - d, b + d};
}

std::vector<GridPoint> TwoWindingElement::coveredPoints() const {
  std::vector<GridPoint> points;
  points.reserve(9);
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) points.push_back(position() + GridPoint{dx, dy});
  return points;
}

std::string SilnikDC::parameterText(TextForm form, bool transferMode) const {
  if (form == TextForm::File) {
    std::vector<std::string> fields;
    appendFileFields(fields, 0, kBeforeLoadType, transferMode);
    fields.emplace_back(m_activeLoad ? "1" : "0");
    appendFileFields(fields, kBeforeLoadType, parameterCount(), transferMode);
    return joinFields(fields);
  }
  // Only the rated data are shown; the rest lives in the dialog.
  return name() + " {" + labelledValues(param::sdc::P, param::sdc::A, transferMode) + " }";
}

void SilnikDC::parseFields(FieldCursor& fields) {
  readParameters(fields, 0, kBeforeLoadType);
  const auto loadType = fields.next();
  if (!loadType) return;
  if (*loadType == "1" || *loadType == "0") m_activeLoad = *loadType == "1";
  readParameters(fields, kBeforeLoadType, parameterCount());
}

}  // namespace wolterix::model
