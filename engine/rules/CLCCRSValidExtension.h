#pragma once
#include "rules/CLCCRSValidItem.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex::internal {

// Rule "extension": the file name's extension (from its last full stop,
// included) must be one item of a space-separated list, case-sensitive.
class CLCCRSValidExtension : public CLCCRSValidItem {
 public:
  CLCCRSValidExtension(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidExtension() override = default;

  void SetParam(const char* list);

 protected:
  CLCStatus _validate(const char* value) const override;

 private:
  std::string m_strList;
  std::vector<std::string_view> m_vecItems;
};
}  // namespace quorvex::internal
