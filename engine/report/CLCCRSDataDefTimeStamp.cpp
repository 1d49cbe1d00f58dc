#include "report/CLCCRSDataDefTimeStamp.h"

#include "CLCLocalTime.h"
#include "diagnostics/CLCValidResult.h"
#include "text/CLCDateText.h"
#include "text/CLCPortable.h"

namespace quorvex::internal {

namespace {
constexpr const char* kPattern = "yyyy'-'MM'-'dd'T'HH':'mm':'ss";
constexpr const char* kPatternMillisec = "yyyy'-'MM'-'dd'T'HH':'mm':'ss'.'SSS";

// Only a date and time that exist are written: a clock that could not be read
// (all fields 0) or a caller's clock gone wrong gives none.
bool Exists(const CLCLocalTime& time) {
  if (time.millisecond < 0 || time.millisecond > 999) return false;
  return CLCDateText().parse(CLCPortable::formatTime("yyyy'/'MM'/'dd' 'HH':'mm':'ss", time).c_str());
}
}  // namespace

CLCStatus CLCCRSDataDefTimeStamp::AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now,
                                             std::string& out, CLCValidResult& result) const {
  if (!CanWrite(list, result)) return CLCStatus::Fatal();
  if (!Exists(now)) {
    // A message without its timestamp is not a valid document.
    CRS_FATAL(result);
    return CLCStatus::Fatal();
  }
  const std::size_t mark = out.size();
  out += m_strStartTag;
  out += '>';
  out += CLCPortable::formatTime(m_bMillisec ? kPatternMillisec : kPattern, now);
  const CLCStatus status = AppendChildren(list, record, now, out, result);
  if (!status.IsPassed()) {
    out.resize(mark);
    return status;
  }
  out += m_strEndTag;
  return status;
}
}  // namespace quorvex::internal
