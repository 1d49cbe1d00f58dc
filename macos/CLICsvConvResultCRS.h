#import <Foundation/Foundation.h>

#import "QuorvexNullability.h"

#include <stdint.h>

NS_ASSUME_NONNULL_BEGIN

// Outcome of one CLICsvConvDataCRS call, mirroring the engine's result record.
// A new object has nil strings and a count of 0; a string the engine could not
// give as UTF-8 stays nil, so every string may be nil.
@interface CLICsvConvResultCRS : NSObject {
 @private
  NSString* _Nullable _Result;
  NSString* _Nullable _DetailErrorInfo;
  NSString* _Nullable _HojinNo;
  NSString* _Nullable _GIIN;
  int64_t _AccountReportCount;
  NSString* _Nullable _CRSData;
  NSString* _Nullable _XMLData;
}

@property(nonatomic, copy) NSString* _Nullable Result;
@property(nonatomic, copy) NSString* _Nullable DetailErrorInfo;
@property(nonatomic, copy) NSString* _Nullable HojinNo;
@property(nonatomic, copy) NSString* _Nullable GIIN;
@property(nonatomic, assign) int64_t AccountReportCount;
@property(nonatomic, copy) NSString* _Nullable CRSData;
@property(nonatomic, copy) NSString* _Nullable XMLData;

@end

NS_ASSUME_NONNULL_END
