#include "rules/CLCCRSValidExistpath.h"

#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"

#include <string_view>

namespace quorvex::internal {

void CLCCRSValidExistpath::SetParam(const char* kind) {
  const std::string_view name(kind != nullptr ? kind : "");
  m_eKind = name == "file" ? Kind::File : name == "dir" ? Kind::Dir : Kind::Unknown;
}

int CLCCRSValidExistpath::_validate(const char* value) const {
  // An unknown kind is a definition error whatever the value, so it is found
  // on the first run and not only once a path is given.
  if (m_eKind == Kind::Unknown) {
    CRS_LOG_UNEXPECTED();
    return 1;
  }
  if (value == nullptr || *value == '\0') return 0;
  if (m_eKind == Kind::Dir) return CLCCRSCommon::PathDirectoryExists(value) ? 0 : CRSMSG_OUTPUT_FOLDER;
  if (!CLCCRSCommon::PathFileExists(value)) return CRSMSG_FILE_MISSING;
  if (!CLCCRSCommon::PathFileIsRead(value)) return CRSMSG_FILE_ACCESS;
  if (CLCCRSCommon::GetFileSize(value) < 1) return CRSMSG_FILE_EMPTY;
  return 0;
}
}  // namespace quorvex::internal
