#include "csv/CLCCRSCRSReport.h"
#include "csv/CLCCRSCsvCRSReport.h"
#include "csv/CLCCRSRecordData.h"
#include "csv/CLCCRSRecordStore.h"
#include "diagnostics/CLCValidResult.h"
#include "CLCCRSCommon.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace quorvex::internal;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A record of the kind with `columns` columns, all empty but the kind and the given ones (1-based).
std::string Row(const std::string& kind, std::size_t columns, const std::map<std::size_t, std::string>& values = {}) {
  std::string row = kind;
  for (std::size_t column = 2; column <= columns; ++column) {
    row += ',';
    const auto found = values.find(column);
    if (found != values.end()) row += found->second;
  }
  return row;
}

// A file of one minimal record per kind code, one per line.
std::string File(const std::vector<std::string>& kinds) {
  static const std::map<std::string, std::size_t> kMinimum = {{"1", 45}, {"2", 150}, {"3", 100}, {"4", 5}};
  std::string text;
  for (const std::string& kind : kinds) text += Row(kind, kMinimum.at(kind)) + "\r\n";
  return text;
}

using quorvex_test::Collector;

std::string Errors() { return quorvex_test::TakeRecorded(); }

// Stores every record it is given, so that the tokeniser can be watched on its own.
class AcceptingReport : public CLCCRSCsvCRSReport {
 public:
  AcceptingReport() : CLCCRSCsvCRSReport(Collector()) {}
  bool ValidateRecord(std::vector<std::string>& /*columns*/) override { return true; }

  Rows AllRows() const {
    Rows rows;
    for (long row = 0; row < GetRecordCount(); ++row) {
      std::vector<std::string>& columns = rows.emplace_back();
      for (long column = 0; GetItem(row, column) != nullptr; ++column) columns.emplace_back(GetItem(row, column));
    }
    return rows;
  }

  std::vector<long> Lines() const {
    std::vector<long> lines;
    for (long row = 0; row < GetRecordCount(); ++row) lines.push_back(GetRecord(row)->GetLineNo());
    return lines;
  }
};

class CsvReportTest : public ::testing::Test {
 protected:
  void SetUp() override { Collector().ClearResult(); }
  void TearDown() override { Collector().ClearResult(); }
};

struct TokenCase {
  const char* name;
  std::string text;
  Rows rows;
};

