#pragma once
#include <string>

namespace quorvex::internal {

// What the macOS body offers beyond the CLCNative contract: the framework
// carries the definition documents as files of its resource bundle
// "Quorvex.bundle", found through the front end's resource locator.
class CLCMacOSNative {
 public:
  // Full path of definition document 205 to 208 in the bundle; empty for any
  // other identifier or a missing file.
  static std::string definitionPath(unsigned short identifier);
  // Full path of a file of the resource bundle; empty when not found.
  static std::string getBundlePathName(const char* name);
};
}  // namespace quorvex::internal
