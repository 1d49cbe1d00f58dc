// Hostile inputs and file-system faults, one case per fault: nothing hangs,
// nothing is destroyed, and every error points at its cause.
#include "CLCCRSCommon.h"
#include "CLCCsvConvDataCRS.h"
#include "EndToEndSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvex::internal;

namespace {

namespace fs = std::filesystem;
using quorvex_test::LoadCsvRows;
using quorvex_test::ReadBytes;
using quorvex_test::Row;
using quorvex_test::SaveCsvRows;
using quorvex_test::SourcePath;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

const std::string kValidSample = SourcePath("samples/crs-sample-2.0.csv");
const std::string kSampleBytes = ReadBytes(kValidSample);

// One facade call and what it must answer.
struct Call {
  enum Kind { Check, Convert, ReadXml } kind;
  std::string path;
  std::string output;  // conversion output path
};

struct HostileCase {
  const char* fault;
  // Lays out the files in the folder and names the call to make.
  std::function<Call(const TempDir&)> prepare;
  const char* expected;  // the detail error document
  // What else must hold afterwards (the file system left alone, the data exact).
  std::function<void(const TempDir&, const CLCCsvConvResultCRS&)> verify;
};

const CLCCsvConvResultCRS& RunCall(CLCCsvConvDataCRS& facade, const Call& call) {
  switch (call.kind) {
    case Call::Check: return *facade.CRSCsvCheck2(call.path.c_str(), "2023");
    case Call::Convert: return *facade.CsvConvCRSData2(call.path.c_str(), call.output.c_str());
    case Call::ReadXml: break;
  }
  return *facade.ReadXMLFile(call.path.c_str(), -1);
}

// The valid sample with raw bytes in place of account line 2's family name (column 29).
std::string SampleWithName(const std::string& dir, const std::string& raw) {
  std::vector<Row> rows = LoadCsvRows(kValidSample);
  rows[1][28] = "@NAME@";
  SaveCsvRows(dir + "/marked.csv", rows);
  std::string bytes = ReadBytes(dir + "/marked.csv");
  return bytes.replace(bytes.find("@NAME@"), 6, raw);
}

Call CsvWith(const TempDir& dir, const std::string& bytes, Call::Kind kind = Call::Convert) {
  WriteBytes(dir.file("in.csv"), bytes);
  return {kind, dir.file("in.csv"), ""};
}

bool IsFifo(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

void ExpectUntouchedInput(const TempDir& dir, const CLCCsvConvResultCRS&) {
  EXPECT_EQ(ReadBytes(dir.file("in.csv")), kSampleBytes);
}

const std::vector<HostileCase>& Cases() {
  static const std::vector<HostileCase> cases = {
      // Only regular files are read: a FIFO would hang, a device never end.
      {"FIFO as input",
       [](const TempDir& dir) {
         ::mkfifo(dir.file("fifo.csv").c_str(), 0600);
         return Call{Call::Check, dir.file("fifo.csv"), ""};
       },
       "99999-0000001-HE40004E", nullptr},
      {"link to an endless device as input",
       [](const TempDir& dir) {
         fs::create_symlink("/dev/zero", dir.file("zero.csv"));
         return Call{Call::Check, dir.file("zero.csv"), ""};
       },
       "99999-0000001-HE40004E", nullptr},
      {"FIFO read back as XML",
       [](const TempDir& dir) {
         ::mkfifo(dir.file("fifo.xml").c_str(), 0600);
         return Call{Call::ReadXml, dir.file("fifo.xml"), ""};
       },
       "99999-0000001-HE40004E", nullptr},

      // A special file as output is refused and left alone, also behind a link.
      {"FIFO as output",
       [](const TempDir& dir) {
         ::mkfifo(dir.file("out.xml").c_str(), 0600);
         return Call{Call::Convert, kValidSample, dir.file("out.xml")};
       },
       "00000-0000000-HE40024E", [](const TempDir& dir, const CLCCsvConvResultCRS&) { EXPECT_TRUE(IsFifo(dir.file("out.xml"))); }},
      {"link to a FIFO as output",
       [](const TempDir& dir) {
         ::mkfifo(dir.file("fifo").c_str(), 0600);
         fs::create_symlink(dir.file("fifo"), dir.file("out.xml"));
         return Call{Call::Convert, kValidSample, dir.file("out.xml")};
       },
       "00000-0000000-HE40024E", [](const TempDir& dir, const CLCCsvConvResultCRS&) { EXPECT_TRUE(IsFifo(dir.file("fifo"))); }},
      {"read-only output",
       [](const TempDir& dir) {
         WriteBytes(dir.file("out.xml"), "keep");
         ::chmod(dir.file("out.xml").c_str(), 0444);
         return Call{Call::Convert, kValidSample, dir.file("out.xml")};
       },
       "00000-0000000-HE40024E",
       [](const TempDir& dir, const CLCCsvConvResultCRS&) { EXPECT_EQ(ReadBytes(dir.file("out.xml")), "keep"); }},

      // A link as output: its final target is written, the link stays.
      {"chain of links as output",
       [](const TempDir& dir) {
         fs::create_directory(dir.file("real"));
         WriteBytes(dir.file("real/out.xml"), "old");
         fs::create_symlink("real/out.xml", dir.file("link1.xml"));
         fs::create_symlink(dir.file("link1.xml"), dir.file("link2.xml"));
         return Call{Call::Convert, kValidSample, dir.file("link2.xml")};
       },
       "",
       [](const TempDir& dir, const CLCCsvConvResultCRS& result) {
         EXPECT_TRUE(fs::is_symlink(dir.file("link1.xml")));
         EXPECT_TRUE(fs::is_symlink(dir.file("link2.xml")));
         EXPECT_EQ(ReadBytes(dir.file("real/out.xml")), result.getCRSData());
         EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("real")), fs::directory_iterator()), 1);
       }},
      {"dangling link as output",
       [](const TempDir& dir) {
         fs::create_symlink("made.xml", dir.file("out.xml"));
         return Call{Call::Convert, kValidSample, dir.file("out.xml")};
       },
       "",
       [](const TempDir& dir, const CLCCsvConvResultCRS& result) {
         EXPECT_TRUE(fs::is_symlink(dir.file("out.xml")));
         EXPECT_EQ(ReadBytes(dir.file("made.xml")), result.getCRSData());
       }},

