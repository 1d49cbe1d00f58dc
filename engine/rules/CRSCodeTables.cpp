#include "rules/CRSCodeTables.h"

namespace quorvex::internal {

namespace {

template <std::size_t N>
constexpr bool StrictlyAscending(const std::array<std::string_view, N>& table) {
  for (std::size_t i = 0; i < N; ++i) {
    if (table[i].empty()) return false;
    if (i > 0 && !(table[i - 1] < table[i])) return false;
  }
  return true;
}

template <std::size_t N>
constexpr bool AllOfLength(const std::array<std::string_view, N>& table, std::size_t length) {
  for (const auto& code : table) {
    if (code.size() != length) return false;
  }
  return true;
}

// Both inputs ascending; the result ascending.
template <std::size_t N, std::size_t K>
constexpr std::array<std::string_view, N + K> MergeSorted(const std::array<std::string_view, N>& base,
                                                          const std::array<std::string_view, K>& added) {
  std::array<std::string_view, N + K> merged{};
  std::size_t i = 0, j = 0, k = 0;
  while (i < N || j < K) {
    if (j == K || (i < N && base[i] < added[j])) {
      merged[k++] = base[i++];
    } else {
      merged[k++] = added[j++];
    }
  }
  return merged;
}

}  // namespace

// Kept in alphabetical order: the binary search depends on it.
constexpr std::array<std::string_view, 249> ISO3166Alpha2_Table = {
    "AD", "AE", "AF", "AG", "AI", "AL", "AM", "AO", "AQ", "AR", "AS", "AT", "AU", "AW", "AX", "AZ",
    "BA", "BB", "BD", "BE", "BF", "BG", "BH", "BI", "BJ", "BL", "BM", "BN", "BO", "BQ", "BR", "BS", "BT", "BV", "BW", "BY", "BZ",
    "CA", "CC", "CD", "CF", "CG", "CH", "CI", "CK", "CL", "CM", "CN", "CO", "CR", "CU", "CV", "CW", "CX", "CY", "CZ",
    "DE", "DJ", "DK", "DM", "DO", "DZ",
    "EC", "EE", "EG", "EH", "ER", "ES", "ET",
    "FI", "FJ", "FK", "FM", "FO", "FR",
    "GA", "GB", "GD", "GE", "GF", "GG", "GH", "GI", "GL", "GM", "GN", "GP", "GQ", "GR", "GS", "GT", "GU", "GW", "GY",
    "HK", "HM", "HN", "HR", "HT", "HU",
    "ID", "IE", "IL", "IM", "IN", "IO", "IQ", "IR", "IS", "IT",
    "JE", "JM", "JO", "JP",
    "KE", "KG", "KH", "KI", "KM", "KN", "KP", "KR", "KW", "KY", "KZ",
    "LA", "LB", "LC", "LI", "LK", "LR", "LS", "LT", "LU", "LV", "LY",
    "MA", "MC", "MD", "ME", "MF", "MG", "MH", "MK", "ML", "MM", "MN", "MO", "MP", "MQ", "MR", "MS", "MT", "MU", "MV", "MW", "MX", "MY", "MZ",
    "NA", "NC", "NE", "NF", "NG", "NI", "NL", "NO", "NP", "NR", "NU", "NZ",
    "OM",
    "PA", "PE", "PF", "PG", "PH", "PK", "PL", "PM", "PN", "PR", "PS", "PT", "PW", "PY",
    "QA",
    "RE", "RO", "RS", "RU", "RW",
    "SA", "SB", "SC", "SD", "SE", "SG", "SH", "SI", "SJ", "SK", "SL", "SM", "SN", "SO", "SR", "SS", "ST", "SV", "SX", "SY", "SZ",
    "TC", "TD", "TF", "TG", "TH", "TJ", "TK", "TL", "TM", "TN", "TO", "TR", "TT", "TV", "TW", "TZ",
    "UA", "UG", "UM", "US", "UY", "UZ",
    "VA", "VC", "VE", "VG", "VI", "VN", "VU",
    "WF", "WS",
    "YE", "YT",
    "ZA", "ZM", "ZW",
};

// The second lists are the first ones with the codes added by schema 2.0,
// merged in at their alphabetical places.
constexpr std::array<std::string_view, 1> kCountriesAddedIn2 = {"XK"};
constexpr std::array<std::string_view, 250> ISO3166Alpha2_Table2 = MergeSorted(ISO3166Alpha2_Table, kCountriesAddedIn2);

constexpr std::array<std::string_view, 181> ISO4217Alpha3_Table = {
    "AED", "AFN", "ALL", "AMD", "ANG", "AOA", "ARS", "AUD", "AWG", "AZN", "BAM", "BBD", "BDT", "BGN", "BHD", "BIF",
    "BMD", "BND", "BOB", "BOV", "BRL", "BSD", "BTN", "BWP", "BYR", "BZD", "CAD", "CDF", "CHE", "CHF", "CHW", "CLF",
    "CLP", "CNY", "COP", "COU", "CRC", "CUC", "CUP", "CVE", "CZK", "DJF", "DKK", "DOP", "DZD", "EGP", "ERN", "ETB",
    "EUR", "FJD", "FKP", "GBP", "GEL", "GHS", "GIP", "GMD", "GNF", "GTQ", "GYD", "HKD", "HNL", "HRK", "HTG", "HUF",
    "IDR", "ILS", "INR", "IQD", "IRR", "ISK", "JMD", "JOD", "JPY", "KES", "KGS", "KHR", "KMF", "KPW", "KRW", "KWD",
    "KYD", "KZT", "LAK", "LBP", "LKR", "LRD", "LSL", "LTL", "LVL", "LYD", "MAD", "MDL", "MGA", "MKD", "MMK", "MNT",
    "MOP", "MRO", "MUR", "MVR", "MWK", "MXN", "MXV", "MYR", "MZN", "NAD", "NGN", "NIO", "NOK", "NPR", "NZD", "OMR",
    "PAB", "PEN", "PGK", "PHP", "PKR", "PLN", "PYG", "QAR", "RON", "RSD", "RUB", "RWF", "SAR", "SBD", "SCR", "SDG",
    "SEK", "SGD", "SHP", "SLL", "SOS", "SRD", "SSP", "STD", "SVC", "SYP", "SZL", "THB", "TJS", "TMT", "TND", "TOP",
    "TRY", "TTD", "TWD", "TZS", "UAH", "UGX", "USD", "USN", "USS", "UYI", "UYU", "UZS", "VEF", "VND", "VUV", "WST",
    "XAF", "XAG", "XAU", "XBA", "XBB", "XBC", "XBD", "XCD", "XDR", "XFU", "XOF", "XPD", "XPF", "XPT", "XSU", "XUA",
    "XXX", "YER", "ZAR", "ZMW", "ZWL",
};

constexpr std::array<std::string_view, 5> kCurrenciesAddedIn2 = {"BYN", "MRU", "STN", "UYW", "VES"};
constexpr std::array<std::string_view, 186> ISO4217Alpha3_Table2 = MergeSorted(ISO4217Alpha3_Table, kCurrenciesAddedIn2);

// A missing, duplicated or misplaced entry leaves an empty slot or breaks the
// order, and the build stops here.
static_assert(StrictlyAscending(ISO3166Alpha2_Table) && AllOfLength(ISO3166Alpha2_Table, 2));
static_assert(StrictlyAscending(ISO3166Alpha2_Table2) && AllOfLength(ISO3166Alpha2_Table2, 2));
static_assert(StrictlyAscending(ISO4217Alpha3_Table) && AllOfLength(ISO4217Alpha3_Table, 3));
static_assert(StrictlyAscending(ISO4217Alpha3_Table2) && AllOfLength(ISO4217Alpha3_Table2, 3));
}  // namespace quorvex::internal
