#include "model/meter_elements.h"

#include <utility>

namespace wolterix::model {

void Watomierz::placeFurtherTerminals(GridPoint d) {
  const GridPoint e{-d.y, d.x};
  m_terminals[2] = position() + e;
  m_terminals[3] = position() - e;
  if (terminalsSwapped) std::swap(m_terminals[2], m_terminals[3]);
}

}  // namespace wolterix::model
