#include "frontend/route_editor_qt.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoCommand>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>

#include "frame/data_values.h"
#include "frame/section_walker.h"
#include "frame/startup_error.h"
#include "frame/strings_reader.h"
#include "frontend/core_texts_qt.h"
#include "frontend/run_history_qt.h"
#include "frontend/title_window_qt.h"
#include "route_edit/edit_texts.h"
#include "route_writer/route_writer.h"
#include "run/track_video.h"

namespace velmoria {

using edit::FieldKind;
using edit::Table;

// The video picture of the current frame, decoded when the frame changes (an editor steps one
// frame at a time, so the UI thread decodes it itself). The wheel over it steps frames.
class EditorVideo : public QWidget {
 public:
  explicit EditorVideo(QWidget* parent) : QWidget(parent) {
    setObjectName("EditorVideo");
    setMinimumSize(480, 240);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Focused, it leaves the arrow keys to the window's frame stepping.
    setFocusPolicy(Qt::StrongFocus);
  }
  std::function<void(int)> onStep;

  void setSource(std::unique_ptr<VideoSource> source) {
    m_source = std::move(source);
    m_shown = -1;
    m_picture = QImage();
    update();
  }
  int frameCount() const { return m_source ? m_source->frameCount() : -1; }
  void show(int index) {
    if (!m_source || index == m_shown) return;
    if (!m_source->decode(index, m_frame)) {
      m_shown = -1;
      m_picture = QImage();
    } else {
      QImage image(m_frame.width, m_frame.height, QImage::Format_RGB32);
      for (int y = 0; y < m_frame.height; ++y)
        std::memcpy(image.scanLine(y),
                    m_frame.pixels.data() + static_cast<size_t>(y) * m_frame.width,
                    static_cast<size_t>(m_frame.width) * 4);
      m_picture = image;
      m_shown = index;
    }
    update();
  }
  int shown() const { return m_shown; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (m_picture.isNull()) {
      p.setPen(Qt::white);
      p.drawText(rect(), Qt::AlignCenter,
                 m_source ? RouteEditor::tr("このフレームの画像はありません")
                          : RouteEditor::tr("映像がありません"));
      return;
    }
    // Kept in proportion, centred.
    QSize size = m_picture.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    p.drawImage(target, m_picture);
  }
  void wheelEvent(QWheelEvent* e) override {
    const int notches = e->angleDelta().y() / 120;
    if (notches && onStep) onStep((e->modifiers() & Qt::ShiftModifier ? 10 : 1) * -notches);
    e->accept();
  }

 private:
  std::unique_ptr<VideoSource> m_source;
  VideoFrame m_frame;
  QImage m_picture;
  int m_shown = -1;
};

// One edit on the undo stack. The document has made it already; redo after undo makes it again.
class EntryCommand : public QUndoCommand {
 public:
  EntryCommand(RouteEditor& editor, edit::Edit edit)
      : QUndoCommand(RouteEditor::undoText(edit)), m_editor(editor), m_edit(std::move(edit)) {}
  void redo() override {
    m_editor.m_doc.apply(m_edit, true);
    m_editor.refresh(m_edit.table, m_edit.index);
  }
  void undo() override {
    m_editor.m_doc.apply(m_edit, false);
    m_editor.refresh(m_edit.table, std::nullopt);
  }

