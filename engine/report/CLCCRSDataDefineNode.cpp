#include "report/CLCCRSDataDefineNode.h"

#include "csv/CLCCRSCsvFile.h"

#include "csv/CLCCRSCRSReport.h"
#include "CLCCRSCommon.h"
#include "csv/CLCCRSCsvCRSReport.h"
#include "report/CLCCRSDataDefNormal.h"
#include "report/CLCCRSDataDefSplit.h"
#include "report/CLCCRSDataDefTimeStamp.h"
#include "rules/CLCCRSValidItem.h"
#include "rules/CLCCRSValidator.h"
#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXDom.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <new>

namespace quorvex::internal {

namespace {
const std::string kDefaultPrefix = "crs";
}

CLCCRSDataDefineNode::CLCCRSDataDefineNode() = default;
CLCCRSDataDefineNode::~CLCCRSDataDefineNode() = default;

long CLCCRSDataDefineNode::LeadingInteger(const std::string& text) {
  return CLCCRSValidItem::LeadingInteger(text);
}

bool CLCCRSDataDefineNode::CanWrite(const CLCCRSCRSReport* list, CLCValidResult& result) {
  if (list == nullptr) {
    CRS_FATAL(result);
    return false;
  }
  return true;
}

long CLCCRSDataDefineNode::ColumnIndex(const std::string& text) {
  const long n = LeadingInteger(text);
  return n >= 1 ? n - 1 : -1;
}

const std::string& CLCCRSDataDefineNode::Prefix() const {
  return m_strNameSpace.empty() ? kDefaultPrefix : m_strNameSpace;
}

const std::string& CLCCRSDataDefineNode::DefaultPrefix() { return kDefaultPrefix; }

const std::string& CLCCRSDataDefineNode::TagPrefix() const { return Prefix(); }

void CLCCRSDataDefineNode::MakeTags() {
  const std::string& prefix = TagPrefix();
  m_strStartTag = '<' + prefix + ':' + m_strId;
  m_strEndTag = "</" + prefix + ':' + m_strId + '>';
}

std::unique_ptr<CLCCRSDataDefineNode> CLCCRSDataDefineNode::CreateNode(CLCXDom* dom, bool validationMode,
                                                                       CLCValidResult& result) {
  if (dom == nullptr) {
    CRS_FATAL(result);
    return nullptr;
  }
  std::unique_ptr<CLCCRSDataDefineNode> node;
  const std::string type = dom->GetAttribute("type");
  if (type == "Normal") {
    node = std::make_unique<CLCCRSDataDefNormal>();
  } else if (type == "Timestamp") {
    node = std::make_unique<CLCCRSDataDefTimeStamp>();
  } else if (type == "Split") {
    node = std::make_unique<CLCCRSDataDefSplit>();
  } else {
    CRS_FATAL(result);
    return nullptr;
  }
  if (!node->Initialize(dom, validationMode, result)) return nullptr;
  return node;
}

bool CLCCRSDataDefineNode::Initialize(CLCXDom* dom, bool validationMode, CLCValidResult& result) {
  if (dom == nullptr) {
    CRS_FATAL(result);
    return false;
  }
  m_strId = dom->GetAttribute("id");
  m_strParent = dom->GetAttribute("parent");
  m_strValue = dom->GetAttribute("value");
  static constexpr const char* kAttrNames[4] = {"attr1", "attr2", "attr3", "attr4"};
  static constexpr const char* kAttrColumns[4] = {"attrValueColumn1", "attrValueColumn2",
                                                  "attrValueColumn3", "attrValueColumn4"};
  for (int i = 0; i < 4; ++i) {
    m_strAttr[i] = dom->GetAttribute(kAttrNames[i]);
    m_lAttrColumn[i] = ColumnIndex(dom->GetAttribute(kAttrColumns[i]));
    if (i == 0) m_strAttrValueRec1 = dom->GetAttribute("attrValueRec1");
    // An attribute must name the column of its value: a record has no
    // column -1, and writing one would read outside the record.
    if (!m_strAttr[i].empty() && m_lAttrColumn[i] < 0) {
      CRS_FATAL(result);
      return false;
    }
  }
  m_strRequiredChild = dom->GetAttribute("requiredChild");
  m_strNameSpace = dom->GetAttribute("nameSpace");
  m_strEmptyTag = dom->GetAttribute("emptyTag");
  if (!validationMode) m_bMillisec = dom->GetAttribute("millisec") == "1";
  m_lColumn = ColumnIndex(dom->GetAttribute("column"));
  // Only three shapes of attributes are written: attr1 alone, attr1 and attr2, all four.
  const bool named[4] = {!m_strAttr[0].empty(), !m_strAttr[1].empty(), !m_strAttr[2].empty(), !m_strAttr[3].empty()};
  if (named[0] && !named[2] && !named[3]) {
    m_iAttrCount = named[1] ? 2 : 1;
  } else if (named[0] && named[1] && named[2] && named[3]) {
    m_iAttrCount = 4;
  }
  for (int i = 0; i < m_iAttrCount; ++i) {
    m_strAttrOpen[i] = ' ' + m_strAttr[i] + "=\"";
    m_lLastAttrColumn = std::max(m_lLastAttrColumn, m_lAttrColumn[i]);
  }
  MakeTags();

  if (validationMode && dom->HasChild()) {
    m_pValidator = std::make_unique<CLCCRSValidator>();
    return m_pValidator->Initialize(m_lColumn, dom, result);
  }
  return true;
}

bool CLCCRSDataDefineNode::LocateNodeForValidate(std::unique_ptr<CLCCRSDataDefineNode>& node) {
  if (!node) return false;
  m_vecChildren.push_back(std::move(node));
  return true;
}

bool CLCCRSDataDefineNode::LocateNodeForMake(std::unique_ptr<CLCCRSDataDefineNode>& node, bool placed) {
  if (placed) return true;
  if (!node) return false;
  if (node->m_strParent == m_strId) {
    m_vecChildren.push_back(std::move(node));
    return true;
  }
  for (auto it = m_vecChildren.rbegin(); it != m_vecChildren.rend(); ++it) {
    if ((*it)->LocateNodeForMake(node, false)) return true;
  }
  return false;
}

namespace {

// Calls visit on every node below `node`, depth first.
template <typename Visit>
void ForEachBelow(const CLCCRSDataDefineNode& node, const Visit& visit) {
  for (const auto& child : node.GetChildren()) {
    visit(*child);
    ForEachBelow(*child, visit);
  }
}

}  // namespace

void CLCCRSDataDefineNode::PrepareForWriting() {
  m_lLastColumnRead = std::max(m_lColumn, m_lLastAttrColumn);
  m_vecRequiredColumns.clear();
  ForEachBelow(*this, [&](const CLCCRSDataDefineNode& node) {
    m_lLastColumnRead = std::max({m_lLastColumnRead, node.m_lColumn, node.m_lLastAttrColumn});
  });
  // The required child is searched in the children's text, where a '<' only
  // begins a tag: column and attribute text is escaped. Unless some fixed
  // value, written as it is, holds a '<', the fragment can therefore only be
  // found where the start tag of a node below begins that agrees with it as
  // far as both go (none when the fragment does not begin with '<'). When
  // each such node writes nothing without its column text, those columns decide.
  const std::string& required = m_strRequiredChild;
  bool sound = !required.empty();
  std::vector<long> columns;
  ForEachBelow(*this, [&](const CLCCRSDataDefineNode& node) {
    if (!sound) return;
    if (node.m_lColumn < 0 && node.m_strValue.find('<') != std::string::npos) sound = false;
    const std::string& tag = node.m_strStartTag;
    const bool mayMatch = required.compare(0, tag.size(), tag) == 0 || tag.compare(0, required.size(), required) == 0;
    if (!mayMatch) return;
    if (node.SilentWithoutText()) {
      columns.push_back(node.m_lColumn);
    } else {
      sound = false;
    }
  });
  if (sound) m_vecRequiredColumns = std::move(columns);
  for (const auto& child : m_vecChildren) child->PrepareForWriting();
}

bool CLCCRSDataDefineNode::LacksRequiredChild(const CLCCRSCRSReport* list, long record) const {
  if (m_vecRequiredColumns.empty()) return false;
  for (const long column : m_vecRequiredColumns) {
    const char* text = list->GetColumnValue(record, column);
    if (text == nullptr || *text != '\0') return false;
  }
  return m_lLastColumnRead < 0 || list->GetColumnValue(record, m_lLastColumnRead) != nullptr;
}

CLCStatus CLCCRSDataDefineNode::ValidateCsv(const CLCCRSCsvFile& file, long record, CLCValidResult& result) const {
  if (m_pValidator) {
    const CLCStatus status = m_pValidator->ValidateCsv(file, record, -1, result);
    if (!status.IsPassed()) return status;
  }
  const CLCCRSRecordData* data = file.GetRecord(record);
  CLCStatus status;
  for (const auto& child : m_vecChildren) {
    // An item whose rules all need an empty column costs no call.
    if (data != nullptr && child->m_pValidator && child->m_vecChildren.empty() &&
        child->m_pValidator->SkipsRecord(*data)) {
      continue;
    }
    if (status.Merge(child->ValidateCsv(file, record, result)).IsFatal()) return status;
  }
  return status;
}

CLCStatus CLCCRSDataDefineNode::WriteNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now,
                                          std::string& text, CLCValidResult& result) const {
  text.clear();
  return AppendNode(list, record, now, text, result);
}

