#pragma once
#include "CLCLocalTime.h"
#include "diagnostics/CLCStatus.h"

#include <memory>
#include <string>
#include <vector>

namespace quorvex::internal {

class CLCCRSCRSReport;
class CLCCRSCsvFile;
class CLCCRSValidator;
class CLCValidResult;
class CLCXDom;

// One node of a loaded definition. In validation mode an item owns the
// validator built from its rule elements and hangs flat under its report; in
// conversion mode items form the tree of the output elements.
class CLCCRSDataDefineNode {
 public:
  CLCCRSDataDefineNode();
  virtual ~CLCCRSDataDefineNode();
  CLCCRSDataDefineNode(const CLCCRSDataDefineNode&) = delete;
  CLCCRSDataDefineNode& operator=(const CLCCRSDataDefineNode&) = delete;

  // The item's rules, then its children's: failed with the last message a
  // validator recorded, fatal at once.
  virtual CLCStatus ValidateCsv(const CLCCRSCsvFile& file, long record, CLCValidResult& result) const;
  // Element text of the node for one record, in place of `text`; empty on failure.
  virtual CLCStatus WriteNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& text,
                              CLCValidResult& result) const;
  // Appends the node's element text for one record to out. On failure out is
  // left as it was on entry. Base: writes nothing.
  virtual CLCStatus AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                               CLCValidResult& result) const;

  // Builds the node class named by the item's `type` and reads the item.
  static std::unique_ptr<CLCCRSDataDefineNode> CreateNode(CLCXDom* dom, bool validationMode,
                                                          CLCValidResult& result);
  bool Initialize(CLCXDom* dom, bool validationMode, CLCValidResult& result);

  // Validation tree: appends the node to this node's children.
  bool LocateNodeForValidate(std::unique_ptr<CLCCRSDataDefineNode>& node);
  // Conversion tree: hangs the node under the newest node whose id equals its
  // parent, searching this node first and then its subtrees newest first.
  // Takes ownership only when it returns true; `placed` true returns at once.
  bool LocateNodeForMake(std::unique_ptr<CLCCRSDataDefineNode>& node, bool placed);
  // Once the conversion tree is complete: works out, for this node and every
  // node below, which columns decide that an element with a required child
  // writes nothing, so that writing a record can pass it over at once.
  void PrepareForWriting();

  const std::string& GetId() const { return m_strId; }
  const std::string& GetParent() const { return m_strParent; }
  long GetColumn() const { return m_lColumn; }
  const std::string& GetValue() const { return m_strValue; }
  bool GetMillisec() const { return m_bMillisec; }
  long GetAttrColumn(int index) const { return m_lAttrColumn[index]; }
  const CLCCRSValidator* GetValidator() const { return m_pValidator.get(); }
  const std::vector<std::unique_ptr<CLCCRSDataDefineNode>>& GetChildren() const { return m_vecChildren; }

  // Appends the node's element text for one record: the column text escaped,
  // or the fixed value as written when the item has no column; fatal when the
  // record lacks the column.
  CLCStatus AppendNodeValue(CLCCRSCRSReport* list, long record, std::string& out, CLCValidResult& result) const;
  // The node's element text for one record before escaping: the column's text,
  // or the fixed value when the item has no column. false, with the fatal error
  // recorded, when there is no list or the record lacks the column.
  bool NodeText(const CLCCRSCRSReport* list, long record, const char*& text, CLCValidResult& result) const;
  // Appends text that NodeText gave: escaped when it came from a column.
  void AppendText(const char* text, std::string& out) const;

  // Zero-based index from a one-based column attribute: its leading decimal
  // integer minus one when that is 1 or more, else -1.
  static long ColumnIndex(const std::string& text);
  // Leading decimal integer of the text (blanks and one sign allowed), 0 when none.
  static long LeadingInteger(const std::string& text);

 protected:
  // Common start of every writer: false, with the fatal error recorded, when
  // there is no record list to write from.
  static bool CanWrite(const CLCCRSCRSReport* list, CLCValidResult& result);
  // True when the node writes nothing for a record whose own column is empty.
  virtual bool SilentWithoutText() const { return false; }
  // True when the required child cannot be written for this record: every
  // column that could write it is empty and every column read exists (a
  // missing one is left to the writers, which report it).
  bool LacksRequiredChild(const CLCCRSCRSReport* list, long record) const;
  // Appends every child's element text; stops at the first child that failed.
  CLCStatus AppendChildren(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, std::string& out,
                           CLCValidResult& result) const;
  // Element prefix: the namespace prefix, "crs" when none is given.
  const std::string& Prefix() const;
  static const std::string& DefaultPrefix();
  // Prefix of the node's own tags; the fixed-shape writers always use "crs".
  virtual const std::string& TagPrefix() const;
  // Builds the start tag ("<prefix:id", left open for attributes) and the end
  // tag once at load time, so that writing a record costs one append for each.
  void MakeTags();

  std::unique_ptr<CLCCRSValidator> m_pValidator;
  std::vector<std::unique_ptr<CLCCRSDataDefineNode>> m_vecChildren;
  long m_lColumn = -1;
  std::string m_strId;
  std::string m_strParent;
  std::string m_strValue;
  std::string m_strAttr[4];
  long m_lAttrColumn[4] = {-1, -1, -1, -1};
  std::string m_strAttrValueRec1;
  std::string m_strRequiredChild;
  std::string m_strNameSpace;
  std::string m_strEmptyTag;
  bool m_bMillisec = false;
  std::string m_strStartTag;
  std::string m_strEndTag;
  // Attributes written (the first 0, 1, 2 or 4, by the shape of attr1 to
  // attr4), the text before each value (" name=\""), and the highest column
  // they read (-1 when none).
  int m_iAttrCount = 0;
  std::string m_strAttrOpen[4];
  long m_lLastAttrColumn = -1;
  // Set by PrepareForWriting: the highest column that this node and the nodes
  // below read, and the columns whose text alone can bring the required child
  // (empty: not known).
  long m_lLastColumnRead = -1;
  std::vector<long> m_vecRequiredColumns;
};
}  // namespace quorvex::internal
