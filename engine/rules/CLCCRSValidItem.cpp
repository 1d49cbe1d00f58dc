#include "rules/CLCCRSValidItem.h"

#include "csv/CLCCRSCsvFile.h"
#include "rules/CLCCRSValidCharSet.h"
#include "rules/CLCCRSValidCodeCheck.h"
#include "rules/CLCCRSValidContain.h"
#include "rules/CLCCRSValidDateRange.h"
#include "rules/CLCCRSValidExist.h"
#include "rules/CLCCRSValidExistpath.h"
#include "rules/CLCCRSValidExtension.h"
#include "rules/CLCCRSValidFormat.h"
#include "rules/CLCCRSValidIntegrity.h"
#include "rules/CLCCRSValidLength.h"
#include "rules/CLCCRSValidNotExist.h"
#include "diagnostics/CLCValidResult.h"

#include <algorithm>
#include <climits>
#include <new>

namespace quorvex::internal {

namespace {

// The fatal entry may already be there (the rule's own test reports its
// definition errors); recording it again changes nothing.
CLCStatus Fatal(CLCValidResult& result) {
  result.SetFatalError();
  return CLCStatus::Fatal();
}

template <class Rule>
std::unique_ptr<CLCCRSValidItem> Make(long column, CLCCRSMessage_t message) {
  return std::make_unique<Rule>(column, message);
}

}  // namespace

CLCCRSValidItem::CLCCRSValidItem(long column, CLCCRSMessage_t message)
    : m_lColumn(column), m_eMessage(message) {}

CLCCRSValidItem::~CLCCRSValidItem() {
  // Preconditions go last first, the reverse of how they were added.
  while (!m_vecOuter.empty()) m_vecOuter.pop_back();
}

long CLCCRSValidItem::LeadingInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\f' || text[i] == '\v')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long result = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    if (result > (LONG_MAX - digit) / 10) return negative ? LONG_MIN : LONG_MAX;
    result = result * 10 + digit;
  }
  return negative ? -result : result;
}

std::vector<std::string_view> CLCCRSValidItem::SplitAtSpaces(std::string_view list) {
  std::vector<std::string_view> items;
  std::size_t pos = 0;
  while (pos < list.size()) {
    const std::size_t start = list.find_first_not_of(' ', pos);
    if (start == std::string_view::npos) break;
    std::size_t end = list.find(' ', start);
    if (end == std::string_view::npos) end = list.size();
    items.push_back(list.substr(start, end - start));
    pos = end;
  }
  std::sort(items.begin(), items.end());
  return items;
}

std::string CLCCRSValidItem::DescribeParam(const char* rule, const char* name, std::string_view text) {
  std::string described = rule;
  described += ' ';
  described += name;
  described += " \"";
  described += text;
  described += '"';
  return described;
}

bool CLCCRSValidItem::ListContains(const std::vector<std::string_view>& sorted, std::string_view text) {
  return std::binary_search(sorted.begin(), sorted.end(), text);
}

std::unique_ptr<CLCCRSValidItem> CLCCRSValidItem::CreateItem(long column, const char* id, const char* value,
                                                             const char* min, const char* max,
                                                             CLCCRSMessage_t message, CLCValidResult& result) {
  if (id == nullptr || value == nullptr || min == nullptr || max == nullptr) {
    CRS_FATAL(result);
    return nullptr;
  }
  const std::string_view rule(id);
  if (rule == "exist") return Make<CLCCRSValidExist>(column, message);
  if (rule == "notExist") return Make<CLCCRSValidNotExist>(column, message);
  if (rule == "extension") {
    auto item = std::make_unique<CLCCRSValidExtension>(column, message);
    item->SetParam(value);
    return item;
  }
  if (rule == "existPath") {
    auto item = std::make_unique<CLCCRSValidExistpath>(column, message);
    item->SetParam(value);
    return item;
  }
  if (rule == "length") {
    auto item = std::make_unique<CLCCRSValidLength>(column, message);
    item->SetParam(value, min, max);
    return item;
  }
  if (rule == "contain") {
    auto item = std::make_unique<CLCCRSValidContain>(column, message);
    item->SetParam(value);
    return item;
  }
  if (rule == "charSet") {
    auto item = std::make_unique<CLCCRSValidCharSet>(column, message);
    item->SetParam(value);
    return item;
  }
  if (rule == "format") {
    auto item = std::make_unique<CLCCRSValidFormat>(column, message);
    item->SetParam(value);
    return item;
  }
  if (rule == "codeCheck") {
    auto item = std::make_unique<CLCCRSValidCodeCheck>(column, message);
    item->SetParam(value);
    return item;
  }
  if (rule == "dateRange") {
    auto item = std::make_unique<CLCCRSValidDateRange>(column, message);
    item->SetParam(min);
    return item;
  }
  if (rule == "integrity") {
    auto item = std::make_unique<CLCCRSValidIntegrity>(column, message);
    item->SetParam(value);
    return item;
  }
  CRS_FATAL(result);
  return nullptr;
}

