#include "report/CLCCRSDataDefReport.h"

#include "csv/CLCCRSCRSReport.h"
#include "diagnostics/CLCValidResult.h"

namespace quorvex::internal {

bool CLCCRSDataDefReport::Initialize(const std::string& reportId, const std::string& reportVR, long,
                                     const std::string& dumyFlg) {
  m_strId = reportId;
  m_strReportVR = reportVR;
  m_strDumyFlg = dumyFlg;
  return true;
}

void CLCCRSDataDefReport::AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, bool* success,
                                     std::string& out, CLCValidResult& result) const {
  if (!CanWrite(list, success, result)) return;
  const std::size_t mark = out.size();
  const bool wrapped = m_strDumyFlg.empty();
  if (wrapped) {
    out += "<crs:";
    out += m_strId;
    out += '>';
  }
  const std::size_t itemsStart = out.size();
  if (!AppendChildren(list, record, now, success, out, result)) {
    out.resize(mark);
    return;
  }
  if (out.size() == itemsStart) {
    out.resize(mark);
    return;
  }
  if (wrapped) {
    out += "</crs:";
    out += m_strId;
    out += '>';
  }
}

void CLCCRSDataDefReport::AppendAll(CLCCRSCRSReport* list, const CLCLocalTime& now, bool* success, std::string& out,
                                    CLCValidResult& result) const {
  if (!CanWrite(list, success, result)) return;
  const std::size_t mark = out.size();
  const long count = list->GetRecordCount();
  for (long record = 0; record < count; ++record) {
    AppendNode(list, record, now, success, out, result);
    if (!*success) {
      out.resize(mark);
      return;
    }
  }
}

std::string CLCCRSDataDefReport::WriteNode(CLCCRSCRSReport* list, const CLCLocalTime& now, bool* success,
                                           CLCValidResult& result) const {
  std::string out;
  AppendAll(list, now, success, out, result);
  return out;
}

std::string CLCCRSDataDefReport::WriteNode(CLCCRSCRSReport* list, std::int32_t record, const CLCLocalTime& now,
                                           bool* success, CLCValidResult& result) const {
  std::string out;
  AppendNode(list, record, now, success, out, result);
  return out;
}
}  // namespace quorvex::internal
