#pragma once
#include <string>
#include <vector>

namespace quorvex_test {

using Row = std::vector<std::string>;

// Rows of a CSV file, read with the engine's own tokeniser.
std::vector<Row> LoadCsvRows(const std::string& path);
// Writes rows as Shift_JIS CSV with CR LF line ends.
void SaveCsvRows(const std::string& path, const std::vector<Row>& rows);
// Path of a file of the source tree, e.g. "samples/crs-sample-2.0.csv".
std::string SourcePath(const std::string& relative);
// Validates an XML file against the OECD CRS v2.0 schema with xmllint; its output on failure.
bool PassesCrsSchema(const std::string& xmlPath, std::string* diagnostics);

}  // namespace quorvex_test
