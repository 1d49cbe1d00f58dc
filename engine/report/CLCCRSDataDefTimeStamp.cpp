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

CLCStatus CLCCRSDataDefTimeStamp::AppendNode(CLCCRSCRSReport* list, long record, std::string& out,
                                            CLCValidResult& result) const {
  if (!CanWrite(list, result)) return CLCStatus::Fatal();
  const std::size_t mark = out.size();
  const std::string now = CLCCRSCommon::Now(m_bMillisec ? kPatternMillisec : kPattern, nullptr);
  if (now.empty()) {
    // A message without its timestamp is not a valid document.
    CRS_FATAL(result);
    return CLCStatus::Fatal();
  }
  out += "<crs:";
  out += m_strId;
  out += '>';
  out += now;
  const CLCStatus status = AppendChildren(list, record, out, result);
  if (!status.IsPassed()) {
    out.resize(mark);
    return status;
  }
  out += "</crs:";
  out += m_strId;
  out += '>';
  return status;
}
}  // namespace quorvex::internal
