#include "rules/CLCCRSValidExistpath.h"

#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

#include <string>
#include <string_view>

namespace quorvex::internal {

void CLCCRSValidExistpath::SetParam(const char* kind) {
  const std::string_view name(kind != nullptr ? kind : "");
  m_eKind = name == "file" ? Kind::File : name == "dir" ? Kind::Dir : Kind::Unknown;
  SetParamProblem(m_eKind != Kind::Unknown
                      ? std::string()
                      : DescribeParam("existPath", "value", name) + ": neither \"file\" nor \"dir\"");
}

CLCStatus CLCCRSValidExistpath::_validate(const char* value) const {
  // An unknown kind is a definition error whatever the value, so it is found
  // on the first run and not only once a path is given.
  if (HasParamProblem()) {
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  if (value == nullptr || *value == '\0') return CLCStatus::Passed();
  if (m_eKind == Kind::Dir) {
    return CLCStatus::FailedUnless(CLCCRSCommon::PathDirectoryExists(value), CRSMSG_OUTPUT_FOLDER);
  }
  if (!CLCCRSCommon::PathFileExists(value)) return CLCStatus::Failed(CRSMSG_FILE_MISSING);
  if (!CLCCRSCommon::PathFileIsRead(value)) return CLCStatus::Failed(CRSMSG_FILE_ACCESS);
  return CLCStatus::FailedUnless(CLCCRSCommon::GetFileSize(value) >= 1, CRSMSG_FILE_EMPTY);
}
}  // namespace quorvex::internal
