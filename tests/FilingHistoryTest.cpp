// The filing history: the rules that need earlier filings over two or three
// small messages made from the sample, the authority's answers, refusal of
// files that are not a sound history, upgrades, and the C interface.
#include "CLCCsvConvDataCRS.h"
#include "CLCFilingHistory.h"
#include "TestSupport.h"
#include "history/CLCHistorySchema.h"
#include "quorvex_history.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

const std::string kFirst = "JP2023JPCN8000000000001001";  // the sample's MessageRefId, prefix of its DocRefIds

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) {
    ADD_FAILURE() << "not in the message: " << from;
    return text;
  }
  return text.replace(at, from.size(), to);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

const std::string& Sample() {
  static const std::string sample = [] {
    CLCCsvConvDataCRS facade;
    facade.SetClock([] { return quorvex_test::kFixedTime; });
    return facade.CsvConvCRSData2(QUORVEX_SOURCE_DIR "/samples/crs-sample-2.0.csv", "")->getCRSData();
  }();
  return sample;
}

// The sample under another MessageRefId; its DocRefIds, which start with it, change alike.
std::string NewData(const std::string& messageRefId) { return ReplaceAll(Sample(), kFirst, messageRefId); }

std::string Doc(const std::string& messageRefId, int account) {
  return messageRefId + (account == 0 ? "FI0000001" : "AC000000" + std::to_string(account));
}

// A message of one correction (or deletion) of `target`: the ReportingFI is
// resent unchanged (OECD0) and the first account carries the correction.
std::string Correction(const std::string& messageRefId, const std::string& target, const std::string& indic = "OECD2",
                       const std::string& fiIndic = "OECD0") {
  std::string xml = NewData(messageRefId);
  xml = Replace(xml, "CRS701<", "CRS702<");
  xml = Replace(xml, "OECD1</stf:DocTypeIndic><stf:DocRefId>" + Doc(messageRefId, 0),
                fiIndic + "</stf:DocTypeIndic><stf:DocRefId>" + Doc(kFirst, 0));
  xml = Replace(xml, "OECD1</stf:DocTypeIndic><stf:DocRefId>" + Doc(messageRefId, 1) + "</stf:DocRefId>",
                indic + "</stf:DocTypeIndic><stf:DocRefId>" + Doc(messageRefId, 1) +
                    "</stf:DocRefId><stf:CorrDocRefId>" + target + "</stf:CorrDocRefId>");
  const std::size_t second = xml.find("<crs:AccountReport>", xml.find("</crs:AccountReport>"));
  const std::size_t end = xml.rfind("</crs:AccountReport>") + std::string("</crs:AccountReport>").size();
  return xml.erase(second, end - second);
}

std::string StatusMessage(const std::string& statusId, const std::string& original, const std::string& status,
                          const std::vector<std::vector<std::string>>& recordErrors = {},
                          const std::string& timestamp = "2024-06-01T09:00:00") {
  std::string errors;
  for (const std::vector<std::string>& error : recordErrors) {
    errors += "<csm:RecordError><csm:Code>" + error.front() +
              "</csm:Code><csm:Details>checked by the authority</csm:Details>";
    for (std::size_t i = 1; i < error.size(); ++i)
      errors += "<csm:DocRefIDInError>" + error[i] + "</csm:DocRefIDInError>";
    errors += "</csm:RecordError>";
  }
  if (status == "Rejected" && recordErrors.empty()) {
    errors = "<csm:FileError><csm:Code>50007</csm:Code><csm:Details>schema</csm:Details></csm:FileError>";
  }
  return "<csm:CRSStatusMessage_OECD xmlns:csm=\"urn:oecd:ties:csm:v2\" version=\"2.0\"><csm:MessageSpec>"
         "<csm:TransmittingCountry>JP</csm:TransmittingCountry><csm:ReceivingCountry>JP</csm:ReceivingCountry>"
         "<csm:MessageType>CRSMessageStatus</csm:MessageType><csm:MessageRefId>" +
         statusId + "</csm:MessageRefId><csm:Timestamp>" + timestamp +
         "</csm:Timestamp></csm:MessageSpec><csm:CrsStatusMessage>"
         "<csm:OriginalMessage><csm:OriginalMessageRefID>" +
         original + "</csm:OriginalMessageRefID></csm:OriginalMessage><csm:ValidationErrors>" + errors +
         "</csm:ValidationErrors><csm:ValidationResult><csm:Status>" + status +
         "</csm:Status><csm:ValidatedBy>test</csm:ValidatedBy></csm:ValidationResult></csm:CrsStatusMessage>"
         "</csm:CRSStatusMessage_OECD>";
}

