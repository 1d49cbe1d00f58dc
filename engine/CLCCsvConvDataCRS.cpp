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

// Success of a check or a conversion: identifiers and the account count.
void PutSuccess(CLCCsvConvResultCRS& record, CLCCRSDataManager& manager, std::string&& xml) {
  record.putResult(kSucceeded);
  record.putDetailErrorInfo(std::string());
  record.putCRSData(std::move(xml));
  record.putXMLData(std::string());
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

CLCCsvConvResultCRS* CLCCsvConvDataCRS::Check(const char* function, const char* csvPath,
                                               const char* nenbun, unsigned short resource) {
  CLCCsvConvResultCRS* record = Record();
  try {
    CLCCRSDataManager manager;
    const bool prepared = resource == kValidateDefine2 ? manager.InitForCheck(csvPath, nenbun)
                                                       : manager.InitForCheck(csvPath);
    const bool done = prepared && manager.LoadCsvWithDefinition(kRootName, resource, true) &&
                      manager.ValidateCsv();
    if (done) {
      PutSuccess(*record, manager, std::string());
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

CLCCsvConvResultCRS* CLCCsvConvDataCRS::Convert(const char* function, const char* csvPath,
                                                 const char* outputPath, unsigned short resource) {
  CLCCsvConvResultCRS* record = Record();
  try {
    CLCCRSDataManager manager;
    std::string xml;
    const bool done = manager.InitForMake(csvPath, outputPath) &&
                      manager.LoadCsvWithDefinition(kRootName, resource, false) &&
                      manager.MakeData(xml);
    if (done) {
      PutSuccess(*record, manager, std::move(xml));
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
  return Check("CLCCsvConvDataCRS::CRSCsvCheck", csvPath, nullptr, kValidateDefine1);
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CRSCsvCheck2(const char* csvPath, const char* nenbun) {
  return Check("CLCCsvConvDataCRS::CRSCsvCheck2", csvPath, nenbun, kValidateDefine2);
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CsvConvCRSData(const char* csvPath, const char* outputPath) {
  return Convert("CLCCsvConvDataCRS::CsvConvCRSData", csvPath, outputPath, kDataConvDefine1);
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::CsvConvCRSData2(const char* csvPath, const char* outputPath) {
  return Convert("CLCCsvConvDataCRS::CsvConvCRSData2", csvPath, outputPath, kDataConvDefine2);
}

CLCCsvConvResultCRS* CLCCsvConvDataCRS::ReadXMLFile(const char* xmlPath, long limitSize) {
  CLCCsvConvResultCRS* record = Record();
  try {
    CLCCRSDataManager manager;
    std::string text;
    const bool done = manager.InitForXml(xmlPath, limitSize) && manager.ReadXMLFile(limitSize, text);
    if (done) {
      record->putResult(kSucceeded);
      record->putDetailErrorInfo(std::string());
      record->putXMLData(std::move(text));
      record->putCRSData(std::string());
      record->putHojinNo(std::string());
      record->putGIIN(std::string());
      record->putAccountReportCount(0);
    } else {
      PutFailure(*record, manager);
    }
    manager.Terminate();
  } catch (...) {
    CLCDebugDump::OutputLog(__FILE__, __LINE__, "CLCCsvConvDataCRS::ReadXMLFile",
                            CLCDebugDump::kUnexpectedError);
    record->putResult(kFailed);
  }
  return record;
}
