#pragma once
#include "rules/CLCCRSValidItem.h"

#include <string>

namespace quorvex::internal {

// Rule "dateRange": the value must be a date of the year 1900 or later and
// strictly later than the `min` date.
class CLCCRSValidDateRange : public CLCCRSValidItem {
 public:
  CLCCRSValidDateRange(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidDateRange() override = default;

  void SetParam(const char* min);

 protected:
  CLCStatus _validate(const char* value) const override;

 private:
  std::string m_strMin;
};
}  // namespace quorvex::internal
