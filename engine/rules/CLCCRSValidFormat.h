#pragma once
#include "rules/CLCCRSValidItem.h"

#include <string_view>

namespace quorvex::internal {

// Rule "format": the structure of a CRS identifier or value type (message and
// document identifiers, dates, amounts, account numbers), including the check
// digit of a corporate number inside a MessageRefId.
//
// Every structural test is defined by an ECMAScript pattern (PatternText). The
// engine runs hand-written matchers that accept exactly what those patterns
// accept, so no expression is compiled while values are checked; a table test
// runs both on the same inputs.
class CLCCRSValidFormat : public CLCCRSValidItem {
 public:
  enum Format {
    kUnknown = 0,
    kMessageRefId = 1,
    kDocRefIdFI = 2,
    kCorrDocRefIdFI = 3,
    kDocRefIdAC = 4,
    kCorrDocRefIdAC = 5,
    kDate = 6,
    kDecimal = 7,
    kAccountNumberA = 8,
    kAccountNumberB = 9,
  };

  // The patterns behind the structural tests.
  enum Pattern {
    kPatMessageRefIdHead,
    kPatThreeDigits,
    kPatCorporateNumber,
    kPatGIIN,
    kPatDocRefIdFI,
    kPatDocRefIdAC,
    kPatDate,
    kPatDecimal1,
    kPatDecimal2,
    kPatDecimal3,
    kPatDecimal4,
    kPatDecimal5,
    kPatDecimal6,
    kPatAccountNumberA,
    kPatAccountNumberB,
    kPatternCount,
  };

  CLCCRSValidFormat(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidFormat() override = default;

  void SetParam(const char* name);

  // ECMAScript source of a pattern; null outside the enumeration.
  static const char* PatternText(Pattern pattern);
  // Whole-text match of a pattern by its hand-written matcher.
  static bool MatchPattern(Pattern pattern, std::string_view text);
  // Check digit of a 13-digit corporate number: passed when correct, failed
  // with HE40009E when wrong, with HE40007E when null or not 13 characters.
  static CLCStatus CheckDijit_Hojin(const char* number);

 protected:
  CLCStatus _validate(const char* value) const override;

 private:
  CLCStatus ValidateMessageRefId(std::string_view value, long length) const;

  Format m_eFormat = kUnknown;
};
}  // namespace quorvex::internal
