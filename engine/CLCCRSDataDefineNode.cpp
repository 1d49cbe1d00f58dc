#include "CLCCRSDataDefineNode.h"

#include "CLCCRSCRSReport.h"
#include "CLCCRSCommon.h"
#include "CLCCRSCsvCRSReport.h"
#include "CLCCRSDataDefNormal.h"
#include "CLCCRSDataDefSplit.h"
#include "CLCCRSDataDefTimeStamp.h"
#include "CLCCRSValidItem.h"
#include "CLCCRSValidator.h"
#include "CLCValidResult.h"
#include "CLCXDom.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <new>

namespace {
const std::string kDefaultPrefix = "crs";
}

CLCCRSDataDefineNode::CLCCRSDataDefineNode() = default;
CLCCRSDataDefineNode::~CLCCRSDataDefineNode() = default;

long CLCCRSDataDefineNode::LeadingInteger(const std::string& text) {
  return CLCCRSValidItem::LeadingInteger(text);
}

bool CLCCRSDataDefineNode::CanWrite(const CLCCRSCRSReport* list, bool* success, const char* function) {
  if (success == nullptr) {
    CRS_FATAL(function);
    return false;
  }
  if (!*success) return false;
  if (list == nullptr) {
    CRS_FATAL(function);
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

std::unique_ptr<CLCCRSDataDefineNode> CLCCRSDataDefineNode::CreateNode(CLCXDom* dom,
                                                                       CLCCRSCsvCRSReport* report,
                                                                       bool validationMode) {
  static constexpr const char* kFunction = "CLCCRSDataDefineNode::CreateNode";
  if (dom == nullptr) {
    CRS_FATAL(kFunction);
    return nullptr;
  }
  std::unique_ptr<CLCCRSDataDefineNode> node;
  try {
    const std::string type = dom->GetAttribute("type");
    if (type == "Normal") {
      node = std::make_unique<CLCCRSDataDefNormal>();
    } else if (type == "Timestamp") {
      node = std::make_unique<CLCCRSDataDefTimeStamp>();
    } else if (type == "Split") {
      node = std::make_unique<CLCCRSDataDefSplit>();
    } else {
      CRS_FATAL(kFunction);
      return nullptr;
    }
  } catch (const std::bad_alloc&) {
    CRS_FATAL_MSG(kFunction, CLCDebugDump::kCreateFailed);
    return nullptr;
  } catch (...) {
    CRS_FATAL(kFunction);
    return nullptr;
  }
  if (!node->Initialize(dom, report, validationMode)) return nullptr;
  return node;
}

bool CLCCRSDataDefineNode::Initialize(CLCXDom* dom, CLCCRSCsvCRSReport* report, bool validationMode) {
  static constexpr const char* kFunction = "CLCCRSDataDefineNode::Initialize";
  if (dom == nullptr) {
    CRS_FATAL(kFunction);
    return false;
  }
  try {
    m_pCsvReport = report;
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
        CRS_FATAL(kFunction);
        return false;
      }
    }
    m_strRequiredChild = dom->GetAttribute("requiredChild");
    m_strNameSpace = dom->GetAttribute("nameSpace");
    m_strEmptyTag = dom->GetAttribute("emptyTag");
    if (!validationMode) m_bMillisec = dom->GetAttribute("millisec") == "1";
    m_lColumn = ColumnIndex(dom->GetAttribute("column"));

    if (validationMode && dom->HasChild()) {
      try {
        m_pValidator = std::make_unique<CLCCRSValidator>();
      } catch (const std::bad_alloc&) {
        CRS_FATAL_MSG(kFunction, CLCDebugDump::kCreateFailed);
        return false;
      }
      return m_pValidator->Initialize(m_lColumn, dom, report);
    }
    return true;
  } catch (...) {
    CRS_FATAL(kFunction);
    return false;
  }
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

int CLCCRSDataDefineNode::ValidateCsv(CLCCRSCsvFile* file, long record) {
  try {
    if (m_pValidator) {
      const int result = m_pValidator->ValidateCsv(file, record, -1);
      if (result != 0) return result;
    }
    int last = 0;
    for (const auto& child : m_vecChildren) {
      const int result = child->ValidateCsv(file, record);
      if (result == 1) return 1;
      if (result != 0) last = result;
    }
    return last;
  } catch (...) {
    CRS_FATAL("CLCCRSDataDefineNode::ValidateCsv");
    return 1;
  }
}

std::string CLCCRSDataDefineNode::WriteNode(CLCCRSCRSReport* list, long record, bool* success) {
  std::string out;
  AppendNode(list, record, success, out);
  return out;
}

void CLCCRSDataDefineNode::AppendNode(CLCCRSCRSReport*, long, bool*, std::string&) {}

bool CLCCRSDataDefineNode::AppendChildren(CLCCRSCRSReport* list, long record, bool* success,
                                          std::string& out) {
  for (const auto& child : m_vecChildren) {
    child->AppendNode(list, record, success, out);
    if (!*success) return false;
  }
  return true;
}

bool CLCCRSDataDefineNode::AppendNodeValue(CLCCRSCRSReport* list, long record, bool* success,
                                           std::string& out) {
  static constexpr const char* kFunction = "CLCCRSDataDefineNode::MakeNodeValue";
  if (list == nullptr || success == nullptr) {
    CRS_FATAL(kFunction);
    if (success != nullptr) *success = false;
    return false;
  }
  const std::size_t mark = out.size();
  try {
    if (m_lColumn < 0) {
      out += m_strValue;
      return true;
    }
    const char* text = list->GetColumnValue(record, m_lColumn);
    if (text == nullptr) {
      // The record is shorter than the definition expects.
      CRS_FATAL(kFunction);
      *success = false;
      return false;
    }
    CLCCRSCommon::ConvEntityRefs(text, std::strlen(text), out);
    return true;
  } catch (...) {
    out.resize(mark);
    CRS_FATAL(kFunction);
    *success = false;
    return false;
  }
}

std::string CLCCRSDataDefineNode::MakeNodeValue(CLCCRSCRSReport* list, long record, bool* success) {
  std::string out;
  if (!AppendNodeValue(list, record, success, out)) return std::string();
  return out;
}
