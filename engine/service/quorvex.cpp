// The C interface: a handle around one facade. Accessors read the facade's
// record of the last operation in place, so its strings stay valid until the
// next operation and nothing is copied.
#include "quorvex.h"

#include <cstring>
#include <new>
#include <string>

#include "CLCCsvConvDataCRS.h"
#include "diagnostics/CLCDebugDump.h"
#include "service/quorvex_internal.h"
#include "diagnostics/CRSMsgTable.h"
#include "validate/CLCFindingText.h"

using namespace quorvex::internal;

struct quorvex_converter {
  CLCCsvConvDataCRS facade;
  // The last operation's record; null before the first operation and after
  // one that ended without a record (then `failed`).
  const CLCCsvConvResultCRS* record = nullptr;
  bool failed = false;
  // The last validation's result; null before the first.
  const CLCValidationResult* validation = nullptr;
};

namespace {

// What an operation that threw reads as: no field of an earlier call survives.
constexpr const char* kFailed = "E_FAIL";
constexpr const char* kUnexpectedErrorDocument = "00000-0000000-HE40000E";

// Runs one facade operation and keeps its record; no exception leaves here.
template <typename Operation>
int Run(quorvex_converter* converter, const char* function, Operation operation) noexcept {
  if (converter == nullptr) return -1;
  converter->record = nullptr;
  converter->failed = true;
  const char* problem = CLCDebugDump::kUnexpectedError;
  try {
    converter->record = operation(converter->facade);
    converter->failed = false;
    return converter->record->succeeded() ? 1 : 0;
  } catch (const std::bad_alloc&) {
    problem = CLCDebugDump::kAllocFailed;
  } catch (...) {
  }
  try {
    CLCDebugDump::OutputLog(__FILE__, __LINE__, function, problem);
  } catch (...) {
  }
  return 0;
}

const char* Text(const quorvex_converter* converter,
                 const std::string& (CLCCsvConvResultCRS::*field)() const) noexcept {
  if (converter == nullptr || converter->record == nullptr) return "";
  return (converter->record->*field)().c_str();
}

}  // namespace