 private:
  RouteEditor& m_editor;
  edit::Edit m_edit;
};

namespace {

// A marked text of the editor's core (route_edit/edit_texts.h) in the reader's language.
QString editText(const char* context, const char* text) {
  return QCoreApplication::translate(context, text);
}

QString valueText(const edit::Value& v, FieldKind kind) {
  if (const auto* s = std::get_if<std::string>(&v)) return QString::fromStdString(*s);
  if (const auto* f = std::get_if<Fixed>(&v)) {
    const int64_t raw = f->raw;
    const uint64_t mag = raw < 0 ? uint64_t(0) - static_cast<uint64_t>(raw) : uint64_t(raw);
    QString frac = QString::number(mag % Fixed::kScale).rightJustified(4, '0');
    while (frac.size() > 1 && frac.endsWith('0')) frac.chop(1);
    return (raw < 0 ? "-" : "") + QString::number(mag / Fixed::kScale) + "." + frac;
  }
  const int32_t n = std::get<int32_t>(v);
  if (kind == FieldKind::Time) return QString::fromStdString(edit::timeText(n));
  return QString::number(n);
}

std::optional<edit::Value> parseValue(const QString& text, FieldKind kind) {
  const std::string s = text.trimmed().toStdString();
  switch (kind) {
    case FieldKind::Text:
      return edit::Value(text.toStdString());
    case FieldKind::Gradient:
      if (const auto f = parseFixed(s)) return edit::Value(*f);
      return std::nullopt;
    case FieldKind::Time:
      if (const auto t = edit::parseTime(s)) return edit::Value(*t);
      return std::nullopt;
    case FieldKind::Number:
    case FieldKind::Frame:
      break;
  }
  if (const auto n = parseInt32(s)) return edit::Value(*n);
  return std::nullopt;
}

}  // namespace

RouteEditor::RouteEditor(std::filesystem::path folder, const ShellHooks& hooks,
                         std::function<std::unique_ptr<VideoSource>()> makeVideo, QWidget* parent)
    : QMainWindow(parent),
      m_folder(std::move(folder)),
      m_hooks(hooks),
      m_makeVideo(std::move(makeVideo)) {
  setObjectName("RouteEditor");
  setAttribute(Qt::WA_DeleteOnClose, false);
  buildWidgets();
  connect(&m_undo, &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
  updateTitle();
}

RouteEditor::~RouteEditor() {
  if (m_drive) {
    m_drive->disconnect(this);
    m_drive->kill();
    m_drive->waitForFinished(2000);
  }
  if (!m_driveRoute.empty()) {
    std::error_code ec;
    std::filesystem::remove(m_driveRoute, ec);
  }
}

void RouteEditor::buildWidgets() {
  auto* central = new QWidget(this);
  auto* left = new QVBoxLayout;
  m_video = new EditorVideo(central);
  m_video->onStep = [this](int n) { setFrame(m_frame + n); };
  left->addWidget(m_video, 1);

  auto* stepRow = new QHBoxLayout;
  m_slider = new QSlider(Qt::Horizontal, central);
  m_slider->setObjectName("FrameSlider");
  m_slider->setFocusPolicy(Qt::NoFocus);
  connect(m_slider, &QSlider::valueChanged, this, [this](int v) { setFrame(v); });
  m_frameBox = new QSpinBox(central);
  m_frameBox->setObjectName("FrameBox");
  m_frameBox->setKeyboardTracking(false);
  connect(m_frameBox, &QSpinBox::valueChanged, this, [this](int v) { setFrame(v); });
  m_position = new QLabel(central);
  stepRow->addWidget(new QLabel(tr("フレーム"), central));
  stepRow->addWidget(m_frameBox);
  stepRow->addWidget(m_slider, 1);
  stepRow->addWidget(m_position);
  left->addLayout(stepRow);

  m_timeline = new RouteTimeline(m_doc, central);
  connect(m_timeline, &RouteTimeline::frameClicked, this, [this](int f) { setFrame(f); });
  connect(m_timeline, &RouteTimeline::frameStepped, this, [this](int n) { setFrame(m_frame + n); });
  connect(m_timeline, &RouteTimeline::entryClicked, this, [this](EntryRef e) {
    setTable(e.table);
    selectEntry(e.index);
  });
  connect(m_timeline, &RouteTimeline::entryDropped, this, [this](EntryRef e, int anchor) {
    if (const auto edit = m_doc.move(e.table, e.index, anchor)) push(*edit);
  });
  left->addWidget(m_timeline);

  // The entries of one table and the form of the selected one.
  auto* right = new QVBoxLayout;
  m_tableBox = new QComboBox(central);
  m_tableBox->setObjectName("TableBox");
  for (Table t : edit::kTables)
    m_tableBox->addItem(editText(edit::kTableNames, edit::tableInfo(t).label));
  connect(m_tableBox, &QComboBox::currentIndexChanged, this,
          [this](int i) { setTable(edit::kTables[static_cast<size_t>(std::max(0, i))]); });
  right->addWidget(m_tableBox);
  m_list = new QListWidget(central);
  m_list->setObjectName("EntryList");
  connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
    if (m_filling) return;
    selectEntry(row < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(row)));
    if (m_selected) setFrame(m_doc.anchorFrame(m_table, *m_selected));
  });
  right->addWidget(m_list, 1);
  auto* buttons = new QHBoxLayout;
  const auto button = [&](const char* name, const QString& text, void (RouteEditor::*slot)()) {
    auto* b = new QPushButton(text, central);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, slot);
    buttons->addWidget(b);
    return b;
  };
  button("AddEntry", tr("ここに追加"), &RouteEditor::addEntry);
  button("MoveEntry", tr("ここへ移動"), &RouteEditor::moveEntry);
  button("DeleteEntry", tr("削除"), &RouteEditor::deleteEntry);
  right->addLayout(buttons);
  m_formArea = new QWidget(central);
  m_form = new QFormLayout(m_formArea);
  m_form->setContentsMargins(0, 0, 0, 0);
  m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  right->addWidget(m_formArea);
  m_driveText = new QPlainTextEdit(central);
  m_driveText->setObjectName("DriveResult");
  m_driveText->setReadOnly(true);
  m_driveText->setPlaceholderText(tr("試運転: 自動運転が今の路線を走ります。"));
  m_driveText->setMaximumHeight(130);
  right->addWidget(m_driveText);

  auto* rightWidget = new QWidget(central);
  rightWidget->setLayout(right);
  rightWidget->setMinimumWidth(330);
  auto* leftWidget = new QWidget(central);
  leftWidget->setLayout(left);
  auto* split = new QSplitter(central);
  split->addWidget(leftWidget);
  split->addWidget(rightWidget);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  auto* all = new QHBoxLayout(central);
  all->setContentsMargins(4, 4, 4, 4);
  all->addWidget(split);
  setCentralWidget(central);

  QToolBar* bar = addToolBar(tr("路線"));
  bar->setObjectName("EditorToolBar");
  QAction* saveAction = bar->addAction(tr("保存"), this, [this] { save(); });
  saveAction->setObjectName("SaveAction");
  saveAction->setShortcut(QKeySequence::Save);
  QAction* undo = m_undo.createUndoAction(this, tr("元に戻す"));
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = m_undo.createRedoAction(this, tr("やり直す"));
  redo->setShortcut(QKeySequence::Redo);
  bar->addAction(undo);
  bar->addAction(redo);
  bar->addSeparator();
  bar->addWidget(new QLabel(" " + tr("車両") + " ", bar));
  m_vehicleBox = new QComboBox(bar);
  m_vehicleBox->setObjectName("VehicleBox");
  bar->addWidget(m_vehicleBox);
  m_driveButton = new QPushButton(tr("試運転"), bar);
  m_driveButton->setObjectName("TestDrive");
  m_driveButton->setFocusPolicy(Qt::NoFocus);
  connect(m_driveButton, &QPushButton::clicked, this, [this] { startTestDrive(); });
  bar->addWidget(m_driveButton);
  statusBar();
  resize(1180, 720);
}

