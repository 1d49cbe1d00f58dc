#include "definitions/CLCCRSDefinition.h"

#include "csv/CLCCRSCRSReport.h"
#include "CLCCRSCommon.h"
#include "csv/CLCCRSCsvCRSReport.h"
#include "csv/CLCCRSCsvFile.h"
#include "definitions/CLCSharedDefinition.h"
#include "report/CLCCRSDataDefReport.h"
#include "report/CLCCRSDataDefineNode.h"
#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXDom.h"
#include "csv/CRSColumns.h"
#include "rules/CLCCRSValidator.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvex::internal {

namespace {

constexpr unsigned short kValidate10 = 205;
constexpr unsigned short kConvert10 = 206;
constexpr unsigned short kValidate20 = 207;
constexpr unsigned short kConvert20 = 208;
constexpr const char* kRootName = "CRS_OECD";

// Namespace declarations of the root element, in output order.
struct Namespaces {
  const char* uri[5];
};
constexpr const char* kPrefixes[5] = {"stf", "crs", "iso", "xsi", "cfc"};
constexpr Namespaces kNamespaces10 = {{"urn:oecd:ties:stf:v4", "urn:oecd:ties:crs:v1",
                                       "urn:oecd:ties:isocrstypes:v1",
                                       "http://www.w3.org/2001/XMLSchema-instance",
                                       "urn:oecd:ties:commontypesfatcacrs:v1"}};
constexpr Namespaces kNamespaces20 = {{"urn:oecd:ties:crsstf:v5", "urn:oecd:ties:crs:v2",
                                       "urn:oecd:ties:isocrstypes:v1",
                                       "http://www.w3.org/2001/XMLSchema-instance",
                                       "urn:oecd:ties:commontypesfatcacrs:v2"}};

// Records of one kind linked to the account they name (column 2): the first
// record of each account, then each record's next one in file order (-1 ends
// the chain), so that each account finds its records without scanning them all.
struct LinkIndex {
  std::unordered_map<std::string_view, long> first;
  std::vector<long> next;

  template <typename Visit>
  void ForEachLinked(std::string_view account, const Visit& visit) const {
    const auto found = first.find(account);
    if (found == first.end()) return;
    for (long record = found->second; record >= 0; record = next[static_cast<std::size_t>(record)]) {
      if (!visit(record)) return;
    }
  }
};

bool BuildLinkIndex(CLCCRSCRSReport* list, long linkColumn, LinkIndex& index) {
  const long count = list->GetRecordCount();
  index.first.reserve(static_cast<std::size_t>(count));
  index.next.assign(static_cast<std::size_t>(count), -1);
  // From the last record back, so that each chain runs in file order.
  for (long i = count - 1; i >= 0; --i) {
    const char* key = list->GetColumnValue(i, linkColumn - 1);
    if (key == nullptr) return false;
    const auto [slot, added] = index.first.try_emplace(std::string_view(key), i);
    if (added) continue;
    index.next[static_cast<std::size_t>(i)] = slot->second;
    slot->second = i;
  }
  return true;
}

// `item "id" (column n)`, as the document writes them.
std::string DescribeItem(const std::string& id, long column) {
  std::string text = "item \"" + id + '"';
  if (column >= 0) text += " (column " + std::to_string(column + 1) + ')';
  return text;
}

std::unique_ptr<const CLCCRSDefinition> LoadShared(unsigned short resource, std::string& problem) {
  auto definition = std::make_unique<CLCCRSDefinition>();
  CLCValidResult loadProblems;
  const bool validationMode = resource == kValidate10 || resource == kValidate20;
  if (definition->CreateDefinition(kRootName, resource, validationMode, loadProblems)) return definition;
  problem = definition->GetLoadProblem();
  return nullptr;
}

CLCSharedDefinition* SharedSlot(unsigned short resource) {
  static CLCSharedDefinition slots[4] = {
      CLCSharedDefinition([](std::string& problem) { return LoadShared(kValidate10, problem); }),
      CLCSharedDefinition([](std::string& problem) { return LoadShared(kConvert10, problem); }),
      CLCSharedDefinition([](std::string& problem) { return LoadShared(kValidate20, problem); }),
      CLCSharedDefinition([](std::string& problem) { return LoadShared(kConvert20, problem); }),
  };
  if (resource < kValidate10 || resource > kConvert20) return nullptr;
  return &slots[resource - kValidate10];
}

}  // namespace

