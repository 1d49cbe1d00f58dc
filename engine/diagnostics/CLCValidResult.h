#pragma once
#include "diagnostics/CLCDebugDump.h"
#include "diagnostics/CRSMsgTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex::internal {

// One recorded problem.
struct _ResultTable {
  long line;
  long column;
  long assist;  // second column, or -1
  CLCCRSMessage_t message;
};

// Gathers every problem of one operation and turns them into the detail error
// document ("00012-0000003-HE40001E,..."). The running operation owns one and
// hands it by reference to whatever records problems, so operations running at
// the same time never see each other's problems.
class CLCValidResult {
 public:
  static constexpr std::size_t kMaxItems = 100000;

  void SetResult(CLCCRSMessage_t message, long line, long column, long assist);
  // Drops everything recorded so far and keeps the single unexpected-error entry.
  void SetFatalError();
  void ClearResult() { m_vecResult.clear(); }
  bool IsFatal() const;
  // The entries of the document: sorted, de-duplicated and capped.
  std::vector<_ResultTable> SortedEntries() const;
  // The formatted document of SortedEntries().
  std::string MakeResult() const;

  std::size_t GetCount() const { return m_vecResult.size(); }

  static bool compareResult(const _ResultTable& a, const _ResultTable& b);
  static bool uniqueResult(const _ResultTable& a, const _ResultTable& b);

 private:
  std::vector<_ResultTable> m_vecResult;
};

// "Class::Method" out of a compiler's pretty function name
// ("int CLCCRSCsvFile::ReadFile(const char*)" gives "CLCCRSCsvFile::ReadFile").
std::string_view CRSRoutineName(std::string_view prettyFunction);

// Records the fatal error in the collector and writes a debug log record naming
// the routine. Every unexpected condition goes through here.
void CRSReportFatal(CLCValidResult& result, const char* file, int line, const char* prettyFunction,
                    const char* message);
// Only the log record, for code that has no collector and reports failure by
// its status (the caller records the fatal error).
void CRSLogUnexpected(const char* file, int line, const char* prettyFunction, const char* message);

#define CRS_FATAL(result) \
  CRSReportFatal((result), __FILE__, __LINE__, __PRETTY_FUNCTION__, CLCDebugDump::kUnexpectedError)
#define CRS_FATAL_MSG(result, message) CRSReportFatal((result), __FILE__, __LINE__, __PRETTY_FUNCTION__, (message))
// For helpers that report on behalf of the routine that called them: `caller`
// is that routine's __PRETTY_FUNCTION__.
#define CRS_FATAL_FOR(result, caller) \
  CRSReportFatal((result), __FILE__, __LINE__, (caller), CLCDebugDump::kUnexpectedError)
#define CRS_FATAL_MSG_FOR(result, caller, message) CRSReportFatal((result), __FILE__, __LINE__, (caller), (message))
#define CRS_LOG_UNEXPECTED() \
  CRSLogUnexpected(__FILE__, __LINE__, __PRETTY_FUNCTION__, CLCDebugDump::kUnexpectedError)
}  // namespace quorvex::internal
