#include "validate/CLCRecordRules.h"

#include <algorithm>
#include <cctype>

namespace quorvex::internal {

namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsUpper(c) || IsDigit(c); }

// Letters count as 10 to 35 in both check-digit schemes.
int LetterValue(char c) { return c - 'A' + 10; }

bool Contains(const std::vector<std::string>& countries, const std::string& country) {
  return std::find(countries.begin(), countries.end(), country) != countries.end();
}

// A decimal text: its sign and whether any digit is not zero.
struct Amount {
  bool negative = false;
  bool zero = true;
};

Amount ReadAmount(std::string_view text) {
  Amount amount;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    amount.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  amount.zero = std::none_of(text.begin(), text.end(), [](char c) { return c >= '1' && c <= '9'; });
  amount.negative = amount.negative && !amount.zero;
  return amount;
}

}  // namespace

// ISO 13616: country letters, two check digits, up to 30 letters or digits,
// the whole rotated and read as a number giving 1 modulo 97.
bool CLCRecordRules::IsIban(std::string_view text) {
  if (text.size() < 15 || text.size() > 34) return false;
  if (!IsUpper(text[0]) || !IsUpper(text[1]) || !IsDigit(text[2]) || !IsDigit(text[3])) return false;
  if (!std::all_of(text.begin(), text.end(), IsAlnum)) return false;
  int remainder = 0;
  const auto feed = [&](char c) {
    if (IsDigit(c)) {
      remainder = (remainder * 10 + (c - '0')) % 97;
    } else {
      remainder = (remainder * 100 + LetterValue(c)) % 97;
    }
  };
  std::for_each(text.begin() + 4, text.end(), feed);
  std::for_each(text.begin(), text.begin() + 4, feed);
  return remainder == 1;
}

// ISO 6166: two country letters, nine letters or digits, a check digit by the
// Luhn scheme over the letters expanded to two digits.
bool CLCRecordRules::IsIsin(std::string_view text) {
  if (text.size() != 12 || !IsUpper(text[0]) || !IsUpper(text[1]) || !IsDigit(text[11])) return false;
  if (!std::all_of(text.begin(), text.end(), IsAlnum)) return false;
  std::string digits;
  for (char c : text) digits += IsDigit(c) ? std::string(1, c) : std::to_string(LetterValue(c));
  int sum = 0;
  bool twice = false;  // from the rightmost digit, which is the check digit itself
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    int value = *it - '0';
    if (twice) value = value * 2 > 9 ? value * 2 - 9 : value * 2;
    sum += value;
    twice = !twice;
  }
  return sum % 10 == 0;
}

void CLCRecordRules::CheckAccount(const CLCAccountFacts& account, const CLCMessageSpec& message,
                                  CLCValidationContext context, std::vector<CLCValidationFinding>& findings) {
  const auto error = CLCFindingSeverity::Error;
  if (account.acctNumberType == "OECD601" && !IsIban(account.accountNumber)) {
    AddFinding(findings, "60000", error, account.accountNumberAt, "",
               "account number " + account.accountNumber + " is typed as an IBAN (OECD601) but is not one: "
               "country letters, check digits and up to 30 letters or digits, without spaces, checksum 1 modulo 97");
  }
  if (account.acctNumberType == "OECD603" && !IsIsin(account.accountNumber)) {
    AddFinding(findings, "60001", error, account.accountNumberAt, "",
               "account number " + account.accountNumber + " is typed as an ISIN (OECD603) but is not one: "
               "two country letters, nine letters or digits and a check digit");
  }
  const Amount balance = ReadAmount(account.balance);
  if (balance.negative) {
    AddFinding(findings, "60002", error, account.balanceAt, "",
               "account balance " + account.balance + " is negative: a negative balance is reported as 0");
  } else if (account.closed && !balance.zero && !account.balance.empty()) {
    AddFinding(findings, "60003", error, account.balanceAt, "",
               "the account is closed (ClosedAccount) but its balance is " + account.balance +
                   ": a closed account reports a balance of 0");
  }
  const bool mayHavePersons = account.organisationHolder && account.acctHolderType == "CRS101";
  if (account.controllingPersons > 0 && (account.individualHolder || account.acctHolderType == "CRS102" ||
                                         account.acctHolderType == "CRS103")) {
    AddFinding(findings, "60005", error, account.firstPersonAt, "",
               std::string("controlling persons are reported only for a passive NFE (AcctHolderType CRS101), not "
                           "for ") +
                   (account.individualHolder ? "an individual account holder"
                                             : "AcctHolderType " + account.acctHolderType));
  }
  if (mayHavePersons && account.controllingPersons == 0) {
    AddFinding(findings, "60006", error, account.acctHolderTypeAt, "",
               "AcctHolderType CRS101 (passive NFE with reportable controlling persons) needs at least one "
               "ControllingPerson");
  }
  // Between jurisdictions a record goes to the country its holder resides
  // in; at home the authority forwards each record itself.
  if (context != CLCValidationContext::Exchange || message.receivingCountry.empty()) return;
  const std::string& to = message.receivingCountry;
  if (account.individualHolder && !Contains(account.holderCountries, to)) {
    AddFinding(findings, "60011", error, account.holderAt, "",
               "no ResCountryCode of the individual account holder is the receiving country " + to);
  }
  if (account.organisationHolder && !Contains(account.holderCountries, to) &&
      !(mayHavePersons && Contains(account.personCountries, to))) {
    AddFinding(findings, "60012", error, account.holderAt, "",
               "neither the entity account holder nor one of its controlling persons resides in the receiving "
               "country " + to);
  }
}

void CLCRecordRules::CheckBirthDate(std::string_view date, const CLCValuePosition& at, std::string_view created,
                                    std::vector<CLCValidationFinding>& findings) {
  // xsd:date text compares as a date once the optional zone is cut off;
  // the schema has already judged its form.
  const std::string_view day = date.substr(0, 10);
  if (day.size() != 10 || day[4] != '-') return;
  if (day < "1900-01-01") {
    AddFinding(findings, "60014", CLCFindingSeverity::Error, at, "",
               "birth date " + std::string(date) + " is before 1900-01-01");
  } else if (day == "1900-01-01") {
    AddFinding(findings, "60014", CLCFindingSeverity::Warning, at, "",
               "birth date 1900-01-01 is a placeholder, not a date: leave the BirthDate out when it is not known");
  } else if (created.size() >= 10 && day > created.substr(0, 10)) {
    AddFinding(findings, "60014", CLCFindingSeverity::Error, at, "",
               "birth date " + std::string(date) + " is after the message was created (" +
                   std::string(created.substr(0, 10)) + ")");
  }
}

void CLCRecordRules::CheckReportingFI(const std::vector<std::string>& countries, const CLCValuePosition& at,
                                      const CLCMessageSpec& message, std::vector<CLCValidationFinding>& findings) {
  if (countries.empty() || message.transmittingCountry.empty()) return;
  if (Contains(countries, message.transmittingCountry)) return;
  AddFinding(findings, "60013", CLCFindingSeverity::Error, at, "",
             "the reporting financial institution does not reside in the transmitting country " +
                 message.transmittingCountry);
}
}  // namespace quorvex::internal
