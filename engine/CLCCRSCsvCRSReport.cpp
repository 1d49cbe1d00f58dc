#include "CLCCRSCsvCRSReport.h"

#include "CLCCRSCommon.h"
#include "CLCCRSRecordData.h"
#include "CLCValidResult.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

// Column counts allowed per kind "1" to "4".
struct KindRange {
  std::size_t min;
  std::size_t max;
};
constexpr KindRange kKindRanges[4] = {{45, 150}, {150, 150}, {100, 150}, {5, 150}};

// Bytes that end a run of ordinary column text outside quotes.
struct ByteTable {
  bool special[256];
};
constexpr ByteTable MakeSpecialBytes() {
  ByteTable table{};
  table.special[static_cast<unsigned char>('"')] = true;
  table.special[static_cast<unsigned char>(',')] = true;
  table.special[static_cast<unsigned char>('\r')] = true;
  table.special[static_cast<unsigned char>('\n')] = true;
  return table;
}
constexpr ByteTable kSpecialBytes = MakeSpecialBytes();

// A column whose first and last bytes are visible ASCII has nothing to trim; every
// other column goes through the platform trim (which knows the Unicode white space).
bool NeedsTrim(const std::string& column) {
  if (column.empty()) return false;
  const auto visible = [](unsigned char c) { return c > 0x20 && c < 0x7F; };
  return !visible(static_cast<unsigned char>(column.front())) ||
         !visible(static_cast<unsigned char>(column.back()));
}

// True when the column holds a character that no value may carry: a byte
// sequence that was not Shift_JIS (read as U+FFFD) or a control character that
// XML cannot hold (tab, CR and LF are fine).
bool HasUnusableCharacter(const std::string& column) {
  const std::size_t size = column.size();
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char c = static_cast<unsigned char>(column[i]);
    if (c >= 0x20 && c != 0x7F && c != 0xEF) continue;
    if (c < 0x20 && (c == '\t' || c == '\n' || c == '\r')) continue;
    if (c == 0xEF && column.compare(i, 3, "\xEF\xBF\xBD") != 0) continue;
    return true;
  }
  return false;
}

// 1 to 4 for the kind codes, 0 for anything else.
int KindOf(std::string_view code) {
  if (code.size() != 1 || code[0] < '1' || code[0] > '4') return 0;
  return code[0] - '0';
}

