<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>velmoria::CabWindow</name>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>操作説明(&amp;H)</source>
        <translation>Operating &amp;Help</translation>
    </message>
    <message>
        <source>再描画(&amp;R)</source>
        <translation>&amp;Redraw</translation>
    </message>
    <message>
        <source>解説モード(&amp;D)</source>
        <translation>&amp;Commentary Mode</translation>
    </message>
    <message>
        <source>音声初期化(&amp;S)</source>
        <translation>Reset &amp;Sound</translation>
    </message>
    <message>
        <source>Controller(&amp;C)</source>
        <translation>&amp;Controller</translation>
    </message>
    <message>
        <source>標準/TSマスコン(&amp;N)</source>
        <translation>Standard / TS Master Controller (&amp;N)</translation>
    </message>
    <message>
        <source>Windows用電車でGO! コントローラ(&amp;U)</source>
        <translation>Densha de GO! Controller for Windows (&amp;U)</translation>
    </message>
    <message>
        <source>PS用電車でGO! コントローラ(&amp;M)</source>
        <translation>Densha de GO! Controller for PlayStation (&amp;M)</translation>
    </message>
    <message>
        <source>TSマスコン（設定）(&amp;P)</source>
        <translation>TS Master Controller Settings... (&amp;P)</translation>
    </message>
    <message>
        <source>TSマスコン（接続）(&amp;C)</source>
        <translation>Connect TS Master Controller (&amp;C)</translation>
    </message>
    <message>
        <source>Connect to controller.</source>
        <translation>Connected to the controller.</translation>
    </message>
    <message>
        <source>Disconnect from controller.</source>
        <translation>Disconnected from the controller.</translation>
    </message>
    <message>
        <source>DirectSoundを初期化できませんでした。</source>
        <translation>The sound device could not be initialised.</translation>
    </message>
    <message>
        <source>安全のため一旦終了いたします。</source>
        <translation>For safety, the program will now close.</translation>
    </message>
    <message>
        <source>操作の割り当て(&amp;K)...</source>
        <translation>&amp;Keys and Game Pad...</translation>
    </message>
    <message>
        <source>操作の割り当てを保存できません: %1</source>
        <translation>The bindings cannot be saved: %1</translation>
    </message>
    <message>
        <source>表示(&amp;W)</source>
        <translation>View(&amp;W)</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>1倍 (640 × 440)</source>
        <translation>1× (640 × 440)</translation>
    </message>
    <message>
        <source>2倍</source>
        <translation>2×</translation>
    </message>
    <message>
        <source>3倍</source>
        <translation>3×</translation>
    </message>
    <message>
        <source>ウィンドウに合わせる</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <source>全画面</source>
        <translation>Fullscreen</translation>
    </message>
    <message>
        <source>なめらかな動き</source>
        <translation>Smooth motion</translation>
    </message>
</context>
<context>
    <name>velmoria::CoreText</name>
    <message>
        <source>設定ファイルを読み込んでいます</source>
        <translation>Reading the settings files</translation>
    </message>
    <message>
        <source>運転台を描画しています</source>
        <translation>Drawing the cab</translation>
    </message>
    <message>
        <source>DirectSoundオブジェクトを作成しています</source>
        <translation>Opening the sound device</translation>
    </message>
    <message>
        <source>サウンドを読み込んでいます</source>
        <translation>Loading the sounds</translation>
    </message>
    <message>
        <source>環境をセットアップしています</source>
        <translation>Setting up the run</translation>
    </message>
    <message>
        <source>終点に到着しました。Backボタンで戻ってください。</source>
        <translation>Arrived at the terminus. Press the Back button to return.</translation>
    </message>
    <message>
        <source>一時停止(&amp;S)</source>
        <translation>Pau&amp;se</translation>
    </message>
    <message>
        <source>運転再開(&amp;S)</source>
        <translation>Re&amp;sume</translation>
    </message>
    <message>
        <source>DirectSoundの割り当てに失敗しました。256チャンネルを超えています。</source>
        <translation>Could not allocate the sounds: more than 256 channels are needed.</translation>
    </message>
    <message>
        <source>stringファイルに誤りがあります</source>
        <translation>The string file contains an error</translation>
    </message>
    <message>
        <source>路線ファイルに誤りがあります。</source>
        <translation>The route file contains an error.</translation>
    </message>
    <message>
        <source>車両ファイルに誤りがあります</source>
        <translation>The vehicle file contains an error</translation>
    </message>
    <message>
        <source>動力が気動車なのにNotch指定があります</source>
        <translation>The vehicle is a diesel railcar, yet it has a Notch setting</translation>
    </message>
    <message>
        <source>Power指定とNotch指定が矛盾しています</source>
        <translation>The Power and Notch settings contradict each other</translation>
    </message>
    <message>
        <source>動力が電車なのにEngine指定があります</source>
        <translation>The vehicle is an electric train, yet it has an Engine setting</translation>
    </message>
    <message>
        <source>車両ファイルの[Tons]には0より大きい値を指定してください</source>
        <translation>[Tons] in the vehicle file must be greater than 0</translation>
    </message>
    <message>
        <source>車両ファイルの[Mt]には0以上の値を指定してください</source>
        <translation>[Mt] in the vehicle file must be 0 or more</translation>
    </message>
    <message>
        <source>ブレーキの段数を3段以上に設定してください</source>
        <translation>The brake must have at least 3 steps</translation>
    </message>
    <message>
        <source>%1が見つかりません</source>
        <translation>%1 was not found</translation>
    </message>
    <message>
        <source>路線ファイルに誤りがあります。%1</source>
        <translation>The route file contains an error. %1</translation>
    </message>
    <message>
        <source>車両ファイルに誤りがあります%1</source>
        <translation>The vehicle file contains an error: %1</translation>
    </message>
