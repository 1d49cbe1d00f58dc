#include "csv/CLCCRSRecordOrigins.h"

#include "csv/CLCCRSCsvCRSReport.h"
#include "csv/CRSColumns.h"
#include "diagnostics/CLCValidResult.h"

#include <cstring>

namespace quorvex::internal {

std::vector<CLCRecordOrigin> CLCCRSRecordOrigins::List(std::string_view bytes) {
  std::vector<CLCRecordOrigin> origins;
  CLCValidResult problems;
  CLCCRSCsvCRSReport file(problems);
  if (!file.ReadBuffer(bytes)) return origins;
  for (long row = 0; row < file.GetRecordCount(); ++row) {
    const char* kind = file.GetItem(row, CRSColumn::kKind - 1);
    if (kind == nullptr) continue;
    const long column = std::strcmp(kind, "1") == 0   ? CRSColumn::kHeaderDocRefId
                        : std::strcmp(kind, "2") == 0 ? CRSColumn::kAccountDocRefId
                                                      : 0;
    const char* docRefId = column > 0 ? file.GetItem(row, column - 1) : nullptr;
    if (docRefId == nullptr || *docRefId == '\0') continue;
    origins.push_back(CLCRecordOrigin{docRefId, file.GetFileLine(row)});
  }
  return origins;
}
}  // namespace quorvex::internal
