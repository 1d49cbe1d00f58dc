#include "csv/CLCCRSCsvCRSReport.h"

#include "CLCCRSCommon.h"
#include "csv/CRSColumns.h"
#include "csv/CLCCRSRecordData.h"
#include "diagnostics/CLCValidResult.h"
#include "text/CLCShiftJIS.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace quorvex::internal {

namespace {

// Column counts allowed per kind "1" to "4".
struct KindRange {
  std::size_t min;
  std::size_t max;
};
constexpr KindRange kKindRanges[4] = {{45, 150}, {150, 150}, {100, 150}, {5, 150}};

// Columns of an account report record that an individual or an organisation
// holder must fill.
using namespace CRSColumn;
constexpr long kIndividualRequired[] = {kAccountIndividualFirst, kAccountIndividualName, kAccountIndividualLastName,
                                        kAccountIndividualCountryCode, kAccountIndividualAddressFree};
constexpr long kOrganisationRequired[] = {kAccountOrganisationName, kAccountOrganisationCountryCode,
                                          kAccountOrganisationAddressFree, kAccountAcctHolderType};

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

// Line breaks (LF, CR LF or a lone CR) in the bytes, as an editor counts them.
long CountLineBreaks(const char* begin, const char* end) {
  long breaks = 0;
  for (const char* p = begin; p < end; ++p) {
    if (*p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n'))) ++breaks;
  }
  return breaks;
}

std::string_view View(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

// Column (1-based) of the record at that position of a kind list; empty when absent.
std::string_view Column(CLCCRSCRSReport& list, long record, long column) {
  return View(list.GetColumnValue(record, column - 1));
}

// Reports every record whose column value occurs more than once in the list, in
// ascending line order. One hash lookup per record keeps it linear.
CLCStatus ReportDuplicates(CLCValidResult& result, CLCCRSCRSReport& list, long column, bool emptyCounts,
                           CLCCRSMessage_t message) {
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
  if (!any) return CLCStatus::Passed();
  std::vector<long> lines;
  for (long r = 0; r < count; ++r) {
    if (duplicate[static_cast<std::size_t>(r)]) lines.push_back(list.GetLineNo(r));
  }
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  for (long line : lines) result.SetResult(message, line, column, -1);
  return CLCStatus::Failed(message);
}

// Birth dates after the reporting period give message 10 at the column; a text that
// is not a date is fatal.
CLCStatus CheckBirthDates(CLCValidResult& result, CLCCRSCRSReport& header, CLCCRSCRSReport& list, long column,
                    const char* caller) {
  const long count = list.GetRecordCount();
  if (count == 0) return CLCStatus::Passed();
  const char* reportingPeriod = header.GetColumnValue(0, kHeaderReportingPeriod - 1);
  if (reportingPeriod == nullptr) {
    CRS_FATAL_FOR(result, caller);
    return CLCStatus::Fatal();
  }
  CLCStatus status;
  // Date parsing is costly and birth dates repeat: compare each distinct value once.
  std::unordered_map<std::string_view, int> orderByDate;
  for (long r = 0; r < count; ++r) {
    const char* birthDate = list.GetColumnValue(r, column - 1);
    if (birthDate == nullptr || *birthDate == '\0') continue;
    const auto [known, inserted] = orderByDate.try_emplace(birthDate, 0);
    if (inserted) known->second = CLCCRSCommon::dateTimeComp(reportingPeriod, birthDate);
    const int order = known->second;
    if (order < 0) {
      CRS_FATAL_FOR(result, caller);
      return CLCStatus::Fatal();
    }
    if (order == 2) {
      result.SetResult(CRSMSG_INVALID, list.GetLineNo(r), column, -1);
      status = CLCStatus::Failed(CRSMSG_INVALID);
    }
  }
  return status;
}

// The values of one column over the records of a list, for lookups by value.
std::unordered_set<std::string_view> ColumnValues(CLCCRSCRSReport& list, long column) {
  std::unordered_set<std::string_view> values;
  const long count = list.GetRecordCount();
  values.reserve(static_cast<std::size_t>(count));
  for (long r = 0; r < count; ++r) values.insert(Column(list, r, column));
  return values;
}

// Every record of the list must name, in column 2, the DocRefId of some account.
CLCStatus CheckAccountLinks(CLCValidResult& result, CLCCRSCRSReport& list, long linkColumn,
                            CLCCRSAccountReport& accounts) {
  const std::unordered_set<std::string_view> docRefIds = ColumnValues(accounts, kAccountDocRefId);

  CLCStatus status;
  const long count = list.GetRecordCount();
  for (long r = 0; r < count; ++r) {
    if (docRefIds.count(Column(list, r, linkColumn)) != 0) continue;
    result.SetResult(CRSMSG_INVALID, list.GetLineNo(r), linkColumn, -1);
    status = CLCStatus::Failed(CRSMSG_INVALID);
  }
  return status;
}

}  // namespace

CLCCRSCsvCRSReport::CLCCRSCsvCRSReport(CLCValidResult& result) : CLCCRSCsvFile(result) {}

CLCCRSCsvCRSReport::~CLCCRSCsvCRSReport() = default;

bool CLCCRSCsvCRSReport::Parse(std::string_view text) { return Tokenise(text, false); }

bool CLCCRSCsvCRSReport::ParseShiftJis(std::string_view bytes) { return Tokenise(bytes, true); }

// Runs of ordinary bytes are appended in one go; only the four special bytes
// (quote, comma, CR, LF) are looked at one by one. Each run ends just before a
// special byte, so decoding run by run reads the bytes as decoding the whole
// file would: a lead byte that ends a run is no character either way.
bool CLCCRSCsvCRSReport::Tokenise(std::string_view text, bool shiftJis) {
  if (text.data() == nullptr) {
    CRS_FATAL(m_result);
    return false;
  }
  // A NUL byte would end a NUL-terminated text early and silently drop the rest
  // of the file; such a file is refused as a whole.
  if (std::memchr(text.data(), '\0', text.size()) != nullptr) {
    m_result.SetResult(CRSMSG_CSV_FORMAT, 0, 0, -1);
    return false;
  }

  const char* p = text.data();
  const char* const end = p + text.size();
  const char* columnStart = p;
  long fileLine = 1;
  m_lRecordFileLine = 1;
  bool inQuotes = false;
  std::string column;
  std::vector<std::string> record;
  const auto append = [&column, shiftJis](const char* from, const char* to) {
    const std::string_view run(from, static_cast<std::size_t>(to - from));
    if (shiftJis) {
      CLCShiftJIS::AppendUtf8(run, column);
    } else {
      column.append(run);
    }
  };

  for (;;) {
    if (inQuotes) {
      const char* quote = static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(end - p)));
      // A file cut off inside a quoted column has lost its end.
      if (quote == nullptr) {
        m_result.SetResult(CRSMSG_CSV_FORMAT, 0, 0, -1);
        return false;
      }
      append(p, quote);
      fileLine += CountLineBreaks(p, quote);
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
    if (q != p) append(p, q);
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
      // Each comma that follows ends an empty column, which ColumnTerm would
      // only append: the runs of them that fill most records go in one loop.
      while (p < end && *p == ',') {
        record.emplace_back();
        ++p;
      }
      columnStart = p;
    } else {  // CR, LF or CR LF ends the record
      if (!ColumnTerm(column, record, true)) return false;
      if (c == '\r' && p < end && *p == '\n') ++p;
      columnStart = p;
      m_lRecordFileLine = ++fileLine;
    }
  }
}

