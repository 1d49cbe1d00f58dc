#include "CLCCsvConvDataCRS.h"

#include "service/CLCCRSDataManager.h"
#include "CLCCRSCommon.h"
#include "diagnostics/CLCDebugDump.h"
#include "diagnostics/CLCValidResult.h"
#include "csv/CLCCRSRecordOrigins.h"
#include "validate/CLCMessageValidator.h"
#ifdef QUORVEX_WITH_HISTORY
#include "CLCFilingHistory.h"
#include "history/CLCHistoryRules.h"
#endif

#include <new>
#include <string_view>

using namespace quorvex::internal;

namespace {

constexpr const char* kRootName = "CRS_OECD";
constexpr const char* kSucceeded = "S_OK";
constexpr const char* kFailed = "E_FAIL";

// Fills the record the way every failed step does. The document, the only
// field that may need memory, goes last: should it fail, nothing of an
// earlier call stays beside "E_FAIL".
void PutFailure(CLCCsvConvResultCRS& record, const std::string& detailErrorInfo) {
  record.putResult(kFailed);
  record.putCRSData(std::string());
  record.putXMLData(std::string());
  record.putHojinNo(std::string());
  record.putGIIN(std::string());
  record.putAccountReportCount(0);
  record.putErrorDescriptions({});
  record.putDetailErrorInfo(detailErrorInfo);
}

// Success: the text goes to CRSData (conversion) or XMLData (read); a check has
// none. Identifiers and the count are found by checks and conversions only.
void PutSuccess(CLCCsvConvResultCRS& record, CLCCRSDataManager& manager, std::string&& text,
                bool textIsXmlData) {
  record.putResult(kSucceeded);
  record.putDetailErrorInfo(std::string());
  if (textIsXmlData) {
    record.putXMLData(std::move(text));
    record.putCRSData(std::string());
  } else {
    record.putCRSData(std::move(text));
    record.putXMLData(std::string());
  }
  record.putHojinNo(manager.GetHojinNo());
  record.putGIIN(manager.GetGIIN());
  record.putAccountReportCount(manager.GetAccountReportCount());
}

// What an operation that threw leaves behind: the single unexpected error.
std::string UnexpectedErrorDocument() {
  CLCValidResult fatal;
  fatal.SetFatalError();
  return fatal.MakeResult();
}

}  // namespace

CLCCsvConvDataCRS::CLCCsvConvDataCRS() { CLCDebugDump::InitDebugDump(); }

CLCCsvConvDataCRS::~CLCCsvConvDataCRS() = default;

