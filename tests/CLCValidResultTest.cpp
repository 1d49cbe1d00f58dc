#include "diagnostics/CLCValidResult.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quorvex::internal;

namespace {

class CLCValidResultTest : public ::testing::Test {
 protected:
  CLCValidResult& collector() { return m_collector; }

 private:
  CLCValidResult m_collector;
};

TEST(CRSMsgTableTest, LooksUpCodesExactlyAndValuesByFirstRow) {
  struct Case { const char* code; std::int32_t value; };
  const Case cases[] = {{"HE40001E", 2}, {"he40001e", 0}, {"HE00155E", 32}, {"", 0},
                        {"HE40030E", 31}, {"HE4000E", 0}, {"HE40028E ", 0}};
  for (const Case& c : cases) EXPECT_EQ(CRSMsgFromCode(c.code), c.value) << c.code;
  EXPECT_STREQ(CRSMsgCode(27), "HE40026E");
  EXPECT_STREQ(CRSMsgCode(0), "");
  EXPECT_STREQ(CRSMsgCode(33), "");
  for (int value = 1; value < kCRSMsgTableSize; ++value) {
    EXPECT_EQ(CRSMsgFromCode(CRSMsgCode(value)), value) << "code of value " << value << " is not unique";
    EXPECT_STRNE(CRSMsgText(value), "");
    EXPECT_STRNE(CRSMsgText(value, CRSMsgLanguage::English), "") << "no English text for value " << value;
  }
}

TEST_F(CLCValidResultTest, EmptyCollectorGivesEmptyDocument) {
  EXPECT_EQ(collector().MakeResult(), "");
}

TEST_F(CLCValidResultTest, FormatsPositionsAndAssistColumns) {
  collector().SetResult(CRSMSG_NOT_ENTERED, 12, 3, -1);
  collector().SetResult(CRSMSG_HOLDER_REQUIRED, 12, 3, 5);
  collector().SetResult(CRSMSG_INVALID, 99999, 2, -1);
  collector().SetResult(CRSMSG_INVALID, 123456, 1, -1);
  EXPECT_EQ(collector().MakeResult(),
            "00012-0000003-HE40001E,00012-003:005-HE40017E,99999-0000002-HE40009E,123456-0000001-HE40009E");
}

TEST_F(CLCValidResultTest, SortsByLineColumnAssistThenMessageAndDropsDuplicates) {
  collector().SetResult(CRSMSG_INVALID, 5, 1, -1);
  collector().SetResult(CRSMSG_NOT_ENTERED, 99999, 1, -1);
  collector().SetResult(CRSMSG_CSV_FORMAT, 0, 0, -1);
  collector().SetResult(CRSMSG_INVALID, 5, 1, -1);
  collector().SetResult(CRSMSG_NOT_ENTERED, 5, 1, -1);
  collector().SetResult(CRSMSG_NOT_ENTERED, 5, 1, 3);
  EXPECT_EQ(collector().MakeResult(),
            "00000-0000000-HE40012E,00005-0000001-HE40001E,00005-0000001-HE40009E,"
            "00005-001:003-HE40001E,99999-0000001-HE40001E");
  EXPECT_EQ(collector().GetCount(), 6u) << "MakeResult leaves the list as it is";
  EXPECT_EQ(collector().SortedEntries().size(), 5u);
  collector().ClearResult();
  EXPECT_EQ(collector().MakeResult(), "");
}

TEST_F(CLCValidResultTest, CapsDocumentAtOneHundredThousandItems) {
  for (long line = 1; line <= 100000; ++line) collector().SetResult(CRSMSG_INVALID, line, 1, -1);
  std::string document = collector().MakeResult();
  EXPECT_EQ(std::count(document.begin(), document.end(), ','), 99999);
  EXPECT_EQ(document.find("HE40026E"), std::string::npos);

  collector().ClearResult();
  for (long line = 100001; line >= 1; --line) collector().SetResult(CRSMSG_INVALID, line, 1, -1);
  document = collector().MakeResult();
  EXPECT_EQ(std::count(document.begin(), document.end(), ','), 99999);
  EXPECT_EQ(document.substr(document.size() - 23), ",00000-0000000-HE40026E");
  EXPECT_NE(document.find("99999-0000001-HE40009E,00000"), std::string::npos)
      << "the 99,999 smallest entries come before the notice";
  EXPECT_EQ(document.find("100000-0000001"), std::string::npos);
}

TEST_F(CLCValidResultTest, FatalErrorDiscardsEarlierEntriesOnly) {
  for (long line = 1; line <= 10; ++line) collector().SetResult(CRSMSG_INVALID, line, 1, -1);
  EXPECT_FALSE(collector().IsFatal());
  collector().SetFatalError();
  EXPECT_TRUE(collector().IsFatal());
  collector().SetResult(CRSMSG_NOT_ENTERED, 3, 4, -1);
  EXPECT_EQ(collector().MakeResult(), "00000-0000000-HE40000E,00003-0000004-HE40001E");
}

TEST_F(CLCValidResultTest, CollectorsDoNotShareEntries) {
  collector().SetResult(CRSMSG_INVALID, 7, 1, -1);
  CLCValidResult other;
  EXPECT_EQ(other.GetCount(), 0u);
  other.SetResult(CRSMSG_NOT_ENTERED, 1, 1, -1);
  other.SetFatalError();
  EXPECT_TRUE(other.IsFatal());
  EXPECT_FALSE(collector().IsFatal());
  EXPECT_EQ(collector().MakeResult(), "00007-0000001-HE40009E");
}

}  // namespace

TEST(RoutineName, TakesClassAndMethodOutOfThePrettyFunction) {
  const std::pair<const char*, const char*> kCases[] = {
      {"bool CLCCRSCsvFile::ReadFile(const char*)", "CLCCRSCsvFile::ReadFile"},
      {"const char* CLCCRSCsvCRSReport::GetColumnValue(long int, long int) const",
       "CLCCRSCsvCRSReport::GetColumnValue"},
      {"const char *CLCCRSCsvCRSReport::GetColumnValue(long, long) const", "CLCCRSCsvCRSReport::GetColumnValue"},
      {"std::vector<std::pair<int, long int> > CLCX::Names(std::map<int, int>)", "CLCX::Names"},
      {"CLCCRSDefinition::MakeReportData(CLCCRSCsvCRSReport&, bool*, CLCValidResult&) const::<lambda()>",
       "CLCCRSDefinition::MakeReportData"},
  };
  for (const auto& [pretty, name] : kCases) EXPECT_EQ(CRSRoutineName(pretty), name) << pretty;
}
