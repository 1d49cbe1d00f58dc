#pragma once
#include "rules/CLCCRSValidator.h"
#include "CLCErrorDescription.h"
#include "diagnostics/CLCValidResult.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct CLCLocalTime;

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

  // Conversion flow; `now` is the time the document is stamped with. The gate
  // sees the finished document first: when it refuses, nothing is written.
  using OutputGate = std::function<bool(const std::string& xml)>;
  bool InitForMake(const char* csvPath, const char* outputPath);
  bool MakeData(std::string& output, const CLCLocalTime& now, const OutputGate& gate = {});
  bool OutputFileConvData(const char* outputPath, const std::string& xml);

  // The check and the conversion on a file's bytes held in memory: the bytes
  // stand in for the CSV path (argument 1); a check of schema 2 takes the
  // reporting year as argument 2, schema 1 ignores it. A schema other than 1
  // or 2 is an argument error at column 0; a null pointer with a size is no
  // value (HE40001E), an empty buffer an empty file (HE40005E). Then
  // LoadCsvBufferWithDefinition, and ValidateCsv or MakeData as for a file.
  bool InitForCheckBuffer(int schema, const char* data, std::size_t size, const char* nenbun);
  bool InitForMakeBuffer(int schema, const char* data, std::size_t size);
  bool LoadCsvBufferWithDefinition(std::string_view bytes, const char* rootName, unsigned short resource,
                                   bool validationMode);

  // XML read flow.
  bool InitForXml(const char* xmlPath, long limitSize);
  bool InitForXmlBuffer(const char* data, std::size_t size, long limitSize);
  bool ReadXMLFile(long limitSize, std::string& output);
  // The same tests on the bytes of an XML file held in memory.
  bool ReadXMLBuffer(std::string text, long limitSize, std::string& output);

  const std::string& GetHojinNo() const { return m_strHojinNo; }
  const std::string& GetGIIN() const { return m_strGIIN; }
  long GetAccountReportCount() const { return m_lAccountReportCount; }
  std::string GetErrorMsg() const;
  // One description per item of GetErrorMsg(), in the same order, while the
  // file read by the operation is still at hand.
  std::vector<CLCErrorDescription> DescribeErrors() const;

  // The check's record loop: column rules record by record, with the
  // account-holder rule, the reporting year on the header when asked and the
  // distribution into kind lists; failed with the last message.
  static CLCStatus ValidateRecords(const CLCCRSDefinition& definition, CLCCRSCsvCRSReport& file, bool reportingYear,
                             CLCValidResult& result);

 private:
  // Validates one argument with a built-in rule table.
  CLCStatus ValidateArgument(CLCCRSValidator& validator, CLCArgValid_t kind, const std::string& value,
                       long position);
  // Remembers an argument's name and value (null: none to show) for error
  // descriptions, by its column: 1 and 2, or 0 for the schema of a buffer call.
  void NameArgument(long column, const char* name, const std::string* value);
  // Trims, names and validates the reporting year as argument 2; its status.
  CLCStatus ValidateNenbun(CLCCRSValidator& validator, const char* nenbun);
  // Argument 1 of a buffer call: the bytes are there and not empty.
  bool CheckBufferArgument(const char* data, std::size_t size);
  bool CheckLimitArgument(long limitSize);
  // The schema of a buffer call, 1 or 2.
  bool CheckSchemaArgument(int schema);
  // The shared loading step: the CSV path's file, or the bytes when given.
  bool Load(const std::string_view* bytes, const char* rootName, unsigned short resource, bool validationMode);

  CLCValidResult m_result;
  std::unique_ptr<CLCCRSCsvCRSReport> m_pCsvReport;
  const CLCCRSDefinition* m_pDefinition = nullptr;
  unsigned short m_usResource = 0;
  std::string m_strCsvPath;
  std::string m_strOutputPath;
  // The system's reason (an errno value) when the output file could not be written; 0 when none.
  int m_iWriteError = 0;
  std::string m_strXmlPath;
  std::string m_strHojinNo;
  std::string m_strGIIN;
  long m_lAccountReportCount = 0;
  std::string m_strNenbun;
  struct Argument {
    std::string name;
    std::string value;
    bool hasValue = false;
  };
  Argument m_arguments[3];
};
}  // namespace quorvex::internal
