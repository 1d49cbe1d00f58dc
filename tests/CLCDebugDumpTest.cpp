#include "CLCCRSCommon.h"
#include "CLCDebugDump.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;

// Points the log at a fresh home folder. Logging cannot be switched off again
// within a process, so the test without the switch must run first.
class DebugDumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* home = std::getenv("HOME");
    m_savedHome = home ? home : "";
    ::setenv("HOME", m_home.path().c_str(), 1);
  }
  void TearDown() override {
    ::setenv("HOME", m_savedHome.c_str(), 1);
    ::unsetenv(CLCDebugDump::kSwitchVariable);
  }
  std::string LogFile() const {
    return m_home.file(CLCCRSCommon::Now("'_KVR_QUORVEX_'yyyyMMdd'.log'", nullptr));
  }
  void SwitchOn() {
    ::setenv(CLCDebugDump::kSwitchVariable, "", 1);  // present but empty still counts
    CLCDebugDump::InitDebugDump();
  }

  TempDir m_home;
  std::string m_savedHome;
};

TEST_F(DebugDumpTest, WithoutSwitchNoFileIsCreated) {
  ::unsetenv(CLCDebugDump::kSwitchVariable);
  CLCDebugDump::InitDebugDump();
  CLCDebugDump::OutputLog("a.cpp", 1, "CLCA::B", "message");
  EXPECT_FALSE(CLCDebugDump::IsOutput());
  EXPECT_TRUE(std::filesystem::is_empty(m_home.path()));
}

TEST_F(DebugDumpTest, NullMessageGivesThreeLinesAndBlankLine) {
  SwitchOn();
  EXPECT_TRUE(CLCDebugDump::IsOutput());
  EXPECT_EQ(CLCDebugDump::GetOutputPath(), LogFile());
  CLCDebugDump::OutputLog("CLCXDom.cpp", 42, "CLCXDom::Parse", nullptr);
  const std::string log = ReadBytes(LogFile());
  EXPECT_TRUE(std::regex_match(
      log, std::regex(R"(--\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} CLCXDom::Parse--\n\[File:CLCXDom.cpp Line:42\]\n\n)")))
      << log;
}

TEST_F(DebugDumpTest, RecordsAppendWithMessageLine) {
  SwitchOn();
  CLCDebugDump::OutputLog("a.cpp", 1, "CLCA::One", CLCDebugDump::kUnexpectedError);
  CLCDebugDump::OutputLog("b.cpp", 2, "CLCB::Two", "line1\nline2");
  CLCDebugDump::OutputLog(nullptr, 3, "CLCC::Dropped", "x");
  CLCDebugDump::OutputLog("c.cpp", 3, nullptr, "x");
  const std::string log = ReadBytes(LogFile());
  const std::regex record(
      R"(--[-0-9]{10} [:0-9]{8} CLCA::One--\n想定しないエラーが発生しました。\n\[File:a.cpp Line:1\]\n\n)"
      R"(--[-0-9]{10} [:0-9]{8} CLCB::Two--\nline1\nline2\n\[File:b.cpp Line:2\]\n\n)");
  EXPECT_TRUE(std::regex_match(log, record)) << log;
}

TEST_F(DebugDumpTest, LongCallerNameIsCutTo511Bytes) {
  SwitchOn();
  const std::string name(600, 'n');
  const std::string file(600, 'f');
  CLCDebugDump::OutputLog(file.c_str(), 7, name.c_str(), "m");
  const std::string log = ReadBytes(LogFile());
  // "--" + 19 characters of date and time + " " leave 489 bytes of the name;
  // the line break is cut with the rest, so the message follows directly.
  const std::string first = log.substr(0, 511);
  EXPECT_EQ(first.substr(22), std::string(489, 'n'));
  EXPECT_EQ(log.substr(511, 2), "m\n");
  const std::string third = log.substr(513);
  EXPECT_EQ(third, "[File:" + std::string(505, 'f') + "\n");
}

TEST_F(DebugDumpTest, ConcurrentRecordsStayWhole) {
  SwitchOn();
  constexpr int kThreads = 4;
  constexpr int kRecords = 50;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      const std::string name = "CLCT::Thread" + std::to_string(t);
      for (int i = 0; i < kRecords; ++i) {
        CLCDebugDump::OutputLog("t.cpp", i, name.c_str(), std::string(200, static_cast<char>('a' + t)).c_str());
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  std::istringstream log(ReadBytes(LogFile()));
  const std::regex header(R"(--.{19} CLCT::Thread(\d)--)");
  std::string line;
  int records = 0;
  while (std::getline(log, line)) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line, match, header)) << line;
    const char letter = static_cast<char>('a' + std::stoi(match[1]));
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_EQ(line, std::string(200, letter));
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_EQ(line.rfind("[File:t.cpp Line:", 0), 0u) << line;
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_EQ(line, "");
    ++records;
  }
  EXPECT_EQ(records, kThreads * kRecords);
}

}  // namespace
