#include "misc_files.h"

#include <algorithm>
#include <cmath>

#include "pictures.h"
#include "sounds.h"
#include "text_file.h"
#include "video_writer.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

// Cab texts, menu captions and the video folder.
void writeStrings(const fs::path& dir) {
  TextFile k;
  k.line("; Velmoria: cab texts, menu captions and the video folder");
  k.value("[Path]", "move\\")
      .value("[Forward]", "前進")
      .value("[Neutral]", "中立")
      .value("[Reverse]", "後進");
  k.value("[Stop]", " 停車").value("[Pass]", " 通過").value("[Stop2]", " 停車");
  k.value("[Neut]", "緩め")
      .value("[Neut2]", "N")
      .value("[Apply]", "制動")
      .value("[Maintain]", "保ち");
  k.value("[Hold]", "重り").value("[Hold2]", "抑速").value("[EB]", "非常");
  k.value("[Start]", "運転開始(&S)").value("[Move]", "駅へ移動(&M)");
  k.value("[Display]", "表示(&V)", "操作説明(&H)", "再描画(&R)")
      .value("[Control]", "コントローラ(&C)");
  k.save(dir / "korvelan.dat");
}

// Codes of the serial one-handle controller: P1-P5 (P5 twice), N, B1-B8, EB, reverser
// forward/neutral/back, and the acknowledge, horn and call-out buttons.
void writeControllerCodes(const fs::path& dir) {
  TextFile m;
  m.lines({"TSA50", "TSA55", "TSA60", "TSA65", "TSA70", "TSA75", "TSA45", "TSA40",
           "TSA35", "TSA30", "TSA25", "TSA20", "TSA15", "TSA10", "TSA05", "TSA00",
           "TSG90", "TSN90", "TSB90", "TSX99", "TSY99", "TSZ99"});
  m.line(
      "# 1-6 P1-P5, 7 N, 8-15 B1-B8, 16 EB, 17-19 reverser, 20 ATS acknowledge, 21 horn, 22 "
      "call-out");
  m.save(dir / "mascon.dat");
}

// The operating instructions of the help window (first line its caption).
void writeOperationHelp(const fs::path& dir) {
  TextFile o;
  o.line("操作説明");
  o.lines({"【ハンドル(キーボード)】",
           " 8 / 2 : 力行側 / ブレーキ側へ1段",
           "   (テンキー・ScrollLockで入替)",
           " 5 : ノッチ・ブレーキとも切",
           " 0 : 非常ブレーキ",
           " z / a : ワンハンドル車の力行 / ブレーキ",
           " q : ワンハンドル車の非常位置",
           "【ツーハンドル車】",
           " z / a : マスコン 1段上げ / 下げ",
           " . / , : ブレーキ 1段込め / 緩め",
           " / : 非常ブレーキ",
           "【マウスホイール】",
           " 手前 : 力行側へ / 奥 : ブレーキ側へ",
           "   (奥へ回し続けると非常)",
           "【レバーサ】(停車中のみ)",
           " f : 前進  n : 中立  b : 後進",
           "【ATS・保安装置】",
           " スペース : 確認(警報を止める)",
           "   ブレーキを込めてから押す",
           " r : 復帰(非常位置・停車中)",
           "【その他】",
           " 3 / 6 : 警笛 1 / 2",
           " 4 / 1 : ブザー 1 / 2",
           " d または 7 : ドア開閉(ワンマン)",
           " 1 / - : 車内放送 次 / 戻る(ワンマン)",
           " Enter : 喚呼(信号・標識・時刻)",
           " F1 : 時刻表の表示・格納",
           " F2 / F3 : 時刻表のスクロール",
           " F5 : 計器値の表示",
           " Shift+F1 / F2 : 記録速度追従 入/切",
           " Shift+F5〜F8 : 位置の移動",
           " Shift+F9 / F10 : 時刻の調整",
           "【コントローラ】",
           " TSマスコン : メニューから接続",
           "   19200bps 8N1, 符号は mascon.dat",
           " USBコントローラ : メニューで種類を選択",
           "【運転のこつ】",
           " 停止位置の手前200mから",
           " 停目表示と残り距離を見て",
           " ブレーキを段階的に緩めます。"});
  o.save(dir / "operation.dat");
}