std::string_view View(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

// Column (1-based) of the record at that position of a kind list; empty when absent.
std::string_view Column(CLCCRSCRSReport& list, long record, long column) {
  return View(list.GetColumnValue(record, column - 1));
}

void Record(CLCCRSMessage_t message, long line, long column) {
  CLCValidResult::instance()->SetResult(message, line, column, -1);
}

// Reports every record whose column value occurs more than once in the list, in
// ascending line order. One hash lookup per record keeps it linear.
int ReportDuplicates(CLCCRSCRSReport& list, long column, bool emptyCounts, CLCCRSMessage_t message) {
  const long count = list.GetRecordCount();
  std::unordered_map<std::string_view, long> firstWithValue;
  firstWithValue.reserve(static_cast<std::size_t>(count));
  std::vector<bool> duplicate(static_cast<std::size_t>(count), false);
  bool any = false;
  for (long r = 0; r < count; ++r) {
    const std::string_view value = Column(list, r, column);
    if (!emptyCounts && value.empty()) continue;
    const auto [first, inserted] = firstWithValue.try_emplace(value, r);
    if (inserted) continue;
    duplicate[static_cast<std::size_t>(first->second)] = true;
    duplicate[static_cast<std::size_t>(r)] = true;
    any = true;
  }
  if (!any) return 0;
  std::vector<long> lines;
  for (long r = 0; r < count; ++r) {
    if (duplicate[static_cast<std::size_t>(r)]) lines.push_back(list.GetLineNo(r));
  }
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  for (long line : lines) Record(message, line, column);
  return message;
}

// Birth dates after the reporting period give message 10 at the column; a text that
// is not a date is fatal (1).
int CheckBirthDates(CLCCRSCRSReport& header, CLCCRSCRSReport& list, long column, const char* routine) {
  const long count = list.GetRecordCount();
  if (count == 0) return 0;
  const char* reportingPeriod = header.GetColumnValue(0, 6);
  if (reportingPeriod == nullptr) {
    CRS_FATAL(routine);
    return 1;
  }
  int status = 0;
  // Date parsing is costly and birth dates repeat: compare each distinct value once.
  std::unordered_map<std::string_view, int> orderByDate;
  for (long r = 0; r < count; ++r) {
    const char* birthDate = list.GetColumnValue(r, column - 1);
    if (birthDate == nullptr || *birthDate == '\0') continue;
    const auto [known, inserted] = orderByDate.try_emplace(birthDate, 0);
    if (inserted) known->second = CLCCRSCommon::dateTimeComp(reportingPeriod, birthDate);
    const int order = known->second;
    if (order < 0) {
      CRS_FATAL(routine);
      return 1;
    }
    if (order == 2) {
      Record(CRSMSG_INVALID, list.GetLineNo(r), column);
      status = CRSMSG_INVALID;
    }
  }
  return status;
}

// Every record of the list must name, in column 2, the DocRefId of some account.
int CheckAccountLinks(CLCCRSCRSReport& list, CLCCRSAccountReport& accounts) {
  std::unordered_set<std::string_view> docRefIds;
  const long accountCount = accounts.GetRecordCount();
  docRefIds.reserve(static_cast<std::size_t>(accountCount));
  for (long a = 0; a < accountCount; ++a) docRefIds.insert(Column(accounts, a, 3));

  int status = 0;
  const long count = list.GetRecordCount();
  for (long r = 0; r < count; ++r) {
    if (docRefIds.count(Column(list, r, 2)) != 0) continue;
    Record(CRSMSG_INVALID, list.GetLineNo(r), 2);
    status = CRSMSG_INVALID;
  }
  return status;
}

}  // namespace

CLCCRSCsvCRSReport::CLCCRSCsvCRSReport() = default;

CLCCRSCsvCRSReport::~CLCCRSCsvCRSReport() = default;

// The tokeniser. Runs of ordinary bytes are appended in one go; only the four
// special bytes (quote, comma, CR, LF) are looked at one by one.
bool CLCCRSCsvCRSReport::Parse(std::string_view text) {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::Parse";
  try {
    if (text.data() == nullptr) {
      CRS_FATAL(kRoutine);
      return false;
    }
    // A NUL byte would end a NUL-terminated text early and silently drop the rest
    // of the file; such a file is refused as a whole.
    if (std::memchr(text.data(), '\0', text.size()) != nullptr) {
      CLCValidResult::instance()->SetResult(CRSMSG_CSV_FORMAT, 0, 0, -1);
      return false;
    }

    const char* p = text.data();
    const char* const end = p + text.size();
    const char* columnStart = p;
    bool inQuotes = false;
    std::string column;
    std::vector<std::string> record;

    for (;;) {
      if (inQuotes) {
        const char* quote = static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(end - p)));
        // A file cut off inside a quoted column has lost its end.
        if (quote == nullptr) {
          CLCValidResult::instance()->SetResult(CRSMSG_CSV_FORMAT, 0, 0, -1);
          return false;
        }
        column.append(p, static_cast<std::size_t>(quote - p));
        if (quote + 1 < end && quote[1] == '"') {
          column.push_back('"');
          p = quote + 2;
        } else {
          // Text after the closing quote joins the same column.
          inQuotes = false;
          p = quote + 1;
        }
        continue;
      }

      const char* q = p;
      while (q < end && !kSpecialBytes.special[static_cast<unsigned char>(*q)]) ++q;
      if (q != p) column.append(p, static_cast<std::size_t>(q - p));
      if (q == end) return ColumnTerm(column, record, true);

      const char c = *q;
      p = q + 1;
      if (c == '"') {
        // Only a quote at the column's first byte opens a quoted column.
        if (q == columnStart) {
          inQuotes = true;
        } else {
          column.push_back('"');
        }
      } else if (c == ',') {
        if (!ColumnTerm(column, record, false)) return false;
        columnStart = p;
      } else {  // CR, LF or CR LF ends the record
        if (!ColumnTerm(column, record, true)) return false;
        if (c == '\r' && p < end && *p == '\n') ++p;
        columnStart = p;
      }
    }
  } catch (const std::bad_alloc&) {
    CRS_FATAL_MSG(kRoutine, CLCDebugDump::kAllocFailed);
    return false;
  } catch (...) {
    CRS_FATAL(kRoutine);
    return false;
  }
}

