#pragma once
#include <string>
#include <vector>

// Whether a CRS XML message would pass the receiving authority's checks: the
// OECD schema and the Status Message rules, each finding under its official
// code ("50007", "80000"...).

enum class CLCFindingSeverity { Error, Warning };

// Domestic: a filing to one's own authority (TransmittingCountry equals
// ReceivingCountry); exchange: between jurisdictions. Automatic decides from
// the message.
enum class CLCValidationContext { Automatic, Domestic, Exchange };

struct CLCValidationFinding {
  std::string code;  // Status Message code, "50007"
  CLCFindingSeverity severity = CLCFindingSeverity::Error;
  long line = 1;     // 1-based position in the message
  long column = 1;
  std::string path;      // "/CRS_OECD/CrsBody/ReportingGroup/AccountReport[2]/DocSpec/DocRefId"
  std::string docRefId;  // the record the finding is in; empty outside a record
  std::string message;   // English detail
};

struct CLCValidationResult {
  // True when no finding is an error; false too when the message could not be
  // read at all (then `note` says why).
  bool valid = false;
  CLCValidationContext context = CLCValidationContext::Domestic;  // the one applied
  std::vector<CLCValidationFinding> findings;  // in message order
  std::string note;  // what was not checked, or why nothing was
};
