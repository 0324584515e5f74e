#pragma once
// The line chooser: shown before the title window when more than one line is installed. A list
// of the lines (title picture and name), the chosen line's picture, name, folder and runs, and
// "フォルダを開く..." for a line kept anywhere else. Choosing hands the folder to `onChosen`;
// closing the window without a choice ends the program (`onQuit`). UI thread.
#include <QWidget>
#include <filesystem>
#include <functional>
#include <vector>

#include "frontend/line_summary_qt.h"
#include "frontend/shell_hooks_qt.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace velmoria {

class LineChooser : public QWidget {
  Q_OBJECT
 public:
  static constexpr QSize kPictureSize{320, 240};
  static constexpr QSize kIconSize{96, 72};

  LineChooser(std::vector<LineSummary> lines, const ShellHooks& hooks);

  void openSelected();  // the line selected in the list
  void openFolder();    // asks for a folder; one without korvelan.dat is refused with a message

  // The folder dialog; an empty path when the driver cancels. Tests replace it.
  std::function<std::filesystem::path(QWidget* parent)> pickFolder;
  std::function<void(const std::filesystem::path& folder)> onChosen;
  std::function<void()> onQuit;

  QListWidget* list() const { return m_list; }
  QLabel* picture() const { return m_picture; }
  QLabel* nameLabel() const { return m_name; }
  QLabel* folderLabel() const { return m_folder; }
  QLabel* runsLabel() const { return m_runs; }
  QPushButton* openButton() const { return m_open; }
  QPushButton* folderButton() const { return m_openFolder; }
  QPushButton* quitButton() const { return m_quit; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void showLine(int row);
  void choose(const std::filesystem::path& folder);

  std::vector<LineSummary> m_lines;
  const ShellHooks& m_hooks;
  QListWidget* m_list = nullptr;
  QLabel *m_picture = nullptr, *m_name = nullptr, *m_folder = nullptr, *m_runs = nullptr;
  QPushButton *m_open = nullptr, *m_openFolder = nullptr, *m_quit = nullptr;
  bool m_chosen = false;
};

}  // namespace velmoria
