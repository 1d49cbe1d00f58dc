// The framework as a host sees it: the Objective-C classes, the resource
// locator, and the same outcomes as the command-line tool on the samples.
#import <Quorvex.h>

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

// A string that fails when the front end converts it: a Foundation exception
// or a C++ one, as the engine's own code could raise.
@interface FailingString : NSString {
 @private
  BOOL _throwsCpp;
}
- (id)initThrowingCpp:(BOOL)throwsCpp;
@end

@implementation FailingString
- (id)initThrowingCpp:(BOOL)throwsCpp {
  self = [super init];
  if (self != nil) _throwsCpp = throwsCpp;
  return self;
}
- (NSUInteger)length {
  return 1;
}
- (unichar)characterAtIndex:(NSUInteger)index {
  (void)index;
  return 'x';
}
- (const char*)cStringUsingEncoding:(NSStringEncoding)encoding {
  (void)encoding;
  if (_throwsCpp) throw std::runtime_error("conversion failed");
  [NSException raise:NSGenericException format:@"conversion failed"];
  return nullptr;
}
@end

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

class Pool {
 public:
  Pool() : m_pPool([[NSAutoreleasePool alloc] init]) {}
  ~Pool() { [m_pPool drain]; }

 private:
  NSAutoreleasePool* m_pPool;
};

NSString* S(const std::string& text) { return [NSString stringWithUTF8String:text.c_str()]; }
std::string T(NSString* text) { return text != nil ? [text UTF8String] : "(nil)"; }

// The generated document carries the time of its making.
std::string WithoutTimestamps(const std::string& xml) {
  static const std::regex timestamp(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(\.\d{3})?)");
  return std::regex_replace(xml, timestamp, "TIMESTAMP");
}

#ifdef QUORVEX_CLI
nlohmann::json RunCli(const std::string& arguments) {
  std::string output;
  FILE* pipe = ::popen((std::string(QUORVEX_CLI) + " " + arguments + " --json").c_str(), "r");
  if (pipe == nullptr) return nullptr;
  char chunk[65536];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  ::pclose(pipe);
  return nlohmann::json::parse(output, nullptr, false);
}
#endif

void ExpectSameAsCli(CLICsvConvResultCRS* result, const nlohmann::json& cli, const std::string& label) {
  ASSERT_TRUE(cli.is_object()) << label;
  EXPECT_EQ(T([result Result]), cli.value("Result", "")) << label;
  EXPECT_EQ(T([result DetailErrorInfo]), cli.value("DetailErrorInfo", "")) << label;
  EXPECT_EQ(T([result HojinNo]), cli.value("HojinNo", "")) << label;
  EXPECT_EQ(T([result GIIN]), cli.value("GIIN", "")) << label;
  EXPECT_EQ([result AccountReportCount], cli.value("AccountReportCount", -1)) << label;
  EXPECT_EQ(WithoutTimestamps(T([result CRSData])), WithoutTimestamps(cli.value("CRSData", ""))) << label;
  EXPECT_EQ(T([result XMLData]), cli.value("XMLData", "")) << label;
}

TEST(QuorvexFramework, ArgumentsAndLimitsReachTheEngine) {
  Pool pool;
  TempDir dir;
  const std::string xml = "<a>text</a>\r\n";
  WriteBytes(dir.file("in.xml"), xml);
  CLICsvConvDataCRS* data = [[[CLICsvConvDataCRS alloc] init] autorelease];

  struct Case {
    const char* label;
    CLICsvConvResultCRS* result;
    const char* status;
    const char* detail;
    std::string xmlData;
  } cases[] = {
      {"nil path", [data CRSCsvCheck:nil], "E_FAIL", "99999-0000001-HE40001E", ""},
      {"limit -2", [data ReadXMLFile:S(dir.file("in.xml")) limitSize:-2], "E_FAIL", "99999-0000002-HE40009E", ""},
      {"limit -1", [data ReadXMLFile:S(dir.file("in.xml")) limitSize:-1], "S_OK", "", xml},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.result, nil) << c.label;
    EXPECT_EQ(T([c.result Result]), c.status) << c.label;
    EXPECT_EQ(T([c.result DetailErrorInfo]), c.detail) << c.label;
    EXPECT_EQ(T([c.result XMLData]), c.xmlData) << c.label;
    EXPECT_EQ(T([c.result CRSData]), "") << c.label;  // empty, never nil
  }
}

TEST(QuorvexFramework, JapaneseFolderAndFileNamesWorkForEveryPath) {
  Pool pool;
  TempDir dir;
  const std::string folder = dir.file("申告データ");
  ASSERT_EQ(std::system(("mkdir -p '" + folder + "/出力'").c_str()), 0);
  const std::string csv = folder + "/口座一覧.csv";
  const std::string out = folder + "/出力/変換結果.xml";
  WriteBytes(csv, ReadBytes(std::string(QUORVEX_SOURCE_DIR) + "/samples/crs-sample-2.0.csv"));
  CLICsvConvDataCRS* data = [[[CLICsvConvDataCRS alloc] init] autorelease];

  // In order: the conversion writes the file the read takes back.
  struct Case {
    const char* label;
    std::function<CLICsvConvResultCRS*()> call;
  } cases[] = {
      {"check", [&] { return [data CRSCsvCheck2:S(csv) nenbun:@"2023"]; }},
      {"conversion to a Japanese output path", [&] { return [data CsvConvCRSData2:S(csv) outputPath:S(out)]; }},
      {"read of a Japanese XML path", [&] { return [data ReadXMLFile:S(out) limitSize:-1]; }},
  };
  for (const Case& c : cases) {
    CLICsvConvResultCRS* result = c.call();
    ASSERT_NE(result, nil) << c.label;
    EXPECT_EQ(T([result Result]), "S_OK") << c.label << ": " << T([result DetailErrorInfo]);
  }
  EXPECT_EQ(ReadBytes(out).rfind("<crs:CRS_OECD", 0), 0u);
}

