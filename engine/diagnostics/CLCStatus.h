#pragma once
#include "diagnostics/CRSMsgTable.h"

namespace quorvex::internal {

// What one step of a check or a conversion came to. The problems themselves go
// to the operation's collector; the status only says how the step ended:
//   passed  - nothing found;
//   failed  - a problem was recorded (Message() is its message), the operation
//             goes on and fails in the end;
//   fatal   - the operation stops at once; once a routine with the collector
//             has seen it, the collector holds the single unexpected-error entry.
// One message value says it all (none, HE40000E, or the recorded message), so a
// status costs no more to pass around than the message itself.
class [[nodiscard]] CLCStatus {
 public:
  constexpr CLCStatus() = default;

  static constexpr CLCStatus Passed() { return CLCStatus(); }
  // `message` is the one just recorded; never CRSMSG_NONE.
  static constexpr CLCStatus Failed(CLCCRSMessage_t message) { return CLCStatus(message); }
  static constexpr CLCStatus Fatal() { return CLCStatus(CRSMSG_UNEXPECTED); }
  // Passed when the test holds, else failed with the message.
  static constexpr CLCStatus FailedUnless(bool passed, CLCCRSMessage_t message) {
    return passed ? Passed() : Failed(message);
  }

  constexpr bool IsPassed() const { return m_eMessage == CRSMSG_NONE; }
  constexpr bool IsFailed() const { return !IsPassed() && !IsFatal(); }
  constexpr bool IsFatal() const { return m_eMessage == CRSMSG_UNEXPECTED; }
  // None when passed, HE40000E when fatal, else the recorded message.
  constexpr CLCCRSMessage_t Message() const { return m_eMessage; }

  // Keeps going but remembers failure: a fatal status stays fatal, and a later
  // failure replaces an earlier one (the last message recorded wins). Returns
  // the merged status, so that a loop reads
  //   if (status.Merge(Step()).IsFatal()) return status;
  constexpr CLCStatus& Merge(CLCStatus later) {
    if (!IsFatal() && !later.IsPassed()) m_eMessage = later.m_eMessage;
    return *this;
  }

  friend constexpr bool operator==(CLCStatus a, CLCStatus b) { return a.m_eMessage == b.m_eMessage; }
  friend constexpr bool operator!=(CLCStatus a, CLCStatus b) { return a.m_eMessage != b.m_eMessage; }

 private:
  constexpr explicit CLCStatus(CLCCRSMessage_t message) : m_eMessage(message) {}

  CLCCRSMessage_t m_eMessage = CRSMSG_NONE;
};
}  // namespace quorvex::internal
