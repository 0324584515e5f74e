#include "frontend/line_start_qt.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstdio>

namespace velmoria {

namespace fs = std::filesystem;

LineStart::LineStart(LineStartOptions options, const ShellHooks& hooks)
    : m_options(std::move(options)), m_hooks(hooks) {}

LineStart::~LineStart() = default;

void LineStart::begin() {
  const StartChoice choice =
      chooseStart(m_options.data, m_options.current, findLines(lineFolders(m_options.environment)));
  switch (choice.kind) {
    case StartChoice::Kind::Open:
      ready(choice.folder);
      return;
    case StartChoice::Kind::OfferDemo:
      offerDemo(choice.folder);
      return;
    case StartChoice::Kind::Choose: {
      std::vector<LineSummary> lines;
      for (const auto& line : choice.lines) lines.push_back(describeLine(line));
      m_chooser = std::make_unique<LineChooser>(std::move(lines), m_hooks);
      m_chooser->onChosen = [this](const fs::path& folder) { ready(folder); };
      m_chooser->onQuit = [this] {
        if (onQuit) onQuit();
      };
      // Centred: without a window manager nobody else would place it.
      m_chooser->adjustSize();
      if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_chooser->move(screen->availableGeometry().center() - m_chooser->rect().center());
      m_chooser->show();
      return;
    }
  }
}

void LineStart::offerDemo(const fs::path& current) {
  const fs::path lines = userLineFolder(m_options.environment);
  if (m_options.generator.program.isEmpty() || lines.empty()) {
    withoutLine(current);
    return;
  }
  const QString question =
      tr("路線データが見つかりません。\n"
         "デモ路線を生成して %1 に保存しますか？\n"
         "（約160 MB、数分かかります）")
          .arg(QString::fromStdString((lines / DemoGeneration::kLineName).string()));
  if (!m_hooks.ask || !m_hooks.ask(nullptr, question)) {
    withoutLine(current);
    return;
  }
  m_generation = std::make_unique<DemoGeneration>(m_options.generator, lines);
  connect(m_generation.get(), &DemoGeneration::finished, this,
          [this](const fs::path& line) { ready(line); });
  connect(m_generation.get(), &DemoGeneration::failed, this, [this, current](const QString& why) {
    if (m_hooks.message)
      m_hooks.message(nullptr, tr("デモ路線を生成できませんでした。\n%1").arg(why));
    withoutLine(current);
  });
  connect(m_generation.get(), &DemoGeneration::cancelled, this,
          [this, current] { withoutLine(current); });
  m_generation->start();
}

void LineStart::withoutLine(const fs::path& current) {
  std::fprintf(stderr, "velmoria: no line installed in");
  for (const auto& folder : lineFolders(m_options.environment))
    std::fprintf(stderr, " %s", folder.string().c_str());
  std::fprintf(stderr, "\n");
  ready(current);
}

void LineStart::ready(const fs::path& folder) {
  // The chooser and the generation may be what called: they stay (hidden, done) as long as
  // this object.
  if (onReady) onReady(folder);
}

}  // namespace velmoria
