#pragma once
#include "ToolOptions.h"

// `quorvex validate`: each CRS XML file through the library's validation,
// printed as text or JSON. Exit 0 when no finding of any file is an error, 1
// otherwise (an unreadable file included).
class ValidateCommand {
 public:
  explicit ValidateCommand(const ToolOptions& options) : m_options(options) {}
  int Run() const;

 private:
  const ToolOptions& m_options;
};
