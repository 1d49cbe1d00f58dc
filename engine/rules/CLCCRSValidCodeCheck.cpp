#include "rules/CLCCRSValidCodeCheck.h"

#include "diagnostics/CLCValidResult.h"

#include <string_view>

namespace quorvex::internal {

void CLCCRSValidCodeCheck::SetParam(const char* name) {
  m_strName = name != nullptr ? name : "";
  m_table = CRSCodeTable{};
  m_bPlural = false;
  const std::string_view list(m_strName);
  if (list == "country") {
    m_table = CRSCodeTable::Of(ISO3166Alpha2_Table);
  } else if (list == "countries") {
    m_table = CRSCodeTable::Of(ISO3166Alpha2_Table);
    m_bPlural = true;
  } else if (list == "currency") {
    m_table = CRSCodeTable::Of(ISO4217Alpha3_Table);
  } else if (list == "country2") {
    m_table = CRSCodeTable::Of(ISO3166Alpha2_Table2);
  } else if (list == "countries2") {
    m_table = CRSCodeTable::Of(ISO3166Alpha2_Table2);
    m_bPlural = true;
  } else if (list == "currency2") {
    m_table = CRSCodeTable::Of(ISO4217Alpha3_Table2);
  }
  SetParamProblem(m_table.codes != nullptr
                      ? std::string()
                      : DescribeParam("codeCheck", "value", list) +
                            ": no such code list (country, countries, currency, country2, countries2, currency2)");
}

CLCStatus CLCCRSValidCodeCheck::_validate(const char* value) const {
  if (HasParamProblem()) {  // empty or unknown list name
    CRS_LOG_UNEXPECTED();
    return CLCStatus::Fatal();
  }
  const CLCStatus invalid = CLCStatus::Failed(CRSMSG_INVALID);
  if (value == nullptr) return invalid;
  const std::string_view text(value);
  if (!m_bPlural) return CLCStatus::FailedUnless(m_table.Contains(text), CRSMSG_INVALID);

  // No empty part anywhere: no leading, trailing or doubled slash, no empty value.
  if (text.empty() || text.front() == '/' || text.back() == '/' ||
      text.find("//") != std::string_view::npos) {
    return invalid;
  }
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = text.find('/', start);
    const std::string_view part =
        text.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
    if (!m_table.Contains(part)) return invalid;
    if (slash == std::string_view::npos) return CLCStatus::Passed();
    start = slash + 1;
  }
}
}  // namespace quorvex::internal
