// The C interface: a handle around one facade, with copies of the last result's
// fields so that the returned pointers stay valid until the next operation.
#include "quorvex.h"

#include <cstring>
#include <new>
#include <string>

#include "CLCCsvConvDataCRS.h"
#include "diagnostics/CLCDebugDump.h"
#include "diagnostics/CRSMsgTable.h"

using namespace quorvex::internal;

struct quorvex_converter {
  CLCCsvConvDataCRS facade;
  std::string result;
  std::string detailErrorInfo;
  std::string hojinNo;
  std::string giin;
  long accountReportCount = 0;
  std::string crsData;
  std::string xmlData;
};

namespace {

// Runs one facade operation and keeps its fields; no exception leaves here.
template <typename Operation>
int Run(quorvex_converter* converter, const char* function, Operation operation) noexcept {
  if (converter == nullptr) return -1;
  try {
    const CLCCsvConvResultCRS* record = operation(converter->facade);
    converter->result = record->getResult();
    converter->detailErrorInfo = record->getDetailErrorInfo();
    converter->hojinNo = record->getHojinNo();
    converter->giin = record->getGIIN();
    converter->accountReportCount = record->getAccountReportCount();
    converter->crsData = record->getCRSData();
    converter->xmlData = record->getXMLData();
    return converter->result == "S_OK" ? 1 : 0;
  } catch (...) {
    // Only copying the fields can throw (memory): report a failure with no text.
    converter->detailErrorInfo.clear();
    converter->crsData.clear();
    converter->xmlData.clear();
    try {
      converter->result = "E_FAIL";
      CLCDebugDump::OutputLog(__FILE__, __LINE__, function, CLCDebugDump::kAllocFailed);
    } catch (...) {
    }
    return 0;
  }
}

const char* Text(const quorvex_converter* converter, std::string quorvex_converter::*field) noexcept {
  return converter != nullptr ? (converter->*field).c_str() : "";
}

}  // namespace

extern "C" {

quorvex_converter* quorvex_new(void) noexcept {
  try {
    return new quorvex_converter();
  } catch (...) {
    return nullptr;
  }
}

void quorvex_free(quorvex_converter* converter) noexcept { delete converter; }

int quorvex_crs_csv_check(quorvex_converter* converter, const char* csv_path) noexcept {
  return Run(converter, "quorvex_crs_csv_check",
             [&](CLCCsvConvDataCRS& facade) { return facade.CRSCsvCheck(csv_path); });
}

int quorvex_crs_csv_check2(quorvex_converter* converter, const char* csv_path, const char* year) noexcept {
  return Run(converter, "quorvex_crs_csv_check2",
             [&](CLCCsvConvDataCRS& facade) { return facade.CRSCsvCheck2(csv_path, year); });
}

int quorvex_csv_conv_crs_data(quorvex_converter* converter, const char* csv_path,
                              const char* output_path) noexcept {
  return Run(converter, "quorvex_csv_conv_crs_data",
             [&](CLCCsvConvDataCRS& facade) { return facade.CsvConvCRSData(csv_path, output_path); });
}

int quorvex_csv_conv_crs_data2(quorvex_converter* converter, const char* csv_path,
                               const char* output_path) noexcept {
  return Run(converter, "quorvex_csv_conv_crs_data2",
             [&](CLCCsvConvDataCRS& facade) { return facade.CsvConvCRSData2(csv_path, output_path); });
}

int quorvex_read_xml_file(quorvex_converter* converter, const char* xml_path, long limit_size) noexcept {
  return Run(converter, "quorvex_read_xml_file",
             [&](CLCCsvConvDataCRS& facade) { return facade.ReadXMLFile(xml_path, limit_size); });
}

const char* quorvex_get_result(const quorvex_converter* converter) noexcept {
  return Text(converter, &quorvex_converter::result);
}

const char* quorvex_get_detail_error_info(const quorvex_converter* converter) noexcept {
  return Text(converter, &quorvex_converter::detailErrorInfo);
}

const char* quorvex_get_hojin_no(const quorvex_converter* converter) noexcept {
  return Text(converter, &quorvex_converter::hojinNo);
}

const char* quorvex_get_giin(const quorvex_converter* converter) noexcept {
  return Text(converter, &quorvex_converter::giin);
}

long quorvex_get_account_report_count(const quorvex_converter* converter) noexcept {
  return converter != nullptr ? converter->accountReportCount : 0;
}

const char* quorvex_get_crs_data(const quorvex_converter* converter) noexcept {
  return Text(converter, &quorvex_converter::crsData);
}

const char* quorvex_get_xml_data(const quorvex_converter* converter) noexcept {
  return Text(converter, &quorvex_converter::xmlData);
}

const char* quorvex_message_text(const char* code, const char* lang) noexcept {
  if (code == nullptr || lang == nullptr) return nullptr;
  CRSMsgLanguage language;
  if (std::strcmp(lang, "ja") == 0) {
    language = CRSMsgLanguage::Japanese;
  } else if (std::strcmp(lang, "en") == 0) {
    language = CRSMsgLanguage::English;
  } else {
    return nullptr;
  }
  const CLCCRSMessage_t value = CRSMsgFromCode(code);
  return value == CRSMSG_NONE ? nullptr : CRSMsgText(value, language);
}

const char* quorvex_version(void) noexcept { return QUORVEX_VERSION_STRING; }

}  // extern "C"