bool CLCCRSCsvCRSReport::ColumnTerm(std::string& column, std::vector<std::string>& record, bool endOfRecord) {
  if (column.empty()) {
    // Most columns are empty: nothing to allocate, trim or report.
    record.emplace_back();
  } else {
    // Column strings are recycled from record to record, so that a file of a
    // hundred thousand records does not allocate every long column anew.
    if (m_vecSpareColumns.empty()) {
      record.emplace_back();
    } else {
      record.push_back(std::move(m_vecSpareColumns.back()));
      m_vecSpareColumns.pop_back();
    }
    std::string& value = record.back();
    if (NeedsTrim(column)) {
      value = CLCCRSCommon::StringTrim(column.c_str());
    } else {
      value.assign(column);
    }
    column.clear();
    // Reported where it stands, and tokenising goes on so that every one is found.
    if (HasUnusableCharacter(value)) {
      ++m_lUnusableCount;
      m_result.SetResult(CRSMSG_BAD_CHARACTER, m_lLineCnt + 1, static_cast<long>(record.size()), -1);
    }
  }
  if (!endOfRecord) return true;

  const bool valid = ValidateRecord(record);
  // A single column can only be a blank line here: neither stored nor counted.
  if (valid && record.size() > 1) {
    m_vecRecords.Add(record, m_lLineCnt + 1, m_lRecordFileLine);
    ++m_lLineCnt;
  }
  // Only strings that hold an allocation are worth keeping.
  const std::size_t inPlace = std::string().capacity();
  for (std::string& spare : record) {
    if (spare.capacity() > inPlace) m_vecSpareColumns.push_back(std::move(spare));
  }
  record.clear();
  return valid;
}