CLCCRSDefinition::CLCCRSDefinition() = default;
CLCCRSDefinition::~CLCCRSDefinition() = default;

const CLCCRSDefinition* CLCCRSDefinition::Shared(unsigned short resource) {
  CLCSharedDefinition* slot = SharedSlot(resource);
  return slot != nullptr ? slot->Get() : nullptr;
}

std::string CLCCRSDefinition::SharedLoadProblem(unsigned short resource) {
  const CLCSharedDefinition* slot = SharedSlot(resource);
  return slot != nullptr ? slot->LoadProblem() : std::string();
}

bool CLCCRSDefinition::CreateDefinition(const char* rootName, unsigned short resource, bool validationMode,
                                        CLCValidResult& result) {
  m_usResource = resource;
  if (rootName == nullptr) return Refuse(resource, "no root name was given", result);
  const std::string document = CLCCRSCommon::LoadResoucePath(resource, "DEFINITION");
  if (document.empty()) return Refuse(resource, "no document under this resource number", result);
  return Load(rootName, resource, document, validationMode, result);
}

bool CLCCRSDefinition::CreateDefinitionFromText(const char* rootName, unsigned short resource,
                                                const std::string& document, bool validationMode,
                                                CLCValidResult& result) {
  return Load(rootName, resource, document, validationMode, result);
}

bool CLCCRSDefinition::Refuse(unsigned short resource, const std::string& reason, CLCValidResult& result) {
  m_strLoadProblem = "definition " + std::to_string(resource) + ": " + reason;
  CRS_FATAL_MSG(result, m_strLoadProblem.c_str());
  return false;
}

bool CLCCRSDefinition::Load(const char* rootName, unsigned short resource, const std::string& document,
                            bool validationMode, CLCValidResult& result) {
  m_usResource = resource;
  m_strLoadProblem.clear();
  if (rootName == nullptr) return Refuse(resource, "no root name was given", result);
  CLCXDom dom(result);
  // The reader has logged its own details (the parser's line and column).
  const char* const kUnreadable = "the document could not be read as XML";
  if (!dom.Initialize()) return Refuse(resource, kUnreadable, result);
  // The document is the file's Shift_JIS bytes, compiled into the library.
  if (!dom.Parse(document.c_str(), "Quorvex", "Shift_JIS")) return Refuse(resource, kUnreadable, result);

  m_strRootNode = dom.GetAttribute("rootNode");
  m_strAttr1 = dom.GetAttribute("attr1");
  m_strAttrValueRec1 = dom.GetAttribute("attrValueRec1");
  m_lAttrValueColumn1 = CLCCRSDataDefineNode::ColumnIndex(dom.GetAttribute("attrValueColumn1"));
  const bool readReportAttributes = m_strRootNode == rootName;

  if (dom.MoveFirstChild() == 0) {
    do {
      std::string columnNum;
      if (readReportAttributes && dom.GetNodeName() == "report") {
        m_strReportId = dom.GetAttribute("reportId");
        m_strReportVR = dom.GetAttribute("reportVR");
        columnNum = dom.GetAttribute("columnNum");
        m_strDumyFlg = dom.GetAttribute("dumyFlg");
      }
      m_vecReports.push_back(std::make_unique<CLCCRSDataDefReport>());
      CLCCRSDataDefReport& reportNode = *m_vecReports.back();
      reportNode.Initialize(m_strReportId, m_strReportVR, CLCCRSDataDefineNode::LeadingInteger(columnNum),
                            m_strDumyFlg);
      const std::string report = "report " + std::to_string(m_vecReports.size()) + ", ";

      // A report without items is kept (its position counts) and the walk
      // goes on with the next report.
      if (dom.MoveFirstChild() != 0) continue;
      do {
        if (dom.GetNodeName() != "item") continue;
        const std::string itemId = dom.GetAttribute("id");
        std::unique_ptr<CLCCRSDataDefineNode> node =
            CLCCRSDataDefineNode::CreateNode(&dom, validationMode, result);
        if (!node) {
          return Refuse(resource, report + DescribeItem(itemId, -1) +
                                      ": not built (its type, an attribute without its column, or a rule id)",
                        result);
        }
        // Every rule's parameters are judged now, so that a wrong one fails
        // the load instead of the first operation whose value reaches it.
        const std::string ruleProblem = node->GetValidator() != nullptr ? node->GetValidator()->ParamProblem() : "";
        if (!ruleProblem.empty()) {
          return Refuse(resource, report + DescribeItem(itemId, node->GetColumn()) + ", " + ruleProblem, result);
        }
        bool placed = false;
        if (resource == kValidate10 || resource == kValidate20) {
          placed = reportNode.LocateNodeForValidate(node);
        } else if (resource == kConvert10 || resource == kConvert20) {
          placed = reportNode.LocateNodeForMake(node, false);
        } else {
          return Refuse(resource, "no definition has this resource number", result);
        }
        if (!placed) {  // the node is still here: only a placed node is taken
          return Refuse(resource,
                        report + DescribeItem(itemId, -1) + ": its parent \"" + node->GetParent() +
                            "\" is neither its report nor an item before it",
                        result);
        }
      } while (dom.MoveNextSibling() == 0);
      if (dom.MoveParent() != 0) return Refuse(resource, "the document's tree could not be walked", result);
    } while (dom.MoveNextSibling() == 0);
  }
  dom.Terminate();
  if (!validationMode && m_vecReports.size() < kConversionReportCount) {
    return Refuse(resource,
                  "a conversion definition needs " + std::to_string(kConversionReportCount) +
                      " reports, this one has " + std::to_string(m_vecReports.size()),
                  result);
  }
  if (!validationMode) {
    for (const auto& report : m_vecReports) report->PrepareForWriting();
  }
  return true;
}

