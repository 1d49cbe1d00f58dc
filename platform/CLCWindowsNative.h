#pragma once
#include <string>

namespace quorvex::internal {

// What the Windows body of the platform services offers beyond the operations
// every body has (CLCNative): the definition documents live as resources of
// the module that holds the engine, whose handle the module's entry point
// hands over here.
class CLCWindowsNative {
 public:
  // The module whose resources hold the definition documents (an HMODULE);
  // without one, the process's executable is searched.
  static void setResourceModule(void* module);
  // Bytes of resource `identifier` of type `type` (language-neutral lookup, so
  // the Japanese-tagged copy is found), up to the first NUL; empty when there
  // is no such resource.
  static std::string resourceText(unsigned short identifier, const char* type);
};
}  // namespace quorvex::internal
