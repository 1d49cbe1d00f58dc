#include "xml/CLCXPlatform.h"

#include "diagnostics/CLCDebugDump.h"

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>
#include <xercesc/util/XMLResourceIdentifier.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace quorvex::internal {

using namespace xercesc;

namespace {

std::mutex g_platformMutex;
unsigned long g_platformCount = 0;

}  // namespace

bool CLCXPlatform::Initialize() {
  std::lock_guard<std::mutex> lock(g_platformMutex);
  if (g_platformCount == 0) {
    try {
      XMLPlatformUtils::Initialize();
    } catch (...) {
      return false;
    }
  }
  ++g_platformCount;
  return true;
}

void CLCXPlatform::Terminate() {
  std::lock_guard<std::mutex> lock(g_platformMutex);
  if (g_platformCount == 0) return;
  if (--g_platformCount == 0) XMLPlatformUtils::Terminate();
}

CharToXMLCh::CharToXMLCh(const char* text) {
  const std::size_t length = text != nullptr ? std::strlen(text) : 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  // Names and most values are ASCII, whose UTF-16 units are its bytes: the
  // parser's transcoder, built anew for every call, is only needed beyond it.
  if (std::all_of(bytes, bytes + length, [](unsigned char c) { return c < 0x80; })) {
    m_text.assign(bytes, bytes + length);
    return;
  }
  const TranscodeFromStr transcoded(bytes, length, "UTF-8");
  m_text.assign(transcoded.str(), transcoded.length());
}

std::string XMLChToChar(const XMLCh* text) {
  if (text == nullptr || *text == 0) return {};
  const XMLCh* end = text;
  while (*end != 0 && *end < 0x80) ++end;
  if (*end == 0) return std::string(text, end);  // ASCII: each unit is its byte
  TranscodeToStr utf8(text, "UTF-8");
  return std::string(reinterpret_cast<const char*>(utf8.str()), utf8.length());
}

std::string CLCXErrorText(const XMLCh* message) {
  std::string text(CLCDebugDump::kUnexpectedError);
  text.push_back('\n');
  try {
    text.append(XMLChToChar(message));
  } catch (...) {
    // A message that cannot be transcoded still leaves the rest of the text.
  }
  return text;
}

std::string CLCXParseErrorText(const SAXParseException& exception) {
  std::string text = CLCXErrorText(exception.getMessage());
  char position[1024];
  std::snprintf(position, sizeof position, " (行番号: %d, 列番号: %d)",
                static_cast<int>(exception.getLineNumber()), static_cast<int>(exception.getColumnNumber()));
  text.append(position);
  return text;
}

InputSource* CLCXNoFetchResolver::resolveEntity(XMLResourceIdentifier* resource) {
  return resolveEntity(nullptr, resource != nullptr ? resource->getSystemId() : nullptr);
}

InputSource* CLCXNoFetchResolver::resolveEntity(const XMLCh* const, const XMLCh* const systemId) {
  static const XMLByte kNothing[] = {0};
  static const XMLCh kEmpty[] = {0};
  // The parser adopts the source it is given.
  return new MemBufInputSource(kNothing, 0, systemId != nullptr ? systemId : kEmpty, false);
}

void CLCXConfigureReader(xercesc::SAX2XMLReader& reader, CLCXReaderGuard& guard, xercesc::DefaultHandler& handler) {
  using xercesc::XMLUni;
  reader.setFeature(XMLUni::fgSAX2CoreNameSpaces, true);
  reader.setFeature(XMLUni::fgXercesLoadExternalDTD, false);
  reader.setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
  reader.setEntityResolver(&guard.resolver);
  reader.setProperty(XMLUni::fgXercesSecurityManager, &guard.security);
  reader.setContentHandler(&handler);
  reader.setErrorHandler(&handler);
  reader.setLexicalHandler(&handler);
}
}  // namespace quorvex::internal
