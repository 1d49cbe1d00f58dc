// The operations on a file's bytes held in memory must give the record of the
// same operation on the file, and the facade's clock must stamp conversions.
#include "CLCCsvConvDataCRS.h"
#include "EndToEndSupport.h"
#include "TestSupport.h"
#include "CRSCsvGenerator.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace {

using quorvex_test::kFixedTime;
using quorvex_test::ReadBytes;
using quorvex_test::SourcePath;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

// Everything a caller sees of a record, descriptions included.
std::string Dump(const CLCCsvConvResultCRS& record) {
  std::string out;
  record.ForEachField([&](const char* name, const auto& value) {
    out += name;
    out += '=';
    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, long>) {
      out += std::to_string(value);
    } else {
      out += value;
    }
    out += '\n';
  });
  for (const CLCErrorDescription& d : record.getErrorDescriptions()) {
    out += std::to_string(d.line) + '/' + std::to_string(d.fileLine) + '/' + std::to_string(d.column) + '/' +
           std::to_string(d.assistColumn) + ' ' + d.code + ' ' + d.recordKind + ' ' + d.item + ' ' +
           (d.hasValue ? "=" + d.value : "(none)") + (d.isArgument ? " argument" : "") + '\n';
  }
  return out;
}

TEST(FacadeBuffer, BytesGiveTheRecordOfTheFile) {
  std::vector<quorvex_test::Row> schema1 = quorvex_test::LoadCsvRows(SourcePath("samples/crs-sample-2.0.csv"));
  schema1[0][1] = "1.0";
  TempDir dir;
  quorvex_test::SaveCsvRows(dir.file("schema1.csv"), schema1);
  struct Input {
    const char* name;
    std::string bytes;
  };
  const std::vector<Input> inputs = {
      {"valid sample", ReadBytes(SourcePath("samples/crs-sample-2.0.csv"))},
      {"sample with mistakes", ReadBytes(SourcePath("samples/crs-mistakes-2.0.csv"))},
      {"schema 1.0 sample", ReadBytes(dir.file("schema1.csv"))},
      {"generated, 200 kB", GenerateCrsCsv(200000)},
      {"generated, two payments an account", GenerateCrsCsv(50000, [] {
         CrsCsvOptions options;
         options.paymentsPerAccount = 2;
         return options;
       }())},
      // Physical lines differ from record numbers; a byte that is no Shift_JIS.
      {"blank lines, a quoted line break, a bad byte",
       "\r\n" + ReadBytes(SourcePath("samples/crs-mistakes-2.0.csv")) + "\r\n\r\n3,\"a\r\nb\",\x81\x20\r\n"},
      {"record too short", "1,2.0\r\n"},
      {"no record", "\r\n\r\n"},
      {"one byte over the size limit", std::string(19922945, 'a')},
  };
  CLCCsvConvDataCRS byFile;
  CLCCsvConvDataCRS byBytes;
  for (CLCCsvConvDataCRS* facade : {&byFile, &byBytes}) {
    facade->SetDescribeErrors(true);
    facade->SetClock([] { return kFixedTime; });
  }
  for (const Input& input : inputs) {
    SCOPED_TRACE(input.name);
    const std::string path = dir.file("input.csv");
    WriteBytes(path, input.bytes);
    const char* data = input.bytes.data();
    const std::size_t size = input.bytes.size();
    EXPECT_EQ(Dump(*byBytes.CRSCsvCheckBuffer(1, data, size, nullptr)), Dump(*byFile.CRSCsvCheck(path.c_str())));
    EXPECT_EQ(Dump(*byBytes.CRSCsvCheckBuffer(2, data, size, "2023")),
              Dump(*byFile.CRSCsvCheck2(path.c_str(), "2023")));
    EXPECT_EQ(Dump(*byBytes.CsvConvCRSDataBuffer(1, data, size)), Dump(*byFile.CsvConvCRSData(path.c_str(), "")));
    EXPECT_EQ(Dump(*byBytes.CsvConvCRSDataBuffer(2, data, size)), Dump(*byFile.CsvConvCRSData2(path.c_str(), "")));
  }
  // The cases above must reach the engine's work, not stop at its arguments.
  EXPECT_EQ(byBytes.CsvConvCRSDataBuffer(2, inputs[0].bytes.data(), inputs[0].bytes.size())->getResult(), "S_OK");
}

