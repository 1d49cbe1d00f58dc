#include "csv/CLCCRSCRSReport.h"
#include "service/CLCCRSDataManager.h"
#include "xml/CLCXSax.h"
#include "CRSCsvGenerator.h"
#include "DefinitionTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

using namespace quorvex::internal;

using namespace quorvex_test;

namespace {

using Columns = std::map<std::size_t, std::string>;

// Header record: version, message reference, reporting period, institution.
std::vector<std::string> Header(Columns extra = {}) {
  Columns values = {{2, "2.0"},         {5, "JP2017ABC0001"}, {6, "CRS701"},       {7, "2017-12-31"},
                    {8, "1234567890123"}, {9, "JP"},        {23, "Example Bank"}, {33, "1-1 Chiyoda Tokyo"},
                    {43, "OECD1"},      {44, "JP2017ABC0001-FI"}};
  for (const auto& [column, value] : extra) values[column] = value;
  return Record("1", 45, values);
}

std::vector<std::string> Account(Columns values) { return Record("2", 150, values); }

// Individual account holder with every column the account holder rule requires.
Columns Individual(const std::string& docRefId) {
  return {{2, "OECD1"}, {3, docRefId}, {5, "ACC-" + docRefId}, {10, "JP"}, {23, "Taro"},
          {29, "Yamada"}, {91, "JP"}, {92, "2-2 Minato Tokyo"}, {149, "100.00"}, {150, "JPY"}};
}

Columns Organisation(const std::string& docRefId) {
  return {{2, "OECD1"}, {3, docRefId}, {5, "ACC-" + docRefId}, {107, "JP"}, {123, "Example Corp"},
          {133, "JP"}, {134, "3-3 Shibuya Tokyo"}, {148, "CRS101"}, {149, "5000"}, {150, "USD"}};
}

std::string GoldenPath(const std::string& name) { return std::string(QUORVEX_TEST_DATA) + "/" + name; }

// Compares with tests/data/<name>; a missing golden file is written next to
// the build for review and the test fails.
void ExpectGolden(const std::string& name, const std::string& actual) {
  const std::string expected = ReadBytes(GoldenPath(name));
  if (expected.empty()) {
    WriteBytes(std::string(QUORVEX_BINARY_DIR) + "/" + name, actual);
    FAIL() << "no golden file " << name << "; wrote the output to the build folder";
  }
  EXPECT_EQ(actual, expected) << name;
}

std::size_t CountOf(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

bool WellFormed(const std::string& xml) {
  CLCValidResult problems;
  CLCXSax sax(problems);
  return sax.Initialize() && sax.Parse(xml.data(), xml.size(), "CRS", "UTF-8");
}

struct Converted {
  std::string xml;
  bool success = false;
  std::string errors;
  std::unique_ptr<CLCCRSCsvCRSReport> csv;
};

Converted ConvertWith(CLCCRSDefinition& definition, const std::vector<std::vector<std::string>>& records) {
  Converted converted;
  converted.csv = ParseCsv(CsvText(records));
  if (!converted.csv) {
    ADD_FAILURE() << "CSV not read: " << RecordedErrors();
    return converted;
  }
  for (long record = 0; record < converted.csv->GetRecordCount(); ++record) {
    EXPECT_TRUE(converted.csv->DistributeRecord(record));
  }
  converted.success = definition.MakeReportData(*converted.csv, kFixedTime, converted.xml, Collector()).IsPassed();
  converted.errors = RecordedErrors();
  return converted;
}

Converted Convert(unsigned short resource, const std::vector<std::vector<std::string>>& records) {
  ClearCollector();
  CLCCRSDefinition definition;
  if (!definition.CreateDefinition("CRS_OECD", resource, false, Collector())) {
    ADD_FAILURE() << "definition " << resource << " did not load";
    return {};
  }
  return ConvertWith(definition, records);
}

// A small conversion definition that makes the linking visible.
const std::string& LinkingDefinition() {
  static const std::string document = ConversionDocument(
      Report("MessageSpec", R"(<item id="MessageRefId" parent="MessageSpec" type="Normal" column="5"/>)") +
      Report("ReportingFI", R"(<item id="Name" parent="ReportingFI" type="Normal" column="23"/>)") +
      Report("AccountReport",
             R"(<item id="DocRefId" parent="AccountReport" type="Normal" column="3" nameSpace="stf"/>)", true) +
      Report("ControllingPerson", R"(<item id="Name" parent="ControllingPerson" type="Normal" column="3"/>)") +
      Report("AccountBalance", R"(<item id="AccountBalance" parent="AccountBalance" type="Normal" column="149"/>)",
             true) +
      Report("Payment", R"(<item id="Type" parent="Payment" type="Normal" column="3"/>)"));
  return document;
}

Converted ConvertLinked(const std::vector<std::vector<std::string>>& records) {
  ClearCollector();
  CLCCRSDefinition definition;
  if (!definition.CreateDefinitionFromText("CRS_OECD", 208, LinkingDefinition(), false, Collector())) {
    ADD_FAILURE() << "linking definition did not load: " << RecordedErrors();
    return {};
  }
  return ConvertWith(definition, records);
}

// The body between the root start tag and the root end tag.
std::string Body(const std::string& xml) {
  const std::size_t start = xml.find('>');
  const std::size_t end = xml.rfind("</crs:CRS_OECD>");
  if (start == std::string::npos || end == std::string::npos) return "<not a document>";
  return xml.substr(start + 1, end - start - 1);
}

std::vector<std::string> Person(const std::string& account, const std::string& name) {
  return Record("3", 100, {{2, account}, {3, name}});
}
std::vector<std::string> Payment(const std::string& account, const std::string& type) {
  return Record("4", 5, {{2, account}, {3, type}});
}

constexpr const char* kLinkedPrefix =
    "<crs:MessageSpec><crs:MessageRefId>JP2017ABC0001</crs:MessageRefId></crs:MessageSpec>"
    "<crs:CrsBody><crs:ReportingFI><crs:Name>Example Bank</crs:Name></crs:ReportingFI>";

class ReportAssemblyTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearCollector(); }
  void TearDown() override { ClearCollector(); }
};

}  // namespace

