#pragma once
#include "report/CLCCRSDataDefineNode.h"

namespace quorvex::internal {

// One element per slash-separated piece of the value.
class CLCCRSDataDefSplit : public CLCCRSDataDefineNode {
 public:
  CLCStatus AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                       CLCValidResult& result) const override;

 protected:
  const std::string& TagPrefix() const override { return DefaultPrefix(); }
  // Only a non-empty piece of the value makes an element.
  bool SilentWithoutText() const override { return m_lColumn >= 0; }
};
}  // namespace quorvex::internal
