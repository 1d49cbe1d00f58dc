#include "CLCCRSDataManager.h"

#include "CLCCRSCRSReport.h"
#include "CLCCRSCommon.h"
#include "CLCCRSCsvCRSReport.h"
#include "CLCCRSDefinition.h"
#include "CLCValidResult.h"
#include "CLCXSax.h"

#include <cstring>
#include <new>

namespace {

constexpr const char* kRootName = "CRS_OECD";
constexpr const char* kWrapperHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\" ?><DATA>";
constexpr const char* kWrapperTail = "</DATA>";
constexpr const char* kParseBufferId = "CRS";
constexpr const char* kParseEncoding = "UTF-8";

CLCValidResult* Collector() { return CLCValidResult::instance(); }

// Up to `count` UTF-8 characters of text starting at character `from` (0-based),
// never cutting a character in half.
std::string Utf8Slice(const std::string& text, std::size_t from, std::size_t count) {
  auto isLead = [](unsigned char c) { return (c & 0xC0) != 0x80; };
  std::size_t index = 0;
  std::size_t begin = std::string::npos;
  std::size_t taken = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!isLead(static_cast<unsigned char>(text[i]))) continue;
    if (index == from) begin = i;
    if (begin != std::string::npos) {
      if (taken == count) return text.substr(begin, i - begin);
      ++taken;
    }
    ++index;
  }
  return begin == std::string::npos ? std::string() : text.substr(begin);
}

// True when every byte is tab, line feed, carriage return or printable ASCII.
bool IsPlainAscii(const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char c = static_cast<unsigned char>(data[i]);
    if (c == 9 || c == 10 || c == 13 || (c >= 32 && c <= 126)) continue;
    return false;
  }
  return true;
}

// Parses a whole in-memory document with the well-formedness reader.
bool IsWellFormed(const char* data, std::size_t size) {
  CLCXSax sax;
  if (!sax.Initialize()) {
    sax.Terminate();
    return false;
  }
  const bool parsed = sax.Parse(data, size, kParseBufferId, kParseEncoding);
  sax.Terminate();
  return parsed;
}

}  // namespace

CLCCRSDataManager::CLCCRSDataManager() = default;
CLCCRSDataManager::~CLCCRSDataManager() = default;

int CLCCRSDataManager::ValidateArgument(CLCCRSValidator& validator, CLCArgValid_t kind,
                                        const std::string& value, long position) {
  if (!validator.Initialize(kind)) return 1;
  return validator.Validate(value.c_str(), kArgumentLine, position);
}

bool CLCCRSDataManager::InitForCheck(const char* csvPath) {
  try {
    Collector()->ClearResult();
    if (csvPath != nullptr) m_strCsvPath = CLCCRSCommon::StringTrim(csvPath);
    CLCCRSValidator validator;
    return ValidateArgument(validator, ARGVALID_CSV_PATH, m_strCsvPath, 1) == 0;
  } catch (...) {
    CRS_FATAL("CLCCRSDataManager::InitForCheck");
    return false;
  }
}

bool CLCCRSDataManager::InitForCheck(const char* csvPath, const char* nenbun) {
  try {
    Collector()->ClearResult();
    if (csvPath != nullptr) m_strCsvPath = CLCCRSCommon::StringTrim(csvPath);
    if (nenbun != nullptr) m_strNenbun = CLCCRSCommon::StringTrim(nenbun);
    CLCCRSValidator validator;
    bool passed = true;
    int result = ValidateArgument(validator, ARGVALID_CSV_PATH, m_strCsvPath, 1);
    if (result == 1) return false;
    if (result != 0) passed = false;
    result = ValidateArgument(validator, ARGVALID_NENBUN, m_strNenbun, 2);
    if (result == 1) return false;
    if (result != 0) passed = false;
    return passed;
  } catch (...) {
    CRS_FATAL("CLCCRSDataManager::InitForCheck");
    return false;
  }
}

bool CLCCRSDataManager::LoadCsvWithDefinition(const char* rootName, unsigned short resource,
                                              bool validationMode) {
  try {
    if (rootName == nullptr || std::strcmp(rootName, kRootName) != 0) {
      CRS_FATAL("CLCCRSDataManager::LoadCsvWithDefinition");
      return false;
    }
    m_pCsvReport = std::make_unique<CLCCRSCsvCRSReport>();
    if (!m_pCsvReport->ReadFile(m_strCsvPath.c_str())) return false;
    // A check goes on to the column rules; a conversion never writes such a value.
    if (!validationMode && m_pCsvReport->HasUnusableCharacters()) return false;
    m_pDefinition = std::make_unique<CLCCRSDefinition>();
    return m_pDefinition->CreateDefinition(rootName, resource, m_pCsvReport.get(), validationMode);
  } catch (const std::bad_alloc&) {
    CRS_FATAL_MSG("CLCCRSDataManager::LoadCsvWithDefinition", CLCDebugDump::kCreateFailed);
    return false;
  } catch (...) {
    CRS_FATAL("CLCCRSDataManager::LoadCsvWithDefinition");
    return false;
  }
}

