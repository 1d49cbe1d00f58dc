// Descriptions of detail error items, and the definitions shared between
// operations that read different files.
#include "CLCCsvConvDataCRS.h"
#include "EndToEndSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quorvex::internal;

namespace {

using quorvex_test::SourcePath;

struct Expected {
  long line;
  long column;
  const char* code;
  const char* item;
  const char* value;
};

TEST(ErrorDescription, NamesTheItemAndValueOfEveryMistakeInTheSample) {
  static const Expected kExpected[] = {
      {2, 23, "HE40011E", "Individual_Name_1_FirstName", "太郎"},
      {2, 149, "HE40001E", "AccountBalance", ""},
      {3, 133, "HE40009E", "Organisation_Address_1_CountryCode", "ZZ"},
      {4, 149, "HE40009E", "AccountBalance", "10"},
      {5, 99, "HE40009E", "Individual_BirthDate", "1975-02-30"},
      {8, 4, "HE40011E", "PaymentAmnt", "1,200"},
  };
  CLCCsvConvDataCRS facade;
  facade.SetDescribeErrors(true);
  const CLCCsvConvResultCRS* result =
      facade.CRSCsvCheck2(SourcePath("samples/crs-mistakes-2.0.csv").c_str(), "2023");
  const std::vector<CLCErrorDescription>& items = result->getErrorDescriptions();
  ASSERT_EQ(items.size(), std::size(kExpected)) << result->getDetailErrorInfo();
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(items[i].line, kExpected[i].line);
    EXPECT_EQ(items[i].fileLine, kExpected[i].line);  // no blank lines in the sample
    EXPECT_EQ(items[i].column, kExpected[i].column);
    EXPECT_EQ(items[i].code, kExpected[i].code);
    EXPECT_EQ(items[i].item, kExpected[i].item);
    EXPECT_TRUE(items[i].hasValue);
    EXPECT_EQ(items[i].value, kExpected[i].value);
    EXPECT_FALSE(items[i].isArgument);
  }

  // The same facade, now without a year: the argument, not a record, is named.
  result = facade.CRSCsvCheck2(SourcePath("samples/crs-mistakes-2.0.csv").c_str(), "");
  ASSERT_EQ(result->getErrorDescriptions().size(), 1u);
  const CLCErrorDescription& argument = result->getErrorDescriptions().front();
  EXPECT_TRUE(argument.isArgument);
  EXPECT_EQ(argument.line, 99999);
  EXPECT_EQ(argument.item, "nenbun");
}

TEST(ErrorDescription, FileLineCountsBlankLinesAndQuotedLineBreaks) {
  std::vector<quorvex_test::Row> rows = quorvex_test::LoadCsvRows(SourcePath("samples/crs-sample-2.0.csv"));
  ASSERT_GE(rows.size(), 3u);
  rows[1][148] = "";  // AccountBalance of the first account: HE40001E
  rows[2][148] = "";  // and of the second
  rows[1][22] = "Ta\r\nro";  // a quoted line break inside the first account
  // Header, a blank line, then the accounts: the first starts on line 3 and
  // spans two lines, so the second starts on line 5.
  std::string text = quorvex_test::CsvText({rows[0]}) + "\r\n" + quorvex_test::CsvText({rows[1]}) +
                     quorvex_test::CsvText(std::vector<quorvex_test::Row>(rows.begin() + 2, rows.end()));
  quorvex_test::TempDir dir;
  quorvex_test::WriteBytes(dir.file("lines.csv"), quorvex_test::ToShiftJis(text));

  CLCCsvConvDataCRS facade;
  facade.SetDescribeErrors(true);
  const CLCCsvConvResultCRS* result = facade.CRSCsvCheck2(dir.file("lines.csv").c_str(), "2023");
  long firstAccount = 0;
  long secondAccount = 0;
  for (const CLCErrorDescription& item : result->getErrorDescriptions()) {
    if (item.column != 149) continue;
    (item.line == 2 ? firstAccount : secondAccount) = item.fileLine;
    EXPECT_TRUE(item.line == 2 || item.line == 3) << item.line;
  }
  EXPECT_EQ(firstAccount, 3) << result->getDetailErrorInfo();
  EXPECT_EQ(secondAccount, 5) << result->getDetailErrorInfo();
}

TEST(SharedDefinitions, OneLoadServesLaterChecksOfOtherFiles) {
  const std::string good = SourcePath("samples/crs-sample-2.0.csv");
  const std::string bad = SourcePath("samples/crs-mistakes-2.0.csv");
  CLCCsvConvDataCRS first;
  const std::string mistakes = first.CRSCsvCheck2(bad.c_str(), "2023")->getDetailErrorInfo();
  ASSERT_FALSE(mistakes.empty());
  // Facades created later reuse the loaded document: the rules of one file
  // must not leave anything behind for the next.
  for (int round = 0; round < 3; ++round) {
    CLCCsvConvDataCRS facade;
    EXPECT_EQ(facade.CRSCsvCheck2(good.c_str(), "2023")->getResult(), "S_OK");
    EXPECT_EQ(facade.CRSCsvCheck2(bad.c_str(), "2023")->getDetailErrorInfo(), mistakes);
    EXPECT_EQ(first.CRSCsvCheck2(good.c_str(), "2023")->getResult(), "S_OK");
  }
}

}  // namespace
