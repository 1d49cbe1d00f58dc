#include "CLCShiftJIS.h"

#include <unicode/ucnv.h>

#include <memory>

bool CLCShiftJIS::ToUtf8(std::string_view bytes, std::string& out) {
  out.clear();
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, decltype(&ucnv_close)> source(ucnv_open("windows-31j", &status),
                                                             &ucnv_close);
  std::unique_ptr<UConverter, decltype(&ucnv_close)> target(ucnv_open("UTF-8", &status), &ucnv_close);
  if (U_FAILURE(status)) return false;
  // Any unmapped or ill-formed byte stops the conversion, which fails the read.
  ucnv_setToUCallBack(source.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) return false;

  // Most CSV text is ASCII; a double-byte character grows to three bytes.
  out.resize(bytes.size() + bytes.size() / 2 + 16);
  char* outPos = out.data();
  const char* inPos = bytes.data();
  const char* inEnd = bytes.data() + bytes.size();
  UChar pivot[4096];
  UChar* pivotSource = pivot;
  UChar* pivotTarget = pivot;
  bool reset = true;
  for (;;) {
    status = U_ZERO_ERROR;
    ucnv_convertEx(target.get(), source.get(), &outPos, out.data() + out.size(), &inPos, inEnd, pivot,
                   &pivotSource, &pivotTarget, pivot + 4096, reset, true, &status);
    reset = false;
    if (status != U_BUFFER_OVERFLOW_ERROR) break;
    const std::size_t written = static_cast<std::size_t>(outPos - out.data());
    out.resize(out.size() * 2);
    outPos = out.data() + written;
  }
  if (U_FAILURE(status)) {
    out.clear();
    return false;
  }
  out.resize(static_cast<std::size_t>(outPos - out.data()));
  return true;
}
