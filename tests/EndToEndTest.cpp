// Whole operations through the facade: CSV in, detail error document or XML out.
#include "CLCCsvConvDataCRS.h"
#include "EndToEndSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <unistd.h>

using namespace quorvex::internal;

namespace {

using quorvex_test::LoadCsvRows;
using quorvex_test::ReadBytes;
using quorvex_test::Row;
using quorvex_test::SaveCsvRows;
using quorvex_test::SourcePath;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

const std::string kValidSample = SourcePath("samples/crs-sample-2.0.csv");
const std::string kMistakesSample = SourcePath("samples/crs-mistakes-2.0.csv");

// The valid sample turned into a schema 1.0 file.
std::vector<Row> Schema1Rows() {
  std::vector<Row> rows = LoadCsvRows(kValidSample);
  rows[0][1] = "1.0";
  return rows;
}

void ExpectSchemaValid(const std::string& xmlPath) {
  std::string diagnostics;
  EXPECT_TRUE(quorvex_test::PassesCrsSchema(xmlPath, &diagnostics)) << diagnostics;
}

TEST(EndToEndTest, ValidFilesCheckWithIdentifiersAndAccountCount) {
  TempDir dir;
  const std::string schema1 = dir.file("schema1.csv");
  SaveCsvRows(schema1, Schema1Rows());

  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = facade.CRSCsvCheck2(kValidSample.c_str(), "2023");
  EXPECT_EQ(result->getResult(), "S_OK") << result->getDetailErrorInfo();
  EXPECT_EQ(result->getDetailErrorInfo(), "");
  EXPECT_EQ(result->getHojinNo(), "8000000000001");
  EXPECT_EQ(result->getGIIN(), "");
  EXPECT_EQ(result->getAccountReportCount(), 3);
  EXPECT_EQ(result->getCRSData(), "");

  result = facade.CRSCsvCheck(schema1.c_str());
  EXPECT_EQ(result->getResult(), "S_OK") << result->getDetailErrorInfo();
  EXPECT_EQ(result->getAccountReportCount(), 3);

  // The schema 1.0 rules refuse the 2.0 version and the reporting year must match.
  result = facade.CRSCsvCheck(kValidSample.c_str());
  EXPECT_EQ(result->getDetailErrorInfo(), "00001-0000002-HE40009E");
  result = facade.CRSCsvCheck2(kValidSample.c_str(), "2022");
  EXPECT_EQ(result->getDetailErrorInfo(), "00001-0000005-HE40029E");
  EXPECT_EQ(result->getAccountReportCount(), 0);
}

TEST(EndToEndTest, GiinMessageReferenceYieldsGiin) {
  TempDir dir;
  std::vector<Row> rows = LoadCsvRows(kValidSample);
  const std::string oldRef = rows[0][4];
  const std::string newRef = "JP2023GIINABC123.45678.SL.392001";
  for (Row& row : rows) {
    for (std::string& value : row) {
      if (value.compare(0, oldRef.size(), oldRef) == 0) value = newRef + value.substr(oldRef.size());
    }
  }
  const std::string path = dir.file("giin.csv");
  SaveCsvRows(path, rows);
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = facade.CRSCsvCheck2(path.c_str(), "2023");
  ASSERT_EQ(result->getResult(), "S_OK") << result->getDetailErrorInfo();
  EXPECT_EQ(result->getGIIN(), "ABC123.45678.SL.392");
  EXPECT_EQ(result->getHojinNo(), "");
}

TEST(EndToEndTest, MistakesAreAllReportedWithTheirPositions) {
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = facade.CRSCsvCheck2(kMistakesSample.c_str(), "2023");
  EXPECT_EQ(result->getResult(), "E_FAIL");
  EXPECT_EQ(result->getDetailErrorInfo(),
            "00002-0000023-HE40011E,00002-0000149-HE40001E,00003-0000133-HE40009E,"
            "00004-0000149-HE40009E,00005-0000099-HE40009E,00008-0000004-HE40011E");
  EXPECT_EQ(result->getHojinNo(), "");
  EXPECT_EQ(result->getAccountReportCount(), 0);
}

TEST(EndToEndTest, ColumnErrorsHideCrossRecordFindingsUntilFixed) {
  TempDir dir;
  std::vector<Row> rows = LoadCsvRows(kValidSample);
  rows[2][2] = rows[1][2];  // duplicate account DocRefId
  rows[1][148] = "";        // and a missing balance
  const std::string path = dir.file("both.csv");
  SaveCsvRows(path, rows);
  CLCCsvConvDataCRS facade;
  EXPECT_EQ(facade.CRSCsvCheck2(path.c_str(), "2023")->getDetailErrorInfo(), "00002-0000149-HE40001E");
  rows[1][148] = "10";
  SaveCsvRows(path, rows);
  // Line 3 lost its own controlling persons and payments' link too.
  const std::string document = facade.CRSCsvCheck2(path.c_str(), "2023")->getDetailErrorInfo();
  EXPECT_NE(document.find("00002-0000003-HE40019E,00003-0000003-HE40019E"), std::string::npos) << document;
}

TEST(EndToEndTest, ArgumentErrorsAreReportedTogether) {
  TempDir dir;
  const std::string empty = dir.file("empty.csv");
  WriteBytes(empty, "");
  const std::string missing = dir.file("missing.csv");
  const std::string mixedCase = dir.file("data.Csv");
  WriteBytes(mixedCase, "1");
  const std::string padded = "\xE3\x80\x80 " + kValidSample + " \t\xE3\x80\x80";

  struct Case { const char* path; const char* year; const char* expected; };
  const Case cases[] = {
      {nullptr, "2023", "99999-0000001-HE40001E"},
      {"  ", "2023", "99999-0000001-HE40001E"},
      {mixedCase.c_str(), "2023", "99999-0000001-HE40003E"},
      {missing.c_str(), "2023", "99999-0000001-HE40004E"},
      {empty.c_str(), "2023", "99999-0000001-HE40005E"},
      {missing.c_str(), "20a3", "99999-0000001-HE40004E,99999-0000002-HE40027E"},
      {kValidSample.c_str(), "203", "99999-0000002-HE40007E"},
      {kValidSample.c_str(), nullptr, "99999-0000002-HE40001E"},
      {padded.c_str(), "\xE3\x80\x80" "2023 ", ""},
  };
  CLCCsvConvDataCRS facade;
  for (const Case& c : cases) {
    EXPECT_EQ(facade.CRSCsvCheck2(c.path, c.year)->getDetailErrorInfo(), c.expected)
        << (c.path ? c.path : "(null)");
  }
}

TEST(EndToEndTest, ConversionsPassTheOecdSchemaAndWriteExactlyTheReturnedXml) {
  TempDir dir;
  const std::string out = dir.file("out.xml");
  WriteBytes(out, std::string(100000, 'x'));  // an existing, longer file is replaced
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = facade.CsvConvCRSData2(kValidSample.c_str(), out.c_str());
  ASSERT_EQ(result->getResult(), "S_OK") << result->getDetailErrorInfo();
  EXPECT_EQ(result->getHojinNo(), "8000000000001");
  EXPECT_EQ(result->getAccountReportCount(), 3);
  const std::string xml = result->getCRSData();
  EXPECT_EQ(ReadBytes(out), xml);
  EXPECT_EQ(xml.rfind("<crs:CRS_OECD version=\"2.0\" xmlns:stf=\"urn:oecd:ties:crsstf:v5\"", 0), 0u);
  EXPECT_NE(xml.find("Example Holdings &amp; Co. Pte. Ltd."), std::string::npos);
  EXPECT_NE(xml.find("O&apos;Brien"), std::string::npos);
  ExpectSchemaValid(out);

  const std::string schema1 = dir.file("schema1.csv");
  SaveCsvRows(schema1, Schema1Rows());
  result = facade.CsvConvCRSData(schema1.c_str(), "");
  ASSERT_EQ(result->getResult(), "S_OK") << result->getDetailErrorInfo();
  EXPECT_EQ(result->getCRSData().rfind("<crs:CRS_OECD version=\"1.0\" xmlns:stf=\"urn:oecd:ties:stf:v4\"", 0), 0u);
}

TEST(EndToEndTest, OutputPathProblems) {
  TempDir dir;
  CLCCsvConvDataCRS facade;
  const std::string inMissingFolder = dir.file("no/such/folder/out.xml");
  EXPECT_EQ(facade.CsvConvCRSData2(kValidSample.c_str(), inMissingFolder.c_str())->getDetailErrorInfo(),
            "99999-0000002-HE40008E");
  EXPECT_EQ(facade.CsvConvCRSData2(dir.file("x.txt").c_str(), inMissingFolder.c_str())->getDetailErrorInfo(),
            "99999-0000001-HE40004E,99999-0000002-HE40008E");

  // A path naming a folder cannot be written; nothing is left behind.
  const CLCCsvConvResultCRS* result = facade.CsvConvCRSData2(kValidSample.c_str(), dir.path().c_str());
  EXPECT_EQ(result->getDetailErrorInfo(), "00000-0000000-HE40024E");
  EXPECT_EQ(result->getCRSData(), "");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

  // A bare file name is a file in the current folder; blanks mean no file.
  const std::string previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  result = facade.CsvConvCRSData2(kValidSample.c_str(), "out.xml");
  EXPECT_EQ(result->getResult(), "S_OK") << result->getDetailErrorInfo();
  EXPECT_TRUE(std::filesystem::exists(dir.file("out.xml")));
  std::filesystem::remove(dir.file("out.xml"));
  result = facade.CsvConvCRSData2(kValidSample.c_str(), "   ");
  EXPECT_EQ(result->getResult(), "S_OK");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  std::filesystem::current_path(previous);
}

TEST(EndToEndTest, OutputLimitAcceptsTheBoundAndRefusesOneByteMore) {
  TempDir dir;
  std::vector<Row> rows = LoadCsvRows(kValidSample);
  const Row account = rows[1];
  const std::string prefix = account[2].substr(0, account[2].size() - 7);
  std::vector<Row> big = {rows[0]};
  for (int i = 0; i < 16500; ++i) {
    big.push_back(account);
    big.back()[2] = prefix + std::to_string(1000000 + i);
  }
  const std::string csv = dir.file("big.csv");
  SaveCsvRows(csv, big);
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = facade.CsvConvCRSData2(csv.c_str(), "");
  ASSERT_EQ(result->getResult(), "S_OK") << result->getDetailErrorInfo();
  const std::size_t base = result->getCRSData().size();
  ASSERT_LT(base, 19922944u - 10);
  ASSERT_GT(base, 19922944u - 4000000);

  // The Warning column is written as it is, so its length moves the output byte for byte.
  const std::string out = dir.file("out.xml");
  big[0][2] = std::string(19922944 - base - std::string("<crs:Warning></crs:Warning>").size(), 'w');
  SaveCsvRows(csv, big);
  result = facade.CsvConvCRSData2(csv.c_str(), out.c_str());
  EXPECT_EQ(result->getResult(), "S_OK") << result->getDetailErrorInfo();
  EXPECT_EQ(result->getCRSData().size(), 19922944u);

  std::filesystem::remove(out);
  big[0][2] += 'w';
  SaveCsvRows(csv, big);
  result = facade.CsvConvCRSData2(csv.c_str(), out.c_str());
  EXPECT_EQ(result->getDetailErrorInfo(), "00000-0000000-HE40025E");
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(EndToEndTest, ReadXmlFileLimitsBytesAndStructure) {
  TempDir dir;
  const std::string plain = dir.file("plain.xml");
  const std::string text = "<a>\r\n\t<b x=\"1\"/>\n</a>";
  WriteBytes(plain, text);
  const std::string bom = dir.file("bom.xml");
  WriteBytes(bom, "\xEF\xBB\xBF" + text);
  const std::string japanese = dir.file("ja.xml");
  WriteBytes(japanese, "<a>\xE6\x97\xA5</a>");
  const std::string unclosed = dir.file("unclosed.xml");
  WriteBytes(unclosed, "<a><b></b>");
  const std::string mixedCase = dir.file("x.Xml");
  WriteBytes(mixedCase, text);
  const long size = static_cast<long>(text.size());

  struct Case { std::string path; long limit; const char* expected; };
  const Case cases[] = {
      {plain, -1, ""},
      {plain, size, ""},
      {plain, size - 1, "00000-0000000-HE40023E"},
      {plain, 0, "00000-0000000-HE40023E"},
      {plain, -2, "99999-0000002-HE40009E"},
      {bom, size + 3, ""},
      {bom, size + 2, "00000-0000000-HE40023E"},
      {japanese, -1, "00000-0000000-HE40011E"},
      {unclosed, -1, "00000-0000000-HE00155E"},
      {mixedCase, -1, "99999-0000001-HE40003E"},
      {dir.file("none.xml"), -2, "99999-0000001-HE40004E,99999-0000002-HE40009E"},
  };
  CLCCsvConvDataCRS facade;
  for (const Case& c : cases) {
    const CLCCsvConvResultCRS* result = facade.ReadXMLFile(c.path.c_str(), c.limit);
    EXPECT_EQ(result->getDetailErrorInfo(), c.expected) << c.path << " " << c.limit;
    EXPECT_EQ(result->getXMLData(), *c.expected == '\0' ? text : "") << c.path;
  }
}

TEST(EndToEndTest, LaterOperationOverwritesEveryField) {
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* first = facade.CsvConvCRSData2(kValidSample.c_str(), "");
  ASSERT_FALSE(first->getCRSData().empty());
  const CLCCsvConvResultCRS* second = facade.CRSCsvCheck2(kMistakesSample.c_str(), "2023");
  EXPECT_EQ(first, second);
  EXPECT_EQ(second->getCRSData(), "");
  EXPECT_EQ(second->getHojinNo(), "");
  EXPECT_EQ(second->getResult(), "E_FAIL");
}

TEST(EndToEndTest, EightThreadsGiveTheSequentialResults) {
  struct Outcome { std::string result, detail, data; long count; };
  // Both schemas, checks and conversions: four definition documents loaded by
  // whichever thread comes first, then shared.
  auto run = [](int job) {
    CLCCsvConvDataCRS facade;
    facade.SetClock([] { return quorvex_test::kFixedTime; });
    const CLCCsvConvResultCRS* r =
        job % 4 == 0   ? facade.CRSCsvCheck2(kValidSample.c_str(), "2023")
        : job % 4 == 1 ? facade.CRSCsvCheck2(kMistakesSample.c_str(), "2023")
        : job % 4 == 2 ? facade.CsvConvCRSData2(kValidSample.c_str(), "")
                       : (job < 4 ? facade.CRSCsvCheck(kValidSample.c_str())
                                  : facade.CsvConvCRSData(kValidSample.c_str(), ""));
    return Outcome{r->getResult(), r->getDetailErrorInfo(), r->getCRSData(), r->getAccountReportCount()};
  };
  // In parallel first, so that the documents' first loads race when this test
  // runs alone (as it does under ThreadSanitizer).
  std::vector<Outcome> parallel(8);
  std::vector<std::thread> threads;
  for (int job = 0; job < 8; ++job) threads.emplace_back([&, job] { parallel[job] = run(job); });
  for (std::thread& t : threads) t.join();
  std::vector<Outcome> sequential;
  for (int job = 0; job < 8; ++job) sequential.push_back(run(job));
  for (int job = 0; job < 8; ++job) {
    EXPECT_EQ(parallel[job].result, sequential[job].result) << job;
    EXPECT_EQ(parallel[job].detail, sequential[job].detail) << job;
    EXPECT_EQ(parallel[job].data, sequential[job].data) << job;
    EXPECT_EQ(parallel[job].count, sequential[job].count) << job;
  }
}

}  // namespace
