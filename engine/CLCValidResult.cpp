#include "CLCValidResult.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// One collector per thread: operations on different threads never mix their
// problems, and a single-threaded host sees the process-wide behaviour.
thread_local std::unique_ptr<CLCValidResult> t_pInstance;

void AppendItem(std::string& out, const _ResultTable& entry) {
  char position[48];
  if (entry.assist == -1) {
    std::snprintf(position, sizeof position, "%07ld", entry.column);
  } else {
    std::snprintf(position, sizeof position, "%03ld:%03ld", entry.column, entry.assist);
  }
  char item[160];
  std::snprintf(item, sizeof item, "%05ld-%s-%s", entry.line, position, CRSMsgCode(entry.message));
  out += item;
}

}  // namespace

CLCValidResult::~CLCValidResult() = default;

CLCValidResult* CLCValidResult::instance() {
  if (!t_pInstance) t_pInstance.reset(new CLCValidResult());
  return t_pInstance.get();
}

void CLCValidResult::destroy() { t_pInstance.reset(); }

void CLCValidResult::SetResult(CLCCRSMessage_t message, long line, long column, long assist) {
  m_vecResult.push_back({line, column, assist, message});
}

void CLCValidResult::SetFatalError() {
  m_vecResult.clear();
  m_vecResult.push_back({0, 0, -1, CRSMSG_UNEXPECTED});
}

void CLCValidResult::ClearResult() { m_vecResult.clear(); }

bool CLCValidResult::compareResult(const _ResultTable& a, const _ResultTable& b) {
  if (a.line != b.line) return a.line < b.line;
  if (a.column != b.column) return a.column < b.column;
  if (a.assist != b.assist) return a.assist < b.assist;
  return a.message < b.message;
}

bool CLCValidResult::uniqueResult(const _ResultTable& a, const _ResultTable& b) {
  return a.line == b.line && a.column == b.column && a.assist == b.assist && a.message == b.message;
}

std::string CLCValidResult::MakeResult() {
  std::vector<_ResultTable> entries;
  entries.swap(m_vecResult);
  std::sort(entries.begin(), entries.end(), compareResult);
  entries.erase(std::unique(entries.begin(), entries.end(), uniqueResult), entries.end());

  if (entries.size() > kMaxItems) {
    entries.resize(kMaxItems - 1);
    entries.push_back({0, 0, -1, CRSMSG_TOO_MANY_ERRORS});
  }

  std::string document;
  document.reserve(entries.size() * 23);
  for (const _ResultTable& entry : entries) {
    if (!document.empty()) document += ',';
    AppendItem(document, entry);
  }
  return document;
}

void CRSReportFatal(const char* file, int line, const char* function, const char* message) {
  CLCValidResult::instance()->SetFatalError();
  CLCDebugDump::OutputLog(file, line, function, message);
}
