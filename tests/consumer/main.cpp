// Checks a CRS CSV file with the installed library: consumer YEAR FILE
#include <CLCCsvConvDataCRS.h>

#include <iostream>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = facade.CRSCsvCheck2(argv[2], argv[1]);
  std::cout << result->getResult() << ' ' << result->getAccountReportCount() << '\n';
  return result->getResult() == "S_OK" ? 0 : 1;
}