CLCStatus CLCCRSDataDefineNode::AppendNode(CLCCRSCRSReport*, long, const CLCLocalTime&, std::string&,
                                           CLCValidResult&) const {
  return CLCStatus::Passed();
}

CLCStatus CLCCRSDataDefineNode::AppendChildren(CLCCRSCRSReport* list, long record, const CLCLocalTime& now,
                                               std::string& out, CLCValidResult& result) const {
  for (const auto& child : m_vecChildren) {
    const CLCStatus status = child->AppendNode(list, record, now, out, result);
    if (!status.IsPassed()) return status;
  }
  return CLCStatus::Passed();
}

bool CLCCRSDataDefineNode::NodeText(const CLCCRSCRSReport* list, long record, const char*& text,
                                    CLCValidResult& result) const {
  if (list == nullptr) {
    CRS_FATAL(result);
    return false;
  }
  if (m_lColumn < 0) {
    text = m_strValue.c_str();
    return true;
  }
  const char* column = list->GetColumnValue(record, m_lColumn);
  if (column == nullptr) {
    // The record is shorter than the definition expects.
    CRS_FATAL(result);
    return false;
  }
  text = column;
  return true;
}

void CLCCRSDataDefineNode::AppendText(const char* text, std::string& out) const {
  if (m_lColumn < 0) {
    out += m_strValue;
  } else {
    CLCCRSCommon::ConvEntityRefs(text, out);
  }
}

CLCStatus CLCCRSDataDefineNode::AppendNodeValue(CLCCRSCRSReport* list, long record, std::string& out,
                                                CLCValidResult& result) const {
  const char* text = nullptr;
  if (!NodeText(list, record, text, result)) return CLCStatus::Fatal();
  AppendText(text, out);
  return CLCStatus::Passed();
}
}  // namespace quorvex::internal
