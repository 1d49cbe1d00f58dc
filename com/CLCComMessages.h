#pragma once

// Debug-log texts of the COM layer, besides the engine's own.
struct CLCComMessages {
  static constexpr const char* kInvalidPointer = "無効なポインタが渡されました。";
  static constexpr const char* kResultCreateFailed = "CLCCsvConvResultCRS の作成に失敗しました。";
};
