#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvex::internal {

// The open elements of a streamed document by local name, each with its
// 1-based position among the same-named children of its parent, so that a
// finding names one element: "/CRS_OECD/CrsBody/ReportingGroup/AccountReport[2]".
// The first of a name carries no index.
class CLCElementPath {
 public:
  void Push(std::string_view localName);
  void Pop();
  std::size_t Depth() const { return m_frames.size(); }
  // Local name of the open element `up` levels above the innermost; empty past the root.
  std::string_view Name(std::size_t up = 0) const;
  std::string Str() const;

 private:
  struct Frame {
    std::string name;
    long index = 1;
    std::vector<std::pair<std::string, long>> childCounts;  // few distinct names per parent
  };
  std::vector<Frame> m_frames;
  std::vector<std::pair<std::string, long>> m_rootCounts;
};
}  // namespace quorvex::internal