bool CLCCRSCsvCRSReport::ValidateRecord(std::vector<std::string>& columns) {
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
  m_result.SetResult(CRSMSG_CSV_FORMAT, 0, 0, -1);
  return false;
}

bool CLCCRSCsvCRSReport::ValidateCsv() {
  if (m_vecRecords.empty()) {
    m_result.SetResult(CRSMSG_NO_RECORD, 0, 0, -1);
    return false;
  }
  if (m_lKindCount[0] != 1) {
    m_result.SetResult(CRSMSG_HEADER_COUNT, 0, 0, -1);
    return false;
  }
  if (!m_bKindOrderValid) {
    m_result.SetResult(CRSMSG_CSV_FORMAT, 0, 0, -1);
    return false;
  }
  return true;
}

bool CLCCRSCsvCRSReport::DistributeRecord(long index) {
  if (index < 0 || static_cast<std::size_t>(index) >= m_vecRecords.size()) {
    CRS_FATAL(m_result);
    return false;
  }
  CLCCRSRecordData* record = &m_vecRecords[static_cast<std::size_t>(index)];
  switch (KindOf(View(record->GetColumnValue(kKind - 1)))) {
    case 1: m_MessageSpecReportingFI.AddRecord(record); return true;
    case 2: m_AccountReport.AddRecord(record); return true;
    case 3: m_ControllingPerson.AddRecord(record); return true;
    case 4: m_Payment.AddRecord(record); return true;
    default:
      CRS_FATAL(m_result);
      return false;
  }
}

CLCCRSMessageSpecReportingFI* CLCCRSCsvCRSReport::GetCRSMessageSpecReportingFI() { return &m_MessageSpecReportingFI; }

CLCCRSAccountReport* CLCCRSCsvCRSReport::GetCRSAccountReport() { return &m_AccountReport; }

CLCCRSControllingPerson* CLCCRSCsvCRSReport::GetCRSControllingPerson() { return &m_ControllingPerson; }

CLCCRSPayment* CLCCRSCsvCRSReport::GetCRSPayment() { return &m_Payment; }

const char* CLCCRSCsvCRSReport::GetColumnValue(long row, long column) const { return GetItem(row, column); }

const char* CLCCRSCsvCRSReport::GetColumnValue(const char* kindName, long /*record*/, long column) const {
  if (kindName == nullptr || std::strcmp(kindName, "MessageSpecReportingFI") != 0) return nullptr;
  // There is exactly one header record, whatever position is asked for.
  return m_MessageSpecReportingFI.GetColumnValue(0, column);
}

CLCStatus CLCCRSCsvCRSReport::NenbunCheck() {
  const char* messageRefId = GetColumnValue(0L, kHeaderMessageRefId - 1);
  const char* reportingPeriod = GetColumnValue(0L, kHeaderReportingPeriod - 1);
  if (messageRefId == nullptr || reportingPeriod == nullptr) {
    CRS_FATAL(m_result);
    return CLCStatus::Fatal();
  }
  const std::string_view year = std::string_view(m_strNenbun).substr(0, 4);
  // A value too short to hold the year never matches.
  const auto yearMatches = [&year](std::string_view value, std::size_t from) {
    return year.size() == 4 && value.size() >= from + 4 && value.substr(from, 4) == year;
  };
  if (!yearMatches(messageRefId, 2)) {
    m_result.SetResult(CRSMSG_REPORTING_YEAR, 1, kHeaderMessageRefId, -1);
    return CLCStatus::Failed(CRSMSG_REPORTING_YEAR);
  }
  if (!yearMatches(reportingPeriod, 0)) {
    m_result.SetResult(CRSMSG_REPORTING_YEAR, 1, kHeaderReportingPeriod, -1);
    return CLCStatus::Failed(CRSMSG_REPORTING_YEAR);
  }
  return CLCStatus::Passed();
}

