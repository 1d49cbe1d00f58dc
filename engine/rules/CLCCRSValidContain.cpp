#include "rules/CLCCRSValidContain.h"

#include "diagnostics/CLCValidResult.h"

namespace quorvex::internal {

void CLCCRSValidContain::SetParam(const char* list) {
  m_strList = list != nullptr ? list : "";
  m_vecItems = SplitAtSpaces(m_strList);
  // A list of blanks alone would refuse every value.
  SetParamProblem(m_vecItems.empty() ? DescribeParam("contain", "value", m_strList) + ": the list holds no item"
                                     : std::string());
}

CLCStatus CLCCRSValidContain::_validate(const char* value) const {
  if (HasParamProblem()) {
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  if (value == nullptr) return FailWith(CRSMSG_INVALID);
  return ListContains(m_vecItems, value) ? CLCStatus::Passed() : FailWith(CRSMSG_INVALID);
}
}  // namespace quorvex::internal
