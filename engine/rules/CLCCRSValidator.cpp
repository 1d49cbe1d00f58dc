#include "rules/CLCCRSValidator.h"

#include "csv/CLCCRSCsvFile.h"
#include "xml/CLCXDom.h"
#include "diagnostics/CLCValidResult.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace quorvex::internal {

namespace {

// One rule of a built-in argument table.
struct ArgRule {
  const char* id;
  const char* value;
  const char* min;
  const char* max;
};

// Argument rules check one value each, so they read no column and carry no
// precondition, and every rule reports its own message.
constexpr long kArgColumn = -1;

constexpr ArgRule CsvValidTable[] = {
    {"exist", "", "", ""},
    {"extension", ".csv .CSV .txt .TXT", "", ""},
    {"existPath", "file", "", ""},
};
constexpr ArgRule OutPathValidTable[] = {
    {"existPath", "dir", "", ""},
};
constexpr ArgRule XmlValidTable[] = {
    {"exist", "", "", ""},
    {"extension", ".xml .XML", "", ""},
    {"existPath", "file", "", ""},
};
constexpr ArgRule NenbunValidTable[] = {
    {"exist", "", "", ""},
    {"length", "4", "", ""},
    {"charSet", "number", "", ""},
};

// Moves the cursor to the next element child named `name`, starting with the
// node under the cursor; false when none is left (cursor on the last child).
bool SeekNamed(CLCXDom* dom, const char* name, bool first) {
  if (!first && dom->MoveNextSibling() != 0) return false;
  for (;;) {
    if (dom->GetNodeName() == name) return true;
    if (dom->MoveNextSibling() != 0) return false;
  }
}

}  // namespace

bool CLCCRSValidator::Initialize(CLCArgValid_t kind, CLCValidResult& result) {
  Clear();
  const ArgRule* begin = nullptr;
  const ArgRule* end = nullptr;
  switch (kind) {
    case ARGVALID_CSV_PATH:
      begin = std::begin(CsvValidTable), end = std::end(CsvValidTable);
      break;
    case ARGVALID_OUTPUT_PATH:
      begin = std::begin(OutPathValidTable), end = std::end(OutPathValidTable);
      break;
    case ARGVALID_XML_PATH:
      begin = std::begin(XmlValidTable), end = std::end(XmlValidTable);
      break;
    case ARGVALID_NENBUN:
      begin = std::begin(NenbunValidTable), end = std::end(NenbunValidTable);
      break;
  }
  if (begin == nullptr) {
    CRS_FATAL(result);
    return false;
  }
  for (const ArgRule* row = begin; row != end; ++row) {
    auto item = CLCCRSValidItem::CreateItem(kArgColumn, row->id, row->value, row->min, row->max, CRSMSG_NONE, result);
    if (!item) return false;  // the factory has reported
    m_vecItems.push_back(std::move(item));
  }
  return true;
}