namespace {

// Runs one validation and keeps its result; no exception leaves here.
template <typename Operation>
int Validate(quorvex_converter* converter, int context, Operation operation) noexcept {
  if (converter == nullptr) return -1;
  converter->validation = nullptr;
  const CLCValidationContext chosen = context == 1   ? CLCValidationContext::Domestic
                                      : context == 2 ? CLCValidationContext::Exchange
                                                     : CLCValidationContext::Automatic;
  try {
    converter->validation = &operation(converter->facade, chosen);
    return converter->validation->valid ? 1 : 0;
  } catch (...) {
    return 0;
  }
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

int quorvex_check_buffer(quorvex_converter* converter, int schema, const char* data, size_t size,
                         const char* year) noexcept {
  return Run(converter, "quorvex_check_buffer",
             [&](CLCCsvConvDataCRS& facade) { return facade.CRSCsvCheckBuffer(schema, data, size, year); });
}

int quorvex_convert_buffer(quorvex_converter* converter, int schema, const char* data, size_t size) noexcept {
  return Run(converter, "quorvex_convert_buffer",
             [&](CLCCsvConvDataCRS& facade) { return facade.CsvConvCRSDataBuffer(schema, data, size); });
}

int quorvex_read_xml_buffer(quorvex_converter* converter, const char* data, size_t size, long limit_size) noexcept {
  return Run(converter, "quorvex_read_xml_buffer",
             [&](CLCCsvConvDataCRS& facade) { return facade.ReadXMLBuffer(data, size, limit_size); });
}

const char* quorvex_get_result(const quorvex_converter* converter) noexcept {
  if (converter != nullptr && converter->failed) return kFailed;
  return Text(converter, &CLCCsvConvResultCRS::getResult);
}

const char* quorvex_get_detail_error_info(const quorvex_converter* converter) noexcept {
  if (converter != nullptr && converter->failed) return kUnexpectedErrorDocument;
  return Text(converter, &CLCCsvConvResultCRS::getDetailErrorInfo);
}

const char* quorvex_get_hojin_no(const quorvex_converter* converter) noexcept {
  return Text(converter, &CLCCsvConvResultCRS::getHojinNo);
}

const char* quorvex_get_giin(const quorvex_converter* converter) noexcept {
  return Text(converter, &CLCCsvConvResultCRS::getGIIN);
}

long quorvex_get_account_report_count(const quorvex_converter* converter) noexcept {
  return converter != nullptr && converter->record != nullptr ? converter->record->getAccountReportCount() : 0;
}

const char* quorvex_get_crs_data(const quorvex_converter* converter) noexcept {
  return Text(converter, &CLCCsvConvResultCRS::getCRSData);
}

const char* quorvex_get_xml_data(const quorvex_converter* converter) noexcept {
  return Text(converter, &CLCCsvConvResultCRS::getXMLData);
}

void quorvex_set_describe_errors(quorvex_converter* converter, int on) noexcept {
  if (converter != nullptr) converter->facade.SetDescribeErrors(on != 0);
}

size_t quorvex_error_count(const quorvex_converter* converter) noexcept {
  if (converter == nullptr || converter->record == nullptr) return 0;
  return converter->record->getErrorDescriptions().size();
}

int quorvex_get_error(const quorvex_converter* converter, size_t index, quorvex_error* out) noexcept {
  if (out == nullptr || index >= quorvex_error_count(converter)) return 0;
  const CLCErrorDescription& error = converter->record->getErrorDescriptions()[index];
  out->line = error.line;
  out->file_line = error.fileLine;
  out->column = error.column;
  out->assist_column = error.assistColumn;
  out->code = error.code.c_str();
  out->record_kind = error.recordKind.c_str();
  out->item = error.item.c_str();
  out->value = error.hasValue ? error.value.c_str() : nullptr;
  out->is_argument = error.isArgument ? 1 : 0;
  return 1;
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

int quorvex_validate_xml_file(quorvex_converter* converter, const char* xml_path, int context) noexcept {
  return Validate(converter, context, [&](CLCCsvConvDataCRS& facade, CLCValidationContext chosen) -> const auto& {
    return facade.ValidateXMLFile(xml_path, chosen);
  });
}

int quorvex_validate_xml_buffer(quorvex_converter* converter, const char* data, size_t size, int context) noexcept {
  return Validate(converter, context, [&](CLCCsvConvDataCRS& facade, CLCValidationContext chosen) -> const auto& {
    return facade.ValidateXMLBuffer(data, size, chosen);
  });
}

size_t quorvex_finding_count(const quorvex_converter* converter) noexcept {
  return converter != nullptr && converter->validation != nullptr ? converter->validation->findings.size() : 0;
}

int quorvex_get_finding(const quorvex_converter* converter, size_t index, quorvex_finding* out) noexcept {
  if (out == nullptr || index >= quorvex_finding_count(converter)) return 0;
  const CLCValidationFinding& finding = converter->validation->findings[index];
  out->code = finding.code.c_str();
  out->is_error = finding.severity == CLCFindingSeverity::Error ? 1 : 0;
  out->line = finding.line;
  out->column = finding.column;
  out->path = finding.path.c_str();
  out->doc_ref_id = finding.docRefId.c_str();
  out->message = finding.message.c_str();
  return 1;
}

const char* quorvex_validation_context(const quorvex_converter* converter) noexcept {
  if (converter == nullptr || converter->validation == nullptr) return "";
  return converter->validation->context == CLCValidationContext::Exchange ? "exchange" : "domestic";
}

const char* quorvex_validation_note(const quorvex_converter* converter) noexcept {
  if (converter == nullptr || converter->validation == nullptr) return "";
  return converter->validation->note.c_str();
}

const char* quorvex_finding_title(const char* code, const char* lang) noexcept {
  return CLCFindingTitle(code, lang);
}

const char* quorvex_version(void) noexcept { return QUORVEX_VERSION_STRING; }

}  // extern "C"

CLCCsvConvDataCRS* QuorvexFacadeOf(quorvex_converter* converter) noexcept {
  return converter != nullptr ? &converter->facade : nullptr;
}
