#include "CLCCRSCsvFile.h"

#include "CLCCRSCommon.h"
#include "CLCCRSRecordData.h"
#include "CLCValidResult.h"

#include <new>

CLCCRSCsvFile::CLCCRSCsvFile(CLCValidResult& result) : m_result(result) {}

CLCCRSCsvFile::~CLCCRSCsvFile() = default;

bool CLCCRSCsvFile::ReadFile(const char* path) {
  if (path == nullptr) {
    CRS_FATAL(m_result);
    return false;
  }
  const long size = CLCCRSCommon::GetFileSize(path);
  if (size < 0) {
    CRS_FATAL(m_result);
    return false;
  }
  // Refused before anything is read, so an oversized file costs no memory.
  if (size > kMaxFileSize) {
    m_result.SetResult(CRSMSG_FILE_TOO_LARGE, 0, 0, -1);
    return false;
  }
  // Empty text means unreadable, not Shift_JIS, or an empty file.
  std::string text = CLCCRSCommon::ReadCsvFileData(path);
  // The decoder sizes its output for the worst case; the records built next
  // need the room more.
  text.shrink_to_fit();
  if (text.empty()) {
    CRS_FATAL(m_result);
    return false;
  }
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

int CLCCRSCsvFile::NenbunCheck() { return 0; }
