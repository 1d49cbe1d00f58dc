#include "report/CLCCRSDataDefReport.h"

#include "csv/CLCCRSCRSReport.h"
#include "diagnostics/CLCValidResult.h"

namespace quorvex::internal {

bool CLCCRSDataDefReport::Initialize(const std::string& reportId, const std::string& reportVR, long,
                                     const std::string& dumyFlg) {
  m_strId = reportId;
  m_strReportVR = reportVR;
  m_strDumyFlg = dumyFlg;
  MakeTags();
  return true;
}

CLCStatus CLCCRSDataDefReport::AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                                         CLCValidResult& result) const {
  if (!CanWrite(list, result)) return CLCStatus::Fatal();
  const std::size_t mark = out.size();
  const bool wrapped = m_strDumyFlg.empty();
  if (wrapped) {
    out += m_strStartTag;
    out += '>';
  }
  const std::size_t itemsStart = out.size();
  const CLCStatus status = AppendChildren(list, record, now, out, result);
  if (!status.IsPassed() || out.size() == itemsStart) {
    out.resize(mark);
    return status;
  }
  if (wrapped) out += m_strEndTag;
  return status;
}

CLCStatus CLCCRSDataDefReport::AppendAll(CLCCRSCRSReport* list, const CLCLocalTime& now, std::string& out,
                                         CLCValidResult& result) const {
  if (!CanWrite(list, result)) return CLCStatus::Fatal();
  const std::size_t mark = out.size();
  const long count = list->GetRecordCount();
  for (long record = 0; record < count; ++record) {
    const CLCStatus status = AppendNode(list, record, now, out, result);
    if (!status.IsPassed()) {
      out.resize(mark);
      return status;
    }
  }
  return CLCStatus::Passed();
}

CLCStatus CLCCRSDataDefReport::WriteNode(CLCCRSCRSReport* list, const CLCLocalTime& now, std::string& text,
                                         CLCValidResult& result) const {
  text.clear();
  return AppendAll(list, now, text, result);
}

CLCStatus CLCCRSDataDefReport::WriteNode(CLCCRSCRSReport* list, std::int32_t record, const CLCLocalTime& now,
                                         std::string& text, CLCValidResult& result) const {
  text.clear();
  return AppendNode(list, record, now, text, result);
}
}  // namespace quorvex::internal