TEST_F(CsvReportTest, TokeniserSplitsColumnsAndRecordsByteByByte) {
  const std::vector<TokenCase> cases = {
      {"plain", "a,b", {{"a", "b"}}},
      {"quoted comma and doubled quote", "1,\"a,b\",\"c\"\"d\"", {{"1", "a,b", "c\"d"}}},
      {"text after closing quote joins", "\"ab\"cd,e", {{"abcd", "e"}}},
      {"quote inside unquoted column is text", "a\"b,c", {{"a\"b", "c"}}},
      {"quote after a space is text", "k, \"x\"", {{"k", "\"x\""}}},
      {"quote after closing quote is text", "k,\"x\"y\"z", {{"k", "xy\"z"}}},
      {"empty quoted column", "k,\"\"", {{"k", ""}}},
      {"only a doubled quote", "k,\"\"\"\"", {{"k", "\""}}},
      {"CR ends record", "a,b\rc,d", {{"a", "b"}, {"c", "d"}}},
      {"LF ends record", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
      {"CR LF ends record once", "a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}},
      {"CR CR LF adds only a blank record", "a,b\r\r\nc,d", {{"a", "b"}, {"c", "d"}}},
      {"quoted line breaks stay in the column", "k,\"a\r\nb\nc\"\nd,e", {{"k", "a\r\nb\nc"}, {"d", "e"}}},
      {"quoted column trimmed too", "k,\"\n x \n\"", {{"k", "x"}}},
      {"white space trimmed", "k, b \t,\tc\v", {{"k", "b", "c"}}},
      {"full-width spaces trimmed, quoted or not", "k,\u3000v\u3000,\"\u3000w\u3000\"", {{"k", "v", "w"}}},
      {"inner white space kept", "k,a b\u3000c", {{"k", "a b\u3000c"}}},
      {"empty columns", "a,,,", {{"a", "", "", ""}}},
      {"blank lines and final break skipped", "\r\na,b\n\n\r\nc,d\n", {{"a", "b"}, {"c", "d"}}},
      {"final CR", "a,b\r", {{"a", "b"}}},
      {"multibyte text passes through", "k,\u65e5\u672c\u8a9e", {{"k", "\u65e5\u672c\u8a9e"}}},
      {"one-column line is not stored", "x\na,b", {{"a", "b"}}},
  };
  for (const TokenCase& test : cases) {
    AcceptingReport report;
    EXPECT_TRUE(report.Parse(test.text)) << test.name;
    EXPECT_EQ(report.AllRows(), test.rows) << test.name;
  }
}

TEST_F(CsvReportTest, FileCutOffInsideQuotedColumnIsAFormatError) {
  for (const std::string text : {"k,\"ab,\ncd", "k,\"b\"\"", "a,b\nk,\"JPY"}) {
    AcceptingReport report;
    EXPECT_FALSE(report.Parse(text)) << text;
    EXPECT_EQ(Errors(), "00000-0000000-HE40012E") << text;
  }
}

TEST_F(CsvReportTest, LineNumbersCountStoredRecordsNotPhysicalLines) {
  AcceptingReport report;
  ASSERT_TRUE(report.Parse("\na,\"x\ny\r\nz\"\n\nb,c\r\n\r\nd,e\n"));
  EXPECT_EQ(report.Lines(), (std::vector<long>{1, 2, 3}));
}

TEST_F(CsvReportTest, LineNumbersRestartForEachReport) {
  AcceptingReport first;
  ASSERT_TRUE(first.Parse("a,b\nc,d"));
  AcceptingReport second;
  ASSERT_TRUE(second.Parse("a,b"));
  EXPECT_EQ(second.Lines(), (std::vector<long>{1}));
}

TEST_F(CsvReportTest, LongRunsOfTextSurviveIntact) {
  const std::string longText(100000, 'x');
  AcceptingReport report;
  ASSERT_TRUE(report.Parse("k," + longText + ",\"" + longText + "\"\"" + longText + "\""));
  EXPECT_EQ(report.AllRows(), (Rows{{"k", longText, longText + "\"" + longText}}));
}

// Bytes decoded run by run while tokenising give the records, and the
// unusable-character reports, that decoding the whole file first gave.
TEST_F(CsvReportTest, ShiftJisIsTokenisedAsTheDecodedFileWouldBe) {
  const std::vector<std::string> files = {
      "a,\x82\xa0" "b,c\r\n\x93\xfa\x96\x7b,\"\x82\xa0,\x82\xa0\"",  // kana and kanji, quoted comma
      "\x82,b\n\x82\r\n\x82",                  // lead byte before a comma, a line break, the end
      "\"x\x82\"y,\"\x82\"\"z\"",             // lead byte before a closing and a doubled quote
      "a\x82\"b,\x81\x7f,\x80\xa0\xfd",          // before a stray quote; no trail byte; no character
      "\"\x82\r\n\x82\xa0\",\xb1\xdd\n \x81\x40x\x81\x40",  // quoted line break; kana; wide space trimmed
  };
  for (const std::string& bytes : files) {
    AcceptingReport decoded;
    ASSERT_TRUE(decoded.Parse(CLCCRSCommon::ShiftJisToUtf8(bytes))) << bytes;
    const std::string decodedErrors = Errors();
    AcceptingReport tokenised;
    ASSERT_TRUE(tokenised.ParseShiftJis(bytes)) << bytes;
    EXPECT_EQ(tokenised.AllRows(), decoded.AllRows()) << bytes;
    EXPECT_EQ(tokenised.Lines(), decoded.Lines()) << bytes;
    EXPECT_EQ(Errors(), decodedErrors) << bytes;
    EXPECT_EQ(tokenised.HasUnusableCharacters(), decoded.HasUnusableCharacters()) << bytes;
  }
}

struct CountCase {
  std::string kind;
  std::size_t columns;
  bool accepted;
};

TEST_F(CsvReportTest, RecordCheckEnforcesKindCodeAndColumnCountRange) {
  const std::vector<CountCase> cases = {
      {"1", 44, false}, {"1", 45, true},   {"1", 150, true},  {"1", 151, false}, {"2", 149, false},
      {"2", 150, true}, {"2", 151, false}, {"3", 99, false},  {"3", 100, true},  {"3", 150, true},
      {"3", 151, false}, {"4", 4, false},  {"4", 5, true},    {"4", 150, true},  {"4", 151, false},
      {" 2 ", 150, true}, {"5", 45, false}, {"", 45, false},  {"02", 150, false}, {"1", 1, false},
  };
  for (const CountCase& test : cases) {
    Collector().ClearResult();
    CLCCRSCsvCRSReport report(Collector());
    // A valid payment record follows: a refused record must stop the reading there.
    const bool parsed = report.Parse(Row(test.kind, test.columns) + "\n" + Row("4", 5) + "\n");
    const std::string where = "kind '" + test.kind + "' with " + std::to_string(test.columns) + " columns";
    EXPECT_EQ(parsed, test.accepted) << where;
    EXPECT_EQ(report.GetRecordCount(), test.accepted ? 2 : 0) << where;
    EXPECT_EQ(Errors(), test.accepted ? "" : "00000-0000000-HE40012E") << where;
  }
}

TEST_F(CsvReportTest, LineOfOnlyACommaIsRefused) {
  CLCCRSCsvCRSReport report(Collector());
  EXPECT_FALSE(report.Parse(File({"1"}) + ",\n"));
  EXPECT_EQ(Errors(), "00000-0000000-HE40012E");
}

struct OrderCase {
  const char* name;
  std::string text;
  long records;
  bool valid;
  const char* errors;
};

TEST_F(CsvReportTest, FileCheckRefusesMissingRecordsHeaderCountAndKindOrder) {
  const std::vector<OrderCase> cases = {
      {"1,2,3,2", File({"1", "2", "3", "2"}), 4, false, "00000-0000000-HE40012E"},
      {"1,4,3", File({"1", "4", "3"}), 3, false, "00000-0000000-HE40012E"},
      {"2,1", File({"2", "1"}), 2, false, "00000-0000000-HE40012E"},
      {"1,2,2,4,4", File({"1", "2", "2", "4", "4"}), 5, true, ""},
      {"1,3,4", File({"1", "3", "4"}), 3, true, ""},
      {"1 alone", File({"1"}), 1, true, ""},
      {"two headers", File({"1", "1", "2"}), 3, false, "00000-0000000-HE40015E"},
      {"two headers out of order", File({"1", "2", "1"}), 3, false, "00000-0000000-HE40015E"},
      {"no header", File({"2", "3", "4"}), 3, false, "00000-0000000-HE40015E"},
      {"no text", "", 0, false, "00000-0000000-HE40013E"},
      {"blank lines only", "\n\r\n\r\n", 0, false, "00000-0000000-HE40013E"},
  };
  for (const OrderCase& test : cases) {
    Collector().ClearResult();
    CLCCRSCsvCRSReport report(Collector());
    ASSERT_TRUE(report.Parse(test.text)) << test.name;
    EXPECT_EQ(report.GetRecordCount(), test.records) << test.name;
    EXPECT_EQ(report.ValidateCsv(), test.valid) << test.name;
    EXPECT_EQ(Errors(), test.errors) << test.name;
  }
}

TEST_F(CsvReportTest, NulByteFailsTheFileInsteadOfDroppingTheRest) {
  const std::string header = Row("1", 45) + "\n";
  const std::vector<std::string> texts = {
      header + std::string(1, '\0') + "\n" + Row("2", 150) + "\n",
      Row("1", 45, {{23, std::string("ab\0cd", 5)}}),
      header + std::string("\0", 1),
      header + Row("2", 150, {{5, std::string("\"a\0b\"", 5)}}),
  };
  for (const std::string& text : texts) {
    Collector().ClearResult();
    CLCCRSCsvCRSReport report(Collector());
    EXPECT_FALSE(report.Parse(text));
    EXPECT_EQ(report.GetRecordCount(), 0);
    EXPECT_EQ(Errors(), "00000-0000000-HE40012E");
  }
}

TEST_F(CsvReportTest, NullTextIsFatal) {
  CLCCRSCsvCRSReport report(Collector());
  EXPECT_FALSE(report.Parse(std::string_view()));
  EXPECT_EQ(Errors(), "00000-0000000-HE40000E");
}

TEST_F(CsvReportTest, DistributionFillsKindListsInFileOrder) {
  CLCCRSCsvCRSReport report(Collector());
  ASSERT_TRUE(report.Parse(Row("1", 45, {{2, "2.0"}}) + "\n" + Row("2", 150, {{3, "A1"}}) + "\n\n" +
                           Row("2", 150, {{3, "A2"}}) + "\n" + Row("3", 100, {{2, "P"}}) + "\n" +
                           Row("4", 5, {{2, "Q"}}) + "\n"));
  for (long index = 0; index < report.GetRecordCount(); ++index) ASSERT_TRUE(report.DistributeRecord(index));

  EXPECT_EQ(report.GetCRSMessageSpecReportingFI()->GetRecordCount(), 1);
  ASSERT_EQ(report.GetCRSAccountReport()->GetRecordCount(), 2);
  EXPECT_STREQ(report.GetCRSAccountReport()->GetColumnValue(0, 2), "A1");
  EXPECT_STREQ(report.GetCRSAccountReport()->GetColumnValue(1, 2), "A2");
  EXPECT_EQ(report.GetCRSAccountReport()->GetLineNo(1), 3);
  EXPECT_STREQ(report.GetCRSControllingPerson()->GetColumnValue(0, 1), "P");
  EXPECT_EQ(report.GetCRSControllingPerson()->GetLineNo(0), 4);
  EXPECT_STREQ(report.GetCRSPayment()->GetColumnValue(0, 1), "Q");
  EXPECT_EQ(report.GetCRSPayment()->GetLineNo(0), 5);
  EXPECT_EQ(Errors(), "");
}

TEST_F(CsvReportTest, AccessorsGiveNullOutsideTheStoredRecords) {
  CLCCRSCsvCRSReport report(Collector());
  ASSERT_TRUE(report.Parse(Row("1", 45, {{2, "2.0"}, {45, "last"}})));
  ASSERT_TRUE(report.DistributeRecord(0));

  EXPECT_STREQ(report.GetItem(0, 1), "2.0");
  EXPECT_STREQ(report.GetItem(0, 44), "last");
  EXPECT_EQ(report.GetItem(-1, 0), nullptr);
  EXPECT_EQ(report.GetItem(0, -1), nullptr);
  EXPECT_EQ(report.GetItem(1, 0), nullptr);
  EXPECT_EQ(report.GetItem(0, 45), nullptr);
  EXPECT_STREQ(report.GetColumnValue(0L, 1L), "2.0");
  EXPECT_EQ(report.GetColumnValue(1L, 1L), nullptr);

  EXPECT_STREQ(report.GetColumnValue("MessageSpecReportingFI", 7, 1), "2.0");
  EXPECT_EQ(report.GetColumnValue("Payment", 0, 1), nullptr);
  EXPECT_EQ(report.GetColumnValue(nullptr, 0, 1), nullptr);

  CLCCRSCRSReport* headers = report.GetCRSMessageSpecReportingFI();
  EXPECT_EQ(headers->GetColumnValue(1, 0), nullptr);
  EXPECT_EQ(headers->GetColumnValue(0, 45), nullptr);
  EXPECT_EQ(headers->GetLineNo(-1), 0);
  EXPECT_EQ(report.GetCRSPayment()->GetColumnValue(0, 0), nullptr);
  EXPECT_EQ(Errors(), "");
}

TEST_F(CsvReportTest, DistributingAnUnknownIndexIsFatal) {
  CLCCRSCsvCRSReport report(Collector());
  ASSERT_TRUE(report.Parse(File({"1"})));
  EXPECT_FALSE(report.DistributeRecord(1));
  EXPECT_EQ(Errors(), "00000-0000000-HE40000E");
}

TEST_F(CsvReportTest, RecordDataKeepsEveryColumnIncludingEmptyOnes) {
  const CLCCRSRecordData data({"2", "", "abc", ""}, 7);
  EXPECT_EQ(data.GetColumnCount(), 4);
  EXPECT_EQ(data.GetLineNo(), 7);
  EXPECT_STREQ(data.GetColumnValue(0), "2");
  EXPECT_STREQ(data.GetColumnValue(1), "");
  EXPECT_STREQ(data.GetColumnValue(2), "abc");
  EXPECT_STREQ(data.GetColumnValue(3), "");
  EXPECT_EQ(data.GetColumnValue(4), nullptr);
  EXPECT_EQ(data.GetColumnValue(-1), nullptr);
  EXPECT_EQ(CLCCRSRecordData().GetColumnValue(0), nullptr);
}

// Filled columns are found by counting the filled ones before them, across
// the 64-column words and with either width of offsets.
TEST_F(CsvReportTest, RecordDataFindsFilledColumnsAcrossWordsAndOffsetWidths) {
  struct Case {
    std::size_t columns;
    std::map<std::size_t, std::string> filled;  // 0-based
  };
  const std::string wide(70000, 'w');
  const std::vector<Case> cases = {
      {150, {{0, "k"}, {63, "a"}, {64, "b"}, {65, "c"}, {127, "d"}, {128, "e"}, {149, "f"}}},
      {64, {{62, "x"}, {63, "y"}}},
      {130, {{1, wide}, {64, "after"}, {129, wide + "z"}}},
      {3, {}},
  };
  for (const Case& test : cases) {
    std::vector<std::string> columns(test.columns);
    for (const auto& [column, value] : test.filled) columns[column] = value;
    const CLCCRSRecordData data(columns, 3, 9);
    ASSERT_EQ(data.GetColumnCount(), static_cast<long>(test.columns));
    EXPECT_EQ(data.GetFileLine(), 9);
    for (std::size_t column = 0; column < test.columns; ++column) {
      ASSERT_NE(data.GetColumnValue(static_cast<long>(column)), nullptr);
      EXPECT_EQ(data.GetColumnValue(static_cast<long>(column)), columns[column]) << column;
      EXPECT_EQ(((data.FilledWord(column / 64) >> (column % 64)) & 1) != 0, !columns[column].empty()) << column;
    }
  }
}

// Records found by index across the store's blocks keep their addresses while
// more are added, since the kind lists point at them.
TEST_F(CsvReportTest, RecordStoreKeepsRecordsInPlaceAcrossBlocks) {
  CLCCRSRecordStore store;
  EXPECT_TRUE(store.empty());
  std::vector<const CLCCRSRecordData*> addresses;
  for (long line = 1; line <= 2500; ++line) {
    store.Add({"4", std::to_string(line)}, line, line * 2);
    addresses.push_back(&store[static_cast<std::size_t>(line - 1)]);
  }
  ASSERT_EQ(store.size(), 2500u);
  for (std::size_t index : {0u, 1023u, 1024u, 2047u, 2048u, 2499u}) {
    EXPECT_EQ(&store[index], addresses[index]) << index;
    EXPECT_EQ(store[index].GetLineNo(), static_cast<long>(index) + 1) << index;
    EXPECT_EQ(store[index].GetFileLine(), 2 * (static_cast<long>(index) + 1)) << index;
    EXPECT_EQ(store[index].GetColumnValue(1), std::to_string(index + 1)) << index;
  }
}

// ReadFile: size limit, decoding and the whole chain.

class CsvReadFileTest : public CsvReportTest {
 protected:
  std::string Write(const std::string& bytes) {
    const std::string path = m_dir.file("input.csv");
    quorvex_test::WriteBytes(path, bytes);
    return path;
  }
  quorvex_test::TempDir m_dir;
};

// A valid header-only file padded with trailing spaces to exactly `size` bytes.
std::string PaddedHeaderFile(std::size_t size) {
  std::string text = Row("1", 45, {{2, "2.0"}});
  text.append(size - text.size(), ' ');
  return text;
}

TEST_F(CsvReadFileTest, FileOfExactlyTheSizeLimitIsRead) {
  const std::string path = Write(PaddedHeaderFile(CLCCRSCsvFile::kMaxFileSize));
  CLCCRSCsvCRSReport report(Collector());
  EXPECT_TRUE(report.ReadFile(path.c_str()));
  EXPECT_EQ(report.GetRecordCount(), 1);
  EXPECT_STREQ(report.GetItem(0, 44), "");
  EXPECT_EQ(Errors(), "");
}

TEST_F(CsvReadFileTest, FileOneByteOverTheLimitIsRefused) {
  const std::string path = Write(PaddedHeaderFile(CLCCRSCsvFile::kMaxFileSize + 1));
  CLCCRSCsvCRSReport report(Collector());
  EXPECT_FALSE(report.ReadFile(path.c_str()));
  EXPECT_EQ(report.GetRecordCount(), 0);
  EXPECT_EQ(Errors(), "00000-0000000-HE40023E");
}

TEST_F(CsvReadFileTest, ShiftJisTextIsDecodedAndChecked) {
  const std::string text = Row("1", 45, {{23, "\u682a\u5f0f\u4f1a\u793e\u3000\u30c6\u30b9\u30c8\u3000"}}) + "\r\n" +
                           Row("2", 150, {{3, "\"\u53e3\u5ea7,\u756a\u53f7\""}}) + "\r\n";
  const std::string path = Write(quorvex_test::ToShiftJis(text));
  CLCCRSCsvCRSReport report(Collector());
  ASSERT_TRUE(report.ReadFile(path.c_str()));
  EXPECT_STREQ(report.GetItem(0, 22), "\u682a\u5f0f\u4f1a\u793e\u3000\u30c6\u30b9\u30c8");
  EXPECT_STREQ(report.GetItem(1, 2), "\u53e3\u5ea7,\u756a\u53f7");
  EXPECT_EQ(Errors(), "");
}

TEST_F(CsvReadFileTest, FileCheckRunsAfterReading) {
  const std::string path = Write(File({"1", "2", "1"}));
  CLCCRSCsvCRSReport report(Collector());
  EXPECT_FALSE(report.ReadFile(path.c_str()));
  EXPECT_EQ(Errors(), "00000-0000000-HE40015E");
}

TEST_F(CsvReadFileTest, BytesThatAreNotShiftJisArePointedAt) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* errors;
  };
  const std::vector<Case> cases = {
      {"undecodable byte pair", Row("1", 45, {{23, "\x81\x7f"}}) + "\r\n", "00001-0000023-HE40011E"},
      {"two bad columns, both found", Row("1", 45, {{3, "\x80"}, {40, "a\xFF"}}), "00001-0000003-HE40011E,00001-0000040-HE40011E"},
      {"lone lead byte at the end", Row("1", 45) + "\r\n\x82", "00000-0000000-HE40012E,00002-0000001-HE40011E"},
  };
  for (const Case& test : cases) {
    Collector().ClearResult();
    CLCCRSCsvCRSReport report(Collector());
    report.ReadFile(Write(test.bytes).c_str());
    EXPECT_TRUE(report.HasUnusableCharacters()) << test.name;
    EXPECT_EQ(Errors(), test.errors) << test.name;
  }
}

TEST_F(CsvReadFileTest, UnreadableFilesAreFatal) {
  CLCCRSCsvCRSReport report(Collector());
  EXPECT_FALSE(report.ReadFile(Write("").c_str()));
  EXPECT_EQ(Errors(), "00000-0000000-HE40000E");
  EXPECT_FALSE(report.ReadFile(m_dir.file("missing.csv").c_str()));
  EXPECT_FALSE(report.ReadFile(nullptr));
  EXPECT_EQ(Errors(), "00000-0000000-HE40000E");
}

TEST_F(CsvReadFileTest, NulByteInTheFileIsAFormatError) {
  const std::string path = Write(File({"1"}) + std::string(1, '\0') + File({"2"}));
  CLCCRSCsvCRSReport report(Collector());
  EXPECT_FALSE(report.ReadFile(path.c_str()));
  EXPECT_EQ(report.GetRecordCount(), 0);
  EXPECT_EQ(Errors(), "00000-0000000-HE40012E");
}

}  // namespace
