#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One stored CSV record: its trimmed columns and its line number.
// The columns live in one buffer, each NUL-terminated, to keep large files compact.
class CLCCRSRecordData {
 public:
  CLCCRSRecordData() = default;
  CLCCRSRecordData(const std::vector<std::string>& columns, long lineNo);
  virtual ~CLCCRSRecordData() = default;

  // Column at the 0-based index, or null when the index is out of range.
  const char* GetColumnValue(long index) const;
  long GetColumnCount() const { return static_cast<long>(m_vecOffsets.size()); }
  long GetLineNo() const { return m_lLineNo; }

 private:
  std::string m_strBuffer;
  std::vector<std::uint32_t> m_vecOffsets;
  long m_lLineNo = 0;
};
