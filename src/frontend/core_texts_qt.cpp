#include "frontend/core_texts_qt.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace velmoria {

namespace {

constexpr const char* kContext = "velmoria::CoreText";

// Every text of the core that the desktop program shows; the core writes them literally.
constexpr const char* kTexts[] = {
    // creation and the sound bank, on the title window's status line
    QT_TRANSLATE_NOOP("velmoria::CoreText", "設定ファイルを読み込んでいます"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "運転台を描画しています"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "DirectSoundオブジェクトを作成しています"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "サウンドを読み込んでいます"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "環境をセットアップしています"),
    // the cab window's caption and its Start item
    QT_TRANSLATE_NOOP("velmoria::CoreText", "終点に到着しました。Backボタンで戻ってください。"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "一時停止(&S)"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "運転再開(&S)"),
    // startup errors
    QT_TRANSLATE_NOOP("velmoria::CoreText",
                      "DirectSoundの割り当てに失敗しました。256チャンネルを超えています。"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "stringファイルに誤りがあります"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "路線ファイルに誤りがあります。"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "車両ファイルに誤りがあります"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "動力が気動車なのにNotch指定があります"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "Power指定とNotch指定が矛盾しています"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "動力が電車なのにEngine指定があります"),
    QT_TRANSLATE_NOOP("velmoria::CoreText",
                      "車両ファイルの[Tons]には0より大きい値を指定してください"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "車両ファイルの[Mt]には0以上の値を指定してください"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "ブレーキの段数を3段以上に設定してください"),
};

// Errors made of a fixed text and a part taken from the data (%1).
constexpr const char* kPatterns[] = {
    QT_TRANSLATE_NOOP("velmoria::CoreText", "%1が見つかりません"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "路線ファイルに誤りがあります。%1"),
    QT_TRANSLATE_NOOP("velmoria::CoreText", "車両ファイルに誤りがあります%1"),
};

}  // namespace

QString coreText(const std::string& text) {
  for (const char* known : kTexts)
    if (text == known) return QCoreApplication::translate(kContext, known);
  return QString::fromStdString(text);
}

QString coreError(const std::string& text) {
  for (const char* known : kTexts)
    if (text == known) return QCoreApplication::translate(kContext, known);
  const QString given = QString::fromStdString(text);
  for (const char* pattern : kPatterns) {
    const QString source = QString::fromUtf8(pattern);
    const qsizetype at = source.indexOf("%1");
    const QString before = source.left(at);
    const QString after = source.mid(at + 2);
    if (given.size() > before.size() + after.size() && given.startsWith(before) &&
        given.endsWith(after)) {
      const QString part = given.mid(before.size(), given.size() - before.size() - after.size());
      return QCoreApplication::translate(kContext, pattern).arg(part);
    }
  }
  return given;
}

}  // namespace velmoria
