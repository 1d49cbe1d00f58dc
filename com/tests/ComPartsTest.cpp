// Parts of the server tested alone: the exception guard of every COM entry and
// the BSTR-to-engine text conversion. Prints "N passed, M failed".
#include "CLCBstrText.h"
#include "CLCComCall.h"

#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>

namespace {

int g_passed = 0;
int g_failed = 0;

void Check(bool condition, const char* what) {
  if (condition) {
    ++g_passed;
  } else {
    ++g_failed;
    std::printf("FAIL: %s\n", what);
  }
}

// An object whose constructor throws, as an engine facade may.
struct ThrowingObject {
  explicit ThrowingObject(int kind) {
    if (kind == 1) throw std::bad_alloc();
    if (kind == 2) throw std::runtime_error("constructor");
    if (kind == 3) throw 3;
  }
};

void CheckGuard() {
  const struct {
    const char* what;
    int kind;
    HRESULT expected;
  } rows[] = {
      {"no exception: the work's own HRESULT", 0, S_FALSE},
      {"bad_alloc from a constructor: E_OUTOFMEMORY", 1, E_OUTOFMEMORY},
      {"other exception from a constructor: E_UNEXPECTED", 2, E_UNEXPECTED},
      {"a thrown non-exception: E_UNEXPECTED", 3, E_UNEXPECTED},
  };
  for (const auto& row : rows) {
    const HRESULT hr = CLCComCall([&]() -> HRESULT {
      delete new ThrowingObject(row.kind);
      return S_FALSE;
    });
    Check(hr == row.expected, row.what);
  }
}

void CheckBstrText() {
  const struct {
    const char* what;
    const wchar_t* text;
    UINT length;
    const char* expected;
  } rows[] = {
      {"valid pair converts", L"a\xD83D\xDE00", 3, "a\xF0\x9F\x98\x80"},
      {"unpaired high surrogate keeps its own bytes", L"a\xD800" L"b", 3, "a\xED\xA0\x80" "b"},
      {"unpaired low surrogate at the end", L"\x65E5\xDC00", 2, "\xE6\x97\xA5\xED\xB0\x80"},
      {"pair in the wrong order", L"\xDC00\xD800", 2, "\xED\xB0\x80\xED\xA0\x80"},
      {"high surrogate before a valid pair", L"\xD800\xD83D\xDE00", 3, "\xED\xA0\x80\xF0\x9F\x98\x80"},
  };
  for (const auto& row : rows) {
    BSTR text = SysAllocStringLen(row.text, row.length);
    Check(CLCBstrText::ToUtf8(text) == row.expected, row.what);
    SysFreeString(text);
  }
}

}  // namespace

int main() {
  CheckGuard();
  CheckBstrText();
  std::printf("%d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
