#include "CLCFilingHistory.h"

#include "CLCCRSCommon.h"
#include "csv/CLCCRSRecordOrigins.h"
#include "history/CLCHistoryRules.h"
#include "history/CLCHistoryStore.h"
#include "history/CLCStatusMessage.h"
#include "validate/CLCMessageValidator.h"

#include <algorithm>
#include <exception>
#include <new>
#include <unordered_map>

using namespace quorvex::internal;

namespace {

// Why an operation stopped, from whatever it threw.
std::string Reason(const std::exception_ptr& thrown) {
  try {
    std::rethrow_exception(thrown);
  } catch (const CLCHistoryError& e) {
    return e.refused() ? std::string("the filing history is damaged: ") + e.what() +
                             "; it was left as it was: restore it from a backup"
                       : std::string(e.what());
  } catch (const std::bad_alloc&) {
    return "out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an unexpected error";
  }
}

bool Before(const CLCValidationFinding& a, const CLCValidationFinding& b) {
  return a.line != b.line ? a.line < b.line : a.column < b.column;
}

}  // namespace

CLCFilingHistory::CLCFilingHistory() = default;
CLCFilingHistory::~CLCFilingHistory() = default;

std::string CLCFilingHistory::DefaultPath() {
  try {
    // A relative XDG_DATA_HOME counts as unset, as XDG's base directories say.
    const char* data = CLCCRSCommon::GetEnvironment("XDG_DATA_HOME");
    std::string base;
    if (data != nullptr && data[0] == '/') {
      base = data;
    } else {
      const std::string home = CLCCRSCommon::homeDirectory();
      if (home.empty()) return {};
      base = CLCCRSCommon::appendFilePath(home.c_str(), ".local/share");
    }
    return CLCCRSCommon::appendFilePath(CLCCRSCommon::appendFilePath(base.c_str(), "quorvex").c_str(),
                                        "history.sqlite3");
  } catch (...) {
    return {};
  }
}

bool CLCFilingHistory::Open(const char* path, Access access) {
  m_pStore.reset();
  m_error.clear();
  try {
    m_path = path != nullptr ? path : "";
    auto store = std::make_unique<CLCHistoryStore>();
    if (!store->Open(m_path, access, m_error)) return false;
    m_pStore = std::move(store);
    m_access = access;
    return true;
  } catch (...) {
    m_error = Reason(std::current_exception());
    return false;
  }
}

void CLCFilingHistory::Close() { m_pStore.reset(); }

bool CLCFilingHistory::IsOpen() const { return m_pStore != nullptr; }

CLCHistoryAddResult CLCFilingHistory::Add(const char* xmlPath, const char* csvPath) {
  CLCHistoryAddResult result;
  try {
    std::string bytes;
    if (xmlPath == nullptr || !CLCCRSCommon::ReadFileBytes(xmlPath, bytes)) {
      result.error = "the message " + std::string(xmlPath != nullptr ? xmlPath : "") + " cannot be read";
      return result;
    }
    return AddBuffer(bytes.data(), bytes.size(), xmlPath, csvPath);
  } catch (...) {
    result.error = Reason(std::current_exception());
    return result;
  }
}

CLCHistoryAddResult CLCFilingHistory::AddBuffer(const char* data, std::size_t size, const char* xmlName,
                                                const char* csvPath) {
  CLCHistoryAddResult result;
  try {
    if (m_pStore == nullptr || m_access != Access::Write) {
      result.error = "the filing history is not open for recording";
      return result;
    }
    const std::string name = xmlName != nullptr ? xmlName : "";
    CLCNewMessage message;
    message.xmlFile = name;
    if (csvPath != nullptr && *csvPath != '\0') {
      std::string csv;
      if (!CLCCRSCommon::ReadFileBytes(csvPath, csv)) {
        result.error = "the CSV file " + std::string(csvPath) + " cannot be read";
        return result;
      }
      for (const CLCRecordOrigin& origin : CLCCRSRecordOrigins::List(csv)) {
        message.csvLines.emplace(origin.docRefId, origin.fileLine);
      }
      message.csvFile = csvPath;
    }
    message.digest = CLCHistoryStore::Digest(data != nullptr ? data : "", data != nullptr ? size : 0);

    // The validator's one pass collects what is recorded, and the rules say
    // what the authority may refuse, against the history as it stands.
    bool collected = false;
    CLCMessageSpec header;
    std::vector<CLCRecordSpec> records;
    const CLCValidationResult validation = CLCMessageValidator::Validate(
        data, size, CLCValidationContext::Automatic,
        [&](const CLCMessageSpec& found, const std::vector<CLCRecordSpec>& foundRecords,
            std::vector<CLCValidationFinding>& findings, std::string& note) {
          collected = true;
          header = found;
          records = foundRecords;
          CLCHistoryRules::Check(*m_pStore, found, foundRecords, message.digest, findings, note);
        });
    if (!collected) {
      std::string why = validation.note;
      if (why.empty() && !validation.findings.empty()) {
        const CLCValidationFinding& first = validation.findings.front();
        why = "line " + std::to_string(first.line) + ", column " + std::to_string(first.column) + ": " + first.message;
      }
      result.error = name + " is not a CRS XML 2.0 message that can be recorded: " + why;
      return result;
    }
    if (header.messageRefId.empty()) {
      result.error = name + " has no MessageRefId: a message without one cannot be recorded";
      return result;
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
      if (!records[i].docRefId.empty()) continue;
      result.error = name + ": record " + std::to_string(i + 1) + " has no DocRefId: the message cannot be recorded";
      return result;
    }
    result.messageRefId = header.messageRefId;
    result.records = static_cast<long>(records.size());
    result.recordsWithCsvLine = static_cast<long>(std::count_if(
        records.begin(), records.end(), [&](const auto& r) { return message.csvLines.count(r.docRefId) > 0; }));
    if (!message.csvFile.empty() && result.recordsWithCsvLine == 0) {
      result.error =
          "no DocRefId of " + name + " is in " + message.csvFile + ": it is not the CSV file the message was made from";
      return result;
    }
    result.findings = validation.findings;
    message.header = &header;
    message.records = &records;
    CLCHistoryStore::MessageRow existing;
    switch (m_pStore->Add(message, existing)) {
      case CLCHistoryStore::AddOutcome::Added:
        result.recorded = true;
        break;
      case CLCHistoryStore::AddOutcome::SameMessage:
        result.alreadyRecorded = true;
        break;
      case CLCHistoryStore::AddOutcome::OtherMessage:
        result.error = "MessageRefId " + header.messageRefId + " is already in the history for another message (" +
                       existing.xmlFile + ", recorded " + existing.addedAt +
                       "): every message needs a MessageRefId of its own";
        break;
    }
  } catch (...) {
    result.error = Reason(std::current_exception());
  }
  return result;
}