bool CLCCRSDataManager::ValidateCsv() {
  try {
    if (!m_pCsvReport || !m_pDefinition) {
      CRS_FATAL("CLCCRSDataManager::ValidateCsv");
      return false;
    }
    m_pCsvReport->SetNenbun(m_strNenbun);
    if (m_pDefinition->ValidateCsv(m_pCsvReport.get()) != 0) return false;

    using Check = int (CLCCRSCsvCRSReport::*)();
    static constexpr Check kChecks[] = {
        &CLCCRSCsvCRSReport::MessageSpecReportingFIDocTypeIndicCheck,
        &CLCCRSCsvCRSReport::AccountReportDocTypeIndicCheck,
        &CLCCRSCsvCRSReport::AccountReportDocRefIdCheck,
        &CLCCRSCsvCRSReport::AccountReportDocRefIdOverlapCheck,
        &CLCCRSCsvCRSReport::AccountReportCorrDocRefIdCheck,
        &CLCCRSCsvCRSReport::AccountReportCorrDocRefIdOverlapCheck,
        &CLCCRSCsvCRSReport::AccountReportBirthDateCheck,
        &CLCCRSCsvCRSReport::AccountReportAcctHolderTypeCheck,
        &CLCCRSCsvCRSReport::ControllingPersonBirthDateCheck,
        &CLCCRSCsvCRSReport::ControllingPersonDocRefIdCheck,
        &CLCCRSCsvCRSReport::PaymentDocRefIdCheck,
    };
    bool passed = true;
    for (Check check : kChecks) {
      const int result = (m_pCsvReport.get()->*check)();
      if (result == 1) return false;
      if (result != 0) passed = false;
    }
    const bool properties = MakeProperties();
    return passed && properties && !m_pCsvReport->HasUnusableCharacters();
  } catch (...) {
    CRS_FATAL("CLCCRSDataManager::ValidateCsv");
    return false;
  }
}

bool CLCCRSDataManager::MakeProperties() {
  try {
    CLCCRSCRSReport* header = m_pCsvReport ? m_pCsvReport->GetCRSMessageSpecReportingFI() : nullptr;
    CLCCRSCRSReport* accounts = m_pCsvReport ? m_pCsvReport->GetCRSAccountReport() : nullptr;
    if (header == nullptr || accounts == nullptr || header->GetRecordCount() < 1) {
      CRS_FATAL("CLCCRSDataManager::MakeProperties");
      return false;
    }
    const char* messageRefId = header->GetColumnValue(0, 4);
    const std::string reference = messageRefId != nullptr ? messageRefId : "";
    const std::string kind = Utf8Slice(reference, 6, 4);
    if (kind == "JPCN") {
      m_strHojinNo = Utf8Slice(reference, 10, 13);
    } else if (kind == "GIIN") {
      m_strGIIN = Utf8Slice(reference, 10, 19);
    }
    m_lAccountReportCount = accounts->GetRecordCount();
    return true;
  } catch (...) {
    CRS_FATAL("CLCCRSDataManager::MakeProperties");
    return false;
  }
}

bool CLCCRSDataManager::InitForMake(const char* csvPath, const char* outputPath) {
  try {
    Collector()->ClearResult();
    if (csvPath != nullptr) m_strCsvPath = CLCCRSCommon::StringTrim(csvPath);
    if (outputPath != nullptr) m_strOutputPath = CLCCRSCommon::StringTrim(outputPath);
    CLCCRSValidator validator;
    bool passed = true;
    int result = ValidateArgument(validator, ARGVALID_CSV_PATH, m_strCsvPath, 1);
    if (result == 1) return false;
    if (result != 0) passed = false;
    if (!m_strOutputPath.empty()) {
      result = ValidateArgument(validator, ARGVALID_OUTPUT_PATH, m_strOutputPath, 2);
      if (result == 1) return false;
      if (result != 0) passed = false;
      // Writing the output over the input would destroy it, whatever path
      // spelling or hard link leads there.
      if (CLCCRSCommon::IsSameFile(m_strCsvPath.c_str(), m_strOutputPath.c_str())) {
        Collector()->SetResult(CRSMSG_INVALID, kArgumentLine, 2, -1);
        passed = false;
      }
    }
    return passed;
  } catch (...) {
    CRS_FATAL("CLCCRSDataManager::InitForMake");
    return false;
  }
}

