#include "rules/CLCCRSValidContain.h"

#include "diagnostics/CLCValidResult.h"

namespace quorvex::internal {

void CLCCRSValidContain::SetParam(const char* list) {
  m_strList = list != nullptr ? list : "";
  m_vecItems = SplitAtSpaces(m_strList);
}

int CLCCRSValidContain::_validate(const char* value) const {
  if (m_strList.empty()) {
    CRS_LOG_UNEXPECTED();
    return 1;
  }
  if (value == nullptr) return MessageOr(CRSMSG_INVALID);
  return ListContains(m_vecItems, value) ? 0 : MessageOr(CRSMSG_INVALID);
}
}  // namespace quorvex::internal
