#pragma once
#include "CLCLocalTime.h"

#include <string>
#include <vector>

namespace quorvex::internal {
class CLCValidResult;
}

namespace quorvex_test {

// The collector the suites hand to the parts they test (one per test program:
// its tests run one after another).
quorvex::internal::CLCValidResult& Collector();
// The detail error document of what the collector holds; empties the collector.
std::string TakeRecorded();
// The same for a collector of the test's own.
std::string TakeRecorded(quorvex::internal::CLCValidResult& collector);

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  // Path of a file inside the folder.
  std::string file(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// The clock of the tests that compare whole documents: 2024-04-01 09:30:15.250.
inline constexpr CLCLocalTime kFixedTime{2024, 4, 1, 9, 30, 15, 250};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
// CSV text of the rows, every column quoted (doubled quotes inside), CR LF line ends.
std::string CsvText(const std::vector<std::vector<std::string>>& rows);
// UTF-8 text encoded as Shift_JIS (Windows-31J).
std::string ToShiftJis(const std::string& utf8);

}  // namespace quorvex_test
