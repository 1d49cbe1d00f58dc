#include "rules/CLCCRSValidator.h"
#include "xml/CLCXDom.h"
#include "TestSupport.h"
#include "ValidTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quorvex::internal;

using namespace quorvex_valid_test;

namespace {

class Validator : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearCollector();
    m_file = Csv({
        Record("1", 45, {{5, "JP2024NAMEx001"}}),
        Record("4", 5, {{2, "abcd"}, {3, "OECD2"}}),  // line 2
        Record("4", 5, {{2, ""}, {3, "OECD1"}}),      // line 3
        Record("4", 5, {{2, "12"}, {3, "x"}}),        // line 4
    });
    ASSERT_NE(m_file, nullptr);
  }
  void TearDown() override { ClearCollector(); }

  // Loads the rules of `item` (an `item` element with id "Under") at the
  // zero-based item column, and checks that the cursor is back on the item.
  bool Load(const std::string& item, long column = 1) {
    m_document = "<?xml version=\"1.0\"?>\n<CRSValidateDefine VR=\"2.0\">\n <report id=\"R\" columnNum=\"5\">\n  " +
                 item + "\n  <item id=\"Next\" column=\"3\"/>\n </report>\n</CRSValidateDefine>\n";
    m_dom = std::make_unique<CLCXDom>(Collector());
    EXPECT_TRUE(m_dom->Initialize());
    EXPECT_TRUE(m_dom->Parse(m_document.c_str(), "Quorvex", "UTF-8"));
    EXPECT_EQ(m_dom->GetNodeName(), "CRSValidateDefine");
    EXPECT_EQ(m_dom->MoveFirstChild(), 0);
    EXPECT_EQ(m_dom->MoveFirstChild(), 0);
    EXPECT_EQ(m_dom->GetAttribute("id"), "Under");
    const bool built = m_validator.Initialize(column, m_dom.get(), Collector());
    EXPECT_EQ(m_dom->GetNodeName(), "item");
    EXPECT_EQ(m_dom->GetAttribute("id"), "Under");
    EXPECT_EQ(m_dom->MoveNextSibling(), 0);
    EXPECT_EQ(m_dom->GetAttribute("id"), "Next");
    return built;
  }

  // Runs the loaded item over every payment record; the recorded document.
  std::string RunAll(std::vector<int>* results = nullptr) {
    for (long record = 1; record < m_file->GetRecordCount(); ++record) {
      const int result = m_validator.ValidateCsv(*m_file, record, -1, Collector()).Message();
      if (results != nullptr) results->push_back(result);
    }
    return Recorded();
  }

  std::unique_ptr<CLCCRSCsvCRSReport> m_file;
  std::string m_document;
  std::unique_ptr<CLCXDom> m_dom;
  CLCCRSValidator m_validator;
};

// ---- built-in argument tables ---------------------------------------------

TEST_F(Validator, ArgumentTablesStopAtTheFirstError) {
  quorvex_test::TempDir dir;
  quorvex_test::WriteBytes(dir.file("empty.CSV"), "");
  for (const char* name : {"full.csv", "full.TXT", "full.xml"}) quorvex_test::WriteBytes(dir.file(name), "x");
  struct Case {
    CLCArgValid_t kind;
    std::string value;
    long position;
    int expected;
    std::string document;
  };
  const std::vector<Case> cases = {
      {ARGVALID_CSV_PATH, "", 1, 2, "99999-0000001-HE40001E"},  // extension and file rules never run
      {ARGVALID_CSV_PATH, dir.file("data.pdf"), 1, 4, "99999-0000001-HE40003E"},
      {ARGVALID_CSV_PATH, dir.file("missing.csv"), 1, 5, "99999-0000001-HE40004E"},
      {ARGVALID_CSV_PATH, dir.file("empty.CSV"), 1, 6, "99999-0000001-HE40005E"},
      {ARGVALID_CSV_PATH, dir.file("full.csv"), 1, 0, ""},
      {ARGVALID_CSV_PATH, dir.file("full.TXT"), 1, 0, ""},
      {ARGVALID_CSV_PATH, dir.file("full.xml"), 1, 4, "99999-0000001-HE40003E"},
      {ARGVALID_OUTPUT_PATH, "", 2, 0, ""},
      {ARGVALID_OUTPUT_PATH, dir.file("out.xml"), 2, 0, ""},
      {ARGVALID_OUTPUT_PATH, dir.file("none/out.xml"), 2, 9, "99999-0000002-HE40008E"},
      {ARGVALID_XML_PATH, "", 1, 2, "99999-0000001-HE40001E"},
      {ARGVALID_XML_PATH, dir.file("full.csv"), 1, 4, "99999-0000001-HE40003E"},
      {ARGVALID_XML_PATH, dir.file("missing.XML"), 1, 5, "99999-0000001-HE40004E"},
      {ARGVALID_XML_PATH, dir.file("full.xml"), 1, 0, ""},
      {ARGVALID_NENBUN, "2024", 2, 0, ""},
      {ARGVALID_NENBUN, "", 2, 2, "99999-0000002-HE40001E"},
      {ARGVALID_NENBUN, "20a8", 2, 28, "99999-0000002-HE40027E"},
      {ARGVALID_NENBUN, "201", 2, 8, "99999-0000002-HE40007E"},  // length runs before the character set
      {ARGVALID_NENBUN, "20245", 2, 8, "99999-0000002-HE40007E"},
  };
  for (const auto& c : cases) {
    CLCCRSValidator validator;
    ASSERT_TRUE(validator.Initialize(c.kind, Collector())) << c.kind;
    EXPECT_EQ(validator.Validate(c.value.c_str(), 99999, c.position, Collector()).Message(), c.expected)
        << c.kind << " " << c.value;
    EXPECT_EQ(Recorded(), c.document) << c.kind << " " << c.value;
  }
}

