// The filing history's C interface: a handle around one CLCFilingHistory and
// the text of its last failure.
#include "quorvex_history.h"

#include "CLCCsvConvDataCRS.h"
#include "CLCFilingHistory.h"
#include "service/quorvex_internal.h"

#include <new>
#include <string>

struct quorvex_history {
  CLCFilingHistory history;
  std::string error;
};

extern "C" {

quorvex_history* quorvex_history_open(const char* path, int writable) noexcept {
  auto* handle = new (std::nothrow) quorvex_history;
  if (handle == nullptr) return nullptr;
  try {
    const std::string file = path != nullptr && *path != '\0' ? path : CLCFilingHistory::DefaultPath();
    if (!handle->history.Open(file.c_str(),
                              writable != 0 ? CLCFilingHistory::Access::Write : CLCFilingHistory::Access::Read)) {
      handle->error = handle->history.Error();
    }
  } catch (...) {
    handle->error = "out of memory";
  }
  return handle;
}

const char* quorvex_history_error(const quorvex_history* history) noexcept {
  return history != nullptr ? history->error.c_str() : "";
}

int quorvex_history_add(quorvex_history* history, const char* xml_path, const char* csv_path) noexcept {
  if (history == nullptr) return -1;
  try {
    history->error.clear();
    const CLCHistoryAddResult result = history->history.Add(xml_path, csv_path);
    if (!result.error.empty()) {
      history->error = result.error;
      return 0;
    }
    return result.alreadyRecorded ? 2 : 1;
  } catch (...) {
    history->error = "out of memory";
    return 0;
  }
}

int quorvex_set_history(quorvex_converter* converter, const quorvex_history* history) noexcept {
  CLCCsvConvDataCRS* facade = QuorvexFacadeOf(converter);
  if (facade == nullptr) return -1;
  facade->SetFilingHistory(history != nullptr ? &history->history : nullptr);
  return 1;
}

void quorvex_history_close(quorvex_history* history) noexcept { delete history; }

}  // extern "C"
