#include "history/CLCSqlStatement.h"

namespace quorvex::internal {

CLCHistoryError CLCSqlStatement::LastError(sqlite3* db, const char* doing) {
  const int code = db != nullptr ? sqlite3_errcode(db) & 0xff : SQLITE_NOMEM;
  std::string what = doing;
  what += ": ";
  what += db != nullptr ? sqlite3_errmsg(db) : "out of memory";
  return CLCHistoryError(what, code);
}

CLCSqlStatement::CLCSqlStatement(sqlite3* db, const char* sql) : m_db(db) {
  if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK) {
    throw LastError(db, "reading the history");
  }
}

CLCSqlStatement::~CLCSqlStatement() { sqlite3_finalize(m_statement); }

CLCSqlStatement& CLCSqlStatement::Bind(int index, const std::string& text) {
  if (sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK) {
    throw LastError(m_db, "reading the history");
  }
  return *this;
}

CLCSqlStatement& CLCSqlStatement::Bind(int index, long long number) {
  if (sqlite3_bind_int64(m_statement, index, number) != SQLITE_OK) throw LastError(m_db, "reading the history");
  return *this;
}

CLCSqlStatement& CLCSqlStatement::BindOptional(int index, const std::string& text) {
  return text.empty() ? BindNull(index) : Bind(index, text);
}

CLCSqlStatement& CLCSqlStatement::BindNull(int index) {
  if (sqlite3_bind_null(m_statement, index) != SQLITE_OK) throw LastError(m_db, "reading the history");
  return *this;
}

bool CLCSqlStatement::Step() {
  const int result = sqlite3_step(m_statement);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  throw LastError(m_db, "using the history");
}

void CLCSqlStatement::Run() {
  while (Step()) {
  }
}

void CLCSqlStatement::Reset() {
  sqlite3_reset(m_statement);
  sqlite3_clear_bindings(m_statement);
}

std::string CLCSqlStatement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(m_statement, column);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column)));
}

long long CLCSqlStatement::Int(int column) const { return sqlite3_column_int64(m_statement, column); }

bool CLCSqlStatement::IsNull(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }

void CLCSqlStatement::Execute(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) throw LastError(db, "changing the history");
}
}  // namespace quorvex::internal