bool CLCCRSCsvCRSReport::ColumnTerm(std::string& column, std::vector<std::string>& record, bool endOfRecord) {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::ColumnTerm";
  try {
    if (NeedsTrim(column)) {
      record.push_back(CLCCRSCommon::StringTrim(column.c_str()));
    } else {
      record.push_back(std::move(column));
    }
    column.clear();
    // Reported where it stands, and tokenising goes on so that every one is found.
    if (HasUnusableCharacter(record.back())) {
      ++m_lUnusableCount;
      CLCValidResult::instance()->SetResult(CRSMSG_BAD_CHARACTER, m_lLineCnt + 1,
                                            static_cast<long>(record.size()), -1);
    }
    if (!endOfRecord) return true;

    if (!ValidateRecord(record)) {
      record.clear();
      return false;
    }
    // A single column can only be a blank line here: neither stored nor counted.
    if (record.size() > 1) {
      std::unique_ptr<CLCCRSRecordData> data;
      try {
        data = std::make_unique<CLCCRSRecordData>(record, m_lLineCnt + 1);
      } catch (const std::bad_alloc&) {
        CRS_FATAL_MSG(kRoutine, CLCDebugDump::kCreateFailed);
        record.clear();
        return false;
      }
      m_vecRecords.push_back(std::move(data));
      ++m_lLineCnt;
    }
    record.clear();
    return true;
  } catch (...) {
    CRS_FATAL(kRoutine);
    record.clear();
    return false;
  }
}

bool CLCCRSCsvCRSReport::ValidateRecord(std::vector<std::string>& columns) {
  try {
    if (columns.size() == 1 && columns[0].empty()) return true;
    const int kind = columns.empty() ? 0 : KindOf(columns[0]);
    if (kind != 0) {
      const KindRange& range = kKindRanges[kind - 1];
      if (columns.size() >= range.min && columns.size() <= range.max) {
        // The order is only judged after tokenising, by ValidateCsv.
        if (kind < m_lLastKind) {
          m_bKindOrderValid = false;
        } else {
          m_lLastKind = kind;
        }
        ++m_lKindCount[kind - 1];
        return true;
      }
    }
    CLCValidResult::instance()->SetResult(CRSMSG_CSV_FORMAT, 0, 0, -1);
    return false;
  } catch (...) {
    CRS_FATAL("CLCCRSCsvCRSReport::ValidateRecord");
    return false;
  }
}

bool CLCCRSCsvCRSReport::ValidateCsv() {
  CLCValidResult* result = CLCValidResult::instance();
  if (m_vecRecords.empty()) {
    result->SetResult(CRSMSG_NO_RECORD, 0, 0, -1);
    return false;
  }
  if (m_lKindCount[0] != 1) {
    result->SetResult(CRSMSG_HEADER_COUNT, 0, 0, -1);
    return false;
  }
  if (!m_bKindOrderValid) {
    result->SetResult(CRSMSG_CSV_FORMAT, 0, 0, -1);
    return false;
  }
  return true;
}