// --- Golden documents with the shipped conversion definitions ---

TEST_F(ReportAssemblyTest, HeaderOnlyFileGivesEmptyReportingGroup) {
  const Converted converted = Convert(208, {Header()});
  ASSERT_TRUE(converted.success) << converted.errors;
  EXPECT_NE(converted.xml.find("<crs:ReportingGroup/></crs:CrsBody></crs:CRS_OECD>"), std::string::npos);
  EXPECT_TRUE(WellFormed(converted.xml));
  ExpectGolden("conv208_header_only.xml", converted.xml);
}

TEST_F(ReportAssemblyTest, IndividualWithTwoNamesAndTwoAddresses) {
  Columns account = Individual("JP2017ABC0001-A1");
  const Columns more = {{6, "OECD605"}, {8, "false"}, {10, "JP/US"}, {11, "123-456"}, {12, "JP"},
                        {21, "Dr"}, {24, "given"}, {34, "OECD202"},       // first name group
                        {37, "Hanako"}, {43, "Suzuki"}, {48, "OECD204"},  // second name group
                        {93, "OECD301"}, {94, "US"}, {95, "1 Main St, Springfield"}, {96, "OECD302"},
                        {106, "1980-01-15"}};
  for (const auto& [column, value] : more) account[column] = value;
  const Converted converted = Convert(208, {Header(), Account(account)});
  ASSERT_TRUE(converted.success) << converted.errors;
  EXPECT_TRUE(WellFormed(converted.xml));
  ExpectGolden("conv208_individual.xml", converted.xml);
}

TEST_F(ReportAssemblyTest, OrganisationWithControllingPersonsAndPayments) {
  Columns organisation = Organisation("JP2017ABC0001-A1");
  const Columns more = {{108, "9876543210"}, {109, "JP"}, {110, "Corporate Number"}, {124, "OECD207"},
                        {135, "OECD304"}, {136, "SG"}, {137, "9 Marina Bay"}};
  for (const auto& [column, value] : more) organisation[column] = value;
  const Converted converted = Convert(
      206, {Header({{2, "1.0"}}), Account(organisation),
            Record("3", 100, {{2, "JP2017ABC0001-A1"}, {3, "JP"}, {16, "Ichiro"}, {22, "Sato"}, {27, "OECD202"},
                              {84, "JP"}, {85, "4-4 Meguro Tokyo"}, {99, "1970-05-05"}, {100, "CRS801"}}),
            Record("3", 100, {{2, "JP2017ABC0001-A1"}, {3, "US/JP"}, {4, "111-22-3333"}, {5, "US"},
                              {16, "Jiro"}, {22, "Tanaka"}, {84, "US"}, {85, "5 Elm St"}, {100, "CRS803"}}),
            Record("4", 5, {{2, "JP2017ABC0001-A1"}, {3, "CRS501"}, {4, "1200.50"}, {5, "JPY"}}),
            Record("4", 5, {{2, "JP2017ABC0001-A1"}, {3, "CRS502"}, {4, "30"}, {5, "USD"}})});
  ASSERT_TRUE(converted.success) << converted.errors;
  EXPECT_TRUE(WellFormed(converted.xml));
  EXPECT_EQ(converted.xml.rfind("<crs:CRS_OECD version=\"1.0\" xmlns:stf=\"urn:oecd:ties:stf:v4\"", 0), 0u);
  ExpectGolden("conv206_organisation.xml", converted.xml);
}