TEST_F(Validator, ArgumentTablesHaveTheirRuleCounts) {
  const std::vector<std::pair<CLCArgValid_t, std::size_t>> counts = {
      {ARGVALID_CSV_PATH, 3}, {ARGVALID_OUTPUT_PATH, 1}, {ARGVALID_XML_PATH, 3}, {ARGVALID_NENBUN, 3}};
  CLCCRSValidator validator;
  for (const auto& [kind, count] : counts) {
    ASSERT_TRUE(validator.Initialize(kind, Collector()));
    EXPECT_EQ(validator.GetItemCount(), count) << kind;  // re-initialising starts afresh
  }
}

TEST_F(Validator, ArgumentKindOutsideTheTablesIsFatal) {
  for (const int kind : {0, 5, -1}) {
    CLCCRSValidator validator;
    EXPECT_FALSE(validator.Initialize(static_cast<CLCArgValid_t>(kind), Collector()));
    EXPECT_EQ(validator.GetItemCount(), 0u);
    EXPECT_EQ(Recorded(), kFatal) << kind;
  }
}

// ---- rules of a definition item ---------------------------------------------

TEST_F(Validator, ItemWithOnlyCommentsHasNoRules) {
  EXPECT_TRUE(Load("<item id=\"Under\" column=\"2\">\n\n  <!-- nothing yet -->\n  </item>"));
  EXPECT_EQ(m_validator.GetItemCount(), 0u);
  EXPECT_EQ(RunAll(), "");
  EXPECT_TRUE(Load("<item id=\"Under\" column=\"2\"/>"));
  EXPECT_EQ(m_validator.GetItemCount(), 0u);
}

TEST_F(Validator, FirstFailingRuleEndsTheItem) {
  ASSERT_TRUE(Load("<item id=\"Under\"><valid id=\"length\" value=\"2\"/><valid id=\"charSet\" value=\"number\"/>"
                   "</item>"));
  std::vector<int> results;
  // "abcd" fails both rules but records only the first; "" fails the length; "12" passes.
  EXPECT_EQ(RunAll(&results), "00002-0000002-HE40007E,00003-0000002-HE40007E");
  EXPECT_EQ(results, (std::vector<int>{8, 8, 0}));
}

TEST_F(Validator, RuleSkippedByItsPreconditionLetsTheNextRuleRun) {
  ASSERT_TRUE(Load("<item id=\"Under\"><valid id=\"notExist\"><outer id=\"contain\" column=\"3\" value=\"OECD3\"/>"
                   "</valid><valid id=\"charSet\" value=\"number\"/></item>"));
  EXPECT_EQ(RunAll(), "00002-0000002-HE40027E");
}

TEST_F(Validator, MessageIdIsLookedUpExactly) {
  ASSERT_TRUE(Load("<item id=\"Under\"><valid id=\"contain\" value=\"12\" messageId=\"HE40028E\"/></item>"));
  EXPECT_EQ(RunAll(), "00002-0000002-HE40028E,00003-0000002-HE40028E");
  for (const char* code : {"he40028e", "HE99999E", "HE40028E "}) {
    ASSERT_TRUE(Load(std::string("<item id=\"Under\"><valid id=\"contain\" value=\"12\" messageId=\"") + code +
                     "\"/></item>"));
    EXPECT_EQ(RunAll(), "00002-0000002-HE40009E,00003-0000002-HE40009E") << code;
  }
}

