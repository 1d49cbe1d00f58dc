// The tool's filing history, run as a person would run it: recording,
// listing and answers; validate and convert consulting it; eight processes
// recording at once; a damaged history refused by every command.
#include "CLCCsvConvDataCRS.h"
#include "EndToEndSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

const std::string kSample = quorvex_test::SourcePath("samples/crs-sample-2.0.csv");
const std::string kFirst = "JP2023JPCN8000000000001001";

struct ToolRun {
  int status;
  std::string output;  // standard output and standard error together
};

// `environment` goes before the command, e.g. "XDG_DATA_HOME=/tmp/x".
ToolRun Quorvex(const std::string& arguments, const std::string& environment = "") {
  const std::string command =
      "env -u XDG_DATA_HOME LC_ALL=C " + environment + " " + QUORVEX_CLI + " " + arguments + " 2>&1";
  ToolRun run{-1, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 65536> buffer;
  std::size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), n);
  const int result = pclose(pipe);
  run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  return run;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// The sample's message under another MessageRefId (and so other DocRefIds).
std::string Message(const std::string& messageRefId) {
  static const std::string sample = [] {
    CLCCsvConvDataCRS facade;
    return facade.CsvConvCRSData2(kSample.c_str(), "")->getCRSData();
  }();
  return ReplaceAll(sample, kFirst, messageRefId);
}

std::string Query(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string out;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_exec(
        db, sql.c_str(),
        [](void* text, int, char** values, char**) {
          *static_cast<std::string*>(text) += std::string(values[0] != nullptr ? values[0] : "NULL") + "\n";
          return 0;
        },
        &out, nullptr);
  }
  sqlite3_close(db);
  return out;
}

std::string Answer(const std::string& original, const std::string& docRefIdInError) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<CRSStatusMessage_OECD xmlns=\"urn:oecd:ties:csm:v2\" version=\"2.0\">\n"
         "  <MessageSpec><TransmittingCountry>JP</TransmittingCountry><ReceivingCountry>JP</ReceivingCountry>"
         "<MessageType>CRSMessageStatus</MessageType><MessageRefId>JP-ANSWER-1</MessageRefId>"
         "<Timestamp>2024-06-01T09:00:00</Timestamp></MessageSpec>\n"
         "  <CrsStatusMessage><OriginalMessage><OriginalMessageRefID>" +
         original +
         "</OriginalMessageRefID></OriginalMessage>\n"
         "    <ValidationErrors><RecordError><Code>60010</Code><Details>TIN format</Details>"
         "<DocRefIDInError>" +
         docRefIdInError +
         "</DocRefIDInError></RecordError></ValidationErrors>\n"
         "    <ValidationResult><Status>Accepted</Status><ValidatedBy>test</ValidatedBy></ValidationResult>\n"
         "  </CrsStatusMessage>\n</CRSStatusMessage_OECD>\n";
}

TEST(HistoryCliTest, RecordsListsAndShowsTheAnswerAtTheCsvLines) {
  TempDir dir;
  const std::string db = dir.file("history.sqlite3");
  const std::string xml = dir.file("filed.xml");
  WriteBytes(xml, Message(kFirst));
  const std::string option = " --history " + db;

  const ToolRun added = Quorvex("history add " + xml + " --csv " + kSample + option);
  EXPECT_EQ(added.status, 0) << added.output;
  EXPECT_TRUE(Contains(added.output, "recorded " + kFirst + " from " + xml + ": 4 records, 4 with their line"))
      << added.output;
  const ToolRun again = Quorvex("history add " + xml + option);
  EXPECT_EQ(again.status, 0) << again.output;
  EXPECT_TRUE(Contains(again.output, "already recorded")) << again.output;

  const ToolRun listed = Quorvex("history list --json" + option);
  ASSERT_EQ(listed.status, 0) << listed.output;
  const nlohmann::json messages = nlohmann::json::parse(listed.output);
  ASSERT_TRUE(messages.is_array());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["MessageRefId"], kFirst);
  EXPECT_EQ(messages[0]["Status"], "Pending");
  EXPECT_EQ(messages[0]["Records"], 4);
  EXPECT_EQ(messages[0]["CsvFile"], kSample);

  const std::string answer = dir.file("answer.xml");
  WriteBytes(answer, Answer(kFirst, kFirst + "AC0000002"));
  const ToolRun status = Quorvex("history status " + answer + option);
  EXPECT_EQ(status.status, 1) << status.output;  // a record was in error
  EXPECT_TRUE(Contains(status.output, "message " + kFirst + " was Accepted")) << status.output;
  EXPECT_TRUE(Contains(status.output, "record error 60010, DocRefId " + kFirst + "AC0000002 (OECD1), " + kSample +
                                          " line 3: TIN format"))
      << status.output;
  EXPECT_TRUE(Contains(status.output, "what to do: the new record was not taken in: send it again as new data"))
      << status.output;
  EXPECT_TRUE(
      Contains(Quorvex("history list" + option).output, "Accepted  " + kFirst + "  CRS701  4 records (1 in error)"));

  WriteBytes(answer, Answer("JP-NEVER-FILED", "x"));
  const ToolRun unknown = Quorvex("history status " + answer + option);
  EXPECT_EQ(unknown.status, 1);
  EXPECT_TRUE(Contains(unknown.output, "not in the filing history")) << unknown.output;
}