TEST_F(ReportAssemblyTest, SpecialCharactersAreEscapedEverywhere) {
  const std::string nasty = "A&B <C> \"D\" 'E'";
  Columns account = Individual("JP2017ABC0001-A1");
  account[23] = nasty;                       // element text
  account[24] = nasty;                       // attribute of FirstName
  account[92] = nasty;                       // cfc:AddressFree
  account[6] = "x\" y=\"1";                  // attribute that tries to add another
  const Converted converted = Convert(208, {Header({{2, "2.0\" x=\"1&<"}, {3, nasty}}), Account(account)});
  ASSERT_TRUE(converted.success) << converted.errors;
  EXPECT_TRUE(WellFormed(converted.xml));
  EXPECT_EQ(converted.xml.rfind("<crs:CRS_OECD version=\"2.0&quot; x=&quot;1&amp;&lt;\" xmlns:stf=", 0), 0u);
  ExpectGolden("conv208_escaped_characters.xml", converted.xml);
}

TEST_F(ReportAssemblyTest, RootDeclaresTheNamespacesOfItsSchema) {
  const std::pair<unsigned short, const char*> cases[] = {
      {206,
       "<crs:CRS_OECD version=\"2.0\" xmlns:stf=\"urn:oecd:ties:stf:v4\" xmlns:crs=\"urn:oecd:ties:crs:v1\" "
       "xmlns:iso=\"urn:oecd:ties:isocrstypes:v1\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
       "xmlns:cfc=\"urn:oecd:ties:commontypesfatcacrs:v1\">"},
      {208,
       "<crs:CRS_OECD version=\"2.0\" xmlns:stf=\"urn:oecd:ties:crsstf:v5\" xmlns:crs=\"urn:oecd:ties:crs:v2\" "
       "xmlns:iso=\"urn:oecd:ties:isocrstypes:v1\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
       "xmlns:cfc=\"urn:oecd:ties:commontypesfatcacrs:v2\">"},
  };
  for (const auto& [resource, root] : cases) {
    SCOPED_TRACE(resource);
    const Converted converted = Convert(resource, {Header()});
    ASSERT_TRUE(converted.success) << converted.errors;
    EXPECT_EQ(converted.xml.rfind(root, 0), 0u) << converted.xml.substr(0, 400);
  }
}

TEST_F(ReportAssemblyTest, LongEscapedNameTypeConverts) {
  Columns account = Individual("JP2017ABC0001-A1");
  account[24] = std::string(46, '&');
  const Converted converted = Convert(208, {Header(), Account(account)});
  ASSERT_TRUE(converted.success) << converted.errors;
  std::string escaped;
  for (int i = 0; i < 46; ++i) escaped += "&amp;";
  EXPECT_NE(converted.xml.find("<crs:FirstName xnlNameType=\"" + escaped + "\">Taro</crs:FirstName>"),
            std::string::npos);
  EXPECT_TRUE(WellFormed(converted.xml));
}

// --- Grouping and linking ---

