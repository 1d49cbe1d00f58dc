#pragma once
#include <string>

// Where a record of a CRS message came from: the CSV line that holds its
// DocRefId (the ReportingFI header or an account). A finding in a message
// converted from that CSV names the line to correct.
struct CLCRecordOrigin {
  std::string docRefId;
  long fileLine = 0;  // 1-based physical line of the CSV file
};
