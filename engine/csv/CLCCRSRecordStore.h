#pragma once
#include "csv/CLCCRSRecordData.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace quorvex::internal {

// The stored records of a file, in blocks of a fixed size: a record keeps its
// address while more are added (the kind lists hold it), costs no allocation
// of its own, and is found by a shift and a mask.
class CLCCRSRecordStore {
 public:
  std::size_t size() const { return m_uCount; }
  bool empty() const { return m_uCount == 0; }
  CLCCRSRecordData& operator[](std::size_t index) { return m_vecBlocks[index >> kBlockBits][index & kBlockMask]; }
  const CLCCRSRecordData& operator[](std::size_t index) const {
    return m_vecBlocks[index >> kBlockBits][index & kBlockMask];
  }
  // Adds a record built from its columns at the end.
  void Add(const std::vector<std::string>& columns, long lineNo, long fileLine);

 private:
  static constexpr std::size_t kBlockBits = 10;
  static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;
  static constexpr std::size_t kBlockMask = kBlockSize - 1;

  std::vector<std::unique_ptr<CLCCRSRecordData[]>> m_vecBlocks;
  std::size_t m_uCount = 0;
};
}  // namespace quorvex::internal
