#include "rules/CLCCRSValidNotExist.h"

namespace quorvex::internal {

int CLCCRSValidNotExist::_validate(const char* value) const {
  if (value != nullptr && *value != '\0') return MessageOr(CRSMSG_NOT_ALLOWED);
  return 0;
}
}  // namespace quorvex::internal
