#include "xml/CLCXSax.h"

#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXPlatform.h"

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <string>
#include <new>

namespace quorvex::internal {

using namespace xercesc;

namespace {

// Thrown by the reader to stop at a document type declaration.
struct DoctypeRefused {};

// A SAX2 reader that refuses any document type declaration: the documents
// read here never carry one, and refusing it up front leaves no room for
// entity or attribute-default tricks in its subset. The scanner reports the
// declaration only while a lexical handler is installed.
class RefuseDoctypeReader : public SAX2XMLReaderImpl {
 public:
  using SAX2XMLReaderImpl::SAX2XMLReaderImpl;
  void doctypeDecl(const DTDElementDecl&, const XMLCh* const, const XMLCh* const, const bool,
                   const bool) override {
    throw DoctypeRefused();
  }
};

}  // namespace

struct CLCXSax::Impl {
  // Declared ahead of the reader, which points at them.
  CLCXNoFetchResolver m_resolver;
  SecurityManager m_securityManager;
  std::unique_ptr<SAX2XMLReader> m_pSAX2XMLReader;
};

CLCXSax::CLCXSax(CLCValidResult& result) : m_pImpl(std::make_unique<Impl>()), m_result(result) {}

CLCXSax::~CLCXSax() { Terminate(); }

bool CLCXSax::Initialize() {
  if (m_pImpl->m_pSAX2XMLReader) return true;
  if (!CLCXPlatform::Initialize()) {
    CRS_FATAL(m_result);
    return false;
  }
  try {
    auto reader = std::make_unique<RefuseDoctypeReader>(XMLPlatformUtils::fgMemoryManager, nullptr);
    reader->setFeature(XMLUni::fgSAX2CoreValidation, false);
    reader->setFeature(XMLUni::fgSAX2CoreNameSpaces, false);
    reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);
    reader->setFeature(XMLUni::fgXercesSchema, false);
    // Fetch nothing: every external entity or DTD resolves to an empty document.
    reader->setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
    reader->setEntityResolver(&m_pImpl->m_resolver);
    m_pImpl->m_securityManager.setEntityExpansionLimit(kCLCXEntityExpansionLimit);
    reader->setProperty(XMLUni::fgXercesSecurityManager, &m_pImpl->m_securityManager);
    m_pImpl->m_pSAX2XMLReader = std::move(reader);
    return true;
  } catch (...) {
    // Whatever went wrong, the parser could not be created and configured.
    CRS_FATAL_MSG(m_result, CLCDebugDump::kCreateFailed);
  }
  CLCXPlatform::Terminate();
  return false;
}

void CLCXSax::Terminate() {
  if (!m_pImpl || !m_pImpl->m_pSAX2XMLReader) return;
  try {
    m_pImpl->m_pSAX2XMLReader.reset();
  } catch (...) {
    // Nothing more can be done for a reader that fails to go away.
  }
  CLCXPlatform::Terminate();
}

bool CLCXSax::Parse(const char* buffer, std::size_t length, const char* bufferId, const char* encoding) {
  SAX2XMLReader* reader = m_pImpl->m_pSAX2XMLReader.get();
  if (buffer == nullptr || bufferId == nullptr || encoding == nullptr || reader == nullptr) {
    CRS_FATAL(m_result);
    return false;
  }
  bool parsed = false;
  try {
    const CharToXMLCh id(bufferId);
    const CharToXMLCh forced(encoding);
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(buffer), length, id.str(), false);
    // The reader reads the caller's buffer where it lies: a copy would double
    // the memory of a document of up to 19 MiB.
    source.setCopyBufToStream(false);
    source.setEncoding(forced.str());
    // No content handler: only whether the document reads to its end matters.
    DefaultHandler handler;
    reader->setErrorHandler(&handler);
    reader->setLexicalHandler(&handler);
    try {
      reader->parse(source);
      parsed = true;
    } catch (...) {
      reader->setErrorHandler(nullptr);
      reader->setLexicalHandler(nullptr);
      throw;
    }
    reader->setErrorHandler(nullptr);
    reader->setLexicalHandler(nullptr);
  } catch (const DoctypeRefused&) {
    const std::string text = std::string(CLCDebugDump::kUnexpectedError) + "\ndocument type declaration refused";
    CRS_FATAL_MSG(m_result, text.c_str());
  } catch (const SAXParseException& e) {
    CRS_FATAL_MSG(m_result, CLCXParseErrorText(e).c_str());
  } catch (const XMLException& e) {
    CRS_FATAL_MSG(m_result, CLCXErrorText(e.getMessage()).c_str());
  } catch (const OutOfMemoryException&) {
    CRS_FATAL_MSG(m_result, CLCDebugDump::kAllocFailed);
  } catch (const std::bad_alloc&) {
    CRS_FATAL_MSG(m_result, CLCDebugDump::kAllocFailed);
  } catch (...) {
    CRS_FATAL(m_result);
  }
  return parsed;
}
}  // namespace quorvex::internal
