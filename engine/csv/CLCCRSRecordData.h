#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::internal {

// One stored CSV record: its trimmed columns, its line number (ordinal among the
// stored records) and the physical line of the file where it starts.
// A record is one allocation: the column offsets, then the columns, each
// NUL-terminated. Offsets take 16 bits when the columns fit in 64 KiB (nearly
// always), else 32; a 19 MiB file holds over a hundred thousand records.
class CLCCRSRecordData {
 public:
  CLCCRSRecordData() = default;
  CLCCRSRecordData(const std::vector<std::string>& columns, long lineNo, long fileLine = 0);
  virtual ~CLCCRSRecordData() = default;

  // Column at the 0-based index, or null when the index is out of range.
  const char* GetColumnValue(long index) const {
    if (index < 0 || index >= GetColumnCount()) return nullptr;
    const std::size_t at = static_cast<std::size_t>(index);
    if (m_bWideOffsets) {
      std::uint32_t offset = 0;
      std::memcpy(&offset, m_pData.get() + at * sizeof offset, sizeof offset);
      return m_pData.get() + m_uColumnCount * sizeof offset + offset;
    }
    std::uint16_t offset = 0;
    std::memcpy(&offset, m_pData.get() + at * sizeof offset, sizeof offset);
    return m_pData.get() + m_uColumnCount * sizeof offset + offset;
  }
  long GetColumnCount() const { return static_cast<long>(m_uColumnCount); }
  long GetLineNo() const { return m_lLineNo; }
  long GetFileLine() const { return m_lFileLine; }

 private:
  std::unique_ptr<char[]> m_pData;
  std::uint32_t m_uColumnCount = 0;
  bool m_bWideOffsets = false;
  long m_lLineNo = 0;
  long m_lFileLine = 0;
};
}  // namespace quorvex::internal
