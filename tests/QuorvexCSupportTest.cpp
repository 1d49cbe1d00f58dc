// The C interface's services for hosts: the blank test agrees with what the
// operations take as not entered, and the writer replaces a file whole or
// leaves it as it was.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
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

TEST(QuorvexCSupport, WriteFileReplacesWholeOrLeavesTheTargetAlone) {
  const std::string bytes("new\0bytes\r\n", 11);
  struct Case {
    const char* label;
    std::string path;  // relative to the folder; "" for a null path
    const char* data;
    std::size_t size;
    int result;
    std::string after;  // the target's bytes afterwards; "-" for none
  };
  TempDir dir;
  WriteBytes(dir.file("old.txt"), "old contents, longer than the new ones");
  WriteBytes(dir.file("kept.txt"), "kept");
  std::filesystem::create_directory(dir.file("folder"));
  const Case cases[] = {
      {"new file", "new.txt", bytes.data(), bytes.size(), 1, bytes},
      {"replaced file", "old.txt", bytes.data(), bytes.size(), 1, bytes},
      {"empty data", "empty.txt", nullptr, 0, 1, ""},
      {"null data with a size", "kept.txt", nullptr, 3, 0, "kept"},
      {"a folder", "folder", bytes.data(), bytes.size(), 0, "-"},
      {"missing folder", "missing/new.txt", bytes.data(), bytes.size(), 0, "-"},
      {"null path", "", bytes.data(), bytes.size(), 0, "-"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file(c.path);
    EXPECT_EQ(quorvex_write_file(c.path.empty() ? nullptr : path.c_str(), c.data, c.size), c.result) << c.label;
    if (c.after != "-") {
      EXPECT_EQ(ReadBytes(path), c.after) << c.label;
    }
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.insert(entry.path().filename());
  EXPECT_EQ(names, (std::set<std::string>{"empty.txt", "folder", "kept.txt", "new.txt", "old.txt"}))
      << "a temporary file was left behind";
}

}  // namespace