std::string Codes(const CLCValidationResult& result) {
  std::string codes;
  for (const CLCValidationFinding& finding : result.findings) codes += (codes.empty() ? "" : " ") + finding.code;
  return codes;
}

void AddMessage(CLCFilingHistory& history, const std::string& xml, const std::string& name = "message.xml") {
  const CLCHistoryAddResult added = history.AddBuffer(xml.data(), xml.size(), name.c_str());
  ASSERT_TRUE(added.recorded) << added.error;
}

// Runs SQL on a history file behind the library's back.
std::string Sql(const std::string& file, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string out;
  if (sqlite3_open(file.c_str(), &db) == SQLITE_OK) {
    char* error = nullptr;
    sqlite3_exec(
        db, sql.c_str(),
        [](void* text, int columns, char** values, char**) {
          auto& result = *static_cast<std::string*>(text);
          for (int i = 0; i < columns; ++i) result += (i > 0 ? "|" : "") + std::string(values[i] ? values[i] : "NULL");
          result += "\n";
          return 0;
        },
        &out, &error);
    if (error != nullptr) out += std::string("error: ") + error;
    sqlite3_free(error);
  }
  sqlite3_close(db);
  return out;
}

TEST(FilingHistory, ReuseAndCorrectionRulesAgainstEarlierMessages) {
  const std::string second = "JP2023JPCN8000000000001002";
  const std::string third = "JP2023JPCN8000000000001003";
  struct Case {
    const char* name;
    std::vector<std::string> filed;    // recorded in this order
    std::vector<std::string> answers;  // status messages imported after them
    std::string checked;
    const char* codes;
    const char* path;      // of the first finding
    std::string mentions;  // in the first finding's text
  };
  const std::string mutatedFirst = Replace(Sample(), "Compliance Dept.", "Compliance Desk");
  const std::vector<Case> cases = {
      {"an empty history finds nothing", {}, {}, Sample(), "", nullptr, ""},
      {"a MessageRefId used by another message",
       {Sample()},
       {},
       mutatedFirst,
       "50009 80000 80000 80000 80000",
       "/CRS_OECD/MessageSpec/MessageRefId",
       "used before"},
      {"the recorded message itself is checked against earlier ones", {Sample()}, {}, Sample(), "", nullptr, ""},
      {"new data reusing one DocRefId",
       {Sample()},
       {},
       Replace(NewData(second), ">" + Doc(second, 2) + "<", ">" + Doc(kFirst, 2) + "<"),
       "80000",
       "/CRS_OECD/CrsBody/ReportingGroup/AccountReport[2]/DocSpec/DocRefId",
       "in message " + kFirst},
      {"a resent ReportingFI keeps its DocRefId; the correction names a filed record",
       {Sample()},
       {},
       Correction(second, Doc(kFirst, 1)),
       "",
       nullptr,
       ""},
      {"a correction of a record never filed",
       {Sample()},
       {},
       Correction(second, Doc(kFirst, 9)),
       "80002",
       "/CRS_OECD/CrsBody/ReportingGroup/AccountReport/DocSpec/CorrDocRefId",
       "names no record on file"},
      {"a correction of a record already corrected",
       {Sample(), Correction(second, Doc(kFirst, 1))},
       {},
       Correction(third, Doc(kFirst, 1)),
       "80003",
       nullptr,
       "the latest DocRefId of the record, " + Doc(second, 1)},
      {"a correction of the latest DocRefId of the chain",
       {Sample(), Correction(second, Doc(kFirst, 1))},
       {},
       Correction(third, Doc(second, 1)),
       "",
       nullptr,
       ""},
      {"a correction of a deleted record",
       {Sample(), Correction(second, Doc(kFirst, 1), "OECD3")},
       {},
       Correction(third, Doc(kFirst, 1)),
       "80003",
       nullptr,
       "nothing is left to correct"},
      {"a test correction of a production record",
       {Sample()},
       {},
       Correction(second, Doc(kFirst, 1), "OECD12", "OECD10"),
       "80002",
       nullptr,
       "test corrections point at test records"},
      {"a correction for another institution",
       {Sample()},
       {},
       Replace(Correction(second, Doc(kFirst, 1)), ">8000000000001<", ">8000000000002<"),
       "80002",
       nullptr,
       "another institution"},
      {"a rejected message left nothing on file to correct",
       {Sample()},
       {StatusMessage("S1", kFirst, "Rejected")},
       Correction(second, Doc(kFirst, 1)),
       "80002",
       nullptr,
       "was rejected"},
      {"a rejected message's DocRefIds may be used again",
       {Sample()},
       {StatusMessage("S1", kFirst, "Rejected")},
       Replace(NewData(second), ">" + Doc(second, 2) + "<", ">" + Doc(kFirst, 2) + "<"),
       "",
       nullptr,
       ""},
      {"a record in error is not on file",
       {Sample()},
       {StatusMessage("S1", kFirst, "Accepted", {{"60000", Doc(kFirst, 1)}})},
       Correction(second, Doc(kFirst, 1)),
       "80002",
       nullptr,
       "named it in error"},
      {"the latest answer decides",
       {Sample()},
       {StatusMessage("S2", kFirst, "Accepted", {}, "2024-07-01T00:00:00"),
        StatusMessage("S1", kFirst, "Accepted", {{"60000", Doc(kFirst, 1)}}, "2024-06-01T00:00:00")},
       Correction(second, Doc(kFirst, 1)),
       "",
       nullptr,
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    CLCFilingHistory history;
    ASSERT_TRUE(history.Open(dir.file("history.sqlite3").c_str(), CLCFilingHistory::Access::Write)) << history.Error();
    for (const std::string& xml : c.filed) AddMessage(history, xml);
    for (const std::string& answer : c.answers) {
      const CLCStatusReport report = history.ImportStatusBuffer(answer.data(), answer.size(), "status.xml");
      ASSERT_TRUE(report.imported) << report.error;
    }
    const CLCValidationResult result = history.Check(c.checked.data(), c.checked.size());
    EXPECT_EQ(Codes(result), c.codes) << (result.findings.empty() ? result.note : result.findings[0].message);
    EXPECT_EQ(result.valid, std::string(c.codes).empty());
    if (result.findings.empty()) continue;
    const CLCValidationFinding& first = result.findings.front();
    if (c.path != nullptr) {
      EXPECT_EQ(first.path, c.path);
    }
    EXPECT_NE(first.message.find(c.mentions), std::string::npos) << first.message;
    EXPECT_GT(first.line, 0);
    EXPECT_GT(first.column, 1);
  }
}

// The facade's validation with a history set gives the history's findings
// among its own, sorted by position; without one, none of them.
TEST(FilingHistory, TheFacadeValidatesAgainstTheHistoryItIsGiven) {
  TempDir dir;
  CLCFilingHistory history;
  ASSERT_TRUE(history.Open(dir.file("h.sqlite3").c_str(), CLCFilingHistory::Access::Write));
  AddMessage(history, Sample());
  const std::string again = Replace(Sample(), "Compliance Dept.", "Compliance Desk");
  CLCCsvConvDataCRS facade;
  EXPECT_EQ(Codes(facade.ValidateXMLBuffer(again.data(), again.size())), "");
  facade.SetFilingHistory(&history);
  const CLCValidationResult& result = facade.ValidateXMLBuffer(again.data(), again.size());
  EXPECT_EQ(Codes(result), "50009 80000 80000 80000 80000");
  EXPECT_FALSE(result.valid);
  EXPECT_EQ(result.findings[1].docRefId, Doc(kFirst, 0));
}

TEST(FilingHistory, AddIsAllOrNothingAndRecordsTheCsvLines) {
  TempDir dir;
  const std::string file = dir.file("h.sqlite3");
  CLCFilingHistory history;
  ASSERT_TRUE(history.Open(file.c_str(), CLCFilingHistory::Access::Write));
  const std::string csv = QUORVEX_SOURCE_DIR "/samples/crs-sample-2.0.csv";
  const std::string xml = dir.file("first.xml");
  WriteBytes(xml, Sample());
  const CLCHistoryAddResult added = history.Add(xml.c_str(), csv.c_str());
  ASSERT_TRUE(added.recorded) << added.error;
  EXPECT_EQ(added.records, 4);
  EXPECT_EQ(added.recordsWithCsvLine, 4);
  EXPECT_EQ(Sql(file, "SELECT doc_ref_id, csv_line FROM record ORDER BY position"),
            Doc(kFirst, 0) + "|1\n" + Doc(kFirst, 1) + "|2\n" + Doc(kFirst, 2) + "|3\n" + Doc(kFirst, 3) + "|4\n");

  EXPECT_TRUE(history.Add(xml.c_str()).alreadyRecorded);
  struct Refused {
    const char* name;
    std::string xml;
    const char* csv;
    const char* says;
  };
  const std::string second = "JP2023JPCN8000000000001002";
  const std::vector<Refused> refusals = {
      {"another message under a recorded MessageRefId", Replace(Sample(), "Compliance Dept.", "Desk"), nullptr,
       "already in the history for another message"},
      {"not well-formed", Sample().substr(0, 300), nullptr, "not a CRS XML 2.0 message"},
      {"CRS XML 1.0", ReplaceAll(NewData(second), "urn:oecd:ties:crs:v2", "urn:oecd:ties:crs:v1"), nullptr,
       "not a CRS XML 2.0 message"},
      {"a CSV file the message was not made from", NewData(second), QUORVEX_SOURCE_DIR "/samples/crs-mistakes-2.0.csv",
       "not the CSV file the message was made from"},
      {"a CSV file that cannot be read", NewData(second), "/no/such.csv", "cannot be read"},
  };
  for (const Refused& r : refusals) {
    SCOPED_TRACE(r.name);
    const CLCHistoryAddResult result = history.AddBuffer(r.xml.data(), r.xml.size(), "x.xml", r.csv);
    EXPECT_FALSE(result.recorded);
    EXPECT_NE(result.error.find(r.says), std::string::npos) << result.error;
  }
  EXPECT_EQ(Sql(file, "SELECT count(*) FROM message; SELECT count(*) FROM record"), "1\n4\n");

  // A failure after some records went in (here a trigger refuses the third)
  // leaves neither the message nor its first records.
  EXPECT_EQ(Sql(file, "CREATE TRIGGER refuse BEFORE INSERT ON record WHEN NEW.doc_ref_id = '" + Doc(second, 2) +
                          "' BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"),
            "");
  const std::string third = NewData(second);
  const CLCHistoryAddResult failed = history.AddBuffer(third.data(), third.size(), "third.xml");
  EXPECT_FALSE(failed.recorded);
  EXPECT_NE(failed.error.find("refused by the test"), std::string::npos) << failed.error;
  EXPECT_EQ(Sql(file, "SELECT count(*) FROM message; SELECT count(*) FROM record"), "1\n4\n");
}

TEST(FilingHistory, StatusRecordErrorsPointAtTheirCsvLines) {
  TempDir dir;
  CLCFilingHistory history;
  ASSERT_TRUE(history.Open(dir.file("h.sqlite3").c_str(), CLCFilingHistory::Access::Write));
  const std::string xml = dir.file("first.xml");
  WriteBytes(xml, Sample());
  ASSERT_TRUE(history.Add(xml.c_str(), QUORVEX_SOURCE_DIR "/samples/crs-sample-2.0.csv").recorded);
  const std::string answer =
      StatusMessage("JP-S-1", kFirst, "Accepted", {{"60010", Doc(kFirst, 2), Doc(kFirst, 3)}, {"60011", "JP-UNKNOWN"}});
  const CLCStatusReport report = history.ImportStatusBuffer(answer.data(), answer.size(), "answer.xml");
  ASSERT_TRUE(report.imported) << report.error;
  EXPECT_EQ(report.status, "Accepted");
  ASSERT_EQ(report.errors.size(), 3u);
  EXPECT_EQ(report.errors[0].docRefId, Doc(kFirst, 2));
  EXPECT_EQ(report.errors[0].csvLine, 3);
  EXPECT_EQ(report.errors[1].csvLine, 4);
  EXPECT_NE(report.errors[0].csvFile.find("crs-sample-2.0.csv"), std::string::npos);
  EXPECT_NE(report.errors[0].advice.find("as new data (OECD1)"), std::string::npos) << report.errors[0].advice;
  EXPECT_EQ(report.errors[2].csvLine, 0);
  EXPECT_NE(report.errors[2].advice.find("holds no record"), std::string::npos);

  const std::vector<CLCFiledMessage> listed = history.List();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].status, "Accepted");
  EXPECT_EQ(listed[0].recordsInError, 2);

  const CLCStatusReport again = history.ImportStatusBuffer(answer.data(), answer.size(), "answer.xml");
  EXPECT_TRUE(again.alreadyImported);
  EXPECT_EQ(again.errors.size(), 3u);

  struct Unusable {
    const char* name;
    std::string xml;
    const char* says;
  };
  const std::vector<Unusable> unusable = {
      {"an answer to a message not recorded", StatusMessage("JP-S-2", "JP-OTHER", "Accepted"),
       "not in the filing history"},
      {"not a status message", Sample(), "not a CRS status message"},
      {"no OriginalMessageRefID", ReplaceAll(answer, "OriginalMessageRefID", "Other"),
       "OriginalMessageRefID is missing"},
      {"a status neither accepted nor rejected", Replace(answer, ">Accepted<", ">Pending<"),
       "Status (Accepted or Rejected)"},
      {"a document type declaration", "<!DOCTYPE x>" + answer, "document type declaration"},
      {"not well-formed", answer.substr(0, 200), "not well-formed"},
  };
  for (const Unusable& u : unusable) {
    SCOPED_TRACE(u.name);
    const CLCStatusReport refused = history.ImportStatusBuffer(u.xml.data(), u.xml.size(), "bad.xml");
    EXPECT_FALSE(refused.imported);
    EXPECT_NE(refused.error.find(u.says), std::string::npos) << refused.error;
  }
  EXPECT_EQ(Sql(dir.file("h.sqlite3"), "SELECT count(*) FROM status_message; SELECT count(*) FROM status_error"),
            "1\n3\n");
}

