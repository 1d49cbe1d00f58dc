#pragma once
#include "DetailErrorPrinter.h"
#include "FileTask.h"
#include "ToolOptions.h"

#include <cstddef>
#include <ostream>

// Tells the user what became of each file, as text, JSON or an HTML report,
// and the exit status of the whole run.
class OutcomeReporter {
 public:
  explicit OutcomeReporter(const ToolOptions& options);

  void Report(FileOutcome&& outcome);
  // Prints the total of a batch; returns the exit status.
  int Finish();

 private:
  void ReportText(const FileOutcome& outcome);
  void ReportJson(const FileOutcome& outcome);
  std::string PassedLine(const FileOutcome& outcome) const;
  // The findings of the converted XML, one line each, on standard error.
  void PrintFindings(const FileOutcome& outcome, const std::string& prefix) const;

  const ToolOptions& m_options;
  DetailErrorPrinter m_printer;
  std::ostream& m_summary;  // standard error when standard output carries the XML
  std::size_t m_passed = 0;
  std::size_t m_failed = 0;
  std::size_t m_notRun = 0;
  bool m_reportFailed = false;
};
