#pragma once
#include "csv/CLCCRSRecordData.h"
#include "csv/CLCCRSRecordStore.h"
#include "diagnostics/CLCStatus.h"
#include "diagnostics/CRSMsgTable.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::internal {

class CLCValidResult;
class CLCCRSMessageSpecReportingFI;
class CLCCRSAccountReport;
class CLCCRSControllingPerson;
class CLCCRSPayment;

// A CSV file read whole and split into records of trimmed columns.
class CLCCRSCsvFile {
 public:
  static constexpr long kMaxFileSize = 19922944;  // 19 MiB

  // Problems are recorded in the running operation's collector.
  explicit CLCCRSCsvFile(CLCValidResult& result);
  virtual ~CLCCRSCsvFile();
  CLCCRSCsvFile(const CLCCRSCsvFile&) = delete;
  CLCCRSCsvFile& operator=(const CLCCRSCsvFile&) = delete;

  // Reads the file's bytes (never more than one past the size limit), then
  // goes on as ReadBuffer.
  bool ReadFile(const char* path);
  // A file's bytes held in memory: size limit, tokenising with Shift_JIS
  // decoding and the file-level checks, exactly as for the file.
  bool ReadBuffer(std::string_view bytes);
  long GetRecordCount() const;
  // Column text, or null when row or column is negative or not present.
  const char* GetItem(long row, long column) const {
    const CLCCRSRecordData* record = GetRecord(row);
    return record != nullptr ? record->GetColumnValue(column) : nullptr;
  }
  // The stored record at that index, or null.
  const CLCCRSRecordData* GetRecord(long row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_vecRecords.size()) return nullptr;
    return &m_vecRecords[static_cast<std::size_t>(row)];
  }

  // Tokenises text that is already UTF-8.
  virtual bool Parse(std::string_view text);
  // Tokenises Shift_JIS bytes, decoding column by column, so that the file
  // is never held twice: records as Parse would build from the decoded text.
  virtual bool ParseShiftJis(std::string_view bytes);
  virtual bool ValidateRecord(std::vector<std::string>& columns);
  virtual bool ValidateCsv();
  virtual bool DistributeRecord(long index);
  virtual CLCCRSMessageSpecReportingFI* GetCRSMessageSpecReportingFI();
  virtual CLCCRSAccountReport* GetCRSAccountReport();
  virtual CLCCRSControllingPerson* GetCRSControllingPerson();
  virtual CLCCRSPayment* GetCRSPayment();
  // Column of the stored record at that index of the whole file; null when absent.
  virtual const char* GetColumnValue(long row, long column) const;
  // Physical line of the file where the stored record at that index starts; 0 when absent.
  long GetFileLine(long row) const;
  // Reporting-year check: failed with HE40029E recorded when the year differs.
  virtual CLCStatus NenbunCheck();

 protected:
  CLCValidResult& m_result;
  // Every stored (non-blank) record in file order, owned here.
  CLCCRSRecordStore m_vecRecords;

 private:
  // Size limit, tokenising and the file-level checks; false (recorded) on failure.
  bool Load(std::string_view bytes);
};
}  // namespace quorvex::internal
