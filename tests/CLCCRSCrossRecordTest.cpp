#include "csv/CLCCRSCRSReport.h"
#include "csv/CLCCRSCsvCRSReport.h"
#include "diagnostics/CLCValidResult.h"
#include "CRSCsvGenerator.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace quorvex::internal;

namespace {

using Columns = std::map<std::size_t, std::string>;
using Check = CLCStatus (CLCCRSCsvCRSReport::*)();

const std::string kMessageRefId = "JP2023JPCN8000000000001001";
// The same message reference with another sequence number, as a correction names it.
const std::string kEarlierMessageRefId = "JP2023JPCN8000000000001000";

std::string AccountId(int number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%07d", number);
  return kMessageRefId + "AC" + digits;
}

// Records of N columns, empty but for the kind and the given columns (1-based); the
// defaults make each record pass every check.
class Csv {
 public:
  Csv& Header(const Columns& values = {}) {
    return Add("1", 45, {{2, "2.0"}, {5, kMessageRefId}, {6, "CRS701"}, {7, "2023-12-31"}, {43, "OECD1"},
                         {44, kMessageRefId + "FI0000001"}}, values);
  }
  Csv& Account(const Columns& values = {}) {
    return Add("2", 150, {{2, "OECD1"}, {3, AccountId(++m_iAccounts)}, {148, "CRS103"}}, values);
  }
  Csv& Person(const std::string& docRefId, const Columns& values = {}) {
    return Add("3", 100, {{2, docRefId}, {99, "1975-03-20"}}, values);
  }
  Csv& Payment(const std::string& docRefId) { return Add("4", 5, {{2, docRefId}}, {}); }
  const std::string& Text() const { return m_strText; }

 private:
  Csv& Add(const std::string& kind, std::size_t count, Columns defaults, const Columns& values) {
    for (const auto& [column, value] : values) defaults[column] = value;
    m_strText += kind;
    for (std::size_t column = 2; column <= count; ++column) {
      m_strText += ',';
      const auto found = defaults.find(column);
      if (found != defaults.end()) m_strText += found->second;
    }
    m_strText += "\r\n";
    return *this;
  }
  std::string m_strText;
  int m_iAccounts = 0;
};

// A report read from the text with every record distributed into its kind list.
std::unique_ptr<CLCCRSCsvCRSReport> Load(const std::string& text) {
  auto report = std::make_unique<CLCCRSCsvCRSReport>(quorvex_test::Collector());
  EXPECT_TRUE(report->Parse(text));
  for (long index = 0; index < report->GetRecordCount(); ++index) EXPECT_TRUE(report->DistributeRecord(index));
  return report;
}

std::string Errors() { return quorvex_test::TakeRecorded(); }

struct CheckCase {
  const char* name;
  Check check;
  std::string text;
  int status;
  std::string errors;
};

class CrossRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { quorvex_test::Collector().ClearResult(); }
  void TearDown() override { quorvex_test::Collector().ClearResult(); }

  static void Run(const std::vector<CheckCase>& cases) {
    for (const CheckCase& test : cases) {
      quorvex_test::Collector().ClearResult();
      const auto report = Load(test.text);
      EXPECT_EQ(((*report).*(test.check))().Message(), test.status) << test.name;
      EXPECT_EQ(Errors(), test.errors) << test.name;
    }
  }
};

TEST_F(CrossRecordTest, HeaderThatAnnouncesDataNeedsAnAccount) {
  const Check check = &CLCCRSCsvCRSReport::MessageSpecReportingFIDocTypeIndicCheck;
  Run({
      {"OECD1 without accounts", check, Csv().Header().Text(), 17, "00001-0000043-HE40016E"},
      {"OECD0 without accounts", check, Csv().Header({{43, "OECD0"}}).Text(), 17, "00001-0000043-HE40016E"},
      {"OECD2 without accounts", check, Csv().Header({{43, "OECD2"}}).Text(), 0, ""},
      {"OECD1 with an account", check, Csv().Header().Account().Text(), 0, ""},
  });
}

