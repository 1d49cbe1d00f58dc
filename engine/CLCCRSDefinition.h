#pragma once
#include <memory>
#include <string>
#include <vector>

class CLCCRSCsvFile;
class CLCCRSCsvCRSReport;
class CLCCRSDataDefReport;

// One loaded definition document: report nodes with their item nodes, either a
// flat validation list (205, 207) or the output tree of a conversion (206, 208).
class CLCCRSDefinition {
 public:
  CLCCRSDefinition();
  virtual ~CLCCRSDefinition();

  bool CreateDefinition(const char* rootName, unsigned short resource, CLCCRSCsvCRSReport* report,
                        bool validationMode);
  // The same load from a document's text (Shift_JIS bytes, NUL-terminated by
  // the string) instead of the document compiled in under the resource number.
  bool CreateDefinitionFromText(const char* rootName, unsigned short resource, const std::string& document,
                                CLCCRSCsvCRSReport* report, bool validationMode);
  // Validation mode: column rules over every record, distributing those that pass.
  // 0 no error, 1 fatal, else the last message recorded.
  int ValidateCsv(CLCCRSCsvFile* file);
  // 0, 18 or 19 (recorded), 1 fatal.
  int AccountReportExclusiveCheck(CLCCRSCsvFile* file, long record);
  // Conversion mode: distributes the records and writes the CRS XML document.
  std::string MakeReportData(CLCCRSCsvFile* file, bool* success);

  const std::vector<std::unique_ptr<CLCCRSDataDefReport>>& GetReports() const { return m_vecReports; }
  const std::string& GetRootNode() const { return m_strRootNode; }
  long GetAttrValueColumn1() const { return m_lAttrValueColumn1; }
  unsigned short GetResource() const { return m_usResource; }

  // A conversion definition addresses its reports by these positions.
  static constexpr std::size_t kConversionReportCount = 6;

 private:
  // Parses the document (a file path, or the document's text) and builds the nodes.
  bool Load(const char* rootName, unsigned short resource, const std::string& document, bool isPath,
            CLCCRSCsvCRSReport* report, bool validationMode);

  std::vector<std::unique_ptr<CLCCRSDataDefReport>> m_vecReports;
  std::string m_strReportId;
  std::string m_strReportVR;
  std::string m_strRootNode;
  std::string m_strDumyFlg;
  std::string m_strAttr1;
  std::string m_strAttrValueRec1;
  long m_lAttrValueColumn1 = -1;
  unsigned short m_usResource = 0;
};
