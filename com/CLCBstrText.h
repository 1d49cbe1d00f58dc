#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

// Text at the COM boundary: hosts pass UTF-16 BSTRs, the engine keeps UTF-8.
class CLCBstrText {
 public:
  // UTF-8 form of the BSTR; a null BSTR is the empty string. An unpaired
  // surrogate becomes U+FFFD, so a malformed path fails as "not found".
  static std::string ToUtf8(BSTR text);
  // UTF-16 form of engine text (U+FFFD for bytes that are not UTF-8).
  static std::wstring FromUtf8(const std::string& text);
};
