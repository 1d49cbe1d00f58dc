#pragma once
#include "validate/CLCMessageRules.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex::internal {

// What the record rules need of one AccountReport, gathered while it streams
// past and dropped at its end.
struct CLCAccountFacts {
  std::string accountNumber;
  std::string acctNumberType;  // attribute of AccountNumber
  bool closed = false;         // AccountNumber's ClosedAccount
  CLCValuePosition accountNumberAt;
  std::string balance;
  CLCValuePosition balanceAt;
  bool individualHolder = false;
  bool organisationHolder = false;
  std::string acctHolderType;
  CLCValuePosition acctHolderTypeAt;
  CLCValuePosition holderAt;  // the AccountHolder element
  std::vector<std::string> holderCountries;  // the holder's ResCountryCode values
  std::vector<std::string> personCountries;  // every ControllingPerson's
  long controllingPersons = 0;
  CLCValuePosition firstPersonAt;
};

// The Status Message record rules (60000 range) that look at a record's
// content, one record at a time.
class CLCRecordRules {
 public:
  // Account number, balance, holder type and controlling persons; residence
  // against the receiving country only between jurisdictions.
  static void CheckAccount(const CLCAccountFacts& account, const CLCMessageSpec& message,
                           CLCValidationContext context, std::vector<CLCValidationFinding>& findings);
  // A BirthDate (xsd:date text) against 1900-01-01 and the message's creation
  // date (the first ten characters of its Timestamp).
  static void CheckBirthDate(std::string_view date, const CLCValuePosition& at, std::string_view created,
                             std::vector<CLCValidationFinding>& findings);
  // The ReportingFI resides where the message is sent from.
  static void CheckReportingFI(const std::vector<std::string>& countries, const CLCValuePosition& at,
                               const CLCMessageSpec& message, std::vector<CLCValidationFinding>& findings);
  static bool IsIban(std::string_view text);
  static bool IsIsin(std::string_view text);
};
}  // namespace quorvex::internal
