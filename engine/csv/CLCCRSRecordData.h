#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::internal {

// One stored CSV record: its trimmed columns, its line number (ordinal among the
// stored records) and the physical line of the file where it starts.
// A record is one allocation: a bit per column telling whether it is filled,
// the offsets of the filled columns, then their text, each NUL-terminated.
// Most columns of a record are empty and cost their bit alone. Offsets take 16
// bits when the text fits in 64 KiB (nearly always), else 32; a 19 MiB file
// holds over a hundred thousand records.
class CLCCRSRecordData {
 public:
  CLCCRSRecordData() = default;
  CLCCRSRecordData(const std::vector<std::string>& columns, long lineNo, long fileLine = 0);

  // Column at the 0-based index, or null when the index is out of range.
  const char* GetColumnValue(long index) const {
    if (index < 0 || index >= GetColumnCount()) return nullptr;
    const std::size_t at = static_cast<std::size_t>(index);
    const std::uint64_t word = FilledWord(at / 64);
    const std::uint64_t below = word & ((std::uint64_t{1} << (at % 64)) - 1);
    if (((word >> (at % 64)) & 1) == 0) return "";
    std::size_t rank = BitCount(below);
    for (std::size_t w = 0; w < at / 64; ++w) rank += BitCount(FilledWord(w));
    const char* offsets = m_pData.get() + WordCount() * sizeof(std::uint64_t);
    if (m_bWideOffsets) {
      std::uint32_t offset = 0;
      std::memcpy(&offset, offsets + rank * sizeof offset, sizeof offset);
      return offsets + m_uFilledCount * sizeof offset + offset;
    }
    std::uint16_t offset = 0;
    std::memcpy(&offset, offsets + rank * sizeof offset, sizeof offset);
    return offsets + m_uFilledCount * sizeof offset + offset;
  }
  // Bits 0 to 63 of the columns from 64 * word on: set where the column is filled.
  std::uint64_t FilledWord(std::size_t word) const {
    std::uint64_t bits = 0;
    if (word < WordCount()) std::memcpy(&bits, m_pData.get() + word * sizeof bits, sizeof bits);
    return bits;
  }
  // True when the column at the 0-based index holds text; false when it is
  // empty or out of range.
  bool IsFilled(long index) const {
    if (index < 0 || index >= GetColumnCount()) return false;
    const std::size_t at = static_cast<std::size_t>(index);
    return ((FilledWord(at / 64) >> (at % 64)) & 1) != 0;
  }
  long GetColumnCount() const { return static_cast<long>(m_uColumnCount); }
  long GetLineNo() const { return m_lLineNo; }
  long GetFileLine() const { return m_lFileLine; }

 private:
  // Set bits of a word, inline: without a popcount instruction the compiler
  // would call a library routine for every column looked up.
  static std::size_t BitCount(std::uint64_t bits) {
    bits = bits - ((bits >> 1) & 0x5555555555555555u);
    bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<std::size_t>((bits * 0x0101010101010101u) >> 56);
  }
  std::size_t WordCount() const { return (m_uColumnCount + 63) / 64; }

  std::unique_ptr<char[]> m_pData;
  std::uint32_t m_uColumnCount = 0;
  std::uint32_t m_uFilledCount = 0;
  // Lines of a file within the size limit fit in 32 bits.
  std::int32_t m_lLineNo = 0;
  std::int32_t m_lFileLine = 0;
  bool m_bWideOffsets = false;
};
}  // namespace quorvex::internal
