#pragma once
#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace quorvex::internal {

// A database call that failed, with SQLite's words and code. Thrown inside the
// history and caught where an operation ends, so that every failure leaves
// the transaction rolled back and reaches the caller as text.
class CLCHistoryError : public std::runtime_error {
 public:
  CLCHistoryError(const std::string& what, int code, bool refused = false)
      : std::runtime_error(what), m_code(code), m_refused(refused) {}
  int code() const { return m_code; }  // primary SQLite result code
  // The file must not be used: damaged, not a filing history, or newer.
  bool refused() const { return m_refused || m_code == SQLITE_CORRUPT || m_code == SQLITE_NOTADB; }
  // The text says why in the history's own words; else it is SQLite's.
  bool explained() const { return m_refused; }

 private:
  int m_code;
  bool m_refused;
};

// One prepared statement, finalised on every path out. Columns and
// parameters count as SQLite counts them: parameters from 1, columns from 0.
class CLCSqlStatement {
 public:
  CLCSqlStatement(sqlite3* db, const char* sql);
  ~CLCSqlStatement();
  CLCSqlStatement(const CLCSqlStatement&) = delete;
  CLCSqlStatement& operator=(const CLCSqlStatement&) = delete;

  CLCSqlStatement& Bind(int index, const std::string& text);
  CLCSqlStatement& Bind(int index, long long number);
  // NULL for empty text: optional values are stored as NULL, never as ''.
  CLCSqlStatement& BindOptional(int index, const std::string& text);
  CLCSqlStatement& BindNull(int index);
  // True with a row to read; false when done. Throws on failure.
  bool Step();
  // Steps to the end (a statement that returns no rows).
  void Run();
  // Ready to run again with new parameters.
  void Reset();

  std::string Text(int column) const;  // empty for NULL
  long long Int(int column) const;     // 0 for NULL
  bool IsNull(int column) const;

  // Runs statements that take no parameters and return no rows.
  static void Execute(sqlite3* db, const char* sql);
  // The error of the last call on the connection, as thrown.
  static CLCHistoryError LastError(sqlite3* db, const char* doing);

 private:
  sqlite3* m_db;
  sqlite3_stmt* m_statement = nullptr;
};
}  // namespace quorvex::internal
