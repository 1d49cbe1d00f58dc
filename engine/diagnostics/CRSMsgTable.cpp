#include "diagnostics/CRSMsgTable.h"

namespace quorvex::internal {

const CRSMsgRow CRSMsgTable[kCRSMsgTableSize] = {
    {0, "", "", ""},
    {1, "HE40000E", "想定しないエラーが発生しました。",
     "An unexpected error occurred."},
    {2, "HE40001E", "値が入力されていません。",
     "No value has been entered."},
    {3, "HE40002E", "不要な値が入力されています。",
     "A value has been entered where none is allowed."},
    {4, "HE40003E", "拡張子が正しくありません。",
     "The file name extension is not correct."},
    {5, "HE40004E", "ファイルが存在しません。",
     "The file does not exist."},
    {6, "HE40005E", "ファイル内容が空です。",
     "The file is empty."},
    {7, "HE40006E", "ファイルへのアクセス権がありません。",
     "You do not have permission to access the file."},
    {8, "HE40007E", "入力された桁数が正しくありません。",
     "The number of digits entered is not correct."},
    {9, "HE40008E", "出力先フォルダーが存在しません。",
     "The output folder does not exist."},
    {10, "HE40009E", "入力内容が正しくありません。",
     "The value entered is not correct."},
    {11, "HE40010E", "入力できる文字数を超えています。",
     "The value is longer than the number of characters allowed."},
    {12, "HE40011E", "使用できない文字が含まれています。",
     "The value contains characters that cannot be used."},
    {13, "HE40012E", "CSVのフォーマットが正しくありません。",
     "The CSV format is not correct."},
    {14, "HE40013E", "有効なレコードが存在しません。",
     "There is no valid record."},
    {15, "HE40014E", "分割データが存在しません。",
     "There is no split data."},
    {16, "HE40015E", "メッセージ・ヘッダーレコードの件数が不正です。",
     "The number of message header records is not correct."},
    {17, "HE40016E", "必要な口座報告のレコードが存在しません。",
     "A required account report record does not exist."},
    {18, "HE40017E", "個人または組織のいずれかの項目の内、必須項目に入力がありません。",
     "A required item of either the individual or the organisation has not been entered."},
    {19, "HE40018E", "個人と組織の両方に、値が入力されています。",
     "Values have been entered for both the individual and the organisation."},
    {20, "HE40019E", "入力された口座ドキュメントＩＤに重複があります。",
     "The account document ID entered is a duplicate."},
    {21, "HE40020E", "入力された口座訂正ドキュメントＩＤに重複があります。",
     "The account correction document ID entered is a duplicate."},
    {22, "HE40021E", "対応する口座ドキュメントＩＤが入力された実質的支配者レコードが存在しません。",
     "There is no controlling person record with the matching account document ID."},
    {23, "HE40022E", "対応する口座ドキュメントＩＤが入力された不要な実質的支配者レコードが存在します。",
     "There is a controlling person record with the matching account document ID that is not needed."},
    {24, "HE40023E", "読み込み可能なファイルサイズを超えています。",
     "The file is larger than the size that can be read."},
    {25, "HE40024E", "ファイルの書き込みに失敗しました。",
     "Writing the file failed."},
    {26, "HE40025E", "変換後のデータサイズが上限を超えています。",
     "The size of the converted data exceeds the limit."},
    {27, "HE40026E", "詳細エラー情報が100,000件を超えています。",
     "There are more than 100,000 detail error items."},
    {28, "HE40027E", "半角数字以外の文字が含まれています。",
     "The value contains characters other than half-width digits."},
    {29, "HE40028E", "CRS_OECD（ルート）のバージョン情報に誤りがあります。",
     "The version information of CRS_OECD (root) is wrong."},
    {30, "HE40029E", "提供者 報告対象年分と不整合があります。",
     "Does not agree with the reporting year of the provider."},
    {31, "HE40030E", "AcctNumberType（属性）と不整合があります。",
     "Does not agree with AcctNumberType (attribute)."},
    {32, "HE00155E",
     "XML構造チェックエラーです。読み込んだデータのXML構造に誤りがあります。<br>データを修正後、再度読み込んでください。",
     "XML structure check error. The XML structure of the data read is wrong.<br>Correct the data and read it again."},
};

namespace {

const CRSMsgRow* FindByValue(std::int32_t value) {
  for (const CRSMsgRow& row : CRSMsgTable) {
    if (row.value == value) return &row;
  }
  return nullptr;
}

}  // namespace

const char* CRSMsgCode(std::int32_t value) {
  const CRSMsgRow* row = FindByValue(value);
  return row != nullptr ? row->code : "";
}

const char* CRSMsgText(std::int32_t value, CRSMsgLanguage language) {
  const CRSMsgRow* row = FindByValue(value);
  if (row == nullptr) return "";
  return language == CRSMsgLanguage::English ? row->english : row->text;
}

CLCCRSMessage_t CRSMsgFromCode(std::string_view code) {
  for (const CRSMsgRow& row : CRSMsgTable) {
    if (code == row.code) return static_cast<CLCCRSMessage_t>(row.value);
  }
  return CRSMSG_NONE;
}
}  // namespace quorvex::internal
