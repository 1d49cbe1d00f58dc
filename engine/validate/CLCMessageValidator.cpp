#include "validate/CLCMessageValidator.h"

#include "validate/CLCElementPath.h"
#include "validate/CLCMessageRules.h"
#include "validate/CLCSchemaGrammar.h"
#include "validate/CLCThreatScanner.h"
#include "xml/CLCXPlatform.h"

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <algorithm>
#include <new>
#include <string>

namespace quorvex::internal {

using namespace xercesc;

namespace {

constexpr const char* kSchemaCode = "50007";
constexpr const char* kCrsNamespace1 = "urn:oecd:ties:crs:v1";

// Thrown to stop at a document type declaration (never in a CRS message, and
// the way in for entity tricks).
struct DoctypeRefused {};

class ValidatingReader : public SAX2XMLReaderImpl {
 public:
  using SAX2XMLReaderImpl::SAX2XMLReaderImpl;
  void doctypeDecl(const DTDElementDecl&, const XMLCh* const, const XMLCh* const, const bool,
                   const bool) override {
    throw DoctypeRefused();
  }
};

// Stops the parse once a message proves to be schema 1.0.
struct SchemaOneFound {};

bool Is(std::string_view name, const char* text) { return name == text; }

class Handler : public DefaultHandler {
 public:
  explicit Handler(std::vector<CLCValidationFinding>& findings) : m_findings(findings) {}

  void setDocumentLocator(const Locator* const locator) override { m_locator = locator; }

  void startElement(const XMLCh* const uri, const XMLCh* const localname, const XMLCh* const,
                    const Attributes&) override {
    const std::string name = XMLChToChar(localname);
    if (m_path.Depth() == 0) {
      const std::string ns = XMLChToChar(uri);
      if (ns == kCrsNamespace1) {
        schemaOne = true;
        throw SchemaOneFound();
      }
    }
    m_path.Push(name);
    if (Is(name, "ReportingFI") || Is(name, "AccountReport")) {
      m_inRecord = true;
      m_record = CLCRecordSpec();
      recordStarts.push_back(Here());
    }
    m_capture = Captured(name);
    m_text.clear();
    // Where the value begins: just past its start tag.
    if (m_capture) m_captureAt = Here();
  }

  void characters(const XMLCh* const chars, const XMLSize_t length) override {
    if (m_capture) m_text.append(chars, length);
  }

  void endElement(const XMLCh* const, const XMLCh* const, const XMLCh* const) override {
    const std::string_view name = m_path.Name();
    if (m_capture) Store(name);
    m_capture = false;
    if (m_inRecord && (Is(name, "ReportingFI") || Is(name, "AccountReport"))) {
      m_inRecord = false;
      records.push_back(std::move(m_record));
      recordEnds.push_back(Here());
    }
    m_path.Pop();
  }

  void warning(const SAXParseException& e) override { Report(e, CLCFindingSeverity::Warning); }
  void error(const SAXParseException& e) override { Report(e, CLCFindingSeverity::Error); }
  void fatalError(const SAXParseException& e) override {
    if (!notWellFormed) Report(e, CLCFindingSeverity::Error, "not well-formed: ");
    notWellFormed = true;
  }

  CLCMessageSpec message;
  std::vector<CLCRecordSpec> records;
  std::vector<CLCValuePosition> recordStarts;  // where each record's start tag ends
  std::vector<CLCValuePosition> recordEnds;
  bool notWellFormed = false;
  bool schemaOne = false;

 private:
  // The leaf values the rules read.
  bool Captured(std::string_view name) const {
    const std::string_view parent = m_path.Name(1);
    if (Is(parent, "MessageSpec")) {
      return Is(name, "TransmittingCountry") || Is(name, "ReceivingCountry") || Is(name, "MessageRefId") ||
             Is(name, "MessageTypeIndic") || Is(name, "SendingCompanyIN") || Is(name, "ReportingPeriod");
    }
    if (Is(parent, "ReportingFI") && Is(name, "IN")) return message.reportingFIIN.empty();
    if (Is(parent, "DocSpec") && m_inRecord) {
      return Is(name, "DocTypeIndic") || Is(name, "DocRefId") || Is(name, "CorrDocRefId");
    }
    return false;
  }