TEST_F(Validator, ColumnAndAssistAttributesOfARule) {
  struct Case {
    const char* attributes;
    std::string document;
  };
  const std::vector<Case> cases = {
      {"column=\"3\"", "00002-0000003-HE40002E,00003-0000003-HE40002E,00004-0000003-HE40002E"},
      {"column=\" +3\"", "00002-0000003-HE40002E,00003-0000003-HE40002E,00004-0000003-HE40002E"},
      {"column=\"0\"", "00002-0000002-HE40002E,00004-0000002-HE40002E"},
      {"column=\"-3\"", "00002-0000002-HE40002E,00004-0000002-HE40002E"},
      {"column=\"x3\"", "00002-0000002-HE40002E,00004-0000002-HE40002E"},
      {"assist=\"7\"", "00002-002:007-HE40002E,00004-002:007-HE40002E"},
      {"assist=\"0\"", "00002-0000002-HE40002E,00004-0000002-HE40002E"},
      {"column=\"3\" assist=\"12abc\"", "00002-003:012-HE40002E,00003-003:012-HE40002E,00004-003:012-HE40002E"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Load(std::string("<item id=\"Under\"><valid id=\"notExist\" ") + c.attributes + "/></item>"));
    EXPECT_EQ(RunAll(), c.document) << c.attributes;
  }
}

TEST_F(Validator, OuterElementsGateTheirRule) {
  struct Case {
    const char* outers;
    std::string document;
  };
  const std::vector<Case> cases = {
      // Column 3 holds OECD2, OECD1, x on the three payment records.
      {"<outer id=\"contain\" column=\"3\" value=\"OECD2 OECD3\"/>", "00002-0000002-HE40002E"},
      {"<outer id=\"contain\" value=\"nothing\"/>", "00002-0000002-HE40002E,00004-0000002-HE40002E"},  // no column
      {"<outer id=\"contain\" column=\"0\" value=\"nothing\"/>", "00002-0000002-HE40002E,00004-0000002-HE40002E"},
      {"<outer id=\"exist\" column=\"3\"/><outer id=\"contain\" column=\"2\" value=\"12\"/>",
       "00004-0000002-HE40002E"},
      {"<outer id=\"exist\" column=\"3\"/><outer id=\"contain\" column=\"3\" value=\"OECD1\"/>", ""},
      {"<note/><outer id=\"contain\" column=\"3\" value=\"x\"/><!-- c --><valid id=\"exist\"/>",
       "00004-0000002-HE40002E"},  // other children are skipped
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Load(std::string("<item id=\"Under\"><valid id=\"notExist\">") + c.outers + "</valid></item>"));
    EXPECT_EQ(RunAll(), c.document) << c.outers;
  }
}

TEST_F(Validator, ChildrenOtherThanValidAreSkipped) {
  ASSERT_TRUE(Load("<item id=\"Under\"><note id=\"exist\"/><valid id=\"notExist\"/><outer id=\"exist\"/></item>"));
  EXPECT_EQ(m_validator.GetItemCount(), 1u);
  EXPECT_EQ(RunAll(), "00002-0000002-HE40002E,00004-0000002-HE40002E");
}

TEST_F(Validator, UnknownRuleIdFailsTheLoadWithTheFatalEntry) {
  EXPECT_FALSE(Load("<item id=\"Under\"><valid id=\"notExist\"/><valid id=\"Exist\"/><valid id=\"exist\"/></item>"));
  EXPECT_EQ(Recorded(), kFatal);
  EXPECT_FALSE(Load("<item id=\"Under\"><valid id=\"exist\"><outer id=\"exists\" column=\"2\"/></valid></item>"));
  EXPECT_EQ(Recorded(), kFatal);
  EXPECT_FALSE(Load("<item id=\"Under\"><valid value=\"x\"/></item>"));
  EXPECT_EQ(Recorded(), kFatal);
}

TEST_F(Validator, DefinitionErrorsInParametersAreFatalWhenTheRulesRun) {
  for (const char* rule : {"<valid id=\"charSet\" value=\"Number\"/>", "<valid id=\"format\" value=\"Date\"/>",
                           "<valid id=\"codeCheck\" value=\"Country\"/>", "<valid id=\"length\" min=\"3\"/>",
                           "<valid id=\"contain\"/>", "<valid id=\"integrity\" value=\"DocRefId\"/>"}) {
    ASSERT_TRUE(Load(std::string("<item id=\"Under\">") + rule + "</item>")) << rule;
    EXPECT_EQ(Recorded(), "");
    Collector().SetResult(CRSMSG_INVALID, 2, 2, -1);
    EXPECT_EQ(m_validator.ValidateCsv(*m_file, 1, -1, Collector()).Message(), 1) << rule;
    EXPECT_EQ(Recorded(), kFatal) << rule;
  }
}