CLCStatus CLCCRSCsvCRSReport::MessageSpecReportingFIDocTypeIndicCheck() {
  if (m_MessageSpecReportingFI.GetRecordCount() == 0) {
    CRS_FATAL(m_result);
    return CLCStatus::Fatal();
  }
  const std::string_view docTypeIndic = Column(m_MessageSpecReportingFI, 0, kHeaderDocTypeIndic);
  if ((docTypeIndic == "OECD0" || docTypeIndic == "OECD1") && m_AccountReport.GetRecordCount() == 0) {
    m_result.SetResult(CRSMSG_NO_ACCOUNT, m_MessageSpecReportingFI.GetLineNo(0), kHeaderDocTypeIndic, -1);
    return CLCStatus::Failed(CRSMSG_NO_ACCOUNT);
  }
  return CLCStatus::Passed();
}

CLCStatus CLCCRSCsvCRSReport::AccountReportDocTypeIndicCheck() {
  const long count = m_AccountReport.GetRecordCount();
  if (count == 0) return CLCStatus::Passed();
  if (m_MessageSpecReportingFI.GetRecordCount() == 0) {
    CRS_FATAL(m_result);
    return CLCStatus::Fatal();
  }
  const std::string_view messageTypeIndic = Column(m_MessageSpecReportingFI, 0, kHeaderMessageTypeIndic);
  const std::string_view headerDocType = Column(m_MessageSpecReportingFI, 0, kHeaderDocTypeIndic);

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
    return CLCStatus::Passed();  // no rule
  }

  CLCStatus status;
  for (long r = 0; r < count; ++r) {
    const std::string_view value = Column(m_AccountReport, r, kAccountDocTypeIndic);
    if (value == allowed1 || (!allowed2.empty() && value == allowed2)) continue;
    m_result.SetResult(CRSMSG_INVALID, m_AccountReport.GetLineNo(r), kAccountDocTypeIndic, -1);
    status = CLCStatus::Failed(CRSMSG_INVALID);
  }
  return status;
}

CLCStatus CLCCRSCsvCRSReport::AccountReportDocRefIdCheck() {
  const long count = m_AccountReport.GetRecordCount();
  if (count == 0) return CLCStatus::Passed();
  if (m_MessageSpecReportingFI.GetRecordCount() == 0) {
    CRS_FATAL(m_result);
    return CLCStatus::Fatal();
  }
  const std::string_view messageRefId = Column(m_MessageSpecReportingFI, 0, kHeaderMessageRefId);
  CLCStatus status;
  for (long r = 0; r < count; ++r) {
    const std::string_view docRefId = Column(m_AccountReport, r, kAccountDocRefId);
    if (docRefId.size() == messageRefId.size() + 9 && docRefId.substr(0, messageRefId.size()) == messageRefId) {
      continue;
    }
    m_result.SetResult(CRSMSG_INVALID, m_AccountReport.GetLineNo(r), kAccountDocRefId, -1);
    status = CLCStatus::Failed(CRSMSG_INVALID);
  }
  return status;
}

CLCStatus CLCCRSCsvCRSReport::AccountReportDocRefIdOverlapCheck() {
  return ReportDuplicates(m_result, m_AccountReport, kAccountDocRefId, true, CRSMSG_DOCREFID_DUPLICATE);
}

CLCStatus CLCCRSCsvCRSReport::AccountReportCorrDocRefIdCheck() {
  const long count = m_AccountReport.GetRecordCount();
  if (count == 0) return CLCStatus::Passed();
  if (m_MessageSpecReportingFI.GetRecordCount() == 0) {
    CRS_FATAL(m_result);
    return CLCStatus::Fatal();
  }
  const std::string_view messageRefId = Column(m_MessageSpecReportingFI, 0, kHeaderMessageRefId);
  CLCStatus status;
  for (long r = 0; r < count; ++r) {
    const std::string_view corrDocRefId = Column(m_AccountReport, r, kAccountCorrDocRefId);
    if (corrDocRefId.empty()) continue;
    // A correction names an earlier message: same reference but for its last
    // three characters, never the current message itself.
    const bool lengthOk = corrDocRefId.size() == messageRefId.size() + 9;
    const bool stemOk = messageRefId.size() >= 3 &&
                        corrDocRefId.substr(0, messageRefId.size() - 3) ==
                            messageRefId.substr(0, messageRefId.size() - 3);
    const bool otherMessage = corrDocRefId.substr(0, messageRefId.size()) != messageRefId;
    if (lengthOk && stemOk && otherMessage) continue;
    m_result.SetResult(CRSMSG_INVALID, m_AccountReport.GetLineNo(r), kAccountCorrDocRefId, -1);
    status = CLCStatus::Failed(CRSMSG_INVALID);
  }
  return status;
}

