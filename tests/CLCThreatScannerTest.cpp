// The threat scan reads a message in pieces of any size, as a file streams in:
// every split gives the findings of the whole text.
#include "validate/CLCThreatScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using quorvex::internal::CLCThreatScanner;

std::string Findings(const std::string& text, std::size_t piece) {
  std::string out;
  CLCThreatScanner scanner([&](CLCValidationFinding&& f) {
    out += f.path + "@" + std::to_string(f.line) + ":" + std::to_string(f.column) + " ";
  });
  for (std::size_t at = 0; at < text.size(); at += piece) {
    scanner.Feed(text.data() + at, std::min(piece, text.size() - at));
  }
  return out;
}

TEST(ThreatScanner, EveryPieceSizeFindsWhatTheWholeTextShows) {
  struct Case {
    const char* name;
    std::string text;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"clean", "<?xml version=\"1.0\"?><a x=\"1-2\"><b>-/ &amp; #</b></a>", ""},
      {"each pattern once per run", "<a><b>x--y--z/*&#13;</b></a>", "/a/b@1:8 /a/b@1:14 /a/b@1:16 "},
      {"attribute value", "<a><b k=\"v--\" m='/*'/></a>", "/a/b/@k@1:11 /a/b/@m@1:18 "},
      {"CDATA is data, comments and instructions are not",
       "<a><!-- -- /* --><?pi --?><![CDATA[ok]]]><b><![CDATA[a--b]]></b></a>", "/a/b@1:55 "},
      {"positions across CRLF and wide characters", "<a>\r\n\xE3\x81\x82\xF0\x9F\x98\x80--</a>", "/a@2:4 "},
      {"a pattern split by markup is none", "<a>-<!-- c -->-</a>", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Findings(c.text, c.text.size()), c.expected);
    for (std::size_t piece : {1u, 2u, 3u, 7u}) EXPECT_EQ(Findings(c.text, piece), c.expected) << piece;
  }
}

}  // namespace
