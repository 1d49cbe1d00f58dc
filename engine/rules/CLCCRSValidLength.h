#pragma once
#include "rules/CLCCRSValidItem.h"

#include <string>

namespace quorvex::internal {

// Rule "length", counting UTF-16 code units: an exact length (`value`), an
// inclusive range (`min` and `max`) or a maximum alone (`max`, which always
// reports its own message).
class CLCCRSValidLength : public CLCCRSValidItem {
 public:
  CLCCRSValidLength(long column, CLCCRSMessage_t message) : CLCCRSValidItem(column, message) {}
  ~CLCCRSValidLength() override = default;

  void SetParam(const char* value, const char* min, const char* max);

 protected:
  CLCStatus _validate(const char* value) const override;

 private:
  // What is wrong with one length parameter; empty when nothing is.
  static std::string NumberProblem(const char* name, const char* text);

  enum class Mode { None, Exact, Range, Max };
  Mode m_eMode = Mode::None;
  long m_lExact = 0;
  long m_lMin = 0;
  long m_lMax = 0;
};
}  // namespace quorvex::internal
