#include "validate/CLCMessageValidator.h"

#include "validate/CLCElementPath.h"
#include "validate/CLCMessageRules.h"
#include "validate/CLCRecordRules.h"
#include "validate/CLCSchemaGrammar.h"
#include "validate/CLCThreatScanner.h"
#include "xml/CLCXPlatform.h"
#include "CLCCRSCommon.h"
#include "CLCNative.h"

#include <xercesc/sax/InputSource.hpp>
#include <xercesc/util/BinInputStream.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
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
  Handler(std::vector<CLCValidationFinding>& findings, CLCValidationContext context)
      : m_findings(findings), m_requested(context) {}

  void setDocumentLocator(const Locator* const locator) override { m_locator = locator; }

  void startElement(const XMLCh* const uri, const XMLCh* const localname, const XMLCh* const,
                    const Attributes& attributes) override {
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
      m_record.account = Is(name, "AccountReport");
      m_account = CLCAccountFacts();
      m_fiCountries.clear();
      recordStarts.push_back(Here());
    }
    StartContent(name, attributes);
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
      // Past the limit the rest of the message is still read for its records.
      const bool room = m_findings.size() <= CLCMessageValidator::kMaxFindings;
      if (room && m_record.account) {
        CLCRecordRules::CheckAccount(m_account, message, CLCMessageRules::Resolve(m_requested, message), m_findings);
      } else if (room) {
        CLCRecordRules::CheckReportingFI(m_fiCountries, m_fiCountryAt, message, m_findings);
      }
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
  // Rules an element shows by its presence or its attributes, and the
  // account facts its start gives.
  void StartContent(std::string_view name, const Attributes& attributes) {
    const std::string_view parent = m_path.Name(1);
    if (Is(name, "CorrMessageRefId")) {
      if (Is(parent, "MessageSpec")) Flag("80007", "CorrMessageRefId is not used in a CRS message");
      if (Is(parent, "DocSpec")) Flag("80006", "CorrMessageRefId is not used in a CRS record's DocSpec");
    } else if (Is(name, "ReportingGroup")) {
      if (++m_groups == 2) Flag("60007", "a CrsBody holds one ReportingGroup");
    } else if (Is(name, "CrsBody")) {
      m_groups = 0;
    } else if (Is(parent, "ReportingGroup") &&
               (Is(name, "Sponsor") || Is(name, "Intermediary") || Is(name, "PoolReport"))) {
      Flag(Is(name, "Sponsor") ? "60008" : Is(name, "Intermediary") ? "60009" : "60010",
           std::string(name) + " is not used in CRS reporting");
    } else if (Is(name, "Name") && Attribute(attributes, "nameType") == "OECD201") {
      Flag("60004", "name type OECD201 (SMFAliasOrOther) is not used: give the name's real type or none");
    }
    if (!m_inRecord || !m_record.account) return;
    if (Is(name, "AccountNumber")) {
      m_account.acctNumberType = Attribute(attributes, "AcctNumberType");
      const std::string closed = Attribute(attributes, "ClosedAccount");
      m_account.closed = closed == "true" || closed == "1";
    } else if (Is(name, "AccountHolder")) {
      m_account.holderAt = Here();
    } else if (Is(parent, "AccountHolder")) {
      m_account.individualHolder = m_account.individualHolder || Is(name, "Individual");
      m_account.organisationHolder = m_account.organisationHolder || Is(name, "Organisation");
    } else if (Is(name, "ControllingPerson")) {
      if (m_account.controllingPersons++ == 0) m_account.firstPersonAt = Here();
    }
  }

  // The leaf values the rules read.
  bool Captured(std::string_view name) const {
    const std::string_view parent = m_path.Name(1);
    if (Is(parent, "MessageSpec")) {
      return Is(name, "TransmittingCountry") || Is(name, "ReceivingCountry") || Is(name, "MessageRefId") ||
             Is(name, "MessageTypeIndic") || Is(name, "Timestamp") || Is(name, "SendingCompanyIN") ||
             Is(name, "ReportingPeriod");
    }
    if (Is(parent, "ReportingFI") && Is(name, "IN")) return message.reportingFIIN.empty();
    if (!m_inRecord) return false;
    if (Is(parent, "DocSpec")) return Is(name, "DocTypeIndic") || Is(name, "DocRefId") || Is(name, "CorrDocRefId");
    if (Is(name, "BirthDate")) return true;
    if (!m_record.account) return Is(name, "ResCountryCode") && Is(parent, "ReportingFI");
    if (Is(parent, "AccountReport")) return Is(name, "AccountNumber") || Is(name, "AccountBalance");
    if (Is(name, "AcctHolderType")) return true;
    // The holder's or a controlling person's residence.
    return Is(name, "ResCountryCode") && (Is(m_path.Name(2), "AccountHolder") || Is(m_path.Name(2), "ControllingPerson"));
  }

  static std::string Attribute(const Attributes& attributes, const char* localName) {
    for (XMLSize_t i = 0; i < attributes.getLength(); ++i) {
      if (XMLChToChar(attributes.getLocalName(i)) == localName) return XMLChToChar(attributes.getValue(i));
    }
    return std::string();
  }

  // A finding at the element just opened.
  void Flag(const char* code, std::string text) {
    if (m_findings.size() > CLCMessageValidator::kMaxFindings) return;
    AddFinding(m_findings, code, CLCFindingSeverity::Error, Here(), "", std::move(text));
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
    } else if (Is(name, "Timestamp")) {
      message.timestamp = std::move(value);
    } else if (Is(name, "BirthDate")) {
      if (m_findings.size() <= CLCMessageValidator::kMaxFindings) {
        CLCRecordRules::CheckBirthDate(value, m_captureAt, message.timestamp, m_findings);
      }
    } else if (Is(name, "AccountNumber")) {
      m_account.accountNumber = std::move(value);
      m_account.accountNumberAt = m_captureAt;
    } else if (Is(name, "AccountBalance")) {
      m_account.balance = std::move(value);
      m_account.balanceAt = m_captureAt;
    } else if (Is(name, "AcctHolderType")) {
      m_account.acctHolderType = std::move(value);
      m_account.acctHolderTypeAt = m_captureAt;
    } else if (Is(name, "ResCountryCode")) {
      if (!m_record.account) {
        if (m_fiCountries.empty()) m_fiCountryAt = m_captureAt;
        m_fiCountries.push_back(std::move(value));
      } else if (Is(m_path.Name(2), "ControllingPerson")) {
        m_account.personCountries.push_back(std::move(value));
      } else {
        m_account.holderCountries.push_back(std::move(value));
      }
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
  const CLCValidationContext m_requested;
  const Locator* m_locator = nullptr;
  CLCAccountFacts m_account;
  std::vector<std::string> m_fiCountries;
  CLCValuePosition m_fiCountryAt;
  long m_groups = 0;
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

// Gives up to `capacity` bytes of the message: how many, 0 at its end, -1
// when reading fails.
using Pull = std::function<long(char* buffer, std::size_t capacity)>;

struct Reading {
  bool utf16 = false;
  bool failed = false;
};

// Hands the parser the message piece by piece, and each piece to the threat
// scan on its way, so that the message is read once and never held whole.
class ScanningStream : public BinInputStream {
 public:
  ScanningStream(const Pull& pull, CLCThreatScanner& scanner, Reading& reading)
      : m_pull(pull), m_scanner(scanner), m_reading(reading) {}
  XMLFilePos curPos() const override { return m_position; }
  XMLSize_t readBytes(XMLByte* const toFill, const XMLSize_t maxToRead) override {
    const long n = m_pull(reinterpret_cast<char*>(toFill), maxToRead);
    if (n < 0) m_reading.failed = true;
    if (n <= 0) return 0;
    // A byte-order mark or a zero byte up front: UTF-16, which the scan does not read.
    if (m_position == 0 && n >= 2) {
      m_reading.utf16 = toFill[0] == 0xFE || toFill[0] == 0xFF || toFill[0] == 0 || toFill[1] == 0;
    }
    if (!m_reading.utf16) m_scanner.Feed(reinterpret_cast<const char*>(toFill), static_cast<std::size_t>(n));
    m_position += static_cast<XMLFilePos>(n);
    return static_cast<XMLSize_t>(n);
  }
  const XMLCh* getContentType() const override { return nullptr; }

 private:
  const Pull& m_pull;
  CLCThreatScanner& m_scanner;
  Reading& m_reading;
  XMLFilePos m_position = 0;
};

class ScanningSource : public InputSource {
 public:
  ScanningSource(const Pull& pull, CLCThreatScanner& scanner, Reading& reading)
      : InputSource("message"), m_pull(pull), m_scanner(scanner), m_reading(reading) {}
  BinInputStream* makeStream() const override { return new ScanningStream(m_pull, m_scanner, m_reading); }

 private:
  const Pull& m_pull;
  CLCThreatScanner& m_scanner;
  Reading& m_reading;
};

CLCValidationResult Run(const Pull& pull, CLCValidationContext context, const CLCMessageValidator::MoreRules& more) {
  CLCValidationResult result;
  result.context = context == CLCValidationContext::Exchange ? CLCValidationContext::Exchange
                                                             : CLCValidationContext::Domestic;
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
  Handler handler(findings, context);
  // Kept apart: a message that proves not well-formed has no threat findings.
  std::vector<CLCValidationFinding> threats;
  CLCThreatScanner scanner([&](CLCValidationFinding&& finding) {
    if (threats.size() < CLCMessageValidator::kMaxFindings) threats.push_back(std::move(finding));
  });
  Reading reading;
  try {
    CLCXReaderGuard guard;
    ValidatingReader reader(XMLPlatformUtils::fgMemoryManager, pool);
    CLCXConfigureReader(reader, guard, handler);
    reader.setFeature(XMLUni::fgSAX2CoreValidation, true);
    reader.setFeature(XMLUni::fgXercesDynamic, false);
    reader.setFeature(XMLUni::fgXercesSchema, true);
    reader.setFeature(XMLUni::fgXercesLoadSchema, false);
    reader.setFeature(XMLUni::fgXercesUseCachedGrammarInParse, true);
    ScanningSource source(pull, scanner, reading);
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
  if (reading.failed) {
    result.findings.clear();
    result.note = "the message could not be read to its end";
    return result;
  }
  result.context = CLCMessageRules::Resolve(context, handler.message);
  if (!handler.notWellFormed) {
    if (reading.utf16) {
      result.note = "the threat scan reads UTF-8 only; this message was not scanned";
    } else {
      findings.insert(findings.end(), std::make_move_iterator(threats.begin()), std::make_move_iterator(threats.end()));
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
  if (findings.size() > CLCMessageValidator::kMaxFindings) {
    findings.resize(CLCMessageValidator::kMaxFindings);
    result.note = "only the first " + std::to_string(CLCMessageValidator::kMaxFindings) + " findings are listed";
  }
  result.valid = std::none_of(findings.begin(), findings.end(), [](const CLCValidationFinding& finding) {
    return finding.severity == CLCFindingSeverity::Error;
  });
  return result;
}

}  // namespace

CLCValidationResult CLCMessageValidator::Validate(const char* data, std::size_t size, CLCValidationContext context,
                                                  const MoreRules& more) {
  if (data == nullptr && size > 0) {
    CLCValidationResult result;
    result.note = "no message: a null buffer";
    return result;
  }
  std::size_t offset = 0;
  const Pull pull = [&](char* buffer, std::size_t capacity) {
    const std::size_t n = std::min(capacity, size - offset);
    if (n > 0) std::memcpy(buffer, data + offset, n);
    offset += n;
    return static_cast<long>(n);
  };
  return Run(pull, context, more);
}

CLCValidationResult CLCMessageValidator::ValidateFile(const char* path, CLCValidationContext context,
                                                      const MoreRules& more) {
  const std::unique_ptr<CLCNativeFileReader> file = CLCCRSCommon::OpenFileReader(path);
  if (!file) {
    CLCValidationResult unreadable;
    unreadable.note = std::string("cannot read ") + (path != nullptr ? path : "(null)");
    return unreadable;
  }
  const Pull pull = [&](char* buffer, std::size_t capacity) { return file->read(buffer, capacity); };
  return Run(pull, context, more);
}
}  // namespace quorvex::internal