bool CLCCRSValidator::Initialize(long column, CLCXDom* dom, CLCValidResult& result) {
  Clear();
  if (dom == nullptr) {
    CRS_FATAL(result);
    return false;
  }
  if (dom->MoveFirstChild() != 0) return true;  // an item without rules

  bool built = true;
  for (bool more = SeekNamed(dom, "valid", true); more; more = SeekNamed(dom, "valid", false)) {
    const std::string id = dom->GetAttribute("id");
    const std::string value = dom->GetAttribute("value");
    const std::string min = dom->GetAttribute("min");
    const std::string max = dom->GetAttribute("max");
    const std::string assist = dom->GetAttribute("assist");
    const std::string messageId = dom->GetAttribute("messageId");
    const CLCCRSMessage_t message = messageId.empty() ? CRSMSG_NONE : CRSMsgFromCode(messageId);
    const long ownColumn = CLCCRSValidItem::LeadingInteger(dom->GetAttribute("column"));
    const long ruleColumn = ownColumn >= 1 ? ownColumn - 1 : column;

    auto item = CLCCRSValidItem::CreateItem(ruleColumn, id.c_str(), value.c_str(), min.c_str(), max.c_str(),
                                            message, result);
    if (!item) {
      built = false;
      break;
    }
    item->SetAssistColNum(CLCCRSValidItem::LeadingInteger(assist));
    if (!SetUpOuter(dom, item.get(), result)) {
      built = false;
      break;
    }
    m_vecItems.push_back(std::move(item));
  }

  if (dom->MoveParent() != 0) {
    CRS_FATAL(result);
    return false;
  }
  if (built && column >= 0 && !m_vecItems.empty()) {
    m_lSkipColumn = column;
    m_bPassesWhileEmpty = std::all_of(m_vecItems.begin(), m_vecItems.end(),
                                      [column](const auto& item) { return item->PassesWhileEmpty(column); });
    // A rule reading a column the record lacks passes, unless a precondition
    // (which must find its column) comes first.
    m_bPassesWhileAbsent = std::all_of(m_vecItems.begin(), m_vecItems.end(), [column](const auto& item) {
      return item->GetOuterItems().empty() && item->GetColumn() == column;
    });
  }
  return built;
}

bool CLCCRSValidator::SetUpOuter(CLCXDom* dom, CLCCRSValidItem* item, CLCValidResult& result) {
  if (dom == nullptr || item == nullptr) {
    CRS_FATAL(result);
    return false;
  }
  if (dom->MoveFirstChild() != 0) return true;

  bool built = true;
  for (bool more = SeekNamed(dom, "outer", true); more; more = SeekNamed(dom, "outer", false)) {
    const long column = CLCCRSValidItem::LeadingInteger(dom->GetAttribute("column"));
    if (column < 1) continue;  // a precondition without a column is ignored
    const std::string id = dom->GetAttribute("id");
    const std::string value = dom->GetAttribute("value");
    const std::string min = dom->GetAttribute("min");
    const std::string max = dom->GetAttribute("max");
    auto outer =
        CLCCRSValidItem::CreateItem(column - 1, id.c_str(), value.c_str(), min.c_str(), max.c_str(), CRSMSG_NONE,
                                      result);
    if (!outer) {
      built = false;
      break;
    }
    item->AddOuterItem(std::move(outer));
  }

  if (dom->MoveParent() != 0) {
    CRS_FATAL(result);
    return false;
  }
  return built;
}

std::string CLCCRSValidator::ParamProblem() const {
  for (std::size_t rule = 0; rule < m_vecItems.size(); ++rule) {
    const CLCCRSValidItem& item = *m_vecItems[rule];
    const std::string where = "rule " + std::to_string(rule + 1);
    if (!item.ParamProblem().empty()) return where + ": " + item.ParamProblem();
    const auto& outers = item.GetOuterItems();
    for (std::size_t outer = 0; outer < outers.size(); ++outer) {
      const std::string& problem = outers[outer]->ParamProblem();
      if (!problem.empty()) return where + ", precondition " + std::to_string(outer + 1) + ": " + problem;
    }
  }
  return std::string();
}

CLCStatus CLCCRSValidator::Validate(const char* value, long line, long column, CLCValidResult& result) const {
  for (const auto& item : m_vecItems) {
    const CLCStatus status = item->Validate(value, line, column, result);
    if (!status.IsPassed()) return status;
  }
  return CLCStatus::Passed();
}

CLCStatus CLCCRSValidator::ValidateCsv(const CLCCRSCsvFile& file, long record, long column,
                                       CLCValidResult& result) const {
  const CLCCRSRecordData* data = file.GetRecord(record);
  if (data != nullptr && SkipsRecord(*data)) return CLCStatus::Passed();
  for (const auto& item : m_vecItems) {
    if (data != nullptr && item->LeadingPreconditionFails(*data)) continue;
    const CLCStatus status = item->ValidateCsv(file, record, column, result);
    if (!status.IsPassed()) return status;
  }
  return CLCStatus::Passed();
}
}  // namespace quorvex::internal