CLCValidationResult CLCFilingHistory::Check(const char* data, std::size_t size) const {
  CLCValidationResult result;
  try {
    if (m_pStore == nullptr) {
      result.note = "no filing history is open";
      return result;
    }
    const std::string digest = CLCHistoryStore::Digest(data != nullptr ? data : "", data != nullptr ? size : 0);
    bool collected = false;
    std::vector<CLCValidationFinding> own;
    std::string note;
    const CLCValidationResult validation =
        CLCMessageValidator::Validate(data, size, CLCValidationContext::Automatic,
                                      [&](const CLCMessageSpec& message, const std::vector<CLCRecordSpec>& records,
                                          std::vector<CLCValidationFinding>&, std::string&) {
                                        collected = true;
                                        CLCHistoryRules::Check(*m_pStore, message, records, digest, own, note);
                                      });
    result.context = validation.context;
    if (!collected) {
      result.note =
          "not checked against the filing history: " +
          (validation.note.empty() ? std::string("the message is not well-formed CRS XML 2.0") : validation.note);
      return result;
    }
    std::stable_sort(own.begin(), own.end(), Before);
    result.findings = std::move(own);
    result.note = std::move(note);
    result.valid = std::none_of(result.findings.begin(), result.findings.end(),
                                [](const auto& finding) { return finding.severity == CLCFindingSeverity::Error; });
  } catch (...) {
    result = CLCValidationResult();
    result.note = "not checked against the filing history: " + Reason(std::current_exception());
  }
  return result;
}

std::vector<CLCFiledMessage> CLCFilingHistory::List() {
  m_error.clear();
  try {
    if (m_pStore == nullptr) {
      m_error = "no filing history is open";
      return {};
    }
    return m_pStore->List();
  } catch (...) {
    m_error = Reason(std::current_exception());
    return {};
  }
}

CLCStatusReport CLCFilingHistory::ImportStatus(const char* statusPath) {
  CLCStatusReport report;
  try {
    std::string bytes;
    if (statusPath == nullptr || !CLCCRSCommon::ReadFileBytes(statusPath, bytes)) {
      report.error = "the status message " + std::string(statusPath != nullptr ? statusPath : "") + " cannot be read";
      return report;
    }
    return ImportStatusBuffer(bytes.data(), bytes.size(), statusPath);
  } catch (...) {
    report.error = Reason(std::current_exception());
    return report;
  }
}

CLCStatusReport CLCFilingHistory::ImportStatusBuffer(const char* data, std::size_t size, const char* statusName) {
  CLCStatusReport report;
  try {
    const std::string name = statusName != nullptr ? statusName : "";
    if (m_pStore == nullptr || m_access != Access::Write) {
      report.error = "the filing history is not open for recording";
      return report;
    }
    CLCStatusMessage status;
    std::string error;
    if (!CLCStatusMessage::Parse(data, size, status, error)) {
      report.error = name + ": " + error;
      return report;
    }
    report.statusMessageRefId = status.messageRefId;
    report.originalMessageRefId = status.originalMessageRefId;
    report.status = status.status;
    report.timestamp = status.timestamp;
    report.validatedBy = status.validatedBy;
    if (!m_pStore->ImportStatus(status, name, report, error)) report.error = name + ": " + error;
    for (CLCStatusError& entry : report.errors) {
      entry.advice = status.Advice(entry.fileError, entry.docRefId, entry.docTypeIndic);
    }
  } catch (...) {
    report.error = Reason(std::current_exception());
  }
  return report;
}