TEST_F(CrossRecordTest, AccountDocTypeMustFitTheHeader) {
  const Check check = &CLCCRSCsvCRSReport::AccountReportDocTypeIndicCheck;
  const auto file = [](const std::string& type, const std::string& headerDoc, const std::vector<std::string>& docs) {
    Csv csv;
    csv.Header({{6, type}, {43, headerDoc}});
    for (const std::string& doc : docs) csv.Account({{2, doc}});
    return csv.Text();
  };
  Run({
      {"CRS701 takes OECD1 only", check, file("CRS701", "OECD1", {"OECD1", "OECD2"}), 10, "00003-0000002-HE40009E"},
      {"CRS701 whatever the header", check, file("CRS701", "OECD0", {"OECD1"}), 0, ""},
      {"CRS702 with OECD3 header", check, file("CRS702", "OECD3", {"OECD3", "OECD2"}), 10, "00003-0000002-HE40009E"},
      {"CRS702 otherwise", check, file("CRS702", "OECD2", {"OECD2", "OECD3", "OECD1"}), 10, "00004-0000002-HE40009E"},
      {"no type, header OECD1", check, file("", "OECD1", {"OECD2"}), 10, "00002-0000002-HE40009E"},
      {"no type, header OECD2", check, file("", "OECD2", {"OECD3", "OECD2"}), 0, ""},
      {"no type, header OECD3", check, file("", "OECD3", {"OECD3", "OECD2"}), 10, "00003-0000002-HE40009E"},
      {"no type, header OECD0: no rule", check, file("", "OECD0", {"OECD9"}), 0, ""},
      {"unknown type, header OECD0: no rule", check, file("CRS799", "OECD0", {"OECD9"}), 0, ""},
      {"no accounts", check, file("CRS701", "OECD1", {}), 0, ""},
      {"every offender reported", check, file("CRS701", "OECD1", {"OECD2", "OECD1", "OECD3"}), 10,
       "00002-0000002-HE40009E,00004-0000002-HE40009E"},
  });
}

TEST_F(CrossRecordTest, AccountDocRefIdMustBeMessageRefIdPlusNine) {
  const Check check = &CLCCRSCsvCRSReport::AccountReportDocRefIdCheck;
  const auto file = [](const std::string& docRefId) { return Csv().Header().Account({{3, docRefId}}).Text(); };
  Run({
      {"message reference plus nine", check, file(kMessageRefId + "AC0000001"), 0, ""},
      {"eight more", check, file(kMessageRefId + "AC000001"), 10, "00002-0000003-HE40009E"},
      {"ten more", check, file(kMessageRefId + "AC00000012"), 10, "00002-0000003-HE40009E"},
      {"other message", check, file(kEarlierMessageRefId + "AC0000001"), 10, "00002-0000003-HE40009E"},
      {"empty", check, file(""), 10, "00002-0000003-HE40009E"},
  });
}

TEST_F(CrossRecordTest, DuplicateDocRefIdsReportedOncePerLineInAscendingOrder) {
  const Check check = &CLCCRSCsvCRSReport::AccountReportDocRefIdOverlapCheck;
  const auto file = [](const std::vector<std::string>& ids) {
    Csv csv;
    csv.Header();
    for (const std::string& id : ids) csv.Account({{3, id}});
    return csv.Text();
  };
  const std::string x = AccountId(90), y = AccountId(91);
  Run({
      {"three alike on lines 2, 5, 9", check,
       file({x, AccountId(1), AccountId(2), x, AccountId(3), AccountId(4), AccountId(5), x}), 20,
       "00002-0000003-HE40019E,00005-0000003-HE40019E,00009-0000003-HE40019E"},
      {"interleaved pairs", check, file({x, y, x, AccountId(1), y}), 20,
       "00002-0000003-HE40019E,00003-0000003-HE40019E,00004-0000003-HE40019E,00006-0000003-HE40019E"},
      {"empty values are duplicates too", check, file({"", AccountId(1), ""}), 20,
       "00002-0000003-HE40019E,00004-0000003-HE40019E"},
      {"all distinct", check, file({AccountId(1), AccountId(2), AccountId(3)}), 0, ""},
  });
}

TEST_F(CrossRecordTest, CorrectionMustNameAnotherMessageOfTheSameStem) {
  const Check check = &CLCCRSCsvCRSReport::AccountReportCorrDocRefIdCheck;
  const auto file = [](const std::string& corrDocRefId) { return Csv().Header().Account({{4, corrDocRefId}}).Text(); };
  Run({
      {"empty is not tested", check, file(""), 0, ""},
      {"earlier message", check, file(kEarlierMessageRefId + "AC0000001"), 0, ""},
      {"current message", check, file(kMessageRefId + "AC0000001"), 10, "00002-0000004-HE40009E"},
      {"wrong length", check, file(kEarlierMessageRefId + "AC000001"), 10, "00002-0000004-HE40009E"},
      {"other stem", check, file("JP2022JPCN8000000000001000AC0000001"), 10, "00002-0000004-HE40009E"},
  });
}

