#pragma once
#include "CLCCsvConvResultCRS.h"
#include "quorvex_export.h"

#include <functional>
#include <memory>
#include <string>

namespace quorvex::internal {
class CLCCRSDataManager;
}

// The engine's single entry point. Each operation runs the data-manager steps
// for one call and returns the facade's result record, which every later
// operation on the same object reuses and overwrites. Text arguments are UTF-8
// and may be null; problems are reported in the record, never thrown.
class QUORVEX_EXPORT CLCCsvConvDataCRS {
 public:
  CLCCsvConvDataCRS();
  ~CLCCsvConvDataCRS();
  CLCCsvConvDataCRS(const CLCCsvConvDataCRS&) = delete;
  CLCCsvConvDataCRS& operator=(const CLCCsvConvDataCRS&) = delete;

  CLCCsvConvResultCRS* CRSCsvCheck(const char* csvPath);
  CLCCsvConvResultCRS* CRSCsvCheck2(const char* csvPath, const char* nenbun);
  CLCCsvConvResultCRS* CsvConvCRSData(const char* csvPath, const char* outputPath);
  CLCCsvConvResultCRS* CsvConvCRSData2(const char* csvPath, const char* outputPath);
  CLCCsvConvResultCRS* ReadXMLFile(const char* xmlPath, long limitSize);

  // When on, a failed operation also describes each item of its detail error
  // document (record kind, item name, value found) in the result record. Off
  // by default: the descriptions cost a little time and memory.
  void SetDescribeErrors(bool describe) { m_bDescribeErrors = describe; }

 private:
  // The steps of one operation on a fresh data manager; true when all passed.
  // The second argument receives the generated XML or the text read back.
  using Steps = std::function<bool(quorvex::internal::CLCCRSDataManager&, std::string&)>;

  // Runs the steps and fills the record from their outcome. Nothing thrown
  // inside an operation gets past here.
  CLCCsvConvResultCRS* Run(const char* function, const Steps& steps, bool textIsXmlData = false);
  CLCCsvConvResultCRS* Convert(const char* function, const char* csvPath, const char* outputPath,
                               unsigned short resource);
  CLCCsvConvResultCRS* Record();

  std::unique_ptr<CLCCsvConvResultCRS> m_pResult;
  bool m_bDescribeErrors = false;
};
