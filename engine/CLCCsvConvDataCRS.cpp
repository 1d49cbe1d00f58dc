#include "CLCCsvConvDataCRS.h"

#include "CLCCRSDataManager.h"
#include "CLCDebugDump.h"

namespace {

constexpr const char* kRootName = "CRS_OECD";
constexpr const char* kSucceeded = "S_OK";
constexpr const char* kFailed = "E_FAIL";

// Fills the record the way every failed step does.
void PutFailure(CLCCsvConvResultCRS& record, CLCCRSDataManager& manager) {
  record.putResult(kFailed);
  record.putDetailErrorInfo(manager.GetErrorMsg());
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

}  // namespace

CLCCsvConvDataCRS::CLCCsvConvDataCRS() { CLCDebugDump::InitDebugDump(); }

CLCCsvConvDataCRS::~CLCCsvConvDataCRS() = default;

CLCCsvConvResultCRS* CLCCsvConvDataCRS::Record() {
  if (!m_pResult) m_pResult = std::make_unique<CLCCsvConvResultCRS>();
  return m_pResult.get();
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::Run(const char* function, const Steps& steps, bool textIsXmlData) {
  CLCCsvConvResultCRS* record = Record();
  try {
    CLCCRSDataManager manager;
    std::string text;
    if (steps(manager, text)) {
      PutSuccess(*record, manager, std::move(text), textIsXmlData);
    } else {
      PutFailure(*record, manager);
    }
    manager.Terminate();
  } catch (...) {
    CLCDebugDump::OutputLog(__FILE__, __LINE__, function, CLCDebugDump::kUnexpectedError);
    record->putResult(kFailed);
  }
  return record;
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CRSCsvCheck(const char* csvPath) {
  return Run("CLCCsvConvDataCRS::CRSCsvCheck", [&](CLCCRSDataManager& manager, std::string&) {
    return manager.InitForCheck(csvPath) && manager.LoadCsvWithDefinition(kRootName, kValidateDefine1, true) &&
           manager.ValidateCsv();
  });
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CRSCsvCheck2(const char* csvPath, const char* nenbun) {
  return Run("CLCCsvConvDataCRS::CRSCsvCheck2", [&](CLCCRSDataManager& manager, std::string&) {
    return manager.InitForCheck(csvPath, nenbun) &&
           manager.LoadCsvWithDefinition(kRootName, kValidateDefine2, true) && manager.ValidateCsv();
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
  return Convert("CLCCsvConvDataCRS::CsvConvCRSData", csvPath, outputPath, kDataConvDefine1);
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CsvConvCRSData2(const char* csvPath, const char* outputPath) {
  return Convert("CLCCsvConvDataCRS::CsvConvCRSData2", csvPath, outputPath, kDataConvDefine2);
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::ReadXMLFile(const char* xmlPath, long limitSize) {
  return Run(
      "CLCCsvConvDataCRS::ReadXMLFile",
      [&](CLCCRSDataManager& manager, std::string& text) {
        return manager.InitForXml(xmlPath, limitSize) && manager.ReadXMLFile(limitSize, text);
      },
      true);
}
