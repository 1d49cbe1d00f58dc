#import <Foundation/Foundation.h>

#include <stdint.h>

// Outcome of one CLICsvConvDataCRS call, mirroring the engine's result record.
// A new object has nil strings and a count of 0.
@interface CLICsvConvResultCRS : NSObject {
 @private
  NSString* _Result;
  NSString* _DetailErrorInfo;
  NSString* _HojinNo;
  NSString* _GIIN;
  int64_t _AccountReportCount;
  NSString* _CRSData;
  NSString* _XMLData;
}

@property(nonatomic, copy) NSString* Result;
@property(nonatomic, copy) NSString* DetailErrorInfo;
@property(nonatomic, copy) NSString* HojinNo;
@property(nonatomic, copy) NSString* GIIN;
@property(nonatomic, assign) int64_t AccountReportCount;
@property(nonatomic, copy) NSString* CRSData;
@property(nonatomic, copy) NSString* XMLData;

@end
