#pragma once
#include "rules/CLCCRSValidItem.h"

namespace quorvex::internal {

// Rule "integrity": a document identifier must be built on (or, for
// "CorrDocRefId_B", must not be built on) the MessageRefId of the file's
// first record, column 5.
class CLCCRSValidIntegrity : public CLCCRSValidItem {
 public:
  enum Mode { kUnknown = 0, kDocRefIdA = 1, kDocRefIdB = 2, kCorrDocRefIdA = 3, kCorrDocRefIdB = 4 };

  CLCCRSValidIntegrity(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidIntegrity() override = default;

  void SetParam(const char* mode);

 protected:
  // Without the file there is no MessageRefId to compare with: fatal.
  CLCStatus _validate(const char* value) const override;
  CLCStatus _validateInFile(const char* value, const CLCCRSCsvFile& file) const override;

 private:
  Mode m_eMode = kUnknown;
};
}  // namespace quorvex::internal
