#pragma once
#include "CLCCRSDataDefineNode.h"

// One element holding the current local date and time.
class CLCCRSDataDefTimeStamp : public CLCCRSDataDefineNode {
 public:
  void AppendNode(CLCCRSCRSReport* list, long record, bool* success, std::string& out,
                  CLCValidResult& result) const override;
};