  CLCValuePosition Here() const {
    CLCValuePosition at;
    at.line = m_locator != nullptr ? static_cast<long>(m_locator->getLineNumber()) : 1;
    at.column = m_locator != nullptr ? static_cast<long>(m_locator->getColumnNumber()) : 1;
    at.path = m_path.Str();
    return at;
  }

  void Store(std::string_view name) {
    std::string value = XMLChToChar(m_text.c_str());
    const auto first = value.find_first_not_of(" \t\r\n");
    value = first == std::string::npos ? std::string() : value.substr(first, value.find_last_not_of(" \t\r\n") - first + 1);
    if (Is(name, "SendingCompanyIN")) {
      message.sendingCompanyIN = std::move(value);
    } else if (Is(name, "ReportingPeriod")) {
      message.reportingPeriod = std::move(value);
    } else if (Is(name, "IN")) {
      message.reportingFIIN = std::move(value);
    } else if (Is(name, "TransmittingCountry")) {
      message.transmittingCountry = std::move(value);
    } else if (Is(name, "ReceivingCountry")) {
      message.receivingCountry = std::move(value);
    } else if (Is(name, "MessageRefId")) {
      message.messageRefId = std::move(value);
      message.messageRefIdAt = m_captureAt;
    } else if (Is(name, "MessageTypeIndic")) {
      message.messageTypeIndic = std::move(value);
      message.messageTypeIndicAt = m_captureAt;
    } else if (Is(name, "DocTypeIndic")) {
      m_record.docTypeIndic = std::move(value);
      m_record.docTypeIndicAt = m_captureAt;
    } else if (Is(name, "DocRefId")) {
      m_record.docRefId = std::move(value);
      m_record.docRefIdAt = m_captureAt;
    } else if (Is(name, "CorrDocRefId")) {
      m_record.corrDocRefId = std::move(value);
      m_record.corrDocRefIdAt = m_captureAt;
    }
  }

  void Report(const SAXParseException& e, CLCFindingSeverity severity, const char* prefix = "") {
    if (m_findings.size() > CLCMessageValidator::kMaxFindings) return;
    CLCValidationFinding finding;
    finding.code = kSchemaCode;
    finding.severity = severity;
    finding.line = std::max<long>(1, static_cast<long>(e.getLineNumber()));
    finding.column = std::max<long>(1, static_cast<long>(e.getColumnNumber()));
    finding.path = m_path.Str();
    finding.message = prefix + XMLChToChar(e.getMessage());
    m_findings.push_back(std::move(finding));
  }

