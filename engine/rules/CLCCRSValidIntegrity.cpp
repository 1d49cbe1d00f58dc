#include "rules/CLCCRSValidIntegrity.h"

#include "csv/CLCCRSCsvFile.h"
#include "csv/CRSColumns.h"
#include "diagnostics/CLCValidResult.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvex::internal {

namespace {


// The text without its last `count` characters (UTF-8 aware); none when it is shorter.
std::optional<std::string_view> DropLast(std::string_view text, std::size_t count) {
  std::size_t end = text.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (end == 0) return std::nullopt;
    --end;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  }
  return text.substr(0, end);
}

bool BuiltOn(std::string_view value, std::size_t cut, std::string_view base) {
  const auto head = DropLast(value, cut);
  return head && *head == base;
}

}  // namespace

void CLCCRSValidIntegrity::SetParam(const char* mode) {
  const std::string_view name(mode != nullptr ? mode : "");
  if (name == "DocRefId_A") {
    m_eMode = kDocRefIdA;
  } else if (name == "DocRefId_B") {
    m_eMode = kDocRefIdB;
  } else if (name == "CorrDocRefId_A") {
    m_eMode = kCorrDocRefIdA;
  } else if (name == "CorrDocRefId_B") {
    m_eMode = kCorrDocRefIdB;
  } else {
    m_eMode = kUnknown;
  }
  SetParamProblem(m_eMode != kUnknown ? std::string()
                                      : DescribeParam("integrity", "value", name) +
                                            ": no such mode (DocRefId_A, DocRefId_B, CorrDocRefId_A, "
                                            "CorrDocRefId_B)");
}

CLCStatus CLCCRSValidIntegrity::_validate(const char* /*value*/) const {
  CRS_LOG_UNEXPECTED();
  return CLCStatus::Fatal();
}

CLCStatus CLCCRSValidIntegrity::_validateInFile(const char* value, const CLCCRSCsvFile& file) const {
  if (HasParamProblem()) {
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  if (value == nullptr) return CLCStatus::Passed();
  // The first record is the message header, which always has its MessageRefId; a
  // missing column means the rule was wired up wrongly.
  const char* ref = file.GetItem(0, CRSColumn::kHeaderMessageRefId - 1);
  if (ref == nullptr) {
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  const std::string_view text(value);
  const std::string_view messageRefId(ref);
  switch (m_eMode) {
    case kDocRefIdA:
    case kCorrDocRefIdA: {
      const auto base = DropLast(messageRefId, 3);
      return CLCStatus::FailedUnless(base && BuiltOn(text, 12, *base), CRSMSG_INVALID);
    }
    case kDocRefIdB:
      return CLCStatus::FailedUnless(BuiltOn(text, 9, messageRefId), CRSMSG_INVALID);
    case kCorrDocRefIdB:
      // A correction must point at another message.
      return CLCStatus::FailedUnless(!BuiltOn(text, 9, messageRefId), CRSMSG_INVALID);
    case kUnknown:
      break;
  }
  return CLCStatus::Fatal();
}
}  // namespace quorvex::internal
