#include "CLCCRSDataDefReport.h"

#include "CLCCRSCRSReport.h"
#include "CLCValidResult.h"

namespace {
constexpr const char* kFunction = "CLCCRSDataDefReport::WriteNode";
}

bool CLCCRSDataDefReport::Initialize(const std::string& reportId, const std::string& reportVR, long,
                                     const std::string& dumyFlg) {
  m_strId = reportId;
  m_strReportVR = reportVR;
  m_strDumyFlg = dumyFlg;
  return true;
}

void CLCCRSDataDefReport::AppendNode(CLCCRSCRSReport* list, long record, bool* success, std::string& out) {
  if (!CanWrite(list, success, kFunction)) return;
  const std::size_t mark = out.size();
  try {
    const bool wrapped = m_strDumyFlg.empty();
    if (wrapped) {
      out += "<crs:";
      out += m_strId;
      out += '>';
    }
    const std::size_t itemsStart = out.size();
    if (!AppendChildren(list, record, success, out)) {
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
  } catch (...) {
    out.resize(mark);
    CRS_FATAL(kFunction);
    *success = false;
  }
}

void CLCCRSDataDefReport::AppendAll(CLCCRSCRSReport* list, bool* success, std::string& out) {
  if (!CanWrite(list, success, kFunction)) return;
  const std::size_t mark = out.size();
  try {
    const long count = list->GetRecordCount();
    for (long record = 0; record < count; ++record) {
      AppendNode(list, record, success, out);
      if (!*success) {
        out.resize(mark);
        return;
      }
    }
  } catch (...) {
    out.resize(mark);
    CRS_FATAL(kFunction);
    *success = false;
  }
}

std::string CLCCRSDataDefReport::WriteNode(CLCCRSCRSReport* list, bool* success) {
  std::string out;
  AppendAll(list, success, out);
  return out;
}

std::string CLCCRSDataDefReport::WriteNode(CLCCRSCRSReport* list, std::int32_t record, bool* success) {
  std::string out;
  AppendNode(list, record, success, out);
  return out;
}
