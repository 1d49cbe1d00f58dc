// The C interface must give what the facade gives for the same arguments,
// null pointers and ill-formed UTF-8 included. Allocation failures are
// injected by replacing the global operator new of this test program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "CLCCsvConvDataCRS.h"
#include "EndToEndSupport.h"
#include "TestSupport.h"
#include "quorvex.h"

using namespace quorvex::internal;

namespace {
// Every allocation fails while this is set.
std::atomic<bool> g_failAllocations{false};
}  // namespace

// The replacements below pair malloc with free on purpose.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
  if (g_failAllocations.load()) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

using Converter = std::unique_ptr<quorvex_converter, decltype(&quorvex_free)>;

struct Case {
  const char* name;
  int operation;  // 0 check, 1 check2, 2 convert, 3 convert2, 4 read
  const char* path;
  const char* argument;
};

TEST(QuorvexCInterface, GivesTheFacadesResultForEveryOperation) {
  const std::string sample = std::string(QUORVEX_SOURCE_DIR) + "/samples/crs-sample-2.0.csv";
  const Case cases[] = {
      {"sample, schema 1.0", 0, sample.c_str(), nullptr},
      {"sample, schema 2.0", 1, sample.c_str(), "2023"},
      {"null year", 1, sample.c_str(), nullptr},
      {"null path", 1, nullptr, "2023"},
      {"ill-formed UTF-8 path", 1, "\xff\xfe.csv", "2023"},
      {"ill-formed UTF-8 year", 1, sample.c_str(), "\xe3\x81"},
      {"convert 1.0", 2, sample.c_str(), ""},
      {"convert 2.0", 3, sample.c_str(), ""},
      {"convert to a bad output", 3, sample.c_str(), "/missing-folder/\xff.xml"},
      {"null XML path", 4, nullptr, nullptr},
      {"read the CSV as XML", 4, sample.c_str(), nullptr},
  };
  Converter converter(quorvex_new(), &quorvex_free);
  ASSERT_NE(converter, nullptr);
  CLCCsvConvDataCRS facade;
  for (const Case& c : cases) {
    const CLCCsvConvResultCRS* expected = nullptr;
    int ok = -1;
    switch (c.operation) {
      case 0:
        ok = quorvex_crs_csv_check(converter.get(), c.path);
        expected = facade.CRSCsvCheck(c.path);
        break;
      case 1:
        ok = quorvex_crs_csv_check2(converter.get(), c.path, c.argument);
        expected = facade.CRSCsvCheck2(c.path, c.argument);
        break;
      case 2:
        ok = quorvex_csv_conv_crs_data(converter.get(), c.path, c.argument);
        expected = facade.CsvConvCRSData(c.path, c.argument);
        break;
      case 3:
        ok = quorvex_csv_conv_crs_data2(converter.get(), c.path, c.argument);
        expected = facade.CsvConvCRSData2(c.path, c.argument);
        break;
      default:
        ok = quorvex_read_xml_file(converter.get(), c.path, -1);
        expected = facade.ReadXMLFile(c.path, -1);
        break;
    }
    EXPECT_EQ(ok, expected->getResult() == "S_OK" ? 1 : 0) << c.name;
    EXPECT_EQ(quorvex_get_result(converter.get()), expected->getResult()) << c.name;
    EXPECT_EQ(quorvex_get_detail_error_info(converter.get()), expected->getDetailErrorInfo()) << c.name;
    EXPECT_EQ(quorvex_get_hojin_no(converter.get()), expected->getHojinNo()) << c.name;
    EXPECT_EQ(quorvex_get_giin(converter.get()), expected->getGIIN()) << c.name;
    EXPECT_EQ(quorvex_get_account_report_count(converter.get()), expected->getAccountReportCount()) << c.name;
    // The timestamp in generated XML differs between two runs; compare the length.
    EXPECT_EQ(std::string(quorvex_get_crs_data(converter.get())).size(), expected->getCRSData().size())
        << c.name;
    EXPECT_EQ(quorvex_get_xml_data(converter.get()), expected->getXMLData()) << c.name;
  }
}

