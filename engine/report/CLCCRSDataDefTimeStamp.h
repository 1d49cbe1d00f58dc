#pragma once
#include "report/CLCCRSDataDefineNode.h"

namespace quorvex::internal {

// One element holding the current local date and time.
class CLCCRSDataDefTimeStamp : public CLCCRSDataDefineNode {
 public:
  CLCStatus AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                       CLCValidResult& result) const override;

 protected:
  const std::string& TagPrefix() const override { return DefaultPrefix(); }
};
}  // namespace quorvex::internal