</context>
<context>
    <name>velmoria::DemoGeneration</name>
    <message>
        <source>%1 を起動できません: %2</source>
        <translation>Cannot start %1: %2</translation>
    </message>
    <message>
        <source>%1 を作成できません: %2</source>
        <translation>Cannot create %1: %2</translation>
    </message>
    <message>
        <source>%1 に書き込めません: %2</source>
        <translation>Cannot write to %1: %2</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write to %1</translation>
    </message>
    <message>
        <source>デモ路線を生成しています</source>
        <translation>Generating the demo line</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>デモ路線を生成しています
%1</source>
        <translation>Generating the demo line
%1</translation>
    </message>
    <message>
        <source>終了コード %1</source>
        <translation>Exit code %1</translation>
    </message>
    <message>
        <source>異常終了しました</source>
        <translation>The generator crashed</translation>
    </message>
    <message>
        <source>生成されたフォルダに korvelan.dat がありません</source>
        <translation>The generated folder has no korvelan.dat</translation>
    </message>
    <message>
        <source>%1 に名前を付けられません</source>
        <translation>Cannot rename %1</translation>
    </message>
</context>
<context>
    <name>velmoria::DesignPictures</name>
    <message>
        <source>快速 朝ラッシュ</source>
        <translation>Rapid, peak</translation>
    </message>
    <message>
        <source>快速 日中</source>
        <translation>Rapid, daytime</translation>
    </message>
    <message>
        <source>快速 休日</source>
        <translation>Rapid, holiday</translation>
    </message>
    <message>
        <source>臨時特急 183系</source>
        <translation>Extra exp. 183</translation>
    </message>
    <message>
        <source>特別快速 支線直通</source>
        <translation>Special rapid</translation>
    </message>
    <message>
        <source>普通 支線区間</source>
        <translation>Local, branch</translation>
    </message>
</context>
<context>
    <name>velmoria::DesktopApp</name>
    <message>
        <source>operation.dat を読み込めません</source>
        <translation>Cannot read operation.dat</translation>
    </message>
    <message>
        <source>Formを作成しています</source>
        <translation>Creating the cab window</translation>
    </message>
    <message>
        <source>この運転の操作の記録を読み込めません: %1</source>
        <translation>The record of this run cannot be read: %1</translation>
    </message>
    <message>
        <source>路線ファイルがありません</source>
        <translation>There is no route file</translation>
    </message>
    <message>
        <source>Velmoria 路線エディタ</source>
        <translation>Velmoria route editor</translation>
    </message>
    <message>
        <source>路線ファイル</source>
        <translation>Route file</translation>
    </message>
    <message>
        <source>保存していない変更を捨ててエディタを閉じますか？</source>
        <translation>Close the editor and lose the unsaved edits?</translation>
    </message>
    <message>
        <source>%1 に記録しました (再生すると、運転したときとは少し違う運転になりました)</source>
        <translation>Stored in %1 (replayed, the drive differed slightly from the one driven)</translation>
    </message>
    <message>
        <source>%1 に記録しました</source>
        <translation>Stored in %1</translation>
    </message>
