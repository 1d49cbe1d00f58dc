#include "CRSMsgTable.h"

const CRSMsgRow CRSMsgTable[kCRSMsgTableSize] = {
    {0, "", ""},
    {1, "HE40000E", "想定しないエラーが発生しました。"},
    {2, "HE40001E", "値が入力されていません。"},
    {3, "HE40002E", "不要な値が入力されています。"},
    {4, "HE40003E", "拡張子が正しくありません。"},
    {5, "HE40004E", "ファイルが存在しません。"},
    {6, "HE40005E", "ファイル内容が空です。"},
    {7, "HE40006E", "ファイルへのアクセス権がありません。"},
    {8, "HE40007E", "入力された桁数が正しくありません。"},
    {9, "HE40008E", "出力先フォルダーが存在しません。"},
    {10, "HE40009E", "入力内容が正しくありません。"},
    {11, "HE40010E", "入力できる文字数を超えています。"},
    {12, "HE40011E", "使用できない文字が含まれています。"},
    {13, "HE40012E", "CSVのフォーマットが正しくありません。"},
    {14, "HE40013E", "有効なレコードが存在しません。"},
    {15, "HE40014E", "分割データが存在しません。"},
    {16, "HE40015E", "メッセージ・ヘッダーレコードの件数が不正です。"},
    {17, "HE40016E", "必要な口座報告のレコードが存在しません。"},
    {18, "HE40017E", "個人または組織のいずれかの項目の内、必須項目に入力がありません。"},
    {19, "HE40018E", "個人と組織の両方に、値が入力されています。"},
    {20, "HE40019E", "入力された口座ドキュメントＩＤに重複があります。"},
    {21, "HE40020E", "入力された口座訂正ドキュメントＩＤに重複があります。"},
    {22, "HE40021E", "対応する口座ドキュメントＩＤが入力された実質的支配者レコードが存在しません。"},
    {23, "HE40022E", "対応する口座ドキュメントＩＤが入力された不要な実質的支配者レコードが存在します。"},
    {24, "HE40023E", "読み込み可能なファイルサイズを超えています。"},
    {25, "HE40024E", "ファイルの書き込みに失敗しました。"},
    {26, "HE40025E", "変換後のデータサイズが上限を超えています。"},
    {27, "HE40026E", "詳細エラー情報が100,000件を超えています。"},
    {28, "HE40027E", "半角数字以外の文字が含まれています。"},
    {29, "HE40028E", "CRS_OECD（ルート）のバージョン情報に誤りがあります。"},
    {30, "HE40029E", "提供者 報告対象年分と不整合があります。"},
    {31, "HE40030E", "AcctNumberType（属性）と不整合があります。"},
    {32, "HE00155E",
     "XML構造チェックエラーです。読み込んだデータのXML構造に誤りがあります。<br>データを修正後、再度読み込んでください。"},
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

const char* CRSMsgText(std::int32_t value) {
  const CRSMsgRow* row = FindByValue(value);
  return row != nullptr ? row->text : "";
}

CLCCRSMessage_t CRSMsgFromCode(std::string_view code) {
  for (const CRSMsgRow& row : CRSMsgTable) {
    if (code == row.code) return static_cast<CLCCRSMessage_t>(row.value);
  }
  return CRSMSG_NONE;
}
