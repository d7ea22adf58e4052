#include "model/version.h"

namespace wolterix::model {

std::string_view programVersion() { return WOLTERIX_VERSION; }

}  // namespace wolterix::model
