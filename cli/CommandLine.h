#pragma once
#include "ToolOptions.h"

#include <optional>

// The tool's command line: subcommands, options and the rules between them.
// Every usage error names the option and how to put it right.
class CommandLine {
 public:
  // Fills the options; returns the exit status when the tool must stop here
  // (help, version or a usage error, which is printed).
  static std::optional<int> Parse(int argc, char** argv, ToolOptions& options);
};
