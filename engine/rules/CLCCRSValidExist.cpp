#include "rules/CLCCRSValidExist.h"

namespace quorvex::internal {

CLCStatus CLCCRSValidExist::_validate(const char* value) const {
  if (value == nullptr || *value == '\0') return FailWith(CRSMSG_NOT_ENTERED);
  return CLCStatus::Passed();
}
}  // namespace quorvex::internal
