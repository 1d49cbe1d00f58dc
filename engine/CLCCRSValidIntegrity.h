#pragma once
#include "CLCCRSValidItem.h"

// Rule "integrity": a document identifier must be built on (or, for
// "CorrDocRefId_B", must not be built on) the MessageRefId of the file's
// first record, column 5.
class CLCCRSValidIntegrity : public CLCCRSValidItem {
 public:
  enum Mode { kUnknown = 0, kDocRefIdA = 1, kDocRefIdB = 2, kCorrDocRefIdA = 3, kCorrDocRefIdB = 4 };

  CLCCRSValidIntegrity(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidIntegrity() override = default;

  void SetParam(const char* mode);
  Mode GetMode() const { return m_eMode; }

 protected:
  int _validate(const char* value) override;

 private:
  Mode m_eMode = kUnknown;
};
