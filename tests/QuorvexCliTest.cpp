// The command-line tool, run as a person would run it: exit status, usage
// errors, safe conversion, problems a person can act on, JSON, batches and the
// HTML report in a real browser.
#include "CRSCsvGenerator.h"
#include "EndToEndSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvex::internal;

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

struct ToolRun {
  int status;
  std::string output;  // standard output and standard error together
};

std::string Capture(const std::string& command, int* status) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string output;
  std::array<char, 65536> buffer;
  std::size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
  const int result = pclose(pipe);
  if (status != nullptr) *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  return output;
}

// `environment` is put before the command, e.g. "LANG=ja_JP.UTF-8".
ToolRun Quorvex(const std::string& arguments, const std::string& environment = "LC_ALL=C") {
  ToolRun run{};
  run.output = Capture("env -u LC_ALL -u LC_MESSAGES -u LANG " + environment + " " + QUORVEX_CLI + " " +
                           arguments + " 2>&1",
                       &run.status);
  return run;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const std::string kValid = quorvex_test::SourcePath("samples/crs-sample-2.0.csv");
const std::string kMistakes = quorvex_test::SourcePath("samples/crs-mistakes-2.0.csv");

// The valid sample with one controlling person moved to an account that does not exist.
std::string WriteOrphanPersonFile(const TempDir& dir) {
  std::string text = ReadBytes(kValid);
  const std::string person = "\r\n3,JP2023JPCN8000000000001001AC0000002";
  text.replace(text.find(person), person.size(), "\r\n3,JP2023JPCN8000000000001001AC0000009");
  const std::string path = dir.file("orphan.csv");
  WriteBytes(path, text);
  return path;
}

TEST(QuorvexCliTest, UsageErrorsNameTheOptionAndTheFix) {
  struct Case {
    std::string arguments;
    int status;
    std::string said;
  };
  const Case cases[] = {
      {"check " + kValid + " --year 2023", 0, "OK: "},
      {"check " + kMistakes + " --year 2023", 1, "FAILED: "},
      {"check " + kValid, 2, "--year is required with schema 2.0"},
      {"convert " + kValid, 2, "--no-check"},
      {"check " + kValid + " --schema 1 --year 2023", 2, "--year applies to schema 2.0 only"},
      {"convert " + kValid + " --no-check --year 2023", 2, "--no-check skips it"},
      {"convert " + kValid + " --year 2023 -o '   '", 2, "-o: the output path is blank"},
      {"convert " + kValid + " " + kMistakes + " --year 2023", 2, "several files need -d DIR"},
      {"convert " + kValid + " --year 2023 -d /no/such/folder", 2, "-d: the output folder /no/such/folder does not exist"},
      {"check " + kValid + " --year 2023 --html " + kValid, 2, "is the input file"},
      {"read-xml x.xml --limit ''", 2, "--limit: the value is empty"},
      {"read-xml x.xml --limit 99999999999999999999", 2, "is too large"},
      {"read-xml x.xml --limit ten", 2, "is not a number"},
      {"check " + kValid + " --year 2023 -j 0", 2, "-j"},
      {"check", 2, "FILE"},
      {"frobnicate", 2, ""},
      {"--version", 0, "quorvex 1."},
      {"--help", 0, "130  interrupted"},
      {"check /tmp/" + std::string(300, 'x') + ".csv --year 2023", 1, "the system says: File name too long"},
  };
  for (const Case& c : cases) {
    const ToolRun run = Quorvex(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments << '\n' << run.output;
    EXPECT_TRUE(Contains(run.output, c.said)) << c.arguments << '\n' << run.output;
  }
}

TEST(QuorvexCliTest, ConversionChecksFirstUnlessToldNotTo) {
  TempDir dir;
  const std::string orphan = WriteOrphanPersonFile(dir);
  const std::string out = dir.file("out.xml");

  const ToolRun checked = Quorvex("convert " + orphan + " --year 2023 -o " + out);
  EXPECT_EQ(checked.status, 1) << checked.output;
  EXPECT_TRUE(Contains(checked.output, "line 5, column 2 [DocRefId] \"JP2023JPCN8000000000001001AC0000009\": HE40009E"))
      << checked.output;
  EXPECT_TRUE(Contains(checked.output, "nothing written")) << checked.output;
  EXPECT_EQ(Capture("ls -A " + dir.path(), nullptr), "orphan.csv\n") << "a refused conversion left a file";

  const ToolRun unchecked = Quorvex("convert " + orphan + " --no-check -o " + out);
  EXPECT_EQ(unchecked.status, 0) << unchecked.output;
  EXPECT_EQ(ReadBytes(out).rfind("<crs:CRS_OECD", 0), 0u);

  const ToolRun printed = Quorvex("convert " + kValid + " --year 2023");
  EXPECT_EQ(printed.status, 0);
  EXPECT_EQ(printed.output.rfind("<crs:CRS_OECD", 0), 0u) << "standard output must carry the XML alone";
}

// The valid sample with a blank line after the header, so that the CSV file
// line of each account is one past its record line, and the edits made to it.
std::string WriteEditedSample(const TempDir& dir, const std::string& name,
                              const std::vector<std::pair<std::string, std::string>>& edits) {
  std::string text = ReadBytes(kValid);
  text.insert(text.find("\r\n"), "\r\n");
  for (const auto& [from, to] : edits) text.replace(text.find(from), from.size(), to);
  const std::string path = dir.file(name);
  WriteBytes(path, text);
  return path;
}

// A conversion validates the XML before writing it: an error finding writes
// nothing (file or standard output) and names the CSV file line of the record;
// a warning is shown and the file written; --no-validate writes regardless.
TEST(QuorvexCliTest, ConversionWritesNoXmlThatFailsValidationAndNamesTheCsvLine) {
  TempDir dir;
  // "--" passes the CSV check but every receiver's threat scan refuses it.
  const std::string threat = WriteEditedSample(dir, "threat.csv", {{",Smith,", ",Smith--Jones,"}});
  // A DocRefId without the country prefix, and one shared by the header and
  // an account: both refused by the check, so converted unchecked.
  const std::string prefix = WriteEditedSample(
      dir, "prefix.csv", {{"2,OECD1,JP2023JPCN8000000000001001AC0000003", "2,OECD1,XY2023JPCN8000000000001001AC0000003"}});
  const std::string shared = WriteEditedSample(
      dir, "shared.csv", {{"OECD1,JP2023JPCN8000000000001001FI0000001", "OECD1,JP2023JPCN8000000000001001AC0000003"}});
  const std::string contact = WriteEditedSample(dir, "contact.csv", {{"Compliance Dept.", "Compliance -- Dept."}});
  const std::string out = dir.file("out.xml");
  struct Case {
    std::string arguments;
    int status;
    bool written;
    std::string said;
  };
  const Case cases[] = {
      {"convert " + threat + " --year 2023 --lang en -o " + out, 1, false,
       "CSV file line 3: error 50005 Failed threat scan: the data contains \"--\""},
      {"convert " + threat + " --year 2023 --lang en -o " + out, 1, false,
       "FAILED: " + threat + ": the converted XML has 1 error; nothing written"},
      {"convert " + threat + " --year 2023 --lang ja -o " + out, 1, false, "error 50005 脅威検査で不合格: "},
      {"convert " + threat + " --no-check --lang en -o " + out, 1, false, "CSV file line 3: error 50005"},
      {"convert " + threat + " --year 2023 --no-validate -o " + out, 0, true, "(passed the schema 2.0 check)"},
      {"convert " + contact + " --year 2023 -o " + out, 1, false, "message-level: error 50005"},
      {"convert " + prefix + " --no-check --lang en -o " + out, 0, true, "CSV file line 5: warning 80001"},
      {"convert " + prefix + " --no-check -o " + out, 0, true, "validation: 1 warning"},
      {"convert " + shared + " --no-check -o " + out, 1, false, "CSV file lines 1, 5: error 80000"},
      {"check " + threat + " --year 2023 --no-validate", 2, false, "--no-validate"},
  };
  for (const Case& c : cases) {
    std::remove(out.c_str());
    const ToolRun run = Quorvex(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments << '\n' << run.output;
    EXPECT_TRUE(Contains(run.output, c.said)) << c.said << '\n' << c.arguments << '\n' << run.output;
    EXPECT_EQ(access(out.c_str(), F_OK) == 0, c.written) << c.arguments;
  }

  // An earlier output stays as it was.
  WriteBytes(out, "<old/>");
  EXPECT_EQ(Quorvex("convert " + threat + " --year 2023 -o " + out).status, 1);
  EXPECT_EQ(ReadBytes(out), "<old/>");

  // Standard output carries no XML that failed, and the XML alone when a warning is shown.
  int status = 0;
  EXPECT_EQ(Capture(std::string(QUORVEX_CLI) + " convert " + threat + " --year 2023 2>/dev/null", &status), "");
  EXPECT_EQ(status, 1);
  const std::string printed = Capture(std::string(QUORVEX_CLI) + " convert " + prefix + " --no-check 2>/dev/null", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(printed.rfind("<crs:CRS_OECD", 0), 0u) << printed.substr(0, 200);

  // JSON: the record says nothing was written, and "Findings" appears only when there are any.
  const nlohmann::json failed = nlohmann::json::parse(Quorvex("convert " + threat + " --year 2023 --json -o " + out).output);
  EXPECT_EQ(failed["Result"], "E_FAIL");
  EXPECT_EQ(failed["CRSData"], "");
  EXPECT_TRUE(failed["Errors"].empty());
  ASSERT_EQ(failed["Findings"].size(), 1u) << failed;
  EXPECT_EQ(failed["Findings"][0]["csvLine"], 3);
  EXPECT_EQ(failed["Findings"][0]["code"], "50005");
  EXPECT_EQ(failed["Findings"][0]["docRefId"], "JP2023JPCN8000000000001001AC0000001");
  const nlohmann::json clean = nlohmann::json::parse(Quorvex("convert " + kValid + " --year 2023 --json").output);
  EXPECT_EQ(clean["Result"], "S_OK");
  EXPECT_FALSE(clean.contains("Findings"));

  // In a batch each file is validated on its own: the one that fails writes nothing, the others are written.
  const std::string folder = dir.file("batch");
  ASSERT_EQ(std::system(("mkdir " + folder).c_str()), 0);
  const ToolRun batch = Quorvex("convert " + threat + " " + prefix + " " + kValid + " --no-check -j 2 -d " + folder);
  EXPECT_EQ(batch.status, 1) << batch.output;
  EXPECT_TRUE(Contains(batch.output, threat + ": CSV file line 3: error 50005")) << batch.output;
  EXPECT_TRUE(Contains(batch.output, prefix + ": CSV file line 5: warning 80001")) << batch.output;
  EXPECT_TRUE(Contains(batch.output, "3 files: 2 passed, 1 failed")) << batch.output;
  EXPECT_EQ(Capture("ls " + folder, nullptr), "crs-sample-2.0.xml\nprefix.xml\n");
}

// The HTML reports show the findings: validate's with its file's positions,
// convert's beside the CSV line, each title in the chosen language.
TEST(QuorvexCliTest, HtmlReportsShowValidationFindings) {
  TempDir dir;
  const std::string threat = WriteEditedSample(dir, "threat.csv", {{",Smith,", ",Smith--Jones,"}});
  const std::string xml = dir.file("threat.xml");
  ASSERT_EQ(Quorvex("convert " + threat + " --year 2023 --no-validate -o " + xml).status, 0);
  const std::string report = dir.file("report.html");
  struct Case {
    std::string arguments;
    int status;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"validate " + xml + " --lang en", 1,
       {"failed: 1 error", "<code>50005</code></a></td><td>Failed threat scan</td>",
        "<th>XML line</th>", "JP2023JPCN8000000000001001AC0000001",
        "/CRS_OECD/CrsBody/ReportingGroup/AccountReport/AccountHolder/Individual/Name/LastName"}},
      {"validate " + xml + " --lang ja", 1, {"<html lang=\"ja\"", "脅威検査で不合格"}},
      {"convert " + threat + " --year 2023 --lang en -o " + dir.file("none.xml"), 1,
       {"failed: 1 error in the converted XML; nothing written", "<th>CSV line</th>", "<tr><td>3<td>1<td>"}},
      {"convert " + threat + " --year 2023 --no-validate -o " + dir.file("none.xml"), 0, {"skipped (--no-validate)"}},
  };
  for (const Case& c : cases) {
    std::remove(report.c_str());
    const ToolRun run = Quorvex(c.arguments + " --html " + report);
    EXPECT_EQ(run.status, c.status) << c.arguments << '\n' << run.output;
    const std::string html = ReadBytes(report);
    for (const std::string& part : c.shown) EXPECT_TRUE(Contains(html, part)) << part << '\n' << c.arguments;
  }
  EXPECT_EQ(Quorvex("validate " + xml + " " + xml + " --html " + report).status, 2);
}

// validate: exit status 0 / 1 / 2, the JSON keys of each finding, an array for
// several files and the Japanese title of a code with --lang ja.
TEST(QuorvexCliTest, ValidateExitStatusAndJsonFindings) {
  TempDir dir;
  const std::string good = dir.file("good.xml");
  const std::string bad = dir.file("bad.xml");
  ASSERT_EQ(Quorvex("convert " + kValid + " --year 2023 -o " + good).status, 0);
  std::string text = ReadBytes(good);
  text.replace(text.find(">OECD1<"), 7, ">OECD9<");
  WriteBytes(bad, text);

  EXPECT_EQ(Quorvex("validate " + good).status, 0);
  EXPECT_EQ(Quorvex("validate " + good + " --context abroad").status, 2);
  const ToolRun run = Quorvex("validate " + good + " " + bad + " --json --lang ja", "LC_ALL=C");
  EXPECT_EQ(run.status, 1) << run.output;
  const nlohmann::ordered_json files = nlohmann::ordered_json::parse(run.output);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0]["Valid"], true);
  EXPECT_EQ(files[0]["Context"], "domestic");
  EXPECT_TRUE(files[0]["Findings"].empty());
  ASSERT_EQ(files[1]["Findings"].size(), 1u);
  const nlohmann::ordered_json& finding = files[1]["Findings"][0];
  std::vector<std::string> keys;
  for (const auto& item : finding.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"code", "severity", "line", "column", "path", "docRefId", "message"}));
  EXPECT_EQ(finding["code"], "50007");
  EXPECT_EQ(finding["path"], "/CRS_OECD/CrsBody/ReportingFI/DocSpec/DocTypeIndic");
  EXPECT_EQ(finding["docRefId"], "JP2023JPCN8000000000001001FI0000001");
  EXPECT_EQ(finding["message"].get<std::string>().rfind("スキーマ検証で不合格", 0), 0u) << finding["message"];
}

