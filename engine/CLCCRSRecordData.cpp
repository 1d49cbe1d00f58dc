#include "CLCCRSRecordData.h"

CLCCRSRecordData::CLCCRSRecordData(const std::vector<std::string>& columns, long lineNo)
    : m_lLineNo(lineNo) {
  std::size_t total = 0;
  for (const std::string& column : columns) total += column.size() + 1;
  m_strBuffer.reserve(total);
  m_vecOffsets.reserve(columns.size());
  for (const std::string& column : columns) {
    m_vecOffsets.push_back(static_cast<std::uint32_t>(m_strBuffer.size()));
    m_strBuffer.append(column);
    m_strBuffer.push_back('\0');
  }
}

const char* CLCCRSRecordData::GetColumnValue(long index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_vecOffsets.size()) return nullptr;
  return m_strBuffer.data() + m_vecOffsets[static_cast<std::size_t>(index)];
}
