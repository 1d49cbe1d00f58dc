#pragma once
#include "report/CLCCRSDataDefineNode.h"

namespace quorvex::internal {

// One element holding the operation's local date and time.
class CLCCRSDataDefTimeStamp : public CLCCRSDataDefineNode {
 public:
  void AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, bool* success,
                  std::string& out, CLCValidResult& result) const override;
};
}  // namespace quorvex::internal
