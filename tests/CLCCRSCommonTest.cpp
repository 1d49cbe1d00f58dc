// The platform services' table of cases, run against whichever system body is
// built; the few POSIX-only cases are marked. The date parser is also pinned to
// ICU's strict calendar parse by CLCDateTextIcuTest.
#include "CLCCRSCommon.h"
#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXDom.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace quorvex::internal;

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

// True when text has the shape, where '#' in the shape stands for any digit.
bool HasShape(const std::string& text, const std::string& shape) {
  if (text.size() != shape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool ok = shape[i] == '#' ? (text[i] >= '0' && text[i] <= '9') : text[i] == shape[i];
    if (!ok) return false;
  }
  return true;
}

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(StringTrim, RemovesWhiteSpaceAtBothEndsOnly) {
  struct Case {
    const char* input;
    const char* expected;
  } cases[] = {
      {"\xE3\x80\x80" "abc" "\xE3\x80\x80", "abc"},  // full-width spaces
      {" \t\r\n", ""},
      {"\f\vabc\v\f", "abc"},
      {"a b", "a b"},
      {"  a\xE3\x80\x80" "b  ", "a\xE3\x80\x80" "b"},  // inner full-width space stays
      {"\xC2\xA0x\xC2\xA0", "x"},                        // no-break space
      {"", ""},
      {"\xE3\x81\x82", "\xE3\x81\x82"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CLCCRSCommon::StringTrim(c.input), c.expected) << c.input;
  }
}

TEST(StringTrim, NullGivesEmptyAndInvalidUtf8StaysUnchanged) {
  EXPECT_EQ(CLCCRSCommon::StringTrim(nullptr), "");
  const char* invalid = " \x82\xA0 ";
  EXPECT_EQ(CLCCRSCommon::StringTrim(invalid), invalid);
}

TEST(ConvEntityRefs, EscapesFiveCharactersAndAppends) {
  std::string out = "x";
  CLCCRSCommon::ConvEntityRefs("a<b&\"'>c", 8, out);
  EXPECT_EQ(out, "xa&lt;b&amp;&quot;&apos;&gt;c");

  std::string untouched = "keep";
  CLCCRSCommon::ConvEntityRefs("a<b", 0, untouched);
  EXPECT_EQ(untouched, "keep");

  std::string prefix;
  CLCCRSCommon::ConvEntityRefs("&amp;rest", 5, prefix);  // only the length given is visited
  EXPECT_EQ(prefix, "&amp;amp;");
}

// The writers escape NUL-terminated column text; it must come out as the
// counted form gives it, in element text and in attribute values alike.
TEST(ConvEntityRefs, TerminatedTextEscapesAsCountedText) {
  const char* texts[] = {"", "plain", "a<b&\"'>c", "&&", "<", "end>", "a\r\nb\rc\td\ne", "\xE3\x81\x82&\xE3\x81\x84"};
  for (const char* text : texts) {
    for (const bool attribute : {false, true}) {
      std::string counted = "x";
      CLCCRSCommon::ConvEntityRefs(text, std::strlen(text), counted, attribute);
      std::string terminated = "x";
      CLCCRSCommon::ConvEntityRefs(text, terminated, attribute);
      EXPECT_EQ(terminated, counted) << text << (attribute ? " (attribute)" : "");
    }
  }
  std::string untouched = "keep";
  CLCCRSCommon::ConvEntityRefs(nullptr, untouched);
  EXPECT_EQ(untouched, "keep");
}

// A parser reads a raw CR as LF, and tab or LF in an attribute as a space: the
// escaped value must read back exactly as it was.
TEST(ConvEntityRefs, ValuesWithLineBreaksAndTabsReadBackExactly) {
  const std::string value = "a\r\nb\rc\td\ne";
  std::string text;
  CLCCRSCommon::ConvEntityRefs(value.data(), value.size(), text);
  EXPECT_EQ(text, "a&#13;\nb&#13;c\td\ne");  // element content needs only CR escaped

  std::string document = "<r a=\"";
  CLCCRSCommon::ConvEntityRefs(value.data(), value.size(), document, true);
  document += "\"/>";
  CLCValidResult result;
  CLCXDom dom(result);
  ASSERT_TRUE(dom.Initialize());
  ASSERT_TRUE(dom.Parse(document.c_str(), "CRS", "UTF-8"));
  EXPECT_EQ(dom.GetAttribute("a"), value);
}

