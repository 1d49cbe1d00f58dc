#pragma once

#include <cstddef>
#include <memory>

namespace quorvex::internal {

class CLCValidResult;

// Well-formedness check of an in-memory document. It never fetches anything:
// no external entities, no external DTD, no network; entity expansion is capped;
// a document type declaration makes the document unacceptable.
class CLCXSax {
 public:
  // Failures are recorded in the running operation's collector.
  explicit CLCXSax(CLCValidResult& result);
  ~CLCXSax();
  CLCXSax(const CLCXSax&) = delete;
  CLCXSax& operator=(const CLCXSax&) = delete;

  bool Initialize();
  void Terminate();
  // Parses `length` bytes (the buffer need not be NUL-terminated) under the encoding.
  bool Parse(const char* buffer, std::size_t length, const char* bufferId, const char* encoding);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_pImpl;
  CLCValidResult& m_result;
};
}  // namespace quorvex::internal
