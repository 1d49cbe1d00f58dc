#include "csv/CLCCRSCRSReport.h"
#include "report/CLCCRSDataDefReport.h"
#include "report/CLCCRSDataDefineNode.h"
#include "csv/CLCCRSRecordData.h"
#include "DefinitionTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace quorvex::internal;

using namespace quorvex_test;

namespace {

constexpr std::size_t kColumns = 20;

struct Written {
  std::string text;
  bool success = true;
  std::string errors;
};

// Loads the items as report "R" of a conversion definition and writes its
// top-level items for one record holding the given columns, at the given time.
Written Write(const std::string& items, const std::map<std::size_t, std::string>& values,
              std::size_t columnCount = kColumns, const CLCLocalTime& now = kFixedTime) {
  ClearCollector();
  CLCCRSDefinition definition;
  if (!definition.CreateDefinitionFromText("CRS_OECD", 208, SingleReportDocument(items), false, Collector())) {
    ADD_FAILURE() << "definition did not load: " << RecordedErrors();
    return {};
  }
  CLCCRSRecordData record(Record("1", columnCount, values), 1);
  CLCCRSCRSReport list;
  list.AddRecord(&record);
  Written written;
  for (const auto& item : definition.GetReports()[0]->GetChildren()) {
    std::string text;
    written.success = item->WriteNode(&list, 0, now, text, Collector()).IsPassed();
    if (!written.success) break;
    written.text += text;
  }
  written.errors = RecordedErrors();
  return written;
}

struct Case {
  const char* fault;
  std::string items;
  std::map<std::size_t, std::string> values;
  std::string expected;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    const Written written = Write(c.items, c.values);
    EXPECT_TRUE(written.success);
    EXPECT_EQ(written.text, c.expected);
    EXPECT_EQ(written.errors, "");
  }
}

}  // namespace

TEST(DataDefWriterTest, ColumnValuesAreEscapedFixedValuesAreNot) {
  RunCases({
      {"column text escaped", R"(<item id="A" parent="R" type="Normal" column="2"/>)",
       {{2, "a&b<c>\"d\"'e'"}},
       "<crs:A>a&amp;b&lt;c&gt;&quot;d&quot;&apos;e&apos;</crs:A>"},
      {"fixed value raw", R"(<item id="A" parent="R" type="Normal" value="x&amp;y"/>)", {}, "<crs:A>x&y</crs:A>"},
      {"entity-looking text escaped once more", R"(<item id="A" parent="R" type="Normal" column="2"/>)",
       {{2, "&amp;"}},
       "<crs:A>&amp;amp;</crs:A>"},
      {"column wins over value", R"(<item id="A" parent="R" type="Normal" column="2" value="fixed"/>)",
       {{2, "col"}},
       "<crs:A>col</crs:A>"},
  });
}