bool CLCCRSCsvCRSReport::DistributeRecord(long index) {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::DistributeRecord";
  try {
    if (index < 0 || static_cast<std::size_t>(index) >= m_vecRecords.size()) {
      CRS_FATAL(kRoutine);
      return false;
    }
    CLCCRSRecordData* record = m_vecRecords[static_cast<std::size_t>(index)].get();
    switch (KindOf(View(record->GetColumnValue(0)))) {
      case 1: m_MessageSpecReportingFI.AddRecord(record); return true;
      case 2: m_AccountReport.AddRecord(record); return true;
      case 3: m_ControllingPerson.AddRecord(record); return true;
      case 4: m_Payment.AddRecord(record); return true;
      default:
        CRS_FATAL(kRoutine);
        return false;
    }
  } catch (...) {
    CRS_FATAL(kRoutine);
    return false;
  }
}

CLCCRSMessageSpecReportingFI* CLCCRSCsvCRSReport::GetCRSMessageSpecReportingFI() { return &m_MessageSpecReportingFI; }

CLCCRSAccountReport* CLCCRSCsvCRSReport::GetCRSAccountReport() { return &m_AccountReport; }

CLCCRSControllingPerson* CLCCRSCsvCRSReport::GetCRSControllingPerson() { return &m_ControllingPerson; }

CLCCRSPayment* CLCCRSCsvCRSReport::GetCRSPayment() { return &m_Payment; }

const char* CLCCRSCsvCRSReport::GetColumnValue(long row, long column) { return GetItem(row, column); }

const char* CLCCRSCsvCRSReport::GetColumnValue(const char* kindName, long /*record*/, long column) {
  try {
    if (kindName == nullptr || std::strcmp(kindName, "MessageSpecReportingFI") != 0) return nullptr;
    // There is exactly one header record, whatever position is asked for.
    return m_MessageSpecReportingFI.GetColumnValue(0, column);
  } catch (...) {
    CRS_FATAL("CLCCRSCsvCRSReport::GetColumnValue");
    return nullptr;
  }
}

int CLCCRSCsvCRSReport::NenbunCheck() {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::NenbunCheck";
  try {
    const char* messageRefId = GetColumnValue(0L, 4L);
    const char* reportingPeriod = GetColumnValue(0L, 6L);
    if (messageRefId == nullptr || reportingPeriod == nullptr) {
      CRS_FATAL(kRoutine);
      return 1;
    }
    const std::string_view year = std::string_view(m_strNenbun).substr(0, 4);
    // A value too short to hold the year never matches.
    const auto yearMatches = [&year](std::string_view value, std::size_t from) {
      return year.size() == 4 && value.size() >= from + 4 && value.substr(from, 4) == year;
    };
    if (!yearMatches(messageRefId, 2)) {
      Record(CRSMSG_REPORTING_YEAR, 1, 5);
      return CRSMSG_REPORTING_YEAR;
    }
    if (!yearMatches(reportingPeriod, 0)) {
      Record(CRSMSG_REPORTING_YEAR, 1, 7);
      return CRSMSG_REPORTING_YEAR;
    }
    return 0;
  } catch (...) {
    CRS_FATAL(kRoutine);
    return 1;
  }
}

int CLCCRSCsvCRSReport::MessageSpecReportingFIDocTypeIndicCheck() {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::MessageSpecReportingFIDocTypeIndicCheck";
  try {
    if (m_MessageSpecReportingFI.GetRecordCount() == 0) {
      CRS_FATAL(kRoutine);
      return 1;
    }
    const std::string_view docTypeIndic = Column(m_MessageSpecReportingFI, 0, 43);
    if ((docTypeIndic == "OECD0" || docTypeIndic == "OECD1") && m_AccountReport.GetRecordCount() == 0) {
      Record(CRSMSG_NO_ACCOUNT, m_MessageSpecReportingFI.GetLineNo(0), 43);
      return CRSMSG_NO_ACCOUNT;
    }
    return 0;
  } catch (...) {
    CRS_FATAL(kRoutine);
    return 1;
  }
}

