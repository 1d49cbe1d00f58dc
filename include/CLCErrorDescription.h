#pragma once
#include <string>

// What one item of the detail error document points at, described while the
// operation still holds the file it read: the kind of record, the name of the
// column's item and the value found there. Positions are those of the document.
struct CLCErrorDescription {
  long line = 0;           // record ordinal, 0 (whole file or output) or 99999 (argument)
  long fileLine = 0;       // physical line of the file where the record starts; 0 when none
  long column = 0;
  long assistColumn = -1;  // second column, or -1
  std::string code;        // message code, "HE40001E"
  std::string recordKind;  // "1" to "4" for a record item; empty otherwise
  std::string item;        // name of the column's item or of the argument; empty when unknown
  std::string value;       // the value found (UTF-8), when hasValue
  bool hasValue = false;
  bool isArgument = false;  // an argument of the operation, not record 99999 of the file
  std::string systemReason;  // the system's own words when it refused a file (a full disk); empty otherwise
};