TEST_F(ReportAssemblyTest, LinkedRecordsFollowTheirAccountInFileOrder) {
  const Converted converted = ConvertLinked({
      Header(),
      Account({{3, "A1"}, {149, "10"}}),
      Account({{3, "A2"}, {149, "20"}}),
      Account({{3, "A1"}, {149, "30"}}),  // same DocRefId: gets every A1 link too
      Person("A2", "P1"),
      Person("A1", "P2"),
      Person("ZZ", "orphan"),
      Person("A1", "P3"),
      Payment("A1", "T1"),
      Payment("A2", "T2"),
      Payment("A1", "T3"),
  });
  ASSERT_TRUE(converted.success) << converted.errors;
  const std::string a1 =
      "<crs:AccountReport><stf:DocRefId>A1</stf:DocRefId>"
      "<crs:ControllingPerson><crs:Name>P2</crs:Name></crs:ControllingPerson>"
      "<crs:ControllingPerson><crs:Name>P3</crs:Name></crs:ControllingPerson>"
      "<crs:AccountBalance>{}</crs:AccountBalance>"
      "<crs:Payment><crs:Type>T1</crs:Type></crs:Payment><crs:Payment><crs:Type>T3</crs:Type></crs:Payment>"
      "</crs:AccountReport>";
  auto withBalance = [&](const std::string& balance) {
    std::string text = a1;
    return text.replace(text.find("{}"), 2, balance);
  };
  EXPECT_EQ(Body(converted.xml),
            std::string(kLinkedPrefix) + "<crs:ReportingGroup>" + withBalance("10") +
                "<crs:AccountReport><stf:DocRefId>A2</stf:DocRefId>"
                "<crs:ControllingPerson><crs:Name>P1</crs:Name></crs:ControllingPerson>"
                "<crs:AccountBalance>20</crs:AccountBalance>"
                "<crs:Payment><crs:Type>T2</crs:Type></crs:Payment></crs:AccountReport>" +
                withBalance("30") + "</crs:ReportingGroup></crs:CrsBody>");
  EXPECT_EQ(converted.xml.find("orphan"), std::string::npos);
  // Writing leaves the kind lists as they were filled.
  EXPECT_EQ(converted.csv->GetCRSAccountReport()->GetRecordCount(), 3);
  EXPECT_EQ(converted.csv->GetCRSControllingPerson()->GetRecordCount(), 4);
  EXPECT_EQ(converted.csv->GetCRSPayment()->GetRecordCount(), 3);
}

