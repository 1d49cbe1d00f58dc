#pragma once
#include "CLCDebugDump.h"
#include "CRSMsgTable.h"

#include <string>
#include <vector>

// One recorded problem.
struct _ResultTable {
  long line;
  long column;
  long assist;  // second column, or -1
  CLCCRSMessage_t message;
};

// Gathers every problem of one operation and turns them into the detail error
// document ("00012-0000003-HE40001E,..."). There is one instance per thread, so
// operations running on different threads never see each other's problems.
class CLCValidResult {
 public:
  static constexpr std::size_t kMaxItems = 100000;

  virtual ~CLCValidResult();

  static CLCValidResult* instance();
  static void destroy();

  void SetResult(CLCCRSMessage_t message, long line, long column, long assist);
  // Drops everything recorded so far and keeps the single unexpected-error entry.
  void SetFatalError();
  void ClearResult();
  // Sorted, de-duplicated and formatted document; empties the list.
  std::string MakeResult();

  std::size_t GetCount() const { return m_vecResult.size(); }

  static bool compareResult(const _ResultTable& a, const _ResultTable& b);
  static bool uniqueResult(const _ResultTable& a, const _ResultTable& b);

 private:
  CLCValidResult() = default;
  std::vector<_ResultTable> m_vecResult;
};

// Records the fatal error in the calling thread's collector and writes a debug
// log record naming the routine. Every unexpected condition goes through here.
void CRSReportFatal(const char* file, int line, const char* function, const char* message);

#define CRS_FATAL(function) CRSReportFatal(__FILE__, __LINE__, function, CLCDebugDump::kUnexpectedError)
#define CRS_FATAL_MSG(function, message) CRSReportFatal(__FILE__, __LINE__, function, message)