// The user's history is found under XDG_DATA_HOME; nothing exists until the
// first `history add`, and then validate and convert consult it.
TEST(HistoryCliTest, ValidateAndConvertConsultTheUsersHistory) {
  TempDir dir;
  const std::string home = "XDG_DATA_HOME=" + dir.path();
  const std::string db = dir.file("quorvex/history.sqlite3");
  const std::string filed = dir.file("filed.xml");
  WriteBytes(filed, Message(kFirst));

  EXPECT_EQ(Quorvex("validate " + filed, home).status, 0);
  EXPECT_EQ(Quorvex("history list", home).output, "no filing history at " + db + " yet\n");
  EXPECT_TRUE(ReadBytes(db).empty()) << "only history add creates the history";

  const ToolRun added = Quorvex("history add " + filed, home);
  ASSERT_EQ(added.status, 0) << added.output;
  EXPECT_FALSE(ReadBytes(db).empty());

  const std::string reused = dir.file("reused.xml");
  WriteBytes(reused, ReplaceAll(Message(kFirst), "Compliance Dept.", "Compliance Desk"));
  const ToolRun validated = Quorvex("validate " + reused, home);
  EXPECT_EQ(validated.status, 1) << validated.output;
  EXPECT_TRUE(Contains(validated.output, "error 50009 MessageRefId already used")) << validated.output;
  EXPECT_TRUE(Contains(validated.output, "error 80000")) << validated.output;

  // Converting the filed CSV again gives the filed identifiers: refused at its lines, nothing written.
  const std::string out = dir.file("out.xml");
  const ToolRun converted = Quorvex("convert " + kSample + " --year 2023 -o " + out, home);
  EXPECT_EQ(converted.status, 1) << converted.output;
  EXPECT_TRUE(Contains(converted.output, "message-level: error 50009 MessageRefId already used")) << converted.output;
  EXPECT_TRUE(Contains(converted.output, "CSV file line 3: error 80000")) << converted.output;
  EXPECT_TRUE(Contains(converted.output, "the converted XML has 5 errors; nothing written")) << converted.output;
  EXPECT_TRUE(ReadBytes(out).empty()) << "a refused conversion wrote its output";

  // Another history that has never seen the message lets it through.
  const std::string other = dir.file("other.sqlite3");
  ASSERT_EQ(Quorvex("history add " + dir.file("filed.xml") + " --history " + other).status, 0);
  const std::string fresh = dir.file("fresh.xml");
  WriteBytes(fresh, Message("JP2023JPCN8000000000001002"));
  EXPECT_EQ(Quorvex("validate " + fresh + " --history " + other).status, 0);
  const ToolRun convertedElsewhere =
      Quorvex("convert " + kSample + " --year 2023 -o " + out, "XDG_DATA_HOME=" + dir.file("none"));
  EXPECT_EQ(convertedElsewhere.status, 0) << convertedElsewhere.output;
  EXPECT_FALSE(ReadBytes(out).empty());
}