bool RouteEditor::open(const std::string& routeFile) {
  Route route;
  std::filesystem::path videoFile;
  try {
    route = edit::readRouteForEditing(m_folder, routeFile);
    ReaderContext context;
    const Strings strings = readStringsFile(DataFolder(m_folder), kStringsFileName, context);
    videoFile = trackVideoFile(DataFolder(m_folder), strings.Path + route.DataName + ".avi");
  } catch (const StartupError& e) {
    m_hooks.message(this, QString::fromUtf8(e.what()));
    return false;
  }
  m_doc = edit::RouteDocument(std::move(route));
  m_routeFile = routeFile;
  m_routePath = DataFolder(m_folder).resolve(routeFile);
  m_undo.clear();

  auto video = m_makeVideo ? m_makeVideo() : nullptr;
  if (video && !video->open(videoFile)) video.reset();
  // Without a video the entries are still edited, over the frames the recording covers.
  int frames = video ? video->frameCount() : -1;
  if (frames <= 0) {
    frames = 1;
    for (const auto& s : m_doc.route().SpeedUnitTable) frames = std::max(frames, s.endFrame);
    statusBar()->showMessage(
        tr("映像がありません: %1").arg(QString::fromStdString(videoFile.string())));
  }
  m_video->setSource(std::move(video));
  m_frameCount = frames;
  m_slider->setRange(0, frames - 1);
  m_slider->setPageStep(300);
  m_frameBox->setRange(0, frames - 1);

  // The vehicles of the folder; the title window's own for this route first.
  m_vehicleBox->clear();
  QStringList vehicles;
  const auto routes = edit::routeFilesIn(m_folder);
  for (const QString& f : QDir(QString::fromStdString(m_folder.string()))
                              .entryList({"*.dat", "*.DAT"}, QDir::Files, QDir::Name)) {
    const std::string name = f.toStdString();
    if (f.startsWith("train", Qt::CaseInsensitive) &&
        std::find(routes.begin(), routes.end(), name) == routes.end())
      vehicles << f;
  }
  for (const RunChoice& run : kRuns) {
    for (const auto& [v, r] : {std::pair{run.vehicle, run.route}, {run.e233Vehicle, run.e233Route}})
      if (r && routeFile == r && vehicles.contains(v)) {
        vehicles.removeAll(v);
        vehicles.prepend(v);
      }
  }
  m_vehicleBox->addItems(vehicles);

  m_frame = -1;
  setFrame(std::clamp(m_doc.route().StartPos, 0, frames - 1));
  refresh(m_table, std::nullopt);
  updateTitle();
  return true;
}

