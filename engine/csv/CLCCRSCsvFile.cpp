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
  return Load(bytes);
}

bool CLCCRSCsvFile::ReadBuffer(std::string_view bytes) { return Load(bytes); }

bool CLCCRSCsvFile::Load(std::string_view bytes) {
  if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
    m_result.SetResult(CRSMSG_FILE_TOO_LARGE, 0, 0, -1);
    return false;
  }
  // An empty file holds nothing to decode.
  if (bytes.empty()) {
    CRS_FATAL(m_result);
    return false;
  }
  if (!ParseShiftJis(bytes)) return false;
  return ValidateCsv();
}

long CLCCRSCsvFile::GetRecordCount() const { return static_cast<long>(m_vecRecords.size()); }

bool CLCCRSCsvFile::Parse(std::string_view /*text*/) { return false; }

bool CLCCRSCsvFile::ParseShiftJis(std::string_view /*bytes*/) { return false; }

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
  return m_vecRecords[static_cast<std::size_t>(row)].GetFileLine();
}

CLCStatus CLCCRSCsvFile::NenbunCheck() { return CLCStatus::Passed(); }
}  // namespace quorvex::internal
