#include "rules/CLCCRSValidItem.h"
#include "TestSupport.h"
#include "ValidTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

using namespace quorvex::internal;

using namespace quorvex_valid_test;

namespace {

class ValidRules : public ::testing::Test {
 protected:
  void SetUp() override { ClearCollector(); }
  void TearDown() override { ClearCollector(); }
};

struct Case {
  const char* id;
  const char* value;
  const char* min;
  const char* max;
  CLCCRSMessage_t message;
  const char* input;  // null: no value
  int expected;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    ClearCollector();
    auto rule = Rule(c.id, c.value, c.min, c.max, c.message);
    ASSERT_NE(rule, nullptr) << c.id;
    EXPECT_EQ(Verdict(*rule, c.input), c.expected)
        << c.id << " value=\"" << c.value << "\" min=\"" << c.min << "\" max=\"" << c.max << "\" message=" << c.message
        << " on " << (c.input != nullptr ? "\"" + std::string(c.input) + "\"" : std::string("null"));
    EXPECT_EQ(Recorded(), "") << c.id << " " << (c.input ? c.input : "null");
    if (c.expected == 1) {  // recorded as fatal when the rule runs
      EXPECT_EQ(rule->Validate(c.input, 1, 1, Collector()).Message(), 1) << c.id;
      EXPECT_EQ(Recorded(), kFatal) << c.id << " " << (c.input ? c.input : "null");
    }
  }
}

std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

// Account-free file: the header and a few payment records of five columns.
std::unique_ptr<CLCCRSCsvCRSReport> SmallFile(const std::string& messageRefId = "M") {
  std::vector<std::vector<std::string>> records = {Record("1", 45, {{5, messageRefId}, {43, "OECD2"}})};
  records.push_back(Record("4", 5, {{3, "x"}}));
  records.push_back(Record("4", 5, {{3, "OECD2"}}));
  records.push_back(Record("4", 5, {{3, "OECD1"}}));
  records.push_back(Record("4", 5));
  return Csv(records);
}

TEST_F(ValidRules, FactoryRefusesUnknownRuleIdsWithTheFatalEntry) {
  for (const char* id : {"exist", "notExist", "extension", "existPath", "length", "contain", "charSet", "format",
                         "codeCheck", "dateRange", "integrity"}) {
    EXPECT_NE(Rule(id), nullptr) << id;
  }
  EXPECT_EQ(Recorded(), "");
  for (const char* id : {"Exist", "exists", "", " exist", "valid"}) {
    ClearCollector();
    EXPECT_EQ(Rule(id), nullptr) << id;
    EXPECT_EQ(Recorded(), kFatal) << id;
  }
  ClearCollector();
  EXPECT_EQ(CLCCRSValidItem::CreateItem(-1, "exist", nullptr, "", "", CRSMSG_NONE, Collector()), nullptr);
  EXPECT_EQ(Recorded(), kFatal);
  EXPECT_EQ(CLCCRSValidItem::CreateItem(-1, nullptr, "", "", "", CRSMSG_NONE, Collector()), nullptr);
  EXPECT_EQ(Recorded(), kFatal);
}

