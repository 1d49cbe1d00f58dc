#include "rules/CLCCRSValidExtension.h"

#include "diagnostics/CLCValidResult.h"

namespace quorvex::internal {

void CLCCRSValidExtension::SetParam(const char* list) {
  m_strList = list != nullptr ? list : "";
  m_vecItems = SplitAtSpaces(m_strList);
  SetParamProblem(m_vecItems.empty()
                      ? DescribeParam("extension", "value", m_strList) + ": the list holds no extension"
                      : std::string());
}

CLCStatus CLCCRSValidExtension::_validate(const char* value) const {
  if (HasParamProblem()) {
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  const CLCStatus wrong = CLCStatus::Failed(CRSMSG_EXTENSION);
  if (value == nullptr) return wrong;
  const std::string_view path(value);
  // Only the file name counts: a full stop in a folder name is no extension.
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return wrong;
  return CLCStatus::FailedUnless(ListContains(m_vecItems, name.substr(dot)), CRSMSG_EXTENSION);
}
}  // namespace quorvex::internal