void RouteEditor::updateTitle() {
  QString title = tr("Velmoria 路線エディタ");
  if (!m_routeFile.empty())
    title = QString::fromStdString(m_routeFile) + (m_undo.isClean() ? "" : " *") + " - " + title;
  setWindowTitle(title);
}

void RouteEditor::setFrame(int frame) {
  frame = std::clamp(frame, 0, std::max(0, m_frameCount - 1));
  if (frame == m_frame) return;
  m_frame = frame;
  m_video->show(frame);
  const QSignalBlocker a(m_slider), b(m_frameBox);
  m_slider->setValue(frame);
  m_frameBox->setValue(frame);
  m_timeline->setFrame(frame);
  const int s = frame / 30;
  m_position->setText(QString("%1 / %2  (%3:%4)")
                          .arg(frame)
                          .arg(m_frameCount - 1)
                          .arg(s / 60)
                          .arg(s % 60, 2, 10, QChar('0')));
}

int RouteEditor::shownFrame() const {
  return m_video->shown();
}

void RouteEditor::setTable(Table table) {
  if (table == m_table && m_list->count() == static_cast<int>(m_doc.count(table))) return;
  m_table = table;
  {
    const QSignalBlocker block(m_tableBox);
    m_tableBox->setCurrentIndex(static_cast<int>(table));
  }
  m_selected.reset();
  refresh(table, std::nullopt);
}

void RouteEditor::selectEntry(std::optional<size_t> index) {
  if (index && *index >= m_doc.count(m_table)) index.reset();
  m_selected = index;
  {
    m_filling = true;
    m_list->setCurrentRow(index ? static_cast<int>(*index) : -1);
    m_filling = false;
  }
  m_timeline->setSelection(index ? std::optional<EntryRef>(EntryRef{m_table, *index})
                                 : std::nullopt);
  fillForm();
}

