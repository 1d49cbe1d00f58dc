#include "definitions/CLCCRSDefinition.h"

#include "csv/CLCCRSCRSReport.h"
#include "CLCCRSCommon.h"
#include "csv/CLCCRSCsvCRSReport.h"
#include "csv/CLCCRSCsvFile.h"
#include "report/CLCCRSDataDefReport.h"
#include "report/CLCCRSDataDefineNode.h"
#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXDom.h"
#include "csv/CRSColumns.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <mutex>
#include <unordered_map>

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

// Records of one kind grouped by the account they name (column 2), in file
// order, so that each account finds its records without scanning them all.
using LinkIndex = std::unordered_map<std::string_view, std::vector<long>>;

bool BuildLinkIndex(CLCCRSCRSReport* list, long linkColumn, LinkIndex& index) {
  const long count = list->GetRecordCount();
  index.reserve(static_cast<std::size_t>(count));
  for (long i = 0; i < count; ++i) {
    const char* key = list->GetColumnValue(i, linkColumn - 1);
    if (key == nullptr) return false;
    index[std::string_view(key)].push_back(i);
  }
  return true;
}

}  // namespace

CLCCRSDefinition::CLCCRSDefinition() = default;
CLCCRSDefinition::~CLCCRSDefinition() = default;

const CLCCRSDefinition* CLCCRSDefinition::Shared(unsigned short resource) {
  // Filled once each, on first use, and read-only afterwards.
  struct Slot {
    std::once_flag once;
    std::unique_ptr<const CLCCRSDefinition> definition;
  };
  static Slot slots[4];
  if (resource < kValidate10 || resource > kConvert20) return nullptr;
  Slot& slot = slots[resource - kValidate10];
  std::call_once(slot.once, [&slot, resource] {
    auto definition = std::make_unique<CLCCRSDefinition>();
    CLCValidResult loadProblems;
    const bool validationMode = resource == kValidate10 || resource == kValidate20;
    if (definition->CreateDefinition(kRootName, resource, validationMode, loadProblems)) {
      slot.definition = std::move(definition);
    }
  });
  return slot.definition.get();
}

bool CLCCRSDefinition::CreateDefinition(const char* rootName, unsigned short resource, bool validationMode,
                                        CLCValidResult& result) {
  m_usResource = resource;
  if (rootName == nullptr) {
    CRS_FATAL(result);
    return false;
  }
  const std::string document = CLCCRSCommon::LoadResoucePath(resource, "DEFINITION");
  if (document.empty()) {
    CRS_FATAL(result);
    return false;
  }
  return Load(rootName, resource, document, validationMode, result);
}

bool CLCCRSDefinition::CreateDefinitionFromText(const char* rootName, unsigned short resource,
                                                const std::string& document, bool validationMode,
                                                CLCValidResult& result) {
  return Load(rootName, resource, document, validationMode, result);
}

bool CLCCRSDefinition::Load(const char* rootName, unsigned short resource, const std::string& document,
                            bool validationMode, CLCValidResult& result) {
  m_usResource = resource;
  if (rootName == nullptr) {
    CRS_FATAL(result);
    return false;
  }
  CLCXDom dom(result);
  if (!dom.Initialize()) return false;
  // The document is the file's Shift_JIS bytes, compiled into the library.
  if (!dom.Parse(document.c_str(), "Quorvex", "Shift_JIS")) return false;

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

      // A report without items is kept (its position counts) and the walk
      // goes on with the next report.
      if (dom.MoveFirstChild() != 0) continue;
      do {
        if (dom.GetNodeName() != "item") continue;
        std::unique_ptr<CLCCRSDataDefineNode> node =
            CLCCRSDataDefineNode::CreateNode(&dom, validationMode, result);
        if (!node) return false;
        bool placed = false;
        if (resource == kValidate10 || resource == kValidate20) {
          placed = reportNode.LocateNodeForValidate(node);
        } else if (resource == kConvert10 || resource == kConvert20) {
          placed = reportNode.LocateNodeForMake(node, false);
        } else {
          CRS_FATAL(result);
          return false;
        }
        if (!placed) {
          // The item's parent names no report and no earlier item.
          CRS_FATAL(result);
          return false;
        }
      } while (dom.MoveNextSibling() == 0);
      if (dom.MoveParent() != 0) {
        CRS_FATAL(result);
        return false;
      }
    } while (dom.MoveNextSibling() == 0);
  }
  dom.Terminate();
  if (!validationMode && m_vecReports.size() < kConversionReportCount) {
    CRS_FATAL(result);
    return false;
  }
  return true;
}

