#pragma once
#include "CLCCsvConvResultCRS.h"

#include <memory>

// The engine's single entry point. Each operation runs the data-manager steps
// for one call and returns the facade's result record, which every later
// operation on the same object reuses and overwrites. Text arguments are UTF-8
// and may be null; problems are reported in the record, never thrown.
class CLCCsvConvDataCRS {
 public:
  static constexpr unsigned short kValidateDefine1 = 205;
  static constexpr unsigned short kDataConvDefine1 = 206;
  static constexpr unsigned short kValidateDefine2 = 207;
  static constexpr unsigned short kDataConvDefine2 = 208;

  CLCCsvConvDataCRS();
  ~CLCCsvConvDataCRS();
  CLCCsvConvDataCRS(const CLCCsvConvDataCRS&) = delete;
  CLCCsvConvDataCRS& operator=(const CLCCsvConvDataCRS&) = delete;

  CLCCsvConvResultCRS* CRSCsvCheck(const char* csvPath);
  CLCCsvConvResultCRS* CRSCsvCheck2(const char* csvPath, const char* nenbun);
  CLCCsvConvResultCRS* CsvConvCRSData(const char* csvPath, const char* outputPath);
  CLCCsvConvResultCRS* CsvConvCRSData2(const char* csvPath, const char* outputPath);
  CLCCsvConvResultCRS* ReadXMLFile(const char* xmlPath, long limitSize);

 private:
  CLCCsvConvResultCRS* Check(const char* function, const char* csvPath, const char* nenbun,
                             unsigned short resource);
  CLCCsvConvResultCRS* Convert(const char* function, const char* csvPath, const char* outputPath,
                               unsigned short resource);
  CLCCsvConvResultCRS* Record();

  std::unique_ptr<CLCCsvConvResultCRS> m_pResult;
};