TEST_F(ValidRules, LeadingIntegerAcceptsBlanksAndOneSignAndReadsJunkAsZero) {
  const std::vector<std::pair<const char*, long>> cases = {
      {"12", 12},   {"  7", 7},  {"\t7", 7},  {"-3", -3}, {"+4", 4},  {"4x", 4},        {"x4", 0},
      {"", 0},      {"--1", 0},  {"+-1", 0},  {"+ 1", 0}, {"0", 0},   {"007", 7},       {"3 4", 3},
      {"99999999999999999999999", LONG_MAX}, {"-99999999999999999999999", LONG_MIN},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(CLCCRSValidItem::LeadingInteger(text), expected) << text;
}

TEST_F(ValidRules, ExistAndNotExistHonourTheMessageOverride) {
  RunCases({
      {"exist", "", "", "", CRSMSG_NONE, nullptr, 2},
      {"exist", "", "", "", CRSMSG_NONE, "", 2},
      {"exist", "", "", "", CRSMSG_NONE, " ", 0},  // blanks are a value
      {"exist", "", "", "", CRSMSG_NONE, "a", 0},
      {"exist", "", "", "", CRSMSG_VERSION, "", 29},
      {"notExist", "", "", "", CRSMSG_NONE, "x", 3},
      {"notExist", "", "", "", CRSMSG_NONE, "", 0},
      {"notExist", "", "", "", CRSMSG_NONE, nullptr, 0},
      {"notExist", "", "", "", CRSMSG_VERSION, "x", 29},
  });
}

TEST_F(ValidRules, LengthCountsUtf16UnitsAndMaxAloneIgnoresTheOverride) {
  const std::string fullWidth400 = Repeat("\xE5\xAD\x97", 400);  // U+5B57, one unit each
  const std::string fullWidth401 = fullWidth400 + "\xE5\xAD\x97";
  const std::string outsideBmp = "\xF0\x9F\x98\x80";             // U+1F600, two units
  const auto M31 = CRSMSG_ACCOUNT_NUMBER_TYPE;
  RunCases({
      {"length", "4", "", "", CRSMSG_NONE, "2024", 0},
      {"length", "4", "", "", CRSMSG_NONE, "24", 8},
      {"length", "4", "", "", M31, "24", 31},
      {"length", "3", "", "", CRSMSG_NONE, "", 8},
      {"length", "3", "", "", CRSMSG_NONE, nullptr, 8},
      {"length", "4", "1", "2", CRSMSG_NONE, "2024", 0},  // an exact length wins over a range
      {"length", "", "", "400", CRSMSG_NONE, fullWidth400.c_str(), 0},
      {"length", "", "", "400", CRSMSG_NONE, fullWidth401.c_str(), 11},
      {"length", "", "", "400", M31, fullWidth401.c_str(), 11},
      {"length", "", "", "400", CRSMSG_NONE, "", 0},
      {"length", "", "", "1", CRSMSG_NONE, outsideBmp.c_str(), 11},
      {"length", "", "", "2", CRSMSG_NONE, outsideBmp.c_str(), 0},
      {"length", "", "5", "34", CRSMSG_NONE, "12345", 0},
      {"length", "", "5", "34", CRSMSG_NONE, Repeat("a", 34).c_str(), 0},
      {"length", "", "5", "34", CRSMSG_NONE, "1234", 8},
      {"length", "", "5", "34", CRSMSG_NONE, Repeat("a", 35).c_str(), 8},
      {"length", "", "5", "34", M31, "1234", 31},
      {"length", "", "5", "34", M31, Repeat("a", 35).c_str(), 31},
      {"length", "", "5", "", CRSMSG_NONE, "12345", 1},  // min alone: definition error
      {"length", "", "", "", CRSMSG_NONE, "12345", 1},
  });
}

TEST_F(ValidRules, CharSetTestsEveryCharacterAndRefusesUnknownSetsEvenOnEmptyValues) {
  RunCases({
      {"charSet", "latinString", "", "", CRSMSG_NONE, "ab\tc d~", 0},
      {"charSet", "latinString", "", "", CRSMSG_NONE, "line\r\nnext", 0},
      {"charSet", "latinString", "", "", CRSMSG_NONE, "abc\xE3\x80\x80", 12},  // ends in a full-width space
      {"charSet", "latinString", "", "", CRSMSG_NONE, "\x7F", 12},
      {"charSet", "latinString", "", "", CRSMSG_NONE, "a\x01", 12},
      {"charSet", "latinString", "", "", CRSMSG_NONE, "", 0},
      {"charSet", "latinString", "", "", CRSMSG_NONE, nullptr, 0},
      {"charSet", "fugoNumber", "", "", CRSMSG_NONE, "-1.5", 0},
      {"charSet", "fugoNumber", "", "", CRSMSG_NONE, "+", 0},
      {"charSet", "fugoNumber", "", "", CRSMSG_NONE, "1,000", 12},
      {"charSet", "fugoNumber", "", "", CRSMSG_NONE, "1e3", 12},
      {"charSet", "number", "", "", CRSMSG_NONE, "2024", 0},
      {"charSet", "number", "", "", CRSMSG_NONE, "2O24", 28},
      {"charSet", "number", "", "", CRSMSG_NONE, "-1", 28},
      {"charSet", "number", "", "", CRSMSG_VERSION, "x", 28},  // no override
      {"charSet", "MessageRefId", "", "", CRSMSG_NONE, "JP2024-ab.Z9", 0},
      {"charSet", "MessageRefId", "", "", CRSMSG_NONE, "JP_2024", 12},
      {"charSet", "MessageRefId", "", "", CRSMSG_NONE, "JP 2024", 12},
      {"charSet", "Number", "", "", CRSMSG_NONE, "1", 1},
      {"charSet", "Number", "", "", CRSMSG_NONE, "", 1},
      {"charSet", "", "", "", CRSMSG_NONE, nullptr, 1},
  });
}

TEST_F(ValidRules, ContainMatchesWholeItemsExactly) {
  RunCases({
      {"contain", "CRS701 CRS702", "", "", CRSMSG_NONE, "CRS701", 0},
      {"contain", "CRS701 CRS702", "", "", CRSMSG_NONE, "CRS702", 0},
      {"contain", "CRS701 CRS702", "", "", CRSMSG_NONE, "crs701", 10},
      {"contain", "CRS701 CRS702", "", "", CRSMSG_NONE, "CRS701 ", 10},
      {"contain", "CRS701 CRS702", "", "", CRSMSG_NONE, "CRS70", 10},
      {"contain", "CRS701 CRS702", "", "", CRSMSG_NONE, "CRS701 CRS702", 10},
      {"contain", "CRS701 CRS702", "", "", CRSMSG_NONE, "", 10},
      {"contain", "CRS701 CRS702", "", "", CRSMSG_NONE, nullptr, 10},
      {"contain", "  A   B  ", "", "", CRSMSG_NONE, "B", 0},
      {"contain", "  A   B  ", "", "", CRSMSG_NONE, "", 10},
      {"contain", "1.0", "", "", CRSMSG_VERSION, "2.0", 29},
      {"contain", "1.0", "", "", CRSMSG_VERSION, nullptr, 29},
      {"contain", "", "", "", CRSMSG_NONE, "x", 1},
  });
}

TEST_F(ValidRules, DateRangeIsExclusiveAndRefusesYearsBefore1900) {
  RunCases({
      {"dateRange", "", "1899-12-31", "", CRSMSG_NONE, "1900-01-01", 0},
      {"dateRange", "", "1899-12-31", "", CRSMSG_NONE, "1899-12-31", 10},
      {"dateRange", "", "1899-12-31", "", CRSMSG_NONE, "0001-01-01", 10},
      {"dateRange", "", "1000-01-01", "", CRSMSG_NONE, "1899-12-31", 10},  // later, but before 1900
      {"dateRange", "", "1000-01-01", "", CRSMSG_NONE, "1900-01-01", 0},
      {"dateRange", "", "2016-12-31", "", CRSMSG_NONE, "2016-12-31", 10},
      {"dateRange", "", "2016-12-31", "", CRSMSG_NONE, "2017-01-01", 0},
      {"dateRange", "", "2016-12-31", "", CRSMSG_NONE, "2016-06-30", 10},
      {"dateRange", "", "2016-12-31", "", CRSMSG_NONE, "2017-02-30", 10},
      {"dateRange", "", "2016-12-31", "", CRSMSG_NONE, "2017", 10},
      {"dateRange", "", "2016-12-31", "", CRSMSG_NONE, "", 10},
      {"dateRange", "", "2016-12-31", "", CRSMSG_NONE, nullptr, 10},
      {"dateRange", "", "2016-12-31", "", CRSMSG_VERSION, "2016-01-01", 10},  // no override
      {"dateRange", "2016-12-31", "", "", CRSMSG_NONE, "2017-01-01", 1},      // the bound is `min`
      {"dateRange", "", "someday", "", CRSMSG_NONE, "2017-01-01", 1},
  });
}

TEST_F(ValidRules, ExtensionComesFromTheFileNameOnly) {
  RunCases({
      {"extension", ".xml .XML", "", "", CRSMSG_NONE, "a.xml", 0},
      {"extension", ".xml .XML", "", "", CRSMSG_NONE, "/tmp/dir/a.XML", 0},
      {"extension", ".xml .XML", "", "", CRSMSG_NONE, "a.Xml", 4},
      {"extension", ".xml .XML", "", "", CRSMSG_NONE, "/tmp/a.xml/data", 4},
      {"extension", ".xml .XML", "", "", CRSMSG_NONE, "a.xml.bak", 4},
      {"extension", ".xml .XML", "", "", CRSMSG_NONE, "xml", 4},
      {"extension", ".xml .XML", "", "", CRSMSG_NONE, "", 4},
      {"extension", ".xml .XML", "", "", CRSMSG_NONE, nullptr, 4},
      {"extension", ".xml .XML", "", "", CRSMSG_VERSION, "a.txt", 4},  // no override
      {"extension", "", "", "", CRSMSG_NONE, "a.xml", 1},
  });
}

TEST_F(ValidRules, ExistPathReportsMissingEmptyAndFolderProblems) {
  quorvex_test::TempDir dir;
  const std::string empty = dir.file("empty.csv");
  const std::string full = dir.file("full.csv");
  quorvex_test::WriteBytes(empty, "");
  quorvex_test::WriteBytes(full, "1");
  const std::string missing = dir.file("missing.csv");
  const std::string inMissingFolder = dir.file("nofolder/out.xml");
  const std::string inFolder = dir.file("out.xml");
  RunCases({
      {"existPath", "file", "", "", CRSMSG_NONE, full.c_str(), 0},
      {"existPath", "file", "", "", CRSMSG_NONE, empty.c_str(), 6},
      {"existPath", "file", "", "", CRSMSG_NONE, missing.c_str(), 5},
      {"existPath", "file", "", "", CRSMSG_NONE, dir.path().c_str(), 5},  // a folder is no file
      {"existPath", "file", "", "", CRSMSG_NONE, "", 0},
      {"existPath", "file", "", "", CRSMSG_NONE, nullptr, 0},
      {"existPath", "dir", "", "", CRSMSG_NONE, inFolder.c_str(), 0},
      {"existPath", "dir", "", "", CRSMSG_NONE, inMissingFolder.c_str(), 9},
      {"existPath", "dir", "", "", CRSMSG_NONE, "", 0},
      {"existPath", "folder", "", "", CRSMSG_NONE, inFolder.c_str(), 1},
  });
}

TEST_F(ValidRules, ExistPathReportsAnUnreadableFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
  quorvex_test::TempDir dir;
  const std::string locked = dir.file("locked.csv");
  quorvex_test::WriteBytes(locked, "1");
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  RunCases({{"existPath", "file", "", "", CRSMSG_NONE, locked.c_str(), 7}});
}

TEST_F(ValidRules, IntegrityComparesWithTheHeaderMessageRefId) {
  const std::string m = "JP2024JPCN8000000000001001";
  const std::string mHead = m.substr(0, m.size() - 3);
  struct IntegrityCase {
    const char* mode;
    std::string value;
    int expected;
  };
  std::string changed = m + "FI0000001";
  changed[3] = '1';
  const std::vector<IntegrityCase> cases = {
      {"DocRefId_B", m + "FI0000001", 0},
      {"DocRefId_B", m + "ANY456789", 0},
      {"DocRefId_B", changed, 10},
      {"DocRefId_B", m + "FI00001", 10},   // cut too short
      {"DocRefId_B", "FI0000001", 10},
      {"CorrDocRefId_B", m + "FI0000001", 10},
      {"CorrDocRefId_B", "JP2024JPCN9000000000000001FI0000001", 0},
      {"CorrDocRefId_B", "short", 0},
      {"DocRefId_A", mHead + "AC0000000001", 0},
      {"DocRefId_A", m + "AC0000000001", 10},
      {"DocRefId_A", mHead + "AC000000001", 10},
      {"CorrDocRefId_A", mHead + "123456789012", 0},
      {"CorrDocRefId_A", "123456789012", 10},
  };
  // The value of case i sits in column 3 of record i + 1.
  std::vector<std::vector<std::string>> records = {Record("1", 45, {{5, m}})};
  for (const auto& c : cases) records.push_back(Record("4", 5, {{3, c.value}}));
  auto file = Csv(records);
  ASSERT_NE(file, nullptr);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto& c = cases[i];
    auto rule = Rule("integrity", c.mode, "", "", CRSMSG_NONE, 2);
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->ValidateOuter(*file, static_cast<long>(i) + 1, -1).Message(), c.expected)
        << c.mode << " " << c.value;
    EXPECT_EQ(Recorded(), "");
  }
}

