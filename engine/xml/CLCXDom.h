#pragma once

#include <memory>
#include <string>

namespace quorvex::internal {

class CLCValidResult;

// Parses a whole document and offers a one-node cursor over it.
// Failures record a fatal error and a log record; navigation never reports.
class CLCXDom {
 public:
  // Failures are recorded in the running operation's collector.
  explicit CLCXDom(CLCValidResult& result);
  ~CLCXDom();
  CLCXDom(const CLCXDom&) = delete;
  CLCXDom& operator=(const CLCXDom&) = delete;

  bool Initialize();
  void Terminate();
  // Parses NUL-terminated bytes with the encoding forced to `encoding`.
  bool Parse(const char* buffer, const char* bufferId, const char* encoding);
  // Parses the file at the path.
  bool Parse(const char* path);

  std::string GetNodeName() const;
  // Attribute value with references expanded; empty when absent.
  std::string GetAttribute(const char* name) const;
  bool HasChild() const;
  // 0 on success, -1 when there is no such node (the cursor stays).
  int MoveFirstChild();
  int MoveNextSibling();
  int MoveParent();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_pImpl;
  CLCValidResult& m_result;
};
}  // namespace quorvex::internal
