#include "validate/CLCSchemaGrammar.h"

#include "validate/CLCSchemaResources.h"
#include "xml/CLCXPlatform.h"

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/XMLGrammarPoolImpl.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax/HandlerBase.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <memory>
#include <mutex>
#include <string>

namespace quorvex::internal {

using namespace xercesc;

namespace {

constexpr const char* kMainSchema = "CrsXML_v2.0.xsd";

const CLCSchemaResource* FindSchema(const std::string& name) {
  for (const CLCSchemaResource* resource = kCLCSchemaResources; resource->name != nullptr; ++resource) {
    if (name == resource->name) return resource;
  }
  return nullptr;
}

// Serves each import from the built-in documents by its file name; anything
// else resolves to an empty document, so nothing is ever fetched.
class EmbeddedSchemaResolver : public CLCXNoFetchResolver {
 public:
  InputSource* resolveEntity(const XMLCh* const publicId, const XMLCh* const systemId) override {
    std::string name = XMLChToChar(systemId);
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const CLCSchemaResource* schema = FindSchema(name);
    if (schema == nullptr) return CLCXNoFetchResolver::resolveEntity(publicId, systemId);
    return new MemBufInputSource(reinterpret_cast<const XMLByte*>(schema->bytes), schema->size, systemId, false);
  }
  using CLCXNoFetchResolver::resolveEntity;
};

// Any problem in the built-in schema makes it unusable.
class FailOnError : public HandlerBase {
 public:
  void error(const SAXParseException&) override { failed = true; }
  void fatalError(const SAXParseException&) override { failed = true; }
  bool failed = false;
};

XMLGrammarPool* Load() {
  // Held for the process: the pool's memory belongs to the platform.
  if (!CLCXPlatform::Initialize()) return nullptr;
  const CLCSchemaResource* main = FindSchema(kMainSchema);
  if (main == nullptr) return nullptr;
  try {
    auto pool = std::make_unique<XMLGrammarPoolImpl>(XMLPlatformUtils::fgMemoryManager);
    EmbeddedSchemaResolver resolver;
    FailOnError errors;
    {
      SAX2XMLReaderImpl reader(XMLPlatformUtils::fgMemoryManager, pool.get());
      reader.setFeature(XMLUni::fgSAX2CoreNameSpaces, true);
      reader.setFeature(XMLUni::fgXercesSchema, true);
      reader.setFeature(XMLUni::fgXercesHandleMultipleImports, true);
      reader.setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
      reader.setEntityResolver(&resolver);
      reader.setErrorHandler(&errors);
      const CharToXMLCh id(kMainSchema);
      MemBufInputSource source(reinterpret_cast<const XMLByte*>(main->bytes), main->size, id.str(), false);
      if (reader.loadGrammar(source, Grammar::SchemaGrammarType, true) == nullptr || errors.failed) return nullptr;
    }
    pool->lockPool();
    return pool.release();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

XMLGrammarPool* CLCSchemaGrammar::Pool() {
  static std::once_flag once;
  static XMLGrammarPool* pool = nullptr;
  std::call_once(once, [] { pool = Load(); });
  return pool;
}
}  // namespace quorvex::internal
