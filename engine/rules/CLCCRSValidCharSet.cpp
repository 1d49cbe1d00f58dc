#include "rules/CLCCRSValidCharSet.h"

#include "diagnostics/CLCValidResult.h"

#include <string>
#include <string_view>

namespace quorvex::internal {

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsLatin(unsigned char c) { return c == '\t' || c == '\n' || c == '\r' || (c >= 32 && c <= 126); }
bool IsFugo(unsigned char c) { return IsDigit(c) || c == '+' || c == '-' || c == '.'; }
bool IsMessageRefId(unsigned char c) { return IsDigit(c) || IsLetter(c) || c == '-' || c == '.'; }

template <class Allowed>
bool AllOf(const char* value, Allowed allowed) {
  // Bytes of UTF-8 text: every byte of a non-ASCII character is 0x80 or above
  // and so fails every set, as the character itself must.
  for (const char* p = value; *p != '\0'; ++p) {
    if (!allowed(static_cast<unsigned char>(*p))) return false;
  }
  return true;
}

}  // namespace

void CLCCRSValidCharSet::SetParam(const char* name) {
  const std::string_view set(name != nullptr ? name : "");
  if (set == "latinString") {
    m_eSet = Set::LatinString;
  } else if (set == "fugoNumber") {
    m_eSet = Set::FugoNumber;
  } else if (set == "number") {
    m_eSet = Set::Number;
  } else if (set == "MessageRefId") {
    m_eSet = Set::MessageRefId;
  } else {
    m_eSet = Set::Unknown;
  }
  SetParamProblem(m_eSet != Set::Unknown ? std::string()
                                         : DescribeParam("charSet", "value", set) +
                                               ": no such character set (latinString, fugoNumber, number, "
                                               "MessageRefId)");
}

CLCStatus CLCCRSValidCharSet::_validate(const char* value) const {
  // An unknown set is a definition error whatever the value, so it is found
  // on the first run and not only once a column is filled in.
  if (HasParamProblem()) {
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  if (value == nullptr) return CLCStatus::Passed();
  switch (m_eSet) {
    case Set::LatinString:
      return CLCStatus::FailedUnless(AllOf(value, IsLatin), CRSMSG_BAD_CHARACTER);
    case Set::FugoNumber:
      return CLCStatus::FailedUnless(AllOf(value, IsFugo), CRSMSG_BAD_CHARACTER);
    case Set::Number:
      return CLCStatus::FailedUnless(AllOf(value, IsDigit), CRSMSG_NOT_DIGITS);
    case Set::MessageRefId:
      return CLCStatus::FailedUnless(AllOf(value, IsMessageRefId), CRSMSG_BAD_CHARACTER);
    case Set::Unknown:
      break;
  }
  return CLCStatus::Fatal();
}
}  // namespace quorvex::internal
