#pragma once
#include "csv/CLCCRSRecordData.h"
#include "rules/CLCCRSValidItem.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvex::internal {

class CLCXDom;

// The four built-in argument rule tables.
enum CLCArgValid_t {
  ARGVALID_CSV_PATH = 1,
  ARGVALID_OUTPUT_PATH = 2,
  ARGVALID_XML_PATH = 3,
  ARGVALID_NENBUN = 4,
};

// Ordered rule list of one definition item or one caller argument; the first
// rule that reports ends the list.
class CLCCRSValidator {
 public:
  CLCCRSValidator() = default;
  virtual ~CLCCRSValidator() = default;

  void Clear() {
    m_vecItems.clear();
    m_lSkipColumn = -1;
    m_bPassesWhileEmpty = false;
    m_bPassesWhileAbsent = false;
  }
  bool Initialize(CLCArgValid_t kind, CLCValidResult& result);
  // Reads the `valid` children of the `item` element under the cursor.
  bool Initialize(long column, CLCXDom* dom, CLCValidResult& result);
  // Reads the `outer` children of the `valid` element under the cursor.
  bool SetUpOuter(CLCXDom* dom, CLCCRSValidItem* item, CLCValidResult& result);

  CLCStatus Validate(const char* value, long line, long column, CLCValidResult& result) const;
  CLCStatus ValidateCsv(const CLCCRSCsvFile& file, long record, long column, CLCValidResult& result) const;
  // True when every rule passes the record without a test: the item's column
  // is empty there and each rule needs it filled or accepts it empty, or the
  // record is too short to have it and each rule reads that column alone.
  // Most columns of a record are empty, so this is asked first.
  bool SkipsRecord(const CLCCRSRecordData& record) const {
    if (m_lSkipColumn < 0) return false;
    if (m_lSkipColumn >= record.GetColumnCount()) return m_bPassesWhileAbsent;
    return m_bPassesWhileEmpty && !record.IsFilled(m_lSkipColumn);
  }

  std::size_t GetItemCount() const { return m_vecItems.size(); }
  // The first rule, in list order, whose parameters or whose preconditions'
  // parameters are wrong, with what is wrong ("rule 2: ...", "rule 2,
  // precondition 1: ..."); empty when every parameter is fine.
  std::string ParamProblem() const;

 private:
  std::vector<std::unique_ptr<CLCCRSValidItem>> m_vecItems;
  // The item's column, when SkipsRecord can answer for it: most columns of a
  // record are empty, and then none of their rules has to run.
  long m_lSkipColumn = -1;
  bool m_bPassesWhileEmpty = false;
  bool m_bPassesWhileAbsent = false;
};
}  // namespace quorvex::internal
