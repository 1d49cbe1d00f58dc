// The command-line tool: exit status, readable problems and the JSON record.
#include "EndToEndSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <memory>
#include <sys/wait.h>

namespace {

struct ToolRun {
  int status;
  std::string output;  // standard output and standard error together
};

ToolRun Quorvex(const std::string& arguments) {
  const std::string command = std::string(QUORVEX_CLI) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, ""};
  std::string output;
  std::array<char, 65536> buffer;
  std::size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

const std::string kValid = quorvex_test::SourcePath("samples/crs-sample-2.0.csv");
const std::string kMistakes = quorvex_test::SourcePath("samples/crs-mistakes-2.0.csv");

TEST(QuorvexCliTest, ExitStatusFollowsTheResult) {
  struct Case { std::string arguments; int status; };
  const Case cases[] = {
      {"check " + kValid + " --year 2023", 0},
      {"check " + kMistakes + " --year 2023", 1},
      {"check " + kValid, 1},  // no reporting year
      {"convert " + kValid, 0},
      {"read-xml /no/such/file.xml", 1},
      {"check", 2},
      {"check " + kValid + " --schema 3", 2},
      {"read-xml x.xml --limit ten", 2},
      {"frobnicate", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(Quorvex(c.arguments).status, c.status) << c.arguments;
}

TEST(QuorvexCliTest, FailedCheckNamesEveryProblemForAPerson) {
  const ToolRun run = Quorvex("check " + kMistakes + " --year 2023");
  EXPECT_NE(run.output.find("line 2, column 149 [AccountBalance]: HE40001E 値が入力されていません。"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("line 3, column 133 [Organisation_Address_1_CountryCode]: HE40009E"),
            std::string::npos)
      << run.output;
  const ToolRun missingYear = Quorvex("check " + kValid);
  EXPECT_NE(missingYear.output.find("line 99999, column 2 [reporting year]: HE40001E"), std::string::npos)
      << missingYear.output;
}

TEST(QuorvexCliTest, JsonCarriesTheSevenFields) {
  const ToolRun run = Quorvex("check " + kValid + " --year 2023 --json");
  ASSERT_EQ(run.status, 0) << run.output;
  const nlohmann::json record = nlohmann::json::parse(run.output);
  EXPECT_EQ(record.size(), 7u);
  EXPECT_EQ(record["Result"], "S_OK");
  EXPECT_EQ(record["HojinNo"], "8000000000001");
  EXPECT_TRUE(record["AccountReportCount"].is_number());
  EXPECT_EQ(record["AccountReportCount"], 3);
  for (const char* key : {"DetailErrorInfo", "GIIN", "CRSData", "XMLData"}) EXPECT_EQ(record[key], "") << key;
}

TEST(QuorvexCliTest, ConvertWritesTheFileOrPrintsTheXml) {
  quorvex_test::TempDir dir;
  const std::string out = dir.file("out.xml");
  const ToolRun written = Quorvex("convert " + kValid + " -o " + out);
  EXPECT_EQ(written.status, 0) << written.output;
  const std::string xml = quorvex_test::ReadBytes(out);
  EXPECT_EQ(xml.rfind("<crs:CRS_OECD", 0), 0u);

  const ToolRun printed = Quorvex("convert " + kValid);
  EXPECT_EQ(printed.output.rfind("<crs:CRS_OECD", 0), 0u);

  const ToolRun readBack = Quorvex("read-xml " + out + " --json");
  EXPECT_EQ(readBack.status, 0) << readBack.output;
  EXPECT_EQ(nlohmann::json::parse(readBack.output)["XMLData"], xml);
}

}  // namespace
