#include "rules/CLCCRSValidFormat.h"

#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

#include <string>
#include <utility>

namespace quorvex::internal {

namespace {

// Character classes of the shape strings below; any other character of a
// shape stands for itself.
//   '9' [0-9]   '#' [A-Z0-9]   '@' [A-Z]   '*' [a-zA-Z]   '%' [a-zA-Z0-9]
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsAlpha(char c) { return IsUpper(c) || (c >= 'a' && c <= 'z'); }

bool MatchClass(char shape, char c) {
  switch (shape) {
    case '9':
      return IsDigit(c);
    case '#':
      return IsUpper(c) || IsDigit(c);
    case '@':
      return IsUpper(c);
    case '*':
      return IsAlpha(c);
    case '%':
      return IsAlpha(c) || IsDigit(c);
    default:
      return c == shape;
  }
}

bool MatchShape(std::string_view shape, std::string_view text) {
  if (text.size() != shape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!MatchClass(shape[i], text[i])) return false;
  }
  return true;
}

// [\+]?[1-9][0-9]* followed by a full stop and exactly `decimals` digits when
// decimals is not 0.
bool MatchPlusInteger(std::string_view text, std::size_t decimals) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '+') ++i;
  if (i >= text.size() || text[i] < '1' || text[i] > '9') return false;
  ++i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  if (decimals == 0) return i == text.size();
  if (i >= text.size() || text[i] != '.') return false;
  ++i;
  if (text.size() - i != decimals) return false;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
  }
  return true;
}

// [a-zA-Z][a-zA-Z][0-9][0-9][a-zA-Z0-9]+
bool MatchIban(std::string_view text) {
  if (text.size() < 5 || !MatchShape("**99", text.substr(0, 4))) return false;
  for (std::size_t i = 4; i < text.size(); ++i) {
    if (!MatchClass('%', text[i])) return false;
  }
  return true;
}

struct PatternRow {
  const char* regex;
  const char* shape;  // null: matched by code
};

// The ECMAScript patterns and the shape strings that match the same texts.
constexpr PatternRow kPatterns[CLCCRSValidFormat::kPatternCount] = {
    {"^[J][P][0-9][0-9][0-9][0-9]$", "JP9999"},
    {"^[0-9][0-9][0-9]$", "999"},
    {"^[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]$", "9999999999999"},
    {"^[A-Z0-9][A-Z0-9][A-Z0-9][A-Z0-9][A-Z0-9][A-Z0-9][.][A-Z0-9][A-Z0-9][A-Z0-9][A-Z0-9][A-Z0-9][.][A-Z][A-Z]"
     "[.][0-9][0-9][0-9]$",
     "######.#####.@@.999"},
    {"^[F][I][0-9][0-9][0-9][0-9][0-9][0-9][0-9]$", "FI9999999"},
    {"^[A][C][0-9][0-9][0-9][0-9][0-9][0-9][0-9]$", "AC9999999"},
    {"^[0-9][0-9][0-9][0-9][-][0-9][0-9][-][0-9][0-9]$", "9999-99-99"},
    {"^[\\+]?[1-9][0-9]*$", nullptr},
    {"^[\\+]?[1-9][0-9]*[.][0-9]$", nullptr},
    {"^[\\+]?[1-9][0-9]*[.][0-9][0-9]$", nullptr},
    {"^[0]$", "0"},
    {"^[0][.][0-9]$", "0.9"},
    {"^[0][.][0-9][0-9]$", "0.99"},
    {"^[a-zA-Z][a-zA-Z][0-9][0-9][a-zA-Z0-9]+$", nullptr},
    {"^[a-zA-Z][a-zA-Z][a-zA-Z0-9][a-zA-Z0-9][a-zA-Z0-9][a-zA-Z0-9][a-zA-Z0-9][a-zA-Z0-9][a-zA-Z0-9][a-zA-Z0-9]"
     "[a-zA-Z0-9][0-9]$",
     "**%%%%%%%%%9"},
};

