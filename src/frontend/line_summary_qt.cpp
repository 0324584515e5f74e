#include "frontend/line_summary_qt.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocumentFragment>

#include "frame/data_folder.h"
#include "frame/file_bytes.h"
#include "frame/line_search.h"
#include "frame/text.h"
#include "frontend/title_window_qt.h"
#include "media/qt/qt_image_loader.h"

namespace velmoria {

namespace {

// A read-me page is a few kilobytes; one far larger is not read for a name.
constexpr uintmax_t kLongestReadme = 1 << 20;

QString decodeText(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  if (!utf8.hasError()) return text;
  return QString::fromStdString(decodeCp932(bytes));
}

QString elementText(const QString& html, const QString& tag) {
  const QRegularExpression element(
      QString("<%1(\\s[^>]*)?>(.*?)</%1\\s*>").arg(tag),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  const auto match = element.match(html);
  if (!match.hasMatch()) return {};
  return QTextDocumentFragment::fromHtml(match.captured(2)).toPlainText().simplified();
}

}  // namespace

QString readmeLineName(const std::filesystem::path& readme) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(readme, ec);
  if (ec || size > kLongestReadme) return {};
  const auto bytes = readFileBytes(readme);
  if (!bytes) return {};
  const QString html = decodeText(*bytes);
  QString name = elementText(html, "h1");
  if (name.isEmpty()) name = elementText(html, "title");
  return name;
}

LineSummary describeLine(const std::filesystem::path& folder) {
  const DataFolder data(folder);
  LineSummary line;
  line.folder = folder;
  line.name = readmeLineName(data.resolve("readme.html"));
  if (line.name.isEmpty()) line.name = QString::fromStdString(folder.filename().string());
  line.picture = QtImageLoader::readImage(data.resolve("image\\title\\01.jpg"));
  for (size_t i = 0; i < kRuns.size(); ++i) {
    const RunChoice& choice = kRuns[i];
    const auto route = data.resolve(choice.route);
    if (!isRegularFile(data.resolve(choice.vehicle)) || !isRegularFile(route)) continue;
    RunSummary run;
    run.run = static_cast<int>(i) + 1;
    const auto name = routeLineName(route);
    run.name = QString::fromStdString(name && !name->empty() ? *name : std::string(choice.route));
    line.runs.push_back(run);
  }
  return line;
}

}  // namespace velmoria