TEST(DateTimeComp, ComparesGregorianAndJapaneseInstants) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {"2016-12-31", "2017/01/01", 2},
      {"2017/01/01", "2016-12-31", 1},
      {"2016.12.31", "2016-12-31", 0},
      {"2023-02-30", "2023-02-28", -1},  // no such day
      {"2023-02-28", "abc", -2},
      {"2016-12-31x", "2016-12-31", -1},  // trailing text
      {"2016-12-31 ", "2016-12-31", -1},  // trailing space, no time part
      {"", "2016-12-31", -1},
      {nullptr, "2016-12-31", -1},
      {"2016-12-31", nullptr, -2},
      {"平成28年12月31日", "2016-12-31", 0},
      {"令和元年05月01日", "2019-05-01", 0},
      {"昭和64年01月07日", "平成元年01月08日", 2},  // the day before the era changed
      {"平成40/01/01", "2028-01-01", 0},          // an era's years run on past the next era
      {"平成00/01/01", "2016-12-31", -1},
      {"平成２８年１２月３１日", "2016-12-31", 0},  // full-width digits
      {"明治05/12/02", "1872-12-02", 0},
      {"1582/10/04", "1582/10/15", 2},  // the Julian calendar before the reform
      {"1500/02/29", "1500/03/01", 2},
      {"2016/1/1", "2016-01-01", -1},  // strict: every field in full
      {"2016-12-31 10:00:01", "2016-12-31 10:00:00", 1},
      {"2016-12-31 25:00:00", "2016-12-31", -1},
      {"2016-12-31 10:00", "2016-12-31", -1},  // a colon asks for the whole time
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CLCCRSCommon::dateTimeComp(c.a, c.b), c.expected)
        << (c.a ? c.a : "null") << " vs " << (c.b ? c.b : "null");
  }
}

TEST(DateTimeChange, ColonSelectsThePatternWithTime) {
  EXPECT_TRUE(CLCCRSCommon::dateTimeChange("2016-12-31 10:00:00"));
  EXPECT_TRUE(CLCCRSCommon::dateTimeChange("2016/12/31"));
  EXPECT_FALSE(CLCCRSCommon::dateTimeChange("2016/13/01"));
  EXPECT_FALSE(CLCCRSCommon::dateTimeChange("平成28年12月31日 余分"));
}

TEST(Now, CombinesDateAndTimePatterns) {
  EXPECT_EQ(CLCCRSCommon::Now(nullptr, nullptr), "");
  EXPECT_EQ(CLCCRSCommon::Now("", ""), "");
  const struct {
    const char* date;
    const char* time;
    const char* shape;
  } cases[] = {
      {"yyyy'-'MM'-'dd", nullptr, "####-##-##"},
      {"yyyy'-'MM'-'dd", "HH':'mm':'ss", "####-##-## ##:##:##"},
      {nullptr, "'T'HH':'mm':'ss'.'SSS", "T##:##:##.###"},
      {"", "HH':'mm':'ss", "##:##:##"},
      {"'_KVR_QUORVEX_'yyyyMMdd'.log'", nullptr, "_KVR_QUORVEX_########.log"},
  };
  for (const auto& c : cases) {
    const std::string now = CLCCRSCommon::Now(c.date, c.time);
    EXPECT_TRUE(HasShape(now, c.shape)) << now;
  }
}

