#pragma once
#include "csv/CLCCRSRecordData.h"
#include "diagnostics/CLCStatus.h"
#include "diagnostics/CRSMsgTable.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvex::internal {

class CLCCRSCsvFile;
class CLCValidResult;

// Base of every rule: column, preconditions ("outer" rules) and assist column.
// A built rule is only read, so a shared definition serves many operations at
// once. A rule's own test answers failed with the message to record, or fatal
// for a definition error; Validate and ValidateCsv record either.
class CLCCRSValidItem {
 public:
  CLCCRSValidItem(long column, CLCCRSMessage_t message);
  virtual ~CLCCRSValidItem();
  CLCCRSValidItem(const CLCCRSValidItem&) = delete;
  CLCCRSValidItem& operator=(const CLCCRSValidItem&) = delete;

  // Builds the rule named by id ("exist", "notExist", "extension", "existPath",
  // "length", "contain", "charSet", "format", "codeCheck", "dateRange",
  // "integrity"); null after recording a fatal error for any other id.
  static std::unique_ptr<CLCCRSValidItem> CreateItem(long column, const char* id, const char* value,
                                                     const char* min, const char* max,
                                                     CLCCRSMessage_t message, CLCValidResult& result);

  // Tests a given value (caller arguments); records at (line, column).
  CLCStatus Validate(const char* value, long line, long column, CLCValidResult& result) const;
  // Tests the rule's column of one record; records at (record + 1, column + 1).
  CLCStatus ValidateCsv(const CLCCRSCsvFile& file, long record, long column, CLCValidResult& result) const;
  // As a precondition: the test's verdict, never recorded (a fatal one is for
  // the caller to record).
  CLCStatus ValidateOuter(const CLCCRSCsvFile& file, long record, long column) const;
  CLCStatus ValidateOuter(const char* value) const;

  // What is wrong with the rule's parameters, judged once when they were set;
  // empty when nothing is. The definition loader refuses a rule that has one,
  // and the rule's test stays fatal for it whatever the value.
  const std::string& ParamProblem() const { return m_strParamProblem; }

  void AddOuterItem(std::unique_ptr<CLCCRSValidItem> item);
  // True when one of the leading "exist" preconditions finds its column empty
  // in the record: ValidateCsv would pass without a test. False whenever the
  // preconditions must be looked at one by one.
  bool LeadingPreconditionFails(const CLCCRSRecordData& record) const {
    for (long column : m_vecLeadingExist) {
      if (column >= record.GetColumnCount()) return false;  // ValidateCsv reports it
      if (!record.IsFilled(column)) return true;
    }
    return false;
  }
  // True when one precondition is "exist" on that column: the rule never
  // applies while the column is empty.
  bool NeedsFilledColumn(long column) const;
  // True when the rule passes whenever that column is empty: it needs the
  // column filled, or it tests that column alone and every empty value passes.
  bool PassesWhileEmpty(long column) const;
  void SetAssistColNum(long assist) { m_lAssistColNum = assist; }
  long GetAssistColNum() const { return m_lAssistColNum; }
  long GetColumn() const { return m_lColumn; }
  const std::vector<std::unique_ptr<CLCCRSValidItem>>& GetOuterItems() const { return m_vecOuter; }

  // Leading decimal integer of a definition attribute: leading blanks and one
  // sign allowed, anything that does not start with a number reads as 0.
  // Saturates instead of overflowing.
  static long LeadingInteger(std::string_view text);

 protected:
  // The rule's own test. A definition error is logged and answered fatal.
  virtual CLCStatus _validate(const char* value) const;
  // True when the rule's own test passes the empty value, whatever the file.
  virtual bool AcceptsEmptyValue() const { return false; }
  // The test of a value of a record in the file; the rules that look at other
  // records of the file override it.
  virtual CLCStatus _validateInFile(const char* value, const CLCCRSCsvFile& file) const;
  // For SetParam: records what is wrong with the parameters (empty: nothing).
  void SetParamProblem(std::string problem) { m_strParamProblem = std::move(problem); }
  bool HasParamProblem() const { return !m_strParamProblem.empty(); }
  // `rule name "text"`, the start of a parameter problem.
  static std::string DescribeParam(const char* rule, const char* name, std::string_view text);
  // The failed status with the message override when set, else the built-in code.
  CLCStatus FailWith(CLCCRSMessage_t builtIn) const { return CLCStatus::Failed(MessageOr(builtIn)); }
  // Items of a space-separated list (runs of spaces are one separator), sorted
  // for binary search; the views point into `list`.
  static std::vector<std::string_view> SplitAtSpaces(std::string_view list);
  static bool ListContains(const std::vector<std::string_view>& sorted, std::string_view text);
  // The message override when set, else the built-in code.
  CLCCRSMessage_t MessageOr(CLCCRSMessage_t builtIn) const {
    return m_eMessage != CRSMSG_NONE ? m_eMessage : builtIn;
  }

  long m_lColumn;
  CLCCRSMessage_t m_eMessage;
  long m_lAssistColNum = 0;
  std::vector<std::unique_ptr<CLCCRSValidItem>> m_vecOuter;
  // Which preconditions are "exist": those are answered without a call.
  std::vector<bool> m_vecOuterIsExist;
  // Columns of the "exist" preconditions that come before any other kind.
  std::vector<long> m_vecLeadingExist;
  std::string m_strParamProblem;
};
}  // namespace quorvex::internal
