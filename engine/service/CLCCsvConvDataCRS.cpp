#include "CLCCsvConvDataCRS.h"

#include "service/CLCCRSDataManager.h"
#include "diagnostics/CLCDebugDump.h"
#include "diagnostics/CLCValidResult.h"

#include <new>

using namespace quorvex::internal;

namespace {

constexpr const char* kRootName = "CRS_OECD";
constexpr const char* kSucceeded = "S_OK";
constexpr const char* kFailed = "E_FAIL";

// Fills the record the way every failed step does.
void PutFailure(CLCCsvConvResultCRS& record, const std::string& detailErrorInfo) {
  record.putResult(kFailed);
  record.putDetailErrorInfo(detailErrorInfo);
  record.putCRSData(std::string());
  record.putXMLData(std::string());
  record.putHojinNo(std::string());
  record.putGIIN(std::string());
  record.putAccountReportCount(0);
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
      record->putErrorDescriptions(m_bDescribeErrors ? manager.DescribeErrors()
                                                     : std::vector<CLCErrorDescription>());
    }
    return record;
  } catch (const std::bad_alloc&) {
    problem = CLCDebugDump::kAllocFailed;
  } catch (...) {
  }
  // Every field is rewritten, so nothing of an earlier call stays beside "E_FAIL".
  CRSLogUnexpected(__FILE__, __LINE__, function, problem);
  try {
    PutFailure(*record, UnexpectedErrorDocument());
    record->putErrorDescriptions({});
  } catch (...) {
    record->putResult(kFailed);
  }
  return record;
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CRSCsvCheck(const char* csvPath) {
  return Run(__PRETTY_FUNCTION__, [&](CLCCRSDataManager& manager, std::string&) {
    return manager.InitForCheck(csvPath) && manager.LoadCsvWithDefinition(kRootName, CLCCRSDataManager::kValidateDefine1, true) &&
           manager.ValidateCsv();
  });
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CRSCsvCheck2(const char* csvPath, const char* nenbun) {
  return Run(__PRETTY_FUNCTION__, [&](CLCCRSDataManager& manager, std::string&) {
    return manager.InitForCheck(csvPath, nenbun) &&
           manager.LoadCsvWithDefinition(kRootName, CLCCRSDataManager::kValidateDefine2, true) && manager.ValidateCsv();
  });
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::Convert(const char* function, const char* csvPath,
                                                 const char* outputPath, unsigned short resource) {
  return Run(function, [&](CLCCRSDataManager& manager, std::string& xml) {
    return manager.InitForMake(csvPath, outputPath) && manager.LoadCsvWithDefinition(kRootName, resource, false) &&
           manager.MakeData(xml);
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