  std::vector<CLCValidationFinding>& m_findings;
  const Locator* m_locator = nullptr;
  CLCElementPath m_path;
  bool m_inRecord = false;
  CLCRecordSpec m_record;
  bool m_capture = false;
  CLCValuePosition m_captureAt;
  std::basic_string<XMLCh> m_text;
};

bool Before(const CLCValidationFinding& a, const CLCValidationFinding& b) {
  return a.line != b.line ? a.line < b.line : a.column < b.column;
}

// Gives each finding that names no record the DocRefId of the record it falls
// in, by position: records do not nest and come in message order.
void NameRecords(std::vector<CLCValidationFinding>& findings, const std::vector<CLCValuePosition>& starts,
                 const std::vector<CLCValuePosition>& ends, const std::vector<CLCRecordSpec>& records) {
  for (CLCValidationFinding& finding : findings) {
    if (!finding.docRefId.empty()) continue;
    CLCValuePosition at;
    at.line = finding.line;
    at.column = finding.column;
    const auto later = [](const CLCValuePosition& a, const CLCValuePosition& b) {
      return a.line != b.line ? a.line < b.line : a.column < b.column;
    };
    // The last record that starts at or before the finding.
    const auto it = std::upper_bound(starts.begin(), starts.end(), at, later);
    if (it == starts.begin()) continue;
    const std::size_t index = static_cast<std::size_t>(it - starts.begin()) - 1;
    if (index < ends.size() && !later(ends[index], at)) finding.docRefId = records[index].docRefId;
  }
}

}  // namespace

CLCValidationResult CLCMessageValidator::Validate(const char* data, std::size_t size, CLCValidationContext context,
                                                  const MoreRules& more) {
  CLCValidationResult result;
  result.context = context == CLCValidationContext::Exchange ? CLCValidationContext::Exchange
                                                             : CLCValidationContext::Domestic;
  if (data == nullptr && size > 0) {
    result.note = "no message: a null buffer";
    return result;
  }
  XMLGrammarPool* pool = CLCSchemaGrammar::Pool();
  if (pool == nullptr) {
    result.note = "the built-in CRS XML 2.0 schema could not be loaded";
    return result;
  }
  if (!CLCXPlatform::Initialize()) {
    result.note = "the XML parser could not be initialised";
    return result;
  }
  std::vector<CLCValidationFinding>& findings = result.findings;
  Handler handler(findings);
  try {
    SecurityManager security;
    security.setEntityExpansionLimit(kCLCXEntityExpansionLimit);
    CLCXNoFetchResolver resolver;
    ValidatingReader reader(XMLPlatformUtils::fgMemoryManager, pool);
    reader.setFeature(XMLUni::fgSAX2CoreNameSpaces, true);
    reader.setFeature(XMLUni::fgSAX2CoreValidation, true);
    reader.setFeature(XMLUni::fgXercesDynamic, false);
    reader.setFeature(XMLUni::fgXercesSchema, true);
    reader.setFeature(XMLUni::fgXercesLoadSchema, false);
    reader.setFeature(XMLUni::fgXercesUseCachedGrammarInParse, true);
    reader.setFeature(XMLUni::fgXercesLoadExternalDTD, false);
    reader.setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
    reader.setEntityResolver(&resolver);
    reader.setProperty(XMLUni::fgXercesSecurityManager, &security);
    reader.setContentHandler(&handler);
    reader.setErrorHandler(&handler);
    reader.setLexicalHandler(&handler);
    static const char kEmpty[] = "";
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(data != nullptr ? data : kEmpty), size,
                             "message", false);
    try {
      reader.parse(source);
    } catch (const SchemaOneFound&) {
    } catch (const DoctypeRefused&) {
      CLCValidationFinding finding;
      finding.code = kSchemaCode;
      finding.message = "a document type declaration is not allowed in a CRS message";
      findings.push_back(std::move(finding));
      handler.notWellFormed = true;
    } catch (const SAXParseException&) {
      handler.notWellFormed = true;  // already reported by fatalError
    }
  } catch (const std::bad_alloc&) {
    CLCXPlatform::Terminate();
    result.findings.clear();
    result.note = "out of memory";
    return result;
  } catch (...) {
    if (!handler.notWellFormed) {
      CLCValidationFinding finding;
      finding.code = kSchemaCode;
      finding.message = "the message could not be read";
      findings.push_back(std::move(finding));
      handler.notWellFormed = true;
    }
  }
  CLCXPlatform::Terminate();

  if (handler.schemaOne) {
    findings.clear();
    CLCValidationFinding finding;
    finding.code = kSchemaCode;
    finding.path = "/CRS_OECD";
    finding.message = "a CRS XML 1.0 message: only CRS XML 2.0 is validated (no 1.0 schema is built in)";
    findings.push_back(std::move(finding));
    result.note = "CRS XML 1.0 is not validated: the library carries the OECD CRS XML 2.0 schema only";
    result.valid = false;
    return result;
  }
  result.context = CLCMessageRules::Resolve(context, handler.message);
  if (!handler.notWellFormed) {
    const bool utf16 = size >= 2 && (static_cast<unsigned char>(data[0]) == 0xFE ||
                                     static_cast<unsigned char>(data[0]) == 0xFF || data[0] == 0 || data[1] == 0);
    if (utf16) {
      result.note = "the threat scan reads UTF-8 only; this message was not scanned";
    } else {
      CLCThreatScanner::Scan(data, size, [&](CLCValidationFinding&& finding) {
        if (findings.size() < kMaxFindings) findings.push_back(std::move(finding));
      });
    }
    CLCMessageRules::Check(handler.message, handler.records, result.context, findings);
    if (more) {
      std::string note;
      more(handler.message, handler.records, findings, note);
      if (!note.empty()) result.note += (result.note.empty() ? "" : "; ") + note;
    }
  }
  std::stable_sort(findings.begin(), findings.end(), Before);
  NameRecords(findings, handler.recordStarts, handler.recordEnds, handler.records);
  if (findings.size() > kMaxFindings) {
    findings.resize(kMaxFindings);
    result.note = "only the first " + std::to_string(kMaxFindings) + " findings are listed";
  }
  result.valid = std::none_of(findings.begin(), findings.end(), [](const CLCValidationFinding& finding) {
    return finding.severity == CLCFindingSeverity::Error;
  });
  return result;
}
}  // namespace quorvex::internal