TEST(LoadResoucePath, GivesCompiledDocumentsOnlyForKnownIdentifiers) {
  EXPECT_EQ(CLCCRSCommon::LoadResoucePath(204, "DEFINITION"), "");
  EXPECT_EQ(CLCCRSCommon::LoadResoucePath(209, "DEFINITION"), "");
  EXPECT_EQ(CLCCRSCommon::LoadResoucePath(205, "definition"), "");
  EXPECT_EQ(CLCCRSCommon::LoadResoucePath(205, nullptr), "");
  const std::pair<unsigned short, const char*> documents[] = {
      {205, "CRSValidateDefine.xml"},
      {206, "CRSDataConvDefine.xml"},
      {207, "CRSValidateDefine_2.0.xml"},
      {208, "CRSDataConvDefine_2.0.xml"},
  };
  for (const auto& [id, name] : documents) {
    // The library embeds what the source tree held when it was built.
    const std::string source = std::string(QUORVEX_SOURCE_DIR) + "/definitions/" + name;
    const std::string expected = std::filesystem::exists(source) ? ReadBytes(source) : "";
    EXPECT_EQ(CLCCRSCommon::LoadResoucePath(id, "DEFINITION"), expected) << id;
  }
}

TEST(GetFileSize, MissingIsMinusOne) {
  TempDir dir;
  EXPECT_EQ(CLCCRSCommon::GetFileSize(dir.file("missing").c_str()), -1);
  WriteBytes(dir.file("empty"), "");
  EXPECT_EQ(CLCCRSCommon::GetFileSize(dir.file("empty").c_str()), 0);
  WriteBytes(dir.file("five"), "12345");
  EXPECT_EQ(CLCCRSCommon::GetFileSize(dir.file("five").c_str()), 5);
  EXPECT_EQ(CLCCRSCommon::GetFileSize(nullptr), -1);
}

TEST(ReadCsvFileData, DecodesWindows31JAndMarksWhatIsNot) {
  TempDir dir;
  const std::string text = "1,あいう,ｱｲｳ,①\\~\r\n";  // half-width kana and an NEC special
  WriteBytes(dir.file("ok.csv"), "1,\x82\xA0\x82\xA2\x82\xA4,\xB1\xB2\xB3,\x87\x40\\~\r\n");
  EXPECT_EQ(CLCCRSCommon::ReadCsvFileData(dir.file("ok.csv").c_str()), text);

  WriteBytes(dir.file("nul.csv"), std::string("a\0b", 3));
  EXPECT_EQ(CLCCRSCommon::ReadCsvFileData(dir.file("nul.csv").c_str()), std::string("a\0b", 3));

  // Each sequence that is not Shift_JIS becomes one U+FFFD; what follows is kept.
  const std::pair<std::string, std::string> marked[] = {
      {"ab\x80" "c", "ab\uFFFDc"},
      {"ab\x82", "ab\uFFFD"},          // lead byte at the end
      {"\x82\x2C" "c", "\uFFFD,c"},     // a comma is never swallowed as a trail byte
      {"\x85\x40", "\uFFFD"},          // well-formed but unmapped pair
      {"\xFD\xFE\xFF", "\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto& [bytes, decoded] : marked) {
    WriteBytes(dir.file("bad.csv"), bytes);
    EXPECT_EQ(CLCCRSCommon::ReadCsvFileData(dir.file("bad.csv").c_str()), decoded) << decoded;
  }
  WriteBytes(dir.file("empty.csv"), "");
  EXPECT_EQ(CLCCRSCommon::ReadCsvFileData(dir.file("empty.csv").c_str()), "");
  EXPECT_EQ(CLCCRSCommon::ReadCsvFileData(dir.file("missing.csv").c_str()), "");
  EXPECT_EQ(CLCCRSCommon::ReadCsvFileData(dir.path().c_str()), "");  // a folder
}

// Every system's body reads Shift_JIS as code page 932 does. ICU's converter
// once turned 0x1A, 0x1C and 0x7F into U+001C, U+007F and U+001A on Linux only.
TEST(ShiftJisToUtf8, ReadsAsCodePage932) {
  const std::pair<std::string, std::string> cases[] = {
      {"\x1A\x1C\x7F", "\x1A\x1C\x7F"},
      {"C:\\dir~", "C:\\dir~"},                                 // backslash, not yen; tilde, not overline
      {"\x87\x40\x87\x54", "\u2460\u2160"},                      // NEC row 13
      {"\xED\x40\xFA\x40\xFA\x55", "\u7E8A\u2170\uFFE4"},        // NEC-selected and IBM extensions
      {"\x81\x60\x81\x61\x81\x7C", "\uFF5E\u2225\uFF0D"},        // not JIS X 0208's U+301C U+2016 U+2212
      {"\xF0\x40\xF9\xFC", "\uE000\uE757"},                      // user-defined area
      {"abcdefg\x82\xA0hijklmnop\x87", "abcdefg\u3042hijklmnop\uFFFD"},
      {"\x81\x7F" "a", "\uFFFD\x7F" "a"},                        // 0x7F is no trail byte
      {"\x82\r\n", "\uFFFD\r\n"},
      {"\x80\xA0", "\uFFFD\uFFFD"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(CLCCRSCommon::ShiftJisToUtf8(bytes), text) << text;
  // Half-width kana grow threefold, past the room first set aside.
  std::string kana;
  for (int i = 0; i < 1000; ++i) kana += "\uFF71";
  EXPECT_EQ(CLCCRSCommon::ShiftJisToUtf8(std::string(1000, '\xB1')), kana);
}

TEST(ReadFileData, RefusesIllFormedUtf8) {
  TempDir dir;
  WriteBytes(dir.file("ok.xml"), "<a>\xE3\x81\x82\xF0\xA0\x80\x8B</a>");
  EXPECT_EQ(CLCCRSCommon::ReadFileData(dir.file("ok.xml").c_str()), "<a>\xE3\x81\x82\xF0\xA0\x80\x8B</a>");
  const std::pair<const char*, std::string> refused[] = {
      {"overlong slash", "a\xC0\xAF"},
      {"surrogate", "a\xED\xA0\x80"},
      {"past U+10FFFF", "a\xF4\x90\x80\x80"},
      {"truncated", "a\xE3\x81"},
      {"stray trail byte", "\x81" "a"},
      {"Shift_JIS", "\x82\xA0"},
  };
  for (const auto& [name, bytes] : refused) {
    WriteBytes(dir.file("bad.xml"), bytes);
    EXPECT_EQ(CLCCRSCommon::ReadFileData(dir.file("bad.xml").c_str()), "") << name;
  }
}

TEST(WriteFileData, ReplacesLongerFileExactly) {
  TempDir dir;
  const std::string target = dir.file("out.xml");
  WriteBytes(target, std::string(1000, 'x'));
#ifndef _WIN32
  ::chmod(target.c_str(), 0640);
#endif
  ASSERT_TRUE(CLCCRSCommon::WriteFileData(target.c_str(), "<a/>"));
  EXPECT_EQ(ReadBytes(target), "<a/>");
#ifndef _WIN32
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);  // a replaced file keeps its permissions
#endif
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"out.xml"});
}

