// Whatever an operation throws stops at the facade, which leaves a complete
// fatal record behind. Allocation failures are injected by replacing the
// global operator new of this test program.
#include "CLCCsvConvDataCRS.h"
#include "EndToEndSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace quorvex::internal;

namespace {
// Allocations of at least this many bytes fail while it is not zero.
std::atomic<std::size_t> g_failFrom{0};
}  // namespace

// The replacements below pair malloc with free on purpose.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
  const std::size_t failFrom = g_failFrom.load();
  if (failFrom != 0 && size >= failFrom) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

TEST(FacadeFailure, AThrowLeavesTheCompleteFatalRecord) {
  const std::string sample = quorvex_test::SourcePath("samples/crs-sample-2.0.csv");
  CLCCsvConvDataCRS facade;
  const CLCCsvConvResultCRS* result = facade.CsvConvCRSData2(sample.c_str(), "");
  ASSERT_EQ(result->getResult(), "S_OK");
  ASSERT_FALSE(result->getCRSData().empty());
  ASSERT_FALSE(result->getHojinNo().empty());

  // The sample's XML is several kilobytes: building it fails.
  g_failFrom = 4096;
  result = facade.CsvConvCRSData2(sample.c_str(), "");
  g_failFrom = 0;

  EXPECT_EQ(result->getResult(), "E_FAIL");
  EXPECT_EQ(result->getDetailErrorInfo(), "00000-0000000-HE40000E");
  EXPECT_EQ(result->getCRSData(), "");
  EXPECT_EQ(result->getXMLData(), "");
  EXPECT_EQ(result->getHojinNo(), "");
  EXPECT_EQ(result->getGIIN(), "");
  EXPECT_EQ(result->getAccountReportCount(), 0);

  // And the next call works again.
  EXPECT_EQ(facade.CRSCsvCheck2(sample.c_str(), "2023")->getResult(), "S_OK");
}

}  // namespace