TEST(QuorvexCliTest, MessagesFollowTheLanguageCodesDoNot) {
  struct Case {
    std::string environment;
    std::string option;
    std::string text;
  };
  const Case cases[] = {
      {"LANG=ja_JP.UTF-8", "", "HE40001E 値が入力されていません。"},
      {"LANG=en_US.UTF-8", "", "HE40001E No value has been entered."},
      {"LANG=ja_JP.UTF-8 LC_MESSAGES=C", "", "HE40001E No value has been entered."},
      {"LANG=en_US.UTF-8 LC_ALL=ja_JP.UTF-8", "", "HE40001E 値が入力されていません。"},
      {"LANG=ja_JP.UTF-8", "--lang en", "HE40001E No value has been entered."},
      {"LANG=en_US.UTF-8", "--lang ja", "HE40001E 値が入力されていません。"},
  };
  std::string document;
  for (const Case& c : cases) {
    const ToolRun run = Quorvex("check " + kMistakes + " --year 2023 " + c.option, c.environment);
    EXPECT_TRUE(Contains(run.output, "line 2, column 149")) << run.output;
    EXPECT_TRUE(Contains(run.output, c.text)) << c.environment << ' ' << c.option << '\n' << run.output;
    const ToolRun json = Quorvex("check " + kMistakes + " --year 2023 --json " + c.option, c.environment);
    const std::string detail = nlohmann::json::parse(json.output)["DetailErrorInfo"];
    if (document.empty()) document = detail;
    EXPECT_EQ(detail, document) << "the detail error document changed with the language";
  }
}