TEST(DataDefWriterTest, ElementsWithNothingToSayAreLeftOut) {
  RunCases({
      {"empty value, no children", R"(<item id="A" parent="R" type="Normal" column="2"/>)", {}, ""},
      {"group with empty children",
       R"(<item id="G" parent="R" type="Normal"/><item id="A" parent="G" type="Normal" column="2"/>)", {}, ""},
      {"attributes alone do not make an element",
       R"(<item id="TIN" parent="R" type="Normal" column="2" attr1="issuedBy" attrValueColumn1="3"/>)",
       {{3, "JP"}},
       ""},
      {"required child missing although the element has a value",
       R"(<item id="A" parent="R" type="Normal" column="2" requiredChild="&lt;crs:B"/>)",
       {{2, "v"}},
       ""},
      {"required child missing among other children",
       R"(<item id="Address" parent="R" type="Normal" requiredChild="&lt;cfc:AddressFree&gt;"/>
          <item id="CountryCode" parent="Address" type="Normal" value="JP" nameSpace="cfc"/>
          <item id="AddressFree" parent="Address" type="Normal" column="2" nameSpace="cfc"/>)",
       {},
       ""},
      {"required child present",
       R"(<item id="Address" parent="R" type="Normal" requiredChild="&lt;cfc:AddressFree&gt;"/>
          <item id="CountryCode" parent="Address" type="Normal" value="JP" nameSpace="cfc"/>
          <item id="AddressFree" parent="Address" type="Normal" column="2" nameSpace="cfc"/>)",
       {{2, "Tokyo"}},
       "<crs:Address><cfc:CountryCode>JP</cfc:CountryCode><cfc:AddressFree>Tokyo</cfc:AddressFree></crs:Address>"},
      {"required start of tag matches a child with attributes",
       R"(<item id="Name" parent="R" type="Normal" requiredChild="&lt;crs:FirstName"/>
          <item id="FirstName" parent="Name" type="Normal" column="2" attr1="xnlNameType" attrValueColumn1="3"/>)",
       {{2, "Taro"}, {3, "given"}},
       "<crs:Name><crs:FirstName xnlNameType=\"given\">Taro</crs:FirstName></crs:Name>"},
      {"required child written by a grandchild",
       R"(<item id="Ind" parent="R" type="Normal" requiredChild="&lt;crs:FirstName"/>
          <item id="Name" parent="Ind" type="Normal"/>
          <item id="FirstName" parent="Name" type="Normal" column="2"/>)",
       {{2, "Taro"}},
       "<crs:Ind><crs:Name><crs:FirstName>Taro</crs:FirstName></crs:Name></crs:Ind>"},
      {"required child only in a later repeated group",
       R"(<item id="Org" parent="R" type="Normal" requiredChild="&lt;cfc:AddressFree&gt;"/>
          <item id="Address" parent="Org" type="Normal"/>
          <item id="AddressFree" parent="Address" type="Normal" column="2" nameSpace="cfc"/>
          <item id="Address" parent="Org" type="Normal"/>
          <item id="AddressFree" parent="Address" type="Normal" column="3" nameSpace="cfc"/>)",
       {{3, "Osaka"}},
       "<crs:Org><crs:Address><cfc:AddressFree>Osaka</cfc:AddressFree></crs:Address></crs:Org>"},
      {"required child written by a group of its own",
       R"(<item id="G" parent="R" type="Normal" requiredChild="&lt;crs:A&gt;"/>
          <item id="A" parent="G" type="Normal" column="4"/>
          <item id="B" parent="A" type="Normal" column="3"/>)",
       {{3, "b"}},
       "<crs:G><crs:A><crs:B>b</crs:B></crs:A></crs:G>"},
      {"required child found in a fixed value written as it is",
       R"(<item id="G" parent="R" type="Normal" requiredChild="&lt;cfc:X&gt;"/>
          <item id="C" parent="G" type="Normal" value="&lt;cfc:X&gt;"/>
          <item id="X" parent="G" type="Normal" column="2" nameSpace="cfc"/>)",
       {},
       "<crs:G><crs:C><cfc:X></crs:C></crs:G>"},
      {"required child from a split piece",
       R"(<item id="G" parent="R" type="Normal" requiredChild="&lt;crs:S&gt;"/>
          <item id="S" parent="G" type="Split" column="2"/>)",
       {{2, "/JP"}},
       "<crs:G><crs:S>JP</crs:S></crs:G>"},
      {"empty tag requested", R"(<item id="E" parent="R" type="Normal" column="2" emptyTag="1"/>)", {}, "<crs:E/>"},
      {"empty tag with attribute",
       R"(<item id="E" parent="R" type="Normal" column="2" emptyTag="1" attr1="a" attrValueColumn1="3"/>)",
       {{3, "x"}},
       "<crs:E a=\"x\"/>"},
  });
}

