#include "rules/CLCCRSValidNotExist.h"

namespace quorvex::internal {

CLCStatus CLCCRSValidNotExist::_validate(const char* value) const {
  if (value != nullptr && *value != '\0') return FailWith(CRSMSG_NOT_ALLOWED);
  return CLCStatus::Passed();
}
}  // namespace quorvex::internal