bool CLCCRSDataManager::MakeData(std::string& output) {
  try {
    output.clear();
    if (!m_pCsvReport || !m_pDefinition) {
      CRS_FATAL("CLCCRSDataManager::MakeData");
      return false;
    }
    bool success = true;
    std::string xml = m_pDefinition->MakeReportData(m_pCsvReport.get(), &success);
    if (!success || xml.empty()) return false;
    if (!MakeProperties()) return false;
    if (xml.size() > kMaxOutputSize) {
      Collector()->SetResult(CRSMSG_OUTPUT_TOO_LARGE, 0, 0, -1);
      return false;
    }

    std::string wrapped;
    wrapped.reserve(std::strlen(kWrapperHead) + xml.size() + std::strlen(kWrapperTail));
    wrapped.append(kWrapperHead).append(xml).append(kWrapperTail);
    const bool wellFormed = IsWellFormed(wrapped.data(), wrapped.size());
    wrapped = std::string();
    if (!wellFormed) return false;

    if (!m_strOutputPath.empty() && !OutputFileConvData(m_strOutputPath.c_str(), xml)) return false;
    output = std::move(xml);
    return true;
  } catch (...) {
    output.clear();
    CRS_FATAL("CLCCRSDataManager::MakeData");
    return false;
  }
}

bool CLCCRSDataManager::OutputFileConvData(const char* outputPath, const std::string& xml) {
  try {
    if (outputPath == nullptr || xml.empty()) {
      CRS_FATAL("CLCCRSDataManager::OutputFileConvData");
      return false;
    }
    if (!CLCCRSCommon::WriteFileData(outputPath, xml)) {
      Collector()->SetResult(CRSMSG_WRITE_FAILED, 0, 0, -1);
      return false;
    }
    return true;
  } catch (...) {
    CRS_FATAL("CLCCRSDataManager::OutputFileConvData");
    return false;
  }
}

bool CLCCRSDataManager::InitForXml(const char* xmlPath, long limitSize) {
  try {
    Collector()->ClearResult();
    if (xmlPath != nullptr) m_strXmlPath = CLCCRSCommon::StringTrim(xmlPath);
    CLCCRSValidator validator;
    const int result = ValidateArgument(validator, ARGVALID_XML_PATH, m_strXmlPath, 1);
    if (result == 1) return false;
    if (limitSize >= -1) return result == 0;
    Collector()->SetResult(CRSMSG_INVALID, kArgumentLine, 2, -1);
    return false;
  } catch (...) {
    CRS_FATAL("CLCCRSDataManager::InitForXml");
    return false;
  }
}

bool CLCCRSDataManager::ReadXMLFile(long limitSize, std::string& output) {
  try {
    // The bytes as they are on disk, at most one past the limit: the limit holds
    // even for a file that grows meanwhile, and any encoding other than plain
    // ASCII (UTF-16 included) fails the byte test below like any other.
    std::string text;
    if (!CLCCRSCommon::ReadFileBytes(m_strXmlPath.c_str(), text, limitSize)) {
      CRS_FATAL("CLCCRSDataManager::ReadXMLFile");
      return false;
    }
    if (limitSize != -1 && text.size() > static_cast<std::size_t>(limitSize)) {
      Collector()->SetResult(CRSMSG_FILE_TOO_LARGE, 0, 0, -1);
      return false;
    }
    if (text.empty()) {
      CRS_FATAL("CLCCRSDataManager::ReadXMLFile");
      return false;
    }
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    if (!IsPlainAscii(text.data(), text.size())) {
      Collector()->ClearResult();
      Collector()->SetResult(CRSMSG_BAD_CHARACTER, 0, 0, -1);
      return false;
    }
    if (!IsWellFormed(text.data(), text.size())) {
      Collector()->ClearResult();
      Collector()->SetResult(CRSMSG_XML_STRUCTURE, 0, 0, -1);
      return false;
    }
    output = std::move(text);
    return true;
  } catch (const std::bad_alloc&) {
    CRS_FATAL_MSG("CLCCRSDataManager::ReadXMLFile", CLCDebugDump::kAllocFailed);
    return false;
  } catch (...) {
    CRS_FATAL("CLCCRSDataManager::ReadXMLFile");
    return false;
  }
}

std::string CLCCRSDataManager::GetErrorMsg() { return Collector()->MakeResult(); }

void CLCCRSDataManager::Terminate() { CLCValidResult::destroy(); }
