#include "MessageLanguage.h"

#include <cstdlib>

using namespace quorvex::internal;

CRSMsgLanguage MessageLanguage::FromLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    return std::string_view(value).substr(0, 2) == "ja" ? CRSMsgLanguage::Japanese : CRSMsgLanguage::English;
  }
  return CRSMsgLanguage::English;
}

std::string MessageLanguage::Text(std::string_view code, CRSMsgLanguage language) {
  std::string text = CRSMsgText(CRSMsgFromCode(code), language);
  // HE00155E carries "<br>" for hosts that show it as HTML.
  constexpr std::string_view kBreak = "<br>";
  for (std::size_t at = text.find(kBreak); at != std::string::npos; at = text.find(kBreak, at)) {
    text.replace(at, kBreak.size(), " ");
  }
  return text;
}