// The decimal patterns in the order they are tried.
constexpr CLCCRSValidFormat::Pattern kDecimalFormatTable[] = {
    CLCCRSValidFormat::kPatDecimal1, CLCCRSValidFormat::kPatDecimal2, CLCCRSValidFormat::kPatDecimal3,
    CLCCRSValidFormat::kPatDecimal4, CLCCRSValidFormat::kPatDecimal5, CLCCRSValidFormat::kPatDecimal6,
};

// Length in UTF-16 code units, as everywhere a rule counts characters; plain
// ASCII (every valid identifier) is counted without a conversion.
long CharacterLength(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return CLCCRSCommon::getCharacterLength(std::string(text).c_str());
  }
  return static_cast<long>(text.size());
}

// Characters `pos` onwards (zero-based), `count` of them. The slices tested here
// only ever hold ASCII to pass, and a non-ASCII character inside a byte slice
// always leaves one of its bytes there, so byte slices give the same answers.
std::string_view Slice(std::string_view text, std::size_t pos, std::size_t count) {
  return pos <= text.size() ? text.substr(pos, count) : std::string_view();
}

std::string_view Last(std::string_view text, std::size_t count) {
  return text.size() >= count ? text.substr(text.size() - count) : text;
}

}  // namespace

void CLCCRSValidFormat::SetParam(const char* name) {
  static constexpr std::pair<std::string_view, Format> kNames[] = {
      {"MessageRefId", kMessageRefId},       {"DocRefId_FI", kDocRefIdFI}, {"CorrDocRefId_FI", kCorrDocRefIdFI},
      {"DocRefId_AC", kDocRefIdAC},          {"CorrDocRefId_AC", kCorrDocRefIdAC},
      {"date", kDate},                       {"decimal", kDecimal},        {"AccountNumber_A", kAccountNumberA},
      {"AccountNumber_B", kAccountNumberB},
  };
  m_eFormat = kUnknown;
  const std::string_view text(name != nullptr ? name : "");
  for (const auto& [formatName, format] : kNames) {
    if (text == formatName) m_eFormat = format;
  }
  SetParamProblem(m_eFormat != kUnknown ? std::string()
                                        : DescribeParam("format", "value", text) +
                                              ": no such format (MessageRefId, DocRefId_FI, CorrDocRefId_FI, "
                                              "DocRefId_AC, CorrDocRefId_AC, date, decimal, AccountNumber_A, "
                                              "AccountNumber_B)");
}

const char* CLCCRSValidFormat::PatternText(Pattern pattern) {
  if (pattern < 0 || pattern >= kPatternCount) return nullptr;
  return kPatterns[pattern].regex;
}

bool CLCCRSValidFormat::MatchPattern(Pattern pattern, std::string_view text) {
  switch (pattern) {
    case kPatDecimal1:
      return MatchPlusInteger(text, 0);
    case kPatDecimal2:
      return MatchPlusInteger(text, 1);
    case kPatDecimal3:
      return MatchPlusInteger(text, 2);
    case kPatAccountNumberA:
      return MatchIban(text);
    case kPatternCount:
      return false;
    default:
      if (pattern < 0 || pattern >= kPatternCount) return false;
      return MatchShape(kPatterns[pattern].shape, text);
  }
}

CLCStatus CLCCRSValidFormat::CheckDijit_Hojin(const char* number) {
  const CLCStatus invalid = CLCStatus::Failed(CRSMSG_INVALID);
  if (number == nullptr) return CLCStatus::Failed(CRSMSG_DIGITS);
  const std::string_view digits(number);
  if (CharacterLength(digits) != 13) return CLCStatus::Failed(CRSMSG_DIGITS);
  int sum = 0;
  for (std::size_t i = 1; i < 13; ++i) {
    if (!IsDigit(digits[i])) return invalid;
    // Weights 2, 1, 2, 1, ... from the second digit on.
    sum += (digits[i] - '0') * (i % 2 == 1 ? 2 : 1);
  }
  if (!IsDigit(digits[0])) return invalid;
  return CLCStatus::FailedUnless(digits[0] - '0' == 9 - sum % 9, CRSMSG_INVALID);
}

