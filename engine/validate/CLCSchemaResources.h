#pragma once
#include <cstddef>

namespace quorvex::internal {

// One document of the OECD CRS XML 2.0 schema compiled into the library.
struct CLCSchemaResource {
  const char* name;   // file name, as the imports give it; null ends the table
  const char* bytes;  // document bytes, NUL-terminated
  std::size_t size;   // byte count without the terminator
};

// Generated at build time from schemas/crs-v2.0/*.xsd.
extern const CLCSchemaResource kCLCSchemaResources[];
}  // namespace quorvex::internal
