// Prints what the Shift_JIS decoder makes of every one- and two-byte sequence,
// one line each, in order (0x00 to 0xFF, then 0x0000 to 0xFFFF): the code
// points of the result in hexadecimal. check_code_page_932.py compares the
// lines with Python's cp932 codec.
#include "text/CLCPortable.h"
#include "text/CLCShiftJIS.h"

#include <cstdio>
#include <string>

using quorvex::internal::CLCPortable;
using quorvex::internal::CLCShiftJIS;

namespace {

void PrintDecoded(const std::string& bytes) {
  const std::string text = CLCShiftJIS::ToUtf8(bytes);
  const auto* units = reinterpret_cast<const unsigned char*>(text.data());
  const char* separator = "";
  for (std::size_t i = 0; i < text.size();) {
    std::printf("%s%04X", separator, static_cast<unsigned>(CLCPortable::nextCodePoint(units, text.size(), i)));
    separator = " ";
  }
  std::putchar('\n');
}

}  // namespace

int main() {
  for (int first = 0; first < 256; ++first) PrintDecoded(std::string(1, static_cast<char>(first)));
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      PrintDecoded(std::string{static_cast<char>(first), static_cast<char>(second)});
    }
  }
  return std::ferror(stdout) ? 1 : 0;
}
