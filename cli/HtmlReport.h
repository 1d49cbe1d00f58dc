#pragma once
#include "DetailErrorPrinter.h"
#include "FileTask.h"
#include "ToolOptions.h"

#include <string>

// A self-contained HTML page about one file: the facts of the run, tables of
// problems per message code and per item, then every problem, grouped by code
// in folds of a thousand so that a page with 100,000 problems opens quickly;
// then the validation findings of the XML (of `validate`, or of the XML a
// conversion made), grouped the same way.
// No external resource; one small inline script adds a filter box, and the page
// reads the same without it.
class HtmlReport {
 public:
  HtmlReport(const ToolOptions& options, const FileOutcome& outcome)
      : m_options(options), m_outcome(outcome), m_printer(options.command, options.language) {}

  std::string Render() const;
  // Writes the page atomically: a failed or interrupted run leaves no partial report.
  bool Write(const std::string& path) const;

 private:
  void RenderFacts(std::string& html) const;
  void RenderSummaries(std::string& html) const;
  void RenderProblems(std::string& html) const;
  void RenderFindings(std::string& html) const;

  const ToolOptions& m_options;
  const FileOutcome& m_outcome;
  DetailErrorPrinter m_printer;
};
