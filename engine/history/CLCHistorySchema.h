#pragma once
#include <sqlite3.h>

#include <cstdint>

namespace quorvex::internal {

// The tables of the filing history and the steps between their versions.
// PRAGMA user_version holds the version a file is at; PRAGMA application_id
// marks the file as a filing history, so that another program's database is
// never taken for one.
//
//   1  message (one row per filed message) and record (one per ReportingFI or
//      AccountReport, with the CSV line it came from)
//   2  the authority's answers: status_message and status_error, and the state
//      they leave (message.status, record.in_error)
class CLCHistorySchema {
 public:
  static constexpr int kVersion = 2;
  static constexpr std::uint32_t kApplicationId = 0x51565848;  // "QVXH"

  // Runs the steps from version `from` up to `to` on a connection inside the
  // caller's transaction; from 0 it also marks the file as a history. Throws
  // CLCHistoryError.
  static void Upgrade(sqlite3* db, int from, int to = kVersion);
};
}  // namespace quorvex::internal