TEST_F(ValidRules, IntegrityWithAShortMessageRefIdNeverMatchesInModeA) {
  auto file = Csv({Record("1", 45, {{5, "JP"}}), Record("4", 5, {{3, "123456789012"}})});
  ASSERT_NE(file, nullptr);
  auto rule = Rule("integrity", "DocRefId_A", "", "", CRSMSG_NONE, 2);
  EXPECT_EQ(rule->ValidateOuter(*file, 1, -1).Message(), 10);
}

TEST_F(ValidRules, IntegrityWithoutModeOrFileIsFatal) {
  auto file = Csv({Record("1", 45, {{5, "M"}}), Record("4", 5, {{3, "x"}})});
  ASSERT_NE(file, nullptr);
  auto unknown = Rule("integrity", "docRefId_B", "", "", CRSMSG_NONE, 2);
  EXPECT_EQ(unknown->ValidateOuter(*file, 1, -1).Message(), 1);
  EXPECT_EQ(Recorded(), "");
  EXPECT_EQ(unknown->ValidateCsv(*file, 1, -1, Collector()).Message(), 1);
  EXPECT_EQ(Recorded(), kFatal);
  // A value on its own comes with no file to take the MessageRefId from.
  auto unwired = Rule("integrity", "DocRefId_B");
  EXPECT_EQ(Verdict(*unwired, "MFI0000001"), 1);
  EXPECT_EQ(unwired->Validate("MFI0000001", 1, 1, Collector()).Message(), 1);
  EXPECT_EQ(Recorded(), kFatal);
}