void RouteEditor::refresh(Table table, std::optional<size_t> select) {
  if (table != m_table) {
    m_table = table;
    const QSignalBlocker block(m_tableBox);
    m_tableBox->setCurrentIndex(static_cast<int>(table));
  }
  fillList();
  selectEntry(select
                  ? select
                  : (m_selected && *m_selected < m_doc.count(table) ? m_selected : std::nullopt));
  m_timeline->update();
}

void RouteEditor::fillList() {
  m_filling = true;
  m_list->clear();
  const auto& info = edit::tableInfo(m_table);
  for (size_t i = 0; i < m_doc.count(m_table); ++i) {
    QString text = QString::number(m_doc.anchorFrame(m_table, i));
    if (info.end) text += "-" + QString::number(m_doc.endFrame(m_table, i));
    // The entry's first field says what it is (a name, a limit, a gradient, a sound); a
    // station also shows when it departs.
    if (info.anchor != 0) text += "  " + valueText(m_doc.value(m_table, i, 0), info.fields[0].kind);
    if (m_table == Table::Station)
      text += "  " +
              QString::fromStdString(edit::timeText(m_doc.route().StationTable[i].departureTime));
    if (m_table == Table::Announce && i == 0) text += "  " + tr("(停止位置行き過ぎ)");
    m_list->addItem(text);
  }
  m_filling = false;
}

void RouteEditor::fillForm() {
  const auto& info = edit::tableInfo(m_table);
  if (m_fields.size() != info.fields.size() ||
      m_formArea->property("table").toInt() != int(m_table)) {
    while (m_form->rowCount() > 0) m_form->removeRow(0);
    m_fields.clear();
    for (size_t f = 0; f < info.fields.size(); ++f) {
      auto* line = new QLineEdit(m_formArea);
      line->setObjectName(QString("Field_") + info.fields[f].name);
      connect(line, &QLineEdit::editingFinished, this, [this, f, line] {
        if (!m_filling && line->isModified()) setField(f, line->text());
      });
      m_form->addRow(editText(edit::kFieldNames, info.fields[f].label), line);
      m_fields.push_back(line);
    }
    m_formArea->setProperty("table", int(m_table));
  }
  m_filling = true;
  for (size_t f = 0; f < m_fields.size(); ++f) {
    m_fields[f]->setEnabled(m_selected.has_value());
    m_fields[f]->setText(m_selected
                             ? valueText(m_doc.value(m_table, *m_selected, f), info.fields[f].kind)
                             : QString());
    m_fields[f]->setModified(false);
  }
  m_filling = false;
}

QLineEdit* RouteEditor::fieldEdit(size_t field) const {
  return field < m_fields.size() ? m_fields[field] : nullptr;
}

void RouteEditor::push(const edit::Edit& edit) {
  m_undo.push(new EntryCommand(*this, edit));
}

void RouteEditor::addEntry() {
  push(m_doc.add(m_table, m_frame));
}

void RouteEditor::moveEntry() {
  if (!m_selected) return;
  if (const auto e = m_doc.move(m_table, *m_selected, m_frame)) push(*e);
}

void RouteEditor::deleteEntry() {
  if (!m_selected) return;
  if (const auto e = m_doc.remove(m_table, *m_selected)) push(*e);
}

bool RouteEditor::setField(size_t field, const QString& text) {
  const auto& info = edit::tableInfo(m_table);
  if (!m_selected || field >= info.fields.size()) return false;
  const auto value = parseValue(text, info.fields[field].kind);
  const QString fieldLabel = editText(edit::kFieldNames, info.fields[field].label);
  QString why;
  std::optional<edit::Edit> e;
  if (!value) {
    why = tr("%1: 「%2」はこの欄の値になりません").arg(fieldLabel, text);
  } else {
    std::string refusal;
    e = m_doc.setValue(m_table, *m_selected, field, *value, &refusal);
    if (!e) why = tr("%1: %2").arg(fieldLabel, editText(edit::kRefusals, refusal.c_str()));
  }
  if (!e) {
    statusBar()->showMessage(why, 8000);
    fillForm();  // back to the value held
    return false;
  }
  push(*e);
  return true;
}

