#pragma once
// The Records window, opened from the title window: the run history by vehicle and route with
// the best score of each, every stored run under it (when, score, terminus, whether its
// record replays it exactly), its report, a replay at 1x or 4x in the cab window, the switch
// that keeps the history, and a line for each entry of the history folder that was skipped.
// UI thread.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

#include "frontend/run_history_qt.h"

namespace velmoria {

class RecordsWindow : public QWidget {
  Q_OBJECT
 public:
  RecordsWindow();
  // Reads the history folder again (none: the environment names no folder).
  void reload(const std::optional<std::filesystem::path>& runs);

  std::function<void(const StoredRun&)> onReport;
  std::function<void(const StoredRun&, int speed)> onReplay;

  QTreeWidget* list() const { return m_list; }
  QCheckBox* keep() const { return m_keep; }
  QLabel* skipped() const { return m_skipped; }
  const HistoryListing& history() const { return m_history; }
  // The run of the selected line, if a run is selected.
  const StoredRun* selected() const;
  void select(size_t run);

 private:
  void updateButtons();

  HistoryListing m_history;
  QTreeWidget* m_list = nullptr;
  QCheckBox* m_keep = nullptr;
  QLabel* m_skipped = nullptr;
  QLabel* m_where = nullptr;
  QPushButton *m_report = nullptr, *m_replay1 = nullptr, *m_replay4 = nullptr;
};

}  // namespace velmoria