TEST(QuorvexCliTest, JsonErrorsFollowTheDetailErrorDocumentItemForItem) {
  for (const std::string& arguments : {"check " + kMistakes + " --year 2023", "check " + kValid + " --year 1999",
                                       "read-xml " + kValid + " --limit 10"}) {
    const ToolRun run = Quorvex(arguments + " --json");
    const nlohmann::json record = nlohmann::json::parse(run.output);
    EXPECT_EQ(record.size(), 8u);
    EXPECT_EQ(record["Result"], "E_FAIL");
    const std::string document = record["DetailErrorInfo"];
    const nlohmann::json& errors = record["Errors"];
    std::string rebuilt;
    for (const nlohmann::json& error : errors) {
      char item[64];
      const long assist = error["assistColumn"];
      if (assist >= 0) {
        std::snprintf(item, sizeof item, "%05ld-%03ld:%03ld-%s", error["line"].get<long>(),
                      error["column"].get<long>(), assist, error["code"].get<std::string>().c_str());
      } else {
        std::snprintf(item, sizeof item, "%05ld-%07ld-%s", error["line"].get<long>(), error["column"].get<long>(),
                      error["code"].get<std::string>().c_str());
      }
      rebuilt += (rebuilt.empty() ? "" : ",") + std::string(item);
      EXPECT_FALSE(error["message"].get<std::string>().empty());
    }
    EXPECT_EQ(rebuilt, document) << arguments;
  }
  const ToolRun passed = Quorvex("check " + kValid + " --year 2023 --json");
  const nlohmann::json record = nlohmann::json::parse(passed.output);
  EXPECT_EQ(record["AccountReportCount"], 3);
  EXPECT_TRUE(record["Errors"].empty());
}

