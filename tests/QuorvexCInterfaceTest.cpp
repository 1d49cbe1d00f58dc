// The C interface must give what the facade gives for the same arguments,
// null pointers and ill-formed UTF-8 included.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CLCCsvConvDataCRS.h"
#include "quorvex.h"

using namespace quorvex::internal;

namespace {

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
  std::unique_ptr<quorvex_converter, decltype(&quorvex_free)> converter(quorvex_new(), &quorvex_free);
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

}  // namespace
