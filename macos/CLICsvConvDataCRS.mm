#import "CLICsvConvDataCRS.h"
#import "CLICsvConvResultCRS.h"

#include "CLCCsvConvDataCRS.h"

#include <memory>
#include <string>
#include <type_traits>

namespace {

// UTF-8 engine text of an argument; nil gives null, which the engine reports
// as an empty argument.
const char* EngineText(NSString* text) {
  return text != nil ? [text cStringUsingEncoding:NSUTF8StringEncoding] : nullptr;
}

// A new string of the engine text; nil when the text is not UTF-8.
NSString* NewString(const std::string& text) {
  return [[NSString alloc] initWithCString:text.c_str() encoding:NSUTF8StringEncoding];
}

class AutoreleasePool {
 public:
  AutoreleasePool() : m_pPool([[NSAutoreleasePool alloc] init]) {}
  ~AutoreleasePool() { [m_pPool drain]; }
  AutoreleasePool(const AutoreleasePool&) = delete;
  AutoreleasePool& operator=(const AutoreleasePool&) = delete;

 private:
  NSAutoreleasePool* m_pPool;
};

// Sets each field of the record on the property of the same name, so that a
// field of the record is one property here without a copy of its own. Key-value
// coding calls the properties' setters; a pool of its own keeps what it
// autoreleases from a host thread that may have none.
void CopyRecord(const CLCCsvConvResultCRS& record, CLICsvConvResultCRS* result) {
  AutoreleasePool pool;
  record.ForEachField([result](const char* name, const auto& value) {
    NSString* key = [NSString stringWithUTF8String:name];
    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
      NSString* text = NewString(value);
      [result setValue:text forKey:key];
      [text release];
    } else {
      [result setValue:[NSNumber numberWithLongLong:value] forKey:key];
    }
  });
}

// One call: a facade of its own, a new result object filled from the facade's
// record. Engine and Foundation exceptions alike end here; the host then gets
// the object as far as it was filled, or nil.
template <typename Operation>
CLICsvConvResultCRS* Run(Operation operation) {
  CLICsvConvResultCRS* result = nil;
  try {
    std::unique_ptr<CLCCsvConvDataCRS> facade = std::make_unique<CLCCsvConvDataCRS>();
    result = [[CLICsvConvResultCRS alloc] init];
    const CLCCsvConvResultCRS* record = operation(*facade);
    if (record != nullptr) CopyRecord(*record, result);
  } catch (...) {
    // Nothing may reach the host.
  }
  return [result autorelease];
}

}  // namespace

@implementation CLICsvConvDataCRS

- (CLICsvConvResultCRS*)CRSCsvCheck:(NSString*)csvPath {
  return Run([&](CLCCsvConvDataCRS& facade) { return facade.CRSCsvCheck(EngineText(csvPath)); });
}

- (CLICsvConvResultCRS*)CsvConvCRSData:(NSString*)csvPath outputPath:(NSString*)outputPath {
  return Run([&](CLCCsvConvDataCRS& facade) {
    return facade.CsvConvCRSData(EngineText(csvPath), EngineText(outputPath));
  });
}

- (CLICsvConvResultCRS*)ReadXMLFile:(NSString*)xmlPath limitSize:(int64_t)limitSize {
  return Run([&](CLCCsvConvDataCRS& facade) {
    return facade.ReadXMLFile(EngineText(xmlPath), static_cast<long>(limitSize));
  });
}

- (CLICsvConvResultCRS*)CRSCsvCheck2:(NSString*)csvPath nenbun:(NSString*)nenbun {
  return Run([&](CLCCsvConvDataCRS& facade) {
    return facade.CRSCsvCheck2(EngineText(csvPath), EngineText(nenbun));
  });
}

- (CLICsvConvResultCRS*)CsvConvCRSData2:(NSString*)csvPath outputPath:(NSString*)outputPath {
  return Run([&](CLCCsvConvDataCRS& facade) {
    return facade.CsvConvCRSData2(EngineText(csvPath), EngineText(outputPath));
  });
}

@end
