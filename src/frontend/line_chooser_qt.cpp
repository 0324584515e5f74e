#include "frontend/line_chooser_qt.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "frame/line_search.h"

namespace velmoria {

namespace {

// A line without a title picture still gets a picture of the right shape.
QPixmap pictureOf(const LineSummary& line, QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(QColor(40, 44, 52));
  QPainter painter(&pixmap);
  if (!line.picture.isNull()) {
    const QImage scaled = line.picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawImage((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2,
                      scaled);
  } else {
    painter.setPen(QColor(150, 156, 168));
    painter.drawText(pixmap.rect(), Qt::AlignCenter,
                     QCoreApplication::translate("velmoria::LineChooser", "画像なし"));
  }
  return pixmap;
}

// Rich text, so that the run numbers stand in a column; the names are the data's own text.
QString runsText(const LineSummary& line) {
  if (line.runs.empty())
    return QCoreApplication::translate("velmoria::LineChooser",
                                       "運転できる車両・路線ファイルがありません");
  const int runs = static_cast<int>(line.runs.size());
  QString text = QCoreApplication::translate("velmoria::LineChooser", "運転 %n本", "", runs) +
                 "<table cellspacing=\"0\" cellpadding=\"1\">";
  for (const RunSummary& run : line.runs)
    text += QString("<tr><td align=\"right\">%1&nbsp;&nbsp;</td><td>%2</td></tr>")
                .arg(run.run)
                .arg(run.name.toHtmlEscaped());
  return text + "</table>";
}

}  // namespace

LineChooser::LineChooser(std::vector<LineSummary> lines, const ShellHooks& hooks)
    : QWidget(nullptr), m_lines(std::move(lines)), m_hooks(hooks) {
  setObjectName("LineChooser");
  setWindowTitle(tr("Velmoria 路線の選択"));
  pickFolder = [](QWidget* parent) {
    const QString folder =
        QFileDialog::getExistingDirectory(parent, tr("路線のフォルダを開く"), QDir::homePath());
    return std::filesystem::path(folder.toStdString());
  };

  m_list = new QListWidget(this);
  m_list->setObjectName("lines");
  m_list->setIconSize(kIconSize);
  m_list->setMinimumWidth(280);
  for (const LineSummary& line : m_lines)
    m_list->addItem(new QListWidgetItem(QIcon(pictureOf(line, kIconSize)), line.name));

  m_picture = new QLabel(this);
  m_picture->setObjectName("picture");
  m_picture->setFixedSize(kPictureSize);
  m_name = new QLabel(this);
  m_name->setObjectName("name");
  QFont big = m_name->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  m_name->setFont(big);
  m_name->setWordWrap(true);
  m_folder = new QLabel(this);
  m_folder->setObjectName("folder");
  m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_folder->setWordWrap(true);
  QPalette grey = m_folder->palette();
  grey.setColor(QPalette::WindowText, grey.color(QPalette::PlaceholderText));
  m_folder->setPalette(grey);
  m_runs = new QLabel(this);
  m_runs->setObjectName("runs");
  m_runs->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_runs->setTextFormat(Qt::RichText);
  m_runs->setWordWrap(true);

  auto* details = new QVBoxLayout;
  details->addWidget(m_picture);
  details->addWidget(m_name);
  details->addWidget(m_folder);
  details->addWidget(m_runs, 1);
  auto* panes = new QHBoxLayout;
  panes->addWidget(m_list, 1);
  panes->addLayout(details);

  m_openFolder = new QPushButton(tr("フォルダを開く..."), this);
  m_quit = new QPushButton(tr("終了"), this);
  m_open = new QPushButton(tr("この路線を開く"), this);
  m_open->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_openFolder);
  buttons->addStretch(1);
  buttons->addWidget(m_quit);
  buttons->addWidget(m_open);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(panes, 1);
  layout->addLayout(buttons);

  connect(m_list, &QListWidget::currentRowChanged, this, &LineChooser::showLine);
  connect(m_list, &QListWidget::itemActivated, this, [this] { openSelected(); });
  connect(m_open, &QPushButton::clicked, this, &LineChooser::openSelected);
  connect(m_openFolder, &QPushButton::clicked, this, &LineChooser::openFolder);
  connect(m_quit, &QPushButton::clicked, this, &QWidget::close);
  if (!m_lines.empty()) m_list->setCurrentRow(0);
  m_list->setFocus();
}

void LineChooser::showLine(int row) {
  m_open->setEnabled(row >= 0 && row < static_cast<int>(m_lines.size()));
  if (!m_open->isEnabled()) return;
  const LineSummary& line = m_lines[static_cast<size_t>(row)];
  m_picture->setPixmap(pictureOf(line, kPictureSize));
  m_name->setText(line.name);
  m_folder->setText(QString::fromStdString(line.folder.string()));
  m_runs->setText(runsText(line));
}

void LineChooser::openSelected() {
  const int row = m_list->currentRow();
  if (row < 0 || row >= static_cast<int>(m_lines.size())) return;
  choose(m_lines[static_cast<size_t>(row)].folder);
}

void LineChooser::openFolder() {
  if (!pickFolder) return;
  const std::filesystem::path folder = pickFolder(this);
  if (folder.empty()) return;
  if (!isLine(folder)) {
    m_hooks.message(this, tr("%1 には korvelan.dat がありません。路線のフォルダを選んでください。")
                              .arg(QString::fromStdString(folder.string())));
    return;
  }
  choose(folder);
}

void LineChooser::choose(const std::filesystem::path& folder) {
  m_chosen = true;
  hide();
  if (onChosen) onChosen(folder);
}

void LineChooser::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (!m_chosen && onQuit) onQuit();
}

}  // namespace velmoria