int CLCCRSDefinition::ValidateRecord(const CLCCRSCsvFile& file, long record, CLCValidResult& result) const {
  const char* kindText = file.GetItem(record, CRSColumn::kKind - 1);
  if (kindText == nullptr) {
    CRS_FATAL(result);
    return 1;
  }
  const std::string_view kind(kindText);
  long position = 0;
  const auto parsed = std::from_chars(kind.data(), kind.data() + kind.size(), position);
  if (parsed.ec != std::errc() || parsed.ptr != kind.data() + kind.size() || position < 1 ||
      static_cast<std::size_t>(position) > m_vecReports.size()) {
    CRS_FATAL(result);
    return 1;
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

std::string CLCCRSDefinition::MakeReportData(CLCCRSCsvCRSReport& file, bool* success,
                                             CLCValidResult& result) const {
  if (success == nullptr) {
    CRS_FATAL(result);
    return std::string();
  }
  auto fail = [&]() {
    CRS_FATAL(result);
    *success = false;
    return std::string();
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

  std::string out;
  // Roughly what an account with its holder and links comes to.
  constexpr std::size_t kBytesPerRecord = 1536;
  constexpr std::size_t kReserveLimit = 2 * static_cast<std::size_t>(CLCCRSCsvFile::kMaxFileSize);
  out.reserve(std::min(kReserveLimit, 4096 + static_cast<std::size_t>(recordCount) * kBytesPerRecord));

  // The version is a column like any other: escaped, so that it can
  // neither end the attribute nor break the document.
  out += "<crs:";
  out += m_strRootNode;
  out += " version=\"";
  CLCCRSCommon::ConvEntityRefs(version, std::strlen(version), out, true);
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

  messageSpec.AppendAll(header, success, out, result);
  if (!*success) return std::string();
  out += "<crs:CrsBody>";
  reportingFI.AppendAll(header, success, out, result);
  if (!*success) return std::string();

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
    auto tooLarge = [&]() {
      if (out.size() <= kMaxOutputSize) return false;
      result.SetResult(CRSMSG_OUTPUT_TOO_LARGE, 0, 0, -1);
      *success = false;
      return true;
    };
    out += "<crs:ReportingGroup>";
    for (long account = 0; account < accountCount; ++account) {
      const char* docRefId = accounts->GetColumnValue(account, CRSColumn::kAccountDocRefId - 1);
      if (docRefId == nullptr) return fail();
      out += "<crs:AccountReport>";
      accountReport.AppendNode(accounts, account, success, out, result);
      if (!*success) return std::string();
      const auto linkedPersons = personIndex.find(std::string_view(docRefId));
      if (linkedPersons != personIndex.end()) {
        for (const long person : linkedPersons->second) {
          controllingPerson.AppendNode(persons, person, success, out, result);
          if (!*success || tooLarge()) return std::string();
        }
      }
      accountBalance.AppendNode(accounts, account, success, out, result);
      if (!*success) return std::string();
      const auto linkedPayments = paymentIndex.find(std::string_view(docRefId));
      if (linkedPayments != paymentIndex.end()) {
        for (const long paid : linkedPayments->second) {
          payment.AppendNode(payments, paid, success, out, result);
          if (!*success || tooLarge()) return std::string();
        }
      }
      out += "</crs:AccountReport>";
      if (tooLarge()) return std::string();
    }
    out += "</crs:ReportingGroup>";
  }
  out += "</crs:CrsBody>";
  out += "</crs:";
  out += m_strRootNode;
  out += '>';
  return out;
}
}  // namespace quorvex::internal