TEST_F(CrossRecordTest, DuplicateCorrDocRefIdsIgnoreEmptyValues) {
  const Check check = &CLCCRSCsvCRSReport::AccountReportCorrDocRefIdOverlapCheck;
  const std::string corr = kEarlierMessageRefId + "AC0000001";
  Run({
      {"two empty", check, Csv().Header().Account().Account().Text(), 0, ""},
      {"two alike", check, Csv().Header().Account({{4, corr}}).Account().Account({{4, corr}}).Text(), 21,
       "00002-0000004-HE40020E,00004-0000004-HE40020E"},
      {"distinct", check,
       Csv().Header().Account({{4, corr}}).Account({{4, kEarlierMessageRefId + "AC0000002"}}).Text(), 0, ""},
  });
}

TEST_F(CrossRecordTest, BirthDateAfterReportingPeriodIsRefused) {
  const Check accounts = &CLCCRSCsvCRSReport::AccountReportBirthDateCheck;
  const Check persons = &CLCCRSCsvCRSReport::ControllingPersonBirthDateCheck;
  const auto account = [](const std::string& date) { return Csv().Header().Account({{106, date}}).Text(); };
  const auto person = [](const std::string& date) {
    return Csv().Header().Account({{148, "CRS101"}}).Person(AccountId(1), {{99, date}}).Text();
  };
  Run({
      {"account born on the last day", accounts, account("2023-12-31"), 0, ""},
      {"account born a day later", accounts, account("2024-01-01"), 10, "00002-0000106-HE40009E"},
      {"account without birth date", accounts, account(""), 0, ""},
      {"account birth date not a date", accounts, account("1980-02-30"), 1, "00000-0000000-HE40000E"},
      {"person born on the last day", persons, person("2023-12-31"), 0, ""},
      {"person born a day later", persons, person("2024-01-01"), 10, "00003-0000099-HE40009E"},
      {"person birth date not a date", persons, person("someday"), 1, "00000-0000000-HE40000E"},
  });
}

TEST_F(CrossRecordTest, ControllingPersonsMustMatchTheHolderType) {
  const Check check = &CLCCRSCsvCRSReport::AccountReportAcctHolderTypeCheck;
  const auto file = [](const std::string& holderType, bool withPerson) {
    Csv csv;
    csv.Header().Account({{148, holderType}});
    if (withPerson) csv.Person(AccountId(1));
    return csv.Text();
  };
  Run({
      {"CRS101 without persons", check, file("CRS101", false), 22, "00002-0000148-HE40021E"},
      {"CRS101 with a person", check, file("CRS101", true), 0, ""},
      {"CRS102 with a person", check, file("CRS102", true), 23, "00002-0000148-HE40022E"},
      {"CRS103 with a person", check, file("CRS103", true), 23, "00002-0000148-HE40022E"},
      {"CRS103 without persons", check, file("CRS103", false), 0, ""},
      {"empty with a person", check, file("", true), 23, "00002-0000148-HE40022E"},
      {"empty without persons", check, file("", false), 0, ""},
      {"other type with a person", check, file("CRS999", true), 0, ""},
      {"person of another account; last message returned", check,
       Csv().Header().Account({{148, "CRS101"}}).Account({{148, "CRS102"}}).Person(AccountId(2)).Text(), 23,
       "00002-0000148-HE40021E,00003-0000148-HE40022E"},
  });
}

TEST_F(CrossRecordTest, PersonsAndPaymentsMustNameAnAccount) {
  const Check persons = &CLCCRSCsvCRSReport::ControllingPersonDocRefIdCheck;
  const Check payments = &CLCCRSCsvCRSReport::PaymentDocRefIdCheck;
  Run({
      {"person of an account", persons, Csv().Header().Account().Person(AccountId(1)).Text(), 0, ""},
      {"person of no account", persons,
       Csv().Header().Account().Person(AccountId(1)).Person(AccountId(2)).Text(), 10, "00004-0000002-HE40009E"},
      {"person in a file without accounts", persons, Csv().Header().Person(AccountId(1)).Text(), 10,
       "00002-0000002-HE40009E"},
      {"payment on an account", payments, Csv().Header().Account().Account().Payment(AccountId(2)).Text(), 0, ""},
      {"payment in a file without accounts", payments, Csv().Header().Payment(AccountId(1)).Text(), 10,
       "00002-0000002-HE40009E"},
      {"payments on unknown accounts", payments,
       Csv().Header().Account().Payment(AccountId(9)).Payment(AccountId(1)).Payment("").Text(), 10,
       "00003-0000002-HE40009E,00005-0000002-HE40009E"},
  });
}

