#include "rules/CLCCRSValidExist.h"

namespace quorvex::internal {

int CLCCRSValidExist::_validate(const char* value) const {
  if (value == nullptr || *value == '\0') return MessageOr(CRSMSG_NOT_ENTERED);
  return 0;
}
}  // namespace quorvex::internal
