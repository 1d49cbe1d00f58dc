#include "csv/CLCCRSCRSReport.h"

#include "csv/CLCCRSRecordData.h"
#include "diagnostics/CLCValidResult.h"

namespace quorvex::internal {

void CLCCRSCRSReport::AddRecord(CLCCRSRecordData* record) { m_vecRecords.push_back(record); }

long CLCCRSCRSReport::GetRecordCount() const { return static_cast<long>(m_vecRecords.size()); }

// Positions are tested: a wrong index from a caller gives null instead of a wild read.
const char* CLCCRSCRSReport::GetColumnValue(long record, long column) const {
  if (record < 0 || static_cast<std::size_t>(record) >= m_vecRecords.size()) return nullptr;
  const CLCCRSRecordData* data = m_vecRecords[static_cast<std::size_t>(record)];
  return data != nullptr ? data->GetColumnValue(column) : nullptr;
}

long CLCCRSCRSReport::GetLineNo(long record) const {
  if (record < 0 || static_cast<std::size_t>(record) >= m_vecRecords.size()) return 0;
  const CLCCRSRecordData* data = m_vecRecords[static_cast<std::size_t>(record)];
  return data != nullptr ? data->GetLineNo() : 0;
}
}  // namespace quorvex::internal
