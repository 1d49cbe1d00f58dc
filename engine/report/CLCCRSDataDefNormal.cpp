#include "report/CLCCRSDataDefNormal.h"

#include "csv/CLCCRSCRSReport.h"
#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

#include <string_view>

namespace quorvex::internal {

CLCStatus CLCCRSDataDefNormal::AppendStartTag(CLCCRSCRSReport* list, long record, std::string& out,
                                              CLCValidResult& result) const {
  out += m_strStartTag;
  for (int i = 0; i < m_iAttrCount; ++i) {
    const char* text = list->GetColumnValue(record, m_lAttrColumn[i]);
    if (text == nullptr) {
      CRS_FATAL(result);
      return CLCStatus::Fatal();
    }
    if (*text == '\0') continue;
    out += m_strAttrOpen[i];
    CLCCRSCommon::ConvEntityRefs(text, out, true);
    out += '"';
  }
  return CLCStatus::Passed();
}

CLCStatus CLCCRSDataDefNormal::AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                                         CLCValidResult& result) const {
  if (!CanWrite(list, result)) return CLCStatus::Fatal();
  // A group whose required child cannot come is passed over whole.
  if (LacksRequiredChild(list, record)) return CLCStatus::Passed();
  const char* text = nullptr;
  if (!NodeText(list, record, text, result)) return CLCStatus::Fatal();
  // Most items of a record are empty leaves: they are passed over without
  // writing and taking back any markup, once their columns are known to exist.
  if (*text == '\0' && m_vecChildren.empty() && m_strEmptyTag.empty()) {
    if (m_lLastAttrColumn >= 0 && list->GetColumnValue(record, m_lLastAttrColumn) == nullptr) {
      CRS_FATAL(result);
      return CLCStatus::Fatal();
    }
    return CLCStatus::Passed();
  }
  // The element is written in place and taken back when the omission rules
  // say so; the children's text is never copied.
  const std::size_t mark = out.size();
  const auto takeBack = [&](CLCStatus status) {
    out.resize(mark);
    return status;
  };
  CLCStatus status = AppendStartTag(list, record, out, result);
  if (!status.IsPassed()) return takeBack(status);
  out += '>';
  const std::size_t valueStart = out.size();
  AppendText(text, out);
  const std::size_t childStart = out.size();
  status = AppendChildren(list, record, now, out, result);
  if (!status.IsPassed()) return takeBack(status);
  if (childStart == valueStart && out.size() == childStart) {
    out.resize(mark);
    if (m_strEmptyTag.empty()) return status;
    status = AppendStartTag(list, record, out, result);
    if (!status.IsPassed()) return takeBack(status);
    out += "/>";
    return status;
  }
  if (!m_strRequiredChild.empty() &&
      std::string_view(out).substr(childStart).find(m_strRequiredChild) == std::string_view::npos) {
    return takeBack(status);
  }
  out += m_strEndTag;
  return status;
}
}  // namespace quorvex::internal
