#pragma once
#include "CRSMsgTable.h"

#include <memory>
#include <string_view>
#include <vector>

class CLCCRSCsvFile;
class CLCCRSCsvCRSReport;

// Base of every rule: column, preconditions ("outer" rules), assist column and
// the CSV report under validation. Result codes: 0 passed, 1 fatal (the
// collector holds its fatal entry), otherwise the message value recorded.
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
                                                     CLCCRSMessage_t message);

  // Tests a given value (caller arguments); records at (line, column).
  virtual int Validate(const char* value, long line, long column);
  // Tests the rule's column of one record; records at (record + 1, column + 1).
  virtual int ValidateCsv(CLCCRSCsvFile* file, long record, long column);
  // As a precondition: the test's result, never recorded.
  virtual int ValidateOuter(CLCCRSCsvFile* file, long record, long column);
  virtual int ValidateOuter(const char* value);

  void AddOuterItem(std::unique_ptr<CLCCRSValidItem> item);
  void SetAssistColNum(long assist) { m_lAssistColNum = assist; }
  long GetAssistColNum() const { return m_lAssistColNum; }
  void SetCsvCRSReport(CLCCRSCsvCRSReport* report) { m_pCsvReport = report; }
  long GetColumn() const { return m_lColumn; }

  // Leading decimal integer of a definition attribute: leading blanks and one
  // sign allowed, anything that does not start with a number reads as 0.
  // Saturates instead of overflowing.
  static long LeadingInteger(std::string_view text);

 protected:
  // The rule's own test.
  virtual int _validate(const char* value);
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
  CLCCRSCsvCRSReport* m_pCsvReport = nullptr;
};