CLCStatus CLCCRSCsvCRSReport::AccountReportCorrDocRefIdOverlapCheck() {
  return ReportDuplicates(m_result, m_AccountReport, kAccountCorrDocRefId, false, CRSMSG_CORRDOCREFID_DUPLICATE);
}

CLCStatus CLCCRSCsvCRSReport::AccountReportBirthDateCheck() {
  return CheckBirthDates(m_result, m_MessageSpecReportingFI, m_AccountReport, kAccountBirthDate, __PRETTY_FUNCTION__);
}

CLCStatus CLCCRSCsvCRSReport::AccountReportAcctHolderTypeCheck() {
  // DocRefIds that at least one controlling person names, built once.
  const std::unordered_set<std::string_view> withPerson = ColumnValues(m_ControllingPerson, kPersonAccountDocRefId);

  CLCStatus status;
  const long count = m_AccountReport.GetRecordCount();
  for (long r = 0; r < count; ++r) {
    const std::string_view holderType = Column(m_AccountReport, r, kAccountAcctHolderType);
    const bool hasPerson = withPerson.count(Column(m_AccountReport, r, kAccountDocRefId)) != 0;
    if (holderType == "CRS101") {
      if (hasPerson) continue;
      m_result.SetResult(CRSMSG_PERSON_MISSING, m_AccountReport.GetLineNo(r), kAccountAcctHolderType, -1);
      status = CLCStatus::Failed(CRSMSG_PERSON_MISSING);
    } else if (holderType.empty() || holderType == "CRS102" || holderType == "CRS103") {
      if (!hasPerson) continue;
      m_result.SetResult(CRSMSG_PERSON_NOT_ALLOWED, m_AccountReport.GetLineNo(r), kAccountAcctHolderType, -1);
      status = CLCStatus::Failed(CRSMSG_PERSON_NOT_ALLOWED);
    }
  }
  return status;
}

CLCStatus CLCCRSCsvCRSReport::ControllingPersonBirthDateCheck() {
  return CheckBirthDates(m_result, m_MessageSpecReportingFI, m_ControllingPerson, kPersonBirthDate, __PRETTY_FUNCTION__);
}

CLCStatus CLCCRSCsvCRSReport::ControllingPersonDocRefIdCheck() {
  return CheckAccountLinks(m_result, m_ControllingPerson, kPersonAccountDocRefId, m_AccountReport);
}

CLCStatus CLCCRSCsvCRSReport::PaymentDocRefIdCheck() {
  return CheckAccountLinks(m_result, m_Payment, kPaymentAccountDocRefId, m_AccountReport);
}

CLCStatus CLCCRSCsvCRSReport::AccountReportExclusiveCheck(long record) {
  bool missing = false;
  auto filled = [&](long column) {
    const char* text = GetItem(record, column - 1);
    if (text == nullptr) {
      missing = true;
      return false;
    }
    return *text != '\0';
  };
  auto anyFilled = [&](long first, long last) {
    for (long column = first; column <= last; ++column) {
      if (filled(column)) return true;
    }
    return false;
  };
  auto report = [&](CLCCRSMessage_t message) {
    m_result.SetResult(message, record + 1, 0, -1);
    return CLCStatus::Failed(message);
  };

  const bool individual = anyFilled(kAccountIndividualFirst, kAccountIndividualLast);
  const bool organisation = anyFilled(kAccountOrganisationFirst, kAccountOrganisationLast);
  if (missing) {
    // An account report record always has all its columns.
    CRS_FATAL(m_result);
    return CLCStatus::Fatal();
  }
  if (individual && organisation) return report(CRSMSG_HOLDER_BOTH);
  if (!individual && !organisation) return report(CRSMSG_HOLDER_REQUIRED);
  const bool complete =
      individual
          ? std::all_of(std::begin(kIndividualRequired), std::end(kIndividualRequired), filled)
          : std::all_of(std::begin(kOrganisationRequired), std::end(kOrganisationRequired), filled);
  if (missing) {
    CRS_FATAL(m_result);
    return CLCStatus::Fatal();
  }
  return complete ? CLCStatus::Passed() : report(CRSMSG_HOLDER_REQUIRED);
}
}  // namespace quorvex::internal
