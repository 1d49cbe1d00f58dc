#pragma once
#include "diagnostics/CRSMsgTable.h"

#include <memory>
#include <string_view>
#include <vector>

namespace quorvex::internal {

class CLCCRSCsvFile;
class CLCValidResult;

// Base of every rule: column, preconditions ("outer" rules) and assist column.
// A built rule is only read, so a shared definition serves many operations at
// once. Result codes: 0 passed, 1 fatal (the collector holds its fatal entry),
// otherwise the message value recorded.
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
  int Validate(const char* value, long line, long column, CLCValidResult& result) const;
  // Tests the rule's column of one record; records at (record + 1, column + 1).
  int ValidateCsv(const CLCCRSCsvFile& file, long record, long column, CLCValidResult& result) const;
  // As a precondition: the test's result, never recorded (1 for the caller to record).
  int ValidateOuter(const CLCCRSCsvFile& file, long record, long column) const;
  int ValidateOuter(const char* value) const;

  void AddOuterItem(std::unique_ptr<CLCCRSValidItem> item);
  // True when one precondition is "exist" on that column: the rule never
  // applies while the column is empty.
  bool NeedsFilledColumn(long column) const;
  void SetAssistColNum(long assist) { m_lAssistColNum = assist; }
  long GetAssistColNum() const { return m_lAssistColNum; }
  long GetColumn() const { return m_lColumn; }

  // Leading decimal integer of a definition attribute: leading blanks and one
  // sign allowed, anything that does not start with a number reads as 0.
  // Saturates instead of overflowing.
  static long LeadingInteger(std::string_view text);

 protected:
  // The rule's own test. A definition error is logged and answered with 1.
  virtual int _validate(const char* value) const;
  // The test of a value of a record in the file; the rules that look at other
  // records of the file override it.
  virtual int _validateInFile(const char* value, const CLCCRSCsvFile& file) const;
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
};
}  // namespace quorvex::internal
