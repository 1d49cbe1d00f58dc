#include "report/CLCCRSDataDefSplit.h"

#include "diagnostics/CLCValidResult.h"

#include <new>
#include <string_view>

namespace quorvex::internal {

CLCStatus CLCCRSDataDefSplit::AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                                        CLCValidResult& result) const {
  if (!CanWrite(list, result)) return CLCStatus::Fatal();
  // The children's text is repeated in every piece, so it is built once.
  std::string children;
  CLCStatus status = AppendChildren(list, record, now, children, result);
  if (!status.IsPassed()) return status;
  std::string value;
  status = AppendNodeValue(list, record, value, result);
  if (!status.IsPassed()) return status;
  // Escaping never makes or removes a slash, so the escaped value is cut.
  const std::string_view whole(value);
  std::size_t start = 0;
  while (start <= whole.size()) {
    std::size_t end = whole.find('/', start);
    if (end == std::string_view::npos) end = whole.size();
    if (end > start) {
      out += m_strStartTag;
      out += '>';
      out += whole.substr(start, end - start);
      out += children;
      out += m_strEndTag;
    }
    start = end + 1;
  }
  return status;
}
}  // namespace quorvex::internal