TEST(DataDefWriterTest, AttributeListShapes) {
  const std::string four =
      R"(<item id="AccountNumber" parent="R" type="Normal" column="2" attr1="AcctNumberType" attrValueColumn1="3"
          attr2="UndocumentedAccount" attrValueColumn2="4" attr3="ClosedAccount" attrValueColumn3="5"
          attr4="DormantAccount" attrValueColumn4="6"/>)";
  RunCases({
      {"one attribute",
       R"(<item id="A" parent="R" type="Normal" column="2" attr1="a" attrValueColumn1="3"/>)",
       {{2, "v"}, {3, "1"}},
       "<crs:A a=\"1\">v</crs:A>"},
      {"two attributes, one space between, none before the bracket",
       R"(<item id="IN" parent="R" type="Normal" column="2" attr1="issuedBy" attrValueColumn1="3" attr2="INType" attrValueColumn2="4"/>)",
       {{2, "123"}, {3, "JP"}, {4, "TIN"}},
       "<crs:IN issuedBy=\"JP\" INType=\"TIN\">123</crs:IN>"},
      {"empty attribute left out, sibling kept",
       R"(<item id="IN" parent="R" type="Normal" column="2" attr1="issuedBy" attrValueColumn1="3" attr2="INType" attrValueColumn2="4"/>)",
       {{2, "123"}, {4, "TIN"}},
       "<crs:IN INType=\"TIN\">123</crs:IN>"},
      {"all four",
       four,
       {{2, "N1"}, {3, "OECD601"}, {4, "false"}, {5, "true"}, {6, "false"}},
       "<crs:AccountNumber AcctNumberType=\"OECD601\" UndocumentedAccount=\"false\" ClosedAccount=\"true\" "
       "DormantAccount=\"false\">N1</crs:AccountNumber>"},
      {"all four empty gives a plain start tag", four, {{2, "N1"}}, "<crs:AccountNumber>N1</crs:AccountNumber>"},
      {"attr1 and attr3 without attr2 gives no attributes",
       R"(<item id="A" parent="R" type="Normal" column="2" attr1="a" attrValueColumn1="3" attr3="c" attrValueColumn3="5"/>)",
       {{2, "v"}, {3, "1"}, {5, "3"}},
       "<crs:A>v</crs:A>"},
      {"three attributes is no shape",
       R"(<item id="A" parent="R" type="Normal" column="2" attr1="a" attrValueColumn1="3" attr2="b" attrValueColumn2="4" attr3="c" attrValueColumn3="5"/>)",
       {{2, "v"}, {3, "1"}, {4, "2"}, {5, "3"}},
       "<crs:A>v</crs:A>"},
      {"attribute value escaped",
       R"(<item id="A" parent="R" type="Normal" column="2" attr1="a" attrValueColumn1="3"/>)",
       {{2, "v"}, {3, "x\" y=\"1&<'>"}},
       "<crs:A a=\"x&quot; y=&quot;1&amp;&lt;&apos;&gt;\">v</crs:A>"},
      {"namespace with attributes keeps one prefix",
       R"(<item id="A" parent="R" type="Normal" column="2" nameSpace="stf" attr1="a" attrValueColumn1="3"/>)",
       {{2, "v"}, {3, "1"}},
       "<stf:A a=\"1\">v</stf:A>"},
      {"namespace alone",
       R"(<item id="DocRefId" parent="R" type="Normal" column="2" nameSpace="stf"/>)",
       {{2, "JP-1"}},
       "<stf:DocRefId>JP-1</stf:DocRefId>"},
  });
}

TEST(DataDefWriterTest, LongEscapedAttributeIsWrittenWhole) {
  // 46 ampersands pass the length check and escape to 230 characters.
  const std::string ampersands(46, '&');
  std::string escaped;
  for (int i = 0; i < 46; ++i) escaped += "&amp;";
  const Written written =
      Write(R"(<item id="FirstName" parent="R" type="Normal" column="2" attr1="xnlNameType" attrValueColumn1="3"/>)",
            {{2, "Taro"}, {3, ampersands}});
  EXPECT_TRUE(written.success);
  const std::string expected = "<crs:FirstName xnlNameType=\"" + escaped + "\">Taro</crs:FirstName>";
  EXPECT_GT(expected.find('>'), 256u);
  EXPECT_EQ(written.text, expected);
}

