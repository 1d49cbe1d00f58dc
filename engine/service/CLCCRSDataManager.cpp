#include "service/CLCCRSDataManager.h"

#include "csv/CLCCRSCRSReport.h"
#include "CLCCRSCommon.h"
#include "csv/CLCCRSCsvCRSReport.h"
#include "definitions/CLCCRSDefinition.h"
#include "csv/CRSColumns.h"
#include "diagnostics/CLCValidResult.h"
#include "xml/CLCXSax.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace quorvex::internal {

namespace {

constexpr const char* kRootName = "CRS_OECD";
constexpr const char* kParseBufferId = "CRS";
constexpr const char* kParseEncoding = "UTF-8";

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
bool IsWellFormed(const char* data, std::size_t size, CLCValidResult& result) {
  CLCXSax sax(result);
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

void CLCCRSDataManager::NameArgument(long column, const char* name, const std::string* value) {
  Argument& argument = m_arguments[column];
  argument.name = name;
  argument.hasValue = value != nullptr;
  argument.value = value != nullptr ? *value : std::string();
}

CLCStatus CLCCRSDataManager::ValidateArgument(CLCCRSValidator& validator, CLCArgValid_t kind,
                                              const std::string& value, long position) {
  if (!validator.Initialize(kind, m_result)) return CLCStatus::Fatal();
  return validator.Validate(value.c_str(), kArgumentLine, position, m_result);
}

CLCStatus CLCCRSDataManager::ValidateNenbun(CLCCRSValidator& validator, const char* nenbun) {
  if (nenbun != nullptr) m_strNenbun = CLCCRSCommon::StringTrim(nenbun);
  NameArgument(2, "nenbun", &m_strNenbun);
  return ValidateArgument(validator, ARGVALID_NENBUN, m_strNenbun, 2);
}

bool CLCCRSDataManager::InitForCheck(const char* csvPath) {
  m_result.ClearResult();
  if (csvPath != nullptr) m_strCsvPath = CLCCRSCommon::StringTrim(csvPath);
  NameArgument(1, "csvPath", &m_strCsvPath);
  CLCCRSValidator validator;
  return ValidateArgument(validator, ARGVALID_CSV_PATH, m_strCsvPath, 1).IsPassed();
}

bool CLCCRSDataManager::InitForCheck(const char* csvPath, const char* nenbun) {
  m_result.ClearResult();
  if (csvPath != nullptr) m_strCsvPath = CLCCRSCommon::StringTrim(csvPath);
  NameArgument(1, "csvPath", &m_strCsvPath);
  CLCCRSValidator validator;
  CLCStatus status = ValidateArgument(validator, ARGVALID_CSV_PATH, m_strCsvPath, 1);
  if (status.IsFatal()) return false;
  return status.Merge(ValidateNenbun(validator, nenbun)).IsPassed();
}

bool CLCCRSDataManager::CheckSchemaArgument(int schema) {
  const std::string text = std::to_string(schema);
  NameArgument(0, "schema", &text);
  if (schema == 1 || schema == 2) return true;
  m_result.SetResult(CRSMSG_INVALID, kArgumentLine, 0, -1);
  return false;
}

bool CLCCRSDataManager::CheckBufferArgument(const char* data, std::size_t size) {
  NameArgument(1, "data", nullptr);
  if (data == nullptr && size != 0) {
    m_result.SetResult(CRSMSG_NOT_ENTERED, kArgumentLine, 1, -1);
    return false;
  }
  if (size == 0) {
    m_result.SetResult(CRSMSG_FILE_EMPTY, kArgumentLine, 1, -1);
    return false;
  }
  return true;
}

bool CLCCRSDataManager::InitForCheckBuffer(int schema, const char* data, std::size_t size, const char* nenbun) {
  m_result.ClearResult();
  const bool schemaKnown = CheckSchemaArgument(schema);
  const bool bytesGiven = CheckBufferArgument(data, size);
  if (schema != 2) return schemaKnown && bytesGiven;
  CLCCRSValidator validator;
  return ValidateNenbun(validator, nenbun).IsPassed() && schemaKnown && bytesGiven;
}

bool CLCCRSDataManager::InitForMakeBuffer(int schema, const char* data, std::size_t size) {
  m_result.ClearResult();
  const bool schemaKnown = CheckSchemaArgument(schema);
  const bool bytesGiven = CheckBufferArgument(data, size);
  return schemaKnown && bytesGiven;
}

bool CLCCRSDataManager::LoadCsvWithDefinition(const char* rootName, unsigned short resource,
                                              bool validationMode) {
  return Load(nullptr, rootName, resource, validationMode);
}

bool CLCCRSDataManager::LoadCsvBufferWithDefinition(std::string_view bytes, const char* rootName,
                                                    unsigned short resource, bool validationMode) {
  return Load(&bytes, rootName, resource, validationMode);
}

bool CLCCRSDataManager::Load(const std::string_view* bytes, const char* rootName, unsigned short resource,
                             bool validationMode) {
  if (rootName == nullptr || std::strcmp(rootName, kRootName) != 0) {
    CRS_FATAL(m_result);
    return false;
  }
  m_usResource = resource;
  m_pCsvReport = std::make_unique<CLCCRSCsvCRSReport>(m_result);
  const bool read =
      bytes != nullptr ? m_pCsvReport->ReadBuffer(*bytes) : m_pCsvReport->ReadFile(m_strCsvPath.c_str());
  if (!read) return false;
  // A check goes on to the column rules; a conversion never writes such a value.
  if (!validationMode && m_pCsvReport->HasUnusableCharacters()) return false;
  const bool validationResource = resource == kValidateDefine1 || resource == kValidateDefine2;
  m_pDefinition = validationResource == validationMode ? CLCCRSDefinition::Shared(resource) : nullptr;
  if (m_pDefinition == nullptr) {
    CRS_FATAL(m_result);
    return false;
  }
  return true;
}

CLCStatus CLCCRSDataManager::ValidateRecords(const CLCCRSDefinition& definition, CLCCRSCsvCRSReport& file,
                                             bool reportingYear, CLCValidResult& result) {
  const long count = file.GetRecordCount();
  CLCStatus status;
  for (long record = 0; record < count; ++record) {
    // A record that fails a step is not distributed: its later steps never run.
    const char* kind = file.GetItem(record, CRSColumn::kKind - 1);
    if (kind != nullptr && std::strcmp(kind, "2") == 0) {
      const CLCStatus holder = file.AccountReportExclusiveCheck(record);
      if (status.Merge(holder).IsFatal()) return status;
      if (!holder.IsPassed()) continue;
    }
    const CLCStatus columns = definition.ValidateRecord(file, record, result);
    if (status.Merge(columns).IsFatal()) return status;
    if (!columns.IsPassed()) continue;
    if (record == 0 && reportingYear) {
      if (status.Merge(file.NenbunCheck()).IsFatal()) return status;
    }
    if (!file.DistributeRecord(record)) return CLCStatus::Fatal();
  }
  return status;
}

bool CLCCRSDataManager::ValidateCsv() {
  if (!m_pCsvReport || !m_pDefinition) {
    CRS_FATAL(m_result);
    return false;
  }
  m_pCsvReport->SetNenbun(m_strNenbun);
  if (!ValidateRecords(*m_pDefinition, *m_pCsvReport, m_usResource == kValidateDefine2, m_result).IsPassed()) {
    return false;
  }

  using Check = CLCStatus (CLCCRSCsvCRSReport::*)();
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
  // Every check runs, so that the file's problems are all reported at once.
  CLCStatus status;
  for (Check check : kChecks) {
    if (status.Merge((m_pCsvReport.get()->*check)()).IsFatal()) return false;
  }
  const bool properties = MakeProperties();
  return status.IsPassed() && properties && !m_pCsvReport->HasUnusableCharacters();
}

bool CLCCRSDataManager::MakeProperties() {
  CLCCRSCRSReport* header = m_pCsvReport ? m_pCsvReport->GetCRSMessageSpecReportingFI() : nullptr;
  CLCCRSCRSReport* accounts = m_pCsvReport ? m_pCsvReport->GetCRSAccountReport() : nullptr;
  if (header == nullptr || accounts == nullptr || header->GetRecordCount() < 1) {
    CRS_FATAL(m_result);
    return false;
  }
  const char* messageRefId = header->GetColumnValue(0, CRSColumn::kHeaderMessageRefId - 1);
  const std::string reference = messageRefId != nullptr ? messageRefId : "";
  const std::string kind = Utf8Slice(reference, 6, 4);
  if (kind == "JPCN") {
    m_strHojinNo = Utf8Slice(reference, 10, 13);
  } else if (kind == "GIIN") {
    m_strGIIN = Utf8Slice(reference, 10, 19);
  }
  m_lAccountReportCount = accounts->GetRecordCount();
  return true;
}

bool CLCCRSDataManager::InitForMake(const char* csvPath, const char* outputPath) {
  m_result.ClearResult();
  if (csvPath != nullptr) m_strCsvPath = CLCCRSCommon::StringTrim(csvPath);
  if (outputPath != nullptr) m_strOutputPath = CLCCRSCommon::StringTrim(outputPath);
  NameArgument(1, "csvPath", &m_strCsvPath);
  NameArgument(2, "outputPath", &m_strOutputPath);
  CLCCRSValidator validator;
  CLCStatus status = ValidateArgument(validator, ARGVALID_CSV_PATH, m_strCsvPath, 1);
  if (status.IsFatal()) return false;
  if (!m_strOutputPath.empty()) {
    if (status.Merge(ValidateArgument(validator, ARGVALID_OUTPUT_PATH, m_strOutputPath, 2)).IsFatal()) return false;
    // Writing the output over the input would destroy it, whatever path
    // spelling or hard link leads there.
    if (CLCCRSCommon::IsSameFile(m_strCsvPath.c_str(), m_strOutputPath.c_str())) {
      m_result.SetResult(CRSMSG_INVALID, kArgumentLine, 2, -1);
      status.Merge(CLCStatus::Failed(CRSMSG_INVALID));
    }
  }
  return status.IsPassed();
}

bool CLCCRSDataManager::MakeData(std::string& output, const CLCLocalTime& now, const OutputGate& gate) {
  output.clear();
  if (!m_pCsvReport || !m_pDefinition) {
    CRS_FATAL(m_result);
    return false;
  }
  const long count = m_pCsvReport->GetRecordCount();
  for (long record = 0; record < count; ++record) {
    if (!m_pCsvReport->DistributeRecord(record)) return false;
  }
  std::string xml;
  if (!m_pDefinition->MakeReportData(*m_pCsvReport, now, xml, m_result).IsPassed() || xml.empty()) return false;
  if (!MakeProperties()) return false;
  if (xml.size() > CLCCRSDefinition::kMaxOutputSize) {
    m_result.SetResult(CRSMSG_OUTPUT_TOO_LARGE, 0, 0, -1);
    return false;
  }

  // The document has one root element: it is checked where it stands.
  if (!IsWellFormed(xml.data(), xml.size(), m_result)) return false;

  const bool accepted = !gate || gate(xml);
  if (accepted && !m_strOutputPath.empty() && !OutputFileConvData(m_strOutputPath.c_str(), xml)) return false;
  output = std::move(xml);
  return true;
}

bool CLCCRSDataManager::OutputFileConvData(const char* outputPath, const std::string& xml) {
  if (outputPath == nullptr || xml.empty()) {
    CRS_FATAL(m_result);
    return false;
  }
  errno = 0;
  if (!CLCCRSCommon::WriteFileData(outputPath, xml)) {
    m_iWriteError = errno;  // read before anything else can change it
    m_result.SetResult(CRSMSG_WRITE_FAILED, 0, 0, -1);
    return false;
  }
  return true;
}

bool CLCCRSDataManager::InitForXml(const char* xmlPath, long limitSize) {
  m_result.ClearResult();
  if (xmlPath != nullptr) m_strXmlPath = CLCCRSCommon::StringTrim(xmlPath);
  NameArgument(1, "xmlPath", &m_strXmlPath);
  CLCCRSValidator validator;
  const CLCStatus status = ValidateArgument(validator, ARGVALID_XML_PATH, m_strXmlPath, 1);
  if (status.IsFatal()) return false;
  return CheckLimitArgument(limitSize) && status.IsPassed();
}

bool CLCCRSDataManager::CheckLimitArgument(long limitSize) {
  const std::string limit = std::to_string(limitSize);
  NameArgument(2, "limitSize", &limit);
  if (limitSize >= -1) return true;
  m_result.SetResult(CRSMSG_INVALID, kArgumentLine, 2, -1);
  return false;
}

bool CLCCRSDataManager::InitForXmlBuffer(const char* data, std::size_t size, long limitSize) {
  m_result.ClearResult();
  const bool bytesGiven = CheckBufferArgument(data, size);
  return CheckLimitArgument(limitSize) && bytesGiven;
}

bool CLCCRSDataManager::ReadXMLFile(long limitSize, std::string& output) {
  // The bytes as they are on disk, at most one past the limit: the limit holds
  // even for a file that grows meanwhile, and any encoding other than plain
  // ASCII (UTF-16 included) fails the byte test of ReadXMLBuffer like any other.
  std::string text;
  if (!CLCCRSCommon::ReadFileBytes(m_strXmlPath.c_str(), text, limitSize)) {
    CRS_FATAL(m_result);
    return false;
  }
  return ReadXMLBuffer(std::move(text), limitSize, output);
}

bool CLCCRSDataManager::ReadXMLBuffer(std::string text, long limitSize, std::string& output) {
  if (limitSize != -1 && text.size() > static_cast<std::size_t>(limitSize)) {
    m_result.SetResult(CRSMSG_FILE_TOO_LARGE, 0, 0, -1);
    return false;
  }
  if (text.empty()) {
    CRS_FATAL(m_result);
    return false;
  }
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  if (!IsPlainAscii(text.data(), text.size())) {
    m_result.ClearResult();
    m_result.SetResult(CRSMSG_BAD_CHARACTER, 0, 0, -1);
    return false;
  }
  if (!IsWellFormed(text.data(), text.size(), m_result)) {
    m_result.ClearResult();
    m_result.SetResult(CRSMSG_XML_STRUCTURE, 0, 0, -1);
    return false;
  }
  output = std::move(text);
  return true;
}

std::string CLCCRSDataManager::GetErrorMsg() const { return m_result.MakeResult(); }

std::vector<CLCErrorDescription> CLCCRSDataManager::DescribeErrors() const {
  const std::vector<_ResultTable> entries = m_result.SortedEntries();
  std::vector<CLCErrorDescription> descriptions;
  descriptions.reserve(entries.size());
  // Argument problems stop an operation before its file is read, so once
  // records are stored, line 99999 is a record like any other.
  const long recordCount = m_pCsvReport ? m_pCsvReport->GetRecordCount() : 0;
  // Item names come from the validation document of the operation's schema.
  const unsigned short validation = m_usResource == kValidateDefine1 || m_usResource == kDataConvDefine1
                                        ? kValidateDefine1
                                        : kValidateDefine2;
  const CLCCRSDefinition* names = recordCount > 0 ? CLCCRSDefinition::Shared(validation) : nullptr;
  for (const _ResultTable& entry : entries) {
    CLCErrorDescription description;
    description.line = entry.line;
    description.column = entry.column;
    description.assistColumn = entry.assist;
    description.code = CRSMsgCode(entry.message);
    if (entry.line == kArgumentLine && recordCount == 0) {
      description.isArgument = true;
      if (entry.column >= 0 && entry.column <= 2) {
        const Argument& argument = m_arguments[entry.column];
        description.item = argument.name;
        description.value = argument.value;
        description.hasValue = argument.hasValue;
      }
    } else if (entry.message == CRSMSG_WRITE_FAILED && m_iWriteError != 0) {
      description.item = "outputPath";
      description.value = m_strOutputPath;
      description.hasValue = true;
      description.systemReason = std::strerror(m_iWriteError);
    } else if (entry.line >= 1 && entry.line <= recordCount) {
      const long row = entry.line - 1;
      description.fileLine = m_pCsvReport->GetFileLine(row);
      const char* kind = m_pCsvReport->GetItem(row, CRSColumn::kKind - 1);
      if (kind != nullptr) description.recordKind = kind;
      const char* value = entry.column >= 1 ? m_pCsvReport->GetItem(row, entry.column - 1) : nullptr;
      if (value != nullptr) {
        description.value = value;
        description.hasValue = true;
      }
      const int kindNumber = description.recordKind.size() == 1 ? description.recordKind[0] - '0' : 0;
      const std::string* item = names != nullptr ? names->ItemName(kindNumber, entry.column - 1) : nullptr;
      if (item != nullptr) description.item = *item;
    }
    descriptions.push_back(std::move(description));
  }
  return descriptions;
}
}  // namespace quorvex::internal
