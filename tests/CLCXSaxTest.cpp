#include "diagnostics/CLCDebugDump.h"
#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXSax.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace quorvex::internal;

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

constexpr const char* kFatalOnly = "00000-0000000-HE40000E";

class CLCXSaxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_sax.Initialize());
  }

  bool Parse(const std::string& document) {
    return m_sax.Parse(document.data(), document.size(), "CRS", "UTF-8");
  }
  // Plants an ordinary error first, so that a fatal error is seen replacing it.
  void PlantError() { m_result.SetResult(CRSMSG_NOT_ENTERED, 5, 3, -1); }
  // The detail error document recorded so far; empties the collector.
  std::string Recorded() { return quorvex_test::TakeRecorded(m_result); }

  CLCValidResult m_result;
  CLCXSax m_sax{m_result};
};

TEST_F(CLCXSaxTest, WellFormedDocumentPasses) {
  EXPECT_TRUE(Parse("<crs:CRS_OECD xmlns:crs=\"urn:oecd:ties:crs:v1\"><a b=\"&amp;&lt;\">"
                    "\xE3\x81\x82&#x3042;</a><!-- c --></crs:CRS_OECD>"));
  EXPECT_EQ(m_result.GetCount(), 0u);
}

TEST_F(CLCXSaxTest, MalformedDocumentGivesOneFatalEntry) {
  const char* malformed[] = {
      "<a><b></a>", "<a>", "", "<a/><b/>", "<a>&undefined;</a>", "<a>\xE3\x81</a>",
  };
  for (const char* document : malformed) {
    PlantError();
    EXPECT_FALSE(Parse(document)) << document;
    EXPECT_EQ(Recorded(), kFatalOnly) << document;
  }
  EXPECT_TRUE(Parse("<a/>"));  // the reader is ready again after a failure
}