bool RouteEditor::save() {
  if (m_routePath.empty()) return false;
  try {
    writeRouteFile(m_routePath, m_doc.route());
  } catch (const RouteWriteError& e) {
    m_hooks.message(this, tr("路線を保存できませんでした:") + "\n" + QString::fromUtf8(e.what()));
    return false;
  }
  m_undo.setClean();
  statusBar()->showMessage(
      tr("%1 に保存しました").arg(QString::fromStdString(m_routePath.string())), 5000);
  return true;
}

void RouteEditor::setVehicle(const QString& file) {
  const int i = m_vehicleBox->findText(file);
  if (i >= 0) m_vehicleBox->setCurrentIndex(i);
}

QString RouteEditor::driveProgram() {
  const QString env = qEnvironmentVariable("VELMORIA_DRIVE");
  if (!env.isEmpty()) return env;
  const QString dir = QCoreApplication::applicationDirPath();
  for (const QString& candidate : {dir + "/velmoria-drive", dir + "/../drive/velmoria-drive"})
    if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).canonicalFilePath();
  return QStandardPaths::findExecutable("velmoria-drive");
}

QString RouteEditor::undoText(const edit::Edit& e) {
  const auto& info = edit::tableInfo(e.table);
  const QString item = editText(edit::kItemNames, info.item);
  switch (e.action) {
    case edit::EditAction::Add:
      return tr("%1を追加").arg(item);
    case edit::EditAction::Delete:
      return tr("%1を削除").arg(item);
    case edit::EditAction::Move:
      return tr("%1を移動").arg(item);
    case edit::EditAction::Change:
      break;
  }
  const QString field = e.field < info.fields.size()
                            ? editText(edit::kFieldNames, info.fields[e.field].label)
                            : QString();
  return tr("%1の%2を変更").arg(item, field);
}

QString RouteEditor::describeDrive(const edit::DriveOutcome& o) {
  QStringList lines;
  if (!o.summaryRead) {
    lines
        << (o.exitCode >= 0
                ? tr("試運転は走りませんでした (velmoria-drive の終了コード %1)。").arg(o.exitCode)
                : tr("試運転は走りませんでした。"));
  } else {
    const long total = static_cast<long>(o.simulatedSeconds);
    const QString time = QString("%1:%2:%3")
                             .arg(total / 3600)
                             .arg(total / 60 % 60, 2, 10, QChar('0'))
                             .arg(total % 60, 2, 10, QChar('0'));
    lines << (o.terminus ? tr("終点に到着しました (模擬時間 %1)。")
                         : tr("終点に着きませんでした (模擬時間 %1)。"))
                 .arg(time);
    lines << tr("停車した駅: %1").arg(o.stationsStopped);
    for (const auto& stop : o.stops)
      lines << "  " + QString::fromStdString(stop.station) + "  " +
                   QString::asprintf("%+.2f m", stop.errorM);
    lines << tr("非常ブレーキ: %1、ATS動作: %2、速度超過: %3")
                 .arg(o.emergencyBrakes)
                 .arg(o.alarms)
                 .arg(o.overspeeds);
  }
  if (!o.message.empty()) lines << coreError(o.message);
  return lines.join('\n') + '\n';
}

bool RouteEditor::testDriveRunning() const {
  return m_drive && m_drive->state() != QProcess::NotRunning;
}

