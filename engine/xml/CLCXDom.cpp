#include "xml/CLCXDom.h"

#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXPlatform.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/HandlerBase.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>

#include <cstring>
#include <new>

namespace quorvex::internal {

using namespace xercesc;

struct CLCXDom::Impl {
  // Declared ahead of the parser, which points at them.
  CLCXNoFetchResolver m_resolver;
  SecurityManager m_securityManager;
  // Owned by the parser, which keeps it until the next parse or its own end.
  DOMDocument* m_pDocument = nullptr;
  std::unique_ptr<XercesDOMParser> m_pDOMParser;
  DOMNode* m_pCurrentNode = nullptr;

  // Parses one input source; reports every failure itself.
  // Reports failures as `caller` (the public Parse that was called).
  bool ParseSource(const InputSource& source, CLCValidResult& result, const char* caller);
};

CLCXDom::CLCXDom(CLCValidResult& result) : m_pImpl(std::make_unique<Impl>()), m_result(result) {}

CLCXDom::~CLCXDom() { Terminate(); }

bool CLCXDom::Initialize() {
  if (m_pImpl->m_pDOMParser) return true;
  if (!CLCXPlatform::Initialize()) {
    CRS_FATAL(m_result);
    return false;
  }
  try {
    auto parser = std::make_unique<XercesDOMParser>(nullptr, XMLPlatformUtils::fgMemoryManager, nullptr);
    parser->setValidationScheme(XercesDOMParser::Val_Always);
    parser->setDoNamespaces(true);
    parser->setCreateEntityReferenceNodes(false);
    // Nothing outside the document is ever read: no external DTD or entity.
    parser->setLoadExternalDTD(false);
    parser->setDisableDefaultEntityResolution(true);
    parser->setXMLEntityResolver(&m_pImpl->m_resolver);
    m_pImpl->m_securityManager.setEntityExpansionLimit(kCLCXEntityExpansionLimit);
    parser->setSecurityManager(&m_pImpl->m_securityManager);
    m_pImpl->m_pDOMParser = std::move(parser);
    return true;
  } catch (...) {
    // Whatever went wrong, the parser could not be created and configured.
    CRS_FATAL_MSG(m_result, CLCDebugDump::kCreateFailed);
  }
  CLCXPlatform::Terminate();
  return false;
}

void CLCXDom::Terminate() {
  if (!m_pImpl || !m_pImpl->m_pDOMParser) return;
  m_pImpl->m_pCurrentNode = nullptr;
  m_pImpl->m_pDocument = nullptr;
  try {
    m_pImpl->m_pDOMParser.reset();  // releases every document it produced
  } catch (...) {
    // Nothing more can be done for a parser that fails to go away.
  }
  CLCXPlatform::Terminate();
}

bool CLCXDom::Parse(const char* buffer, const char* bufferId, const char* encoding) {
  if (buffer == nullptr || bufferId == nullptr || encoding == nullptr || !m_pImpl->m_pDOMParser) {
    CRS_FATAL(m_result);
    return false;
  }
  try {
    const CharToXMLCh id(bufferId);
    const CharToXMLCh forced(encoding);
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(buffer), std::strlen(buffer), id.str(), false);
    source.setEncoding(forced.str());  // overrides the document's own declaration
    return m_pImpl->ParseSource(source, m_result, __PRETTY_FUNCTION__);
  } catch (...) {
    CRS_FATAL(m_result);
    return false;
  }
}

bool CLCXDom::Parse(const char* path) {
  if (path == nullptr || !m_pImpl->m_pDOMParser) {
    CRS_FATAL(m_result);
    return false;
  }
  try {
    // Read through the platform layer, so that any path works whatever the
    // process locale, and the parser itself never opens a file.
    std::string bytes;
    if (!CLCCRSCommon::ReadFileBytes(path, bytes)) {
      CRS_FATAL(m_result);
      return false;
    }
    const CharToXMLCh id(path);
    MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(), id.str(), false);
    return m_pImpl->ParseSource(source, m_result, __PRETTY_FUNCTION__);
  } catch (...) {
    CRS_FATAL(m_result);
    return false;
  }
}

