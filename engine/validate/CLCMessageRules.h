#pragma once
#include "CLCValidationResult.h"

#include <string>
#include <vector>

namespace quorvex::internal {

// Where a value sits in the message.
struct CLCValuePosition {
  long line = 0;  // 0: the element is absent
  long column = 0;
  std::string path;
};

// What the Status Message rules need of one record (ReportingFI or
// AccountReport): its DocSpec. Kept per record, never the record's content,
// so that memory follows the record count, not the message size. Rules that
// look at earlier filings (CorrDocRefId unknown or no longer valid, a
// MessageRefId or DocRefId used before) take the same records with the
// filing history.
struct CLCRecordSpec {
  bool account = false;  // an AccountReport; the ReportingFI otherwise
  std::string docTypeIndic;
  CLCValuePosition docTypeIndicAt;
  std::string docRefId;
  CLCValuePosition docRefIdAt;
  std::string corrDocRefId;
  CLCValuePosition corrDocRefIdAt;
};

struct CLCMessageSpec {
  std::string sendingCompanyIN;  // may be absent
  std::string reportingFIIN;     // the first ReportingFI's IN: with SendingCompanyIN, the institution
  std::string reportingPeriod;
  std::string transmittingCountry;
  std::string receivingCountry;
  std::string messageRefId;
  CLCValuePosition messageRefIdAt;
  std::string messageTypeIndic;  // CRS701 new, CRS702 corrections, CRS703 nil; may be absent
  CLCValuePosition messageTypeIndicAt;
  std::string timestamp;

  // Who filed the message: SendingCompanyIN, else the first ReportingFI's IN.
  const std::string& Institution() const { return sendingCompanyIN.empty() ? reportingFIIN : sendingCompanyIN; }
};

// What a DocTypeIndic says of its record; test records (OECD10 to OECD13)
// mirror the live ones.
enum class CLCDocKind { Resend, New, Correction, Other };
CLCDocKind CLCDocKindOf(const std::string& docTypeIndic);
bool CLCIsTestRecord(const std::string& docTypeIndic);

// Adds one error or warning, its line and column at least 1.
void AddFinding(std::vector<CLCValidationFinding>& findings, const char* code, CLCFindingSeverity severity,
                const CLCValuePosition& at, const std::string& docRefId, std::string message);

// The Status Message rules that one message shows on its own (no history).
class CLCMessageRules {
 public:
  // The context a message is checked in: Automatic becomes Domestic when the
  // transmitting and receiving countries are the same, Exchange otherwise.
  static CLCValidationContext Resolve(CLCValidationContext requested, const CLCMessageSpec& message);
  static void Check(const CLCMessageSpec& message, const std::vector<CLCRecordSpec>& records,
                    CLCValidationContext context, std::vector<CLCValidationFinding>& findings);
};
}  // namespace quorvex::internal