      // The output can never overwrite the input, however the path is spelt.
      {"output is the input",
       [](const TempDir& dir) { return Call{Call::Convert, CsvWith(dir, kSampleBytes).path, dir.file("in.csv")}; },
       "99999-0000002-HE40009E", ExpectUntouchedInput},
      {"output is the input through ..",
       [](const TempDir& dir) {
         fs::create_directory(dir.file("x"));
         return Call{Call::Convert, CsvWith(dir, kSampleBytes).path, dir.file("x/../in.csv")};
       },
       "99999-0000002-HE40009E", ExpectUntouchedInput},
      {"output is a hard link to the input",
       [](const TempDir& dir) {
         const Call call = CsvWith(dir, kSampleBytes);
         fs::create_hard_link(call.path, dir.file("hard.xml"));
         return Call{Call::Convert, call.path, dir.file("hard.xml")};
       },
       "99999-0000002-HE40009E", ExpectUntouchedInput},

      {"file cut off inside a quoted column",
       [](const TempDir& dir) { return CsvWith(dir, kSampleBytes + "4,\"JP2023\",\"CRS501\",\"1\",\"JPY", Call::Check); },
       "00000-0000000-HE40012E", nullptr},

      // Bytes that are not Shift_JIS, and control characters, at their place.
      {"byte 0x80", [](const TempDir& dir) { return CsvWith(dir, SampleWithName(dir.path(), "Sm\x80th")); },
       "00002-0000029-HE40011E", nullptr},
      {"byte 0xA0 found by the check",
       [](const TempDir& dir) { return CsvWith(dir, SampleWithName(dir.path(), "Sm\xA0th"), Call::Check); },
       "00002-0000029-HE40011E", nullptr},
      {"bytes 0xFD to 0xFF", [](const TempDir& dir) { return CsvWith(dir, SampleWithName(dir.path(), "\xFD\xFE\xFF")); },
       "00002-0000029-HE40011E", nullptr},
      {"unmapped pair 0x8540",
       [](const TempDir& dir) { return CsvWith(dir, SampleWithName(dir.path(), "Sm\x85\x40th")); },
       "00002-0000029-HE40011E", nullptr},
      {"lead byte at the end of the file", [](const TempDir& dir) { return CsvWith(dir, kSampleBytes + "\x82"); },
       "00000-0000000-HE40012E,00009-0000001-HE40011E", nullptr},
      {"UTF-8 byte-order mark", [](const TempDir& dir) { return CsvWith(dir, "\xEF\xBB\xBF" + kSampleBytes); },
       "00000-0000000-HE40012E,00001-0000001-HE40011E", nullptr},
      {"control character 0x01", [](const TempDir& dir) { return CsvWith(dir, SampleWithName(dir.path(), "Sm\x01th")); },
       "00002-0000029-HE40011E", nullptr},
      {"escape 0x1B", [](const TempDir& dir) { return CsvWith(dir, SampleWithName(dir.path(), "\x1B[31m")); },
       "00002-0000029-HE40011E", nullptr},
      {"delete 0x7F", [](const TempDir& dir) { return CsvWith(dir, SampleWithName(dir.path(), "Sm\x7Fth")); },
       "00002-0000029-HE40011E", nullptr},
      {"UTF-16 file read back",
       [](const TempDir& dir) {
         WriteBytes(dir.file("utf16.xml"), std::string("\xFF\xFE<\0a\0/\0>\0", 10));
         return Call{Call::ReadXml, dir.file("utf16.xml"), ""};
       },
       "00000-0000000-HE40011E", nullptr},

