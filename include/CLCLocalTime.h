#pragma once

// A local date and time on the Gregorian calendar: what a conversion writes as
// the message's Timestamp (to the millisecond for schema 2.0).
struct CLCLocalTime {
  int year = 0;         // 1 to 9999
  int month = 0;        // 1 to 12
  int day = 0;          // 1 to the month's last day
  int hour = 0;         // 0 to 23
  int minute = 0;       // 0 to 59
  int second = 0;       // 0 to 59
  int millisecond = 0;  // 0 to 999
};
