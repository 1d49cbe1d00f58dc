#include "CommandLine.h"

#include "HistoryCommand.h"
#include "MessageLanguage.h"
#include "quorvex.h"

#include <CLI/CLI.hpp>

#include <climits>
#include <charconv>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

constexpr int kUsageError = 2;

constexpr const char* kFooter =
    "Exit status:\n"
    "  0    every file passed (S_OK)\n"
    "  1    a file failed (E_FAIL), its converted XML failed validation, was refused, or the report\n"
    "       could not be written\n"
    "  2    usage error: the message names the option and the fix\n"
    "  130  interrupted by Ctrl-C (files already running are finished or not written)\n";

struct UsageError {
  std::string message;
};

// Blank as the library sees an argument: it trims every one it is given.
bool IsBlank(const std::string& text) { return quorvex_is_blank(text.c_str()) != 0; }

bool IsDirectory(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// True when the folder that would hold the file exists: the path less its last
// component (trailing slashes aside), the current folder for a bare name.
bool FolderOfExists(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return IsDirectory(".");
  return IsDirectory(slash == 0 ? "/" : path.substr(0, slash));
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first;
  struct stat second;
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

long ParseLimit(const std::string& text) {
  const std::string fix = "give a whole number of bytes, or -1 for no limit";
  if (text.empty()) throw UsageError{"--limit: the value is empty: " + fix};
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    throw UsageError{"--limit: " + text + " is too large (at most " + std::to_string(LONG_MAX) + "): " + fix};
  }
  if (error != std::errc() || end != text.data() + text.size()) {
    throw UsageError{"--limit: '" + text + "' is not a number: " + fix};
  }
  return value;
}

void CheckYear(const ToolOptions& options) {
  if (options.schema == 1 && options.yearGiven) {
    throw UsageError{"--year applies to schema 2.0 only: remove --year, or choose --schema 2"};
  }
  if (options.schema != 2) return;
  if (options.checksFirst() && !options.yearGiven) {
    std::string message = "--year is required with schema 2.0 (the default): give the reporting year, e.g. "
                          "--year 2023, or choose --schema 1";
    if (options.command == ToolCommand::Convert) message += ", or convert without the check with --no-check";
    throw UsageError{message};
  }
  if (!options.checksFirst() && options.yearGiven) {
    throw UsageError{"--year is used by the check only, and --no-check skips it: remove --year or --no-check"};
  }
}

void CheckOutputs(const ToolOptions& options, bool outputGiven, bool folderGiven) {
  if (outputGiven && folderGiven) {
    throw UsageError{"-o and -d exclude each other: use -o OUT for one file, -d DIR for one or more"};
  }
  if (outputGiven && IsBlank(options.output)) {
    throw UsageError{"-o: the output path is blank: give a file name, or leave -o out to print the XML"};
  }
  if (folderGiven && IsBlank(options.outputFolder)) throw UsageError{"-d: the output folder is blank: give a folder"};
  if (options.batch() && !folderGiven) {
    throw UsageError{"several files need -d DIR: each is written to DIR/<name>.xml"};
  }
  if (folderGiven && !IsDirectory(options.outputFolder)) {
    throw UsageError{"-d: the output folder " + options.outputFolder + " does not exist: create it first"};
  }
}

void CheckReport(const ToolOptions& options) {
  if (options.htmlReport.empty()) return;
  if (IsBlank(options.htmlReport)) throw UsageError{"--html: the report path is blank: give a file name"};
  if (options.batch()) throw UsageError{"--html reports on one file: run once per file"};
  if (!FolderOfExists(options.htmlReport)) {
    throw UsageError{"--html: the folder of " + options.htmlReport + " does not exist: create it first"};
  }
  if (SameFile(options.htmlReport, options.files.front())) {
    throw UsageError{"--html: " + options.htmlReport + " is the input file: give another name for the report"};
  }
}

// A history named on the command line must be there: only `history add`
// creates one.
void CheckHistory(const ToolOptions& options) {
  if (!options.historyGiven) return;
  if (IsBlank(options.history)) throw UsageError{"--history: the path is blank: give a file"};
  if (options.command == ToolCommand::Convert && !options.validatesOutput()) {
    throw UsageError{"--history is consulted when the converted XML is validated, which " +
                     std::string(options.noValidate ? "--no-validate skips: remove one of them"
                                                    : "schema 1.0 output is not: use it with schema 2.0")};
  }
  struct stat status;
  if (stat(options.history.c_str(), &status) != 0) {
    throw UsageError{"--history: there is no filing history at " + options.history +
                     ": record a filed message with `quorvex history add` first"};
  }
}

}  // namespace

