#include "rules/CLCCRSValidDateRange.h"

#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

#include <cstring>
#include <string_view>

namespace quorvex::internal {

void CLCCRSValidDateRange::SetParam(const char* min) {
  m_strMin = min != nullptr ? min : "";
  // Judged once: a bound that is no date is a definition error, whatever the values.
  SetParamProblem(CLCCRSCommon::dateTimeChange(m_strMin.c_str())
                      ? std::string()
                      : DescribeParam("dateRange", "min", m_strMin) + ": not a date");
}

CLCStatus CLCCRSValidDateRange::_validate(const char* value) const {
  if (HasParamProblem()) {
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  const CLCStatus invalid = CLCStatus::Failed(CRSMSG_INVALID);
  if (value == nullptr) return invalid;
  const std::string_view text(value);
  if (LeadingInteger(text.substr(0, 4)) < 1900) return invalid;
  switch (CLCCRSCommon::dateTimeComp(value, m_strMin.c_str())) {
    case 1:
      return CLCStatus::Passed();
    case -2:
      CRS_LOG_UNEXPECTED();
      return CLCStatus::Fatal();
    default:  // same day, earlier, or no date at all
      return invalid;
  }
}
}  // namespace quorvex::internal