TEST(QuorvexFramework, EveryCallReturnsItsOwnResult) {
  Pool pool;
  CLICsvConvDataCRS* data = [[[CLICsvConvDataCRS alloc] init] autorelease];
  CLICsvConvResultCRS* first = [data CRSCsvCheck:nil];
  CLICsvConvResultCRS* second = [data ReadXMLFile:nil limitSize:-2];
  EXPECT_NE(first, second);
  EXPECT_EQ(T([first DetailErrorInfo]), "99999-0000001-HE40001E");
  EXPECT_NE(T([second DetailErrorInfo]), T([first DetailErrorInfo]));
}

// The documents are compiled in: the framework ships no bundle, the locator
// finds nothing, and every operation still has its definition.
TEST(QuorvexFramework, DefinitionsAreCompiledInAndTheLocatorFindsNoFiles) {
  Pool pool;
  CLCLoadResource* loader = [[[CLCLoadResource alloc] init] autorelease];
  EXPECT_EQ(T([loader getBundlePath]), "");
  for (NSString* name : std::initializer_list<NSString*>{@"CRSValidateDefine.xml", @"CRSDataConvDefine.xml",
                                                         @"CRSValidateDefine_2.0.xml", @"CRSDataConvDefine_2.0.xml",
                                                         nil}) {
    EXPECT_EQ(T([loader getPathName:name]), "") << T(name);
  }
  // A definition that cannot be had is a fatal error of the operation.
  NSString* csv = S(std::string(QUORVEX_SOURCE_DIR) + "/samples/crs-sample-2.0.csv");
  CLICsvConvDataCRS* data = [[[CLICsvConvDataCRS alloc] init] autorelease];
  for (CLICsvConvResultCRS* result : std::initializer_list<CLICsvConvResultCRS*>{
           [data CRSCsvCheck:csv], [data CsvConvCRSData:csv outputPath:@""], [data CRSCsvCheck2:csv nenbun:@"2023"],
           [data CsvConvCRSData2:csv outputPath:@""]}) {
    ASSERT_NE(result, nil);
    EXPECT_NE(T([result DetailErrorInfo]), "00000-0000000-HE40000E");
  }
}

TEST(QuorvexFramework, SamplesGiveTheSameResultsAsTheCommandLineTool) {
#ifndef QUORVEX_CLI
  GTEST_SKIP() << "the command-line tool is not built";
#else
  Pool pool;
  TempDir dir;
  CLICsvConvDataCRS* data = [[[CLICsvConvDataCRS alloc] init] autorelease];
  const std::string samples = std::string(QUORVEX_SOURCE_DIR) + "/samples/";
  for (const char* name : {"crs-sample-2.0.csv", "crs-mistakes-2.0.csv"}) {
    const std::string csv = samples + name;
    ExpectSameAsCli([data CRSCsvCheck2:S(csv) nenbun:@"2023"], RunCli("check '" + csv + "' --year 2023"),
                    std::string("check ") + name);
  }

  const std::string csv = samples + "crs-sample-2.0.csv";
  const std::string out = dir.file("out.xml");
  CLICsvConvResultCRS* converted = [data CsvConvCRSData2:S(csv) outputPath:S(out)];
  ASSERT_EQ(T([converted Result]), "S_OK") << T([converted DetailErrorInfo]);
  EXPECT_GT([converted AccountReportCount], 0);
  EXPECT_EQ(ReadBytes(out), T([converted CRSData]));
  ExpectSameAsCli(converted, RunCli("convert '" + csv + "' --no-check"), "convert");
#endif
}

// Threads the host starts itself, unknown to Foundation, each with its own object.
TEST(QuorvexFramework, CallsFromSeveralThreadsAgree) {
  const std::string csv = std::string(QUORVEX_SOURCE_DIR) + "/samples/crs-mistakes-2.0.csv";
  std::string details[3];
  std::vector<std::thread> threads;
  for (std::string& detail : details) {
    threads.emplace_back([&] {
      Pool pool;
      CLICsvConvDataCRS* data = [[[CLICsvConvDataCRS alloc] init] autorelease];
      detail = T([[data CRSCsvCheck2:S(csv) nenbun:@"2023"] DetailErrorInfo]);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_NE(details[0], "");
  EXPECT_EQ(details[1], details[0]);
  EXPECT_EQ(details[2], details[0]);
}

TEST(QuorvexFramework, NoExceptionLeavesAMethod) {
  Pool pool;
  CLICsvConvDataCRS* data = [[[CLICsvConvDataCRS alloc] init] autorelease];
  for (BOOL throwsCpp : {NO, YES}) {
    FailingString* path = [[[FailingString alloc] initThrowingCpp:throwsCpp] autorelease];
    CLICsvConvResultCRS* result = nil;
    EXPECT_NO_THROW(result = [data CRSCsvCheck:path]);
    // The exception came after the result object was made: it is returned unfilled.
    ASSERT_NE(result, nil);
    EXPECT_EQ([result Result], nil);
  }
  // The object stays usable.
  EXPECT_EQ(T([[data CRSCsvCheck:nil] Result]), "E_FAIL");
}

TEST(QuorvexFramework, ExportsItsVersion) {
  EXPECT_EQ(QuorvexVersionNumber, 1.0);
  EXPECT_STREQ(reinterpret_cast<const char*>(QuorvexVersionString), "@(#)PROGRAM:Quorvex  PROJECT:Quorvex-1\n");
}

}  // namespace
