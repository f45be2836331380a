<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutBox</name>
    <message>
        <source>バージョン情報</source>
        <translation>About Tolvane</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Version 2.0 beta 7</source>
        <translation>Version 2.0 beta 7</translation>
    </message>
    <message>
        <source>Tolvane のﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About Tolvane...</translation>
    </message>
</context>
<context>
    <name>FileFilters</name>
    <message>
        <source>SONY GPS-CS1K Log File (*.log)|*.log|GPX File (*.gpx)|*.gpx|All (*.*)|*.*||</source>
        <translation>SONY GPS-CS1K Log File (*.log)|*.log|GPX File (*.gpx)|*.gpx|All (*.*)|*.*||</translation>
    </message>
    <message>
        <source>JPEG File (*.jpg)|*.jpg|All (*.*)|*.*||</source>
        <translation>JPEG File (*.jpg)|*.jpg|All (*.*)|*.*||</translation>
    </message>
    <message>
        <source>Google Earth KML File (*.kml)|*.kml|KMZ File (*.kmz)|*.kmz|All (*.*)|*.*||</source>
        <translation>Google Earth KML File (*.kml)|*.kml|KMZ File (*.kmz)|*.kmz|All (*.*)|*.*||</translation>
    </message>
    <message>
        <source>HTML File (*.html)|*.html|All (*.*)|*.*||</source>
        <translation>HTML File (*.html)|*.html|All (*.*)|*.*||</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>入力ログファイル</source>
        <translation>Input log files</translation>
    </message>
    <message>
        <source>リストに追加...</source>
        <translation>Add...</translation>
    </message>
    <message>
        <source>リストから削除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>リスト全クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>デジカメ写真ファイル(JPEG) 【βバージョン】</source>
        <translation>Camera photos (JPEG) [beta]</translation>
    </message>
    <message>
        <source>出力KML/HTMLファイル</source>
        <translation>Output KML/HTML file</translation>
    </message>
    <message>
        <source>指定...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>KMLファイル (Google Earth)</source>
        <translation>KML file (Google Earth)</translation>
    </message>
    <message>
        <source>HTMLファイル (Google Maps)</source>
        <translation>HTML file (Google Maps)</translation>
    </message>
    <message>
        <source>設定...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>変換！</source>
        <translation>Convert!</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>%1 個のファイルを追加できませんでした</source>
        <translation>%1 file(s) could not be added</translation>
    </message>
    <message>
        <source>写真に位置を書き込む</source>
        <translation>Write positions into the photos</translation>
    </message>
    <message>
        <source>変換を中止しますか?</source>
        <translation>Stop the conversion?</translation>
    </message>
    <message>
        <source>変換を中止しました</source>
        <translation>The conversion was stopped</translation>
    </message>
