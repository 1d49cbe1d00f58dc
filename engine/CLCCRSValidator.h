#pragma once
#include "CLCCRSValidItem.h"

#include <memory>
#include <vector>

class CLCXDom;

// The four built-in argument rule tables.
enum CLCArgValid_t {
  ARGVALID_CSV_PATH = 1,
  ARGVALID_OUTPUT_PATH = 2,
  ARGVALID_XML_PATH = 3,
  ARGVALID_NENBUN = 4,
};

// Ordered rule list of one definition item or one caller argument; the first
// rule that reports ends the list.
class CLCCRSValidator {
 public:
  CLCCRSValidator() = default;
  virtual ~CLCCRSValidator() = default;

  void Clear() { m_vecItems.clear(); }
  bool Initialize(CLCArgValid_t kind);
  // Reads the `valid` children of the `item` element under the cursor.
  bool Initialize(long column, CLCXDom* dom, CLCCRSCsvCRSReport* report);
  // Reads the `outer` children of the `valid` element under the cursor.
  bool SetUpOuter(CLCXDom* dom, CLCCRSValidItem* item);

  int Validate(const char* value, long line, long column);
  int ValidateCsv(CLCCRSCsvFile* file, long record, long column);

  std::size_t GetItemCount() const { return m_vecItems.size(); }

 private:
  std::vector<std::unique_ptr<CLCCRSValidItem>> m_vecItems;
};