// ---- the base flows -------------------------------------------------------

TEST_F(ValidRules, ValidateCsvRecordsOneBasedLineAndColumnWithAssist) {
  auto file = SmallFile();
  ASSERT_NE(file, nullptr);
  auto rule = Rule("exist", "", "", "", CRSMSG_NONE, 2);
  EXPECT_EQ(rule->ValidateCsv(*file, 4, -1, Collector()).Message(), 2);
  EXPECT_EQ(Recorded(), "00005-0000003-HE40001E");
  rule->SetAssistColNum(7);
  EXPECT_EQ(rule->ValidateCsv(*file, 4, -1, Collector()).Message(), 2);
  EXPECT_EQ(Recorded(), "00005-003:007-HE40001E");
  EXPECT_EQ(rule->ValidateCsv(*file, 1, -1, Collector()).Message(), 0);
  EXPECT_EQ(Recorded(), "");
}

TEST_F(ValidRules, WholeRecordMessagesAreRecordedAtColumnZero) {
  auto file = SmallFile();
  ASSERT_NE(file, nullptr);
  for (const auto message : {CRSMSG_HOLDER_REQUIRED, CRSMSG_HOLDER_BOTH}) {
    auto rule = Rule("exist", "", "", "", message, 2);
    EXPECT_EQ(rule->ValidateCsv(*file, 4, -1, Collector()).Message(), message);
    EXPECT_EQ(Recorded(), std::string("00005-0000000-") + CRSMsgCode(message));
    rule->SetAssistColNum(9);  // an assist column keeps the column
    EXPECT_EQ(rule->ValidateCsv(*file, 4, -1, Collector()).Message(), message);
    EXPECT_EQ(Recorded(), std::string("00005-003:009-") + CRSMsgCode(message));
  }
}

