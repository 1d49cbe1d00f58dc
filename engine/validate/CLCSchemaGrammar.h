#pragma once
#include <xercesc/framework/XMLGrammarPool.hpp>

namespace quorvex::internal {

// The OECD CRS XML 2.0 schema, compiled from the documents built into the
// library (never fetched), once per process. The pool is locked, so parsers on
// any thread may share it; it lives, with the parser platform it needs, until
// the process ends.
class CLCSchemaGrammar {
 public:
  // Null when the schema could not be compiled.
  static xercesc::XMLGrammarPool* Pool();
};
}  // namespace quorvex::internal
