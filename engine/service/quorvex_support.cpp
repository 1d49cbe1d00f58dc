// The C interface's services beside the five operations: what a host needs to
// treat its arguments and outputs as the engine does.
#include "quorvex.h"

#include "CLCCRSCommon.h"

#include <string>

using namespace quorvex::internal;

extern "C" {

int quorvex_is_blank(const char* text) noexcept {
  if (text == nullptr) return 1;
  try {
    return CLCCRSCommon::StringTrim(text).empty() ? 1 : 0;
  } catch (...) {
    // Only memory can run short here; the text is not blank if it cannot be copied.
    return 0;
  }
}

int quorvex_write_file(const char* path, const char* data, size_t size) noexcept {
  if (path == nullptr || *path == '\0' || (data == nullptr && size > 0)) return 0;
  try {
    return CLCCRSCommon::WriteFileData(path, std::string(data != nullptr ? data : "", size)) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
