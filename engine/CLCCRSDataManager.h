#pragma once
#include "CLCCRSDefinition.h"
#include "CLCCRSValidator.h"

#include <memory>
#include <string>

class CLCCRSCsvCRSReport;

// Carries one facade operation from its arguments to its outcome: preparation
// (argument checks), loading (CSV file and definition), then the check, the
// conversion or the XML read. Owns the CSV data and the definition for the call.
class CLCCRSDataManager {
 public:
  static constexpr long kArgumentLine = 99999;
  static constexpr std::size_t kMaxOutputSize = CLCCRSDefinition::kMaxOutputSize;

  CLCCRSDataManager();
  virtual ~CLCCRSDataManager();
  CLCCRSDataManager(const CLCCRSDataManager&) = delete;
  CLCCRSDataManager& operator=(const CLCCRSDataManager&) = delete;

  // Check flow.
  bool InitForCheck(const char* csvPath);
  bool InitForCheck(const char* csvPath, const char* nenbun);
  bool LoadCsvWithDefinition(const char* rootName, unsigned short resource, bool validationMode);
  bool ValidateCsv();
  bool MakeProperties();

  // Conversion flow.
  bool InitForMake(const char* csvPath, const char* outputPath);
  bool MakeData(std::string& output);
  bool OutputFileConvData(const char* outputPath, const std::string& xml);

  // XML read flow.
  bool InitForXml(const char* xmlPath, long limitSize);
  bool ReadXMLFile(long limitSize, std::string& output);

  std::string GetHojinNo() const { return m_strHojinNo; }
  std::string GetGIIN() const { return m_strGIIN; }
  long GetAccountReportCount() const { return m_lAccountReportCount; }
  std::string GetErrorMsg();
  void Terminate();

 private:
  // Validates one argument with a built-in rule table; the validator's result code.
  int ValidateArgument(CLCCRSValidator& validator, CLCArgValid_t kind, const std::string& value,
                       long position);

  std::unique_ptr<CLCCRSCsvCRSReport> m_pCsvReport;
  std::unique_ptr<CLCCRSDefinition> m_pDefinition;
  std::string m_strCsvPath;
  std::string m_strOutputPath;
  std::string m_strXmlPath;
  std::string m_strHojinNo;
  std::string m_strGIIN;
  long m_lAccountReportCount = 0;
  std::string m_strNenbun;
};
