// One facade operation in its own process, for whole-process timings:
//   RunOperation check FILE.csv YEAR      schema 2.0 check
//   RunOperation convert FILE.csv OUT.xml schema 2.0 conversion
//   RunOperation repeat N FILE.csv YEAR   N checks in one process
// Prints the result and, on failure, the start of the detail error document.
#include "CLCCsvConvDataCRS.h"

#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  const std::string operation = argc > 1 ? argv[1] : "";
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = nullptr;
  if (operation == "check" && argc == 4) {
    result = facade.CRSCsvCheck2(argv[2], argv[3]);
  } else if (operation == "convert" && argc == 4) {
    result = facade.CsvConvCRSData2(argv[2], argv[3]);
  } else if (operation == "repeat" && argc == 5) {
    for (long i = std::atol(argv[2]); i > 0; --i) result = facade.CRSCsvCheck2(argv[3], argv[4]);
  } else {
    std::cerr << "usage: RunOperation check FILE YEAR | convert FILE OUT | repeat N FILE YEAR\n";
    return 2;
  }
  if (result == nullptr) return 2;
  std::cout << result->getResult() << ' ' << result->getDetailErrorInfo().substr(0, 200) << '\n';
  return result->getResult() == "S_OK" ? 0 : 1;
}
