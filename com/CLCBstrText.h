#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

// Text at the COM boundary: hosts pass UTF-16 BSTRs, the engine keeps UTF-8.
class CLCBstrText {
 public:
  // UTF-8 form of the BSTR; a null BSTR is the empty string. A BSTR that is not
  // valid UTF-16 (an unpaired surrogate) is never replaced by U+FFFD, which
  // could name some other, existing file: each unpaired surrogate keeps its own
  // three bytes, which are not UTF-8, so the platform refuses the path and the
  // engine reports that argument's path error without touching any file.
  static std::string ToUtf8(BSTR text);
  // UTF-16 form of engine text (U+FFFD for bytes that are not UTF-8).
  static std::wstring FromUtf8(const std::string& text);
};
