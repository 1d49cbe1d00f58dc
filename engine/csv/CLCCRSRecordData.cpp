#include "csv/CLCCRSRecordData.h"

#include <cstring>
#include <limits>

namespace quorvex::internal {

CLCCRSRecordData::CLCCRSRecordData(const std::vector<std::string>& columns, long lineNo, long fileLine)
    : m_uColumnCount(static_cast<std::uint32_t>(columns.size())), m_lLineNo(lineNo), m_lFileLine(fileLine) {
  std::size_t textSize = 0;
  for (const std::string& column : columns) textSize += column.size() + 1;
  m_bWideOffsets = textSize > std::numeric_limits<std::uint16_t>::max();
  const std::size_t offsetSize = m_bWideOffsets ? sizeof(std::uint32_t) : sizeof(std::uint16_t);
  const std::size_t tableSize = offsetSize * columns.size();
  // Every byte is written below: no zero-filling first.
  m_pData.reset(new char[tableSize + textSize]);
  char* const text = m_pData.get() + tableSize;
  std::size_t at = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (m_bWideOffsets) {
      const auto offset = static_cast<std::uint32_t>(at);
      std::memcpy(m_pData.get() + i * offsetSize, &offset, offsetSize);
    } else {
      const auto offset = static_cast<std::uint16_t>(at);
      std::memcpy(m_pData.get() + i * offsetSize, &offset, offsetSize);
    }
    std::memcpy(text + at, columns[i].data(), columns[i].size());
    at += columns[i].size();
    text[at++] = '\0';
  }
}
}  // namespace quorvex::internal
