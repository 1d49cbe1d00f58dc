#include "history/CLCHistorySchema.h"

#include "history/CLCSqlStatement.h"

#include <string>

namespace quorvex::internal {

namespace {

// Step n brings a file from version n - 1 to n. A step never changes once
// released: files in the field are at every version.
constexpr const char* kSteps[] = {
    // 1: the messages filed and their records.
    "CREATE TABLE message ("
    "  id INTEGER PRIMARY KEY,"  // order of recording: earlier messages have smaller ids
    "  message_ref_id TEXT NOT NULL UNIQUE CHECK (message_ref_id <> ''),"
    "  message_type_indic TEXT NOT NULL,"
    "  transmitting_country TEXT NOT NULL,"
    "  receiving_country TEXT NOT NULL,"
    "  institution TEXT NOT NULL,"  // SendingCompanyIN, else the ReportingFI's IN; '' when neither
    "  reporting_period TEXT NOT NULL,"
    "  xml_file TEXT NOT NULL,"
    "  csv_file TEXT,"
    "  digest TEXT NOT NULL,"  // of the message's bytes: recognises the message itself
    "  added_at TEXT NOT NULL);"
    "CREATE TABLE record ("
    "  message_id INTEGER NOT NULL REFERENCES message (id),"
    "  position INTEGER NOT NULL,"
    "  element TEXT NOT NULL CHECK (element IN ('ReportingFI', 'AccountReport')),"
    "  doc_type_indic TEXT NOT NULL,"
    "  doc_ref_id TEXT NOT NULL CHECK (doc_ref_id <> ''),"
    "  corr_doc_ref_id TEXT,"
    "  csv_line INTEGER,"
    "  PRIMARY KEY (message_id, position)) WITHOUT ROWID;"
    "CREATE INDEX record_by_doc_ref_id ON record (doc_ref_id);"
    "CREATE INDEX record_by_corr_doc_ref_id ON record (corr_doc_ref_id) WHERE corr_doc_ref_id IS NOT NULL;",

    // 2: the authority's answers. The latest answer of a message sets its
    // status and which of its records were in error.
    "ALTER TABLE message ADD COLUMN status TEXT NOT NULL DEFAULT 'Pending'"
    "  CHECK (status IN ('Pending', 'Accepted', 'Rejected'));"
    "ALTER TABLE record ADD COLUMN in_error INTEGER NOT NULL DEFAULT 0 CHECK (in_error IN (0, 1));"
    "CREATE TABLE status_message ("
    "  id INTEGER PRIMARY KEY,"
    "  message_ref_id TEXT NOT NULL UNIQUE,"
    "  message_id INTEGER NOT NULL REFERENCES message (id),"
    "  status TEXT NOT NULL CHECK (status IN ('Accepted', 'Rejected')),"
    "  timestamp TEXT NOT NULL,"
    "  validated_by TEXT NOT NULL,"
    "  status_file TEXT NOT NULL,"
    "  imported_at TEXT NOT NULL);"
    "CREATE INDEX status_message_by_message ON status_message (message_id);"
    "CREATE TABLE status_error ("
    "  status_message_id INTEGER NOT NULL REFERENCES status_message (id),"
    "  position INTEGER NOT NULL,"   // the error's place in the status message, from 1
    "  doc_index INTEGER NOT NULL,"  // 0 for a file error; from 1 per DocRefIDInError
    "  code TEXT NOT NULL,"
    "  details TEXT NOT NULL,"
    "  doc_ref_id TEXT,"
    "  field_paths TEXT NOT NULL,"  // FieldPath values, one per line
    "  PRIMARY KEY (status_message_id, position, doc_index)) WITHOUT ROWID;",
};
static_assert(sizeof kSteps / sizeof kSteps[0] == CLCHistorySchema::kVersion, "one step per version");

}  // namespace

void CLCHistorySchema::Upgrade(sqlite3* db, int from, int to) {
  if (from == 0) {
    CLCSqlStatement::Execute(db, ("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str());
  }
  for (int version = from + 1; version <= to; ++version) CLCSqlStatement::Execute(db, kSteps[version - 1]);
  CLCSqlStatement::Execute(db, ("PRAGMA user_version = " + std::to_string(to)).c_str());
}
}  // namespace quorvex::internal
