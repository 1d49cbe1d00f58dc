#include "report/CLCCRSDataDefReport.h"
#include "report/CLCCRSDataDefineNode.h"
#include "CLCCRSCommon.h"
#include "definitions/CLCSharedDefinition.h"
#include "rules/CLCCRSValidator.h"
#include "DefinitionTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace quorvex::internal;

using namespace quorvex_test;

namespace {

const CLCCRSDataDefineNode* FindChild(const CLCCRSDataDefineNode& node, const std::string& id,
                                      std::size_t occurrence = 0) {
  for (const auto& child : node.GetChildren()) {
    if (child->GetId() == id && occurrence-- == 0) return child.get();
  }
  return nullptr;
}

std::size_t CountChildren(const CLCCRSDataDefineNode& node, const std::string& id) {
  std::size_t n = 0;
  for (const auto& child : node.GetChildren()) n += child->GetId() == id;
  return n;
}

std::size_t CountItems(const CLCCRSDataDefineNode& node) {
  std::size_t n = node.GetChildren().size();
  for (const auto& child : node.GetChildren()) n += CountItems(*child);
  return n;
}

std::size_t CountOccurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class DefinitionTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearCollector(); }
  void TearDown() override { ClearCollector(); }
};

}  // namespace

TEST_F(DefinitionTest, RepeatedGroupCollectsItsOwnChildren) {
  CLCCRSDefinition definition;
  ASSERT_TRUE(definition.CreateDefinitionFromText("CRS_OECD", 208, SingleReportDocument(R"(
    <item id="Individual" parent="R" type="Normal"/>
    <item id="Name" parent="Individual" type="Normal" attr1="nameType" attrValueColumn1="9"/>
    <item id="FirstName" parent="Name" type="Normal" column="2"/>
    <item id="LastName" parent="Name" type="Normal" column="3"/>
    <item id="Name" parent="Individual" type="Normal" attr1="nameType" attrValueColumn1="10"/>
    <item id="FirstName" parent="Name" type="Normal" column="4"/>
    <item id="LastName" parent="Name" type="Normal" column="5"/>
    <item id="BirthDate" parent="R" type="Normal" column="6"/>
  )"), false, Collector()));
  const CLCCRSDataDefReport& report = *definition.GetReports().at(0);
  ASSERT_EQ(report.GetChildren().size(), 2u);
  const CLCCRSDataDefineNode* individual = FindChild(report, "Individual");
  ASSERT_NE(individual, nullptr);
  ASSERT_EQ(CountChildren(*individual, "Name"), 2u);
  const CLCCRSDataDefineNode* first = FindChild(*individual, "Name", 0);
  const CLCCRSDataDefineNode* second = FindChild(*individual, "Name", 1);
  ASSERT_EQ(first->GetChildren().size(), 2u);
  ASSERT_EQ(second->GetChildren().size(), 2u);
  EXPECT_EQ(FindChild(*first, "FirstName")->GetColumn(), 1);
  EXPECT_EQ(FindChild(*second, "FirstName")->GetColumn(), 3);
  EXPECT_EQ(FindChild(*second, "LastName")->GetColumn(), 4);
  EXPECT_EQ(FindChild(report, "BirthDate")->GetColumn(), 5);
}

TEST_F(DefinitionTest, ShippedConversionNameGroupsEachHoldTheirFirstName) {
  for (unsigned short resource : {206, 208}) {
    SCOPED_TRACE(resource);
    CLCCRSDefinition definition;
    ASSERT_TRUE(definition.CreateDefinition("CRS_OECD", resource, false, Collector()));
    ASSERT_EQ(definition.GetReports().size(), 6u);
    const CLCCRSDataDefineNode* holder = FindChild(*definition.GetReports()[2], "AccountHolder");
    ASSERT_NE(holder, nullptr);
    const CLCCRSDataDefineNode* individual = FindChild(*holder, "Individual");
    ASSERT_NE(individual, nullptr);
    ASSERT_EQ(CountChildren(*individual, "Name"), 5u);
    for (std::size_t n = 0; n < 5; ++n) {
      const CLCCRSDataDefineNode* name = FindChild(*individual, "Name", n);
      ASSERT_EQ(CountChildren(*name, "FirstName"), 1u) << "Name " << n;
      // Columns 23, 37, 51, 65, 79 (one-based).
      EXPECT_EQ(FindChild(*name, "FirstName")->GetColumn(), static_cast<long>(22 + 14 * n));
    }
    // Every item of the document is somewhere in the tree.
    const std::string text = CLCCRSCommon::LoadResoucePath(resource, "DEFINITION");
    std::size_t loaded = 0;
    for (const auto& report : definition.GetReports()) loaded += CountItems(*report);
    EXPECT_EQ(loaded, CountOccurrences(text, "<item "));
    EXPECT_EQ(definition.GetRootNode(), "CRS_OECD");
    EXPECT_EQ(definition.GetAttrValueColumn1(), 1);
    const CLCCRSDataDefineNode* timestamp = FindChild(*definition.GetReports()[0], "Timestamp");
    ASSERT_NE(timestamp, nullptr);
    EXPECT_EQ(timestamp->GetMillisec(), resource == 208);
  }
}

TEST_F(DefinitionTest, ShippedValidationDocumentsGiveFlatListsWithValidators) {
  for (unsigned short resource : {205, 207}) {
    SCOPED_TRACE(resource);
    CLCCRSDefinition definition;
    ASSERT_TRUE(definition.CreateDefinition("CRS_OECD", resource, true, Collector())) << RecordedErrors();
    ASSERT_EQ(definition.GetReports().size(), 4u);
    const std::string text = CLCCRSCommon::LoadResoucePath(resource, "DEFINITION");
    std::size_t loaded = 0;
    for (const auto& report : definition.GetReports()) {
      // Flat: no item has children, every item sits directly under its report.
      for (const auto& item : report->GetChildren()) EXPECT_TRUE(item->GetChildren().empty());
      loaded += report->GetChildren().size();
      // A validation document has no rootNode, so reports carry no attributes.
      EXPECT_TRUE(report->GetId().empty());
    }
    EXPECT_EQ(loaded, CountOccurrences(text, "<item "));
    const CLCCRSDataDefineNode& version = *definition.GetReports()[0]->GetChildren().at(0);
    EXPECT_EQ(version.GetId(), "Version");
    EXPECT_EQ(version.GetColumn(), 1);
    ASSERT_NE(version.GetValidator(), nullptr);
    EXPECT_EQ(version.GetValidator()->GetItemCount(), 4u);
  }
}

TEST_F(DefinitionTest, ItemTypeMustMatchExactly) {
  for (const char* type : {"normal", "NORMAL", "", "Split ", "TimeStamp"}) {
    SCOPED_TRACE(type);
    ClearCollector();
    CLCCRSDefinition definition;
    const std::string items = std::string("<item id=\"A\" parent=\"R\" type=\"") + type + "\" column=\"2\"/>";
    EXPECT_FALSE(definition.CreateDefinitionFromText("CRS_OECD", 208, SingleReportDocument(items), false, Collector()));
    EXPECT_EQ(RecordedErrors(), kFatalDocument);
  }
}

TEST_F(DefinitionTest, UnknownParentFailsTheLoad) {
  struct Case {
    const char* name;
    std::string document;
  };
  const Case cases[] = {
      {"no such id", SingleReportDocument(R"(<item id="A" parent="Nowhere" type="Normal" column="2"/>)")},
      {"parent defined later",
       SingleReportDocument(R"(<item id="B" parent="A" type="Normal" column="2"/>
                               <item id="A" parent="R" type="Normal" column="3"/>)")},
      // Parents are looked up within the report only.
      {"item of another report",
       ConversionDocument(Report("R", R"(<item id="A" parent="R" type="Normal" column="2"/>)") +
                          Report("S", R"(<item id="B" parent="A" type="Normal" column="2"/>)") +
                          Report("T", "") + Report("U", "") + Report("V", "") + Report("W", ""))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearCollector();
    CLCCRSDefinition definition;
    EXPECT_FALSE(definition.CreateDefinitionFromText("CRS_OECD", 208, c.document, false, Collector()));
    EXPECT_EQ(RecordedErrors(), kFatalDocument);
  }
}

TEST_F(DefinitionTest, ColumnAttributesBecomeZeroBasedOrNone) {
  struct Case {
    const char* attributes;
    long column;
    long attrColumn;
  };
  const Case cases[] = {
      {R"(column="5" attr1="a" attrValueColumn1="7")", 4, 6},
      {R"(column="0" attr1="a" attrValueColumn1="1")", -1, 0},
      {R"(column="-3")", -1, -1},
      {R"(column="abc")", -1, -1},
      {R"(column="")", -1, -1},
      {R"(attrValueColumn1="")", -1, -1},
      {R"(column=" 12")", 11, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    CLCCRSDefinition definition;
    const std::string items = std::string(R"(<item id="A" parent="R" type="Normal" value="v" )") + c.attributes + "/>";
    ASSERT_TRUE(definition.CreateDefinitionFromText("CRS_OECD", 208, SingleReportDocument(items), false, Collector()));
    const CLCCRSDataDefineNode& item = *definition.GetReports()[0]->GetChildren().at(0);
    EXPECT_EQ(item.GetColumn(), c.column);
    EXPECT_EQ(item.GetAttrColumn(0), c.attrColumn);
    EXPECT_EQ(item.GetValue(), "v");
  }
}

TEST_F(DefinitionTest, AttributeWithoutColumnIsRejectedAtLoad) {
  for (const char* attributes : {R"(attr1="issuedBy")", R"(attr1="issuedBy" attrValueColumn1="0")",
                                 R"(attr1="a" attrValueColumn1="3" attr2="b")"}) {
    SCOPED_TRACE(attributes);
    ClearCollector();
    CLCCRSDefinition definition;
    const std::string items = std::string(R"(<item id="A" parent="R" type="Normal" column="2" )") + attributes + "/>";
    EXPECT_FALSE(definition.CreateDefinitionFromText("CRS_OECD", 208, SingleReportDocument(items), false, Collector()));
    EXPECT_EQ(RecordedErrors(), kFatalDocument);
  }
}

TEST_F(DefinitionTest, OnlyTheExactTextOneTurnsOnMilliseconds) {
  const std::pair<const char*, bool> cases[] = {{"1", true}, {"true", false}, {"01", false}, {"", false}};
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    CLCCRSDefinition definition;
    const std::string items = std::string(R"(<item id="Timestamp" parent="R" type="Timestamp" millisec=")") + text + "\"/>";
    ASSERT_TRUE(definition.CreateDefinitionFromText("CRS_OECD", 208, SingleReportDocument(items), false, Collector()));
    EXPECT_EQ(definition.GetReports()[0]->GetChildren().at(0)->GetMillisec(), expected);
  }
}

TEST_F(DefinitionTest, EmptyReportDoesNotEndTheDocument) {
  const std::string document = ConversionDocument(
      Report("A", R"(<item id="X" parent="A" type="Normal" column="2"/>)") + Report("Empty", "") +
      "<report reportId=\"Comment\"><!-- nothing here --></report>\r\n" +
      Report("C", R"(<item id="Y" parent="C" type="Normal" column="3"/>)") +
      Report("D", R"(<item id="Z" parent="D" type="Normal" column="4"/>)") + Report("E", ""));
  CLCCRSDefinition definition;
  ASSERT_TRUE(definition.CreateDefinitionFromText("CRS_OECD", 208, document, false, Collector()));
  const auto& reports = definition.GetReports();
  ASSERT_EQ(reports.size(), 6u);
  EXPECT_EQ(reports[1]->GetId(), "Empty");
  EXPECT_TRUE(reports[1]->GetChildren().empty());
  EXPECT_TRUE(reports[2]->GetChildren().empty());
  EXPECT_EQ(reports[3]->GetId(), "C");
  ASSERT_EQ(reports[3]->GetChildren().size(), 1u);
  EXPECT_EQ(reports[3]->GetChildren()[0]->GetColumn(), 2);
  ASSERT_EQ(reports[4]->GetChildren().size(), 1u);
}

TEST_F(DefinitionTest, ReportAttributesAreReadOnlyForTheExpectedRoot) {
  CLCCRSDefinition definition;
  std::string reports;
  for (int i = 0; i < 6; ++i) reports += Report("A", "", true);
  ASSERT_TRUE(definition.CreateDefinitionFromText("OTHER_ROOT", 208, ConversionDocument(reports), false, Collector()));
  ASSERT_EQ(definition.GetReports().size(), 6u);
  for (const auto& report : definition.GetReports()) {
    EXPECT_TRUE(report->GetId().empty());
    EXPECT_TRUE(report->GetDumyFlg().empty());
  }
}

TEST_F(DefinitionTest, ConversionDefinitionNeedsSixReports) {
  CLCCRSDefinition definition;
  const std::string document = ConversionDocument(
      Report("A", R"(<item id="X" parent="A" type="Normal" column="2"/>)") + Report("B", "") + Report("C", "") +
      Report("D", "") + Report("E", ""));
  EXPECT_FALSE(definition.CreateDefinitionFromText("CRS_OECD", 208, document, false, Collector()));
  EXPECT_EQ(RecordedErrors(), kFatalDocument);
}

TEST_F(DefinitionTest, UnknownResourceFailsAtTheFirstItem) {
  CLCCRSDefinition definition;
  EXPECT_FALSE(definition.CreateDefinitionFromText("CRS_OECD", 209, SingleReportDocument(""), false, Collector()));
  EXPECT_EQ(RecordedErrors(), kFatalDocument);
  CLCCRSDefinition missing;
  EXPECT_FALSE(missing.CreateDefinition("CRS_OECD", 204, false, Collector()));
  EXPECT_EQ(RecordedErrors(), kFatalDocument);
}

TEST_F(DefinitionTest, NullRootNameIsFatal) {
  CLCCRSDefinition definition;
  EXPECT_FALSE(definition.CreateDefinition(nullptr, 208, false, Collector()));
  EXPECT_EQ(RecordedErrors(), kFatalDocument);
}

TEST_F(DefinitionTest, ValidationItemWithoutRulesHasNoValidator) {
  const std::string document =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<CRSValidateDefine VR=\"2.0\">\r\n"
      "<report id=\"MessageSpecReportingFI\">\r\n"
      "<item id=\"A\" column=\"2\" type=\"Normal\"/>\r\n"
      "<item id=\"B\" column=\"3\" type=\"Normal\">\r\n\r\n</item>\r\n"
      "<item id=\"C\" column=\"4\" type=\"Normal\"><valid id=\"exist\"/><valid id=\"length\" max=\"3\"/></item>\r\n"
      "</report>\r\n</CRSValidateDefine>\r\n";
  CLCCRSDefinition definition;
  ASSERT_TRUE(definition.CreateDefinitionFromText("CRS_OECD", 207, document, true, Collector()));
  const auto& items = definition.GetReports().at(0)->GetChildren();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0]->GetValidator(), nullptr);
  // Whitespace alone counts as a child node: a validator with no rules.
  ASSERT_NE(items[1]->GetValidator(), nullptr);
  EXPECT_EQ(items[1]->GetValidator()->GetItemCount(), 0u);
  ASSERT_NE(items[2]->GetValidator(), nullptr);
  EXPECT_EQ(items[2]->GetValidator()->GetItemCount(), 2u);
}

TEST_F(DefinitionTest, WrongRuleParameterFailsTheLoadWithItsReason) {
  struct Case {
    const char* rules;   // the rules of item "DocRefId", column 3 of the second report
    const char* reason;  // what the kept reason must name
  };
  const Case cases[] = {
      {R"(<valid id="exist"/><valid id="charSet" value="Number"/>)",
       R"(item "DocRefId" (column 3), rule 2: charSet value "Number": no such character set)"},
      {R"(<valid id="length" max="abc"/>)", R"(rule 1: length max "abc": not a whole number)"},
      {R"(<valid id="length" value="-4"/>)", R"(rule 1: length value "-4": not a whole number)"},
      {R"(<valid id="length" min="5" max="3"/>)", R"(rule 1: length min "5" is above max "3")"},
      {R"(<valid id="length" min="5"/>)", "rule 1: length: neither value"},
      {R"(<valid id="codeCheck" value="Country"/>)", R"(rule 1: codeCheck value "Country": no such code list)"},
      {R"(<valid id="dateRange" min="someday"/>)", R"(rule 1: dateRange min "someday": not a date)"},
      {R"(<valid id="format" value="Date"/>)", R"(rule 1: format value "Date": no such format)"},
      {R"(<valid id="integrity" value="DocRefId"/>)", R"(rule 1: integrity value "DocRefId": no such mode)"},
      {R"(<valid id="contain" value="   "/>)", R"(rule 1: contain value "   ": the list holds no item)"},
      // A precondition's parameters are checked like its rule's.
      {R"(<valid id="notExist"><outer id="contain" column="3" value=""/></valid>)",
       R"(rule 1, precondition 1: contain value "": the list holds no item)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rules);
    ClearCollector();
    const std::string document =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<CRSValidateDefine VR=\"2.0\">\r\n"
        "<report id=\"MessageSpecReportingFI\"><item id=\"MessageRefId\" column=\"5\" type=\"Normal\">"
        "<valid id=\"exist\"/></item></report>\r\n"
        "<report id=\"AccountReport\"><item id=\"DocRefId\" column=\"3\" type=\"Normal\">" +
        std::string(c.rules) + "</item></report>\r\n</CRSValidateDefine>\r\n";
    CLCCRSDefinition definition;
    EXPECT_FALSE(definition.CreateDefinitionFromText("CRS_OECD", 207, document, true, Collector()));
    EXPECT_EQ(RecordedErrors(), kFatalDocument);
    const std::string& problem = definition.GetLoadProblem();
    EXPECT_EQ(problem.rfind("definition 207: report 2, ", 0), 0u) << problem;
    EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
  }
}

TEST_F(DefinitionTest, SharedLoadKeepsItsFailureAndIsTriedAgain) {
  // Fails twice, then loads; every caller of the process shares the outcome.
  std::atomic<int> loads{0};
  CLCSharedDefinition shared([&loads](std::string& problem) -> std::unique_ptr<const CLCCRSDefinition> {
    if (++loads <= 2) {
      problem = "attempt " + std::to_string(loads.load());
      return nullptr;
    }
    return std::make_unique<CLCCRSDefinition>();
  });
  EXPECT_EQ(shared.LoadProblem(), "");
  EXPECT_EQ(shared.Get(), nullptr);
  EXPECT_EQ(shared.LoadProblem(), "attempt 1");
  EXPECT_EQ(shared.Get(), nullptr);
  EXPECT_EQ(shared.LoadProblem(), "attempt 2");

  // Callers on several threads at once get the one definition of one load.
  std::vector<const CLCCRSDefinition*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < seen.size(); ++i) threads.emplace_back([&, i] { seen[i] = shared.Get(); });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(loads.load(), 3);
  ASSERT_NE(seen[0], nullptr);
  for (const CLCCRSDefinition* definition : seen) EXPECT_EQ(definition, seen[0]);
  EXPECT_EQ(shared.LoadProblem(), "");
}
