#include "rules/CLCCRSValidLength.h"

#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

namespace quorvex::internal {

void CLCCRSValidLength::SetParam(const char* value, const char* min, const char* max) {
  const bool hasValue = value != nullptr && *value != '\0';
  const bool hasMin = min != nullptr && *min != '\0';
  const bool hasMax = max != nullptr && *max != '\0';
  // The first applicable case decides, in this order.
  if (hasValue) {
    m_eMode = Mode::Exact;
    m_lExact = LeadingInteger(value);
  } else if (hasMin && hasMax) {
    m_eMode = Mode::Range;
    m_lMin = LeadingInteger(min);
    m_lMax = LeadingInteger(max);
  } else if (hasMax) {
    m_eMode = Mode::Max;
    m_lMax = LeadingInteger(max);
  } else {
    m_eMode = Mode::None;
  }
}

int CLCCRSValidLength::_validate(const char* value) const {
  if (m_eMode == Mode::None) {
    CRS_LOG_UNEXPECTED();
    return 1;
  }
  const long n = value != nullptr ? CLCCRSCommon::getCharacterLength(value) : 0;
  switch (m_eMode) {
    case Mode::Exact:
      return n == m_lExact ? 0 : MessageOr(CRSMSG_DIGITS);
    case Mode::Range:
      return n >= m_lMin && n <= m_lMax ? 0 : MessageOr(CRSMSG_DIGITS);
    case Mode::Max:
      return n <= m_lMax ? 0 : CRSMSG_TOO_LONG;
    case Mode::None:
      break;
  }
  return 1;
}
}  // namespace quorvex::internal
