#pragma once
#include <cstddef>

namespace quorvex::internal {

// One definition document compiled into the library.
struct CLCDefinitionResource {
  unsigned short id;    // 205 to 208; 0 ends the table
  const char* bytes;    // document bytes, NUL-terminated
  std::size_t size;     // byte count without the terminator
};

// Generated at build time from definitions/*.xml.
extern const CLCDefinitionResource kCLCDefinitionResources[];
}  // namespace quorvex::internal