int CLCCRSCsvCRSReport::AccountReportDocTypeIndicCheck() {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::AccountReportDocTypeIndicCheck";
  try {
    const long count = m_AccountReport.GetRecordCount();
    if (count == 0) return 0;
    if (m_MessageSpecReportingFI.GetRecordCount() == 0) {
      CRS_FATAL(kRoutine);
      return 1;
    }
    const std::string_view messageTypeIndic = Column(m_MessageSpecReportingFI, 0, 6);
    const std::string_view headerDocType = Column(m_MessageSpecReportingFI, 0, 43);

    // The allowed account values; the second is empty when only one is allowed.
    std::string_view allowed1;
    std::string_view allowed2;
    if (messageTypeIndic == "CRS701") {
      allowed1 = "OECD1";
    } else if (messageTypeIndic == "CRS702") {
      allowed1 = "OECD3";
      if (headerDocType != "OECD3") allowed2 = "OECD2";
    } else if (headerDocType == "OECD1") {
      allowed1 = "OECD1";
    } else if (headerDocType == "OECD2") {
      allowed1 = "OECD2";
      allowed2 = "OECD3";
    } else if (headerDocType == "OECD3") {
      allowed1 = "OECD3";
    } else {
      return 0;  // no rule
    }

    int status = 0;
    for (long r = 0; r < count; ++r) {
      const std::string_view value = Column(m_AccountReport, r, 2);
      if (value == allowed1 || (!allowed2.empty() && value == allowed2)) continue;
      Record(CRSMSG_INVALID, m_AccountReport.GetLineNo(r), 2);
      status = CRSMSG_INVALID;
    }
    return status;
  } catch (...) {
    CRS_FATAL(kRoutine);
    return 1;
  }
}

int CLCCRSCsvCRSReport::AccountReportDocRefIdCheck() {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::AccountReportDocRefIdCheck";
  try {
    const long count = m_AccountReport.GetRecordCount();
    if (count == 0) return 0;
    if (m_MessageSpecReportingFI.GetRecordCount() == 0) {
      CRS_FATAL(kRoutine);
      return 1;
    }
    const std::string_view messageRefId = Column(m_MessageSpecReportingFI, 0, 5);
    int status = 0;
    for (long r = 0; r < count; ++r) {
      const std::string_view docRefId = Column(m_AccountReport, r, 3);
      if (docRefId.size() == messageRefId.size() + 9 && docRefId.substr(0, messageRefId.size()) == messageRefId) {
        continue;
      }
      Record(CRSMSG_INVALID, m_AccountReport.GetLineNo(r), 3);
      status = CRSMSG_INVALID;
    }
    return status;
  } catch (...) {
    CRS_FATAL(kRoutine);
    return 1;
  }
}

int CLCCRSCsvCRSReport::AccountReportDocRefIdOverlapCheck() {
  try {
    return ReportDuplicates(m_AccountReport, 3, true, CRSMSG_DOCREFID_DUPLICATE);
  } catch (...) {
    CRS_FATAL("CLCCRSCsvCRSReport::AccountReportDocRefIdOverlapCheck");
    return 1;
  }
}

int CLCCRSCsvCRSReport::AccountReportCorrDocRefIdCheck() {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::AccountReportCorrDocRefIdCheck";
  try {
    const long count = m_AccountReport.GetRecordCount();
    if (count == 0) return 0;
    if (m_MessageSpecReportingFI.GetRecordCount() == 0) {
      CRS_FATAL(kRoutine);
      return 1;
    }
    const std::string_view messageRefId = Column(m_MessageSpecReportingFI, 0, 5);
    int status = 0;
    for (long r = 0; r < count; ++r) {
      const std::string_view corrDocRefId = Column(m_AccountReport, r, 4);
      if (corrDocRefId.empty()) continue;
      // A correction names an earlier message: same reference but for its last
      // three characters, never the current message itself.
      const bool lengthOk = corrDocRefId.size() == messageRefId.size() + 9;
      const bool stemOk = messageRefId.size() >= 3 &&
                          corrDocRefId.substr(0, messageRefId.size() - 3) ==
                              messageRefId.substr(0, messageRefId.size() - 3);
      const bool otherMessage = corrDocRefId.substr(0, messageRefId.size()) != messageRefId;
      if (lengthOk && stemOk && otherMessage) continue;
      Record(CRSMSG_INVALID, m_AccountReport.GetLineNo(r), 4);
      status = CRSMSG_INVALID;
    }
    return status;
  } catch (...) {
    CRS_FATAL(kRoutine);
    return 1;
  }
}

