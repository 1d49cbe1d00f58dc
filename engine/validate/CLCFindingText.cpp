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
    {"60000", "Invalid IBAN", "IBANの形式誤り"},
    {"60001", "Invalid ISIN", "ISINの形式誤り"},
    {"60002", "Negative account balance", "口座残高が負"},
    {"60003", "Balance of a closed account", "解約口座に残高あり"},
    {"60004", "Name type OECD201", "名称種別OECD201"},
    {"60005", "Controlling persons not reported for this holder", "この口座保有者に支配的人物は報告しない"},
    {"60006", "Controlling person missing", "支配的人物なし"},
    {"60007", "More than one ReportingGroup", "ReportingGroupが複数"},
    {"60008", "Sponsor not used", "Sponsorは使用しない"},
    {"60009", "Intermediary not used", "Intermediaryは使用しない"},
    {"60010", "PoolReport not used", "PoolReportは使用しない"},
    {"60011", "Residence of the account holder", "口座保有者の居住地国"},
    {"60012", "Residence of the entity or its controlling persons", "団体又は支配的人物の居住地国"},
    {"60013", "Residence of the reporting financial institution", "報告金融機関の居住地国"},
    {"60014", "Implausible birth date", "生年月日が不自然"},
    {"60015", "No account report", "口座報告なし"},
    {"80000", "DocRefId already used", "DocRefIdが使用済み"},
    {"80001", "DocRefId format", "DocRefIdの形式誤り"},
    {"80002", "Unknown CorrDocRefId", "CorrDocRefIdが不明"},
    {"80003", "CorrDocRefId no longer valid", "CorrDocRefIdが訂正・削除済み"},
    {"80004", "CorrDocRefId for new data", "新規データにCorrDocRefIdあり"},
    {"80005", "Missing CorrDocRefId", "CorrDocRefIdなし"},
    {"80006", "CorrMessageRefId in a DocSpec", "DocSpecにCorrMessageRefIdあり"},
    {"80007", "CorrMessageRefId in the MessageSpec", "MessageSpecにCorrMessageRefIdあり"},
    {"80008", "Account data resent", "口座データの再送"},
    {"80010", "Mix of new data and corrections", "新規データと訂正・削除の混在"},
    {"80011", "Record corrected more than once", "同一記録の重複訂正"},
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
