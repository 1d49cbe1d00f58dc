#pragma once
#include "rules/CLCCRSValidItem.h"

namespace quorvex::internal {

// Rule "exist": the value must be present (not null, not empty); a value of blanks is present.
class CLCCRSValidExist : public CLCCRSValidItem {
 public:
  CLCCRSValidExist(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidExist() override = default;

 protected:
  CLCStatus _validate(const char* value) const override;
};
}  // namespace quorvex::internal
