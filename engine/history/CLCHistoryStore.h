#pragma once
#include "CLCFilingHistory.h"
#include "history/CLCSqlStatement.h"
#include "history/CLCStatusMessage.h"
#include "validate/CLCMessageRules.h"

#include <sqlite3.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace quorvex::internal {

// A record as the history holds it, with what the rules need of its message.
struct CLCFiledRecord {
  long long messageId = 0;
  std::string messageRefId;
  std::string messageStatus;  // Pending, Accepted, Rejected
  std::string institution;
  std::string docTypeIndic;
  std::string docRefId;
  std::string csvFile;
  long csvLine = 0;
  bool inError = false;

  // Held by the authority: its message was not rejected and the record was not
  // in error (an answer not yet in counts as accepted).
  bool OnFile() const { return messageStatus != "Rejected" && !inError; }
};

// A filed message to record: what the validator collected of it.
struct CLCNewMessage {
  const CLCMessageSpec* header = nullptr;
  const std::vector<CLCRecordSpec>* records = nullptr;
  std::string digest;
  std::string xmlFile;
  std::string csvFile;
  std::unordered_map<std::string, long> csvLines;  // DocRefId -> physical CSV line
};

// The database file of the filing history: opening with every check a file
// must pass before anything is written to it, the schema's upgrades, and each
// change as one transaction. Throws CLCHistoryError from the operations after
// Open; a change that throws is rolled back.
class CLCHistoryStore {
 public:
  static constexpr int kBusyTimeoutMs = 30000;

  CLCHistoryStore() = default;
  ~CLCHistoryStore();
  CLCHistoryStore(const CLCHistoryStore&) = delete;
  CLCHistoryStore& operator=(const CLCHistoryStore&) = delete;

  // False with `error` when the file is absent (Read), cannot be created, is
  // not a filing history, fails SQLite's structural check, or is newer than
  // this library; such a file is left byte for byte as it was. An older file
  // is upgraded in one transaction.
  bool Open(const std::string& path, CLCFilingHistory::Access access, std::string& error);
  void Close();
  bool IsOpen() const { return m_db != nullptr; }
  // Opened for reading a file that holds nothing yet (one being created).
  bool Empty() const { return m_empty; }

  struct MessageRow {
    long long id = 0;
    std::string digest;
    std::string addedAt;
    std::string xmlFile;
    std::string status;
    std::string csvFile;
  };
  bool FindMessage(const std::string& messageRefId, MessageRow& row) const;

  // The rules' look-ups, prepared once per check. `before` bounds the
  // messages searched: those recorded earlier than the message checked.
  class Lookups {
   public:
    explicit Lookups(const CLCHistoryStore& store);
    // A record with the DocRefId: one on file if there is one, else any.
    bool FindRecord(const std::string& docRefId, long long before, CLCFiledRecord& record);
    // The first record on file whose CorrDocRefId names docRefId.
    bool FindCorrection(const std::string& docRefId, long long before, CLCFiledRecord& record);

   private:
    CLCSqlStatement m_byDocRefId;
    CLCSqlStatement m_byCorrDocRefId;
  };

  enum class AddOutcome { Added, SameMessage, OtherMessage };
  // Records the message and its records in one transaction. SameMessage and
  // OtherMessage write nothing: `existing` holds the message recorded under
  // the MessageRefId.
  AddOutcome Add(const CLCNewMessage& message, MessageRow& existing);

  std::vector<CLCFiledMessage> List() const;

  // Files the answer against its message in one transaction; an answer older
  // than one already in is kept without changing the message's state. Fills
  // the report's errors with the records' CSV lines (advice aside). False
  // with `error` when the answered message is not in the history.
  bool ImportStatus(const CLCStatusMessage& status, const std::string& statusFile, CLCStatusReport& report,
                    std::string& error);

  // Identifies a message's bytes (64-bit FNV-1a, in hex).
  static std::string Digest(const char* data, std::size_t size);

 private:
  void Examine(long long& applicationId, long long& version, long long& objects) const;
  void Prepare(CLCFilingHistory::Access access);
  void FillErrors(const CLCStatusMessage& status, long long messageId, const std::string& csvFile,
                  CLCStatusReport& report) const;

  sqlite3* m_db = nullptr;
  bool m_empty = false;
};
}  // namespace quorvex::internal