TEST(QuorvexCliTest, ProblemsNameFileLineItemAndVisibleValue) {
  // A blank line after the header, a quoted line break in a country code of
  // record 2 and a long code with a tab in record 3: records 2 and 3 start on
  // file lines 3 and 5.
  TempDir dir;
  std::vector<quorvex_test::Row> rows = quorvex_test::LoadCsvRows(kValid);
  rows[1][9] = "U\r\nS";
  rows[2][108] = "Example Holdings\tand Partners of the Far East Trading Company Ltd.";
  std::string text = quorvex_test::ToShiftJis(quorvex_test::CsvText(rows));
  text.insert(text.find("\r\n"), "\r\n");
  const std::string csv = dir.file("lines.csv");
  WriteBytes(csv, text);

  const ToolRun run = Quorvex("check " + csv + " --year 2023 --lang en --json");
  const nlohmann::json errors = nlohmann::json::parse(run.output)["Errors"];
  ASSERT_GE(errors.size(), 2u) << run.output;
  for (const nlohmann::json& error : errors) {
    EXPECT_EQ(error["fileLine"], error["line"] == 2 ? 3 : 5) << error;
    EXPECT_FALSE(error["item"].get<std::string>().empty()) << error;
    EXPECT_TRUE(error["value"].is_string()) << error;
  }
  const std::string printed = Quorvex("check " + csv + " --year 2023 --lang en").output;
  EXPECT_TRUE(Contains(printed, "line 2 (file line 3), column 10 [")) << printed;
  EXPECT_TRUE(Contains(printed, "] \"U\\r\\nS\": HE4")) << printed;
  EXPECT_TRUE(Contains(printed, "line 3 (file line 5), column 109 [")) << printed;
  EXPECT_TRUE(Contains(printed, "] \"Example Holdings\\tand Partners of the Far… (66 characters)\": HE4")) << printed;
}

