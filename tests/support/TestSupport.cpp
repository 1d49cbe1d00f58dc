#include "TestSupport.h"

#include "diagnostics/CLCValidResult.h"

#include <unicode/ucnv.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>

using namespace quorvex::internal;

namespace quorvex_test {

CLCValidResult& Collector() {
  static CLCValidResult collector;
  return collector;
}

std::string TakeRecorded() { return TakeRecorded(Collector()); }

std::string TakeRecorded(CLCValidResult& collector) {
  std::string document = collector.MakeResult();
  collector.ClearResult();
  return document;
}

TempDir::TempDir() {
  // create_directory fails on an existing entry, so a free name is claimed atomically.
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate = std::filesystem::temp_directory_path() / ("quorvex-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      m_path = candidate.string();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
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