TEST(FacadeBuffer, ArgumentsOfABufferCall) {
  const std::string sample = ReadBytes(SourcePath("samples/crs-sample-2.0.csv"));
  struct Case {
    const char* fault;
    bool convert;
    int schema;
    const char* data;
    std::size_t size;
    const char* year;
    const char* expected;
    const char* item;  // of the first description
    const char* value;  // null: none
  };
  const Case cases[] = {
      {"null bytes read", false, 2, nullptr, 10, "2023", "99999-0000001-HE40001E", "data", nullptr},
      {"empty buffer read", false, 2, "", 0, "2023", "99999-0000001-HE40005E", "data", nullptr},
      {"year not checked with empty bytes", false, 2, nullptr, 0, "20a3",
       "99999-0000001-HE40005E,99999-0000002-HE40027E", "data", nullptr},
      {"year of three digits taken", false, 2, sample.data(), sample.size(), " 203", "99999-0000002-HE40007E",
       "nenbun", "203"},
      {"missing year taken", false, 2, sample.data(), sample.size(), nullptr, "99999-0000002-HE40001E", "nenbun",
       ""},
      {"year checked by schema 1.0", false, 1, sample.data(), sample.size(), "x", "00001-0000002-HE40009E",
       "Version", "2.0"},
      {"unknown schema checked", false, 3, sample.data(), sample.size(), "2023", "99999-0000000-HE40009E",
       "schema", "3"},
      {"unknown schema hides the bytes' error", false, 0, nullptr, 5, nullptr,
       "99999-0000000-HE40009E,99999-0000001-HE40001E", "schema", "0"},
      {"unknown schema converted", true, -1, sample.data(), sample.size(), nullptr, "99999-0000000-HE40009E",
       "schema", "-1"},
      {"null bytes converted", true, 2, nullptr, 3, nullptr, "99999-0000001-HE40001E", "data", nullptr},
  };
  CLCCsvConvDataCRS facade;
  facade.SetDescribeErrors(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    const CLCCsvConvResultCRS* result = c.convert ? facade.CsvConvCRSDataBuffer(c.schema, c.data, c.size)
                                                  : facade.CRSCsvCheckBuffer(c.schema, c.data, c.size, c.year);
    EXPECT_EQ(result->getResult(), "E_FAIL");
    EXPECT_EQ(result->getDetailErrorInfo(), c.expected);
    ASSERT_FALSE(result->getErrorDescriptions().empty());
    const CLCErrorDescription& first = result->getErrorDescriptions().front();
    EXPECT_EQ(first.item, c.item);
    EXPECT_EQ(first.hasValue, c.value != nullptr);
    EXPECT_EQ(first.value, c.value != nullptr ? c.value : "");
    EXPECT_EQ(first.isArgument, first.line == 99999);
  }
}

TEST(FacadeBuffer, ConversionIsStampedByTheFacadesClock) {
  const std::string sample = ReadBytes(SourcePath("samples/crs-sample-2.0.csv"));
  CLCCsvConvDataCRS facade;
  facade.SetClock([] { return kFixedTime; });
  const std::string first = facade.CsvConvCRSDataBuffer(2, sample.data(), sample.size())->getCRSData();
  EXPECT_NE(first.find("<crs:Timestamp>2024-04-01T09:30:15.250</crs:Timestamp>"), std::string::npos);

  facade.SetClock([] { return CLCLocalTime{2023, 2, 29, 0, 0, 0, 0}; });
  const CLCCsvConvResultCRS* refused = facade.CsvConvCRSDataBuffer(2, sample.data(), sample.size());
  EXPECT_EQ(refused->getDetailErrorInfo(), "00000-0000000-HE40000E");
  EXPECT_EQ(refused->getCRSData(), "");

  // Back to the system's clock.
  facade.SetClock(nullptr);
  const CLCCsvConvResultCRS* now = facade.CsvConvCRSDataBuffer(2, sample.data(), sample.size());
  EXPECT_EQ(now->getResult(), "S_OK");
  EXPECT_EQ(now->getCRSData().size(), first.size());
}

}  // namespace

namespace {

TEST(FacadeBuffer, XmlBytesGiveTheRecordOfTheFile) {
  CLCCsvConvDataCRS facade;
  facade.SetClock([] { return kFixedTime; });
  const std::string sample = ReadBytes(SourcePath("samples/crs-sample-2.0.csv"));
  const std::string xml = facade.CsvConvCRSDataBuffer(2, sample.data(), sample.size())->getCRSData();
  ASSERT_FALSE(xml.empty());
  const long size = static_cast<long>(xml.size());
  struct Input {
    const char* name;
    std::string bytes;
    long limit;
  };
  const std::vector<Input> inputs = {
      {"converted XML", xml, -1},
      {"converted XML at its limit", xml, size},
      {"one byte over the limit", xml, size - 1},
      {"byte order mark", "\xEF\xBB\xBF" + xml, -1},
      {"not ASCII", "<a>\xE3\x81\x82</a>", -1},
      {"not well-formed", "<a><b></a>", -1},
      {"document type refused", "<!DOCTYPE a><a/>", -1},
  };
  TempDir dir;
  const std::string path = dir.file("input.xml");
  CLCCsvConvDataCRS byFile;
  CLCCsvConvDataCRS byBytes;
  for (CLCCsvConvDataCRS* each : {&byFile, &byBytes}) each->SetDescribeErrors(true);
  for (const Input& input : inputs) {
    SCOPED_TRACE(input.name);
    WriteBytes(path, input.bytes);
    EXPECT_EQ(Dump(*byBytes.ReadXMLBuffer(input.bytes.data(), input.bytes.size(), input.limit)),
              Dump(*byFile.ReadXMLFile(path.c_str(), input.limit)));
  }
  EXPECT_EQ(byBytes.ReadXMLBuffer(xml.data(), xml.size(), -1)->getXMLData(), xml);

  // Arguments: the bytes take the path's place.
  struct Case {
    const char* fault;
    const char* data;
    std::size_t size;
    long limit;
    const char* expected;
  };
  const Case cases[] = {
      {"null bytes read", nullptr, 4, -1, "99999-0000001-HE40001E"},
      {"empty buffer read", "", 0, -1, "99999-0000001-HE40005E"},
      {"limit below -1 taken", xml.data(), xml.size(), -2, "99999-0000002-HE40009E"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    const CLCCsvConvResultCRS* result = byBytes.ReadXMLBuffer(c.data, c.size, c.limit);
    EXPECT_EQ(result->getResult(), "E_FAIL");
    EXPECT_EQ(result->getDetailErrorInfo(), c.expected);
    EXPECT_EQ(result->getXMLData(), "");
  }
}

}  // namespace
