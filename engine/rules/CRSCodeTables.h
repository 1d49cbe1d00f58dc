#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace quorvex::internal {

// Country and currency code lists of the "codeCheck" rule. Each table is kept
// in strictly ascending order (checked at compile time), so a lookup is a
// binary search.

// The officially assigned ISO 3166-1 alpha-2 codes.
extern const std::array<std::string_view, 249> ISO3166Alpha2_Table;
// The same with "XK" (Kosovo, user-assigned but used by the CRS schema 2.0).
extern const std::array<std::string_view, 250> ISO3166Alpha2_Table2;
// ISO 4217 alphabetic currency codes accepted by schema 1.0; keeps some
// withdrawn codes ("BYR", "LTL", "LVL", "MRO", "STD", "VEF").
extern const std::array<std::string_view, 181> ISO4217Alpha3_Table;
// The same plus "BYN", "MRU", "STN", "UYW" and "VES" for schema 2.0.
extern const std::array<std::string_view, 186> ISO4217Alpha3_Table2;

// A table as a range, so that a rule can hold any of the four.
struct CRSCodeTable {
  const std::string_view* codes = nullptr;
  std::size_t count = 0;

  template <std::size_t N>
  static CRSCodeTable Of(const std::array<std::string_view, N>& table) {
    return CRSCodeTable{table.data(), N};
  }
  bool Contains(std::string_view code) const {
    return codes != nullptr && std::binary_search(codes, codes + count, code);
  }
};
}  // namespace quorvex::internal
