#include "report/CLCCRSDataDefNormal.h"

#include "csv/CLCCRSCRSReport.h"
#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

#include <cstring>
#include <string_view>

namespace quorvex::internal {

bool CLCCRSDataDefNormal::AppendAttributes(CLCCRSCRSReport* list, long record, bool* success,
                                           std::string& out, CLCValidResult& result) const {
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
      *success = false;
      return false;
    }
    if (*text == '\0') continue;
    out += ' ';
    out += m_strAttr[i];
    out += "=\"";
    CLCCRSCommon::ConvEntityRefs(text, std::strlen(text), out, true);
    out += '"';
  }
  return true;
}

void CLCCRSDataDefNormal::AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, bool* success,
                                     std::string& out, CLCValidResult& result) const {
  if (!CanWrite(list, success, result)) return;
  // The element is written in place and taken back when the omission rules
  // say so; the children's text is never copied.
  const std::size_t mark = out.size();
  const std::string& prefix = Prefix();
  // "<prefix:id" and the attributes; false when an attribute value failed.
  auto openTag = [&]() {
    out += '<';
    out += prefix;
    out += ':';
    out += m_strId;
    return m_strAttr[0].empty() || AppendAttributes(list, record, success, out, result);
  };
  if (!openTag()) {
    out.resize(mark);
    return;
  }
  out += '>';
  const std::size_t valueStart = out.size();
  if (!AppendNodeValue(list, record, success, out, result)) {
    out.resize(mark);
    return;
  }
  const std::size_t childStart = out.size();
  if (!AppendChildren(list, record, now, success, out, result)) {
    out.resize(mark);
    return;
  }
  if (childStart == valueStart && out.size() == childStart) {
    out.resize(mark);
    if (m_strEmptyTag.empty()) return;
    if (!openTag()) {
      out.resize(mark);
      return;
    }
    out += "/>";
    return;
  }
  if (!m_strRequiredChild.empty() &&
      std::string_view(out).substr(childStart).find(m_strRequiredChild) == std::string_view::npos) {
    out.resize(mark);
    return;
  }
  out += "</";
  out += prefix;
  out += ':';
  out += m_strId;
  out += '>';
}
}  // namespace quorvex::internal