TEST(DataDefWriterTest, SplitWritesOneElementPerPiece) {
  const std::string split = R"(<item id="ResCountryCode" parent="R" type="Split" column="2"/>)";
  RunCases({
      {"doubled and trailing slash", split, {{2, "JP//US/"}},
       "<crs:ResCountryCode>JP</crs:ResCountryCode><crs:ResCountryCode>US</crs:ResCountryCode>"},
      {"single slash gives nothing", split, {{2, "/"}}, ""},
      {"no slash gives one", split, {{2, "JP"}}, "<crs:ResCountryCode>JP</crs:ResCountryCode>"},
      {"leading slash", split, {{2, "/JP"}}, "<crs:ResCountryCode>JP</crs:ResCountryCode>"},
      {"empty gives nothing", split, {}, ""},
      {"pieces escaped", split, {{2, "A&B/<C>"}},
       "<crs:ResCountryCode>A&amp;B</crs:ResCountryCode><crs:ResCountryCode>&lt;C&gt;</crs:ResCountryCode>"},
      {"children repeated per piece",
       R"(<item id="S" parent="R" type="Split" column="2"/><item id="C" parent="S" type="Normal" value="k"/>)",
       {{2, "a/b"}},
       "<crs:S>a<crs:C>k</crs:C></crs:S><crs:S>b<crs:C>k</crs:C></crs:S>"},
      {"children without a value give no piece",
       R"(<item id="S" parent="R" type="Split" column="2"/><item id="C" parent="S" type="Normal" value="k"/>)", {}, ""},
  });
}

TEST(DataDefWriterTest, TimestampWritesTheGivenTimeOnlyWhenItExists) {
  const std::string plain = R"(<item id="Timestamp" parent="R" type="Timestamp" column="2" value="x"/>)";
  const std::string millis = R"(<item id="Timestamp" parent="R" type="Timestamp" millisec="1"/>)";
  struct TimeCase {
    const char* fault;
    const std::string& items;
    CLCLocalTime now;
    const char* expected;  // null: refused as a fatal error
  };
  const TimeCase cases[] = {
      {"column or value written instead of the time", plain, kFixedTime,
       "<crs:Timestamp>2024-04-01T09:30:15</crs:Timestamp>"},
      {"milliseconds lost or unpadded", millis, {2024, 12, 31, 23, 59, 59, 7},
       "<crs:Timestamp>2024-12-31T23:59:59.007</crs:Timestamp>"},
      {"leap day refused", millis, {2024, 2, 29, 0, 0, 0, 0}, "<crs:Timestamp>2024-02-29T00:00:00.000</crs:Timestamp>"},
      {"unread clock written as year 0", plain, {}, nullptr},
      {"day past the month's end written", plain, {2023, 2, 29, 0, 0, 0, 0}, nullptr},
      {"hour 24 written", plain, {2024, 4, 1, 24, 0, 0, 0}, nullptr},
      {"negative field written", plain, {2024, 4, 1, 9, -1, 0, 0}, nullptr},
      {"millisecond past 999 written", millis, {2024, 4, 1, 9, 30, 15, 1000}, nullptr},
  };
  for (const TimeCase& c : cases) {
    SCOPED_TRACE(c.fault);
    const Written written = Write(c.items, {{2, "v"}}, kColumns, c.now);
    EXPECT_EQ(written.success, c.expected != nullptr);
    EXPECT_EQ(written.text, c.expected != nullptr ? c.expected : "");
    EXPECT_EQ(written.errors, c.expected != nullptr ? "" : kFatalDocument);
  }
}

