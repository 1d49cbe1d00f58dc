#include "history/CLCStatusMessage.h"

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
#include <string_view>

namespace quorvex::internal {

using namespace xercesc;

namespace {

constexpr const char* kNamespaces[] = {"urn:oecd:ties:csm:v2", "urn:oecd:ties:csm:v1"};
constexpr const char* kRoot = "CRSStatusMessage_OECD";

struct DoctypeRefused {};
struct NotAStatusMessage {
  std::string what;
};

class Reader : public SAX2XMLReaderImpl {
 public:
  using SAX2XMLReaderImpl::SAX2XMLReaderImpl;
  void doctypeDecl(const DTDElementDecl&, const XMLCh* const, const XMLCh* const, const bool, const bool) override {
    throw DoctypeRefused();
  }
};

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

class Handler : public DefaultHandler {
 public:
  explicit Handler(CLCStatusMessage& out) : m_out(out) {}

  void setDocumentLocator(const Locator* const locator) override { m_locator = locator; }

  void startElement(const XMLCh* const uri, const XMLCh* const localname, const XMLCh* const,
                    const Attributes&) override {
    const std::string name = XMLChToChar(localname);
    const std::string ns = XMLChToChar(uri);
    if (m_path.empty()) {
      const bool known = std::any_of(std::begin(kNamespaces), std::end(kNamespaces),
                                     [&](const char* candidate) { return ns == candidate; });
      if (name != kRoot || !known) {
        throw NotAStatusMessage{"the root element is {" + ns + "}" + name + ", not a CRS status message (" + kRoot +
                                " in " + kNamespaces[0] + ")"};
      }
    }
    m_path.push_back(name);
    if (At("ValidationErrors", "FileError") || At("ValidationErrors", "RecordError")) {
      m_out.errors.emplace_back();
      m_out.errors.back().fileError = name == "FileError";
    }
    m_text.clear();
  }

  void characters(const XMLCh* const chars, const XMLSize_t length) override { m_text.append(chars, length); }

  void endElement(const XMLCh* const, const XMLCh* const, const XMLCh* const) override {
    const std::string value = Trimmed(XMLChToChar(m_text.c_str()));
    m_text.clear();
    if (At("MessageSpec", "MessageRefId")) m_out.messageRefId = value;
    if (At("MessageSpec", "Timestamp")) m_out.timestamp = value;
    if (At("MessageSpec", "TransmittingCountry")) m_out.transmittingCountry = value;
    if (At("MessageSpec", "ReceivingCountry")) m_out.receivingCountry = value;
    if (At("OriginalMessage", "OriginalMessageRefID")) m_out.originalMessageRefId = value;
    if (At("ValidationResult", "Status")) m_out.status = value;
    if (At("ValidationResult", "ValidatedBy")) m_out.validatedBy.push_back(value);
    if (!m_out.errors.empty() && m_path.size() >= 2) {
      const std::string& parent = m_path[m_path.size() - 2];
      CLCStatusMessage::Error& error = m_out.errors.back();
      if (parent == "FileError" || parent == "RecordError") {
        if (m_path.back() == "Code") error.code = value;
        if (m_path.back() == "Details") error.details = value;
        if (m_path.back() == "DocRefIDInError") error.docRefIds.push_back(value);
      }
      if (At("FieldsInError", "FieldPath")) error.fieldPaths.push_back(value);
    }
    m_path.pop_back();
  }

  void fatalError(const SAXParseException& e) override {
    throw NotAStatusMessage{"not well-formed at line " + std::to_string(e.getLineNumber()) + ", column " +
                            std::to_string(e.getColumnNumber()) + ": " + XMLChToChar(e.getMessage())};
  }

  std::string Position() const {
    if (m_locator == nullptr) return {};
    return "line " + std::to_string(m_locator->getLineNumber()) + ", column " +
           std::to_string(m_locator->getColumnNumber());
  }