TEST(HistoryCliTest, UsageErrorsNameTheOptionAndTheFix) {
  const struct {
    std::string arguments;
    std::string said;
  } cases[] = {
      {"validate x.xml --history /no/such/history.sqlite3", "--history: there is no filing history at /no/such"},
      {"convert " + kSample + " --year 2023 --no-validate --history /tmp", "--no-validate skips"},
      {"convert " + kSample + " --schema 1 --history /tmp", "schema 1.0 output is not"},
      {"validate x.xml --history ''", "--history: the path is blank"},
      {"history", "A subcommand is required"},
      {"history add", "FILE is required"},
      {"history status x.xml --history '  '", "history status: --history: the path is blank"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Quorvex(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments << '\n' << run.output;
    EXPECT_TRUE(Contains(run.output, c.said)) << c.arguments << '\n' << run.output;
  }
}

// Eight processes record at once, twice: on a file none of them finds (each
// may be the one to create it) and on the file they made. Every message is
// recorded once and the file passes SQLite's full check.
TEST(HistoryCliTest, EightProcessesRecordAtOnce) {
  TempDir dir;
  const std::string db = dir.file("shared/history.sqlite3");
  constexpr int kProcesses = 8;
  for (int round = 0; round < 2; ++round) {
    std::vector<std::string> files;
    for (int i = 0; i < kProcesses; ++i) {
      char id[32];
      std::snprintf(id, sizeof id, "JP2023JPCN80000000000011%02d", round * kProcesses + i);
      files.push_back(dir.file(std::string(id) + ".xml"));
      WriteBytes(files.back(), Message(id));
    }
    // Every child waits for the start: the parent closing the pipe.
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::vector<pid_t> children;
    for (const std::string& file : files) {
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        close(start[1]);
        char byte;
        while (read(start[0], &byte, 1) > 0) {
        }
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, STDOUT_FILENO);
        execl(QUORVEX_CLI, QUORVEX_CLI, "history", "add", file.c_str(), "--history", db.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
      }
      children.push_back(child);
    }
    close(start[0]);
    close(start[1]);
    for (const pid_t child : children) {
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round << ": status " << status;
    }
  }
  EXPECT_EQ(Query(db, "PRAGMA integrity_check"), "ok\n");
  EXPECT_EQ(Query(db, "SELECT count(*) FROM message"), "16\n");
  EXPECT_EQ(Query(db, "SELECT count(DISTINCT message_ref_id) FROM message"), "16\n");
  EXPECT_EQ(Query(db, "SELECT count(*) FROM record"), "64\n");
  EXPECT_EQ(Query(db, "PRAGMA journal_mode"), "wal\n");
}

TEST(HistoryCliTest, EveryCommandRefusesADamagedHistoryAndLeavesItAsItWas) {
  TempDir dir;
  const std::string db = dir.file("history.sqlite3");
  const std::string xml = dir.file("filed.xml");
  WriteBytes(xml, Message(kFirst));
  ASSERT_EQ(Quorvex("history add " + xml + " --history " + db).status, 0);
  std::string bytes = ReadBytes(db);
  for (std::size_t i = 4096; i < 8192 && i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  WriteBytes(db, bytes);
  const std::string answer = dir.file("answer.xml");
  WriteBytes(answer, Answer(kFirst, kFirst + "AC0000001"));
  const std::string option = " --history " + db;
  const std::string commands[] = {
      "history add " + dir.file("filed.xml") + option,
      "history list" + option,
      "history status " + answer + option,
      "validate " + xml + option,
      "convert " + kSample + " --year 2023 -o " + dir.file("out.xml") + option,
  };
  for (const std::string& command : commands) {
    const ToolRun run = Quorvex(command);
    EXPECT_EQ(run.status, 1) << command << '\n' << run.output;
    EXPECT_TRUE(Contains(run.output, db + " is refused and left as it was")) << command << '\n' << run.output;
    EXPECT_TRUE(ReadBytes(db) == bytes) << command << ": the damaged file was changed";
  }
  EXPECT_TRUE(ReadBytes(dir.file("out.xml")).empty());
}

}  // namespace
