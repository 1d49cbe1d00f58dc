#include "csv/CLCCRSRecordData.h"

#include <cstring>
#include <limits>

namespace quorvex::internal {

CLCCRSRecordData::CLCCRSRecordData(const std::vector<std::string>& columns, long lineNo, long fileLine)
    : m_uColumnCount(static_cast<std::uint32_t>(columns.size())),
      m_lLineNo(static_cast<std::int32_t>(lineNo)),
      m_lFileLine(static_cast<std::int32_t>(fileLine)) {
  std::size_t textSize = 0;
  for (const std::string& column : columns) {
    if (column.empty()) continue;
    textSize += column.size() + 1;
    ++m_uFilledCount;
  }
  m_bWideOffsets = textSize > std::numeric_limits<std::uint16_t>::max();
  const std::size_t offsetSize = m_bWideOffsets ? sizeof(std::uint32_t) : sizeof(std::uint16_t);
  const std::size_t bitsSize = WordCount() * sizeof(std::uint64_t);
  const std::size_t tableSize = bitsSize + offsetSize * m_uFilledCount;
  // Only the filled bits start cleared; every other byte is written below.
  m_pData.reset(new char[tableSize + textSize]);
  char* const offsets = m_pData.get() + bitsSize;
  char* const text = m_pData.get() + tableSize;
  std::memset(m_pData.get(), 0, bitsSize);
  std::size_t at = 0;
  std::size_t filled = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const std::string& column = columns[i];
    if (column.empty()) continue;
    std::uint64_t bits = FilledWord(i / 64);
    bits |= std::uint64_t{1} << (i % 64);
    std::memcpy(m_pData.get() + i / 64 * sizeof bits, &bits, sizeof bits);
    if (m_bWideOffsets) {
      const auto offset = static_cast<std::uint32_t>(at);
      std::memcpy(offsets + filled * offsetSize, &offset, offsetSize);
    } else {
      const auto offset = static_cast<std::uint16_t>(at);
      std::memcpy(offsets + filled * offsetSize, &offset, offsetSize);
    }
    ++filled;
    std::memcpy(text + at, column.data(), column.size());
    at += column.size();
    text[at++] = '\0';
  }
}
}  // namespace quorvex::internal
