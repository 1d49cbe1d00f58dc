#pragma once
#include "rules/CLCCRSValidItem.h"

namespace quorvex::internal {

// Rule "existPath": kind "file" needs a readable, non-empty file at the path;
// kind "dir" needs the folder that would hold the path. An empty value passes
// (the "exist" rule before it reports emptiness).
class CLCCRSValidExistpath : public CLCCRSValidItem {
 public:
  CLCCRSValidExistpath(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidExistpath() override = default;

  void SetParam(const char* kind);

 protected:
  CLCStatus _validate(const char* value) const override;

 private:
  enum class Kind { Unknown, File, Dir };
  Kind m_eKind = Kind::Unknown;
};
}  // namespace quorvex::internal
