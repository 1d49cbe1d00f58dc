#pragma once
#include <memory>
#include <string>
#include <vector>

struct CLCLocalTime;

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

  // 0 no error, 1 fatal, else the last message recorded by a validator.
  virtual int ValidateCsv(const CLCCRSCsvFile& file, long record, CLCValidResult& result) const;
  // Element text of the node for one record; empty (flag false) on failure.
  // `now` is the operation's time, written by a Timestamp item.
  virtual std::string WriteNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, bool* success,
                                CLCValidResult& result) const;
  // Appends the node's element text for one record to out. On failure out is
  // left as it was on entry and *success is false. A false flag on entry
  // writes nothing. Base: writes nothing.
  virtual void AppendNode(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, bool* success,
                          std::string& out, CLCValidResult& result) const;

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

  const std::string& GetId() const { return m_strId; }
  long GetColumn() const { return m_lColumn; }
  const std::string& GetValue() const { return m_strValue; }
  bool GetMillisec() const { return m_bMillisec; }
  long GetAttrColumn(int index) const { return m_lAttrColumn[index]; }
  const CLCCRSValidator* GetValidator() const { return m_pValidator.get(); }
  const std::vector<std::unique_ptr<CLCCRSDataDefineNode>>& GetChildren() const { return m_vecChildren; }

  // Appends the node's element text for one record: the column text escaped,
  // or the fixed value as written when the item has no column; false (flag
  // false, fatal recorded) when the record lacks the column.
  bool AppendNodeValue(CLCCRSCRSReport* list, long record, bool* success, std::string& out,
                       CLCValidResult& result) const;

  // Zero-based index from a one-based column attribute: its leading decimal
  // integer minus one when that is 1 or more, else -1.
  static long ColumnIndex(const std::string& text);
  // Leading decimal integer of the text (blanks and one sign allowed), 0 when none.
  static long LeadingInteger(const std::string& text);

 protected:
  // Common start of every writer: false when nothing is to be written, because
  // a writer before has failed or the call is malformed (then a fatal error).
  static bool CanWrite(const CLCCRSCRSReport* list, bool* success, CLCValidResult& result);
  // Appends every child's element text; false when a child failed.
  bool AppendChildren(CLCCRSCRSReport* list, long record, const CLCLocalTime& now, bool* success,
                      std::string& out, CLCValidResult& result) const;
  // Element prefix: the namespace prefix, "crs" when none is given.
  const std::string& Prefix() const;

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
};
}  // namespace quorvex::internal
