#include "diagnostics/CLCValidResult.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace quorvex::internal {

namespace {

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

void CLCValidResult::SetResult(CLCCRSMessage_t message, long line, long column, long assist) {
  m_vecResult.push_back({line, column, assist, message});
}

void CLCValidResult::SetFatalError() {
  m_vecResult.clear();
  m_vecResult.push_back({0, 0, -1, CRSMSG_UNEXPECTED});
}

bool CLCValidResult::IsFatal() const {
  return m_vecResult.size() == 1 && m_vecResult.front().message == CRSMSG_UNEXPECTED;
}

bool CLCValidResult::compareResult(const _ResultTable& a, const _ResultTable& b) {
  if (a.line != b.line) return a.line < b.line;
  if (a.column != b.column) return a.column < b.column;
  if (a.assist != b.assist) return a.assist < b.assist;
  return a.message < b.message;
}

bool CLCValidResult::uniqueResult(const _ResultTable& a, const _ResultTable& b) {
  return a.line == b.line && a.column == b.column && a.assist == b.assist && a.message == b.message;
}

std::vector<_ResultTable> CLCValidResult::SortedEntries() const {
  std::vector<_ResultTable> entries = m_vecResult;
  std::sort(entries.begin(), entries.end(), compareResult);
  entries.erase(std::unique(entries.begin(), entries.end(), uniqueResult), entries.end());
  if (entries.size() > kMaxItems) {
    entries.resize(kMaxItems - 1);
    entries.push_back({0, 0, -1, CRSMSG_TOO_MANY_ERRORS});
  }
  return entries;
}

std::string CLCValidResult::MakeResult() const {
  const std::vector<_ResultTable> entries = SortedEntries();
  std::string document;
  document.reserve(entries.size() * 23);
  for (const _ResultTable& entry : entries) {
    if (!document.empty()) document += ',';
    AppendItem(document, entry);
  }
  return document;
}

std::string_view CRSRoutineName(std::string_view prettyFunction) {
  // The parameter list opens at the first '(' outside template arguments; the
  // qualified name runs back from there to the last blank outside them.
  int depth = 0;
  std::size_t open = std::string_view::npos;
  std::size_t start = 0;
  for (std::size_t i = 0; i < prettyFunction.size(); ++i) {
    const char c = prettyFunction[i];
    if (c == '<') ++depth;
    if (c == '>' && depth > 0) --depth;
    if (depth != 0) continue;
    if (c == ' ') start = i + 1;
    if (c == '(') {
      open = i;
      break;
    }
  }
  if (open == std::string_view::npos || start > open) return prettyFunction;
  std::string_view name = prettyFunction.substr(start, open - start);
  if (name.rfind('*', 0) == 0 || name.rfind('&', 0) == 0) name.remove_prefix(1);
  return name;
}

void CRSLogUnexpected(const char* file, int line, const char* prettyFunction, const char* message) {
  const std::string routine(CRSRoutineName(prettyFunction));
  CLCDebugDump::OutputLog(file, line, routine.c_str(), message);
}

void CRSReportFatal(CLCValidResult& result, const char* file, int line, const char* prettyFunction,
                    const char* message) {
  result.SetFatalError();
  CRSLogUnexpected(file, line, prettyFunction, message);
}
}  // namespace quorvex::internal