TEST_F(ReportAssemblyTest, ReportingGroupWithoutAccounts) {
  const struct {
    const char* fault;
    std::vector<std::vector<std::string>> records;
    const char* group;
  } cases[] = {
      {"header only", {Header()}, "<crs:ReportingGroup/>"},
      {"controlling person without account", {Header(), Person("A1", "P1")},
       "<crs:ReportingGroup></crs:ReportingGroup>"},
      {"payment without account", {Header(), Payment("A1", "T1")}, "<crs:ReportingGroup></crs:ReportingGroup>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    const Converted converted = ConvertLinked(c.records);
    ASSERT_TRUE(converted.success) << converted.errors;
    EXPECT_EQ(Body(converted.xml), std::string(kLinkedPrefix) + c.group + "</crs:CrsBody>");
  }
}

TEST_F(ReportAssemblyTest, ManyAccountsEachFindTheirOwnLinks) {
  std::vector<std::vector<std::string>> records = {Header()};
  constexpr int kAccounts = 3000;
  for (int i = 0; i < kAccounts; ++i) records.push_back(Account({{3, "A" + std::to_string(i)}, {149, "1"}}));
  for (int i = kAccounts - 1; i >= 0; --i) records.push_back(Person("A" + std::to_string(i), "P" + std::to_string(i)));
  const Converted converted = ConvertLinked(records);
  ASSERT_TRUE(converted.success) << converted.errors;
  for (int i : {0, 1, 1500, kAccounts - 1}) {
    const std::string id = std::to_string(i);
    EXPECT_NE(converted.xml.find("<stf:DocRefId>A" + id + "</stf:DocRefId><crs:ControllingPerson><crs:Name>P" + id +
                                 "</crs:Name></crs:ControllingPerson>"),
              std::string::npos)
        << id;
  }
}

TEST_F(ReportAssemblyTest, WrongShapeOrResourceIsFatal) {
  CLCCRSDefinition empty;
  auto csv = ParseCsv(CsvText({Header()}));
  ASSERT_TRUE(csv);
  std::string xml = "left over";
  EXPECT_TRUE(empty.MakeReportData(*csv, kFixedTime, xml, Collector()).IsFatal());
  EXPECT_EQ(xml, "");
  EXPECT_EQ(RecordedErrors(), kFatalDocument);

  // A conversion tree loaded under a validation resource number has no namespaces.
  CLCCRSDefinition validation;
  ASSERT_TRUE(validation.CreateDefinitionFromText("CRS_OECD", 207, LinkingDefinition(), false, Collector()));
  EXPECT_TRUE(validation.MakeReportData(*csv, kFixedTime, xml, Collector()).IsFatal());
  EXPECT_EQ(xml, "");
  EXPECT_EQ(RecordedErrors(), kFatalDocument);
}

TEST_F(ReportAssemblyTest, RootWithoutVersionColumnIsFatal) {
  const std::string document = ConversionDocument(
      Report("MessageSpec", R"(<item id="MessageRefId" parent="MessageSpec" type="Normal" column="5"/>)") +
          Report("B", "") + Report("C", "") + Report("D", "") + Report("E", "") + Report("F", ""),
      "rootNode=\"CRS_OECD\" attr1=\"Version\" attrValueRec1=\"MessageSpecReportingFI\"");
  CLCCRSDefinition definition;
  ASSERT_TRUE(definition.CreateDefinitionFromText("CRS_OECD", 208, document, false, Collector()));
  const Converted converted = ConvertWith(definition, {Header()});
  EXPECT_FALSE(converted.success);
  EXPECT_EQ(converted.xml, "");
  EXPECT_EQ(converted.errors, kFatalDocument);
}

// --- Column validation of a whole file ---

namespace {

// Account holder rule: columns 10-106 individual, 107-148 organisation.
struct ExclusiveCase {
  const char* fault;
  Columns account;
  int result;
  const char* errors;
};

Columns Without(Columns columns, std::size_t column) {
  columns.erase(column);
  return columns;
}
Columns With(Columns columns, std::size_t column, const std::string& value) {
  columns[column] = value;
  return columns;
}

const char* kValidationDocument =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<CRSValidateDefine VR=\"2.0\">\r\n"
    "<report id=\"MessageSpecReportingFI\"><item id=\"MessageRefId\" column=\"5\" type=\"Normal\"><valid "
    "id=\"exist\"/></item></report>\r\n"
    "<report id=\"AccountReport\"><item id=\"DocRefId\" column=\"3\" type=\"Normal\"><valid id=\"exist\"/></item>"
    "<item id=\"AccountNumber\" column=\"5\" type=\"Normal\"><valid id=\"exist\"/></item></report>\r\n"
    "<report id=\"ControllingPerson\"><item id=\"Res\" column=\"3\" type=\"Normal\"><valid "
    "id=\"exist\"/></item></report>\r\n"
    "<report id=\"Payment\"><item id=\"Type\" column=\"3\" type=\"Normal\"><valid id=\"exist\"/></item></report>\r\n"
    "</CRSValidateDefine>\r\n";

}  // namespace

TEST_F(ReportAssemblyTest, AccountHolderMustBeEitherIndividualOrOrganisation) {
  const ExclusiveCase cases[] = {
      {"complete individual", Individual("A1"), 0, ""},
      {"complete organisation", Organisation("A1"), 0, ""},
      {"both blocks", With(Individual("A1"), 123, "Corp"), 19, "00002-0000000-HE40018E"},
      {"individual with holder type", With(Individual("A1"), 148, "CRS101"), 19, "00002-0000000-HE40018E"},
      {"organisation with a birth date", With(Organisation("A1"), 106, "1980-01-01"), 19, "00002-0000000-HE40018E"},
      {"neither block", {{3, "A1"}}, 18, "00002-0000000-HE40017E"},
      {"individual without first address", Without(Individual("A1"), 92), 18, "00002-0000000-HE40017E"},
      {"individual without last name", Without(Individual("A1"), 29), 18, "00002-0000000-HE40017E"},
      {"organisation without holder type", Without(Organisation("A1"), 148), 18, "00002-0000000-HE40017E"},
      {"organisation without name", Without(Organisation("A1"), 123), 18, "00002-0000000-HE40017E"},
  };
  for (const ExclusiveCase& c : cases) {
    SCOPED_TRACE(c.fault);
    ClearCollector();
    auto csv = ParseCsv(CsvText({Header(), Account(c.account)}));
    ASSERT_TRUE(csv);
    EXPECT_EQ(csv->AccountReportExclusiveCheck(1).Message(), c.result);
    EXPECT_EQ(RecordedErrors(), c.errors);
  }
}

TEST_F(ReportAssemblyTest, ValidationDistributesOnlyRecordsThatPassed) {
  auto csv = ParseCsv(CsvText({
      Header(),
      Account(Individual("A1")),
      Account(Without(Individual("A2"), 5)),                 // item error: line 3, column 5
      Account(Without(With(Individual(""), 123, "Corp"), 5)),  // holder error only: items not run
      Record("3", 100, {{2, "A1"}, {3, "JP"}}),
      Record("4", 5, {{2, "A1"}}),                           // item error: line 6, column 3
  }));
  ASSERT_TRUE(csv);
  CLCCRSDefinition definition;
  ASSERT_TRUE(definition.CreateDefinitionFromText("CRS_OECD", 205, kValidationDocument, true, Collector()));
  EXPECT_EQ(CLCCRSDataManager::ValidateRecords(definition, *csv, false, Collector()).Message(), 2);
  EXPECT_EQ(RecordedErrors(), "00003-0000005-HE40001E,00004-0000000-HE40018E,00006-0000003-HE40001E");
  EXPECT_EQ(csv->GetCRSMessageSpecReportingFI()->GetRecordCount(), 1);
  ASSERT_EQ(csv->GetCRSAccountReport()->GetRecordCount(), 1);
  EXPECT_STREQ(csv->GetCRSAccountReport()->GetColumnValue(0, 2), "A1");
  EXPECT_EQ(csv->GetCRSControllingPerson()->GetRecordCount(), 1);
  EXPECT_EQ(csv->GetCRSPayment()->GetRecordCount(), 0);
}

TEST_F(ReportAssemblyTest, RecordKindWithoutReportIsFatal) {
  auto csv = ParseCsv(CsvText({Header(), Account(Individual("A1")), Record("3", 100, {{2, "A1"}, {3, "JP"}})}));
  ASSERT_TRUE(csv);
  const std::string twoReports =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<CRSValidateDefine VR=\"1.0\">\r\n"
      "<report id=\"MessageSpecReportingFI\"><item id=\"A\" column=\"5\" type=\"Normal\"/></report>\r\n"
      "<report id=\"AccountReport\"><item id=\"B\" column=\"3\" type=\"Normal\"/></report>\r\n"
      "</CRSValidateDefine>\r\n";
  CLCCRSDefinition definition;
  ASSERT_TRUE(definition.CreateDefinitionFromText("CRS_OECD", 205, twoReports, true, Collector()));
  EXPECT_EQ(definition.ValidateRecord(*csv, 1, Collector()).Message(), 0);
  EXPECT_EQ(RecordedErrors(), "");
  EXPECT_EQ(definition.ValidateRecord(*csv, 2, Collector()).Message(), 1);
  EXPECT_EQ(RecordedErrors(), kFatalDocument);
}

TEST_F(ReportAssemblyTest, GeneratedValidFilePassesShippedRulesAndConverts) {
  const std::string text = GenerateCrsCsv(60000, CrsCsvOptions{});
  auto checked = ParseCsv(text);
  ASSERT_TRUE(checked);
  checked->SetNenbun("2023");
  const CLCCRSDefinition* validation = CLCCRSDefinition::Shared(207);
  ASSERT_NE(validation, nullptr);
  EXPECT_EQ(CLCCRSDataManager::ValidateRecords(*validation, *checked, true, Collector()).Message(), 0);
  EXPECT_EQ(RecordedErrors(), "");
  const long accounts = checked->GetCRSAccountReport()->GetRecordCount();
  EXPECT_GT(accounts, 50);

  auto converted = ParseCsv(text);
  ASSERT_TRUE(converted);
  for (long record = 0; record < converted->GetRecordCount(); ++record) {
    ASSERT_TRUE(converted->DistributeRecord(record));
  }
  const CLCCRSDefinition* conversion = CLCCRSDefinition::Shared(208);
  ASSERT_NE(conversion, nullptr);
  std::string xml;
  ASSERT_TRUE(conversion->MakeReportData(*converted, kFixedTime, xml, Collector()).IsPassed()) << RecordedErrors();
  EXPECT_TRUE(WellFormed(xml));
  EXPECT_EQ(CountOf(xml, "<crs:AccountReport>"), static_cast<std::size_t>(accounts));
  EXPECT_EQ(CountOf(xml, "<crs:ControllingPerson>"),
            static_cast<std::size_t>(converted->GetCRSControllingPerson()->GetRecordCount()));
  EXPECT_EQ(CountOf(xml, "<crs:Payment>"), static_cast<std::size_t>(converted->GetCRSPayment()->GetRecordCount()));
}