CLCStatus CLCCRSDefinition::ValidateRecord(const CLCCRSCsvFile& file, long record, CLCValidResult& result) const {
  const char* kindText = file.GetItem(record, CRSColumn::kKind - 1);
  if (kindText == nullptr) {
    CRS_FATAL(result);
    return CLCStatus::Fatal();
  }
  const std::string_view kind(kindText);
  long position = 0;
  const auto parsed = std::from_chars(kind.data(), kind.data() + kind.size(), position);
  if (parsed.ec != std::errc() || parsed.ptr != kind.data() + kind.size() || position < 1 ||
      static_cast<std::size_t>(position) > m_vecReports.size()) {
    CRS_FATAL(result);
    return CLCStatus::Fatal();
  }
  return m_vecReports[static_cast<std::size_t>(position - 1)]->ValidateCsv(file, record, result);
}

const std::string* CLCCRSDefinition::ItemName(int kind, long column) const {
  if (kind < 1 || static_cast<std::size_t>(kind) > m_vecReports.size()) return nullptr;
  for (const auto& item : m_vecReports[static_cast<std::size_t>(kind - 1)]->GetChildren()) {
    if (item->GetColumn() == column) return &item->GetId();
  }
  return nullptr;
}

CLCStatus CLCCRSDefinition::MakeReportData(CLCCRSCsvCRSReport& file, const CLCLocalTime& now, std::string& out,
                                           CLCValidResult& result) const {
  out.clear();
  // Nothing of a failed document is left behind.
  auto failWith = [&](CLCStatus status) {
    out.clear();
    return status;
  };
  auto fail = [&]() {
    CRS_FATAL(result);
    return failWith(CLCStatus::Fatal());
  };
  if (m_vecReports.size() < kConversionReportCount) return fail();
  const Namespaces* namespaces = nullptr;
  if (m_usResource == kConvert10) {
    namespaces = &kNamespaces10;
  } else if (m_usResource == kConvert20) {
    namespaces = &kNamespaces20;
  } else {
    return fail();
  }

  const long recordCount = file.GetRecordCount();
  CLCCRSCRSReport* header = file.GetCRSMessageSpecReportingFI();
  CLCCRSCRSReport* accounts = file.GetCRSAccountReport();
  CLCCRSCRSReport* persons = file.GetCRSControllingPerson();
  CLCCRSCRSReport* payments = file.GetCRSPayment();

  // The root's version comes from the header record by the kind that the
  // definition names.
  if (m_lAttrValueColumn1 < 0) return fail();
  const char* version = file.GetColumnValue(m_strAttrValueRec1.c_str(), 0, m_lAttrValueColumn1);
  if (version == nullptr) return fail();

  // Roughly what an account with its holder and links comes to, but never
  // more than the largest document accepted (and the account that passes it):
  // the text is built without moving, and no more is set aside than can be used.
  constexpr std::size_t kBytesPerRecord = 1536;
  constexpr std::size_t kReserveLimit = kMaxOutputSize + 65536;
  out.reserve(std::min(kReserveLimit, 4096 + static_cast<std::size_t>(recordCount) * kBytesPerRecord));

  // The version is a column like any other: escaped, so that it can
  // neither end the attribute nor break the document.
  out += "<crs:";
  out += m_strRootNode;
  out += " version=\"";
  CLCCRSCommon::ConvEntityRefs(version, out, true);
  out += '"';
  for (std::size_t i = 0; i < 5; ++i) {
    out += " xmlns:";
    out += kPrefixes[i];
    out += "=\"";
    out += namespaces->uri[i];
    out += '"';
  }
  out += '>';

  CLCCRSDataDefReport& messageSpec = *m_vecReports[0];
  CLCCRSDataDefReport& reportingFI = *m_vecReports[1];
  CLCCRSDataDefReport& accountReport = *m_vecReports[2];
  CLCCRSDataDefReport& controllingPerson = *m_vecReports[3];
  CLCCRSDataDefReport& accountBalance = *m_vecReports[4];
  CLCCRSDataDefReport& payment = *m_vecReports[5];

  CLCStatus status = messageSpec.AppendAll(header, now, out, result);
  if (!status.IsPassed()) return failWith(status);
  out += "<crs:CrsBody>";
  status = reportingFI.AppendAll(header, now, out, result);
  if (!status.IsPassed()) return failWith(status);

  const long accountCount = accounts->GetRecordCount();
  if (accountCount + persons->GetRecordCount() + payments->GetRecordCount() == 0) {
    out += "<crs:ReportingGroup/>";
  } else {
    LinkIndex personIndex;
    LinkIndex paymentIndex;
    if (!BuildLinkIndex(persons, CRSColumn::kPersonAccountDocRefId, personIndex) ||
        !BuildLinkIndex(payments, CRSColumn::kPaymentAccountDocRefId, paymentIndex)) {
      return fail();
    }
    // Links are many to many, so the output can grow far past the input:
    // stop as soon as it passes the limit, which also bounds the memory.
    // True when the last writer failed or the output has just grown too large.
    auto tooLarge = [&]() {
      if (!status.IsPassed()) return true;
      if (out.size() <= kMaxOutputSize) return false;
      result.SetResult(CRSMSG_OUTPUT_TOO_LARGE, 0, 0, -1);
      status = CLCStatus::Failed(CRSMSG_OUTPUT_TOO_LARGE);
      return true;
    };
    out += "<crs:ReportingGroup>";
    for (long account = 0; account < accountCount; ++account) {
      const char* docRefId = accounts->GetColumnValue(account, CRSColumn::kAccountDocRefId - 1);
      if (docRefId == nullptr) return fail();
      out += "<crs:AccountReport>";
      status = accountReport.AppendNode(accounts, account, now, out, result);
      if (!status.IsPassed()) return failWith(status);
      bool stopped = false;
      personIndex.ForEachLinked(docRefId, [&](long person) {
        status = controllingPerson.AppendNode(persons, person, now, out, result);
        stopped = tooLarge();
        return !stopped;
      });
      if (stopped) return failWith(status);
      status = accountBalance.AppendNode(accounts, account, now, out, result);
      if (!status.IsPassed()) return failWith(status);
      paymentIndex.ForEachLinked(docRefId, [&](long paid) {
        status = payment.AppendNode(payments, paid, now, out, result);
        stopped = tooLarge();
        return !stopped;
      });
      if (stopped) return failWith(status);
      out += "</crs:AccountReport>";
      if (tooLarge()) return failWith(status);
    }
    out += "</crs:ReportingGroup>";
  }
  out += "</crs:CrsBody>";
  out += "</crs:";
  out += m_strRootNode;
  out += '>';
  return status;
}
}  // namespace quorvex::internal