// Files that are not a sound history of a version this library knows are
// refused, whether for reading or recording, and stay byte for byte as they were.
TEST(FilingHistory, AFileThatIsNoSoundHistoryIsRefusedAndLeftAsItWas) {
  TempDir dir;
  const std::string good = dir.file("good.sqlite3");
  {
    CLCFilingHistory history;
    ASSERT_TRUE(history.Open(good.c_str(), CLCFilingHistory::Access::Write));
    AddMessage(history, Sample());
    AddMessage(history, NewData("JP2023JPCN8000000000001002"));
  }
  const std::string bytes = ReadBytes(good);
  ASSERT_GT(bytes.size(), 8192u);
  struct Case {
    const char* name;
    std::function<std::string()> make;  // the file's bytes
    const char* says;
  };
  const auto damaged = [&](std::size_t at, std::size_t count) {
    std::string copy = bytes;
    for (std::size_t i = at; i < at + count && i < copy.size(); ++i) copy[i] = static_cast<char>(0xA5 ^ i);
    return copy;
  };
  const auto viaSql = [&](const std::string& sql) {
    const std::string scratch = dir.file("scratch.sqlite3");
    std::remove(scratch.c_str());
    Sql(scratch, sql);
    return ReadBytes(scratch);
  };
  const std::vector<Case> cases = {
      {"a text file", [] { return std::string("MessageRefId,DocRefId\nJP1,JP1-1\n"); }, "not an SQLite database"},
      {"a truncated header", [&] { return bytes.substr(0, 60); }, "not an SQLite database"},
      {"another program's database", [&] { return viaSql("CREATE TABLE notes (text TEXT)"); }, "another program"},
      {"another program's marked database",
       [&] { return viaSql("PRAGMA application_id = 7; CREATE TABLE notes (text TEXT)"); },
       "application id 0x00000007"},
      {"a history from a newer version",
       [&] {
         const std::string newer = dir.file("newer.sqlite3");
         WriteBytes(newer, bytes);
         Sql(newer, "PRAGMA user_version = 99");
         return ReadBytes(newer);
       },
       "newer version"},
      {"a damaged page", [&] { return damaged(4096, 4096); }, "damaged"},
      {"cut short", [&] { return bytes.substr(0, bytes.size() / 2); }, "damaged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir.file("case.sqlite3");
    const std::string original = c.make();
    WriteBytes(file, original);
    for (const auto access : {CLCFilingHistory::Access::Read, CLCFilingHistory::Access::Write}) {
      CLCFilingHistory history;
      EXPECT_FALSE(history.Open(file.c_str(), access));
      EXPECT_NE(history.Error().find(c.says), std::string::npos) << history.Error();
      EXPECT_NE(history.Error().find("left as it was"), std::string::npos) << history.Error();
      const CLCHistoryAddResult added = history.AddBuffer(Sample().data(), Sample().size(), "x.xml");
      EXPECT_FALSE(added.recorded);
    }
    EXPECT_TRUE(ReadBytes(file) == original) << "the refused file was changed";
    EXPECT_EQ(ReadBytes(file + "-wal"), "");
    EXPECT_EQ(ReadBytes(file + "-journal"), "");
  }
}

// A file of the first schema version (messages and records only) is brought
// up to date on opening, its messages kept.
TEST(FilingHistory, AnOlderHistoryIsUpgradedWithItsMessages) {
  TempDir dir;
  const std::string file = dir.file("v1.sqlite3");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  quorvex::internal::CLCHistorySchema::Upgrade(db, 0, 1);
  sqlite3_close(db);
  EXPECT_EQ(Sql(file, "INSERT INTO message VALUES (1, '" + kFirst +
                          "', 'CRS701', 'JP', 'JP', '8000000000001', '2023-12-31', 'old.xml', NULL, 'x', "
                          "'2024-01-01T00:00:00Z');"
                          "INSERT INTO record VALUES (1, 1, 'AccountReport', 'OECD1', '" +
                          Doc(kFirst, 1) + "', NULL, NULL); PRAGMA user_version"),
            "1\n");
  CLCFilingHistory history;
  ASSERT_TRUE(history.Open(file.c_str(), CLCFilingHistory::Access::Read)) << history.Error();
  const std::vector<CLCFiledMessage> listed = history.List();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].status, "Pending");
  EXPECT_EQ(listed[0].records, 1);
  const std::string correction = Correction("JP2023JPCN8000000000001002", Doc(kFirst, 1));
  EXPECT_EQ(Codes(history.Check(correction.data(), correction.size())), "");
  history.Close();
  EXPECT_EQ(Sql(file, "PRAGMA user_version"), std::to_string(quorvex::internal::CLCHistorySchema::kVersion) + "\n");
}