CLCStatus CLCCRSValidFormat::ValidateMessageRefId(std::string_view value, long length) const {
  const CLCStatus invalid = CLCStatus::Failed(CRSMSG_INVALID);
  if (length < 6 || !MatchPattern(kPatMessageRefIdHead, Slice(value, 0, 6))) return invalid;
  if (length < 10) return invalid;
  const std::string_view kind = Slice(value, 6, 4);
  if (kind != "JPCN" && kind != "GIIN" && kind != "GUID" && kind != "NAME") return invalid;
  if (!MatchPattern(kPatThreeDigits, Last(value, 3))) return invalid;

  if (kind == "JPCN") {
    if (length < 23) return invalid;
    const std::string_view number = Slice(value, 10, 13);
    if (!MatchPattern(kPatCorporateNumber, number)) return invalid;
    const CLCStatus check = CheckDijit_Hojin(std::string(number).c_str());
    if (!check.IsPassed()) return check;
    return CLCStatus::FailedUnless(length == 26, CRSMSG_DIGITS);
  }
  if (kind == "GIIN") {
    if (length < 29 || !MatchPattern(kPatGIIN, Slice(value, 10, 19))) return invalid;
    return CLCStatus::FailedUnless(length == 32, CRSMSG_DIGITS);
  }
  if (kind == "GUID") return CLCStatus::FailedUnless(length == 49, CRSMSG_DIGITS);
  return CLCStatus::FailedUnless(length < 50, CRSMSG_TOO_LONG);  // NAME
}

CLCStatus CLCCRSValidFormat::_validate(const char* value) const {
  if (HasParamProblem()) {
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  if (value == nullptr) return CLCStatus::Failed(CRSMSG_INVALID);
  const std::string_view text(value);
  const long length = CharacterLength(text);
  switch (m_eFormat) {
    case kMessageRefId:
      return ValidateMessageRefId(text, length);
    case kDocRefIdFI:
    case kCorrDocRefIdFI:
      return CLCStatus::FailedUnless(length >= 9 && MatchPattern(kPatDocRefIdFI, Last(text, 9)), CRSMSG_INVALID);
    case kDocRefIdAC:
    case kCorrDocRefIdAC:
      return CLCStatus::FailedUnless(length >= 9 && MatchPattern(kPatDocRefIdAC, Last(text, 9)), CRSMSG_INVALID);
    case kDate:
      // There is no year 0 in the Gregorian calendar; refused outright so that
      // the answer does not hang on how the calendar service reads it.
      return CLCStatus::FailedUnless(MatchPattern(kPatDate, text) && text.substr(0, 4) != "0000" &&
                                         CLCCRSCommon::dateTimeChange(value),
                                     CRSMSG_INVALID);
    case kDecimal:
      for (const Pattern pattern : kDecimalFormatTable) {
        if (MatchPattern(pattern, text)) return CLCStatus::Passed();
      }
      return CLCStatus::Failed(CRSMSG_INVALID);
    case kAccountNumberA:
      return CLCStatus::FailedUnless(length >= 5 && length <= 34 && MatchPattern(kPatAccountNumberA, text),
                                     CRSMSG_ACCOUNT_NUMBER_TYPE);
    case kAccountNumberB:
      return CLCStatus::FailedUnless(length == 12 && MatchPattern(kPatAccountNumberB, text),
                                     CRSMSG_ACCOUNT_NUMBER_TYPE);
    case kUnknown:
      break;
  }
  return CLCStatus::Fatal();
}
}  // namespace quorvex::internal
