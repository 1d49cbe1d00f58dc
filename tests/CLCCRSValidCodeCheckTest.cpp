#include "rules/CRSCodeTables.h"
#include "ValidTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace quorvex::internal;

using namespace quorvex_valid_test;

namespace {

class ValidCodeCheck : public ::testing::Test {
 protected:
  void SetUp() override { ClearCollector(); }
  void TearDown() override { ClearCollector(); }
};

template <std::size_t N>
std::set<std::string_view> AsSet(const std::array<std::string_view, N>& table) {
  return std::set<std::string_view>(table.begin(), table.end());
}

TEST_F(ValidCodeCheck, CountryTableHoldsExactlyTheAssignedCodes) {
  const auto countries = AsSet(ISO3166Alpha2_Table);
  EXPECT_EQ(countries.size(), 249u);
  for (const char* code : {"AD", "ZW", "JP", "US", "GB", "SS", "CW", "SX", "BQ", "AX", "BL", "MF", "PS", "TL"}) {
    EXPECT_EQ(countries.count(code), 1u) << code;
  }
  // Withdrawn, reserved or user-assigned codes.
  for (const char* code : {"XK", "AN", "CS", "YU", "TP", "ZR", "UK", "EU", "EL", "CP", "DG", "EA", "IC", "TA", "XX"}) {
    EXPECT_EQ(countries.count(code), 0u) << code;
  }
}

TEST_F(ValidCodeCheck, SecondCountryTableAddsOnlyKosovo) {
  auto expected = AsSet(ISO3166Alpha2_Table);
  expected.insert("XK");
  EXPECT_EQ(AsSet(ISO3166Alpha2_Table2), expected);
  EXPECT_EQ(AsSet(ISO3166Alpha2_Table2).size(), 250u);
}

TEST_F(ValidCodeCheck, CurrencyTablesAreTheListedOnes) {
  const auto first = AsSet(ISO4217Alpha3_Table);
  EXPECT_EQ(first.size(), 181u);
  for (const char* code : {"AED", "JPY", "USD", "EUR", "BYR", "LTL", "LVL", "MRO", "STD", "VEF", "XXX", "ZWL"}) {
    EXPECT_EQ(first.count(code), 1u) << code;
  }
  for (const char* code : {"BYN", "MRU", "STN", "UYW", "VES", "SLE", "VED", "jpy"}) {
    EXPECT_EQ(first.count(code), 0u) << code;
  }
  auto second = first;
  for (const char* code : {"BYN", "MRU", "STN", "UYW", "VES"}) second.insert(code);
  EXPECT_EQ(AsSet(ISO4217Alpha3_Table2), second);
  EXPECT_EQ(second.size(), 186u);
}

TEST_F(ValidCodeCheck, SingularAndPluralLists) {
  struct Case {
    const char* list;
    const char* value;
    int expected;
  };
  const std::vector<Case> cases = {
      {"country", "JP", 0},           {"country", "jp", 10},         {"country", "JPN", 10},
      {"country", "", 10},            {"country", nullptr, 10},      {"country", "XK", 10},
      {"country", "JP/US", 10},       {"country", " JP", 10},        {"country2", "XK", 0},
      {"country2", "JP", 0},          {"countries", "JP", 0},        {"countries", "JP/US/GB", 0},
      {"countries", "JP//US", 10},    {"countries", "/JP", 10},      {"countries", "JP/", 10},
      {"countries", "/", 10},         {"countries", "//", 10},       {"countries", "", 10},
      {"countries", nullptr, 10},     {"countries", "JP/ZZ", 10},    {"countries", "ZZ/JP", 10},
      {"countries", "JP / US", 10},   {"countries", "JP/XK", 10},    {"countries2", "JP/XK", 0},
      {"countries2", "XK/", 10},      {"currency", "JPY", 0},        {"currency", "BYR", 0},
      {"currency", "VES", 10},        {"currency", "jpy", 10},       {"currency", "JPY ", 10},
      {"currency2", "VES", 0},        {"currency2", "BYR", 0},       {"currency2", "XK", 10},
  };
  for (const auto& c : cases) {
    ClearCollector();
    auto rule = Rule("codeCheck", c.list, "", "", CRSMSG_VERSION);  // the override is ignored
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(Verdict(*rule, c.value), c.expected)
        << c.list << " " << (c.value != nullptr ? c.value : "null");
    EXPECT_EQ(Recorded(), "");
  }
}

TEST_F(ValidCodeCheck, UnknownListNameIsFatalWhenTheRuleRuns) {
  for (const char* list : {"Country", "", "countries3", "currencies"}) {
    auto rule = Rule("codeCheck", list);
    ASSERT_NE(rule, nullptr) << list;
    EXPECT_EQ(Recorded(), "");
    EXPECT_EQ(rule->Validate("JP", 1, 9, Collector()).Message(), 1) << list;
    EXPECT_EQ(Recorded(), kFatal) << list;
    EXPECT_EQ(Verdict(*rule, nullptr), 1) << list;
    EXPECT_EQ(Recorded(), "") << list;  // the precondition path leaves recording to its caller
  }
}

}  // namespace
