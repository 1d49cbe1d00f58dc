#include "csv/CLCCRSCsvFile.h"

#include "CLCCRSCommon.h"
#include "csv/CLCCRSRecordData.h"
#include "diagnostics/CLCValidResult.h"

#include <new>

namespace quorvex::internal {

CLCCRSCsvFile::CLCCRSCsvFile(CLCValidResult& result) : m_result(result) {}

CLCCRSCsvFile::~CLCCRSCsvFile() = default;

bool CLCCRSCsvFile::ReadFile(const char* path) {
  if (path == nullptr) {
    CRS_FATAL(m_result);
    return false;
  }
  // The size is what the open file yields, never more than one byte past the
  // limit, so a file that grows while it is read cannot slip through.
  std::string bytes;
  if (!CLCCRSCommon::ReadFileBytes(path, bytes, kMaxFileSize)) {
    CRS_FATAL(m_result);
    return false;
  }
  std::string text;
  const bool decoded = Decode(bytes, text);
  // Released now (assigning an empty string would keep the capacity): the
  // records built next need the room.
  std::string().swap(bytes);
  return decoded && Load(text);
}

bool CLCCRSCsvFile::ReadBuffer(std::string_view bytes) {
  std::string text;
  return Decode(bytes, text) && Load(text);
}

bool CLCCRSCsvFile::Decode(std::string_view bytes, std::string& text) {
  if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
    m_result.SetResult(CRSMSG_FILE_TOO_LARGE, 0, 0, -1);
    return false;
  }
  // Bytes that are not Shift_JIS arrive as U+FFFD; the tokeniser reports them.
  text = CLCCRSCommon::ShiftJisToUtf8(bytes);
  if (text.empty()) {
    CRS_FATAL(m_result);
    return false;
  }
  return true;
}

bool CLCCRSCsvFile::Load(std::string& text) {
  // The decoder sizes its output for the worst case.
  text.shrink_to_fit();
  if (!Parse(text)) return false;
  return ValidateCsv();
}

long CLCCRSCsvFile::GetRecordCount() const { return static_cast<long>(m_vecRecords.size()); }

bool CLCCRSCsvFile::Parse(std::string_view /*text*/) { return false; }

bool CLCCRSCsvFile::ValidateRecord(std::vector<std::string>& /*columns*/) { return false; }

bool CLCCRSCsvFile::ValidateCsv() { return false; }

bool CLCCRSCsvFile::DistributeRecord(long /*index*/) { return false; }

CLCCRSMessageSpecReportingFI* CLCCRSCsvFile::GetCRSMessageSpecReportingFI() { return nullptr; }

CLCCRSAccountReport* CLCCRSCsvFile::GetCRSAccountReport() { return nullptr; }

CLCCRSControllingPerson* CLCCRSCsvFile::GetCRSControllingPerson() { return nullptr; }

CLCCRSPayment* CLCCRSCsvFile::GetCRSPayment() { return nullptr; }

const char* CLCCRSCsvFile::GetColumnValue(long /*row*/, long /*column*/) const { return nullptr; }

long CLCCRSCsvFile::GetFileLine(long row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= m_vecRecords.size()) return 0;
  return m_vecRecords[static_cast<std::size_t>(row)]->GetFileLine();
}

CLCStatus CLCCRSCsvFile::NenbunCheck() { return CLCStatus::Passed(); }
}  // namespace quorvex::internal
