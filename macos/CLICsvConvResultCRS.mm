#import "CLICsvConvResultCRS.h"

@implementation CLICsvConvResultCRS

@synthesize Result = _Result;
@synthesize DetailErrorInfo = _DetailErrorInfo;
@synthesize HojinNo = _HojinNo;
@synthesize GIIN = _GIIN;
@synthesize AccountReportCount = _AccountReportCount;
@synthesize CRSData = _CRSData;
@synthesize XMLData = _XMLData;

- (void)dealloc {
  [_Result release];
  [_DetailErrorInfo release];
  [_HojinNo release];
  [_GIIN release];
  [_CRSData release];
  [_XMLData release];
  [super dealloc];
}

@end
