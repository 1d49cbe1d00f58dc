// quorvex: command-line front end of the CRS CSV checker and converter.
#include "BatchRunner.h"
#include "CommandLine.h"
#include "HistoryCommand.h"
#include "Interruption.h"
#include "OutcomeReporter.h"
#include "ValidateCommand.h"

int main(int argc, char** argv) {
  ToolOptions options;
  if (const auto status = CommandLine::Parse(argc, argv, options)) return *status;

  if (options.command == ToolCommand::History) return HistoryCommand(options).Run();
  if (options.command == ToolCommand::Validate || (options.command == ToolCommand::Convert && options.checksFirst())) {
    if (const auto status = HistoryCommand::Resolve(options)) return *status;
  }
  if (options.command == ToolCommand::Validate) return ValidateCommand(options).Run();

  Interruption::Install();
  OutcomeReporter reporter(options);
  BatchRunner(options).Run([&](FileOutcome&& outcome) { reporter.Report(std::move(outcome)); });
  return reporter.Finish();
}
