#include "report/CLCCRSDataDefTimeStamp.h"

#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

namespace quorvex::internal {

namespace {
// One reading of the clock for date and time, so that the two parts cannot
// come from either side of midnight.
constexpr const char* kPattern = "yyyy'-'MM'-'dd'T'HH':'mm':'ss";
constexpr const char* kPatternMillisec = "yyyy'-'MM'-'dd'T'HH':'mm':'ss'.'SSS";
}  // namespace

void CLCCRSDataDefTimeStamp::AppendNode(CLCCRSCRSReport* list, long record, bool* success, std::string& out,
                                       CLCValidResult& result) const {
  if (!CanWrite(list, success, result)) return;
  const std::size_t mark = out.size();
  const std::string now = CLCCRSCommon::Now(m_bMillisec ? kPatternMillisec : kPattern, nullptr);
  if (now.empty()) {
    // A message without its timestamp is not a valid document.
    CRS_FATAL(result);
    *success = false;
    return;
  }
  out += "<crs:";
  out += m_strId;
  out += '>';
  out += now;
  if (!AppendChildren(list, record, success, out, result)) {
    out.resize(mark);
    return;
  }
  out += "</crs:";
  out += m_strId;
  out += '>';
}
}  // namespace quorvex::internal
