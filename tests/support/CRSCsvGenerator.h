#pragma once
// Generator of large, valid schema 2.0 CRS CSV files for benchmarks and tests.
//
// The text is plain ASCII, so it is the same in UTF-8 and in Shift_JIS. Every record
// passes the column rules of the schema 2.0 validation definition, the account-holder
// rule and the cross-record checks with the reporting year of the options:
//   - one header (kind 1, 45 columns), MessageTypeIndic CRS701, DocTypeIndic OECD1;
//   - accounts (kind 2, 150 columns), DocRefId = MessageRefId + "AC" + 7 digits,
//     odd numbers individuals, even numbers organisations whose holder type
//     alternates between CRS101 (with one controlling person) and CRS103 (without);
//   - controlling persons (kind 3, 100 columns) of the CRS101 organisations;
//   - payments (kind 4, 5 columns) on every account.
// Records come in kind order, each ended by CR LF.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

struct CrsCsvOptions {
  int year = 2023;                                // reporting year, four digits
  std::string corporateNumber = "8000000000001";  // 13 digits with a valid check digit
  std::size_t paymentsPerAccount = 1;
};

// Check digit (first digit) of a corporate number whose other twelve digits are given:
// 9 - (sum of the digits weighted 2, 1, 2, 1, ... from the first of them) mod 9.
inline char CorporateNumberCheckDigit(const std::string& twelveDigits) {
  int sum = 0;
  for (std::size_t i = 0; i < twelveDigits.size(); ++i) sum += (twelveDigits[i] - '0') * (i % 2 == 0 ? 2 : 1);
  return static_cast<char>('0' + 9 - sum % 9);
}

namespace crs_csv_generator_detail {

inline std::string Digits7(std::size_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "%07zu", number % 10000000);
  return text;
}

// Joins the columns with commas and ends the record.
inline void Append(std::string& out, const std::vector<std::string>& columns) {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i != 0) out += ',';
    out += columns[i];
  }
  out += "\r\n";
}

class Builder {
 public:
  explicit Builder(const CrsCsvOptions& options)
      : m_year(std::to_string(options.year)),
        m_messageRefId("JP" + m_year + "JPCN" + options.corporateNumber + "001"),
        m_corporateNumber(options.corporateNumber) {}

  std::string DocRefId(std::size_t account) const { return m_messageRefId + "AC" + Digits7(account); }

  std::vector<std::string> Header() const {
    std::vector<std::string> c(45);
    c[0] = "1";
    c[1] = "2.0";
    c[3] = "Quorvex benchmark desk";
    c[4] = m_messageRefId;
    c[5] = "CRS701";
    c[6] = m_year + "-12-31";
    c[7] = m_corporateNumber;
    c[8] = "JP";
    c[22] = "Quorvex Trust Bank Ltd";
    c[32] = "\"1-1 Otemachi, Chiyoda-ku, Tokyo\"";  // quoted: it holds commas
    c[33] = "OECD304";
    c[42] = "OECD1";
    c[43] = m_messageRefId + "FI0000001";
    return c;
  }

  // Odd account numbers are individuals, even ones organisations.
  std::vector<std::string> Account(std::size_t account) const {
    std::vector<std::string> c(150);
    c[0] = "2";
    c[1] = "OECD1";
    c[2] = DocRefId(account);
    c[4] = "ACCT" + Digits7(account);
    c[5] = "OECD605";
    c[6] = "false";
    c[7] = "false";
    c[8] = "false";
    if (account % 2 == 1) {
      c[9] = "JP";              // 10 ResCountryCode
      c[10] = "TIN" + Digits7(account);
      c[11] = "JP";
      c[22] = "Taro";           // 23 FirstName
      c[28] = "Yamada";         // 29 LastName
      c[33] = "OECD202";
      c[90] = "JP";             // 91 Address CountryCode
      c[91] = "\"2-3-4 Shibuya, Shibuya-ku, Tokyo\"";
      c[105] = "1980-05-15";    // 106 BirthDate
    } else {
      c[106] = "JP";            // 107 ResCountryCode
      c[107] = "IN" + Digits7(account);
      c[108] = "JP";
      c[122] = "Example Holdings KK";  // 123 Name
      c[123] = "OECD207";
      c[132] = "JP";            // 133 Address CountryCode
      c[133] = "5-6-7 Minato-ku Tokyo";
      c[147] = HasControllingPerson(account) ? "CRS101" : "CRS103";
    }
    c[148] = "1234567.89";
    c[149] = "JPY";
    return c;
  }

  static bool HasControllingPerson(std::size_t account) { return account % 4 == 2; }

  std::vector<std::string> ControllingPerson(std::size_t account) const {
    std::vector<std::string> c(100);
    c[0] = "3";
    c[1] = DocRefId(account);
    c[2] = "JP";
    c[3] = "CPTIN" + Digits7(account);
    c[4] = "JP";
    c[15] = "Hanako";     // 16 FirstName
    c[21] = "Suzuki";     // 22 LastName
    c[83] = "JP";         // 84 Address CountryCode
    c[84] = "8-9-10 Chuo-ku Tokyo";
    c[98] = "1975-03-20";  // 99 BirthDate
    c[99] = "CRS801";
    return c;
  }

  std::vector<std::string> Payment(std::size_t account) const {
    return {"4", DocRefId(account), "CRS501", "10000.50", "JPY"};
  }

 private:
  std::string m_year;
  std::string m_messageRefId;
  std::string m_corporateNumber;
};

inline std::size_t Size(const std::vector<std::string>& columns) {
  std::string out;
  Append(out, columns);
  return out.size();
}

}  // namespace crs_csv_generator_detail

// A valid file of at most targetBytes bytes, as close to it as whole accounts (with
// their controlling persons and payments) allow; always at least the header.
inline std::string GenerateCrsCsv(std::size_t targetBytes, const CrsCsvOptions& options = {}) {
  using namespace crs_csv_generator_detail;
  const Builder builder(options);

  // Every field that varies has a fixed width, so each record shape has one size.
  const std::size_t headerSize = Size(builder.Header());
  const std::size_t individualSize = Size(builder.Account(1));
  const std::size_t organisationSize = Size(builder.Account(2));
  const std::size_t personSize = Size(builder.ControllingPerson(2));
  const std::size_t paymentsSize = Size(builder.Payment(1)) * options.paymentsPerAccount;

  std::size_t accounts = 0;
  std::size_t total = headerSize;
  for (;;) {
    const std::size_t next = accounts + 1;
    std::size_t add = (next % 2 == 1 ? individualSize : organisationSize) + paymentsSize;
    if (Builder::HasControllingPerson(next)) add += personSize;
    if (total + add > targetBytes || next > 9999999) break;
    total += add;
    accounts = next;
  }

  std::string out;
  out.reserve(total);
  Append(out, builder.Header());
  for (std::size_t a = 1; a <= accounts; ++a) Append(out, builder.Account(a));
  for (std::size_t a = 1; a <= accounts; ++a) {
    if (Builder::HasControllingPerson(a)) Append(out, builder.ControllingPerson(a));
  }
  for (std::size_t a = 1; a <= accounts; ++a) {
    for (std::size_t p = 0; p < options.paymentsPerAccount; ++p) Append(out, builder.Payment(a));
  }
  return out;
}