TEST(FilingHistory, DefaultPathFollowsTheDataHome) {
  const char* savedData = std::getenv("XDG_DATA_HOME");
  const std::string saved = savedData != nullptr ? savedData : "";
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  struct Case {
    const char* data;  // null: unset
    std::string path;
  };
  const Case cases[] = {
      {"/srv/data", "/srv/data/quorvex/history.sqlite3"},
      {"relative/data", home + "/.local/share/quorvex/history.sqlite3"},
      {"", home + "/.local/share/quorvex/history.sqlite3"},
      {nullptr, home + "/.local/share/quorvex/history.sqlite3"},
  };
  for (const Case& c : cases) {
    if (c.data != nullptr) {
      setenv("XDG_DATA_HOME", c.data, 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
    EXPECT_EQ(CLCFilingHistory::DefaultPath(), c.path) << (c.data != nullptr ? c.data : "(unset)");
  }
  if (savedData != nullptr) {
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

TEST(FilingHistory, TheCInterfaceOpensAddsChecksAndCloses) {
  TempDir dir;
  const std::string file = dir.file("sub/folder/h.sqlite3");
  const std::string first = dir.file("first.xml");
  const std::string again = dir.file("again.xml");
  WriteBytes(first, Sample());
  WriteBytes(again, NewData("JP2023JPCN8000000000001002"));

  quorvex_history* reading = quorvex_history_open(file.c_str(), 0);
  ASSERT_NE(reading, nullptr);
  EXPECT_NE(std::string(quorvex_history_error(reading)).find("no filing history"), std::string::npos);
  EXPECT_EQ(quorvex_history_add(reading, first.c_str(), nullptr), 0);
  quorvex_history_close(reading);

  quorvex_history* history = quorvex_history_open(file.c_str(), 1);
  ASSERT_STREQ(quorvex_history_error(history), "");
  EXPECT_EQ(quorvex_history_add(history, first.c_str(), nullptr), 1);
  EXPECT_EQ(quorvex_history_add(history, first.c_str(), nullptr), 2);
  EXPECT_EQ(quorvex_history_add(history, dir.file("none.xml").c_str(), nullptr), 0);
  EXPECT_NE(std::string(quorvex_history_error(history)).find("cannot be read"), std::string::npos);
  EXPECT_EQ(quorvex_history_add(nullptr, first.c_str(), nullptr), -1);

  // The same DocRefIds under a new MessageRefId: only the history sees it.
  WriteBytes(again, Replace(NewData("JP2023JPCN8000000000001002"), ">" + Doc("JP2023JPCN8000000000001002", 1) + "<",
                            ">" + Doc(kFirst, 1) + "<"));
  quorvex_converter* converter = quorvex_new();
  EXPECT_EQ(quorvex_validate_xml_file(converter, again.c_str(), 0), 1);
  EXPECT_EQ(quorvex_set_history(converter, history), 1);
  EXPECT_EQ(quorvex_validate_xml_file(converter, again.c_str(), 0), 0);
  ASSERT_EQ(quorvex_finding_count(converter), 1u);
  quorvex_finding finding{};
  ASSERT_EQ(quorvex_get_finding(converter, 0, &finding), 1);
  EXPECT_STREQ(finding.code, "80000");
  EXPECT_STREQ(quorvex_finding_title("80000", "en"), "DocRefId already used");
  EXPECT_EQ(quorvex_set_history(nullptr, history), -1);
  EXPECT_EQ(quorvex_set_history(converter, nullptr), 1);
  EXPECT_EQ(quorvex_validate_xml_file(converter, again.c_str(), 0), 1);
  quorvex_free(converter);
  quorvex_history_close(history);
  quorvex_history_close(nullptr);
}

}  // namespace
