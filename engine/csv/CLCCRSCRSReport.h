#pragma once
#include <vector>

namespace quorvex::internal {

class CLCCRSRecordData;

// Ordered list of the records of one kind; it points at records owned by the
// CSV report.
class CLCCRSCRSReport {
 public:
  virtual ~CLCCRSCRSReport() = default;
  virtual void AddRecord(CLCCRSRecordData* record);
  virtual long GetRecordCount() const;
  // 0-based column of the record at that 0-based position; null when absent.
  virtual const char* GetColumnValue(long record, long column) const;
  virtual long GetLineNo(long record) const;

 protected:
  std::vector<CLCCRSRecordData*> m_vecRecords;
};

// Kind "1": message header and reporting financial institution.
class CLCCRSMessageSpecReportingFI : public CLCCRSCRSReport {};
// Kind "2": account report.
class CLCCRSAccountReport : public CLCCRSCRSReport {};
// Kind "3": controlling person of an account.
class CLCCRSControllingPerson : public CLCCRSCRSReport {};
// Kind "4": payment on an account.
class CLCCRSPayment : public CLCCRSCRSReport {};
}  // namespace quorvex::internal
