#include "report/CLCCRSDataDefNormal.h"

#include "csv/CLCCRSCRSReport.h"
#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

#include <cstring>
#include <string_view>

namespace quorvex::internal {

CLCStatus CLCCRSDataDefNormal::AppendAttributes(CLCCRSCRSReport* list, long record, std::string& out,
                                                CLCValidResult& result) const {
  // Only three shapes exist: attr1 alone, attr1 and attr2, all four.
  int count = 0;
  if (!m_strAttr[0].empty()) {
    if (m_strAttr[1].empty() && m_strAttr[2].empty() && m_strAttr[3].empty()) {
      count = 1;
    } else if (!m_strAttr[1].empty() && m_strAttr[2].empty() && m_strAttr[3].empty()) {
      count = 2;
    } else if (!m_strAttr[1].empty() && !m_strAttr[2].empty() && !m_strAttr[3].empty()) {
      count = 4;
    }
  }
  for (int i = 0; i < count; ++i) {
    const char* text = list->GetColumnValue(record, m_lAttrColumn[i]);
    if (text == nullptr) {
      CRS_FATAL(result);
      return CLCStatus::Fatal();
    }
    if (*text == '\0') continue;
    out += ' ';
    out += m_strAttr[i];
    out += "=\"";
    CLCCRSCommon::ConvEntityRefs(text, std::strlen(text), out, true);
    out += '"';
  }
  return CLCStatus::Passed();
}

CLCStatus CLCCRSDataDefNormal::AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                                         CLCValidResult& result) const {
  if (!CanWrite(list, result)) return CLCStatus::Fatal();
  // The element is written in place and taken back when the omission rules
  // say so; the children's text is never copied.
  const std::size_t mark = out.size();
  const std::string& prefix = Prefix();
  const auto takeBack = [&](CLCStatus status) {
    out.resize(mark);
    return status;
  };
  // "<prefix:id" and the attributes.
  auto openTag = [&]() {
    out += '<';
    out += prefix;
    out += ':';
    out += m_strId;
    return m_strAttr[0].empty() ? CLCStatus::Passed() : AppendAttributes(list, record, out, result);
  };
  CLCStatus status = openTag();
  if (!status.IsPassed()) return takeBack(status);
  out += '>';
  const std::size_t valueStart = out.size();
  status = AppendNodeValue(list, record, out, result);
  if (!status.IsPassed()) return takeBack(status);
  const std::size_t childStart = out.size();
  status = AppendChildren(list, record, now, out, result);
  if (!status.IsPassed()) return takeBack(status);
  if (childStart == valueStart && out.size() == childStart) {
    out.resize(mark);
    if (m_strEmptyTag.empty()) return status;
    status = openTag();
    if (!status.IsPassed()) return takeBack(status);
    out += "/>";
    return status;
  }
  if (!m_strRequiredChild.empty() &&
      std::string_view(out).substr(childStart).find(m_strRequiredChild) == std::string_view::npos) {
    return takeBack(status);
  }
  out += "</";
  out += prefix;
  out += ':';
  out += m_strId;
  out += '>';
  return status;
}
}  // namespace quorvex::internal
