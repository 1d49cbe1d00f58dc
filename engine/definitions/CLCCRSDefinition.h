#pragma once
#include "CLCLocalTime.h"
#include "diagnostics/CLCStatus.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvex::internal {

class CLCCRSCsvFile;
class CLCCRSCsvCRSReport;
class CLCCRSDataDefReport;
class CLCValidResult;

// One loaded definition document: report nodes with their item nodes, either a
// flat validation list (205, 207) or the output tree of a conversion (206, 208).
// Once loaded it is only read, so any number of operations may use it at once.
class CLCCRSDefinition {
 public:
  CLCCRSDefinition();
  virtual ~CLCCRSDefinition();
  CLCCRSDefinition(const CLCCRSDefinition&) = delete;
  CLCCRSDefinition& operator=(const CLCCRSDefinition&) = delete;

  // The document under the resource number, loaded on first use by whichever
  // thread asks first and shared by the whole process; null when it could not
  // be loaded (a fatal error of every operation that needs it). A failed load
  // is tried again by the next call.
  static const CLCCRSDefinition* Shared(unsigned short resource);
  // Why the last load of the shared document failed; empty when it has loaded.
  static std::string SharedLoadProblem(unsigned short resource);

  bool CreateDefinition(const char* rootName, unsigned short resource, bool validationMode,
                        CLCValidResult& result);
  // The same load from a document's text (Shift_JIS bytes, NUL-terminated by
  // the string) instead of the document found under the resource number.
  bool CreateDefinitionFromText(const char* rootName, unsigned short resource, const std::string& document,
                                bool validationMode, CLCValidResult& result);

  // Why the last load of this object failed: which report, item and rule, and
  // what is wrong; empty after a load that succeeded. Also in the debug log.
  const std::string& GetLoadProblem() const { return m_strLoadProblem; }

  // Validation mode: the column rules of the report node of the record's kind;
  // failed with the last message recorded.
  CLCStatus ValidateRecord(const CLCCRSCsvFile& file, long record, CLCValidResult& result) const;
  // Conversion mode: writes the CRS XML document of a file whose records have
  // been distributed into their kind lists, in place of `out`; empty on failure.
  CLCStatus MakeReportData(CLCCRSCsvCRSReport& file, const CLCLocalTime& now, std::string& out,
                           CLCValidResult& result) const;
  // Validation mode: name of the item checking the 0-based column of records
  // of kind 1 to 4; null when no item does.
  const std::string* ItemName(int kind, long column) const;

  const std::vector<std::unique_ptr<CLCCRSDataDefReport>>& GetReports() const { return m_vecReports; }
  const std::string& GetRootNode() const { return m_strRootNode; }
  long GetAttrValueColumn1() const { return m_lAttrValueColumn1; }

  // Largest generated document, in bytes of UTF-8 (19 MiB).
  static constexpr std::size_t kMaxOutputSize = 19922944;
  // A conversion definition addresses its reports by these positions.
  static constexpr std::size_t kConversionReportCount = 6;

 private:
  // Parses the document's text and builds the nodes.
  bool Load(const char* rootName, unsigned short resource, const std::string& document, bool validationMode,
            CLCValidResult& result);
  // Fails the load: keeps the reason, logs it and records the fatal error.
  bool Refuse(unsigned short resource, const std::string& reason, CLCValidResult& result);

  std::vector<std::unique_ptr<CLCCRSDataDefReport>> m_vecReports;
  std::string m_strReportId;
  std::string m_strReportVR;
  std::string m_strRootNode;
  std::string m_strDumyFlg;
  std::string m_strAttr1;
  std::string m_strAttrValueRec1;
  long m_lAttrValueColumn1 = -1;
  unsigned short m_usResource = 0;
  std::string m_strLoadProblem;
};
}  // namespace quorvex::internal
