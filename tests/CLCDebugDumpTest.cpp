#include "CLCCRSCommon.h"
#include "diagnostics/CLCDebugDump.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

using namespace quorvex::internal;

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;

// The log with the date and time of every record header replaced by "<now>";
// a header whose stamp is not "yyyy-MM-dd HH:mm:ss" is left as it is.
std::string MaskStamps(const std::string& log) {
  std::istringstream lines(log);
  std::string masked;
  std::string line;
  while (std::getline(lines, line)) {
    bool stamped = line.size() >= 21 && line.compare(0, 2, "--") == 0;
    for (std::size_t i = 2; stamped && i < 21; ++i) {
      const char c = line[i];
      const char shape = "--####-##-## ##:##:##"[i];
      stamped = shape == '#' ? (c >= '0' && c <= '9') : c == shape;
    }
    masked += stamped ? "--<now>" + line.substr(21) : line;
    masked += '\n';
  }
  return masked;
}

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
    ::unsetenv(CLCDebugDump::SwitchVariable());
  }
  std::string LogFile() const {
    return m_home.file(CLCCRSCommon::Now("'_KVR_QUORVEX_'yyyyMMdd'.log'", nullptr));
  }
  void SwitchOn() {
    ::setenv(CLCDebugDump::SwitchVariable(), "", 1);  // present but empty still counts
    CLCDebugDump::InitDebugDump();
  }

  TempDir m_home;
  std::string m_savedHome;
};

TEST_F(DebugDumpTest, WithoutSwitchNoFileIsCreated) {
  ::unsetenv(CLCDebugDump::SwitchVariable());
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
  EXPECT_EQ(MaskStamps(ReadBytes(LogFile())), "--<now> CLCXDom::Parse--\n[File:CLCXDom.cpp Line:42]\n\n");
}

TEST_F(DebugDumpTest, RecordsAppendWithMessageLine) {
  SwitchOn();
  CLCDebugDump::OutputLog("a.cpp", 1, "CLCA::One", CLCDebugDump::kUnexpectedError);
  CLCDebugDump::OutputLog("b.cpp", 2, "CLCB::Two", "line1\nline2");
  CLCDebugDump::OutputLog(nullptr, 3, "CLCC::Dropped", "x");
  CLCDebugDump::OutputLog("c.cpp", 3, nullptr, "x");
  EXPECT_EQ(MaskStamps(ReadBytes(LogFile())),
            "--<now> CLCA::One--\n想定しないエラーが発生しました。\n[File:a.cpp Line:1]\n\n"
            "--<now> CLCB::Two--\nline1\nline2\n[File:b.cpp Line:2]\n\n");
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

  std::istringstream log(MaskStamps(ReadBytes(LogFile())));
  const std::string header = "--<now> CLCT::Thread";
  std::string line;
  int records = 0;
  while (std::getline(log, line)) {
    ASSERT_EQ(line.size(), header.size() + 3) << line;
    ASSERT_EQ(line.compare(0, header.size(), header), 0) << line;
    ASSERT_EQ(line.substr(header.size() + 1), "--") << line;
    const char letter = static_cast<char>('a' + (line[header.size()] - '0'));
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
