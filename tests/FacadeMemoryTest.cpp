// One facade serving a long-lived host: memory must not grow with the number
// of operations it has run.
#include "CLCCsvConvDataCRS.h"
#include "EndToEndSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace quorvex::internal;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Resident set size of this process, in bytes.
long ResidentBytes() {
  long pages = 0;
  long resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * ::sysconf(_SC_PAGESIZE);
}

TEST(FacadeMemoryTest, ResidentSizeStaysFlatOverTenThousandOperations) {
  // AddressSanitizer holds freed memory in quarantine, and finds leaks itself.
  if (kAddressSanitizer) GTEST_SKIP() << "resident size is not meaningful under AddressSanitizer";
  const std::string sample = quorvex_test::SourcePath("samples/crs-sample-2.0.csv");
  const std::string mistakes = quorvex_test::SourcePath("samples/crs-mistakes-2.0.csv");
  quorvex_test::TempDir dir;
  const std::string out = dir.file("out.xml");
  CLCCsvConvDataCRS facade;
  // Mostly cheap reads, so that the loop costs seconds; every kind of operation recurs.
  auto operation = [&](int i) {
    switch (i % 20) {
      case 0: return facade.CRSCsvCheck2(sample.c_str(), "2023")->getResult();
      case 1: return facade.CRSCsvCheck2(mistakes.c_str(), "2023")->getResult();
      case 2: return facade.CsvConvCRSData2(sample.c_str(), out.c_str())->getResult();
      default: return facade.ReadXMLFile(out.c_str(), -1)->getResult();
    }
  };
  // Warm up: allocator pools, the parser platform and caches reach their size.
  for (int i = 0; i < 500; ++i) ASSERT_EQ(operation(i), i % 20 == 1 ? "E_FAIL" : "S_OK");
  const long before = ResidentBytes();
  for (int i = 0; i < 10000; ++i) ASSERT_EQ(operation(i), i % 20 == 1 ? "E_FAIL" : "S_OK");
  // A leak of a hundred bytes per operation would break this bound.
  EXPECT_LT(ResidentBytes() - before, 1L << 20) << "grew from " << before;
}

}  // namespace
