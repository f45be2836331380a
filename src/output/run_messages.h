// The fixed status texts and failure messages that the runs report, in Japanese. The front ends
// show them translated: each is marked for the translation catalogue under the context
// kRunTextContext.
#pragma once

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

}  // namespace tolvane::messages
