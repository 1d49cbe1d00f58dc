#pragma once
#include "report/CLCCRSDataDefineNode.h"

namespace quorvex::internal {

// One element per slash-separated piece of the value.
class CLCCRSDataDefSplit : public CLCCRSDataDefineNode {
 public:
  CLCStatus AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                       CLCValidResult& result) const override;
};
}  // namespace quorvex::internal
