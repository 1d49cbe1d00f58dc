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
    // The size is what the open file yields, never more than one byte past the
    // limit, so a file that grows while it is read cannot slip through.
    std::string bytes;
    if (!CLCCRSCommon::ReadFileBytes(path, bytes, kMaxFileSize)) {
      CRS_FATAL(kRoutine);
      return false;
    }
    if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
      CLCValidResult::instance()->SetResult(CRSMSG_FILE_TOO_LARGE, 0, 0, -1);
      return false;
    }
    // Bytes that are not Shift_JIS arrive as U+FFFD; the tokeniser reports them.
    const std::string text = CLCCRSCommon::ShiftJisToUtf8(bytes);
    if (text.empty()) {
      CRS_FATAL(kRoutine);
      return false;
    }
    bytes = std::string();
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
