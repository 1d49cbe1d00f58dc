#include "history/CLCHistoryStore.h"

#include "CLCCRSCommon.h"
#include "history/CLCHistorySchema.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace quorvex::internal {

namespace {

constexpr const char* kNow = "strftime('%Y-%m-%dT%H:%M:%SZ', 'now')";

// Why the first bytes of a file show that it is no filing history; empty when
// they may be one. Such a file is never handed to SQLite, which could roll
// back a journal beside it or leave a write-ahead log.
std::string ForeignHeader(const std::string& head) {
  if (head.size() < 100 || std::memcmp(head.data(), "SQLite format 3", 16) != 0) {
    return "it is not an SQLite database (another kind of file, or a damaged one)";
  }
  const auto byte = [&](std::size_t at) { return static_cast<std::uint32_t>(static_cast<unsigned char>(head[at])); };
  const std::uint32_t id = byte(68) << 24 | byte(69) << 16 | byte(70) << 8 | byte(71);
  if (id == CLCHistorySchema::kApplicationId) return {};
  if (id == 0) return "it is an SQLite database of another program, not a filing history";
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08x", static_cast<unsigned>(id));
  return std::string("it is an SQLite database of another program (application id ") + hex + "), not a filing history";
}

// One transaction that takes the write lock at once (waiting up to the busy
// timeout), rolled back unless committed.
class Transaction {
 public:
  explicit Transaction(sqlite3* db) : m_db(db) { CLCSqlStatement::Execute(db, "BEGIN IMMEDIATE"); }
  ~Transaction() {
    if (!m_committed) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit() {
    CLCSqlStatement::Execute(m_db, "COMMIT");
    m_committed = true;
  }

 private:
  sqlite3* m_db;
  bool m_committed = false;
};

constexpr const char* kRecordColumns =
    "SELECT r.message_id, m.message_ref_id, m.status, m.institution, r.doc_type_indic, r.doc_ref_id, m.csv_file,"
    " r.csv_line, r.in_error FROM record r JOIN message m ON m.id = r.message_id ";

void ReadRecord(const CLCSqlStatement& row, CLCFiledRecord& record) {
  record.messageId = row.Int(0);
  record.messageRefId = row.Text(1);
  record.messageStatus = row.Text(2);
  record.institution = row.Text(3);
  record.docTypeIndic = row.Text(4);
  record.docRefId = row.Text(5);
  record.csvLine = static_cast<long>(row.Int(7));
  record.csvFile = record.csvLine > 0 ? row.Text(6) : std::string();
  record.inError = row.Int(8) != 0;
}

}  // namespace

CLCHistoryStore::~CLCHistoryStore() { Close(); }

void CLCHistoryStore::Close() {
  if (m_db != nullptr) sqlite3_close_v2(m_db);
  m_db = nullptr;
  m_empty = false;
}

bool CLCHistoryStore::Open(const std::string& path, CLCFilingHistory::Access access, std::string& error) {
  Close();
  error.clear();
  if (path.empty()) {
    error = "no filing history file was named";
    return false;
  }
  const char* file = path.c_str();
  const std::string refused = path + " is refused and left as it was: ";
  if (CLCCRSCommon::GetFileSize(file) < 0) {
    if (access == CLCFilingHistory::Access::Read) {
      error = "there is no filing history at " + path;
      return false;
    }
    if (!CLCCRSCommon::CreatePathDirectory(file)) {
      error = "the folder for " + path + " could not be created";
      return false;
    }
  } else {
    std::string head;
    if (!CLCCRSCommon::ReadFileBytes(file, head, 99)) {
      error = path + " cannot be read, or is not a regular file";
      return false;
    }
    if (const std::string why = head.empty() ? std::string() : ForeignHeader(head); !why.empty()) {
      error = refused + why;
      return false;
    }
  }
  const int flags = SQLITE_OPEN_READWRITE | (access == CLCFilingHistory::Access::Write ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(file, &m_db, flags, nullptr) != SQLITE_OK) {
    error = path + " cannot be opened: " + (m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory");
    Close();
    return false;
  }
  sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
  try {
    Prepare(access);
    return true;
  } catch (const CLCHistoryError& e) {
    if (!e.refused()) {
      error = path + ": " + e.what();
    } else {
      error = refused + (e.explained() ? std::string(e.what())
                                       : "it is damaged or not a filing history (" + std::string(e.what()) + ")");
    }
  }
  Close();
  return false;
}

void CLCHistoryStore::Examine(long long& applicationId, long long& version, long long& objects) const {
  CLCSqlStatement id(m_db, "PRAGMA application_id");
  applicationId = id.Step() ? id.Int(0) : 0;
  CLCSqlStatement user(m_db, "PRAGMA user_version");
  version = user.Step() ? user.Int(0) : 0;
  CLCSqlStatement count(m_db, "SELECT count(*) FROM sqlite_master");
  objects = count.Step() ? count.Int(0) : 0;
}

// Everything here reads until the file has proved to be a sound history of a
// version this library knows; only then may an upgrade write.
void CLCHistoryStore::Prepare(CLCFilingHistory::Access access) {
  long long id = 0;
  long long version = 0;
  long long objects = 0;
  Examine(id, version, objects);
  const auto blank = [&] { return id == 0 && version == 0 && objects == 0; };
  if (blank()) {
    if (access == CLCFilingHistory::Access::Read) {
      m_empty = true;
      return;
    }
    // Several processes may find the new file blank; the first to lock it
    // creates the tables, the others find them.
    Transaction creating(m_db);
    Examine(id, version, objects);
    if (blank()) CLCHistorySchema::Upgrade(m_db, 0);
    creating.Commit();
    Examine(id, version, objects);
  }
  if (id != CLCHistorySchema::kApplicationId) {
    throw CLCHistoryError("it is an SQLite database of another program, not a filing history", SQLITE_NOTADB, true);
  }
  if (version > CLCHistorySchema::kVersion) {
    throw CLCHistoryError("it was written by a newer version of Quorvex (history schema " + std::to_string(version) +
                              "; this one knows up to " + std::to_string(CLCHistorySchema::kVersion) +
                              "): use that version",
                          SQLITE_OK, true);
  }
  if (version < 1) throw CLCHistoryError("it is marked as a filing history but holds no tables", SQLITE_CORRUPT, true);
  CLCSqlStatement check(m_db, "PRAGMA quick_check(5)");
  std::string problems;
  while (check.Step()) {
    const std::string line = check.Text(0);
    if (line != "ok") problems += (problems.empty() ? "" : "; ") + line;
  }
  if (!problems.empty()) throw CLCHistoryError("it is damaged: " + problems, SQLITE_CORRUPT, true);
  if (version < CLCHistorySchema::kVersion) {
    Transaction upgrading(m_db);
    Examine(id, version, objects);
    if (version < CLCHistorySchema::kVersion) CLCHistorySchema::Upgrade(m_db, static_cast<int>(version));
    upgrading.Commit();
  }
  if (access == CLCFilingHistory::Access::Write) {
    // Readers then never wait for a writer. Should another process hold the
    // file too long, it stays in rollback-journal mode, which is as safe.
    sqlite3_exec(m_db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
  }
  CLCSqlStatement::Execute(m_db, "PRAGMA foreign_keys = ON");
}

bool CLCHistoryStore::FindMessage(const std::string& messageRefId, MessageRow& row) const {
  if (m_empty) return false;
  CLCSqlStatement find(
      m_db, "SELECT id, digest, added_at, xml_file, status, csv_file FROM message WHERE message_ref_id = ?1");
  if (!find.Bind(1, messageRefId).Step()) return false;
  row.id = find.Int(0);
  row.digest = find.Text(1);
  row.addedAt = find.Text(2);
  row.xmlFile = find.Text(3);
  row.status = find.Text(4);
  row.csvFile = find.Text(5);
  return true;
}

CLCHistoryStore::Lookups::Lookups(const CLCHistoryStore& store)
    : m_byDocRefId(store.m_db, (std::string(kRecordColumns) +
                                "WHERE r.doc_ref_id = ?1 AND r.message_id < ?2"
                                " ORDER BY (m.status = 'Rejected' OR r.in_error = 1), r.message_id, r.position LIMIT 1")
                                   .c_str()),
      m_byCorrDocRefId(store.m_db, (std::string(kRecordColumns) + "WHERE r.corr_doc_ref_id = ?1 AND r.message_id < ?2"
                                                                  " AND m.status <> 'Rejected' AND r.in_error = 0"
                                                                  " ORDER BY r.message_id, r.position LIMIT 1")
                                       .c_str()) {}

bool CLCHistoryStore::Lookups::FindRecord(const std::string& docRefId, long long before, CLCFiledRecord& record) {
  m_byDocRefId.Reset();
  if (!m_byDocRefId.Bind(1, docRefId).Bind(2, before).Step()) return false;
  ReadRecord(m_byDocRefId, record);
  return true;
}

bool CLCHistoryStore::Lookups::FindCorrection(const std::string& docRefId, long long before, CLCFiledRecord& record) {
  m_byCorrDocRefId.Reset();
  if (!m_byCorrDocRefId.Bind(1, docRefId).Bind(2, before).Step()) return false;
  ReadRecord(m_byCorrDocRefId, record);
  return true;
}

CLCHistoryStore::AddOutcome CLCHistoryStore::Add(const CLCNewMessage& message, MessageRow& existing) {
  const CLCMessageSpec& header = *message.header;
  Transaction adding(m_db);
  if (FindMessage(header.messageRefId, existing)) {
    return existing.digest == message.digest ? AddOutcome::SameMessage : AddOutcome::OtherMessage;
  }
  CLCSqlStatement insert(m_db, (std::string("INSERT INTO message (message_ref_id, message_type_indic, "
                                            "transmitting_country, receiving_country, institution, reporting_period, "
                                            "xml_file, csv_file, digest, added_at) "
                                            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ") +
                                kNow + ")")
                                   .c_str());
  insert.Bind(1, header.messageRefId)
      .Bind(2, header.messageTypeIndic)
      .Bind(3, header.transmittingCountry)
      .Bind(4, header.receivingCountry)
      .Bind(5, header.Institution())
      .Bind(6, header.reportingPeriod)
      .Bind(7, message.xmlFile)
      .BindOptional(8, message.csvFile)
      .Bind(9, message.digest)
      .Run();
  const long long id = sqlite3_last_insert_rowid(m_db);
  CLCSqlStatement record(m_db,
                         "INSERT INTO record (message_id, position, element, doc_type_indic, doc_ref_id, "
                         "corr_doc_ref_id, csv_line) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  long long position = 0;
  for (const CLCRecordSpec& filed : *message.records) {
    record.Reset();
    const bool fi = filed.docRefIdAt.path.find("/ReportingFI/") != std::string::npos;
    record.Bind(1, id).Bind(2, ++position).Bind(3, std::string(fi ? "ReportingFI" : "AccountReport"));
    record.Bind(4, filed.docTypeIndic).Bind(5, filed.docRefId).BindOptional(6, filed.corrDocRefId);
    const auto line = message.csvLines.find(filed.docRefId);
    if (line != message.csvLines.end()) {
      record.Bind(7, static_cast<long long>(line->second));
    } else {
      record.BindNull(7);
    }
    record.Run();
  }
  adding.Commit();
  return AddOutcome::Added;
}

std::vector<CLCFiledMessage> CLCHistoryStore::List() const {
  std::vector<CLCFiledMessage> messages;
  if (m_empty) return messages;
  CLCSqlStatement list(m_db,
                       "SELECT m.message_ref_id, m.message_type_indic, m.transmitting_country, m.receiving_country,"
                       " m.institution, m.reporting_period, m.xml_file, m.csv_file, m.added_at, m.status,"
                       " (SELECT count(*) FROM record r WHERE r.message_id = m.id),"
                       " (SELECT count(*) FROM record r WHERE r.message_id = m.id AND r.in_error = 1)"
                       " FROM message m ORDER BY m.id");
  while (list.Step()) {
    CLCFiledMessage message;
    message.messageRefId = list.Text(0);
    message.messageTypeIndic = list.Text(1);
    message.transmittingCountry = list.Text(2);
    message.receivingCountry = list.Text(3);
    message.institution = list.Text(4);
    message.reportingPeriod = list.Text(5);
    message.xmlFile = list.Text(6);
    message.csvFile = list.Text(7);
    message.addedAt = list.Text(8);
    message.status = list.Text(9);
    message.records = static_cast<long>(list.Int(10));
    message.recordsInError = static_cast<long>(list.Int(11));
    messages.push_back(std::move(message));
  }
  return messages;
}

bool CLCHistoryStore::ImportStatus(const CLCStatusMessage& status, const std::string& statusFile,
                                   CLCStatusReport& report, std::string& error) {
  Transaction importing(m_db);
  MessageRow message;
  if (!FindMessage(status.originalMessageRefId, message)) {
    error = "it answers message " + status.originalMessageRefId +
            ", which is not in the filing history: record the filed message with `quorvex history add` first";
    FillErrors(status, 0, std::string(), report);  // no message 0: the errors as they stand
    return false;
  }
  CLCSqlStatement known(m_db, "SELECT 1 FROM status_message WHERE message_ref_id = ?1");
  report.alreadyImported = known.Bind(1, status.messageRefId).Step();
  if (!report.alreadyImported) {
    std::string validatedBy;
    for (const std::string& by : status.validatedBy) validatedBy += (validatedBy.empty() ? "" : "\n") + by;
    CLCSqlStatement insert(m_db, (std::string("INSERT INTO status_message (message_ref_id, message_id, status, "
                                              "timestamp, validated_by, status_file, imported_at) "
                                              "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ") +
                                  kNow + ")")
                                     .c_str());
    insert.Bind(1, status.messageRefId)
        .Bind(2, message.id)
        .Bind(3, status.status)
        .Bind(4, status.timestamp)
        .Bind(5, validatedBy)
        .Bind(6, statusFile)
        .Run();
    const long long statusId = sqlite3_last_insert_rowid(m_db);
    CLCSqlStatement insertError(m_db,
                                "INSERT INTO status_error (status_message_id, position, doc_index, code, details,"
                                " doc_ref_id, field_paths) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    long long position = 0;
    for (const CLCStatusMessage::Error& entry : status.errors) {
      ++position;
      std::string paths;
      for (const std::string& path : entry.fieldPaths) paths += (paths.empty() ? "" : "\n") + path;
      // A record error that names no record is kept like a file error.
      const std::size_t count = entry.fileError || entry.docRefIds.empty() ? 1 : entry.docRefIds.size();
      for (std::size_t index = 0; index < count; ++index) {
        const bool named = !entry.fileError && !entry.docRefIds.empty();
        insertError.Reset();
        insertError.Bind(1, statusId).Bind(2, position).Bind(3, named ? static_cast<long long>(index) + 1 : 0LL);
        insertError.Bind(4, entry.code).Bind(5, entry.details);
        insertError.BindOptional(6, named ? entry.docRefIds[index] : std::string()).Bind(7, paths).Run();
      }
    }
    // The latest answer decides what is on file; one that arrives late is kept
    // for the record only.
    CLCSqlStatement later(m_db, "SELECT count(*) FROM status_message WHERE message_id = ?1 AND timestamp > ?2");
    later.Bind(1, message.id).Bind(2, status.timestamp).Step();
    if (later.Int(0) == 0) {
      CLCSqlStatement state(m_db, "UPDATE message SET status = ?2 WHERE id = ?1");
      state.Bind(1, message.id).Bind(2, status.status).Run();
      CLCSqlStatement clear(m_db, "UPDATE record SET in_error = 0 WHERE message_id = ?1");
      clear.Bind(1, message.id).Run();
      CLCSqlStatement mark(m_db,
                           "UPDATE record SET in_error = 1 WHERE message_id = ?1 AND doc_ref_id IN"
                           " (SELECT doc_ref_id FROM status_error WHERE status_message_id = ?2"
                           " AND doc_ref_id IS NOT NULL)");
      mark.Bind(1, message.id).Bind(2, statusId).Run();
    }
    importing.Commit();
    report.imported = true;
  }
  FillErrors(status, message.id, message.csvFile, report);
  return true;
}

void CLCHistoryStore::FillErrors(const CLCStatusMessage& status, long long messageId, const std::string& csvFile,
                                 CLCStatusReport& report) const {
  CLCSqlStatement find(m_db,
                       "SELECT doc_type_indic, csv_line FROM record WHERE message_id = ?1 AND doc_ref_id = ?2"
                       " ORDER BY position LIMIT 1");
  for (const CLCStatusMessage::Error& entry : status.errors) {
    CLCStatusError error;
    error.fileError = entry.fileError;
    error.code = entry.code;
    error.details = entry.details;
    error.fieldPaths = entry.fieldPaths;
    if (entry.fileError || entry.docRefIds.empty()) {
      report.errors.push_back(error);
      continue;
    }
    for (const std::string& docRefId : entry.docRefIds) {
      CLCStatusError one = error;
      one.docRefId = docRefId;
      find.Reset();
      if (find.Bind(1, messageId).Bind(2, docRefId).Step()) {
        one.docTypeIndic = find.Text(0);
        one.csvLine = static_cast<long>(find.Int(1));
        if (one.csvLine > 0) one.csvFile = csvFile;
      }
      report.errors.push_back(std::move(one));
    }
  }
}

std::string CLCHistoryStore::Digest(const char* data, std::size_t size) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (std::size_t i = 0; i < size; ++i) {
    hash ^= static_cast<unsigned char>(data[i]);
    hash *= 0x100000001b3ULL;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string(hex, 16) + "-" + std::to_string(size);
}
}  // namespace quorvex::internal
