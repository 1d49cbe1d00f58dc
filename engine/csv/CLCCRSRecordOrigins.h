#pragma once
#include "CLCRecordOrigin.h"

#include <string_view>
#include <vector>

namespace quorvex::internal {

// The DocRefId of every header and account record of a CSV file's bytes with
// the line it starts on, in file order. Only the file-level reading runs (no
// column rules): records without a DocRefId are left out, and bytes that are
// no CRS CSV file (unreadable, no single header, kinds out of order) give none.
class CLCCRSRecordOrigins {
 public:
  static std::vector<CLCRecordOrigin> List(std::string_view bytes);
};
}  // namespace quorvex::internal
