#include "report/CLCCRSDataDefSplit.h"

#include "diagnostics/CLCValidResult.h"

#include <new>
#include <string_view>

namespace quorvex::internal {

void CLCCRSDataDefSplit::AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, bool* success,
                                    std::string& out, CLCValidResult& result) const {
  if (!CanWrite(list, success, result)) return;
  // The children's text is repeated in every piece, so it is built once.
  std::string children;
  if (!AppendChildren(list, record, now, success, children, result)) return;
  std::string value;
  if (!AppendNodeValue(list, record, success, value, result)) return;
  // Escaping never makes or removes a slash, so the escaped value is cut.
  const std::string_view whole(value);
  std::size_t start = 0;
  while (start <= whole.size()) {
    std::size_t end = whole.find('/', start);
    if (end == std::string_view::npos) end = whole.size();
    if (end > start) {
      out += "<crs:";
      out += m_strId;
      out += '>';
      out += whole.substr(start, end - start);
      out += children;
      out += "</crs:";
      out += m_strId;
      out += '>';
    }
    start = end + 1;
  }
}
}  // namespace quorvex::internal
