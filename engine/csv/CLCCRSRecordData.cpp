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
  // Every byte is written below: no zero-filling first.
  m_pData.reset(new char[tableSize + textSize]);
  char* const offsets = m_pData.get() + bitsSize;
  char* const text = m_pData.get() + tableSize;
  std::size_t at = 0;
  std::size_t filled = 0;
  for (std::size_t word = 0; word < WordCount(); ++word) {
    std::uint64_t bits = 0;
    for (std::size_t i = word * 64; i < columns.size() && i < word * 64 + 64; ++i) {
      if (!columns[i].empty()) bits |= std::uint64_t{1} << (i % 64);
    }
    std::memcpy(m_pData.get() + word * sizeof bits, &bits, sizeof bits);
  }
  for (const std::string& column : columns) {
    if (column.empty()) continue;
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