TEST(DataDefWriterTest, MissingColumnFailsInsteadOfReadingPastTheRecord) {
  const char* cases[] = {
      R"(<item id="A" parent="R" type="Normal" column="30"/>)",
      R"(<item id="A" parent="R" type="Normal" column="2" attr1="a" attrValueColumn1="30"/>)",
      R"(<item id="A" parent="R" type="Split" column="30"/>)",
      // A failing child empties its whole group.
      R"(<item id="G" parent="R" type="Normal" value="g"/><item id="B" parent="G" type="Normal" value="b"/>
         <item id="A" parent="G" type="Normal" column="30"/>)",
      // Elements that write nothing (an empty column, a group without its
      // required child) still need every column they would read.
      R"(<item id="E" parent="R" type="Normal" column="3" attr1="a" attrValueColumn1="30"/>)",
      R"(<item id="G" parent="R" type="Normal" requiredChild="&lt;crs:A"/><item id="A" parent="G" type="Normal" column="3"/>
         <item id="B" parent="G" type="Normal" column="4" attr1="b" attrValueColumn1="30"/>)",
  };
  for (const char* items : cases) {
    SCOPED_TRACE(items);
    const Written written = Write(items, {{2, "v"}});
    EXPECT_FALSE(written.success);
    EXPECT_EQ(written.text, "");
    EXPECT_EQ(written.errors, kFatalDocument);
  }
}

TEST(DataDefWriterTest, EveryWriterRefusesAMissingRecordList) {
  ClearCollector();
  CLCCRSDefinition definition;
  ASSERT_TRUE(definition.CreateDefinitionFromText(
      "CRS_OECD", 208,
      SingleReportDocument(R"(<item id="A" parent="R" type="Normal" value="a"/>
                              <item id="S" parent="R" type="Split" value="x/y"/>
                              <item id="T" parent="R" type="Timestamp"/>)"),
      false, Collector()));
  for (const auto& item : definition.GetReports()[0]->GetChildren()) {
    std::string text = "left over";
    EXPECT_TRUE(item->WriteNode(nullptr, 0, kFixedTime, text, Collector()).IsFatal()) << item->GetId();
    EXPECT_EQ(text, "");
    EXPECT_EQ(RecordedErrors(), kFatalDocument);
  }
}

TEST(DataDefWriterTest, ReportWrapsEachRecordAndSkipsSilentOnes) {
  ClearCollector();
  CLCCRSDefinition definition;
  ASSERT_TRUE(definition.CreateDefinitionFromText(
      "CRS_OECD", 208, SingleReportDocument(R"(<item id="A" parent="R" type="Normal" column="2"/>)"), false,
      Collector()));
  CLCCRSRecordData first(Record("1", kColumns, {{2, "one"}}), 1);
  CLCCRSRecordData silent(Record("1", kColumns), 2);
  CLCCRSRecordData third(Record("1", kColumns, {{2, "three"}}), 3);
  CLCCRSCRSReport list;
  list.AddRecord(&first);
  list.AddRecord(&silent);
  list.AddRecord(&third);
  CLCCRSDataDefReport& report = *definition.GetReports()[0];
  std::string text;
  EXPECT_TRUE(report.WriteNode(&list, kFixedTime, text, Collector()).IsPassed());
  EXPECT_EQ(text, "<crs:R><crs:A>one</crs:A></crs:R><crs:R><crs:A>three</crs:A></crs:R>");
  EXPECT_TRUE(report.WriteNode(&list, 1, kFixedTime, text, Collector()).IsPassed());
  EXPECT_EQ(text, "");
  EXPECT_TRUE(report.WriteNode(&list, 2, kFixedTime, text, Collector()).IsPassed());
  EXPECT_EQ(text, "<crs:R><crs:A>three</crs:A></crs:R>");
  EXPECT_TRUE(report.WriteNode(nullptr, kFixedTime, text, Collector()).IsFatal());
  EXPECT_EQ(text, "");
  EXPECT_EQ(RecordedErrors(), kFatalDocument);
}
