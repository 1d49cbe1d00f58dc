#pragma once
#include "rules/CLCCRSValidItem.h"

namespace quorvex::internal {

// Rule "charSet": every character must belong to the named ASCII set
// ("latinString", "fugoNumber", "number", "MessageRefId"); anything outside
// ASCII fails every set.
class CLCCRSValidCharSet : public CLCCRSValidItem {
 public:
  CLCCRSValidCharSet(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidCharSet() override = default;

  void SetParam(const char* name);

 protected:
  CLCStatus _validate(const char* value) const override;

 private:
  enum class Set { Unknown, LatinString, FugoNumber, Number, MessageRefId };
  Set m_eSet = Set::Unknown;
};
}  // namespace quorvex::internal
