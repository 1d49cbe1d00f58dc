#include "CLCCRSCsvFile.h"

#include "CLCCRSCommon.h"
#include "CLCCRSRecordData.h"
#include "CLCValidResult.h"

#include <new>

CLCCRSCsvFile::CLCCRSCsvFile() = default;

CLCCRSCsvFile::~CLCCRSCsvFile() = default;

bool CLCCRSCsvFile::ReadFile(const char* path) {
  static constexpr const char* kRoutine = "CLCCRSCsvFile::ReadFile";
  try {
    if (path == nullptr) {
      CRS_FATAL(kRoutine);
      return false;
    }
    const long size = CLCCRSCommon::GetFileSize(path);
    if (size < 0) {
      CRS_FATAL(kRoutine);
      return false;
    }
    // Refused before anything is read, so an oversized file costs no memory.
    if (size > kMaxFileSize) {
      CLCValidResult::instance()->SetResult(CRSMSG_FILE_TOO_LARGE, 0, 0, -1);
      return false;
    }
    // Empty text means unreadable, not Shift_JIS, or an empty file.
    const std::string text = CLCCRSCommon::ReadCsvFileData(path);
    if (text.empty()) {
      CRS_FATAL(kRoutine);
      return false;
    }
    if (!Parse(text)) return false;
    return ValidateCsv();
  } catch (const std::bad_alloc&) {
    CRS_FATAL_MSG(kRoutine, CLCDebugDump::kAllocFailed);
    return false;
  } catch (...) {
    CRS_FATAL(kRoutine);
    return false;
  }
}

long CLCCRSCsvFile::GetRecordCount() const { return static_cast<long>(m_vecRecords.size()); }

const char* CLCCRSCsvFile::GetItem(long row, long column) const {
  if (row < 0 || column < 0 || static_cast<std::size_t>(row) >= m_vecRecords.size()) return nullptr;
  return m_vecRecords[static_cast<std::size_t>(row)]->GetColumnValue(column);
}

bool CLCCRSCsvFile::Parse(std::string_view /*text*/) { return false; }

bool CLCCRSCsvFile::ValidateRecord(std::vector<std::string>& /*columns*/) { return false; }

bool CLCCRSCsvFile::ValidateCsv() { return false; }

bool CLCCRSCsvFile::DistributeRecord(long /*index*/) { return false; }

int CLCCRSCsvFile::ValidOverlapColumn(long /*column*/, CLCCRSMessage_t /*message*/) { return 0; }

CLCCRSMessageSpecReportingFI* CLCCRSCsvFile::GetCRSMessageSpecReportingFI() { return nullptr; }

CLCCRSAccountReport* CLCCRSCsvFile::GetCRSAccountReport() { return nullptr; }

CLCCRSControllingPerson* CLCCRSCsvFile::GetCRSControllingPerson() { return nullptr; }

CLCCRSPayment* CLCCRSCsvFile::GetCRSPayment() { return nullptr; }

const char* CLCCRSCsvFile::GetColumnValue(long /*row*/, long /*column*/) { return nullptr; }

int CLCCRSCsvFile::NenbunCheck() { return 0; }
