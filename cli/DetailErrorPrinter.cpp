#include "DetailErrorPrinter.h"

#include "MessageLanguage.h"
#include "Problems.h"

std::string DetailErrorPrinter::Where(const CLCErrorDescription& problem) const {
  std::string where;
  if (problem.isArgument) {
    where = "argument " + ArgumentName(m_command, problem.column);
  } else if (problem.line == 0) {
    where = m_command == ToolCommand::Convert ? "whole file or output" : "whole file";
  } else {
    where = "line " + std::to_string(problem.line);
    if (problem.fileLine > 0 && problem.fileLine != problem.line) {
      where += " (file line " + std::to_string(problem.fileLine) + ")";
    }
    if (problem.column > 0) where += ", column " + std::to_string(problem.column);
    if (problem.assistColumn >= 0) where += " (with column " + std::to_string(problem.assistColumn) + ")";
    // The account-holder rule reports on the whole account report.
    if (problem.column == 0 && problem.item.empty() && problem.recordKind == "2") where += " [AccountHolder]";
  }
  // An argument is named by its option; the engine's parameter name would not help.
  if (!problem.item.empty() && !problem.isArgument) where += " [" + problem.item + "]";
  return where;
}

void DetailErrorPrinter::Print(const std::vector<CLCErrorDescription>& problems, std::string_view prefix,
                               std::ostream& out) const {
  for (const CLCErrorDescription& problem : problems) {
    out << prefix << Where(problem);
    if (problem.hasValue) out << " \"" << VisibleValue(problem.value) << '"';
    out << ": " << problem.code << ' ' << MessageLanguage::Text(problem.code, m_language) << '\n';
  }
}
