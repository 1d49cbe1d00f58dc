#include "rules/CLCCRSValidDateRange.h"

#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

#include <cstring>
#include <string_view>

namespace quorvex::internal {

void CLCCRSValidDateRange::SetParam(const char* min) {
  m_strMin = min != nullptr ? min : "";
  // Judged once: a bound that is no date is a definition error, whatever the values.
  m_bMinIsDate = CLCCRSCommon::dateTimeChange(m_strMin.c_str());
}

int CLCCRSValidDateRange::_validate(const char* value) const {
  if (!m_bMinIsDate) {
    CRS_LOG_UNEXPECTED();
    return 1;
  }
  if (value == nullptr) return CRSMSG_INVALID;
  const std::string_view text(value);
  if (LeadingInteger(text.substr(0, 4)) < 1900) return CRSMSG_INVALID;
  switch (CLCCRSCommon::dateTimeComp(value, m_strMin.c_str())) {
    case 1:
      return 0;
    case -2:
      CRS_LOG_UNEXPECTED();
      return 1;
    default:  // same day, earlier, or no date at all
      return CRSMSG_INVALID;
  }
}
}  // namespace quorvex::internal
