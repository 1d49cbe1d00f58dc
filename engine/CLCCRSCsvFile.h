#pragma once
#include "CRSMsgTable.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CLCCRSRecordData;
class CLCCRSMessageSpecReportingFI;
class CLCCRSAccountReport;
class CLCCRSControllingPerson;
class CLCCRSPayment;

// A CSV file read whole and split into records of trimmed columns.
class CLCCRSCsvFile {
 public:
  static constexpr long kMaxFileSize = 19922944;  // 19 MiB

  CLCCRSCsvFile();
  virtual ~CLCCRSCsvFile();

  // Reads, decodes and tokenises the file and runs the file-level checks.
  bool ReadFile(const char* path);
  long GetRecordCount() const;
  // Column text, or null when row or column is negative or not present.
  const char* GetItem(long row, long column) const;

  virtual bool Parse(std::string_view text);
  virtual bool ValidateRecord(std::vector<std::string>& columns);
  virtual bool ValidateCsv();
  virtual bool DistributeRecord(long index);
  virtual int ValidOverlapColumn(long column, CLCCRSMessage_t message);
  virtual CLCCRSMessageSpecReportingFI* GetCRSMessageSpecReportingFI();
  virtual CLCCRSAccountReport* GetCRSAccountReport();
  virtual CLCCRSControllingPerson* GetCRSControllingPerson();
  virtual CLCCRSPayment* GetCRSPayment();
  // Column of the stored record at that index of the whole file; null when absent.
  virtual const char* GetColumnValue(long row, long column);
  // Reporting-year check: 0 passed, 1 fatal, 30 recorded.
  virtual int NenbunCheck();

 protected:
  // Every stored (non-blank) record in file order, owned here.
  std::vector<std::unique_ptr<CLCCRSRecordData>> m_vecRecords;
};
