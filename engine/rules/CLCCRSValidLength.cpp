#include "rules/CLCCRSValidLength.h"

#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

#include <string>
#include <string_view>
#include <utility>

namespace quorvex::internal {

namespace {

// A length parameter is a whole number, read as LeadingInteger reads it
// (blanks and a plus sign before the digits); anything more is a definition
// error rather than a length, and so is a minus sign.
bool IsLengthNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t\n\r\f\v");
  if (i == std::string_view::npos) return false;
  if (text[i] == '+') ++i;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

}  // namespace

std::string CLCCRSValidLength::NumberProblem(const char* name, const char* text) {
  if (IsLengthNumber(text)) return std::string();
  return DescribeParam("length", name, text) + ": not a whole number of characters";
}

void CLCCRSValidLength::SetParam(const char* value, const char* min, const char* max) {
  const bool hasValue = value != nullptr && *value != '\0';
  const bool hasMin = min != nullptr && *min != '\0';
  const bool hasMax = max != nullptr && *max != '\0';
  // The first applicable case decides, in this order.
  std::string problem;
  if (hasValue) {
    m_eMode = Mode::Exact;
    m_lExact = LeadingInteger(value);
    problem = NumberProblem("value", value);
  } else if (hasMin && hasMax) {
    m_eMode = Mode::Range;
    m_lMin = LeadingInteger(min);
    m_lMax = LeadingInteger(max);
    problem = NumberProblem("min", min);
    if (problem.empty()) problem = NumberProblem("max", max);
    if (problem.empty() && m_lMin > m_lMax) {
      problem = DescribeParam("length", "min", min) + " is above max \"" + max + "\": no value can pass";
    }
  } else if (hasMax) {
    m_eMode = Mode::Max;
    m_lMax = LeadingInteger(max);
    problem = NumberProblem("max", max);
  } else {
    m_eMode = Mode::None;
    problem = "length: neither value (an exact length) nor max (a maximum, with min a range) is given";
  }
  SetParamProblem(std::move(problem));
}

CLCStatus CLCCRSValidLength::_validate(const char* value) const {
  if (HasParamProblem()) {
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  const long n = value != nullptr ? CLCCRSCommon::getCharacterLength(value) : 0;
  switch (m_eMode) {
    case Mode::Exact:
      return n == m_lExact ? CLCStatus::Passed() : FailWith(CRSMSG_DIGITS);
    case Mode::Range:
      return n >= m_lMin && n <= m_lMax ? CLCStatus::Passed() : FailWith(CRSMSG_DIGITS);
    case Mode::Max:
      return CLCStatus::FailedUnless(n <= m_lMax, CRSMSG_TOO_LONG);
    case Mode::None:
      break;
  }
  return CLCStatus::Fatal();
}
}  // namespace quorvex::internal
