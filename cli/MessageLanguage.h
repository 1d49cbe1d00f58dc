#pragma once
#include <string>
#include <string_view>

// Language of the message texts shown to people. Codes, the detail error
// document and the JSON keys never change with it.
enum class ToolLanguage { Japanese, English };

class MessageLanguage {
 public:
  // Japanese when the first set variable of LC_ALL, LC_MESSAGES and LANG
  // starts with "ja", English otherwise.
  static ToolLanguage FromLocale();
  // The language's code in the library's terms: "ja" or "en".
  static const char* Code(ToolLanguage language);
  // The catalogue's text of the code, empty for an unknown code; the markup
  // line break becomes a space.
  static std::string Text(std::string_view code, ToolLanguage language);
};