      // A CR inside a quoted column reads back as CR, not LF.
      {"CR inside a quoted column",
       [](const TempDir& dir) { return CsvWith(dir, SampleWithName(dir.path(), "Sm\rith")); }, "",
       [](const TempDir&, const CLCCsvConvResultCRS& result) {
         EXPECT_NE(result.getCRSData().find(">Sm&#13;ith<"), std::string::npos);
       }},

      // Attribute defaults declared once and applied to every element.
      {"document type declaration read back",
       [](const TempDir& dir) {
         std::string xml = "<!DOCTYPE r [<!ATTLIST e a CDATA \"" + std::string(1 << 20, 'x') + "\">]><r>";
         for (int i = 0; i < 50000; ++i) xml += "<e/>";
         WriteBytes(dir.file("dtd.xml"), xml + "</r>");
         return Call{Call::ReadXml, dir.file("dtd.xml"), ""};
       },
       "00000-0000000-HE00155E", nullptr},

      // 3,000 accounts sharing one DocRefId and 3,000 payments naming it make
      // 9 million payments (gigabytes) unless the conversion stops at the limit.
      {"output growing with accounts times payments",
       [](const TempDir& dir) {
         const std::vector<Row> sample = LoadCsvRows(kValidSample);
         std::vector<Row> rows = {sample[0]};
         rows.insert(rows.end(), 3000, sample[1]);
         Row payment = sample[6];
         payment[1] = sample[1][2];
         rows.insert(rows.end(), 3000, payment);
         SaveCsvRows(dir.file("in.csv"), rows);
         return Call{Call::Convert, dir.file("in.csv"), dir.file("out.xml")};
       },
       "00000-0000000-HE40025E",
       [](const TempDir& dir, const CLCCsvConvResultCRS&) { EXPECT_FALSE(fs::exists(dir.file("out.xml"))); }},
  };
  return cases;
}

TEST(HostileInputTest, EveryFaultIsRefusedAtItsCauseAndDestroysNothing) {
  CLCCsvConvDataCRS facade;
  for (const HostileCase& test : Cases()) {
    SCOPED_TRACE(test.fault);
    TempDir dir;
    const Call call = test.prepare(dir);
    const CLCCsvConvResultCRS& result = RunCall(facade, call);
    EXPECT_EQ(result.getDetailErrorInfo(), test.expected);
    EXPECT_EQ(result.getResult(), *test.expected == '\0' ? "S_OK" : "E_FAIL");
    if (test.verify) test.verify(dir, result);
  }
}

// The size is taken from what the open file yields, never from what the entry
// says: /proc files claim to be empty and still hold text.
TEST(HostileInputTest, ReadsStopOneBytePastTheLimit) {
  std::string bytes;
  ASSERT_TRUE(CLCCRSCommon::ReadFileBytes("/proc/self/status", bytes, 10));
  EXPECT_EQ(bytes.size(), 11u);
}

// Root may write any file, which hides a target the user cannot write; the
// conversion then runs in a child process as the unprivileged user "nobody".
TEST(HostileInputTest, TargetTheUserMayNotWriteIsLeftAlone) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the target to another user";
  constexpr uid_t kNobody = 65534;
  TempDir dir;
  ::chmod(dir.path().c_str(), 0777);
  const std::string input = dir.file("in.csv");
  WriteBytes(input, kSampleBytes);
  const std::string target = dir.file("out.xml");
  WriteBytes(target, "keep");  // owned by root, mode 0644: nobody may not write it

  int channel[2];
  ASSERT_EQ(::pipe(channel), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(channel[0]);
    std::string answer = "cannot drop privileges";
    if (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0) {
      CLCCsvConvDataCRS facade;
      answer = facade.CsvConvCRSData2(input.c_str(), target.c_str())->getDetailErrorInfo();
    }
    const ssize_t written = ::write(channel[1], answer.data(), answer.size());
    ::_exit(written == static_cast<ssize_t>(answer.size()) ? 0 : 1);
  }
  ::close(channel[1]);
  std::string answer;
  char buffer[256];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, static_cast<std::size_t>(n));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (answer == "cannot drop privileges") GTEST_SKIP() << answer;
  EXPECT_EQ(answer, "00000-0000000-HE40024E");
  EXPECT_EQ(ReadBytes(target), "keep");
}

}  // namespace
