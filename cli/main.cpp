// quorvex: command-line front end of the CRS CSV checker and converter.
#include "CLCCsvConvDataCRS.h"
#include "DetailErrorPrinter.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <string>

namespace {

constexpr int kUsageError = 2;

struct Options {
  std::string file;
  std::string output;
  std::string year;
  int schema = 2;
  long long limit = -1;
  bool json = false;
};

void PrintJson(const CLCCsvConvResultCRS& result) {
  const nlohmann::json object = {
      {"Result", result.getResult()},
      {"DetailErrorInfo", result.getDetailErrorInfo()},
      {"HojinNo", result.getHojinNo()},
      {"GIIN", result.getGIIN()},
      {"AccountReportCount", result.getAccountReportCount()},
      {"CRSData", result.getCRSData()},
      {"XMLData", result.getXMLData()},
  };
  std::cout << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

std::string Summary(const CLCCsvConvResultCRS& result) {
  std::string text = std::to_string(result.getAccountReportCount()) + " account report(s)";
  if (!result.getHojinNo().empty()) text += ", corporate number " + result.getHojinNo();
  if (!result.getGIIN().empty()) text += ", GIIN " + result.getGIIN();
  return text;
}

int Finish(const CLCCsvConvResultCRS& result, const Options& options,
           DetailErrorPrinter::Operation operation) {
  const bool ok = result.getResult() == "S_OK";
  if (options.json) {
    PrintJson(result);
  } else if (!ok) {
    DetailErrorPrinter(operation).Print(result.getErrorDescriptions(), std::cerr);
  } else if (operation == DetailErrorPrinter::Operation::Check) {
    std::cout << "OK: " << options.file << " passed the schema " << options.schema << ".0 check, "
              << Summary(result) << '\n';
  } else if (operation == DetailErrorPrinter::Operation::ReadXml) {
    std::cout << result.getXMLData();
  } else if (options.output.empty()) {
    std::cout << result.getCRSData() << '\n';
  } else {
    std::cout << "OK: wrote " << options.output << ", " << Summary(result) << '\n';
  }
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Checks CRS account data (Shift_JIS CSV) and converts it into CRS XML."};
  app.require_subcommand(1);
  Options options;

  CLI::App* check = app.add_subcommand("check", "check a CSV file");
  check->add_option("FILE", options.file, "CSV file")->required();
  check->add_option("--schema", options.schema, "schema version")->check(CLI::IsMember({1, 2}));
  check->add_option("--year", options.year, "reporting year (schema 2)");
  check->add_flag("--json", options.json, "print the result record as JSON");

  CLI::App* convert = app.add_subcommand("convert", "convert a CSV file into CRS XML");
  convert->add_option("FILE", options.file, "CSV file")->required();
  convert->add_option("--schema", options.schema, "schema version")->check(CLI::IsMember({1, 2}));
  convert->add_option("-o", options.output, "output file (default: standard output)");
  convert->add_flag("--json", options.json, "print the result record as JSON");

  CLI::App* readXml = app.add_subcommand("read-xml", "read back an XML file");
  readXml->add_option("FILE", options.file, "XML file")->required();
  readXml->add_option("--limit", options.limit, "byte limit, -1 for none");
  readXml->add_flag("--json", options.json, "print the result record as JSON");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsageError;
  }

  CLCCsvConvDataCRS facade;
  facade.SetDescribeErrors(true);
  if (check->parsed()) {
    const CLCCsvConvResultCRS* result =
        options.schema == 1 ? facade.CRSCsvCheck(options.file.c_str())
                            : facade.CRSCsvCheck2(options.file.c_str(), options.year.c_str());
    return Finish(*result, options, DetailErrorPrinter::Operation::Check);
  }
  if (convert->parsed()) {
    const CLCCsvConvResultCRS* result =
        options.schema == 1 ? facade.CsvConvCRSData(options.file.c_str(), options.output.c_str())
                            : facade.CsvConvCRSData2(options.file.c_str(), options.output.c_str());
    return Finish(*result, options, DetailErrorPrinter::Operation::Convert);
  }
  const CLCCsvConvResultCRS* result = facade.ReadXMLFile(options.file.c_str(), static_cast<long>(options.limit));
  return Finish(*result, options, DetailErrorPrinter::Operation::ReadXml);
}
