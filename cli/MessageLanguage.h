#pragma once
#include "diagnostics/CRSMsgTable.h"

#include <string>
#include <string_view>

// Language of the message texts shown to people. Codes, the detail error
// document and the JSON keys never change with it.
class MessageLanguage {
 public:
  // Japanese when the first set variable of LC_ALL, LC_MESSAGES and LANG
  // starts with "ja", English otherwise.
  static quorvex::internal::CRSMsgLanguage FromLocale();
  // The catalogue's text of the code; the markup line break becomes a space.
  static std::string Text(std::string_view code, quorvex::internal::CRSMsgLanguage language);
};
