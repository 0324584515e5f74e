// translations/velmoria_en.ts against the sources: lupdate run over them into a copy of the
// committed file must find nothing new, nothing gone, and every text translated.
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <map>

#ifdef VELMORIA_LUPDATE

namespace {

struct Message {
  QString context, source;
  QStringList translations;  // one, or the plural forms
  bool unfinished = false;
  QString key() const { return context + " | " + source; }
};

std::vector<Message> readTs(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  QXmlStreamReader xml(&file);
  std::vector<Message> messages;
  QString context;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == u"name") {
      context = xml.readElementText();
    } else if (xml.name() == u"message") {
      messages.push_back({context, {}, {}, false});
    } else if (xml.name() == u"source" && !messages.empty()) {
      messages.back().source = xml.readElementText();
    } else if (xml.name() == u"translation" && !messages.empty()) {
      const QString type = xml.attributes().value("type").toString();
      messages.back().unfinished = !type.isEmpty();  // unfinished, vanished or obsolete
      // The text of a plain translation; a plural one holds numerusform children.
      QString text;
      while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters()) text += xml.text();
        if (xml.isStartElement() && xml.name() == u"numerusform")
          messages.back().translations << xml.readElementText();
        if (xml.isEndElement() && xml.name() == u"translation") break;
      }
      if (messages.back().translations.isEmpty()) messages.back().translations << text;
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return messages;
}

QSet<QString> placeholders(const QString& text) {
  QSet<QString> found;
  static const QRegularExpression marker("%(\\d|n)");
  for (auto it = marker.globalMatch(text); it.hasNext();) found << it.next().captured();
  return found;
}

const QString kCommitted = VELMORIA_SOURCE_DIR "/translations/velmoria_en.ts";

class EnglishTranslation : public ::testing::Test {
 protected:
  // The committed file brought up to date with the sources, as scripts/update-translations
  // does it, in a temporary folder.
  std::vector<Message> refreshed() {
    const QString copy = temp.filePath("velmoria_en.ts");
    EXPECT_TRUE(QFile::copy(kCommitted, copy));
    QProcess lupdate;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUPDATE", VELMORIA_LUPDATE);
    lupdate.setProcessEnvironment(env);
    lupdate.start(VELMORIA_SOURCE_DIR "/scripts/update-translations", {copy});
    EXPECT_TRUE(lupdate.waitForFinished(120000));
    EXPECT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    return readTs(copy);
  }
  QTemporaryDir temp;
};

TEST_F(EnglishTranslation, every_source_text_has_a_finished_english_translation) {
  const std::vector<Message> messages = refreshed();
  ASSERT_GT(messages.size(), 50u);
  QStringList missing;
  for (const Message& m : messages) {
    bool done = !m.unfinished;
    for (const QString& t : m.translations) done = done && !t.isEmpty();
    if (!done) missing << m.key();
  }
  EXPECT_TRUE(missing.isEmpty())
      << "texts without a finished English translation (run scripts/update-translations and "
         "translate them in translations/velmoria_en.ts):\n  "
      << missing.join("\n  ").toStdString();
}

TEST_F(EnglishTranslation, the_committed_file_holds_exactly_the_sources_texts) {
  QSet<QString> committed, sources;
  for (const Message& m : readTs(kCommitted)) committed << m.key();
  for (const Message& m : refreshed()) sources << m.key();
  const QSet<QString> added = sources - committed, gone = committed - sources;
  EXPECT_TRUE(added.isEmpty()) << "not yet in velmoria_en.ts (run scripts/update-translations):\n  "
                               << QStringList(added.values()).join("\n  ").toStdString();
  EXPECT_TRUE(gone.isEmpty()) << "in velmoria_en.ts but in no source any more:\n  "
                              << QStringList(gone.values()).join("\n  ").toStdString();
}

TEST_F(EnglishTranslation, keeps_every_placeholder_of_its_source) {
  QStringList wrong;
  for (const Message& m : readTs(kCommitted))
    for (const QString& t : m.translations)
      if (!t.isEmpty() && placeholders(t) != placeholders(m.source)) wrong << m.key() + " -> " + t;
  EXPECT_TRUE(wrong.isEmpty()) << wrong.join("\n").toStdString();
}

}  // namespace

#endif
