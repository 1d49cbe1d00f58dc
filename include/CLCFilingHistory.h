#pragma once
#include "CLCValidationResult.h"
#include "quorvex_export.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::internal {
class CLCHistoryStore;
}

// One message of the filing history.
struct CLCFiledMessage {
  std::string messageRefId;
  std::string messageTypeIndic;  // CRS701, CRS702, CRS703; empty when the message had none
  std::string transmittingCountry;
  std::string receivingCountry;
  std::string institution;  // SendingCompanyIN, else the ReportingFI's IN
  std::string reportingPeriod;
  std::string xmlFile;      // as named when it was recorded
  std::string csvFile;      // empty when no CSV file was named
  std::string addedAt;      // UTC, "2024-04-01T09:30:15Z"
  std::string status;       // "Pending" until the authority answers, then "Accepted" or "Rejected"
  long records = 0;         // ReportingFI and AccountReport records
  long recordsInError = 0;  // named by the latest answer
};

// What recording a filed message did.
struct CLCHistoryAddResult {
  bool recorded = false;         // written by this call
  bool alreadyRecorded = false;  // the same message (byte for byte) was in the history: nothing written
  std::string messageRefId;
  long records = 0;
  long recordsWithCsvLine = 0;
  // What the receiving authority may refuse in it, the rules that need earlier
  // filings included, as they stood before it was recorded.
  std::vector<CLCValidationFinding> findings;
  std::string error;  // why nothing was recorded; empty on success
};

// One error of a status message as it concerns the institution: a file error,
// or a record error for one DocRefId in error (a record error naming three
// records gives three entries).
struct CLCStatusError {
  bool fileError = false;
  std::string code;
  std::string details;
  std::vector<std::string> fieldPaths;
  std::string docRefId;      // record errors
  std::string docTypeIndic;  // of that record as filed; empty when the history does not hold it
  std::string csvFile;       // where the record came from, when the message was recorded with its CSV
  long csvLine = 0;          // 1-based physical line; 0 when unknown
  std::string advice;        // what to do, in English
};

// The receiving authority's answer to one filed message (the OECD CRS Status
// Message), as imported into the history.
struct CLCStatusReport {
  std::string statusMessageRefId;
  std::string originalMessageRefId;
  std::string status;  // "Accepted" or "Rejected"
  std::string timestamp;
  std::vector<std::string> validatedBy;
  bool imported = false;               // written by this call
  bool alreadyImported = false;        // this status message was in the history: nothing written
  std::vector<CLCStatusError> errors;  // in the order of the status message
  std::string error;                   // why it was not imported; empty on success
};

// The institution's own filing history: the CRS XML messages it filed, each
// record with the CSV line it came from, and the receiving authority's
// answers. Some of the authority's rejections can only be foreseen with it:
// a MessageRefId used before (50009), a DocRefId used before (80000), a
// CorrDocRefId that names no record on file (80002) or one already corrected
// or deleted (80003).
//
// One SQLite database file (WAL, one transaction per change, a busy timeout),
// so that several processes may record at once. A file that is not a filing
// history, is damaged, or was written by a newer version is refused and never
// written to. One object serves one thread at a time; separate objects may
// share a file from any threads or processes.
class QUORVEX_EXPORT CLCFilingHistory {
 public:
  enum class Access {
    Read,   // an existing history; nothing is created
    Write,  // created, with its folders, when absent
  };

  CLCFilingHistory();
  ~CLCFilingHistory();
  CLCFilingHistory(const CLCFilingHistory&) = delete;
  CLCFilingHistory& operator=(const CLCFilingHistory&) = delete;

  // $XDG_DATA_HOME/quorvex/history.sqlite3, or ~/.local/share/quorvex/... when
  // XDG_DATA_HOME is unset, empty or relative; empty when neither is known.
  static std::string DefaultPath();

  // Opens the file (UTF-8 path); false with Error() when it is absent (Read),
  // cannot be created, is not a filing history, is damaged or is newer than
  // this library. An older history is brought up to date.
  bool Open(const char* path, Access access);
  void Close();
  bool IsOpen() const;
  const std::string& Path() const { return m_path; }
  // Why the last Open or List failed.
  const std::string& Error() const { return m_error; }

  // Records a filed CRS XML 2.0 message, and with csvPath the CSV line of each
  // of its DocRefIds, in one transaction: all or nothing. Needs Write access.
  CLCHistoryAddResult Add(const char* xmlPath, const char* csvPath = nullptr);
  CLCHistoryAddResult AddBuffer(const char* data, std::size_t size, const char* xmlName, const char* csvPath = nullptr);

  // The findings of the rules that need the history (50009, 80000, 80002,
  // 80003) for a message, at their positions in it; `valid` when none is an
  // error, `note` for what could not be checked. A message recorded here
  // itself is checked against the messages recorded before it.
  CLCValidationResult Check(const char* data, std::size_t size) const;

  // Every message in the order recorded; empty with Error() when it cannot be read.
  std::vector<CLCFiledMessage> List();

  // Imports the authority's status message (urn:oecd:ties:csm:v2) for a
  // recorded message, in one transaction. Needs Write access.
  CLCStatusReport ImportStatus(const char* statusPath);
  CLCStatusReport ImportStatusBuffer(const char* data, std::size_t size, const char* statusName);

 private:
  friend class CLCCsvConvDataCRS;

  std::unique_ptr<quorvex::internal::CLCHistoryStore> m_pStore;
  Access m_access = Access::Read;
  std::string m_path;
  std::string m_error;
};
