#include "CLCShiftJIS.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <memory>

namespace quorvex::internal {

namespace {

void MarkUndecodable(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                     UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close and clone need nothing
  static const UChar kReplacement = 0xFFFD;
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, status);
}

}  // namespace

bool CLCShiftJIS::ToUtf8(std::string_view bytes, std::string& out) {
  out.clear();
  if (bytes.empty()) return true;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, decltype(&ucnv_close)> source(ucnv_open("windows-31j", &status),
                                                             &ucnv_close);
  std::unique_ptr<UConverter, decltype(&ucnv_close)> target(ucnv_open("UTF-8", &status), &ucnv_close);
  if (U_FAILURE(status)) return false;
  ucnv_setToUCallBack(source.get(), MarkUndecodable, nullptr, nullptr, nullptr, &status);
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
}  // namespace quorvex::internal