TEST(QuorvexCliTest, BatchReportsEveryFileAndGoesOnPastBadOnes) {
  TempDir dir;
  const std::string out = dir.file("out");
  ASSERT_EQ(std::system(("mkdir " + out).c_str()), 0);
  const std::string copy = dir.file("copy.csv");
  WriteBytes(copy, ReadBytes(kValid));
  const ToolRun run = Quorvex("convert " + kValid + " " + kMistakes + " /no/such.csv " + kValid + " " + copy +
                              " --year 2023 -j 2 -d " + out);
  EXPECT_EQ(run.status, 1) << run.output;
  for (const std::string& line : std::vector<std::string>{"OK: wrote " + out + "/crs-sample-2.0.xml", "FAILED: " + kMistakes + ": 6 problems",
        "FAILED: /no/such.csv: 1 problem", "FAILED: " + kValid + ": the same file as argument 1",
        "OK: wrote " + out + "/copy.xml", "5 files: 2 passed, 3 failed"}) {
    EXPECT_TRUE(Contains(run.output, line)) << line << '\n' << run.output;
  }
  EXPECT_EQ(Capture("ls " + out, nullptr), "copy.xml\ncrs-sample-2.0.xml\n");
  EXPECT_EQ(Quorvex("check " + kValid + " " + copy + " --year 2023").status, 0);
}

