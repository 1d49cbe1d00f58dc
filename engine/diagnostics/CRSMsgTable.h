#pragma once
#include <cstdint>
#include <string_view>

namespace quorvex::internal {

// The 32 messages the engine can report, by value. Value 0 means "no message".
enum CLCCRSMessage_t : std::int32_t {
  CRSMSG_NONE = 0,
  CRSMSG_UNEXPECTED = 1,          // HE40000E
  CRSMSG_NOT_ENTERED = 2,         // HE40001E
  CRSMSG_NOT_ALLOWED = 3,         // HE40002E
  CRSMSG_EXTENSION = 4,           // HE40003E
  CRSMSG_FILE_MISSING = 5,        // HE40004E
  CRSMSG_FILE_EMPTY = 6,          // HE40005E
  CRSMSG_FILE_ACCESS = 7,         // HE40006E
  CRSMSG_DIGITS = 8,              // HE40007E
  CRSMSG_OUTPUT_FOLDER = 9,       // HE40008E
  CRSMSG_INVALID = 10,            // HE40009E
  CRSMSG_TOO_LONG = 11,           // HE40010E
  CRSMSG_BAD_CHARACTER = 12,      // HE40011E
  CRSMSG_CSV_FORMAT = 13,         // HE40012E
  CRSMSG_NO_RECORD = 14,          // HE40013E
  CRSMSG_NO_SPLIT_DATA = 15,      // HE40014E
  CRSMSG_HEADER_COUNT = 16,       // HE40015E
  CRSMSG_NO_ACCOUNT = 17,         // HE40016E
  CRSMSG_HOLDER_REQUIRED = 18,    // HE40017E
  CRSMSG_HOLDER_BOTH = 19,        // HE40018E
  CRSMSG_DOCREFID_DUPLICATE = 20, // HE40019E
  CRSMSG_CORRDOCREFID_DUPLICATE = 21, // HE40020E
  CRSMSG_PERSON_MISSING = 22,     // HE40021E
  CRSMSG_PERSON_NOT_ALLOWED = 23, // HE40022E
  CRSMSG_FILE_TOO_LARGE = 24,     // HE40023E
  CRSMSG_WRITE_FAILED = 25,       // HE40024E
  CRSMSG_OUTPUT_TOO_LARGE = 26,   // HE40025E
  CRSMSG_TOO_MANY_ERRORS = 27,    // HE40026E
  CRSMSG_NOT_DIGITS = 28,         // HE40027E
  CRSMSG_VERSION = 29,            // HE40028E
  CRSMSG_REPORTING_YEAR = 30,     // HE40029E
  CRSMSG_ACCOUNT_NUMBER_TYPE = 31,// HE40030E
  CRSMSG_XML_STRUCTURE = 32,      // HE00155E
};

// One row of the catalogue. The English text is a translation for callers who
// show messages to people; the engine's results carry codes only.
struct CRSMsgRow {
  std::int32_t value;
  const char* code;
  const char* text;     // Japanese, the catalogue's own text
  const char* english;
};

enum class CRSMsgLanguage { Japanese, English };

inline constexpr int kCRSMsgTableSize = 33;
extern const CRSMsgRow CRSMsgTable[kCRSMsgTableSize];

// Code of the first row holding the value; empty text for 0 or an unknown value.
const char* CRSMsgCode(std::int32_t value);
// Message text of the value; empty text for 0 or an unknown value.
const char* CRSMsgText(std::int32_t value, CRSMsgLanguage language = CRSMsgLanguage::Japanese);
// Value of the first row whose code equals the text exactly; 0 when none does.
CLCCRSMessage_t CRSMsgFromCode(std::string_view code);
}  // namespace quorvex::internal
