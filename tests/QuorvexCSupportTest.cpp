// The C interface's services for hosts: the blank test agrees with what the
// operations take as not entered, and the writer takes bytes by size.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

#include "CLCCsvConvDataCRS.h"
#include "quorvex.h"

namespace {

using quorvex_test::ReadBytes;
using quorvex_test::TempDir;
using quorvex_test::WriteBytes;

TEST(QuorvexCSupport, BlankIsWhatTheOperationsTakeAsNotEntered) {
  struct Case {
    const char* text;
    int blank;
  };
  const Case cases[] = {
      {nullptr, 1},          {"", 1},       {" \t\r\n\f\v", 1},   {"\xe3\x80\x80", 1} /* U+3000 */,
      {"\xc2\xa0 ", 1} /* U+00A0 */,        {" 2023 ", 0},         {"\xe3\x80\x80x", 0},
      {"\xff ", 0} /* not UTF-8: not trimmed */,
  };
  const std::string sample = std::string(QUORVEX_SOURCE_DIR) + "/samples/crs-sample-2.0.csv";
  CLCCsvConvDataCRS facade;
  for (const Case& c : cases) {
    const std::string label = c.text != nullptr ? c.text : "(null)";
    EXPECT_EQ(quorvex_is_blank(c.text), c.blank) << label;
    // The year argument not entered is the operation's own verdict.
    const std::string detail = facade.CRSCsvCheck2(sample.c_str(), c.text)->getDetailErrorInfo();
    EXPECT_EQ(detail.find("99999-0000002-HE40001E") != std::string::npos, c.blank == 1) << label << ": " << detail;
  }
}

// The writer itself is the platform's (CLCCRSCommonTest); here: sizes, not
// NUL-terminated text, and null arguments.
TEST(QuorvexCSupport, WriteFileTakesBytesBySizeAndRefusesNullArguments) {
  const std::string bytes("new\0bytes\r\n", 11);
  struct Case {
    const char* label;
    const char* name;  // in the folder; null for a null path
    const char* data;
    std::size_t size;
    int result;
    std::string after;  // the target's bytes afterwards
  };
  TempDir dir;
  WriteBytes(dir.file("old.txt"), "old contents, longer than the new ones");
  const Case cases[] = {
      {"replaced file", "old.txt", bytes.data(), bytes.size(), 1, bytes},
      {"null data with a size", "old.txt", nullptr, 3, 0, bytes},
      {"empty data", "empty.txt", nullptr, 0, 1, ""},
      {"null path", nullptr, bytes.data(), bytes.size(), 0, ""},
  };
  for (const Case& c : cases) {
    const std::string path = c.name != nullptr ? dir.file(c.name) : std::string();
    EXPECT_EQ(quorvex_write_file(c.name != nullptr ? path.c_str() : nullptr, c.data, c.size), c.result) << c.label;
    if (c.name != nullptr) {
      EXPECT_EQ(ReadBytes(path), c.after) << c.label;
    }
  }
}

}  // namespace