TEST(WriteFileData, CreatesNewFileAndLeavesNoTemporary) {
  TempDir dir;
  const std::string target = dir.file("new.xml");
  const std::string text = "\xE3\x81\x82<b/>";
  ASSERT_TRUE(CLCCRSCommon::WriteFileData(target.c_str(), text));
  EXPECT_EQ(ReadBytes(target), text);
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"new.xml"});
}

TEST(WriteFileData, FailureLeavesNothingBehind) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("folder"));
  EXPECT_FALSE(CLCCRSCommon::WriteFileData(dir.file("folder").c_str(), "<a/>"));
  EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
  EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"folder"});
  EXPECT_FALSE(CLCCRSCommon::WriteFileData(dir.file("missing/out.xml").c_str(), "<a/>"));
  EXPECT_FALSE(CLCCRSCommon::WriteFileData("", "<a/>"));
  EXPECT_FALSE(CLCCRSCommon::WriteFileData(nullptr, "<a/>"));
}

TEST(PathProbes, FoldersAreNotFiles) {
  TempDir dir;
  WriteBytes(dir.file("a.csv"), "x");
  EXPECT_TRUE(CLCCRSCommon::PathFileExists(dir.file("a.csv").c_str()));
  EXPECT_FALSE(CLCCRSCommon::PathFileExists(dir.path().c_str()));
  EXPECT_FALSE(CLCCRSCommon::PathFileExists(dir.file("b.csv").c_str()));
  EXPECT_FALSE(CLCCRSCommon::PathFileExists(nullptr));

  EXPECT_TRUE(CLCCRSCommon::PathFileIsRead(dir.file("a.csv").c_str()));
  EXPECT_FALSE(CLCCRSCommon::PathFileIsRead(dir.file("b.csv").c_str()));
#ifndef _WIN32
  if (::geteuid() != 0) {  // root reads anything
    ::chmod(dir.file("a.csv").c_str(), 0);
    EXPECT_FALSE(CLCCRSCommon::PathFileIsRead(dir.file("a.csv").c_str()));
  }
#endif
}

