#pragma once
#include "CLCCsvConvResultCRS.h"
#include "CLCErrorDescription.h"
#include "ToolOptions.h"

#include <string>
#include <vector>

// What became of one file of the command line.
struct FileOutcome {
  std::string file;
  std::string outputPath;      // the output file asked for; empty for none
  bool checked = false;        // the check of the schema ran
  bool converted = false;      // the conversion ran
  CLCCsvConvResultCRS record;  // of the last operation that ran
  std::vector<CLCErrorDescription> problems;
  std::string refusal;         // why the tool did not run the file, or could not finish it
  bool interrupted = false;    // not run because of Ctrl-C
  std::string systemReason;    // why the system could not find the file, when not simply absent
  std::vector<std::string> historyFindings;  // the filing history's objections to the converted message

  bool passed() const { return refusal.empty() && record.succeeded(); }
  // A file whose run an unexpected error cut short: it failed, and says why.
  static FileOutcome Unexpected(std::string file, const std::string& what);
  // The operation whose record this is, as a person would name it.
  std::string StepName(const ToolOptions& options) const;
};

// Runs the operations the options ask for on one file, on a facade of its own,
// so that tasks may run on several threads at once.
class FileTask {
 public:
  FileTask(const ToolOptions& options, std::string file, std::string outputPath)
      : m_options(options), m_file(std::move(file)), m_outputPath(std::move(outputPath)) {}

  FileOutcome Run() const;

 private:
  const ToolOptions& m_options;
  std::string m_file;
  std::string m_outputPath;
};
