#pragma once
#include "report/CLCCRSDataDefineNode.h"

#include <cstdint>
#include <string>

namespace quorvex::internal {

// One section of a definition: its items hang below it. In conversion mode it
// writes its items per record, wrapped in an element named by its id unless it
// only groups items (dumyFlg) and the caller writes the enclosing element.
class CLCCRSDataDefReport : public CLCCRSDataDefineNode {
 public:
  // The column count is read by the loader but not kept.
  bool Initialize(const std::string& reportId, const std::string& reportVR, long columnCount,
                  const std::string& dumyFlg);

  using CLCCRSDataDefineNode::WriteNode;
  // Every record of the list in order; a record whose items write nothing adds nothing.
  CLCStatus WriteNode(CLCCRSCRSReport* list, const CLCLocalTime& now, std::string& text, CLCValidResult& result) const;
  // One record (also reached through WriteNode(list, record, now, text, result)).
  CLCStatus WriteNode(CLCCRSCRSReport* list, std::int32_t record, const CLCLocalTime& now, std::string& text,
                      CLCValidResult& result) const;
  CLCStatus AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                       CLCValidResult& result) const override;
  // Appends every record of the list in order; on failure out is left as it was.
  CLCStatus AppendAll(CLCCRSCRSReport* list, const CLCLocalTime& now, std::string& out, CLCValidResult& result) const;

  const std::string& GetDumyFlg() const { return m_strDumyFlg; }

 private:
  std::string m_strReportVR;
  std::string m_strDumyFlg;
};
}  // namespace quorvex::internal
