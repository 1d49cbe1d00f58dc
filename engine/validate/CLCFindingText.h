#pragma once

namespace quorvex::internal {

// Short title of a Status Message code in "en" or "ja"; null for a code this
// library does not report or another language.
const char* CLCFindingTitle(const char* code, const char* language);
}  // namespace quorvex::internal