TEST(QuorvexCInterface, BufferOperationsAndTheirErrorDescriptions) {
  const std::string sample = quorvex_test::ReadBytes(quorvex_test::SourcePath("samples/crs-sample-2.0.csv"));
  const std::string mistakes = quorvex_test::ReadBytes(quorvex_test::SourcePath("samples/crs-mistakes-2.0.csv"));
  CLCCsvConvDataCRS facade;
  const std::string xml = facade.CsvConvCRSDataBuffer(2, sample.data(), sample.size())->getCRSData();
  ASSERT_FALSE(xml.empty());
  enum Operation { Check, Convert, ReadXml };
  struct BufferCase {
    const char* name;
    Operation operation;
    int schema;  // the limit of ReadXml
    const char* data;
    size_t size;
    const char* year;
  };
  const BufferCase cases[] = {
      {"valid, 2.0", Check, 2, sample.data(), sample.size(), "2023"},
      {"mistakes", Check, 2, mistakes.data(), mistakes.size(), "2023"},
      {"2.0 file, 1.0 rules", Check, 1, sample.data(), sample.size(), nullptr},
      {"bad year, null bytes", Check, 2, nullptr, 7, "20x3"},
      {"empty buffer", Check, 1, sample.data(), 0, nullptr},
      {"schema 3", Check, 3, sample.data(), sample.size(), "2023"},
      {"convert 2.0", Convert, 2, sample.data(), sample.size(), nullptr},
      {"convert mistakes 1.0", Convert, 1, mistakes.data(), mistakes.size(), nullptr},
      {"convert, schema 0", Convert, 0, sample.data(), sample.size(), nullptr},
      {"XML read back", ReadXml, -1, xml.data(), xml.size(), nullptr},
      {"XML over its limit", ReadXml, 100, xml.data(), xml.size(), nullptr},
      {"CSV read as XML", ReadXml, -1, sample.data(), sample.size(), nullptr},
      {"null XML bytes", ReadXml, -1, nullptr, 3, nullptr},
  };
  Converter converter(quorvex_new(), &quorvex_free);
  ASSERT_NE(converter, nullptr);
  quorvex_set_describe_errors(converter.get(), 1);
  facade.SetDescribeErrors(true);
  for (const BufferCase& c : cases) {
    SCOPED_TRACE(c.name);
    int ok = -1;
    const CLCCsvConvResultCRS* expected = nullptr;
    switch (c.operation) {
      case Check:
        ok = quorvex_check_buffer(converter.get(), c.schema, c.data, c.size, c.year);
        expected = facade.CRSCsvCheckBuffer(c.schema, c.data, c.size, c.year);
        break;
      case Convert:
        ok = quorvex_convert_buffer(converter.get(), c.schema, c.data, c.size);
        expected = facade.CsvConvCRSDataBuffer(c.schema, c.data, c.size);
        break;
      case ReadXml:
        ok = quorvex_read_xml_buffer(converter.get(), c.data, c.size, c.schema);
        expected = facade.ReadXMLBuffer(c.data, c.size, c.schema);
        break;
    }
    EXPECT_EQ(ok, expected->getResult() == "S_OK" ? 1 : 0);
    EXPECT_EQ(quorvex_get_result(converter.get()), expected->getResult());
    EXPECT_EQ(quorvex_get_detail_error_info(converter.get()), expected->getDetailErrorInfo());
    EXPECT_EQ(quorvex_get_hojin_no(converter.get()), expected->getHojinNo());
    EXPECT_EQ(quorvex_get_account_report_count(converter.get()), expected->getAccountReportCount());
    EXPECT_EQ(std::string(quorvex_get_crs_data(converter.get())).size(), expected->getCRSData().size());
    EXPECT_EQ(quorvex_get_xml_data(converter.get()), expected->getXMLData());

    const std::vector<CLCErrorDescription>& descriptions = expected->getErrorDescriptions();
    ASSERT_EQ(quorvex_error_count(converter.get()), descriptions.size());
    EXPECT_EQ(descriptions.empty(), ok == 1);
    for (size_t i = 0; i < descriptions.size(); ++i) {
      const CLCErrorDescription& d = descriptions[i];
      quorvex_error error{};
      ASSERT_EQ(quorvex_get_error(converter.get(), i, &error), 1);
      EXPECT_EQ(error.line, d.line);
      EXPECT_EQ(error.file_line, d.fileLine);
      EXPECT_EQ(error.column, d.column);
      EXPECT_EQ(error.assist_column, d.assistColumn);
      EXPECT_EQ(error.code, d.code);
      EXPECT_EQ(error.record_kind, d.recordKind);
      EXPECT_EQ(error.item, d.item);
      EXPECT_EQ(error.value == nullptr, !d.hasValue);
      EXPECT_EQ(error.value != nullptr ? error.value : "", d.hasValue ? d.value : "");
      EXPECT_EQ(error.is_argument, d.isArgument ? 1 : 0);
    }
    quorvex_error untouched{};
    untouched.line = -7;
    EXPECT_EQ(quorvex_get_error(converter.get(), descriptions.size(), &untouched), 0);
    EXPECT_EQ(untouched.line, -7);
    EXPECT_EQ(quorvex_get_error(converter.get(), static_cast<size_t>(-1), &untouched), 0);
    EXPECT_EQ(quorvex_get_error(converter.get(), 0, nullptr), 0);
  }

  // Off again: a failure describes nothing.
  quorvex_set_describe_errors(converter.get(), 0);
  EXPECT_EQ(quorvex_check_buffer(converter.get(), 2, mistakes.data(), mistakes.size(), "2023"), 0);
  EXPECT_EQ(quorvex_error_count(converter.get()), 0u);

  quorvex_error error{};
  EXPECT_EQ(quorvex_check_buffer(nullptr, 2, sample.data(), sample.size(), "2023"), -1);
  EXPECT_EQ(quorvex_convert_buffer(nullptr, 2, sample.data(), sample.size()), -1);
  EXPECT_EQ(quorvex_read_xml_buffer(nullptr, xml.data(), xml.size(), -1), -1);
  // The whole document comes back: the table above compares with the facade, which could be empty too.
  ASSERT_EQ(quorvex_read_xml_buffer(converter.get(), xml.data(), xml.size(), -1), 1);
  EXPECT_EQ(quorvex_get_xml_data(converter.get()), xml);
  EXPECT_EQ(quorvex_error_count(nullptr), 0u);
  EXPECT_EQ(quorvex_get_error(nullptr, 0, &error), 0);
  quorvex_set_describe_errors(nullptr, 1);
}

