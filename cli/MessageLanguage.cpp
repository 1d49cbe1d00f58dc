#include "MessageLanguage.h"

#include "quorvex.h"

#include <cstdlib>

ToolLanguage MessageLanguage::FromLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    return std::string_view(value).substr(0, 2) == "ja" ? ToolLanguage::Japanese : ToolLanguage::English;
  }
  return ToolLanguage::English;
}

const char* MessageLanguage::Code(ToolLanguage language) { return language == ToolLanguage::Japanese ? "ja" : "en"; }

std::string MessageLanguage::Text(std::string_view code, ToolLanguage language) {
  const char* found = quorvex_message_text(std::string(code).c_str(), Code(language));
  std::string text = found != nullptr ? found : "";
  // HE00155E carries "<br>" for hosts that show it as HTML.
  constexpr std::string_view kBreak = "<br>";
  for (std::size_t at = text.find(kBreak); at != std::string::npos; at = text.find(kBreak, at)) {
    text.replace(at, kBreak.size(), " ");
  }
  return text;
}