</context>
<context>
    <name>RunMessages</name>
    <message>
        <source>GPSログファイルをチェック中</source>
        <translation>Checking the GPS logs</translation>
    </message>
    <message>
        <source>ポイントアイコンを出力中</source>
        <translation>Writing the point icons</translation>
    </message>
    <message>
        <source>経路直線を出力中</source>
        <translation>Writing the route lines</translation>
    </message>
    <message>
        <source>経路情報を出力中</source>
        <translation>Writing the route data</translation>
    </message>
    <message>
        <source>JPEGファイルのチェック中</source>
        <translation>Checking the JPEG files</translation>
    </message>
    <message>
        <source>JPEGファイルを縮小中</source>
        <translation>Reducing the JPEG files</translation>
    </message>
    <message>
        <source>処理を終了しました</source>
        <translation>Finished</translation>
    </message>
    <message>
        <source>出力ファイルを作成できません</source>
        <translation>Cannot create the output file</translation>
    </message>
    <message>
        <source>入力ファイルを開けません</source>
        <translation>Cannot open an input file</translation>
    </message>
    <message>
        <source>非対応の入力ファイルです</source>
        <translation>Unsupported input file</translation>
    </message>
    <message>
        <source>複数のGPSログ間で時間が重複しています。ログの結合オプションをoffにしてください</source>
        <translation>The times of the GPS logs overlap. Turn off the option that joins logs</translation>
    </message>
    <message>
        <source>入力ファイルを読み込めません</source>
        <translation>Cannot read an input file</translation>
    </message>
    <message>
        <source>フォルダの作成に失敗しました</source>
        <translation>Cannot create the folder</translation>
    </message>
    <message>
        <source>JPEGサムネイル画像の作成に失敗しました</source>
        <translation>Cannot make a JPEG thumbnail</translation>
    </message>
    <message>
        <source>写真に位置を書き込み中</source>
        <translation>Writing positions into the photos</translation>
    </message>
    <message>
        <source>位置を書き込みました: %1 枚 (位置あり %2 枚, 航跡の外 %3 枚, 失敗 %4 枚)</source>
        <translation>Positions written: %1 photos (%2 had a position, %3 outside the track, %4 failed)</translation>
    </message>
    <message>
        <source>写真に位置を書き込めません: %1 (%2)</source>
        <translation>Cannot write a position into the photo: %1 (%2)</translation>
    </message>
    <message>
        <source>読み込めません</source>
        <translation>cannot read it</translation>
    </message>
    <message>
        <source>撮影時刻を読めません</source>
        <translation>cannot read its capture time</translation>
    </message>
    <message>
        <source>JPEGファイルではありません</source>
        <translation>not a JPEG file</translation>
    </message>
    <message>
        <source>Exifデータが壊れています</source>
        <translation>its Exif data is damaged</translation>
    </message>
    <message>
        <source>Exifデータが64KBを超えます</source>
        <translation>its Exif data would pass 64 KB</translation>
    </message>
    <message>
        <source>ほかのExifタグを保てません</source>
        <translation>its other Exif tags cannot be kept</translation>
    </message>
    <message>
        <source>書き込めません</source>
        <translation>cannot write it</translation>
    </message>
    <message>
        <source>元の写真を残せません</source>
        <translation>cannot keep the original photo</translation>
    </message>
    <message>
        <source>GPSログファイルを開けません: %1</source>
        <translation>Cannot open the GPS log: %1</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>共通の設定</source>
        <translation>Common settings</translation>
    </message>
    <message>
        <source>Google Earthの設定</source>
        <translation>Google Earth settings</translation>
    </message>
    <message>
        <source>Google Mapsの設定</source>
        <translation>Google Maps settings</translation>
    </message>
    <message>
        <source>デジカメ画像の設定</source>
        <translation>Photo settings</translation>
    </message>
    <message>
        <source>ポイントの作成</source>
        <translation>Point every</translation>
    </message>
    <message>
        <source>分ごと（0分の場合ポイントなし）</source>
        <translation>minutes (0: no points)</translation>
    </message>
    <message>
        <source>地図の横サイズ</source>
        <translation>Map width</translation>
    </message>
    <message>
        <source>ピクセル</source>
        <translation>pixels</translation>
    </message>
    <message>
        <source>縦サイズ</source>
        <translation>height</translation>
    </message>
    <message>
        <source>写真の時刻補正(秒)</source>
        <translation>Photo clock shift (s)</translation>
    </message>
    <message>
        <source>縮小JPEGファイルの長辺</source>
        <translation>Thumbnail long edge</translation>
    </message>
    <message>
        <source>（2度目以降の処理が高速化されます。サイズを変更して再生成したい場合にはoffにしてください）</source>
        <translation>(Later runs are faster. Turn it off to make them again at a new size)</translation>
    </message>
    <message>
        <source>複数のGPSログを結合する（経路・距離が合算されます）</source>
        <translation>Join GPS logs (routes and distances add up)</translation>
    </message>
    <message>
        <source>距離を表示する</source>
        <translation>Show distance</translation>
    </message>
    <message>
        <source>日付表示を1時間に1回にする（offにすると全ポイントに表示されます）</source>
        <translation>Show the date once an hour (off: on every point)</translation>
    </message>
    <message>
        <source>方位アイコンを表示する</source>
        <translation>Show heading icons</translation>
    </message>
    <message>
        <source>時刻情報をKMLに埋め込む（Google Earth画面上の時刻バーを広げてください）</source>
        <translation>Embed times in the KML (widen the time slider in Google Earth)</translation>
    </message>
    <message>
        <source>GPS受信が途切れた部分は経路の色を変える</source>
        <translation>Other colour where reception was lost</translation>
    </message>
    <message>
        <source>生成したKMLをすぐにGoogle Earthで開く</source>
        <translation>Open the KML in Google Earth at once</translation>
    </message>
    <message>
        <source>ルートの再生を可能にする</source>
        <translation>Allow replaying the route</translation>
    </message>
    <message>
        <source>画面上にアナログ時計を表示する</source>
        <translation>Show an analogue clock</translation>
    </message>
    <message>
        <source>画面上に高度計を表示する（誤差大きいです）</source>
        <translation>Show an altimeter (rough)</translation>
    </message>
    <message>
        <source>生成したHTMLをすぐにブラウザで開く</source>
        <translation>Open the HTML in a browser at once</translation>
    </message>
    <message>
        <source>API Keyを埋め込む</source>
        <translation>Embed API key</translation>
    </message>
    <message>
        <source>元画像へのリンクを含める（生成後にファイルを移動しないようご注意ください）</source>
        <translation>Link the original photos (do not move them afterwards)</translation>
    </message>
    <message>
        <source>縮小JPEGファイルがすでに存在したら処理をスキップする</source>
        <translation>Skip thumbnails that already exist</translation>
    </message>
    <message>
        <source>方位をソフト内で独自に演算する（他機種をお使いで、方位アイコンが正常に出ない場合）</source>
        <translation>Compute headings here (for receivers whose heading icons come out wrong)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>整数を入力してください。</source>
        <translation>Please enter a whole number.</translation>
    </message>
    <message>
        <source>正の整数を入力してください。</source>
        <translation>Please enter a positive whole number.</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>表示言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>次回の起動から有効になります</source>
        <translation>Takes effect at the next start</translation>
    </message>
</context>
</TS>
