#pragma once
#include "rules/CLCCRSValidItem.h"
#include "rules/CRSCodeTables.h"

#include <string>

namespace quorvex::internal {

// Rule "codeCheck": the value must be a code of the named list ("country",
// "currency", "country2", "currency2"), or for "countries" and "countries2" a
// slash-separated sequence of country codes.
class CLCCRSValidCodeCheck : public CLCCRSValidItem {
 public:
  CLCCRSValidCodeCheck(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidCodeCheck() override = default;

  void SetParam(const char* name);

 protected:
  CLCStatus _validate(const char* value) const override;

 private:
  std::string m_strName;
  CRSCodeTable m_table;  // empty for a name outside the six
  bool m_bPlural = false;
};
}  // namespace quorvex::internal
