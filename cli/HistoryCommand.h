#pragma once
#include "ToolOptions.h"

#include <optional>
#include <string>
#include <vector>

// `quorvex history add | list | status`, and the filing history as `validate`
// and `convert` consult it.
class HistoryCommand {
 public:
  explicit HistoryCommand(const ToolOptions& options) : m_options(options) {}
  // Exit 0 on success; 1 when the history or a file refuses, and for a status
  // message that rejects anything.
  int Run() const;

  // The default history's path for the help text.
  static std::string DefaultPathText();

  // Settles the history that validate and convert consult: the one named with
  // --history, else the user's when it exists, else none (empty). A history
  // that cannot be used stops the run before any file is touched: the exit
  // status, after saying why.
  static std::optional<int> Resolve(ToolOptions& options);

 private:
  int Add(const std::string& path) const;
  int List(const std::string& path) const;
  int Status(const std::string& path) const;

  const ToolOptions& m_options;
};
