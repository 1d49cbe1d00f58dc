#pragma once
#include "MessageLanguage.h"

#include <string>
#include <vector>

enum class ToolCommand { Check, Convert, ReadXml, Validate, History };

// Everything the command line asked for, after the usage rules were applied.
struct ToolOptions {
  ToolCommand command = ToolCommand::Check;
  std::vector<std::string> files;
  int schema = 2;
  std::string year;
  bool yearGiven = false;
  std::string output;        // -o: one output file; empty for standard output
  std::string outputFolder;  // -d: DIR/<name>.xml per file
  bool noCheck = false;
  bool noValidate = false;   // convert: write without validating the XML first
  long limit = -1;           // read-xml byte limit
  bool json = false;
  std::string htmlReport;
  ToolLanguage language = ToolLanguage::English;
  unsigned jobs = 1;
  std::string context;       // validate: "domestic", "exchange" or empty for automatic
  std::string history;       // --history DB; after HistoryCommand::Resolve, the history consulted (empty: none)
  bool historyGiven = false;
  std::string historyAction; // history: "add", "list" or "status"
  std::string csv;           // history add --csv

  // A conversion that runs the check of its schema first.
  bool checksFirst() const { return command == ToolCommand::Check || (command == ToolCommand::Convert && !noCheck); }
  // A conversion that validates its XML before writing it. Only CRS XML 2.0
  // can be: the library carries no 1.0 schema.
  bool validatesOutput() const { return command == ToolCommand::Convert && !noValidate && schema == 2; }
  bool batch() const { return files.size() > 1; }
};
