#pragma once
#include "CLCXParser.h"

#include <cstddef>
#include <memory>

class CLCValidResult;

// Well-formedness check of an in-memory document. It never fetches anything:
// no external entities, no external DTD, no network; entity expansion is capped;
// a document type declaration makes the document unacceptable.
class CLCXSax : public CLCXParser {
 public:
  // Failures are recorded in the running operation's collector.
  explicit CLCXSax(CLCValidResult& result);
  ~CLCXSax() override;
  CLCXSax(const CLCXSax&) = delete;
  CLCXSax& operator=(const CLCXSax&) = delete;

  bool Initialize() override;
  void Terminate() override;
  bool Parse(const char* buffer, const char* bufferId, const char* encoding) override;
  // Same, over `length` bytes (the buffer need not be NUL-terminated).
  bool Parse(const char* buffer, std::size_t length, const char* bufferId, const char* encoding);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_pImpl;
  CLCValidResult& m_result;
};
