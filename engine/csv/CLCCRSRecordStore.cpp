#include "csv/CLCCRSRecordStore.h"

namespace quorvex::internal {

void CLCCRSRecordStore::Add(const std::vector<std::string>& columns, long lineNo, long fileLine) {
  if ((m_uCount & kBlockMask) == 0) m_vecBlocks.push_back(std::make_unique<CLCCRSRecordData[]>(kBlockSize));
  m_vecBlocks.back()[m_uCount & kBlockMask] = CLCCRSRecordData(columns, lineNo, fileLine);
  ++m_uCount;
}
}  // namespace quorvex::internal
