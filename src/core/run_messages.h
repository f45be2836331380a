// The fixed status texts and failure messages that the runs report, in Japanese. The front ends
// show them translated: each is marked for the translation catalogue under the context
// kRunTextContext.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks a program text for the translation catalogue (src/translation/tolvane_en.ts) under
// `context`; it stands for the text itself, unchanged.
#define TOLVANE_TEXT(context, text) text

namespace tolvane::messages {

inline constexpr const char* kRunTextContext = "RunMessages";

inline constexpr const char* kCheckingLogs =
    TOLVANE_TEXT("RunMessages", "GPSログファイルをチェック中");
inline constexpr const char* kWritingPoints =
    TOLVANE_TEXT("RunMessages", "ポイントアイコンを出力中");
inline constexpr const char* kWritingRouteLines = TOLVANE_TEXT("RunMessages", "経路直線を出力中");
inline constexpr const char* kWritingRouteInfo = TOLVANE_TEXT("RunMessages", "経路情報を出力中");
inline constexpr const char* kCheckingPhotos =
    TOLVANE_TEXT("RunMessages", "JPEGファイルのチェック中");
inline constexpr const char* kReducingPhotos = TOLVANE_TEXT("RunMessages", "JPEGファイルを縮小中");
inline constexpr const char* kFinished = TOLVANE_TEXT("RunMessages", "処理を終了しました");

inline constexpr const char* kCannotCreateOutput =
    TOLVANE_TEXT("RunMessages", "出力ファイルを作成できません");
inline constexpr const char* kCannotOpenInput =
    TOLVANE_TEXT("RunMessages", "入力ファイルを開けません");
inline constexpr const char* kUnsupportedInput =
    TOLVANE_TEXT("RunMessages", "非対応の入力ファイルです");
inline constexpr const char* kLogsOverlap =
    TOLVANE_TEXT("RunMessages",
                 "複数のGPSログ間で時間が重複しています。ログの結合オプションをoffにしてください");
inline constexpr const char* kCannotReadInput =
    TOLVANE_TEXT("RunMessages", "入力ファイルを読み込めません");
inline constexpr const char* kFolderFailed =
    TOLVANE_TEXT("RunMessages", "フォルダの作成に失敗しました");
inline constexpr const char* kThumbnailFailed =
    TOLVANE_TEXT("RunMessages", "JPEGサムネイル画像の作成に失敗しました");

// Geotagging. %1, %2, ... stand for the values that fill_text puts in.
inline constexpr const char* kGeotagging = TOLVANE_TEXT("RunMessages", "写真に位置を書き込み中");
inline constexpr const char* kGeotagSummary = TOLVANE_TEXT(
    "RunMessages", "位置を書き込みました: %1 枚 (位置あり %2 枚, 航跡の外 %3 枚, 失敗 %4 枚)");
// %1 the photo, %2 one of the reasons below.
inline constexpr const char* kGeotagFailed =
    TOLVANE_TEXT("RunMessages", "写真に位置を書き込めません: %1 (%2)");
inline constexpr const char* kGeotagCannotRead = TOLVANE_TEXT("RunMessages", "読み込めません");
inline constexpr const char* kGeotagNoCaptureTime =
    TOLVANE_TEXT("RunMessages", "撮影時刻を読めません");
inline constexpr const char* kGeotagNotJpeg =
    TOLVANE_TEXT("RunMessages", "JPEGファイルではありません");
inline constexpr const char* kGeotagCorruptExif =
    TOLVANE_TEXT("RunMessages", "Exifデータが壊れています");
inline constexpr const char* kGeotagTooLarge =
    TOLVANE_TEXT("RunMessages", "Exifデータが64KBを超えます");
inline constexpr const char* kGeotagWouldLoseTags =
    TOLVANE_TEXT("RunMessages", "ほかのExifタグを保てません");
inline constexpr const char* kGeotagCannotWrite = TOLVANE_TEXT("RunMessages", "書き込めません");
inline constexpr const char* kGeotagCannotBackUp =
    TOLVANE_TEXT("RunMessages", "元の写真を残せません");
// %1 the log.
inline constexpr const char* kGeotagCannotOpenLog =
    TOLVANE_TEXT("RunMessages", "GPSログファイルを開けません: %1");

}  // namespace tolvane::messages

namespace tolvane {

// `pattern` with each %1 ... %9 replaced by the value of that number (the first is %1); a
// number without a value, and any other text, stays as it is.
inline std::string fill_text(std::string_view pattern,
                             std::initializer_list<std::string_view> values) {
  std::string text;
  text.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const std::size_t number = static_cast<std::size_t>(next - '1');
    if (pattern[i] == '%' && next >= '1' && next <= '9' && number < values.size()) {
      text += values.begin()[number];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace tolvane
