#pragma once
// Which line the desktop program opens, decided before its title window exists: the folder of
// --data, the current folder when it holds korvelan.dat, the one line installed, the line the
// driver picks in the chooser when there are several, or, on a first start with none, the demo
// line generated into the user's lines folder if the driver wants it. `onReady` receives the
// folder whose title window opens; declining everything hands over the current folder, whose
// title window then says that the data are missing and ends, as the program always did.
// Nothing is written anywhere but the user's lines folder. UI thread.
#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "frame/line_search.h"
#include "frontend/demo_generation_qt.h"
#include "frontend/line_chooser_qt.h"
#include "frontend/shell_hooks_qt.h"

namespace velmoria {

struct LineStartOptions {
  std::optional<std::filesystem::path> data;  // --data DIR
  std::filesystem::path current;              // the working folder
  EnvironmentLookup environment = processEnvironment();
  GeneratorCommand generator;  // program empty: no demo offer
};

class LineStart : public QObject {
  Q_OBJECT
 public:
  LineStart(LineStartOptions options, const ShellHooks& hooks);
  ~LineStart() override;

  void begin();

  std::function<void(const std::filesystem::path& folder)> onReady;
  std::function<void()> onQuit;  // the chooser closed without a line

  LineChooser* chooser() const { return m_chooser.get(); }
  DemoGeneration* generation() const { return m_generation.get(); }

 private:
  void offerDemo(const std::filesystem::path& current);
  void withoutLine(const std::filesystem::path& current);
  void ready(const std::filesystem::path& folder);

  LineStartOptions m_options;
  const ShellHooks& m_hooks;
  std::unique_ptr<LineChooser> m_chooser;
  std::unique_ptr<DemoGeneration> m_generation;
};

}  // namespace velmoria
