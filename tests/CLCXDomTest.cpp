#include "CLCCRSCommon.h"
#include "diagnostics/CLCDebugDump.h"
#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXDom.h"
#include "xml/CLCXPlatform.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using namespace quorvex::internal;

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;
using quorvex_test::ToShiftJis;
using quorvex_test::WriteBytes;

constexpr const char* kFatalOnly = "00000-0000000-HE40000E";

// Shaped like the definition documents: declaration, then the root element,
// every item written with an empty line inside.
const char* const kDefinition =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
    "<CRSValidateDefine>\r\n"
    "  <!-- record kinds -->\r\n"
    "  <report kind=\"1\" label=\"報告\">\r\n"
    "    <item name=\"a\" tag=\"&lt;cfc:AddressFree&gt;\" empty=\"\">\r\n"
    "\r\n"
    "    </item>\r\n"
    "    <!-- between -->\r\n"
    "    <item name=\"b\"/>\r\n"
    "    text after the last element\r\n"
    "  </report>\r\n"
    "</CRSValidateDefine>\r\n";

class CLCXDomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dom.Initialize());
  }
  void PlantError() { m_result.SetResult(CRSMSG_NOT_ENTERED, 5, 3, -1); }
  // The detail error document recorded so far; empties the collector.
  std::string Recorded() { return quorvex_test::TakeRecorded(m_result); }

  CLCValidResult m_result;
  CLCXDom m_dom{m_result};
};

TEST_F(CLCXDomTest, CursorSkipsNonElementsAndClimbsToDocument) {
  const std::string sjis = ToShiftJis(kDefinition);
  ASSERT_TRUE(m_dom.Parse(sjis.c_str(), "Quorvex", "Shift_JIS"));
  EXPECT_EQ(m_dom.GetNodeName(), "CRSValidateDefine");

  ASSERT_EQ(m_dom.MoveFirstChild(), 0);  // over whitespace and the comment
  EXPECT_EQ(m_dom.GetNodeName(), "report");
  EXPECT_EQ(m_dom.GetAttribute("kind"), "1");
  EXPECT_EQ(m_dom.GetAttribute("label"), "報告");

  ASSERT_EQ(m_dom.MoveFirstChild(), 0);
  EXPECT_EQ(m_dom.GetAttribute("name"), "a");
  EXPECT_EQ(m_dom.GetAttribute("tag"), "<cfc:AddressFree>");
  EXPECT_EQ(m_dom.GetAttribute("empty"), "");
  EXPECT_EQ(m_dom.GetAttribute("absent"), "");
  EXPECT_EQ(m_dom.GetAttribute(nullptr), "");
  EXPECT_TRUE(m_dom.HasChild());           // whitespace text counts
  EXPECT_EQ(m_dom.MoveFirstChild(), -1);   // but is no element
  EXPECT_EQ(m_dom.GetAttribute("name"), "a");

  ASSERT_EQ(m_dom.MoveNextSibling(), 0);  // over text and a comment
  EXPECT_EQ(m_dom.GetAttribute("name"), "b");
  EXPECT_FALSE(m_dom.HasChild());
  EXPECT_EQ(m_dom.MoveNextSibling(), -1);  // trailing text is skipped, cursor stays
  EXPECT_EQ(m_dom.GetAttribute("name"), "b");

  ASSERT_EQ(m_dom.MoveParent(), 0);
  EXPECT_EQ(m_dom.GetNodeName(), "report");
  ASSERT_EQ(m_dom.MoveParent(), 0);
  EXPECT_EQ(m_dom.GetNodeName(), "CRSValidateDefine");
  ASSERT_EQ(m_dom.MoveParent(), 0);  // the document node
  EXPECT_EQ(m_dom.GetNodeName(), "#document");
  EXPECT_EQ(m_dom.GetAttribute("kind"), "");
  EXPECT_EQ(m_dom.MoveParent(), -1);
  EXPECT_EQ(m_dom.GetNodeName(), "#document");
  EXPECT_EQ(m_result.GetCount(), 0u);
}