 private:
  bool At(std::string_view parent, std::string_view name) const {
    return m_path.size() >= 2 && m_path.back() == name && m_path[m_path.size() - 2] == parent;
  }

  CLCStatusMessage& m_out;
  const Locator* m_locator = nullptr;
  std::vector<std::string> m_path;
  std::basic_string<XMLCh> m_text;
};

// The parts without which the answer cannot be filed against a message.
std::string Missing(const CLCStatusMessage& message) {
  if (message.messageRefId.empty()) return "MessageSpec/MessageRefId";
  if (message.originalMessageRefId.empty()) return "CrsStatusMessage/OriginalMessage/OriginalMessageRefID";
  if (message.status != "Accepted" && message.status != "Rejected") {
    return "CrsStatusMessage/ValidationResult/Status (Accepted or Rejected)";
  }
  for (const CLCStatusMessage::Error& error : message.errors) {
    if (error.code.empty()) return std::string(error.fileError ? "FileError" : "RecordError") + "/Code";
  }
  return {};
}

}  // namespace

bool CLCStatusMessage::Parse(const char* data, std::size_t size, CLCStatusMessage& out, std::string& error) {
  out = CLCStatusMessage();
  error.clear();
  if (data == nullptr || size == 0) {
    error = "the status message is empty";
    return false;
  }
  if (!CLCXPlatform::Initialize()) {
    error = "the XML parser could not be initialised";
    return false;
  }
  Handler handler(out);
  try {
    CLCXReaderGuard guard;
    Reader reader(XMLPlatformUtils::fgMemoryManager);
    CLCXConfigureReader(reader, guard, handler);
    reader.setFeature(XMLUni::fgSAX2CoreValidation, false);
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(data), size, "status", false);
    reader.parse(source);
  } catch (const NotAStatusMessage& e) {
    error = e.what;
  } catch (const DoctypeRefused&) {
    error = "a document type declaration is not allowed in a status message";
  } catch (const SAXParseException& e) {
    error = "not well-formed at line " + std::to_string(e.getLineNumber()) + ": " + XMLChToChar(e.getMessage());
  } catch (const std::bad_alloc&) {
    error = "out of memory";
  } catch (...) {
    error = "the status message could not be read" + (handler.Position().empty() ? "" : " at " + handler.Position());
  }
  CLCXPlatform::Terminate();
  if (!error.empty()) return false;
  if (const std::string missing = Missing(out); !missing.empty()) {
    error = "not a complete status message: " + missing + " is missing";
    return false;
  }
  return true;
}

std::string CLCStatusMessage::Advice(bool fileError, const std::string& docRefId,
                                     const std::string& docTypeIndic) const {
  const bool rejected = status == "Rejected";
  if (fileError) {
    return rejected ? "the whole message was refused: correct the file and send it again under a new MessageRefId; "
                      "nothing of it is on file, so its records go as new data (OECD1), not as corrections"
                    : "the message was accepted: take this into account in the next filing";
  }
  if (rejected) {
    return "the whole message was refused: this record goes again as new data (OECD1) with the rest of the message "
           "under a new MessageRefId, not as a correction";
  }
  if (docRefId.empty()) return "the error names no record: see its details";
  if (docTypeIndic.empty()) {
    return "the history holds no record " + docRefId + " of message " + originalMessageRefId +
           ": check that this answer belongs to that message";
  }
  if (docTypeIndic == "OECD1" || docTypeIndic == "OECD11") {
    return "the new record was not taken in: send it again as new data (OECD1) in a new message, not as a "
           "correction, which would name a record the authority does not hold";
  }
  if (docTypeIndic == "OECD0" || docTypeIndic == "OECD10") {
    return "the resent record was not taken in: send it again in a new message";
  }
  return "the correction or deletion was not applied and the record stays as it was: send it again in a new "
         "message, with CorrDocRefId naming the latest DocRefId of the record";
}
}  // namespace quorvex::internal