TEST_F(Validator, PreconditionOnAColumnTheRecordLacksIsFatal) {
  ASSERT_TRUE(Load("<item id=\"Under\"><valid id=\"exist\"><outer id=\"exist\" column=\"6\"/></valid></item>"));
  EXPECT_EQ(m_validator.ValidateCsv(*m_file, 1, -1, Collector()).Message(), 1);
  EXPECT_EQ(Recorded(), kFatal);
}

// An item is skipped only where running its rules would pass and record
// nothing: its column empty (column 2 of the payment records holds "abcd", ""
// and "12") or absent (the records have 5 columns).
TEST_F(Validator, ItemsAreSkippedOnlyWhereTheirRulesWouldPass) {
  struct Case {
    const char* rules;
    long column;
    std::vector<bool> skipped;
    std::string document;
  };
  const std::vector<Case> cases = {
      {"<valid id=\"notExist\"/>", 1, {false, true, false}, "00002-0000002-HE40002E,00004-0000002-HE40002E"},
      {"<valid id=\"notExist\"/>", 6, {true, true, true}, ""},
      {"<valid id=\"notExist\"/><valid id=\"length\" max=\"3\"><outer id=\"exist\" column=\"2\"/></valid>", 1,
       {false, true, false}, "00002-0000002-HE40002E,00004-0000002-HE40002E"},
      {"<valid id=\"length\" max=\"3\"><outer id=\"exist\" column=\"7\"/></valid>", 6, {false, false, false},
       kFatal},
      {"<valid id=\"notExist\"><outer id=\"contain\" column=\"3\" value=\"x\"/></valid>", 1,
       {false, false, false}, "00004-0000002-HE40002E"},
      {"<valid id=\"exist\"/>", 1, {false, false, false}, "00003-0000002-HE40001E"},
      // The first precondition finds column 2 empty before the second looks past the record.
      {"<valid id=\"exist\"><outer id=\"exist\" column=\"2\"/><outer id=\"exist\" column=\"9\"/></valid>", 1,
       {false, true, false}, kFatal},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Load(std::string("<item id=\"Under\">") + c.rules + "</item>", c.column)) << c.rules;
    std::vector<bool> skipped;
    for (long record = 1; record < m_file->GetRecordCount(); ++record) {
      skipped.push_back(m_validator.SkipsRecord(*m_file->GetRecord(record)));
    }
    EXPECT_EQ(skipped, c.skipped) << c.rules;
    EXPECT_EQ(RunAll(), c.document) << c.rules;
  }
  // On the record whose column 2 is empty, preconditions are looked at in
  // order: the empty column ends them unless one past the record comes first.
  const std::vector<std::pair<const char*, int>> orders = {{"2\"/><outer id=\"exist\" column=\"9", 0},
                                                           {"9\"/><outer id=\"exist\" column=\"2", 1}};
  for (const auto& [columns, message] : orders) {
    ASSERT_TRUE(Load(std::string("<item id=\"Under\"><valid id=\"exist\"><outer id=\"exist\" column=\"") + columns +
                         "\"/></valid></item>",
                     2));
    EXPECT_EQ(m_validator.ValidateCsv(*m_file, 2, -1, Collector()).Message(), message) << columns;
    EXPECT_EQ(Recorded(), message == 0 ? "" : kFatal) << columns;
  }
}

TEST_F(Validator, IntegrityRulesReadTheFileTheyValidate) {
  ASSERT_TRUE(Load("<item id=\"Under\"><valid id=\"integrity\" value=\"DocRefId_B\"/></item>"));
  // Column 2 holds no identifier built on JP2024NAMEx001 on any record.
  EXPECT_EQ(RunAll(), "00002-0000002-HE40009E,00003-0000002-HE40009E,00004-0000002-HE40009E");
}

TEST_F(Validator, ValidateWithoutRulesPasses) {
  CLCCRSValidator validator;
  EXPECT_EQ(validator.Validate(nullptr, 99999, 1, Collector()).Message(), 0);
  EXPECT_EQ(validator.ValidateCsv(*m_file, 1, -1, Collector()).Message(), 0);
  EXPECT_EQ(Recorded(), "");
}

}  // namespace