TEST_F(ValidRules, RuleOnAColumnTheRecordLacksPassesWithoutRunning) {
  auto file = SmallFile();
  ASSERT_NE(file, nullptr);
  auto header = Rule("exist", "", "", "", CRSMSG_NONE, 45);  // column 46 of a 45-column header
  EXPECT_EQ(header->ValidateCsv(*file, 0, -1, Collector()).Message(), 0);
  auto noColumn = Rule("exist", "", "", "", CRSMSG_NONE, -1);
  EXPECT_EQ(noColumn->ValidateCsv(*file, 1, -1, Collector()).Message(), 0);
  auto pastLastRecord = Rule("exist", "", "", "", CRSMSG_NONE, 2);
  EXPECT_EQ(pastLastRecord->ValidateCsv(*file, 99, -1, Collector()).Message(), 0);
  EXPECT_EQ(Recorded(), "");
}

TEST_F(ValidRules, PreconditionOnAMissingColumnIsFatal) {
  auto file = SmallFile();
  ASSERT_NE(file, nullptr);
  auto rule = Rule("exist", "", "", "", CRSMSG_NONE, 2);
  rule->AddOuterItem(Rule("exist", "", "", "", CRSMSG_NONE, 10));  // payments have 5 columns
  Collector().SetResult(CRSMSG_INVALID, 1, 1, -1);
  EXPECT_EQ(rule->ValidateCsv(*file, 4, -1, Collector()).Message(), 1);
  EXPECT_EQ(Recorded(), kFatal);
}

