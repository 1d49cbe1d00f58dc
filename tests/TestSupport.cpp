#include "TestSupport.h"

#include "CLCValidResult.h"

#include <unicode/ucnv.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace quorvex_test {

CLCValidResult& Collector() {
  static CLCValidResult collector;
  return collector;
}

std::string TakeRecorded() {
  std::string document = Collector().MakeResult();
  Collector().ClearResult();
  return document;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvex-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string CsvText(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i != 0) text += ',';
      text += '"';
      for (char c : row[i]) {
        if (c == '"') text += '"';
        text += c;
      }
      text += '"';
    }
    text += "\r\n";
  }
  return text;
}

std::string ToShiftJis(const std::string& utf8) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open("windows-31j", &status),
                                                                &ucnv_close);
  if (U_FAILURE(status)) throw std::runtime_error("no windows-31j converter");
  std::string out(utf8.size() * 2 + 16, '\0');
  status = U_ZERO_ERROR;
  int32_t n = ucnv_convert("windows-31j", "UTF-8", out.data(), static_cast<int32_t>(out.size()),
                           utf8.data(), static_cast<int32_t>(utf8.size()), &status);
  if (U_FAILURE(status)) throw std::runtime_error("cannot encode as Shift_JIS");
  out.resize(static_cast<std::size_t>(n));
  return out;
}

}  // namespace quorvex_test
