#include "validate/CLCElementPath.h"

namespace quorvex::internal {

void CLCElementPath::Push(std::string_view localName) {
  auto& counts = m_frames.empty() ? m_rootCounts : m_frames.back().childCounts;
  long index = 1;
  bool found = false;
  for (auto& [name, count] : counts) {
    if (name == localName) {
      index = ++count;
      found = true;
      break;
    }
  }
  if (!found) counts.emplace_back(std::string(localName), 1);
  m_frames.push_back(Frame{std::string(localName), index, {}});
}

void CLCElementPath::Pop() {
  if (!m_frames.empty()) m_frames.pop_back();
}

std::string_view CLCElementPath::Name(std::size_t up) const {
  if (up >= m_frames.size()) return {};
  return m_frames[m_frames.size() - 1 - up].name;
}

std::string CLCElementPath::Str() const {
  std::string path;
  for (const Frame& frame : m_frames) {
    path += '/';
    path += frame.name;
    if (frame.index > 1) path += '[' + std::to_string(frame.index) + ']';
  }
  return path.empty() ? "/" : path;
}
}  // namespace quorvex::internal