TEST_F(ValidRules, FailedPreconditionSkipsTheRuleWithoutError) {
  auto file = SmallFile();
  ASSERT_NE(file, nullptr);
  // The rule (notExist on column 3) fails on every record that holds a value there.
  auto rule = Rule("notExist", "", "", "", CRSMSG_NONE, 2);
  rule->AddOuterItem(Rule("contain", "OECD2 OECD3", "", "", CRSMSG_NONE, 2));
  EXPECT_EQ(rule->ValidateCsv(*file, 2, -1, Collector()).Message(), 3);  // OECD2: runs
  EXPECT_EQ(Recorded(), "00003-0000003-HE40002E");
  EXPECT_EQ(rule->ValidateCsv(*file, 3, -1, Collector()).Message(), 0);  // OECD1: skipped
  EXPECT_EQ(rule->ValidateCsv(*file, 4, -1, Collector()).Message(), 0);  // empty: skipped
  EXPECT_EQ(Recorded(), "");
}

TEST_F(ValidRules, EveryPreconditionMustPass) {
  auto file = SmallFile();
  ASSERT_NE(file, nullptr);
  auto rule = Rule("notExist", "", "", "", CRSMSG_NONE, 2);
  rule->AddOuterItem(Rule("exist", "", "", "", CRSMSG_NONE, 2));
  rule->AddOuterItem(Rule("contain", "x", "", "", CRSMSG_NONE, 2));
  EXPECT_EQ(rule->ValidateCsv(*file, 1, -1, Collector()).Message(), 3);  // "x": both pass
  EXPECT_EQ(rule->ValidateCsv(*file, 2, -1, Collector()).Message(), 0);  // "OECD2": second fails
  EXPECT_EQ(Recorded(), "00002-0000003-HE40002E");
}

TEST_F(ValidRules, DefinitionErrorInAPreconditionIsFatal) {
  auto file = SmallFile();
  ASSERT_NE(file, nullptr);
  auto rule = Rule("exist", "", "", "", CRSMSG_NONE, 2);
  rule->AddOuterItem(Rule("contain", "", "", "", CRSMSG_NONE, 2));
  EXPECT_EQ(rule->ValidateCsv(*file, 1, -1, Collector()).Message(), 1);
  EXPECT_EQ(Recorded(), kFatal);
  EXPECT_EQ(rule->Validate("x", 99999, 1, Collector()).Message(), 1);
  EXPECT_EQ(Recorded(), kFatal);
}

TEST_F(ValidRules, ValidateRecordsAtTheGivenPosition) {
  auto rule = Rule("exist");
  EXPECT_EQ(rule->Validate("", 99999, 2, Collector()).Message(), 2);
  EXPECT_EQ(rule->Validate("2024", 99999, 2, Collector()).Message(), 0);
  rule->SetAssistColNum(5);  // argument rules never record an assist column
  EXPECT_EQ(rule->Validate(nullptr, 99999, 1, Collector()).Message(), 2);
  EXPECT_EQ(Recorded(), "99999-0000001-HE40001E,99999-0000002-HE40001E");
}

TEST_F(ValidRules, ValidateSkipsOnAFailedPreconditionAndStopsOnAFatalTest) {
  auto rule = Rule("notExist");
  rule->AddOuterItem(Rule("contain", "a b"));
  EXPECT_EQ(rule->Validate("c", 1, 1, Collector()).Message(), 0);
  EXPECT_EQ(rule->Validate("a", 1, 1, Collector()).Message(), 3);
  EXPECT_EQ(Recorded(), "00001-0000001-HE40002E");

  Collector().SetResult(CRSMSG_INVALID, 3, 3, -1);
  auto broken = Rule("length");
  EXPECT_EQ(broken->Validate("abc", 1, 1, Collector()).Message(), 1);
  EXPECT_EQ(Recorded(), kFatal);
}

}  // namespace
