#pragma once
#include "rules/CLCCRSValidItem.h"

namespace quorvex::internal {

// Rule "notExist": the value must be absent (null or empty).
class CLCCRSValidNotExist : public CLCCRSValidItem {
 public:
  CLCCRSValidNotExist(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidNotExist() override = default;

 protected:
  CLCStatus _validate(const char* value) const override;
  bool AcceptsEmptyValue() const override { return true; }
};
}  // namespace quorvex::internal
