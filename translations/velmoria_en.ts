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
</TS>