// The driver's guide to the demo line (UTF-8).
void writeReadme(const fs::path& dir) {
  TextFile r;
  r.lines(
      {"<!DOCTYPE html>",
       "<html lang=\"ja\"><head><meta charset=\"UTF-8\"><title>Velmoria デモ路線 "
       "運転ガイド</title>",
       "<style>body{font-family:sans-serif;max-width:46em;margin:2em auto;line-height:1.6}"
       "table{border-collapse:collapse}td,th{border:1px solid #999;padding:.2em "
       ".6em}th{background:#eef}</style></head><body>",
       "<h1>Velmoria デモ路線</h1>",
       "<p>港町から星ノ宮までのヴェルモリア本線(12駅)と、椿から分かれて湖畔へ向かう湖畔線(4駅)"
       "です。"
       "カーブ、勾配、トンネル、踏切、閉塞信号があり、6つの運転が選べます。</p>",
       "<h2>運転の選択</h2><table><tr><th>ボタン</th><th>列車</th><th>車両</th></tr>",
       "<tr><td>1</td><td>朝ラッシュの快速。3分遅れで出発します。</td><td>201系</td></tr>",
       "<tr><td>2</td><td>日中の快速(Shiftを押しながら選ぶとE233系)</td><td>201系 / "
       "E233系</td></tr>",
       "<tr><td>3</td><td>休日ダイヤの快速(Shiftを押しながら選ぶとE233系)</td><td>201系 / "
       "E233系</td></tr>",
       "<tr><td>4</td><td>臨時特急「ほしかぜ」。港町・中央市場・椿・星ノ宮のみ停車</td><td>183系</"
       "td></tr>",
       "<tr><td>5</td><td>特別快速。椿から湖畔線に直通し、湖畔まで</td><td>201系</td></tr>",
       "<tr><td>6</td><td>湖畔線の普通(ワンマン)。椿から湖畔まで。ドアと放送は自分で操作</"
       "td><td>201系</td></tr></table>",
       "<h2>運転のしかた</h2><ol><li>メニューの「運転開始」で時計が動き出します。</li>"
       "<li>発車時刻になると発車メロディが鳴り、ドアが閉まります(ワンマンは d "
       "キー)。戸閉表示灯が点いたら出発です。</li>"
       "<li>力行で加速し、信号と制限速度を守って走ります。制限標識は予告時に点滅します。</li>"
       "<li>駅が近づくと停止位置表示と残り距離が出ます。停止位置にぴったり止めましょう。</li>"
       "<li>終点でドアが開くと「終点に到着しました」と表示されます。Backボタンで戻ります。</li></"
       "ol>",
       "<h2>キー操作</h2><table><tr><th>キー</th><th>操作</th></tr>",
       "<tr><td>8 / 2</td><td>力行側・ブレーキ側へ1段(ホイールも同じ)</td></tr>",
       "<tr><td>z / a, . / , / /</td><td>ツーハンドル車のマスコンとブレーキ</td></tr>",
       "<tr><td>5 / 0</td><td>ノッチ・ブレーキ切 / 非常ブレーキ</td></tr>",
       "<tr><td>f n b</td><td>レバーサ 前進・中立・後進(停車中)</td></tr>",
       "<tr><td>スペース / r</td><td>ATS確認 / 復帰</td></tr>",
       "<tr><td>3 6 4 1</td><td>警笛・ブザー</td></tr>",
       "<tr><td>d, 1, -</td><td>ワンマン: ドア、車内放送</td></tr>",
       "<tr><td>Enter</td><td>喚呼(信号・標識・時刻確認)</td></tr>",
       "<tr><td>F1 F2 F3 F5</td><td>時刻表、計器値</td></tr></table>",
       "<h2>コントローラ</h2><p>TSマスコン(シリアル 19200bps 8N1)は mascon.dat の符号で動きます。"
       "USBの電車でGO!コントローラはメニューで種類を選んでください。</p>",
       "<h2>保安装置</h2><ul><li>201系: ATS-P(パターン接近・ブレーキ動作を映像右下に表示)</li>"
       "<li>E233系: ATC(運転台の信号表示灯、速度超過で自動ブレーキ)</li>"
       "<li>183系: ATS-S(停止信号の手前でベル、ブレーキを込めてスペースで確認)</li></ul>",
       "<p>このデータは velmoria-demo-gen が生成したものです。</p></body></html>"});
  r.save(dir / "readme.html", true);
}

}  // namespace

void writeStringsAndHelp(const fs::path& dir) {
  writeStrings(dir);
  writeControllerCodes(dir);
  writeOperationHelp(dir);
  writeReadme(dir);
}

void writeFrontPictures(const fs::path& dir, const Line& line, const Renderer& renderer,
                        const Font& font, const Font& bold, bool quick) {
  fs::create_directories(dir / "image" / "title");
  atspOverlay(font).saveBmp(dir / "image" / "atsp.bmp");
  loadingPicture(bold, font).saveBmp(dir / "image" / "loading.bmp");
  // Title: the line itself, seen large, with the name.
  Image title(640, 480);
  renderer.render(line.main, &line.branch, 30500, title);
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 640; ++x)
      title.set(x, y, mix(title.get(x, y), Rgb{8, 16, 40}, 0.55 * (1 - y / 150.0) + 0.2));
  bold.draw(title, 28, 22, "Velmoria", 64, Rgb{255, 255, 255});
  bold.draw(title, 32, 96, "ヴェルモリア 電車運転シミュレータ", 24, Rgb{255, 230, 140});
  font.draw(title, 34, 128, "デモ路線  ヴェルモリア本線・湖畔線", 15, Rgb{220, 230, 255});
  title.saveJpeg(dir / "image" / "title" / "01.jpg", 90);
  // Opening movie: four seconds along the line while the title fades in, with a theme.
  const double secs = 4.0;
  VideoWriter movie(dir / "move" / "opening.avi", 320, 240, 15, 4, kRate);
  Image frame(320, 240);
  const int frames = static_cast<int>(secs * 30);
  for (int i = 0; i < frames; ++i) {
    if (quick)
      frame.fill(Rgb{20, 30, 60});
    else
      renderer.render(line.main, &line.branch, 25000 + i * 3, frame);
    const double a = std::clamp((i - 30) / 45.0, 0.0, 1.0);
    if (a > 0) {
      for (int y = 80; y < 160; ++y)
        for (int x = 0; x < 320; ++x)
          frame.set(x, y, mix(frame.get(x, y), Rgb{8, 16, 40}, 0.6 * a));
      bold.drawCentred(frame, 160, 92, "Velmoria", static_cast<int>(40 * (0.7 + 0.3 * a)),
                       mix(Rgb{8, 16, 40}, Rgb{255, 255, 255}, a));
    }
    movie.addFrame(frame);
  }
  movie.addAudio(toPcm(openingTheme(secs)));
  movie.finish();
}

}  // namespace demo
