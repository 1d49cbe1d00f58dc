#pragma once
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/sax/EntityResolver.hpp>
#include <xercesc/util/XMLEntityResolver.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>

#include <string>

namespace quorvex::internal {

// Process-wide Xerces-C platform. Initialisation and termination are counted
// under one lock: the platform is initialised on the first Initialize and
// terminated on the Terminate that balances the last one, whichever threads
// the adapters live on.
class CLCXPlatform {
 public:
  // True when the platform is ready; a false call must not be paired with Terminate.
  static bool Initialize();
  static void Terminate();
};

// Expansions of declared entities allowed per document (predefined and
// character references do not count). CRS documents declare no entities; the
// cap bounds both nested bombs and one large entity referenced many times
// (at most this many copies of a text no longer than the input).
constexpr XMLSize_t kCLCXEntityExpansionLimit = 100;

// Parser form (UTF-16) of a UTF-8 engine string, released when it goes out of
// scope. Throws the parser's transcoding exception for ill-formed text.
class CharToXMLCh {
 public:
  explicit CharToXMLCh(const char* text);
  const XMLCh* str() const { return m_text.c_str(); }

 private:
  std::basic_string<XMLCh> m_text;
};

// Engine form (UTF-8) of a parser string; empty for null.
std::string XMLChToChar(const XMLCh* text);

// Text of a parse exception for the debug log: the unexpected-error text, a
// line feed, the parser's message and " (行番号: L, 列番号: C)".
std::string CLCXParseErrorText(const xercesc::SAXParseException& exception);
// Same for other parser exceptions, which carry no position.
std::string CLCXErrorText(const XMLCh* message);

// Answers every request for an external entity, external DTD or grammar with
// an empty document, so that reading XML never opens a file or a URL. Serves
// the DOM parser (resource form) and the SAX2 reader (public/system form).
class CLCXNoFetchResolver : public xercesc::XMLEntityResolver, public xercesc::EntityResolver {
 public:
  xercesc::InputSource* resolveEntity(xercesc::XMLResourceIdentifier* resource) override;
  xercesc::InputSource* resolveEntity(const XMLCh* const publicId, const XMLCh* const systemId) override;
};

// What a SAX2 reader of untrusted XML keeps for the length of a parse: the
// resolver that fetches nothing and the entity expansion cap.
struct CLCXReaderGuard {
  CLCXReaderGuard() { security.setEntityExpansionLimit(kCLCXEntityExpansionLimit); }
  xercesc::SecurityManager security;
  CLCXNoFetchResolver resolver;
};

// Namespaces on, no external DTD, nothing fetched, the entity cap, and one
// handler for content, errors and lexical events. Validation is the caller's.
void CLCXConfigureReader(xercesc::SAX2XMLReader& reader, CLCXReaderGuard& guard, xercesc::DefaultHandler& handler);
}  // namespace quorvex::internal