</context>
<context>
    <name>velmoria::HelpWindow</name>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>velmoria::LanguageMenu</name>
    <message>
        <source>言語(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>自動（システムの言語）(&amp;A)</source>
        <translation>&amp;Automatic (system language)</translation>
    </message>
    <message>
        <source>表示する言語は次回の起動から切り替わります。</source>
        <translation>The new language will be used the next time Velmoria starts.</translation>
    </message>
</context>
<context>
    <name>velmoria::LineChooser</name>
    <message>
        <source>画像なし</source>
        <translation>No picture</translation>
    </message>
    <message>
        <source>運転できる車両・路線ファイルがありません</source>
        <translation>No vehicle and route files to drive</translation>
    </message>
    <message>
        <source>Velmoria 路線の選択</source>
        <translation>Velmoria: Choose a Line</translation>
    </message>
    <message>
        <source>路線のフォルダを開く</source>
        <translation>Open a Line Folder</translation>
    </message>
    <message>
        <source>フォルダを開く...</source>
        <translation>Open Folder...</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>この路線を開く</source>
        <translation>Open This Line</translation>
    </message>
    <message>
        <source>%1 には korvelan.dat がありません。路線のフォルダを選んでください。</source>
        <translation>%1 has no korvelan.dat. Please choose the folder of a line.</translation>
    </message>
    <message numerus="yes">
        <source>運転 %n本</source>
        <translation>
            <numerusform>%n run</numerusform>
            <numerusform>%n runs</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>velmoria::LineStart</name>
    <message>
        <source>路線データが見つかりません。
デモ路線を生成して %1 に保存しますか？
（約160 MB、数分かかります）</source>
        <translation>No line was found.
Generate the demo line and save it in %1?
(About 160 MB; this takes a few minutes.)</translation>
    </message>
    <message>
        <source>デモ路線を生成できませんでした。
%1</source>
        <translation>The demo line could not be generated.
%1</translation>
    </message>
</context>
<context>
    <name>velmoria::QtSerialSettingsDialog</name>
    <message>
        <source>Serial port</source>
        <translation>Serial Port</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Data bits</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>Stop bits</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>Flow control</source>
        <translation>Flow control</translation>
    </message>
</context>
<context>
    <name>velmoria::RecordsWindow</name>
    <message>
        <source>運転の記録</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>運転</source>
        <translation>run</translation>
    </message>
    <message>
        <source>得点</source>
        <translation>score</translation>
    </message>
    <message>
        <source>終点</source>
        <translation>terminus</translation>
    </message>
    <message>
        <source>停車・出来事</source>
        <translation>stops, events</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>replay</translation>
    </message>
    <message>
        <source>運転の記録を残す</source>
        <translation>Keep a history of runs</translation>
    </message>
    <message>
        <source>レポート</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>再生 1倍</source>
        <translation>Replay 1x</translation>
    </message>
    <message>
        <source>再生 4倍</source>
        <translation>Replay 4x</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>記録の保存先: %1</source>
        <translation>Runs in %1</translation>
    </message>
    <message>
        <source>運転の記録を保存するフォルダがありません: XDG_DATA_HOME も HOME も設定されていません。</source>
        <translation>No folder for the run history: neither XDG_DATA_HOME nor HOME is set.</translation>
    </message>
    <message>
        <source>最高 %1</source>
        <translation>best %1</translation>
    </message>
    <message>
        <source>終点までの運転なし</source>
        <translation>no run to the end</translation>
    </message>
    <message>
        <source>到着</source>
        <translation>reached</translation>
    </message>
    <message>
        <source>記録なし</source>
        <translation>no record</translation>
    </message>
    <message>
        <source>近似</source>
        <translation>approximate</translation>
    </message>
    <message>
        <source>完全</source>
        <translation>exact</translation>
    </message>
    <message>
        <source>記録フォルダで読み飛ばしたもの（そのまま残しています）:</source>
        <translation>Skipped in the history folder (left as they are):</translation>
    </message>
</context>
<context>
    <name>velmoria::ReportWindow</name>
    <message>
        <source>制限速度</source>
        <translation>the speed limit</translation>
    </message>
    <message>
        <source>保安装置の照査速度</source>
        <translation>the protection's speed</translation>
    </message>
    <message>
        <source>車両の最高速度</source>
        <translation>the vehicle's maximum</translation>
    </message>
    <message>
        <source>速度超過: %2 %3 km/h を %1 km/h 超えて %4 秒</source>
        <translation>Overspeed: %1 km/h over %2 of %3 km/h for %4 s</translation>
    </message>
    <message>
        <source>速度照査を超える速度で通過</source>
        <translation>a speed check passed too fast</translation>
    </message>
    <message>
        <source>停止信号の照査点</source>
        <translation>a stop signal's check point</translation>
    </message>
    <message>
        <source>照査速度の超過</source>
        <translation>over the check speed</translation>
    </message>
    <message>
        <source>警報の確認なし</source>
        <translation>a warning not acknowledged</translation>
    </message>
    <message>
        <source>ATS動作: %1</source>
        <translation>Train-stop alarm: %1</translation>
    </message>
    <message>
        <source>保安装置による常用最大ブレーキ</source>
        <translation>The protection's full-service brake</translation>
    </message>
    <message>
        <source>保安装置による非常ブレーキ</source>
        <translation>Emergency brake by the train protection</translation>
    </message>
    <message>
        <source>走行中の運転士による非常ブレーキ</source>
        <translation>Emergency brake by the driver, while moving</translation>
    </message>
    <message>
        <source>停止信号の冒進: %1</source>
        <translation>Signal passed at stop: %1</translation>
    </message>
    <message>
        <source>%1: %2 m 手前</source>
        <translation>%1: %2 m short</translation>
    </message>
    <message>
        <source>%1: %2 m 行き過ぎ</source>
        <translation>%1: %2 m over</translation>
    </message>
    <message>
        <source>%1: %2 秒遅れ</source>
        <translation>%1: %2 s late</translation>
    </message>
    <message>
        <source>%1: 最後の100 mでブレーキ操作 %2 回</source>
        <translation>%1: %2 brake movements in the last 100 m</translation>
    </message>
    <message>
        <source>%1: 通過</source>
        <translation>%1: passed</translation>
    </message>
    <message>
        <source>加速度の最大変化 %1 m/s³</source>
        <translation>largest change of acceleration %1 m/s³</translation>
    </message>
    <message>
        <source>制限 %1 km/h を %2 km/h 超えて %3 秒（%4 m 地点）</source>
        <translation>%2 km/h over %1 km/h for %3 s at %4 m</translation>
    </message>
    <message>
        <source>ATS動作（%1 m 地点）</source>
        <translation>train-stop alarm at %1 m</translation>
    </message>
    <message>
        <source>保安装置のブレーキ（%1 m 地点）</source>
        <translation>protection brake at %1 m</translation>
    </message>
    <message>
        <source>保安装置の非常ブレーキ（%1 m 地点）</source>
        <translation>emergency brake by the protection at %1 m</translation>
    </message>
    <message>
        <source>走行中の非常ブレーキ（%1 m 地点）</source>
        <translation>emergency brake while moving at %1 m</translation>
    </message>
    <message>
        <source>%1 停止信号の冒進（%2 m 地点）</source>
        <translation>%1 passed at stop at %2 m</translation>
    </message>
    <message>
        <source>%1（%2）%3〜%4、%5 km、終点到着</source>
        <translation>%1 on %2, %3 to %4, %5 km, the terminus reached</translation>
    </message>
    <message>
        <source>%1（%2）%3〜%4、%5 km、終点の手前まで</source>
        <translation>%1 on %2, %3 to %4, %5 km, before the terminus</translation>
    </message>
    <message>
        <source>駅</source>
        <translation>Stations</translation>
    </message>
    <message>
        <source>停車した駅はありません。</source>
        <translation>No station stopped at.</translation>
    </message>
    <message>
        <source>停止位置</source>
        <translation>stop</translation>
    </message>
    <message>
        <source>到着</source>
        <translation>arrived</translation>
    </message>
    <message>
        <source>時刻表</source>
        <translation>timetable</translation>
    </message>
    <message>
        <source>遅れ</source>
        <translation>late</translation>
    </message>
    <message>
        <source>ドア</source>
        <translation>doors</translation>
    </message>
    <message>
        <source>ブレーキ操作（最後の100 m）</source>
        <translation>brake moves, last 100 m</translation>
    </message>
    <message>
        <source>%1 cm 手前</source>
        <translation>%1 cm short</translation>
    </message>
    <message>
        <source>%1 cm 行き過ぎ</source>
        <translation>%1 cm over</translation>
    </message>
    <message>
        <source>開・閉</source>
        <translation>opened, closed</translation>
    </message>
    <message>
        <source>開</source>
        <translation>opened</translation>
    </message>
    <message>
        <source>開かず</source>
        <translation>not opened</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>通過（停車せず）</source>
        <translation>passed without stopping</translation>
    </message>
    <message>
        <source>出来事</source>
        <translation>Events</translation>
    </message>
    <message>
        <source>なし。</source>
        <translation>None.</translation>
    </message>
    <message>
        <source>%1 &amp;mdash; %2（%3 m 地点）</source>
        <translation>%1 &amp;mdash; %2, at %3 m</translation>
    </message>
    <message>
        <source>時間内に確認したATS警報: %1 回</source>
        <translation>Train-stop warnings acknowledged in time: %1</translation>
    </message>
    <message>
        <source>乗り心地</source>
        <translation>Ride</translation>
    </message>
    <message>
        <source>加速度の最大変化: %1 m/s&amp;sup3;（%2 m 地点）</source>
        <translation>Largest change of acceleration: %1 m/s&amp;sup3; at %2 m</translation>
    </message>
    <message>
        <source>採点</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>持ち点</source>
        <translation>start</translation>
    </message>
    <message>
        <source>得点</source>
        <translation>score</translation>
    </message>
    <message>
        <source>運転レポート</source>
        <translation>Run report</translation>
    </message>
    <message>
        <source>グラフをPNGで保存…</source>
        <translation>Save chart as PNG...</translation>
    </message>
    <message>
        <source>グラフをSVGで保存…</source>
        <translation>Save chart as SVG...</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>グラフの保存</source>
        <translation>Save the chart</translation>
    </message>
    <message>
        <source>運転レポート: %1</source>
        <translation>Run report: %1</translation>
    </message>
    <message>
        <source>得点 %1 / 100</source>
        <translation>Score %1 / 100</translation>
    </message>
    <message>
        <source>グラフを %1 に保存しました</source>
        <translation>The chart is in %1</translation>
    </message>
    <message>
        <source>グラフを %1 に書き込めませんでした</source>
        <translation>The chart could not be written to %1</translation>
    </message>
</context>
<context>
    <name>velmoria::RouteEditor</name>
    <message>
        <source>このフレームの画像はありません</source>
        <translation>No picture for this frame</translation>
    </message>
    <message>
        <source>映像がありません</source>
        <translation>No video</translation>
    </message>
    <message>
        <source>フレーム</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>ここに追加</source>
        <translation>Add here</translation>
    </message>
    <message>
        <source>ここへ移動</source>
        <translation>Move here</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>試運転: 自動運転が今の路線を走ります。</source>
        <translation>Test drive: the autopilot drives the route as it stands.</translation>
    </message>
    <message>
        <source>路線</source>
        <translation>Route</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直す</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>車両</source>
        <translation>Vehicle</translation>
    </message>
    <message>
        <source>試運転</source>
        <translation>Test drive</translation>
    </message>
    <message>
        <source>映像がありません: %1</source>
        <translation>No video: %1</translation>
    </message>
    <message>
        <source>Velmoria 路線エディタ</source>
        <translation>Velmoria route editor</translation>
    </message>
    <message>
        <source>(停止位置行き過ぎ)</source>
        <translation>(overrun)</translation>
    </message>
    <message>
        <source>%1: 「%2」はこの欄の値になりません</source>
        <translation>%1: "%2" is not a value of this field</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>路線を保存できませんでした:</source>
        <translation>The route was not saved:</translation>
    </message>
    <message>
        <source>%1 に保存しました</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>%1を追加</source>
        <translation>Add %1</translation>
    </message>
    <message>
        <source>%1を削除</source>
        <translation>Delete %1</translation>
    </message>
    <message>
        <source>%1を移動</source>
        <translation>Move %1</translation>
    </message>
    <message>
        <source>%1の%2を変更</source>
        <translation>Change %1 %2</translation>
    </message>
    <message>
        <source>試運転は走りませんでした (velmoria-drive の終了コード %1)。</source>
        <translation>The test drive did not run (velmoria-drive ended with %1).</translation>
    </message>
    <message>
        <source>試運転は走りませんでした。</source>
        <translation>The test drive did not run.</translation>
    </message>
    <message>
        <source>終点に到着しました (模擬時間 %1)。</source>
        <translation>Terminus reached after %1 simulated.</translation>
    </message>
    <message>
        <source>終点に着きませんでした (模擬時間 %1)。</source>
        <translation>Terminus NOT reached after %1 simulated.</translation>
    </message>
    <message>
        <source>停車した駅: %1</source>
        <translation>Stations stopped: %1</translation>
    </message>
    <message>
        <source>非常ブレーキ: %1、ATS動作: %2、速度超過: %3</source>
        <translation>Emergency brakes: %1, train stop alarms: %2, overspeeds: %3</translation>
    </message>
    <message>
        <source>velmoria-drive が見つかりません (VELMORIA_DRIVE で指定できます)。</source>
        <translation>velmoria-drive was not found (set VELMORIA_DRIVE).</translation>
    </message>
    <message>
        <source>フォルダに車両ファイル (train*.dat) がありません。</source>
        <translation>The folder has no vehicle file (train*.dat).</translation>
    </message>
    <message>
        <source>試運転のための路線を書き込めません:</source>
        <translation>The route cannot be written for the drive:</translation>
    </message>
    <message>
        <source>自動運転で走っています…</source>
        <translation>Driving with the autopilot ...</translation>
    </message>
    <message>
        <source>velmoria-drive が終わりませんでした: %1</source>
        <translation>velmoria-drive did not finish: %1</translation>
    </message>
    <message>
        <source>編集中の路線の試運転 (自動運転)</source>
        <translation>Test drive of the route as edited, by the autopilot</translation>
    </message>
    <message>
        <source>運転レポートを読み込めません: %1</source>
        <translation>The run report could not be read: %1</translation>
    </message>
</context>
<context>
    <name>velmoria::RunHistory</name>
    <message>
        <source>%1を読み込めません</source>
        <translation>cannot read %1</translation>
    </message>
    <message>
        <source>%1は運転レポートとしては大きすぎます</source>
        <translation>%1 is too large for a run report</translation>
    </message>
    <message>
        <source>%1はJSONではありません: %2</source>
        <translation>%1 is not JSON: %2</translation>
    </message>
    <message>
        <source>%1はVelmoriaの運転レポートではありません</source>
        <translation>%1 is not a Velmoria run report</translation>
    </message>
    <message>
        <source>書き込み中か、書き込みが途中で終わった運転</source>
        <translation>a run still being written, or one whose writing was cut short</translation>
    </message>
    <message>
        <source>運転のフォルダではありません</source>
        <translation>not a run folder</translation>
    </message>
    <message>
        <source>report.jsonがありません</source>
        <translation>no report.json</translation>
    </message>
</context>
<context>
    <name>velmoria::RunWatch</name>
    <message>
        <source>最高記録の運転と並んでいます (%1)</source>
        <translation>level with the best run (%1)</translation>
    </message>
    <message>
        <source>最高記録の運転より %1 m 先 (%2)</source>
        <translation>%1 m ahead of the best run (%2)</translation>
    </message>
    <message>
        <source>最高記録の運転より %1 m 後ろ (%2)</source>
        <translation>%1 m behind the best run (%2)</translation>
    </message>
    <message>
        <source>再生しました: 記録した運転と1バイトも違わず同じです (%1 ティック)。</source>
        <translation>Replayed: the trace is the stored run's, byte for byte (%1 ticks).</translation>
    </message>
    <message>
        <source>再生しました: 記録した運転とは違う運転になりました。</source>
        <translation>Replayed: the trace differs from the stored run's.</translation>
    </message>
    <message>
        <source>運転を記録しています…</source>
        <translation>Storing the run...</translation>
    </message>
    <message>
        <source>運転を記録できませんでした: 操作の記録を読み戻せません。</source>
        <translation>The run was not stored: its record does not read back.</translation>
    </message>
    <message>
        <source>運転を記録できませんでした: %1</source>
        <translation>The run was not stored: %1</translation>
    </message>
    <message>
        <source>%1 に記録しました</source>
        <translation>Stored in %1</translation>
    </message>
    <message>
        <source>%1 に記録しました (操作の記録を再生すると少し違う運転になります)</source>
        <translation>Stored in %1 (its record replays to a slightly different run)</translation>
    </message>
    <message>
        <source>%1 に記録しました (操作の記録を再生すると少し違う運転になります: %2)</source>
        <translation>Stored in %1 (its record replays to a slightly different run: %2)</translation>
    </message>
</context>
<context>
    <name>velmoria::SpeedChart</name>
    <message>
        <source>速度</source>
        <translation>speed</translation>
    </message>
    <message>
        <source>制限</source>
        <translation>limit</translation>
    </message>
    <message>
        <source>撮影時</source>
        <translation>filmed</translation>
    </message>
    <message>
        <source>最高記録の運転</source>
        <translation>best run</translation>
    </message>
    <message>
        <source>Velmoria の運転: %1</source>
        <translation>Velmoria run: %1</translation>
    </message>
</context>
<context>
    <name>velmoria::TitleWindow</name>
    <message>
        <source>通勤時間帯の快速です。3分遅れでスタートします。</source>
        <translation>A rapid train in the morning rush hour. It starts 3 minutes late.</translation>
    </message>
    <message>
        <source>日中時間帯の快速です。</source>
        <translation>A rapid train in the daytime.</translation>
    </message>
    <message>
        <source>休日ダイヤの快速です。</source>
        <translation>A rapid train on the holiday timetable.</translation>
    </message>
    <message>
        <source>183系で運転する臨時特急です。</source>
        <translation>An extra limited express, driven with a series 183 train.</translation>
    </message>
    <message>
        <source>分岐駅から本線を離れ、支線に乗り入れて終点まで走る特別快速です。</source>
        <translation>A special rapid train that leaves the main line at the junction and runs through to the end of the branch line.</translation>
    </message>
    <message>
        <source>直通列車の支線区間、分岐駅から支線の終点までを走る普通列車です。</source>
        <translation>The branch-line part of a through train: a local train from the junction to the end of the branch line.</translation>
    </message>
    <message>
        <source>実行ファイルが正しい場所に配置されていません</source>
        <translation>The program is not in the right place: its data folder has no korvelan.dat</translation>
    </message>
    <message>
        <source>オープニングムービーを開けません</source>
        <translation>Cannot open the opening movie</translation>
    </message>
    <message>
        <source>%1を読み込めません</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <source>readme.htmlを開くブラウザが見つかりません。
%1</source>
        <translation>No web browser was found to open readme.html.
%1</translation>
    </message>
    <message>
        <source>これまでの運転の記録と成績</source>
        <translation>Your runs so far and their scores</translation>
    </message>
    <message>
        <source>路線エディタ…</source>
        <translation>Route editor...</translation>
    </message>
</context>
<context>
    <name>velmoria::ValueDisplayWindow</name>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Accelaration</source>
        <translation>Acceleration</translation>
    </message>
    <message>
        <source>Slope</source>
        <translation>Gradient</translation>
    </message>
    <message>
        <source>Wheel statement</source>
        <translation>Wheel state</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Tractive force</translation>
    </message>
    <message>
        <source>Resistance</source>
        <translation>Resistance</translation>
    </message>
    <message>
        <source>Adhesive coefficient</source>
        <translation>Adhesion coefficient</translation>
    </message>
    <message>
        <source>Adhesive limit(P)</source>
        <translation>Adhesion limit (P)</translation>
    </message>
    <message>
        <source>Adhesive limit(B)</source>
        <translation>Adhesion limit (B)</translation>
    </message>
    <message>
        <source>BC Pressure</source>
        <translation>BC pressure</translation>
    </message>
    <message>
        <source>SAP Pressure</source>
        <translation>SAP pressure</translation>
    </message>
    <message>
        <source>ER Pressure</source>
        <translation>ER pressure</translation>
    </message>
    <message>
        <source>MR Pressure</source>
        <translation>MR pressure</translation>
    </message>
    <message>
        <source>Speedcheck</source>
        <translation>Speed check</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Projected</source>
        <translation>Projected</translation>
    </message>
    <message>
        <source>Next station</source>
        <translation>Next station</translation>
    </message>
    <message>
        <source>Remain</source>
        <translation>Remaining</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Value Display</source>
        <translation>Value Display</translation>
    </message>
</context>
<context>
    <name>velmoria::controls</name>
    <message>
        <source>前進</source>
        <translation>Reverser forward</translation>
    </message>
    <message>
        <source>後退</source>
        <translation>Reverser backward</translation>
    </message>
    <message>
        <source>レバーサ中立</source>
        <translation>Reverser neutral</translation>
    </message>
    <message>
        <source>力行側へ1段</source>
        <translation>One step toward power</translation>
    </message>
    <message>
        <source>ブレーキ側へ1段</source>
        <translation>One step toward brake</translation>
    </message>
    <message>
        <source>ハンドル中立</source>
        <translation>Handle to neutral</translation>
    </message>
    <message>
        <source>非常ブレーキ</source>
        <translation>Emergency brake</translation>
    </message>
    <message>
        <source>マスコン進め</source>
        <translation>Power notch up</translation>
    </message>
    <message>
        <source>マスコン戻し</source>
        <translation>Power notch down</translation>
    </message>
    <message>
        <source>マスコン非常</source>
        <translation>Power handle off</translation>
    </message>
    <message>
        <source>ブレーキ弛め</source>
        <translation>Release brake one step</translation>
    </message>
    <message>
        <source>ブレーキ込め</source>
        <translation>Apply brake one step</translation>
    </message>
    <message>
        <source>ブレーキ非常</source>
        <translation>Brake handle to emergency</translation>
    </message>
    <message>
        <source>警笛</source>
        <translation>Horn</translation>
    </message>
    <message>
        <source>警笛2</source>
        <translation>Horn 2</translation>
    </message>
    <message>
        <source>ブザー1</source>
        <translation>Buzzer 1</translation>
    </message>
    <message>
        <source>ブザー2・次の放送</source>
        <translation>Buzzer 2 / next announcement</translation>
    </message>
    <message>
        <source>前の放送</source>
        <translation>Previous announcement</translation>
    </message>
    <message>
        <source>ドア</source>
        <translation>Doors</translation>
    </message>
    <message>
        <source>ATS復帰</source>
        <translation>ATS reset</translation>
    </message>
    <message>
        <source>ATS確認</source>
        <translation>ATS acknowledge</translation>
    </message>
    <message>
        <source>変速段上げ</source>
        <translation>Gear up</translation>
    </message>
    <message>
        <source>変速段下げ</source>
        <translation>Gear down</translation>
    </message>
    <message>
        <source>喚呼</source>
        <translation>Call-out</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>[キーとゲームパッドの割り当て]</source>
        <translation>[Keys and game pad bindings]</translation>
    </message>
    <message>
        <source>力行 (パッドの軸)</source>
        <translation>Power (pad axis)</translation>
    </message>
    <message>
        <source>ブレーキ (パッドの軸)</source>
        <translation>Brake (pad axis)</translation>
    </message>
</context>
<context>
    <name>velmoria::controls::ControlsDialog</name>
    <message>
        <source>操作の割り当て</source>
        <translation>Keys and Game Pad</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>キー</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>ゲームパッド</source>
        <translation>Game pad</translation>
    </message>
    <message>
        <source>力行 (パッドの軸)</source>
        <translation>Power (pad axis)</translation>
    </message>
    <message>
        <source>ブレーキ (パッドの軸)</source>
        <translation>Brake (pad axis)</translation>
    </message>
    <message>
        <source>初期設定</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>キーはボタンを押してから新しいキーを押します (Escで取り消し)。</source>
        <translation>To change a key, click its button, then press the new key (Esc cancels).</translation>
    </message>
    <message>
        <source>キーを押してください…</source>
        <translation>Press a key…</translation>
    </message>
</context>
<context>
    <name>velmoria::edit::Fields</name>
    <message>
        <source>駅名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>停車 (0、1 通過、2)</source>
        <translation>Stop (0, 1 pass, 2)</translation>
    </message>
    <message>
        <source>停車区間の始まり</source>
        <translation>Zone begins</translation>
    </message>
    <message>
        <source>停止位置目標</source>
        <translation>Stopping mark</translation>
    </message>
    <message>
        <source>到着の音</source>
        <translation>Arrival sound</translation>
    </message>
    <message>
        <source>発車の音</source>
        <translation>Departure sound</translation>
    </message>
    <message>
        <source>発車時刻</source>
        <translation>Departure time</translation>
    </message>
    <message>
        <source>ドアが閉まる時刻 (終点)</source>
        <translation>Doors close (terminus)</translation>
    </message>
    <message>
        <source>モード (0、1、2)</source>
        <translation>Mode (0, 1, 2)</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>番号</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>種類 (0-5)</source>
        <translation>Kind (0-5)</translation>
    </message>
    <message>
        <source>見え始め</source>
        <translation>In view from</translation>
    </message>
    <message>
        <source>信号機</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>ATS警報</source>
        <translation>Train stop warning</translation>
    </message>
    <message>
        <source>ATS照査</source>
        <translation>Train stop check</translation>
    </message>
    <message>
        <source>固定現示 (0-4)</source>
        <translation>Fixed aspect (0-4)</translation>
    </message>
    <message>
        <source>固定の終わり</source>
        <translation>Fixed until</translation>
    </message>
    <message>
        <source>制限 (km/h)</source>
        <translation>Limit (km/h)</translation>
    </message>
    <message>
        <source>標識の絵</source>
        <translation>Board picture</translation>
    </message>
    <message>
        <source>第3欄</source>
        <translation>Third field</translation>
    </message>
    <message>
        <source>始まり</source>
        <translation>Begins</translation>
    </message>
    <message>
        <source>終わり</source>
        <translation>Ends</translation>
    </message>
    <message>
        <source>勾配 (‰)</source>
        <translation>Gradient (per mille)</translation>
    </message>
    <message>
        <source>絵</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>表示の始まり</source>
        <translation>Shown from</translation>
    </message>
    <message>
        <source>表示の終わり</source>
        <translation>Shown until</translation>
    </message>
    <message>
        <source>音</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>基準速度 (km/h)</source>
        <translation>Reference speed (km/h)</translation>
    </message>
    <message>
        <source>種類 (0 一回、1 繰り返し)</source>
        <translation>Type (0 once, 1 looped)</translation>
    </message>
    <message>
        <source>速度で音程が変わる</source>
        <translation>Rate follows speed</translation>
    </message>
    <message>
        <source>速度で音量が変わる</source>
        <translation>Volume follows speed</translation>
    </message>
    <message>
        <source>再生位置</source>
        <translation>Played at</translation>
    </message>
    <message>
        <source>速度 (km/h)</source>
        <translation>Speed (km/h)</translation>
    </message>
    <message>
        <source>照査位置</source>
        <translation>Checked at</translation>
    </message>
</context>
<context>
    <name>velmoria::edit::Items</name>
    <message>
        <source>駅</source>
        <translation>station</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>signal</translation>
    </message>
    <message>
        <source>速度制限</source>
        <translation>speed limit</translation>
    </message>
    <message>
        <source>勾配</source>
        <translation>slope</translation>
    </message>
    <message>
        <source>標識</source>
        <translation>sign</translation>
    </message>
    <message>
        <source>効果音</source>
        <translation>sound cue</translation>
    </message>
    <message>
        <source>放送</source>
        <translation>announcement</translation>
    </message>
    <message>
        <source>速度照査</source>
        <translation>speed check</translation>
    </message>
    <message>
        <source>トンネル</source>
        <translation>tunnel</translation>
    </message>
</context>
<context>
    <name>velmoria::edit::Refusals</name>
    <message>
        <source>その項目はありません</source>
        <translation>no such entry</translation>
    </message>
    <message>
        <source>文字で入力してください</source>
        <translation>a text</translation>
    </message>
    <message>
        <source>カンマは入れられません</source>
        <translation>a comma cannot stand in a field</translation>
    </message>
    <message>
        <source>改行は入れられません</source>
        <translation>a line break cannot stand in a field</translation>
    </message>
    <message>
        <source>&apos;#&apos; で始めることはできません</source>
        <translation>cannot begin with '#'</translation>
    </message>
    <message>
        <source>数で入力してください</source>
        <translation>a number</translation>
    </message>
    <message>
        <source>整数で入力してください</source>
        <translation>a whole number</translation>
    </message>
    <message>
        <source>負の値にはできません</source>
        <translation>cannot be negative</translation>
    </message>
</context>
<context>
    <name>velmoria::edit::Tables</name>
    <message>
        <source>駅</source>
        <translation>Stations</translation>
    </message>
    <message>
        <source>信号</source>
        <translation>Signals</translation>
    </message>
    <message>
        <source>速度制限</source>
        <translation>Speed limits</translation>
    </message>
    <message>
        <source>勾配</source>
        <translation>Slopes</translation>
    </message>
    <message>
        <source>標識</source>
        <translation>Signs</translation>
    </message>
    <message>
        <source>効果音</source>
        <translation>Sound cues</translation>
    </message>
    <message>
        <source>放送</source>
        <translation>Announcements</translation>
    </message>
    <message>
        <source>速度照査</source>
        <translation>Speed checks</translation>
    </message>
    <message>
        <source>トンネル</source>
        <translation>Tunnels</translation>
    </message>
</context>
</TS>
