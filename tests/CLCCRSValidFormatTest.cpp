#include "rules/CLCCRSValidFormat.h"
#include "ValidTestSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

using namespace quorvex::internal;

using namespace quorvex_valid_test;

namespace {

class ValidFormat : public ::testing::Test {
 protected:
  void SetUp() override { ClearCollector(); }
  void TearDown() override { ClearCollector(); }
};

struct FormatCase {
  const char* format;
  std::string value;
  int expected;
};

void RunCases(const std::vector<FormatCase>& cases) {
  for (const auto& c : cases) {
    ClearCollector();
    auto rule = Rule("format", c.format);
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(Verdict(*rule, c.value.c_str()), c.expected) << c.format << " \"" << c.value << "\"";
    EXPECT_EQ(Recorded(), "") << c.format << " \"" << c.value << "\"";
  }
}

// Corporate numbers: 8 + eleven zeros + 1 (weighted sum 1, check digit 8),
// 9 + twelve zeros (sum 0, check digit 9).
const std::string kCorp = "8000000000001";
const std::string kCorpNine = "9000000000000";
const std::string kGiin = "A1B2C3.D4E5F.JP.123";
std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

const std::string kGuid = "0f8fad5b-d9cb-469f-a165-70867728950e";

// What a pattern means to std::regex (ECMAScript, default options, whole
// match): 0 matched, 10 not matched, 1 for a pattern it cannot compile.
int RegExpMatch(const char* pattern, const char* text) {
  try {
    return std::regex_match(text, std::regex(pattern)) ? 0 : CRSMSG_INVALID;
  } catch (const std::regex_error&) {
    return 1;
  }
}

TEST_F(ValidFormat, HandWrittenMatchersAcceptExactlyWhatTheirPatternsAccept) {
  const std::vector<std::string> inputs = {
      "", "0", "00", "+", "+0", "+1", "1", "10", "007", "-1", "1.", "1.5", "1.50", "1.500", "+10.25", "0.5", "0.05",
      "0.500", ".5", "0.", "+0.5", "1,000", "01.5", "1.5\n", "\n1", "JP2024", "JP202", "JP20245", "jp2024",
      "JQ2024", "JP2O24", "123", "12", "1234", "12a", kCorp, kCorp + "0", "800000000000a", kGiin, "a1B2C3.D4E5F.JP.123",
      "A1B2C3.D4E5F.Jp.123", "A1B2C3-D4E5F.JP.123", "A1B2C3.D4E5F.JP.12", "FI0000001", "FI000001", "fI0000001",
      "AC1234567", "AC123456X", "2024-02-29", "2024/02/29", "2024-2-29", "20240-02-29", "AB12CD3456", "ab12",
      "ab12c", "AB12", "1B12CD3456", "AB1CD3456", "AB12CD-3456", "AB1234567890", "AB123456789C", "AB12345678901",
      "A11234567890", "ab12345678z9", "\xE3\x81\x82" "B12CD3456", "AB12\xE3\x81\x82", "AB12CD3456\xC3\xA9",
  };
  for (int p = 0; p < CLCCRSValidFormat::kPatternCount; ++p) {
    const auto pattern = static_cast<CLCCRSValidFormat::Pattern>(p);
    const char* source = CLCCRSValidFormat::PatternText(pattern);
    ASSERT_NE(source, nullptr) << p;
    int matched = 0;
    for (const std::string& input : inputs) {
      const int viaRegex = RegExpMatch(source, input.c_str());
      ASSERT_NE(viaRegex, 1) << source;
      EXPECT_EQ(CLCCRSValidFormat::MatchPattern(pattern, input), viaRegex == 0) << source << " on \"" << input << "\"";
      matched += viaRegex == 0;
    }
    EXPECT_GT(matched, 0) << "no input exercises " << source;
  }
  EXPECT_EQ(Recorded(), "");
}

TEST_F(ValidFormat, PatternsAreTheDefinedOnes) {
  // The decimal table: an optional literal plus sign before a non-zero integer.
  EXPECT_STREQ(CLCCRSValidFormat::PatternText(CLCCRSValidFormat::kPatDecimal1), "^[\\+]?[1-9][0-9]*$");
  EXPECT_STREQ(CLCCRSValidFormat::PatternText(CLCCRSValidFormat::kPatDecimal6), "^[0][.][0-9][0-9]$");
  EXPECT_STREQ(CLCCRSValidFormat::PatternText(CLCCRSValidFormat::kPatAccountNumberA),
               "^[a-zA-Z][a-zA-Z][0-9][0-9][a-zA-Z0-9]+$");
  EXPECT_EQ(CLCCRSValidFormat::PatternText(CLCCRSValidFormat::kPatternCount), nullptr);
}

TEST_F(ValidFormat, RegexOracleWantsAWholeMatchAndRefusesABadPattern) {
  EXPECT_EQ(RegExpMatch("[", "x"), 1);
  EXPECT_EQ(RegExpMatch("^a$", "ab"), 10);  // a whole match, not a search
  EXPECT_EQ(RegExpMatch("b", "ab"), 10);
  EXPECT_EQ(RegExpMatch("a.", "ab"), 0);
}

TEST_F(ValidFormat, CheckDigitOfTheCorporateNumber) {
  // Weights from the right end: 1 on the last digit, 2 on the one before, ...
  const std::vector<std::pair<const char*, int>> cases = {
      {"8000000000001", 0},   // sum 1: check digit 8
      {"7000000000001", 10},
      {"9000000000000", 0},   // sum 0: check digit 9
      {"0000000000000", 10},  // a leading 0 never passes
      {"1000000000008", 0},   // sum 8
      {"5000000000020", 0},   // weight 2: sum 4
      {"7000000000020", 10},
      {"5200000000000", 0},   // the second digit weighs 2
      {"9000000000009", 0},   // sum 9, a multiple of 9: check digit 9
      {"800000000001", 8},
      {"80000000000010", 8},
      {"", 8},
      {"8000000000x01", 10},
  };
  for (const auto& [number, expected] : cases) {
    EXPECT_EQ(CLCCRSValidFormat::CheckDijit_Hojin(number).Message(), expected) << number;
  }
  EXPECT_EQ(CLCCRSValidFormat::CheckDijit_Hojin(nullptr).Message(), 8);
  EXPECT_EQ(Recorded(), "");
}

TEST_F(ValidFormat, MessageRefIdKindsAndTheirLengths) {
  const std::string jpcn = "JP2024JPCN";
  RunCases({
      {"MessageRefId", jpcn + kCorp + "001", 0},
      {"MessageRefId", jpcn + "7000000000001" + "001", 10},
      {"MessageRefId", jpcn + kCorpNine + "001", 0},
      {"MessageRefId", jpcn + "0000000000000" + "001", 10},
      {"MessageRefId", jpcn + kCorp + "0011", 8},   // 27 characters, after the check digit passed
      {"MessageRefId", jpcn + "7000000000001" + "0011", 10},
      {"MessageRefId", jpcn + kCorp.substr(0, 12) + "001", 10},
      {"MessageRefId", jpcn + kCorp + "00A", 10},
      {"MessageRefId", "JP2024jpcn" + kCorp + "001", 10},
      {"MessageRefId", "JP2024", 10},
      {"MessageRefId", "JP20", 10},
      {"MessageRefId", "XP2024JPCN" + kCorp + "001", 10},
      {"MessageRefId", "JP2024GIIN" + kGiin + "001", 0},
      {"MessageRefId", "JP2024GIIN" + kGiin + "0001", 8},
      {"MessageRefId", "JP2024GIIN" + std::string("a1B2C3.D4E5F.JP.123") + "001", 10},
      {"MessageRefId", "JP2024GIIN" + std::string("A1B2C3-D4E5F.JP.123") + "001", 10},
      {"MessageRefId", "JP2024GIIN" + std::string("A1B2C3.D4E5F.J1.123") + "001", 10},
      {"MessageRefId", "JP2024GIIN" + kGiin.substr(0, 15) + "001", 10},  // shorter than 29
      {"MessageRefId", "JP2024GUID" + kGuid + "001", 0},
      {"MessageRefId", "JP2024GUID" + kGuid + "0001", 8},
      {"MessageRefId", "JP2024GUID" + kGuid.substr(1) + "001", 8},
      // The identifier part is not examined, and characters are counted, not bytes.
      {"MessageRefId", "JP2024GUID" + Repeat("\xE6\x97\xA5", 36) + "001", 0},
      {"MessageRefId", "JP2024NAME" + std::string(36, 'x') + "001", 0},  // 49 characters
      {"MessageRefId", "JP2024NAME" + std::string(37, 'x') + "001", 11},
      {"MessageRefId", "JP2024NAME001", 0},
      {"MessageRefId", "JP2024NAME" + std::string(36, 'x') + "00x", 10},
      // A name in Japanese counts characters, not bytes: 43 characters in 103 bytes.
      {"MessageRefId", "JP2024NAME" + Repeat("\xE6\x97\xA5", 30) + "001", 0},
  });
}

TEST_F(ValidFormat, MessageRefIdErrorsAreRecordedWithTheirCodes) {
  const std::vector<std::pair<std::string, const char*>> cases = {
      {"JP2024GIIN" + kGiin + "0001", "HE40007E"},
      {"JP2024GUID" + kGuid.substr(1) + "001", "HE40007E"},
      {"JP2024NAME" + std::string(40, 'x') + "001", "HE40010E"},
      {"JP2024NAMX" + std::string(40, 'x') + "001", "HE40009E"},
  };
  for (const auto& [value, code] : cases) {
    auto rule = Rule("format", "MessageRefId", "", "", CRSMSG_VERSION);  // the override is ignored
    EXPECT_NE(rule->Validate(value.c_str(), 1, 5, Collector()).Message(), 0);
    EXPECT_EQ(Recorded(), std::string("00001-0000005-") + code) << value;
  }
}

TEST_F(ValidFormat, DocRefIdsEndInTheirKindAndSevenDigits) {
  RunCases({
      {"DocRefId_FI", "anythingFI1234567", 0},
      {"DocRefId_FI", "FI1234567", 0},
      {"CorrDocRefId_FI", "xFI1234567", 0},
      {"DocRefId_FI", "xxxFI123456", 10},
      {"DocRefId_FI", "FI123456", 10},
      {"DocRefId_FI", "xAC1234567", 10},
      {"DocRefId_AC", "JP2024AC0000001", 0},
      {"CorrDocRefId_AC", "AC0000001", 0},
      {"DocRefId_AC", "JP2024FI0000001", 10},
      {"DocRefId_AC", "AC000001", 10},
      {"DocRefId_AC", "\xE6\x97\xA5" "AC0000001", 0},
      {"DocRefId_AC", "AC000000\xE6\x97\xA5", 10},
  });
}

TEST_F(ValidFormat, DateMustBeARealCalendarDay) {
  RunCases({
      {"date", "2024-02-29", 0},
      {"date", "2016-12-31", 0},
      {"date", "2023-02-29", 10},
      {"date", "2024/02/28", 10},
      {"date", "2024-2-28", 10},
      {"date", "2024-13-01", 10},
      {"date", "0000-01-01", 10},
      {"date", "", 10},
  });
}

TEST_F(ValidFormat, DecimalAmounts) {
  RunCases({
      {"decimal", "0", 0},      {"decimal", "0.5", 0},   {"decimal", "0.05", 0},  {"decimal", "10", 0},
      {"decimal", "+10.25", 0}, {"decimal", "+7", 0},    {"decimal", "00", 10},   {"decimal", "0.500", 10},
      {"decimal", "-1", 10},    {"decimal", "1.", 10},   {"decimal", "", 10},     {"decimal", "007", 10},
      {"decimal", "+0", 10},    {"decimal", "1.234", 10}, {"decimal", "1,5", 10}, {"decimal", ".5", 10},
  });
}

TEST_F(ValidFormat, AccountNumbersOfTheIbanAndIsinShapes) {
  RunCases({
      {"AccountNumber_A", "AB12CD3456", 0},
      {"AccountNumber_A", "ab12c", 0},
      {"AccountNumber_A", "ab12", 31},
      {"AccountNumber_A", "1B12CD3456", 31},
      {"AccountNumber_A", "AB12CD-3456", 31},
      {"AccountNumber_A", "AB12" + std::string(30, '9'), 0},  // 34 characters
      {"AccountNumber_A", "AB12" + std::string(31, '9'), 31},
      {"AccountNumber_B", "AB1234567890", 0},
      {"AccountNumber_B", "ABCDEFGHIJK0", 0},
      {"AccountNumber_B", "AB123456789C", 31},
      {"AccountNumber_B", "AB123456789", 31},
      {"AccountNumber_B", "1B1234567890", 31},
  });
  for (const char* format : {"AccountNumber_A", "AccountNumber_B"}) {
    auto rule = Rule("format", format);
    EXPECT_EQ(rule->Validate("12", 3, 40, Collector()).Message(), CRSMSG_ACCOUNT_NUMBER_TYPE);
    EXPECT_EQ(Recorded(), "00003-0000040-HE40030E") << format;
  }
}

TEST_F(ValidFormat, UnknownFormatNameIsFatalWhenTheRuleRuns) {
  for (const char* name : {"Date", "", "messageRefId", "DocRefId"}) {
    auto rule = Rule("format", name);
    ASSERT_NE(rule, nullptr) << name;
    EXPECT_EQ(Recorded(), "") << "loading succeeds: " << name;
    EXPECT_EQ(rule->Validate("2024-01-01", 1, 1, Collector()).Message(), 1) << name;
    EXPECT_EQ(Recorded(), kFatal) << name;
  }
}

TEST_F(ValidFormat, NullValueIsInvalidContent) {
  auto rule = Rule("format", "decimal");
  EXPECT_EQ(Verdict(*rule, nullptr), 10);
}

}  // namespace