bool RouteEditor::startTestDrive() {
  if (testDriveRunning() || m_routePath.empty()) return false;
  const QString program = driveProgram();
  const QString vehicle = m_vehicleBox->currentText();
  const auto fail = [this](const QString& why) {
    m_driveText->setPlainText(why);
    return false;
  };
  if (program.isEmpty())
    return fail(tr("velmoria-drive が見つかりません (VELMORIA_DRIVE で指定できます)。"));
  if (vehicle.isEmpty()) return fail(tr("フォルダに車両ファイル (train*.dat) がありません。"));
  // The route as it stands, unsaved edits included, beside the route file so that its paths
  // resolve as the route's own; a hidden name keeps it out of the folder's route list.
  m_driveRoute = m_routePath.parent_path() / ("." + m_routePath.filename().string() + ".testdrive");
  m_driveReport = m_driveRoute;
  m_driveReport += ".json";
  try {
    writeRouteFile(m_driveRoute, m_doc.route());
  } catch (const RouteWriteError& e) {
    return fail(tr("試運転のための路線を書き込めません:") + "\n" + QString::fromUtf8(e.what()));
  }
  m_drive = new QProcess(this);
  m_drive->setProgram(program);
  m_drive->setArguments(
      {"--data", QString::fromStdString(m_folder.string()), "--vehicle", vehicle, "--route",
       QString::fromStdString(std::filesystem::relative(m_driveRoute, m_folder).generic_string()),
       "--autopilot", "--until-terminus", "--frames", QString::number(m_frameCount), "--report",
       QString::fromStdString(m_driveReport.string())});
  connect(m_drive, &QProcess::finished, this, &RouteEditor::driveEnded);
  connect(m_drive, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) driveEnded(-1, QProcess::CrashExit);
  });
  m_driveButton->setEnabled(false);
  m_driveText->setPlainText(tr("自動運転で走っています…"));
  m_drive->start();
  return true;
}

void RouteEditor::driveEnded(int exitCode, QProcess::ExitStatus status) {
  if (!m_drive) return;
  QProcess* drive = m_drive;
  m_drive = nullptr;
  const std::string out = drive->readAllStandardOutput().toStdString();
  std::string err = drive->readAllStandardError().toStdString();
  if (status == QProcess::CrashExit && err.empty())
    err = tr("velmoria-drive が終わりませんでした: %1").arg(drive->errorString()).toStdString();
  drive->deleteLater();
  std::error_code ec;
  std::filesystem::remove(m_driveRoute, ec);
  m_driveRoute.clear();
  m_lastDrive = edit::readDriveOutcome(out, err, status == QProcess::NormalExit ? exitCode : -1);
  m_driveText->setPlainText(describeDrive(*m_lastDrive));
  // The drive's run report, in the window a drive in the cab gets.
  QString why;
  if (std::filesystem::is_regular_file(m_driveReport, ec)) {
    if (const auto report = readReportFile(m_driveReport, &why)) {
      if (!m_report) m_report = std::make_unique<ReportWindow>();
      m_report->setReport(*report, {}, tr("編集中の路線の試運転 (自動運転)"));
      m_report->show();
      m_report->raise();
    } else {
      m_driveText->appendPlainText(tr("運転レポートを読み込めません: %1").arg(why));
    }
  }
  std::filesystem::remove(m_driveReport, ec);
  m_driveReport.clear();
  m_driveButton->setEnabled(true);
  Q_EMIT driveFinished();
}

void RouteEditor::keyPressEvent(QKeyEvent* e) {
  const int fast = e->modifiers() & Qt::ShiftModifier ? 10 : 1;
  switch (e->key()) {
    case Qt::Key_Right:
      setFrame(m_frame + fast);
      break;
    case Qt::Key_Left:
      setFrame(m_frame - fast);
      break;
    case Qt::Key_PageDown:
      setFrame(m_frame + 300);
      break;
    case Qt::Key_PageUp:
      setFrame(m_frame - 300);
      break;
    case Qt::Key_Home:
      setFrame(0);
      break;
    case Qt::Key_End:
      setFrame(m_frameCount - 1);
      break;
    case Qt::Key_Insert:
      addEntry();
      break;
    case Qt::Key_Delete:
      deleteEntry();
      break;
    default:
      QMainWindow::keyPressEvent(e);
      return;
  }
  e->accept();
}

void RouteEditor::closeEvent(QCloseEvent* e) {
  if (!m_undo.isClean() && confirmDiscard && !confirmDiscard()) {
    e->ignore();
    return;
  }
  QMainWindow::closeEvent(e);
  Q_EMIT closed();
}

}  // namespace velmoria