CLCCsvConvResultCRS* CLCCsvConvDataCRS::Record() {
  if (!m_pResult) m_pResult = std::make_unique<CLCCsvConvResultCRS>();
  return m_pResult.get();
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::Run(const char* function, const Steps& steps, bool textIsXmlData) {
  CLCCsvConvResultCRS* record = Record();
  const char* problem = CLCDebugDump::kUnexpectedError;
  try {
    CLCCRSDataManager manager;
    std::string text;
    if (steps(manager, text)) {
      PutSuccess(*record, manager, std::move(text), textIsXmlData);
      record->putErrorDescriptions({});
    } else {
      PutFailure(*record, manager.GetErrorMsg());
      if (m_bDescribeErrors) record->putErrorDescriptions(manager.DescribeErrors());
    }
    return record;
  } catch (const std::bad_alloc&) {
    problem = CLCDebugDump::kAllocFailed;
  } catch (...) {
  }
  // Every field is rewritten, so nothing of an earlier call stays beside "E_FAIL".
  try {
    CRSLogUnexpected(__FILE__, __LINE__, function, problem);
    PutFailure(*record, UnexpectedErrorDocument());
  } catch (...) {
    // Out of memory even for that: an empty document, every other field cleared.
    PutFailure(*record, std::string());
  }
  return record;
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CRSCsvCheck(const char* csvPath) {
  return Run(__PRETTY_FUNCTION__, [&](CLCCRSDataManager& manager, std::string&) {
    return manager.InitForCheck(csvPath) &&
           manager.LoadCsvWithDefinition(kRootName, CLCCRSDataManager::kValidateDefine1, true) && manager.ValidateCsv();
  });
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CRSCsvCheck2(const char* csvPath, const char* nenbun) {
  return Run(__PRETTY_FUNCTION__, [&](CLCCRSDataManager& manager, std::string&) {
    return manager.InitForCheck(csvPath, nenbun) &&
           manager.LoadCsvWithDefinition(kRootName, CLCCRSDataManager::kValidateDefine2, true) && manager.ValidateCsv();
  });
}

CLCLocalTime CLCCsvConvDataCRS::ReadClock() const {
  if (m_clock) return m_clock();
  CLCLocalTime now;
  // An unreadable clock gives the zero time, which the writer refuses.
  if (!CLCCRSCommon::LocalNow(now)) return CLCLocalTime();
  return now;
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::Convert(const char* function, const char* csvPath,
                                                 const char* outputPath, unsigned short resource) {
  return Run(function, [&](CLCCRSDataManager& manager, std::string& xml) {
    return manager.InitForMake(csvPath, outputPath) && manager.LoadCsvWithDefinition(kRootName, resource, false) &&
           manager.MakeData(xml, ReadClock(), m_outputGate);
  });
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CsvConvCRSData(const char* csvPath, const char* outputPath) {
  return Convert(__PRETTY_FUNCTION__, csvPath, outputPath, CLCCRSDataManager::kDataConvDefine1);
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CsvConvCRSData2(const char* csvPath, const char* outputPath) {
  return Convert(__PRETTY_FUNCTION__, csvPath, outputPath, CLCCRSDataManager::kDataConvDefine2);
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::ReadXMLFile(const char* xmlPath, long limitSize) {
  return Run(
      __PRETTY_FUNCTION__,
      [&](CLCCRSDataManager& manager, std::string& text) {
        return manager.InitForXml(xmlPath, limitSize) && manager.ReadXMLFile(limitSize, text);
      },
      true);
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CRSCsvCheckBuffer(int schema, const char* data, std::size_t size,
                                                          const char* nenbun) {
  return Run(__PRETTY_FUNCTION__, [&](CLCCRSDataManager& manager, std::string&) {
    const unsigned short resource =
        schema == 1 ? CLCCRSDataManager::kValidateDefine1 : CLCCRSDataManager::kValidateDefine2;
    return manager.InitForCheckBuffer(schema, data, size, nenbun) &&
           manager.LoadCsvBufferWithDefinition(std::string_view(data, size), kRootName, resource, true) &&
           manager.ValidateCsv();
  });
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CsvConvCRSDataBuffer(int schema, const char* data, std::size_t size) {
  return Run(__PRETTY_FUNCTION__, [&](CLCCRSDataManager& manager, std::string& xml) {
    const unsigned short resource =
        schema == 1 ? CLCCRSDataManager::kDataConvDefine1 : CLCCRSDataManager::kDataConvDefine2;
    return manager.InitForMakeBuffer(schema, data, size) &&
           manager.LoadCsvBufferWithDefinition(std::string_view(data, size), kRootName, resource, false) &&
           manager.MakeData(xml, ReadClock(), m_outputGate);
  });
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::ReadXMLBuffer(const char* data, std::size_t size, long limitSize) {
  return Run(
      __PRETTY_FUNCTION__,
      [&](CLCCRSDataManager& manager, std::string& text) {
        return manager.InitForXmlBuffer(data, size, limitSize) &&
               manager.ReadXMLBuffer(std::string(data, size), limitSize, text);
      },
      true);
}

const CLCValidationResult& CLCCsvConvDataCRS::PutValidation(CLCValidationResult&& result) {
  if (!m_pValidation) m_pValidation = std::make_unique<CLCValidationResult>();
  *m_pValidation = std::move(result);
  return *m_pValidation;
}

const CLCValidationResult& CLCCsvConvDataCRS::ValidateXMLBuffer(const char* data, std::size_t size,
                                                                CLCValidationContext context) {
  try {
    CLCMessageValidator::MoreRules more;
#ifdef QUORVEX_WITH_HISTORY
    if (m_pHistory != nullptr && m_pHistory->m_pStore != nullptr) {
      more = CLCHistoryRules::Hook(*m_pHistory->m_pStore, data, size);
    }
#endif
    return PutValidation(CLCMessageValidator::Validate(data, size, context, more));
  } catch (...) {
    CLCValidationResult failed;
    failed.note = "unexpected error";
    return PutValidation(std::move(failed));
  }
}

const CLCValidationResult& CLCCsvConvDataCRS::ValidateXMLFile(const char* xmlPath, CLCValidationContext context) {
  try {
#ifdef QUORVEX_WITH_HISTORY
    // The history knows a recorded message by the digest of all its bytes.
    if (m_pHistory != nullptr && m_pHistory->m_pStore != nullptr) {
      std::string bytes;
      if (xmlPath == nullptr || !CLCCRSCommon::ReadFileBytes(xmlPath, bytes)) {
        CLCValidationResult unreadable;
        unreadable.note = std::string("cannot read ") + (xmlPath != nullptr ? xmlPath : "(null)");
        return PutValidation(std::move(unreadable));
      }
      return ValidateXMLBuffer(bytes.data(), bytes.size(), context);
    }
#endif
    return PutValidation(CLCMessageValidator::ValidateFile(xmlPath, context));
  } catch (...) {
    CLCValidationResult failed;
    failed.note = "unexpected error";
    return PutValidation(std::move(failed));
  }
}

std::vector<CLCRecordOrigin> CLCCsvConvDataCRS::CsvRecordOriginsBuffer(const char* data, std::size_t size) {
  if (data == nullptr) return {};
  try {
    return CLCCRSRecordOrigins::List(std::string_view(data, size));
  } catch (...) {
    return {};
  }
}

std::vector<CLCRecordOrigin> CLCCsvConvDataCRS::CsvRecordOrigins(const char* csvPath) {
  try {
    std::string bytes;
    if (csvPath == nullptr || !CLCCRSCommon::ReadFileBytes(csvPath, bytes)) return {};
    return CsvRecordOriginsBuffer(bytes.data(), bytes.size());
  } catch (...) {
    return {};
  }
}