bool CLCXDom::Impl::ParseSource(const InputSource& source, CLCValidResult& result, const char* caller) {
  std::unique_ptr<HandlerBase> handler;
  try {
    handler = std::make_unique<HandlerBase>();
  } catch (...) {
    CRS_FATAL_MSG_FOR(result, caller, CLCDebugDump::kCreateFailed);
    return false;
  }

  // Each parse replaces the previous document.
  m_pCurrentNode = nullptr;
  m_pDocument = nullptr;
  bool parsed = false;
  try {
    m_pDOMParser->resetDocumentPool();
    // Warnings and validity errors (there is no grammar) are ignored; only
    // well-formedness errors throw.
    m_pDOMParser->setErrorHandler(handler.get());
    m_pDOMParser->parse(source);
    m_pDocument = m_pDOMParser->getDocument();
    if (m_pDocument != nullptr) {
      // Stand on the root element even when a comment or doctype comes first.
      m_pCurrentNode = m_pDocument->getDocumentElement();
      if (m_pCurrentNode == nullptr) m_pCurrentNode = m_pDocument->getFirstChild();
      parsed = true;
    } else {
      CRS_FATAL_FOR(result, caller);
    }
  } catch (const SAXParseException& e) {
    CRS_FATAL_MSG_FOR(result, caller, CLCXParseErrorText(e).c_str());
  } catch (const XMLException& e) {
    CRS_FATAL_MSG_FOR(result, caller, CLCXErrorText(e.getMessage()).c_str());
  } catch (const DOMException& e) {
    CRS_FATAL_MSG_FOR(result, caller, CLCXErrorText(e.getMessage()).c_str());
  } catch (const OutOfMemoryException&) {
    CRS_FATAL_MSG_FOR(result, caller, CLCDebugDump::kAllocFailed);
  } catch (const std::bad_alloc&) {
    CRS_FATAL_MSG_FOR(result, caller, CLCDebugDump::kAllocFailed);
  } catch (...) {
    CRS_FATAL_FOR(result, caller);
  }
  if (!parsed) {
    m_pCurrentNode = nullptr;
    m_pDocument = nullptr;
  }
  try {
    m_pDOMParser->setErrorHandler(nullptr);
    m_pDOMParser->reset();  // ready for the next parse; the document stays
  } catch (...) {
    // The next parse resets again.
  }
  return parsed;
}

std::string CLCXDom::GetNodeName() const {
  if (m_pImpl->m_pCurrentNode == nullptr) return {};
  try {
    return XMLChToChar(m_pImpl->m_pCurrentNode->getNodeName());
  } catch (...) {
    return {};
  }
}

std::string CLCXDom::GetAttribute(const char* name) const {
  DOMNode* node = m_pImpl->m_pCurrentNode;
  if (node == nullptr || name == nullptr || node->getNodeType() != DOMNode::ELEMENT_NODE) return {};
  try {
    const CharToXMLCh attribute(name);
    return XMLChToChar(static_cast<DOMElement*>(node)->getAttribute(attribute.str()));
  } catch (...) {
    return {};
  }
}

bool CLCXDom::HasChild() const {
  return m_pImpl->m_pCurrentNode != nullptr && m_pImpl->m_pCurrentNode->hasChildNodes();
}

int CLCXDom::MoveFirstChild() {
  if (m_pImpl->m_pCurrentNode == nullptr) return -1;
  for (DOMNode* child = m_pImpl->m_pCurrentNode->getFirstChild(); child != nullptr;
       child = child->getNextSibling()) {
    if (child->getNodeType() == DOMNode::ELEMENT_NODE) {
      m_pImpl->m_pCurrentNode = child;
      return 0;
    }
  }
  return -1;
}

int CLCXDom::MoveNextSibling() {
  if (m_pImpl->m_pCurrentNode == nullptr) return -1;
  for (DOMNode* sibling = m_pImpl->m_pCurrentNode->getNextSibling(); sibling != nullptr;
       sibling = sibling->getNextSibling()) {
    if (sibling->getNodeType() == DOMNode::ELEMENT_NODE) {
      m_pImpl->m_pCurrentNode = sibling;
      return 0;
    }
  }
  return -1;
}

int CLCXDom::MoveParent() {
  if (m_pImpl->m_pCurrentNode == nullptr) return -1;
  DOMNode* parent = m_pImpl->m_pCurrentNode->getParentNode();
  if (parent == nullptr) return -1;
  m_pImpl->m_pCurrentNode = parent;
  return 0;
}
}  // namespace quorvex::internal
