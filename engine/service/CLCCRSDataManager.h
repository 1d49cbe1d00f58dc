#pragma once
#include "rules/CLCCRSValidator.h"
#include "CLCErrorDescription.h"
#include "diagnostics/CLCValidResult.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvex::internal {

class CLCCRSCsvCRSReport;
class CLCCRSDefinition;

// Carries one facade operation from its arguments to its outcome: preparation
// (argument checks), loading (CSV file and the shared definition), then the
// check, the conversion or the XML read. Owns the operation's result collector
// and CSV data; the definition is shared read-only with other operations.
class CLCCRSDataManager {
 public:
  static constexpr long kArgumentLine = 99999;
  static constexpr unsigned short kValidateDefine1 = 205;
  static constexpr unsigned short kDataConvDefine1 = 206;
  static constexpr unsigned short kValidateDefine2 = 207;
  static constexpr unsigned short kDataConvDefine2 = 208;

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

  const std::string& GetHojinNo() const { return m_strHojinNo; }
  const std::string& GetGIIN() const { return m_strGIIN; }
  long GetAccountReportCount() const { return m_lAccountReportCount; }
  std::string GetErrorMsg() const;
  // One description per item of GetErrorMsg(), in the same order, while the
  // file read by the operation is still at hand.
  std::vector<CLCErrorDescription> DescribeErrors() const;

 private:
  // Validates one argument with a built-in rule table.
  CLCStatus ValidateArgument(CLCCRSValidator& validator, CLCArgValid_t kind, const std::string& value,
                             long position);
  // Remembers the two arguments' names and values for error descriptions.
  void NameArguments(const char* first, const std::string& firstValue, const char* second,
                     const std::string& secondValue);
  // Column rules record by record, with the account-holder rule, the reporting
  // year and the distribution into kind lists; failed with the last message.
  CLCStatus ValidateRecords();

  CLCValidResult m_result;
  std::unique_ptr<CLCCRSCsvCRSReport> m_pCsvReport;
  const CLCCRSDefinition* m_pDefinition = nullptr;
  unsigned short m_usResource = 0;
  std::string m_strCsvPath;
  std::string m_strOutputPath;
  std::string m_strXmlPath;
  std::string m_strHojinNo;
  std::string m_strGIIN;
  long m_lAccountReportCount = 0;
  std::string m_strNenbun;
  std::string m_strArgumentName[2];
  std::string m_strArgumentValue[2];
};
}  // namespace quorvex::internal