TEST(QuorvexCliTest, CtrlCDuringABatchLeavesOnlyWholeOutputs) {
  TempDir dir;
  std::string command = std::string(QUORVEX_CLI) + " convert --year 2023 -j 1 -d " + dir.path();
  const std::string csv = GenerateCrsCsv(4 << 20);
  for (int i = 0; i < 6; ++i) {
    const std::string path = dir.file("in" + std::to_string(i) + ".csv");
    WriteBytes(path, csv);
    command += " " + path;
  }
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  // Interrupt as soon as the first file is written, while the second runs.
  std::string output;
  char buffer[4096];
  for (ssize_t n; output.find("OK: wrote") == std::string::npos && (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(n));
  }
  kill(child, SIGINT);
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<std::size_t>(n));
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(WEXITSTATUS(status), 130) << output;
  EXPECT_TRUE(Contains(output, "not run (interrupted)")) << output;
  // Only inputs and complete outputs: no partial or temporary file.
  const std::string listing = Capture("ls -A " + dir.path(), nullptr);
  std::size_t outputs = 0;
  for (std::size_t at = 0, end; (end = listing.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string name = listing.substr(at, end - at);
    if (name.rfind("in", 0) == 0 && name.size() == 7 && name.compare(3, 4, ".csv") == 0) continue;
    ASSERT_TRUE(name.size() == 7 && name.compare(3, 4, ".xml") == 0) << "left behind: " << name;
    const std::string xml = ReadBytes(dir.file(name));
    EXPECT_EQ(xml.compare(xml.size() - 15, 15, "</crs:CRS_OECD>"), 0) << name << " is cut short";
    ++outputs;
  }
  EXPECT_GE(outputs, 1u);
  EXPECT_LT(outputs, 6u);
}

TEST(QuorvexCliTest, JapaneseFolderAndFileNamesWorkForEveryInputAndOutput) {
  TempDir dir;
  const std::string folder = dir.file("申告データ");
  ASSERT_EQ(std::system(("mkdir -p '" + folder + "/出力'").c_str()), 0);
  const std::string csv = folder + "/口座一覧.csv";
  WriteBytes(csv, ReadBytes(kValid));
  struct Case {
    std::string arguments;
    std::string written;  // the file the run must leave, beginning with `begins`
    std::string begins;
  };
  const Case cases[] = {
      {"check '" + csv + "' --year 2023 --html '" + folder + "/報告.html'", folder + "/報告.html", "<!DOCTYPE html>"},
      {"convert '" + csv + "' --year 2023 -o '" + folder + "/出力/変換結果.xml'", folder + "/出力/変換結果.xml",
       "<crs:CRS_OECD"},
      {"convert '" + csv + "' --year 2023 -d '" + folder + "/出力'", folder + "/出力/口座一覧.xml", "<crs:CRS_OECD"},
      {"read-xml '" + folder + "/出力/変換結果.xml'", "", ""},
  };
  for (const char* environment : {"LC_ALL=C", "LANG=ja_JP.UTF-8"}) {
    for (const Case& c : cases) {
      if (!c.written.empty()) std::remove(c.written.c_str());
      const ToolRun run = Quorvex(c.arguments, environment);
      EXPECT_EQ(run.status, 0) << environment << ' ' << c.arguments << '\n' << run.output;
      if (!c.written.empty()) {
        EXPECT_EQ(ReadBytes(c.written).rfind(c.begins, 0), 0u) << c.written;
      }
    }
  }
}

