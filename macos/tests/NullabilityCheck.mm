// Compiled only, by a compiler that knows nullability (clang): every argument
// the interface lets a host pass as nil takes nil without a warning, the
// locator's answers are never nil, and every selector keeps its name.
#import <Quorvex.h>

void QuorvexNullabilityCheck(CLICsvConvDataCRS* _Nonnull data, CLCLoadResource* _Nonnull locator) {
  [data CRSCsvCheck:nil];
  [data CsvConvCRSData:nil outputPath:nil];
  [data ReadXMLFile:nil limitSize:-1];
  [data CRSCsvCheck2:nil nenbun:nil];
  CLICsvConvResultCRS* _Nullable result = [data CsvConvCRSData2:nil outputPath:nil];
  [result setResult:nil];
  [result setDetailErrorInfo:nil];
  [result setHojinNo:nil];
  [result setGIIN:nil];
  [result setCRSData:nil];
  [result setXMLData:nil];
  NSString* _Nonnull bundle = [locator getBundlePath];
  NSString* _Nonnull path = [locator getPathName:nil];
  (void)bundle;
  (void)path;
}

#ifdef QUORVEX_NULLABLE_RESULTS
// Must not compile: a result and its strings may be nil.
NSString* _Nonnull QuorvexNullableResults(CLICsvConvDataCRS* _Nonnull data) {
  CLICsvConvResultCRS* _Nonnull result = [data CRSCsvCheck:nil];
  return [result Result];
}
#endif