TEST_F(CLCXSaxTest, ParseErrorLogEndsWithLineAndColumn) {
  TempDir home;
  const char* savedHome = std::getenv("HOME");
  const std::string previous = savedHome ? savedHome : "";
  ::setenv("HOME", home.path().c_str(), 1);
  ::setenv(CLCDebugDump::SwitchVariable(), "1", 1);
  CLCDebugDump::InitDebugDump();
  EXPECT_FALSE(Parse("<a>\n<b></c>\n</a>"));
  const std::string log = ReadBytes(CLCDebugDump::GetOutputPath());
  ::setenv("HOME", previous.c_str(), 1);
  EXPECT_NE(log.find("CLCXSax::Parse--\n想定しないエラーが発生しました。\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" (行番号: 2, 列番号: "), std::string::npos) << log;
}

TEST_F(CLCXSaxTest, UnusableReaderOrArgumentsAreFatal) {
  CLCXSax uninitialised(m_result);
  PlantError();
  EXPECT_FALSE(uninitialised.Parse("<a/>", 4, "CRS", "UTF-8"));
  EXPECT_EQ(Recorded(), kFatalOnly);
  const char* const arguments[][3] = {
      {nullptr, "CRS", "UTF-8"}, {"<a/>", nullptr, "UTF-8"}, {"<a/>", "CRS", nullptr}};
  for (const auto& a : arguments) {
    PlantError();
    EXPECT_FALSE(m_sax.Parse(a[0], 4, a[1], a[2]));
    EXPECT_EQ(Recorded(), kFatalOnly);
  }
}

TEST_F(CLCXSaxTest, ForcedEncodingOverridesDeclaration) {
  // UTF-16LE bytes declared as UTF-8: read as UTF-16LE they are well-formed.
  const std::u16string text = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\u3042</a>";
  const std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  EXPECT_TRUE(m_sax.Parse(bytes.data(), bytes.size(), "CRS", "UTF-16LE"));
  EXPECT_FALSE(m_sax.Parse(bytes.data(), bytes.size(), "CRS", "UTF-8"));
}

// The documents read back never carry a document type declaration, so any is
// refused: nothing it names is fetched, and no entity or attribute default in
// its subset can cost time or memory.
TEST_F(CLCXSaxTest, DocumentTypeDeclarationsAreRefused) {
  TempDir dir;
  WriteBytes(dir.file("evil.dtd"), "<!ENTITY broken");
  const std::string dtd = "file://" + dir.file("evil.dtd");
  std::string attributeDefaults = "<!DOCTYPE r [<!ATTLIST e a CDATA \"" + std::string(1 << 20, 'x') + "\">]><r>";
  for (int i = 0; i < 50000; ++i) attributeDefaults += "<e/>";  // 50 GB of defaults if expanded
  attributeDefaults += "</r>";
  const std::string documents[] = {
      "<!DOCTYPE r><r/>",
      "<!DOCTYPE r [<!ENTITY e SYSTEM \"" + dir.file("evil.dtd") + "\">]><r>&e;</r>",
      "<!DOCTYPE r SYSTEM \"" + dtd + "\"><r/>",
      "<!DOCTYPE r [<!ENTITY e SYSTEM \"http://127.0.0.1:1/x\">]><r>&e;</r>",
      attributeDefaults,
  };
  for (const std::string& document : documents) {
    EXPECT_FALSE(Parse(document)) << document.substr(0, 80);
    EXPECT_EQ(Recorded(), kFatalOnly) << document.substr(0, 80);
  }
}

TEST_F(CLCXSaxTest, EntityExpansionBombIsRefusedQuickly) {
  std::string bomb = "<!DOCTYPE lolz [<!ENTITY lol0 \"lol\">";
  for (int i = 1; i <= 9; ++i) {
    const std::string previous = "&lol" + std::to_string(i - 1) + ";";
    std::string value;
    for (int k = 0; k < 10; ++k) value += previous;
    bomb += "<!ENTITY lol" + std::to_string(i) + " \"" + value + "\">";
  }
  bomb += "]><lolz>&lol9;</lolz>";  // 10^9 expansions if unbounded: without a cap this never ends
  EXPECT_FALSE(Parse(bomb));
  EXPECT_EQ(Recorded(), kFatalOnly);
}

TEST_F(CLCXSaxTest, LargeEntityReferencedManyTimesIsRefused) {
  std::string document = "<!DOCTYPE r [<!ENTITY big \"" + std::string(1 << 20, 'x') + "\">]><r>";
  for (int i = 0; i < 10000; ++i) document += "&big;";  // 10 GiB of text if unbounded
  document += "</r>";
  EXPECT_FALSE(Parse(document));
}

TEST_F(CLCXSaxTest, PredefinedAndCharacterReferencesAreNotCapped) {
  std::string document = "<a>";
  for (int i = 0; i < 300000; ++i) document += "&amp;&#x41;";
  document += "</a>";
  EXPECT_TRUE(Parse(document));
}

TEST_F(CLCXSaxTest, InitializeAndTerminateAreIdempotent) {
  EXPECT_TRUE(m_sax.Initialize());
  m_sax.Terminate();
  m_sax.Terminate();
  PlantError();
  EXPECT_FALSE(Parse("<a/>"));  // no reader after Terminate
  EXPECT_EQ(Recorded(), kFatalOnly);
  EXPECT_TRUE(m_sax.Initialize());
  EXPECT_TRUE(Parse("<a/>"));
}

// Readers on several threads, each bringing the shared parser platform up and
// down, must not share parse state.
TEST(CLCXSaxThreads, ReadersOnSeveralThreadsParseIndependently) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 100;
  std::vector<std::thread> threads;
  std::vector<int> passed(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &passed] {
      CLCValidResult result;
      for (int i = 0; i < kRounds; ++i) {
        CLCXSax sax(result);
        // Every other document is malformed, so failures and successes interleave.
        const bool good = (i + t) % 2 == 0;
        const std::string document = good ? "<a><b c=\"d\"/></a>" : "<a><b></a>";
        if (sax.Initialize() && sax.Parse(document.data(), document.size(), "CRS", "UTF-8") == good) {
          ++passed[t];
        }
        sax.Terminate();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(passed[t], kRounds) << t;
}

}  // namespace