TEST(QuorvexCInterface, AnOperationThatThrowsLeavesNothingOfTheCallBefore) {
  const std::string sample = quorvex_test::ReadBytes(quorvex_test::SourcePath("samples/crs-sample-2.0.csv"));
  const std::string path = quorvex_test::SourcePath("samples/crs-sample-2.0.csv");
  Converter converter(quorvex_new(), &quorvex_free);
  ASSERT_NE(converter, nullptr);
  quorvex_set_describe_errors(converter.get(), 1);
  // Through the file and through the bytes: the facade's and the handle's catch paths.
  for (int operation = 0; operation < 2; ++operation) {
    SCOPED_TRACE(operation);
    ASSERT_EQ(quorvex_check_buffer(converter.get(), 2, sample.data(), sample.size(), "2023"), 1);
    ASSERT_GT(quorvex_get_account_report_count(converter.get()), 0);
    ASSERT_STRNE(quorvex_get_hojin_no(converter.get()), "");
    // A failed check with descriptions, then the sample: a failing call must clear both.
    ASSERT_EQ(quorvex_check_buffer(converter.get(), 2, sample.data(), sample.size(), "x"), 0);
    ASSERT_EQ(quorvex_error_count(converter.get()), 1u);
    ASSERT_EQ(quorvex_convert_buffer(converter.get(), 2, sample.data(), sample.size()), 1);

    g_failAllocations = true;
    const int ok = operation == 0 ? quorvex_crs_csv_check2(converter.get(), path.c_str(), "2023")
                                  : quorvex_check_buffer(converter.get(), 2, sample.data(), sample.size(), "2023");
    g_failAllocations = false;

    EXPECT_EQ(ok, 0);
    EXPECT_STREQ(quorvex_get_result(converter.get()), "E_FAIL");
    EXPECT_STREQ(quorvex_get_hojin_no(converter.get()), "");
    EXPECT_STREQ(quorvex_get_giin(converter.get()), "");
    EXPECT_EQ(quorvex_get_account_report_count(converter.get()), 0);
    EXPECT_STREQ(quorvex_get_crs_data(converter.get()), "");
    EXPECT_EQ(quorvex_error_count(converter.get()), 0u);
  }
}

}  // namespace