void CLCCRSValidItem::AddOuterItem(std::unique_ptr<CLCCRSValidItem> item) {
  if (!item) return;
  const bool exist = dynamic_cast<const CLCCRSValidExist*>(item.get()) != nullptr;
  if (exist && m_vecLeadingExist.size() == m_vecOuter.size()) m_vecLeadingExist.push_back(item->m_lColumn);
  m_vecOuterIsExist.push_back(exist);
  m_vecOuter.push_back(std::move(item));
}

bool CLCCRSValidItem::NeedsFilledColumn(long column) const {
  for (std::size_t i = 0; i < m_vecOuter.size(); ++i) {
    if (m_vecOuterIsExist[i] && m_vecOuter[i]->m_lColumn == column) return true;
  }
  return false;
}

bool CLCCRSValidItem::PassesWhileEmpty(long column) const {
  return NeedsFilledColumn(column) || (m_vecOuter.empty() && m_lColumn == column && AcceptsEmptyValue());
}

CLCStatus CLCCRSValidItem::Validate(const char* value, long line, long column, CLCValidResult& result) const {
  for (const auto& outer : m_vecOuter) {
    const CLCStatus met = outer->ValidateOuter(value);
    if (met.IsFatal()) return Fatal(result);
    if (!met.IsPassed()) return CLCStatus::Passed();  // precondition not met: the rule does not apply
  }
  const CLCStatus status = _validate(value);
  if (status.IsPassed()) return status;
  if (status.IsFatal()) return Fatal(result);
  result.SetResult(status.Message(), line, column, -1);
  return status;
}

CLCStatus CLCCRSValidItem::ValidateCsv(const CLCCRSCsvFile& file, long record, long /*column*/,
                                       CLCValidResult& result) const {
  const CLCCRSRecordData* data = file.GetRecord(record);
  for (std::size_t i = 0; i < m_vecOuter.size(); ++i) {
    if (data != nullptr && m_vecOuterIsExist[i]) {
      // The usual precondition, "the column is filled", answered in place.
      const long outerColumn = m_vecOuter[i]->m_lColumn;
      if (outerColumn < 0 || outerColumn >= data->GetColumnCount()) {
        CRS_LOG_UNEXPECTED();
        return Fatal(result);
      }
      if (!data->IsFilled(outerColumn)) return CLCStatus::Passed();
      continue;
    }
    const CLCStatus met = m_vecOuter[i]->ValidateOuter(file, record, -1);
    if (met.IsFatal()) return Fatal(result);
    if (!met.IsPassed()) return CLCStatus::Passed();
  }
  const char* value = data != nullptr ? data->GetColumnValue(m_lColumn) : nullptr;
  if (value == nullptr) return CLCStatus::Passed();  // the record has no such column
  const CLCStatus status = _validateInFile(value, file);
  if (status.IsPassed()) return status;
  if (status.IsFatal()) return Fatal(result);
  const CLCCRSMessage_t message = status.Message();
  if (m_lAssistColNum != 0) {
    result.SetResult(message, record + 1, m_lColumn + 1, m_lAssistColNum);
  } else if (message == CRSMSG_HOLDER_REQUIRED || message == CRSMSG_HOLDER_BOTH) {
    // These concern the whole record, not one column.
    result.SetResult(message, record + 1, 0, -1);
  } else {
    result.SetResult(message, record + 1, m_lColumn + 1, -1);
  }
  return status;
}

CLCStatus CLCCRSValidItem::ValidateOuter(const CLCCRSCsvFile& file, long record, long /*column*/) const {
  const char* value = file.GetItem(record, m_lColumn);
  if (value == nullptr) {
    // A precondition must name a column that every record of its kind has.
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  return _validateInFile(value, file);
}

CLCStatus CLCCRSValidItem::ValidateOuter(const char* value) const {
  return _validate(value);
}

CLCStatus CLCCRSValidItem::_validate(const char* /*value*/) const {
  CRS_LOG_UNEXPECTED();
  return CLCStatus::Fatal();
}

CLCStatus CLCCRSValidItem::_validateInFile(const char* value, const CLCCRSCsvFile& /*file*/) const {
  return _validate(value);
}
}  // namespace quorvex::internal
