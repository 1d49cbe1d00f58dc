#pragma once
#include "CLCRecordOrigin.h"
#include "CLCValidationResult.h"
#include "MessageLanguage.h"

#include <string>
#include <vector>

// A validation finding, and for a message the tool converted itself, the CSV
// lines whose record it is in: the place a person corrects.
struct SourcedFinding {
  CLCValidationFinding finding;
  // Lines of the CSV records that hold the finding's DocRefId, in file order:
  // one as a rule, several when the CSV repeats the DocRefId (then the tool
  // cannot tell which one made the record, and names them all); none for a
  // finding outside a record or a validated file of unknown origin.
  std::vector<long> csvLines;
};

const char* SeverityName(CLCFindingSeverity severity);
// "domestic" or "exchange".
const char* ContextName(CLCValidationContext context);

// The code's title in the chosen language, then the library's English detail.
std::string FindingMessage(const CLCValidationFinding& finding, ToolLanguage language);

std::size_t CountErrors(const std::vector<SourcedFinding>& findings);

// "2 errors, 1 warning", "1 warning".
std::string FindingCounts(const std::vector<SourcedFinding>& findings);

// Each finding with the CSV lines that hold its DocRefId.
std::vector<SourcedFinding> SourceFindings(const std::vector<CLCValidationFinding>& findings,
                                           const std::vector<CLCRecordOrigin>& origins);

// Findings as they are, for a file whose CSV the tool does not know.
std::vector<SourcedFinding> Unsourced(const std::vector<CLCValidationFinding>& findings);

// Where to correct a finding of a converted message: "CSV file line 4",
// "CSV file lines 1, 4", "message-level" or "no CSV record with DocRefId X".
std::string CsvPlace(const SourcedFinding& sourced);

// "XML line 1, column 1709, /CRS_OECD/..., DocRefId X".
std::string XmlPlace(const CLCValidationFinding& finding);

// The keys of `quorvex validate --json`, in its order; JSON is nlohmann's
// json or ordered_json.
template <class Json>
Json FindingJson(const CLCValidationFinding& finding, ToolLanguage language) {
  return Json{{"code", finding.code},           {"severity", SeverityName(finding.severity)},
              {"line", finding.line},           {"column", finding.column},
              {"path", finding.path},           {"docRefId", finding.docRefId},
              {"message", FindingMessage(finding, language)}};
}
