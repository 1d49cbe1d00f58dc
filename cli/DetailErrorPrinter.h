#pragma once
#include "CLCErrorDescription.h"
#include "ToolOptions.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// One readable line per problem: where it is (record line, file line, column,
// item), the value found, the code and the message text.
class DetailErrorPrinter {
 public:
  DetailErrorPrinter(ToolCommand command, ToolLanguage language) : m_command(command), m_language(language) {}

  // Each line starts with `prefix` (the file's name in a batch).
  void Print(const std::vector<CLCErrorDescription>& problems, std::string_view prefix, std::ostream& out) const;

  // "line 5 (file line 7), column 12 (with column 14) [Item]" and the like.
  std::string Where(const CLCErrorDescription& problem) const;

 private:
  ToolCommand m_command;
  ToolLanguage m_language;
};