int CLCCRSCsvCRSReport::AccountReportCorrDocRefIdOverlapCheck() {
  try {
    return ReportDuplicates(m_AccountReport, 4, false, CRSMSG_CORRDOCREFID_DUPLICATE);
  } catch (...) {
    CRS_FATAL("CLCCRSCsvCRSReport::AccountReportCorrDocRefIdOverlapCheck");
    return 1;
  }
}

int CLCCRSCsvCRSReport::AccountReportBirthDateCheck() {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::AccountReportBirthDateCheck";
  try {
    return CheckBirthDates(m_MessageSpecReportingFI, m_AccountReport, 106, kRoutine);
  } catch (...) {
    CRS_FATAL(kRoutine);
    return 1;
  }
}

int CLCCRSCsvCRSReport::AccountReportAcctHolderTypeCheck() {
  try {
    // DocRefIds that at least one controlling person names, built once.
    std::unordered_set<std::string_view> withPerson;
    const long personCount = m_ControllingPerson.GetRecordCount();
    withPerson.reserve(static_cast<std::size_t>(personCount));
    for (long p = 0; p < personCount; ++p) withPerson.insert(Column(m_ControllingPerson, p, 2));

    int status = 0;
    const long count = m_AccountReport.GetRecordCount();
    for (long r = 0; r < count; ++r) {
      const std::string_view holderType = Column(m_AccountReport, r, 148);
      const bool hasPerson = withPerson.count(Column(m_AccountReport, r, 3)) != 0;
      if (holderType == "CRS101") {
        if (hasPerson) continue;
        Record(CRSMSG_PERSON_MISSING, m_AccountReport.GetLineNo(r), 148);
        status = CRSMSG_PERSON_MISSING;
      } else if (holderType.empty() || holderType == "CRS102" || holderType == "CRS103") {
        if (!hasPerson) continue;
        Record(CRSMSG_PERSON_NOT_ALLOWED, m_AccountReport.GetLineNo(r), 148);
        status = CRSMSG_PERSON_NOT_ALLOWED;
      }
    }
    return status;
  } catch (...) {
    CRS_FATAL("CLCCRSCsvCRSReport::AccountReportAcctHolderTypeCheck");
    return 1;
  }
}

int CLCCRSCsvCRSReport::ControllingPersonBirthDateCheck() {
  static constexpr const char* kRoutine = "CLCCRSCsvCRSReport::ControllingPersonBirthDateCheck";
  try {
    return CheckBirthDates(m_MessageSpecReportingFI, m_ControllingPerson, 99, kRoutine);
  } catch (...) {
    CRS_FATAL(kRoutine);
    return 1;
  }
}

int CLCCRSCsvCRSReport::ControllingPersonDocRefIdCheck() {
  try {
    return CheckAccountLinks(m_ControllingPerson, m_AccountReport);
  } catch (...) {
    CRS_FATAL("CLCCRSCsvCRSReport::ControllingPersonDocRefIdCheck");
    return 1;
  }
}

int CLCCRSCsvCRSReport::PaymentDocRefIdCheck() {
  try {
    return CheckAccountLinks(m_Payment, m_AccountReport);
  } catch (...) {
    CRS_FATAL("CLCCRSCsvCRSReport::PaymentDocRefIdCheck");
    return 1;
  }
}