TEST(PathDirectoryExists, TestsTheFolderPart) {
  TempDir dir;
  WriteBytes(dir.file("a.csv"), "x");
  struct Case {
    std::string path;
    bool expected;
  } cases[] = {
      {dir.file("out.xml"), true},
      {"out.xml", true},  // no folder part: the current folder
      {"/out.xml", true},
      {dir.file("missing/out.xml"), false},
      {dir.file("a.csv/out.xml"), false},  // a file is no folder
      {dir.path() + "//out.xml", true},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CLCCRSCommon::PathDirectoryExists(c.path.c_str()), c.expected) << c.path;
  }
  EXPECT_FALSE(CLCCRSCommon::PathDirectoryExists(nullptr));
}

TEST(CreatePathDirectory, MakesTheMissingFoldersOfAPath) {
  TempDir dir;
  WriteBytes(dir.file("a.csv"), "x");
  struct Case {
    std::string path;
    bool expected;
    std::string folder;  // that must exist afterwards
  } cases[] = {
      {dir.file("one/two/three/h.sqlite3"), true, dir.file("one/two/three")},
      {dir.file("one/two/other.sqlite3"), true, dir.file("one/two")},  // exists already
      {dir.file("h.sqlite3"), true, dir.path()},
      {dir.file("a.csv/h.sqlite3"), false, ""},  // a file is in the way
      {"", false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CLCCRSCommon::CreatePathDirectory(c.path.c_str()), c.expected) << c.path;
    if (!c.folder.empty()) {
      EXPECT_TRUE(CLCCRSCommon::PathDirectoryExists((c.folder + "/x").c_str())) << c.folder;
    }
  }
  EXPECT_FALSE(CLCCRSCommon::CreatePathDirectory(nullptr));
}

TEST(GetCharacterLength, CountsUtf16Units) {
  struct Case {
    const char* text;
    long expected;
  } cases[] = {
      {"ＡＢＣ", 3}, {"abc", 3}, {"", 0}, {"ｱｲ", 2}, {"\xF0\xA0\x80\x8B", 2},  // outside the BMP
      {"a\xE3\x81", 0}, {nullptr, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CLCCRSCommon::getCharacterLength(c.text), c.expected) << (c.text ? c.text : "null");
  }
}

TEST(AppendFilePath, JoinsWithExactlyOneSeparator) {
  struct Case {
    const char* folder;
    const char* name;
    const char* expected;
  } cases[] = {
      {"/home/u", "x.log", "/home/u/x.log"}, {"/home/u/", "x.log", "/home/u/x.log"},
      {"/home/u", "/x.log", "/home/u/x.log"}, {"/", "x.log", "/x.log"},
      {"/home/u", nullptr, "/home/u"},        {"", "x.log", "x.log"},
      {nullptr, "x.log", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CLCCRSCommon::appendFilePath(c.folder, c.name), c.expected);
  }
}

#ifndef _WIN32
TEST(HomeDirectory, FollowsHomeVariable) {
  const char* saved = std::getenv("HOME");
  const std::string previous = saved ? saved : "";
  ::setenv("HOME", "/tmp/quorvex-home", 1);
  EXPECT_EQ(CLCCRSCommon::homeDirectory(), "/tmp/quorvex-home");
  ::unsetenv("HOME");
  EXPECT_FALSE(CLCCRSCommon::homeDirectory().empty());  // from the user database
  if (saved) ::setenv("HOME", previous.c_str(), 1);
}
#endif

}  // namespace
