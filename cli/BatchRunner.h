#pragma once
#include "FileTask.h"
#include "ToolOptions.h"

#include <functional>
#include <string>
#include <vector>

// Runs the files of the command line on up to `jobs` threads, each file on a
// facade of its own. A file named twice, or two files that would write the same
// output, are refused one by one; the others run. Whatever a file's run throws
// fails that file alone.
class BatchRunner {
 public:
  // What runs one file with its output path; a FileTask unless given.
  using Task = std::function<FileOutcome(const std::string& file, const std::string& outputPath)>;

  explicit BatchRunner(const ToolOptions& options, Task task = {}) : m_options(options), m_task(std::move(task)) {}

  // Hands each outcome to `deliver` on the calling thread, in command-line
  // order, as soon as it and every file before it are done.
  void Run(const std::function<void(FileOutcome&&)>& deliver) const;

 private:
  struct Plan {
    std::vector<std::string> outputs;   // per file: output path or empty
    std::vector<std::string> refusals;  // per file: why it will not run, or empty
  };
  Plan MakePlan() const;
  std::string OutputPath(const std::string& file) const;
  // The outcome of file i; never throws but for want of memory.
  FileOutcome RunFile(const Plan& plan, std::size_t i) const;

  const ToolOptions& m_options;
  Task m_task;
};
