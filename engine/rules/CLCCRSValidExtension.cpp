#include "rules/CLCCRSValidExtension.h"

#include "diagnostics/CLCValidResult.h"

namespace quorvex::internal {

void CLCCRSValidExtension::SetParam(const char* list) {
  m_strList = list != nullptr ? list : "";
  m_vecItems = SplitAtSpaces(m_strList);
}

int CLCCRSValidExtension::_validate(const char* value) const {
  if (m_strList.empty()) {
    CRS_LOG_UNEXPECTED();
    return 1;
  }
  if (value == nullptr) return CRSMSG_EXTENSION;
  const std::string_view path(value);
  // Only the file name counts: a full stop in a folder name is no extension.
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return CRSMSG_EXTENSION;
  return ListContains(m_vecItems, name.substr(dot)) ? 0 : CRSMSG_EXTENSION;
}
}  // namespace quorvex::internal
