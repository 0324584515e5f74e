#include "frontend/records_window_qt.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <map>

#include "report/json_writer.h"

namespace velmoria {

namespace {
constexpr int kRunRole = Qt::UserRole + 1;  // the run's index in the listing, on run lines

QString score(double v) {
  return QString::fromStdString(report::formatNumber(v, 1));
}
}  // namespace

RecordsWindow::RecordsWindow() {
  setObjectName("RecordsWindow");
  setWindowTitle(tr("運転の記録"));
  resize(760, 480);
  auto* layout = new QVBoxLayout(this);
  m_where = new QLabel(this);
  m_where->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(m_where);
  m_list = new QTreeWidget(this);
  m_list->setObjectName("runs");
  m_list->setColumnCount(5);
  m_list->setHeaderLabels({tr("運転"), tr("得点"), tr("終点"), tr("停車・出来事"), tr("再生")});
  m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  // The scores and counts are short: as wide as they are, so the line's best is not cut off.
  for (int c = 1; c < 5; ++c)
    m_list->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  layout->addWidget(m_list, 1);
  m_skipped = new QLabel(this);
  m_skipped->setObjectName("skipped");
  m_skipped->setWordWrap(true);
  m_skipped->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(m_skipped);
  auto* buttons = new QHBoxLayout;
  m_keep = new QCheckBox(tr("運転の記録を残す"), this);
  m_keep->setObjectName("keep");
  m_keep->setChecked(historyEnabled());
  connect(m_keep, &QCheckBox::toggled, this, [](bool on) { setHistoryEnabled(on); });
  m_report = new QPushButton(tr("レポート"), this);
  m_report->setObjectName("report");
  m_replay1 = new QPushButton(tr("再生 1倍"), this);
  m_replay1->setObjectName("replay1");
  m_replay4 = new QPushButton(tr("再生 4倍"), this);
  m_replay4->setObjectName("replay4");
  auto* close = new QPushButton(tr("閉じる"), this);
  buttons->addWidget(m_keep);
  buttons->addStretch();
  for (auto* b : {m_report, m_replay1, m_replay4, close}) buttons->addWidget(b);
  layout->addLayout(buttons);
  connect(m_report, &QPushButton::clicked, this, [this] {
    if (const StoredRun* run = selected(); run && onReport) onReport(*run);
  });
  connect(m_replay1, &QPushButton::clicked, this, [this] {
    if (const StoredRun* run = selected(); run && onReplay) onReplay(*run, 1);
  });
  connect(m_replay4, &QPushButton::clicked, this, [this] {
    if (const StoredRun* run = selected(); run && onReplay) onReplay(*run, 4);
  });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(m_list, &QTreeWidget::itemSelectionChanged, this, &RecordsWindow::updateButtons);
  connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (const StoredRun* run = selected(); run && onReport) onReport(*run);
  });
  updateButtons();
}

void RecordsWindow::reload(const std::optional<std::filesystem::path>& runs) {
  m_keep->setChecked(historyEnabled());
  m_list->clear();
  m_history = runs ? readHistory(*runs) : HistoryListing{};
  m_where->setText(runs ? tr("記録の保存先: %1").arg(QString::fromStdString(runs->string()))
                        : tr("運転の記録を保存するフォルダがありません: XDG_DATA_HOME も HOME も"
                             "設定されていません。"));
  // One line per vehicle and route with its best run to the terminus; its runs beneath.
  std::map<std::pair<std::string, std::string>, QTreeWidgetItem*> groups;
  for (size_t i = 0; i < m_history.runs.size(); ++i) {
    const StoredRun& run = m_history.runs[i];
    const auto key = std::make_pair(run.report.vehicle, run.report.route);
    QTreeWidgetItem*& group = groups[key];
    if (!group) {
      group = new QTreeWidgetItem(m_list);
      const StoredRun* best = bestRun(m_history, key.first, key.second);
      group->setText(
          0, QString::fromStdString(run.report.line + "  (" + key.first + ", " + key.second + ")"));
      group->setText(
          1, best ? tr("最高 %1").arg(score(best->report.score)) : tr("終点までの運転なし"));
      group->setExpanded(true);
    }
    auto* item = new QTreeWidgetItem(group);
    item->setData(0, kRunRole, static_cast<qulonglong>(i));
    const QString when = run.stored.date.empty()
                             ? QString::fromStdString(run.folder.filename().string())
                             : QString::fromStdString(run.stored.date);
    item->setText(0, when);
    item->setText(1, score(run.report.score));
    item->setText(2, run.report.terminus ? tr("到着") : QString("-"));
    item->setText(3,
                  QString("%1, %2").arg(run.report.stations.size()).arg(run.report.events.size()));
    item->setText(4, !run.hasRecord                                       ? tr("記録なし")
                     : run.stored.replayExact && !*run.stored.replayExact ? tr("近似")
                                                                          : tr("完全"));
  }
  m_skipped->setText(m_history.skipped.isEmpty()
                         ? QString()
                         : tr("記録フォルダで読み飛ばしたもの（そのまま残しています）:") + "\n" +
                               m_history.skipped.join("\n"));
  m_skipped->setVisible(!m_history.skipped.isEmpty());
  updateButtons();
}

const StoredRun* RecordsWindow::selected() const {
  const auto items = m_list->selectedItems();
  if (items.isEmpty()) return nullptr;
  const QVariant v = items.front()->data(0, kRunRole);
  if (!v.isValid()) return nullptr;
  const auto i = static_cast<size_t>(v.toULongLong());
  return i < m_history.runs.size() ? &m_history.runs[i] : nullptr;
}

void RecordsWindow::select(size_t run) {
  for (int g = 0; g < m_list->topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = m_list->topLevelItem(g);
    for (int c = 0; c < group->childCount(); ++c)
      if (group->child(c)->data(0, kRunRole).toULongLong() == run) {
        m_list->setCurrentItem(group->child(c));
        return;
      }
  }
}

void RecordsWindow::updateButtons() {
  const StoredRun* run = selected();
  m_report->setEnabled(run != nullptr);
  m_replay1->setEnabled(run && run->hasRecord);
  m_replay4->setEnabled(run && run->hasRecord);
}

}  // namespace velmoria