std::optional<int> CommandLine::Parse(int argc, char** argv, ToolOptions& options) {
  CLI::App app{"Checks CRS account data (Shift_JIS CSV) and converts it into CRS XML.", "quorvex"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("quorvex ") + quorvex_version());
  app.footer(kFooter);
  std::string language;
  std::string limit = "-1";
  options.jobs = std::max(1u, std::thread::hardware_concurrency());

  const auto common = [&](CLI::App* command, const char* fileHelp) {
    command->add_option("FILE", options.files, fileHelp)->required()->type_name("");
    command->add_option("--schema", options.schema, "schema version, 1 or 2 (default 2)")
        ->check(CLI::IsMember({1, 2}));
    command->add_option("--year", options.year, "reporting year, required by the schema 2.0 check")
        ->type_name("YYYY");
    command->add_option("--html", options.htmlReport, "also write a self-contained HTML report of one file")
        ->type_name("REPORT");
    command->add_option("-j", options.jobs, "files run at once, each on its own thread (default: the number of cores)")
        ->type_name("N")
        ->check(CLI::Range(1u, 1024u));
    command->add_flag("--json", options.json, "print the result record as JSON, with an \"Errors\" list");
    command->add_option("--lang", language, "language of the messages, ja or en (default: from the locale)")
        ->check(CLI::IsMember({"ja", "en"}));
  };
  CLI::App* check = app.add_subcommand("check", "check CSV files");
  common(check, "CSV files");
  CLI::App* convert = app.add_subcommand("convert", "check CSV files, then convert those that pass into CRS XML, "
                                                    "written only when it passes validation");
  common(convert, "CSV files");
  convert->add_option("-o", options.output, "output file of one CSV file (default: standard output)")
      ->type_name("OUT");
  convert->add_option("-d", options.outputFolder, "output folder: writes DIR/<name>.xml per file")
      ->type_name("DIR");
  convert->add_flag("--no-check", options.noCheck, "convert without checking first, as the library does");
  convert->add_flag("--no-validate", options.noValidate,
                    "write the XML without validating it first against the OECD schema and Status Message rules");
  convert->add_option("--history", options.history, "filing history to check the message against (default: "
                                                    "the user's, when it exists)")
      ->type_name("DB");
  CLI::App* readXml = app.add_subcommand("read-xml", "read back an XML file");
  readXml->add_option("FILE", options.files, "XML file")->required()->expected(1);
  readXml->add_option("--limit", limit, "byte limit, -1 for none (default)")->type_name("N");
  readXml->add_flag("--json", options.json, "print the result record as JSON, with an \"Errors\" list");
  readXml->add_option("--lang", language, "language of the messages, ja or en (default: from the locale)")
      ->check(CLI::IsMember({"ja", "en"}));

  CLI::App* validate = app.add_subcommand("validate", "validate CRS XML messages against the OECD schema and "
                                                      "Status Message rules");
  validate->add_option("FILE", options.files, "CRS XML files")->required()->type_name("");
  validate->add_flag("--json", options.json, "print one JSON object per file (an array for several)");
  validate->add_option("--html", options.htmlReport, "also write a self-contained HTML report of one file")
      ->type_name("REPORT");
  validate->add_option("--lang", language, "language of the messages, ja or en (default: from the locale)")
      ->check(CLI::IsMember({"ja", "en"}));
  validate->add_option("--context", options.context,
                       "domestic or exchange (default: domestic when TransmittingCountry equals ReceivingCountry)")
      ->check(CLI::IsMember({"domestic", "exchange"}));
  validate->add_option("--history", options.history, "filing history to check against (default: the user's, "
                                                     "when it exists)")
      ->type_name("DB");

  CLI::App* history = app.add_subcommand("history", "the filing history: messages filed and the authority's answers");
  history->require_subcommand(1);
  const auto historyFile = [&](CLI::App* action) {
    action->add_option("--history", options.history, "the history file (default: " +
                                                          HistoryCommand::DefaultPathText() + ")")
        ->type_name("DB");
  };
  CLI::App* add = history->add_subcommand("add", "record a message that was filed");
  add->add_option("FILE", options.files, "the CRS XML message filed")->required()->expected(1)->type_name("");
  add->add_option("--csv", options.csv, "the CSV file it was converted from: records its line for each DocRefId")
      ->type_name("FILE.csv");
  historyFile(add);
  CLI::App* list = history->add_subcommand("list", "list the messages recorded");
  list->add_flag("--json", options.json, "print a JSON array, one object per message");
  historyFile(list);
  CLI::App* status = history->add_subcommand("status", "import the authority's CRS status message");
  status->add_option("FILE", options.files, "the status message (urn:oecd:ties:csm:v2)")
      ->required()->expected(1)->type_name("");
  status->add_flag("--json", options.json, "print the answer as one JSON object");
  historyFile(status);

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsageError;
  }

  CLI::App* chosen = check->parsed()     ? check
                     : convert->parsed() ? convert
                     : readXml->parsed() ? readXml
                     : history->parsed() ? history
                                         : validate;
  options.command = chosen == check     ? ToolCommand::Check
                    : chosen == convert ? ToolCommand::Convert
                    : chosen == readXml ? ToolCommand::ReadXml
                    : chosen == history ? ToolCommand::History
                                        : ToolCommand::Validate;
  if (chosen == history) {
    CLI::App* action = add->parsed() ? add : list->parsed() ? list : status;
    options.historyAction = action->get_name();
    options.historyGiven = action->count("--history") > 0;
  } else if (chosen == convert || chosen == validate) {
    options.historyGiven = chosen->count("--history") > 0;
  }
  options.language = language.empty() ? MessageLanguage::FromLocale()
                     : language == "ja" ? ToolLanguage::Japanese
                                        : ToolLanguage::English;
  try {
    if (options.command == ToolCommand::ReadXml) {
      options.limit = ParseLimit(limit);
    } else if (options.command == ToolCommand::Validate) {
      CheckReport(options);
      CheckHistory(options);
    } else if (options.command == ToolCommand::History) {
      if (options.historyGiven && IsBlank(options.history)) throw UsageError{"--history: the path is blank: give a file"};
    } else {
      options.yearGiven = chosen->count("--year") > 0;
      CheckYear(options);
      if (options.command == ToolCommand::Convert) {
        CheckOutputs(options, convert->count("-o") > 0, convert->count("-d") > 0);
        CheckHistory(options);
      }
      CheckReport(options);
    }
  } catch (const UsageError& error) {
    std::cerr << "quorvex " << chosen->get_name() << (options.historyAction.empty() ? "" : " " + options.historyAction)
              << ": " << error.message << "\nRun with --help for more information.\n";
    return kUsageError;
  }
  return std::nullopt;
}
