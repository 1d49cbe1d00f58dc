#pragma once
#include "report/CLCCRSDataDefineNode.h"

namespace quorvex::internal {

// One element with a value from a column or a fixed value, optional attributes
// from columns and a namespace prefix; left out when it has nothing to say.
class CLCCRSDataDefNormal : public CLCCRSDataDefineNode {
 public:
  CLCStatus AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                       CLCValidResult& result) const override;

 protected:
  bool SilentWithoutText() const override {
    return m_lColumn >= 0 && m_vecChildren.empty() && m_strEmptyTag.empty();
  }

 private:
  // Appends the start tag without its closing bracket: "<prefix:id", then
  // " name=\"value\"" for each attribute of the item's shape whose value is
  // not empty; fatal when the record lacks a column.
  CLCStatus AppendStartTag(CLCCRSCRSReport* list, long record, std::string& out, CLCValidResult& result) const;
};
}  // namespace quorvex::internal
