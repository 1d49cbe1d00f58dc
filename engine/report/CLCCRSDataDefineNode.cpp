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

bool CLCCRSDataDefineNode::CanWrite(const CLCCRSCRSReport* list, bool* success, CLCValidResult& result) {
  if (success == nullptr) {
    CRS_FATAL(result);
    return false;
  }
  if (!*success) return false;
  if (list == nullptr) {
    CRS_FATAL(result);
    *success = false;
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

int CLCCRSDataDefineNode::ValidateCsv(const CLCCRSCsvFile& file, long record, CLCValidResult& result) const {
  if (m_pValidator) {
    const int outcome = m_pValidator->ValidateCsv(file, record, -1, result);
    if (outcome != 0) return outcome;
  }
  const CLCCRSRecordData* data = file.GetRecord(record);
  int last = 0;
  for (const auto& child : m_vecChildren) {
    // An item whose rules all need an empty column costs no call.
    if (data != nullptr && child->m_pValidator && child->m_vecChildren.empty() &&
        child->m_pValidator->SkipsRecord(*data)) {
      continue;
    }
    const int outcome = child->ValidateCsv(file, record, result);
    if (outcome == 1) return 1;
    if (outcome != 0) last = outcome;
  }
  return last;
}

std::string CLCCRSDataDefineNode::WriteNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now,
                                            bool* success, CLCValidResult& result) const {
  std::string out;
  AppendNode(list, record, now, success, out, result);
  return out;
}

void CLCCRSDataDefineNode::AppendNode(CLCCRSCRSReport*, long, const CLCLocalTime&, bool*, std::string&,
                                      CLCValidResult&) const {}

bool CLCCRSDataDefineNode::AppendChildren(CLCCRSCRSReport* list, long record, const CLCLocalTime& now,
                                          bool* success, std::string& out, CLCValidResult& result) const {
  for (const auto& child : m_vecChildren) {
    child->AppendNode(list, record, now, success, out, result);
    if (!*success) return false;
  }
  return true;
}

bool CLCCRSDataDefineNode::AppendNodeValue(CLCCRSCRSReport* list, long record, bool* success,
                                           std::string& out, CLCValidResult& result) const {
  if (list == nullptr || success == nullptr) {
    CRS_FATAL(result);
    if (success != nullptr) *success = false;
    return false;
  }
  if (m_lColumn < 0) {
    out += m_strValue;
    return true;
  }
  const char* text = list->GetColumnValue(record, m_lColumn);
  if (text == nullptr) {
    // The record is shorter than the definition expects.
    CRS_FATAL(result);
    *success = false;
    return false;
  }
  CLCCRSCommon::ConvEntityRefs(text, std::strlen(text), out);
  return true;
}
}  // namespace quorvex::internal
