#include "validate/CLCFindingText.h"

#include <cstring>

namespace quorvex::internal {

namespace {

struct Title {
  const char* code;
  const char* english;
  const char* japanese;
};

constexpr Title kTitles[] = {
    {"50005", "Failed threat scan", "脅威検査で不合格"},
    {"50007", "Failed schema validation", "スキーマ検証で不合格"},
    {"50009", "MessageRefId already used", "MessageRefIdが使用済み"},
    {"50010", "Test data", "テストデータ"},
    {"80000", "DocRefId already used", "DocRefIdが使用済み"},
    {"80001", "DocRefId format", "DocRefIdの形式誤り"},
    {"80002", "Unknown CorrDocRefId", "CorrDocRefIdが不明"},
    {"80003", "CorrDocRefId no longer valid", "CorrDocRefIdが訂正・削除済み"},
    {"80004", "CorrDocRefId for new data", "新規データにCorrDocRefIdあり"},
    {"80005", "Missing CorrDocRefId", "CorrDocRefIdなし"},
    {"80010", "Mix of new data and corrections", "新規データと訂正・削除の混在"},
};

}  // namespace

const char* CLCFindingTitle(const char* code, const char* language) {
  if (code == nullptr || language == nullptr) return nullptr;
  const bool japanese = std::strcmp(language, "ja") == 0;
  if (!japanese && std::strcmp(language, "en") != 0) return nullptr;
  for (const Title& title : kTitles) {
    if (std::strcmp(title.code, code) == 0) return japanese ? title.japanese : title.english;
  }
  return nullptr;
}
}  // namespace quorvex::internal
