#import <Foundation/Foundation.h>

#import "QuorvexNullability.h"

#include <stdint.h>

NS_ASSUME_NONNULL_BEGIN

@class CLICsvConvResultCRS;

// The engine's five operations. Every argument may be nil (the engine reports
// it as empty); every call returns a new autoreleased result object, and no
// exception ever leaves a method: a nil return, or a result whose later
// properties are still nil, is the only sign of one.
@interface CLICsvConvDataCRS : NSObject

- (CLICsvConvResultCRS* _Nullable)CRSCsvCheck:(NSString* _Nullable)csvPath;
- (CLICsvConvResultCRS* _Nullable)CsvConvCRSData:(NSString* _Nullable)csvPath
                                       outputPath:(NSString* _Nullable)outputPath;
- (CLICsvConvResultCRS* _Nullable)ReadXMLFile:(NSString* _Nullable)xmlPath limitSize:(int64_t)limitSize;
- (CLICsvConvResultCRS* _Nullable)CRSCsvCheck2:(NSString* _Nullable)csvPath nenbun:(NSString* _Nullable)nenbun;
- (CLICsvConvResultCRS* _Nullable)CsvConvCRSData2:(NSString* _Nullable)csvPath
                                        outputPath:(NSString* _Nullable)outputPath;

@end

NS_ASSUME_NONNULL_END
