#pragma once
#include "report/CLCCRSDataDefineNode.h"

namespace quorvex::internal {

// One element with a value from a column or a fixed value, optional attributes
// from columns and a namespace prefix; left out when it has nothing to say.
class CLCCRSDataDefNormal : public CLCCRSDataDefineNode {
 public:
  CLCStatus AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                       CLCValidResult& result) const override;

 private:
  // Appends " name=\"value\"" for each attribute of the item's shape whose
  // value is not empty; fatal when the record lacks a column.
  CLCStatus AppendAttributes(CLCCRSCRSReport* list, long record, std::string& out, CLCValidResult& result) const;
};
}  // namespace quorvex::internal
