#import <Foundation/Foundation.h>

#include <stdint.h>

@class CLICsvConvResultCRS;

// The engine's five operations. Every argument may be nil (the engine reports
// it as empty); every call returns a new autoreleased result object, and no
// exception ever leaves a method: a nil return, or a result whose later
// properties are still nil, is the only sign of one.
@interface CLICsvConvDataCRS : NSObject

- (CLICsvConvResultCRS*)CRSCsvCheck:(NSString*)csvPath;
- (CLICsvConvResultCRS*)CsvConvCRSData:(NSString*)csvPath outputPath:(NSString*)outputPath;
- (CLICsvConvResultCRS*)ReadXMLFile:(NSString*)xmlPath limitSize:(int64_t)limitSize;
- (CLICsvConvResultCRS*)CRSCsvCheck2:(NSString*)csvPath nenbun:(NSString*)nenbun;
- (CLICsvConvResultCRS*)CsvConvCRSData2:(NSString*)csvPath outputPath:(NSString*)outputPath;

@end