// A small file system of its own, filled up; mounting needs root, which CI has.
class FullDisk {
 public:
  explicit FullDisk(const std::string& folder) : m_folder(folder) {
    m_mounted = std::system(("mkdir -p '" + folder + "' && mount -t tmpfs -o size=64k tmpfs '" + folder +
                             "' 2>/dev/null").c_str()) == 0;
  }
  ~FullDisk() {
    if (m_mounted) std::system(("umount '" + m_folder + "'").c_str());
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;
  bool mounted() const { return m_mounted; }

 private:
  std::string m_folder;
  bool m_mounted = false;
};

TEST(QuorvexCliTest, FullDiskFailsCleanlyKeepsTheOldOutputAndSaysWhy) {
  TempDir dir;
  const FullDisk disk(dir.file("disk"));
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (not root, or no mount rights): an environment limit";
  const std::string old = "<old output/>";
  WriteBytes(dir.file("disk/out.xml"), old);
  // Leave less room than the sample's XML needs.
  std::system(("head -c 60000 /dev/zero > '" + dir.file("disk/filler") + "' 2>/dev/null").c_str());
  struct Case {
    std::string arguments;
    std::string said;
  };
  const Case cases[] = {
      {"convert " + kValid + " --year 2023 -o " + dir.file("disk/out.xml"), "No space left on device"},
      {"convert " + kValid + " --year 2023 -d " + dir.file("disk"), "No space left on device"},
      {"convert " + kValid + " --year 2023 -o " + dir.file("disk/new.xml"), "No space left on device"},
  };
  for (const Case& c : cases) {
    const ToolRun run = Quorvex(c.arguments);
    EXPECT_EQ(run.status, 1) << c.arguments << '\n' << run.output;
    EXPECT_TRUE(Contains(run.output, "HE40024E")) << run.output;
    EXPECT_TRUE(Contains(run.output, "the system says: " + c.said)) << run.output;
    EXPECT_EQ(ReadBytes(dir.file("disk/out.xml")), old) << "the old output was damaged";
    EXPECT_EQ(Capture("ls -A " + dir.file("disk"), nullptr), "filler\nout.xml\n") << "a partial or temporary file was left";
  }
}

TEST(QuorvexCliTest, HtmlReportRendersInAHeadlessBrowser) {
  // scripts/install-deps.sh installs chromium: without it the test fails, it does not pass unseen.
  ASSERT_EQ(std::system("command -v chromium > /dev/null"), 0) << "chromium is not installed";
  // Without a Japanese font the messages of a Japanese report render as boxes.
  ASSERT_NE(Capture("fc-list :lang=ja 2>/dev/null", nullptr), "") << "no Japanese font is installed (fonts-ipafont)";
  TempDir dir;
  const std::string report = dir.file("report.html");
  EXPECT_EQ(Quorvex("check " + kMistakes + " --year 2023 --lang en --html " + report).status, 1);
  const std::string browser = "chromium --headless --no-sandbox --disable-gpu --hide-scrollbars "
                              "--user-data-dir=" + dir.file("profile") + " --window-size=1000,800 ";
  const std::string dom = Capture(browser + "--dump-dom file://" + report + " 2>/dev/null", nullptr);
  for (const char* part : {"failed: 6 problems", "HE40009E</code></a></td><td>The value entered is not correct.",
                                  "(3 problems)", "<tr><td>2</td><td>", "<td>149</td>"}) {
    EXPECT_TRUE(Contains(dom, part)) << part << '\n' << dom;
  }
  // A blank page compresses to almost nothing; the report's tables do not.
  const std::string blank = dir.file("blank.png");
  const std::string shot = dir.file("report.png");
  Capture(browser + "--screenshot=" + blank + " about:blank 2>&1", nullptr);
  Capture(browser + "--screenshot=" + shot + " file://" + report + " 2>&1", nullptr);
  const std::size_t blankSize = ReadBytes(blank).size();
  EXPECT_GT(blankSize, 0u);
  EXPECT_GT(ReadBytes(shot).size(), 5 * blankSize) << "the screenshot of the report looks blank";
}

}  // namespace