TEST_F(CrossRecordTest, ChecksNeedingTheHeaderAreFatalWithoutIt) {
  CLCCRSCsvCRSReport report(quorvex_test::Collector());
  ASSERT_TRUE(report.Parse(Csv().Header().Account().Text()));
  ASSERT_TRUE(report.DistributeRecord(1));  // the header is left out
  EXPECT_EQ(report.AccountReportDocRefIdCheck().Message(), 1);
  EXPECT_EQ(Errors(), "00000-0000000-HE40000E");
}

struct YearCase {
  const char* name;
  std::string year;
  std::string messageRefId;
  std::string reportingPeriod;
  int status;
  const char* errors;
};

TEST_F(CrossRecordTest, ReportingYearMustMatchMessageRefIdThenReportingPeriod) {
  const std::vector<YearCase> cases = {
      {"both match", "2023", kMessageRefId, "2023-12-31", 0, ""},
      {"MessageRefId differs; period not compared", "2023", "JP2022JPCN8000000000001001", "2022-12-31", 30,
       "00001-0000005-HE40029E"},
      {"period differs", "2023", kMessageRefId, "2022-12-31", 30, "00001-0000007-HE40029E"},
      {"no year", "", kMessageRefId, "2023-12-31", 30, "00001-0000005-HE40029E"},
      {"MessageRefId too short", "2023", "JP20", "2023-12-31", 30, "00001-0000005-HE40029E"},
  };
  for (const YearCase& test : cases) {
    quorvex_test::Collector().ClearResult();
    CLCCRSCsvCRSReport report(quorvex_test::Collector());
    ASSERT_TRUE(report.Parse(Csv().Header({{5, test.messageRefId}, {7, test.reportingPeriod}}).Text()));
    report.SetNenbun(test.year);
    EXPECT_EQ(report.NenbunCheck().Message(), test.status) << test.name;
    EXPECT_EQ(Errors(), test.errors) << test.name;
  }
  CLCCRSCsvFile base(quorvex_test::Collector());
  EXPECT_EQ(base.NenbunCheck().Message(), 0);
}

TEST_F(CrossRecordTest, GeneratedFilePassesEveryRecordAndCrossRecordCheck) {
  EXPECT_EQ(CorporateNumberCheckDigit("000000000001"), '8');
  EXPECT_EQ(CorporateNumberCheckDigit("000000000000"), '9');

  const std::size_t target = 400000;
  const std::string text = GenerateCrsCsv(target, CrsCsvOptions{2023, "8000000000001", 2});
  EXPECT_LE(text.size(), target);
  EXPECT_GT(text.size(), target - 3000);

  const auto report = Load(text);
  EXPECT_TRUE(report->ValidateCsv());
  EXPECT_GT(report->GetCRSAccountReport()->GetRecordCount(), 100);
  EXPECT_GT(report->GetCRSControllingPerson()->GetRecordCount(), 10);
  const std::vector<Check> checks = {
      &CLCCRSCsvCRSReport::MessageSpecReportingFIDocTypeIndicCheck, &CLCCRSCsvCRSReport::AccountReportDocTypeIndicCheck,
      &CLCCRSCsvCRSReport::AccountReportDocRefIdCheck, &CLCCRSCsvCRSReport::AccountReportDocRefIdOverlapCheck,
      &CLCCRSCsvCRSReport::AccountReportCorrDocRefIdCheck, &CLCCRSCsvCRSReport::AccountReportCorrDocRefIdOverlapCheck,
      &CLCCRSCsvCRSReport::AccountReportBirthDateCheck, &CLCCRSCsvCRSReport::AccountReportAcctHolderTypeCheck,
      &CLCCRSCsvCRSReport::ControllingPersonBirthDateCheck, &CLCCRSCsvCRSReport::ControllingPersonDocRefIdCheck,
      &CLCCRSCsvCRSReport::PaymentDocRefIdCheck};
  for (std::size_t i = 0; i < checks.size(); ++i) {
    EXPECT_EQ(((*report).*(checks[i]))().Message(), 0) << "check " << i + 1;
  }
  report->SetNenbun("2023");
  EXPECT_EQ(report->NenbunCheck().Message(), 0);
  EXPECT_EQ(Errors(), "");
}

}  // namespace