TEST_F(CLCXDomTest, ForcedEncodingOverridesDeclaration) {
  // Shift_JIS bytes whose declaration claims UTF-8 are read as Shift_JIS.
  const std::string sjis = ToShiftJis("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r a=\"日本\"/>");
  ASSERT_TRUE(m_dom.Parse(sjis.c_str(), "Quorvex", "Shift_JIS"));
  EXPECT_EQ(m_dom.GetAttribute("a"), "日本");
}

TEST_F(CLCXDomTest, CursorStartsOnRootAfterCommentOrDoctype) {
  ASSERT_TRUE(m_dom.Parse("<!-- c --><!DOCTYPE r><?pi x?><r a=\"1\"/>", "Quorvex", "UTF-8"));
  EXPECT_EQ(m_dom.GetNodeName(), "r");
}

TEST_F(CLCXDomTest, MalformedDocumentGivesOneFatalEntryAndPositionInLog) {
  TempDir home;
  const char* savedHome = std::getenv("HOME");
  const std::string previous = savedHome ? savedHome : "";
  ::setenv("HOME", home.path().c_str(), 1);
  ::setenv(CLCDebugDump::SwitchVariable(), "1", 1);
  CLCDebugDump::InitDebugDump();

  PlantError();
  EXPECT_FALSE(m_dom.Parse("<r>\n<a></b>\n</r>", "Quorvex", "UTF-8"));
  EXPECT_EQ(Recorded(), kFatalOnly);
  EXPECT_EQ(m_dom.GetNodeName(), "");  // no half-built document to walk
  EXPECT_EQ(m_dom.MoveFirstChild(), -1);
  const std::string log = ReadBytes(CLCDebugDump::GetOutputPath());
  ::setenv("HOME", previous.c_str(), 1);
  EXPECT_NE(log.find("CLCXDom::Parse--\n想定しないエラーが発生しました。\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" (行番号: 2, 列番号: "), std::string::npos) << log;

  ASSERT_TRUE(m_dom.Parse("<ok/>", "Quorvex", "UTF-8"));  // ready again
  EXPECT_EQ(m_dom.GetNodeName(), "ok");
}

TEST_F(CLCXDomTest, EachParseReplacesTheDocument) {
  ASSERT_TRUE(m_dom.Parse("<first><x/></first>", "Quorvex", "UTF-8"));
  ASSERT_EQ(m_dom.MoveFirstChild(), 0);
  ASSERT_TRUE(m_dom.Parse("<second/>", "Quorvex", "UTF-8"));
  EXPECT_EQ(m_dom.GetNodeName(), "second");
}

TEST_F(CLCXDomTest, ParsesFileByPath) {
  TempDir dir;
  const std::string path = dir.file("定義.xml");  // non-ASCII path
  WriteBytes(path, ToShiftJis(kDefinition));
  ASSERT_TRUE(m_dom.Parse(path.c_str()));
  EXPECT_EQ(m_dom.GetNodeName(), "CRSValidateDefine");
  ASSERT_EQ(m_dom.MoveFirstChild(), 0);
  EXPECT_EQ(m_dom.GetAttribute("label"), "報告");  // declared encoding honoured

  PlantError();
  EXPECT_FALSE(m_dom.Parse(dir.file("missing.xml").c_str()));
  EXPECT_EQ(Recorded(), kFatalOnly);
}

TEST_F(CLCXDomTest, UnusableParserOrArgumentsAreFatal) {
  CLCXDom uninitialised(m_result);
  PlantError();
  EXPECT_FALSE(uninitialised.Parse("<a/>", "Quorvex", "UTF-8"));
  EXPECT_EQ(Recorded(), kFatalOnly);
  EXPECT_EQ(uninitialised.GetNodeName(), "");
  EXPECT_FALSE(uninitialised.HasChild());
  EXPECT_EQ(uninitialised.MoveParent(), -1);
  EXPECT_EQ(uninitialised.MoveNextSibling(), -1);

  const char* const arguments[][3] = {
      {nullptr, "Quorvex", "UTF-8"}, {"<a/>", nullptr, "UTF-8"}, {"<a/>", "Quorvex", nullptr}};
  for (const auto& a : arguments) {
    PlantError();
    EXPECT_FALSE(m_dom.Parse(a[0], a[1], a[2]));
    EXPECT_EQ(Recorded(), kFatalOnly);
  }
  PlantError();
  EXPECT_FALSE(m_dom.Parse(static_cast<const char*>(nullptr)));
  EXPECT_EQ(Recorded(), kFatalOnly);
}

// A wrongly counted platform would be torn down under the adapter still alive.
TEST_F(CLCXDomTest, PlatformStaysUpWhileAnotherAdapterLives) {
  {
    CLCXDom other(m_result);
    ASSERT_TRUE(other.Initialize());
    ASSERT_TRUE(other.Initialize());  // one parser, one platform reference
    other.Terminate();
    other.Terminate();
  }
  ASSERT_TRUE(m_dom.Parse("<still><alive/></still>", "Quorvex", "UTF-8"));
  ASSERT_EQ(m_dom.MoveFirstChild(), 0);
  EXPECT_EQ(m_dom.GetNodeName(), "alive");
}

TEST_F(CLCXDomTest, ExternalEntityIsNotRead) {
  TempDir dir;
  WriteBytes(dir.file("secret.txt"), "TOPSECRET");
  const std::string document = "<!DOCTYPE r [<!ENTITY e SYSTEM \"file://" + dir.file("secret.txt") +
                               "\">]><r>&e;</r>";
  ASSERT_TRUE(m_dom.Parse(document.c_str(), "Quorvex", "UTF-8"));
  EXPECT_EQ(m_dom.GetNodeName(), "r");
  EXPECT_FALSE(m_dom.HasChild());  // the entity's text never arrived
  // An external DTD is not exercised here: the DOM builder of Xerces-C 3.2.4
  // leaks a little on every document that names one, which fails sanitizer runs.
}

TEST_F(CLCXDomTest, CompiledDefinitionsParseAsShiftJis) {
  const std::pair<unsigned short, const char*> documents[] = {
      {205, "CRSValidateDefine"}, {206, "CRSDataConvDefine"},
      {207, "CRSValidateDefine"}, {208, "CRSDataConvDefine"}};
  for (const auto& [id, root] : documents) {
    const std::string text = CLCCRSCommon::LoadResoucePath(id, "DEFINITION");
    if (text.empty()) continue;  // not in the source tree when the library was built
    ASSERT_TRUE(m_dom.Parse(text.c_str(), "Quorvex", "Shift_JIS")) << id;
    EXPECT_EQ(m_dom.GetNodeName(), root) << id;
    EXPECT_EQ(m_dom.MoveFirstChild(), 0) << id;
  }
}

// Strings cross to the parser and back unchanged, ASCII or not.
TEST_F(CLCXDomTest, TextRoundTripsThroughTheParserForm) {
  const std::vector<std::pair<std::string, std::u16string>> cases = {
      {"", u""},
      {"id", u"id"},
      {"\x7f~", u"\x7f~"},
      {"caf\xc3\xa9", u"caf\u00e9"},
      {"\xe5\xa0\xb1\xe5\x91\x8a x", u"\u5831\u544a x"},
  };
  for (const auto& [utf8, utf16] : cases) {
    const CharToXMLCh parserForm(utf8.c_str());
    const XMLCh* units = parserForm.str();
    EXPECT_EQ(std::u16string(units, units + std::char_traits<XMLCh>::length(units)), utf16) << utf8;
    EXPECT_EQ(XMLChToChar(parserForm.str()), utf8);
  }
}

}  // namespace
