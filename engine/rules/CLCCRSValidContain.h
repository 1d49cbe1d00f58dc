#pragma once
#include "rules/CLCCRSValidItem.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex::internal {

// Rule "contain": the value must equal one item of a space-separated list
// exactly (case-sensitive, no trimming).
class CLCCRSValidContain : public CLCCRSValidItem {
 public:
  CLCCRSValidContain(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidContain() override = default;

  void SetParam(const char* list);

 protected:
  CLCStatus _validate(const char* value) const override;

 private:
  std::string m_strList;
  // Views into m_strList, sorted; split once here instead of on every value.
  std::vector<std::string_view> m_vecItems;
};
}  // namespace quorvex::internal
