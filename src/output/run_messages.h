// The fixed status texts and failure messages that the runs report.
#pragma once

namespace tolvane::messages {

inline constexpr const char* kCheckingLogs = "GPSログファイルをチェック中";
inline constexpr const char* kWritingPoints = "ポイントアイコンを出力中";
inline constexpr const char* kWritingRouteLines = "経路直線を出力中";
inline constexpr const char* kWritingRouteInfo = "経路情報を出力中";
inline constexpr const char* kCheckingPhotos = "JPEGファイルのチェック中";
inline constexpr const char* kReducingPhotos = "JPEGファイルを縮小中";
inline constexpr const char* kFinished = "処理を終了しました";

inline constexpr const char* kCannotCreateOutput = "出力ファイルを作成できません";
inline constexpr const char* kCannotOpenInput = "入力ファイルを開けません";
inline constexpr const char* kUnsupportedInput = "非対応の入力ファイルです";
inline constexpr const char* kLogsOverlap =
    "複数のGPSログ間で時間が重複しています。ログの結合オプションをoffにしてください";
inline constexpr const char* kCannotReadInput = "入力ファイルを読み込めません";
inline constexpr const char* kFolderFailed = "フォルダの作成に失敗しました";
inline constexpr const char* kThumbnailFailed = "JPEGサムネイル画像の作成に失敗しました";

}  // namespace tolvane::messages
