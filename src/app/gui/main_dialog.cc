// The main window and its commands.
#include "app/gui/main_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <stdexcept>

#include "app/gui/artwork.h"
#include "app/gui/folder_tree.h"
#include "app/gui/message_list_model.h"
#include "app/gui/safe_preview.h"
#include "app/gui/save_worker_window.h"
#include "app/gui/ticked_folders.h"
#include "app/gui/window_bridge.h"
#include "export/body_file.h"
#include "app/ui/folder_flow.h"
#include "app/ui/item_preview.h"
#include "app/ui/list_columns.h"
#include "app/ui/status_pages.h"
#include "base/text_encoding.h"

// The compiled-in status-page images (a resource of a static library).
static void LoadStatusImages() { Q_INIT_RESOURCE(edbrecover_gui); }

namespace edbgui {
namespace {

std::atomic<int> off_thread_widget_calls{0};

void CheckUiThread() {
  if (QThread::currentThread() != qApp->thread()) ++off_thread_widget_calls;
}

QString Q(const std::u16string& text) { return QString::fromStdU16String(text); }

constexpr const char* kTitle = "Zendrask Zendrask Exchange Recovery";
constexpr const char* kMessageCaption = "Zendrask Systems Exchange Recovery";
constexpr const char* kStopCaption = "Zendrask EDB to MSG Converter";
constexpr const char* kStatusPageFile = "status.html";

// The dialog's design size in pixels (593 × 375 dialog units at the
// dialog's font) and where each control sits in it.
constexpr int kDesignWidth = 890;
constexpr int kDesignHeight = 610;

struct Placement {
  int id;
  QRect rect;
};

// Anchors of the controls the layout moves, in registration order.
struct Anchored {
  int id;
  uint32_t anchors;
};
constexpr Anchored kAnchoredControls[] = {
    {1004, 0xD0}, {1010, 0xD0}, {1003, 0x70}, {1009, 0xE0}, {1025, 0xA0}, {1000, 0xD0}, {1001, 0x90},
    {1002, 0x90}, {1007, 0x90}, {1022, 0x90}, {1016, 0xD0}, {1018, 0xD0}, {1017, 0xD0},
};

QString IdName(int id) { return QString::number(id); }

}  // namespace

int OffThreadWidgetCalls() { return off_thread_widget_calls.load(); }

// Damage met while reading goes to standard error, one line each.
class MainDialog::CorruptionLog : public edb::CorruptionReporter {
 public:
  void Corruption(std::string_view where, std::string_view reason) override {
    std::lock_guard lock(mutex_);
    std::fprintf(stderr, "edbrecover-gui: %.*s: %.*s\n", static_cast<int>(where.size()), where.data(),
                 static_cast<int>(reason.size()), reason.data());
  }

 private:
  std::mutex mutex_;
};

MainDialog::MainDialog(QWidget* parent)
    : QMainWindow(parent),
      corruption_(std::make_unique<CorruptionLog>()),
      temp_(std::make_unique<edb::PrivateTempFolder>()),
      temp_path_(temp_->path()),
      preview_path_(temp_->path() / "preview"),
      startup_directory_(QDir::currentPath()) {
  std::filesystem::create_directory(preview_path_);
  LoadStatusImages();
  handlers_ = std::make_unique<edb::StoreRecordHandlers>(session_, *corruption_, temp_.get());
  bridge_ = new WindowBridge(this, this);
  context_ = std::make_unique<edb::WindowContext>(
      edb::WindowContext{session_, *bridge_, *handlers_, *corruption_, &gate_});

  setWindowTitle(kTitle);
  setWindowIcon(ApplicationIcon());
  BuildControls();
  BuildMenu();
  BuildStatusBar();
  CopyStatusImages();
  PrepareLayout();
  ApplyStates(edb::InitialControls());
}

MainDialog::~MainDialog() { Shutdown(); }

void MainDialog::BuildControls() {
  client_ = new QWidget(this);
  client_->setObjectName("client");
  client_->setFixedSize(kDesignWidth, kDesignHeight);
  QPalette palette = client_->palette();
  palette.setColor(QPalette::Window, QColor(255, 193, 26));
  palette.setColor(QPalette::WindowText, Qt::black);
  client_->setPalette(palette);
  client_->setAutoFillBackground(true);
  setCentralWidget(client_);

  auto place = [&](QWidget* widget, int id, const QString& name, QRect rect) {
    widget->setObjectName(id == -1 ? name : IdName(id));
    widget->setGeometry(rect);
    return widget;
  };
  auto label = [&](int id, const QString& name, const QString& text, QRect rect) {
    auto* widget = new QLabel(text, client_);
    place(widget, id, name, rect);
    return widget;
  };

  auto* banner_left = label(-1, "banner_left", "", QRect(10, 8, 300, 56));
  banner_left->setPixmap(BannerPixmap(300, 56, "Zendrask"));
  auto* banner_right = label(1010, "", "", QRect(320, 8, 560, 56));
  banner_right->setPixmap(BannerPixmap(560, 56, "Exchange Recovery"));
  banner_right->setScaledContents(true);

  label(-1, "label_1000", "Select Exchange Database File : ", QRect(10, 74, 200, 24));
  path_field_ = new QLineEdit(client_);
  place(path_field_, 1000, "", QRect(210, 74, 430, 24));
  path_field_->setReadOnly(true);

  browse_ = new QPushButton("Browse", client_);
  place(browse_, 1001, "", QRect(650, 72, 110, 28));
  scan_file_ = new QPushButton("Scan File", client_);
  place(scan_file_, 1002, "", QRect(770, 72, 110, 28));
  save_ = new QPushButton("Save", client_);
  place(save_, 1007, "", QRect(650, 104, 110, 28));
  stop_ = new QPushButton("Stop", client_);
  place(stop_, 1022, "", QRect(770, 104, 110, 28));
  connect(browse_, &QPushButton::clicked, this, &MainDialog::Browse);
  connect(scan_file_, &QPushButton::clicked, this, &MainDialog::ScanFile);
  connect(save_, &QPushButton::clicked, this, &MainDialog::Save);
  connect(stop_, &QPushButton::clicked, this, &MainDialog::Stop);

  tree_ = new FolderTree(client_);
  place(tree_, 1003, "", QRect(10, 140, 220, kDesignHeight - 62 - 140));
  connect(tree_, &FolderTree::ItemOpened, this, &MainDialog::OpenTreeItem);

  list_model_ = new MessageListModel(this);
  list_view_ = new QTableView(client_);
  place(list_view_, 1004, "", QRect(240, 140, 640, 156));
  list_view_->setModel(list_model_);
  list_view_->setShowGrid(true);
  list_view_->setSelectionBehavior(QAbstractItemView::SelectItems);
  list_view_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_view_->verticalHeader()->hide();
  list_view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_view_->verticalHeader()->setDefaultSectionSize(20);
  list_view_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list_view_->horizontalHeader()->setHighlightSections(false);
  list_view_->setWordWrap(false);
  connect(list_view_, &QTableView::clicked, this, [this](const QModelIndex& index) { PreviewRow(index.row()); });
  SetListColumns({{u"", 2}, {u"S.No", 40}, {u"From", 149}, {u"E-mail Subject", 149}, {u"Date-time", 149},
                  {u"Attachment", 148}});

  label(-1, "label_1020", "From:", QRect(240, 300, 56, 18));
  from_field_ = label(1020, "", "", QRect(300, 300, 250, 18));
  label(1018, "", "Date:", QRect(560, 300, 44, 18));
  date_field_ = label(1019, "", "", QRect(606, 300, 274, 18));
  label(-1, "label_1021", "Subject: ", QRect(240, 318, 56, 18));
  subject_field_ = label(1021, "", "", QRect(300, 318, 580, 18));
  label(1016, "", "To:", QRect(240, 336, 56, 18));
  to_field_ = label(1017, "", "", QRect(300, 336, 580, 18));
  label(1015, "", "Attachment Name:", QRect(240, 354, 124, 18));
  attachments_field_ = label(1014, "", "", QRect(366, 354, 514, 18));

  preview_ = new SafePreview(preview_path_, client_);
  const edb::PixelGeometry preview = edb::PreviewGeometry(kDesignWidth, kDesignHeight);
  place(preview_, 1008, "", QRect(preview.x, preview.y, preview.width, preview.height));

  progress_ = new QProgressBar(client_);
  place(progress_, 1009, "", QRect(240, kDesignHeight - 54, 640, 18));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  status_line_ = label(1025, "", "", QRect(240, kDesignHeight - 32, 640, 20));

  grip_ = new QSizeGrip(client_);
  grip_->setObjectName("size_grip");
}

void MainDialog::BuildMenu() {
  QMenu* file = menuBar()->addMenu("File");
  file->setObjectName("menu_file");
  auto add = [&](QMenu* menu, int id, const QString& text, void (MainDialog::*command)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(IdName(id));
    connect(action, &QAction::triggered, this, command);
    return action;
  };
  select_file_action_ = add(file, 32771, "Select File", &MainDialog::Browse);
  repair_action_ = add(file, 32772, "Repair", &MainDialog::ScanFile);
  save_action_ = add(file, 32773, "Save", &MainDialog::Save);
  add(file, 32774, "Exit", &MainDialog::Exit);
  QMenu* help = menuBar()->addMenu("Help");
  help->setObjectName("menu_help");
  add(help, 32775, "Help Topic", &MainDialog::HelpTopic);
  add(help, 32776, "About ", &MainDialog::About);
  // The web page has no menu entry; its command is the status bar's link.
  auto* web_page = new QAction(this);
  web_page->setObjectName(IdName(32777));
  connect(web_page, &QAction::triggered, this, &MainDialog::OpenWebPage);
  addAction(web_page);
}

void MainDialog::BuildStatusBar() {
  auto* product = new QLabel("Zendrask Exchange Recovery Software");
  product->setObjectName("status_product");
  product->setFixedWidth(300);
  auto* address = new QLabel(QString("<a href=\"%1\">%1</a>").arg(kProductWebPage));
  address->setObjectName("status_web_page");
  address->setFixedWidth(299);
  address->setTextFormat(Qt::RichText);
  connect(address, &QLabel::linkActivated, this, [this] { OpenWebPage(); });
  statusBar()->addWidget(product);
  statusBar()->addWidget(address);
  statusBar()->setSizeGripEnabled(false);
}

void MainDialog::CopyStatusImages() {
  for (const char* name : {"loading.gif", "done.gif", "cancel.gif", "wait.gif"}) {
    const QString target = QString::fromStdString((preview_path_ / name).string());
    QFile::remove(target);
    QFile::copy(QString(":/status/") + name, target);
  }
}

void MainDialog::PrepareLayout() {
  for (const Anchored& control : kAnchoredControls) layout_.Register(control.id, control.anchors);
  const edb::PixelRect client{0, 0, kDesignWidth, kDesignHeight};
  layout_.Record(
      client, client,
      [this](int id) -> std::optional<edb::PixelRect> {
        auto* widget = client_->findChild<QWidget*>(IdName(id), Qt::FindDirectChildrenOnly);
        if (widget == nullptr) return std::nullopt;
        const QRect r = widget->geometry();
        return edb::PixelRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
      },
      style()->pixelMetric(QStyle::PM_ScrollBarExtent), style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  const int grip = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  grip_->setGeometry(kDesignWidth - grip, kDesignHeight - grip, grip, grip);
  grip_->raise();
  // From now on the client follows the window's size.
  client_->setMinimumSize(0, 0);
  client_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  client_->resize(kDesignWidth, kDesignHeight);
  client_->installEventFilter(this);
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) LayOutClient();
  return QMainWindow::eventFilter(watched, event);
}

void MainDialog::LayOutClient() {
  const int cx = client_->width();
  const int cy = client_->height();
  const edb::PixelGeometry preview = edb::PreviewGeometry(cx, cy);
  preview_->setGeometry(preview.x, preview.y, std::max(preview.width, 0), std::max(preview.height, 0));
  const edb::AnchorLayout::Result result = layout_.Layout(edb::PixelRect{0, 0, cx, cy}, isMaximized());
  if (result.grip_visible) grip_->setVisible(*result.grip_visible);
  for (const edb::AnchorLayout::Move& move : result.moves) {
    QWidget* widget = move.id == edb::kSizeGripId
                          ? grip_
                          : client_->findChild<QWidget*>(IdName(move.id), Qt::FindDirectChildrenOnly);
    if (widget != nullptr) {
      widget->setGeometry(move.geometry.x, move.geometry.y, std::max(move.geometry.width, 0),
                          std::max(move.geometry.height, 0));
    }
  }
  client_->update();
}

void MainDialog::ApplyStates(const edb::ControlStates& states) {
  states_ = states;
  browse_->setEnabled(states.browse);
  scan_file_->setEnabled(states.scan_file);
  stop_->setEnabled(states.stop);
  save_->setEnabled(states.save);
  select_file_action_->setEnabled(states.select_file);
  repair_action_->setEnabled(states.repair);
  save_action_->setEnabled(states.save_menu);
  tree_->setEnabled(states.tree);
}

bool MainDialog::AskYesNo(const QString& caption, const QString& question) {
  QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::Yes | QMessageBox::No, this);
  box.setWindowModality(Qt::ApplicationModal);
  return box.exec() == QMessageBox::Yes;
}

void MainDialog::ChooseDatabase(const QString& path) {
  session_.database_path = QFileInfo(path).absoluteFilePath().toStdString();
  path_field_->setText(QFileInfo(path).absoluteFilePath());
  list_view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  ApplyStates(edb::AfterBrowseConfirmed(states_));
}

void MainDialog::Browse() {
  if (!states_.browse || WorkerRunning()) return;
  session_.mail_rows.clear();
  session_.attachments.clear();
  session_.folders.clear();
  SetStatusText(u"Status: Browsing Exchange Database File");
  const QString path = QFileDialog::getOpenFileName(this, "Select Microsoft Exchange Database File...", QString(),
                                                    "Microsoft Exchange Database  File (*.edb)", nullptr,
                                                    QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly);
  if (!path.isEmpty()) ChooseDatabase(path);
  SetStatusText(u"");
}

void MainDialog::ScanFile() {
  if (!states_.scan_file || WorkerRunning() || session_.database_path.empty()) return;
  ApplyStates(edb::AfterScanStarted(states_));
  SetStatusText(u"Status: Start Scaning Exchange EDB File");
  contents_.Clear();
  StartWorker(WorkerKind::kScan, [this] {
    const edb::ScanOutcome outcome = edb::ScanDatabase(*context_);
    bridge_->Post([this, outcome] {
      JoinWorker();
      OnScanDone(outcome);
    });
  });
}

void MainDialog::OnScanDone(edb::ScanOutcome outcome) {
  switch (outcome) {
    case edb::ScanOutcome::kCompleted: ApplyStates(edb::AfterScanFinished(states_)); break;
    case edb::ScanOutcome::kOpenFailed: ApplyStates(edb::AfterScanFailed(states_)); break;
    case edb::ScanOutcome::kCancelled:
      SetProgress(0);
      ApplyStates(edb::AfterScanStopped(states_));
      ShowStatusPage(std::u16string(edb::status_page::kScanAborted));
      break;
  }
  Q_EMIT ScanFinished(outcome);
}

void MainDialog::Stop() {
  if (worker_kind_ == WorkerKind::kSave) {
    StopSave();
  } else {
    StopScan();
  }
}

void MainDialog::StopScan() {
  if (worker_kind_ != WorkerKind::kScan || gate_.cancelled()) {
    // A stopped scan is asked about again, but stays stopped.
    if (worker_kind_ == WorkerKind::kScan) {
      AskYesNo(kStopCaption, "Do you want to stop recovery process ?");
    }
    return;
  }
  gate_.Pause();
  if (AskYesNo(kStopCaption, "Do you want to stop recovery process ?")) {
    // The worker leaves at its next record; the finished step shows the
    // aborted page once every request it made before is on screen.
    gate_.Cancel();
  } else {
    gate_.Resume();
  }
}

void MainDialog::StopSave() {
  const QString question = Q(std::u16string(edb::kSaveStopQuestion));
  if (gate_.cancelled()) {
    // A stopped save is asked about again, but stays stopped.
    AskYesNo(kStopCaption, question);
    return;
  }
  // The worker waits at its next record while the question is open; on Yes
  // it leaves after the item it is writing, and the finished step shows the
  // aborted page and the summary.
  gate_.Pause();
  if (AskYesNo(kStopCaption, question)) {
    gate_.Cancel();
  } else {
    gate_.Resume();
  }
}

void MainDialog::StartWorker(WorkerKind kind, std::function<void()> body) {
  gate_.Reset();
  bridge_->Reopen();
  worker_kind_ = kind;
  worker_ = std::thread(std::move(body));
}

void MainDialog::JoinWorker() {
  if (worker_.joinable()) worker_.join();
  worker_kind_ = WorkerKind::kNone;
}

void MainDialog::OpenTreeItem(edb::TreeItem item, const QString& label) {
  if (WorkerRunning()) return;
  session_.open_folder.save_mode = false;
  selection_ = edb::RebuildSelection(session_.mailboxes, session_.folders, context_->tree, tree_->checks());
  const bool is_folder = context_->tree.FolderOf(item).has_value();
  if (is_folder) {
    // Before the worker starts: no second click can reach the same lists.
    tree_->setEnabled(false);
    list_view_->setEnabled(false);
  }
  const std::u16string text = label.toStdU16String();
  StartWorker(WorkerKind::kFolder, [this, item, text] {
    edb::OpenFolder(*context_, item, text, &body_pass_);
    bridge_->Post([this] {
      JoinWorker();
      Q_EMIT FolderLoaded();
    });
  });
}

void MainDialog::PreviewRow(int row) {
  if (row < 0 || row >= list_model_->rowCount() || WorkerRunning()) return;
  edb::RowTexts texts;
  for (int column = 0; column < static_cast<int>(texts.size()); ++column) texts[column] = list_model_->Cell(row, column);
  const edb::ItemPreview preview = edb::PreviewSelectedItem(texts, session_.open_folder.folder_class,
                                                            session_.message_index, contents_, preview_path_);
  from_field_->setText(Q(preview.from));
  subject_field_->setText(Q(preview.subject));
  date_field_->setText(Q(preview.date));
  if (!preview.has_record) return;
  if (preview.sets_mail_fields) {
    to_field_->setText(Q(preview.to.value_or(u"")));
    attachments_field_->setText(Q(preview.attachments.value_or(u"")));
  }
  if (!preview.error.empty()) std::fprintf(stderr, "edbrecover-gui: %s\n", preview.error.c_str());
  if (!preview.file.empty()) preview_->ShowFile(preview.file);
}

void MainDialog::Save() {
  if (!states_.save || WorkerRunning()) return;
  selection_ = edb::RebuildSelection(session_.mailboxes, session_.folders, context_->tree, tree_->checks());
  std::vector<edb::SaveFolder> folders = TickedFolders(session_, context_->tree, tree_->checks());
  if (folders.empty()) {
    ShowMessage(edb::MessageKind::kInformation,
                u"No folder to save is ticked. Tick the mailboxes or folders to save in the tree, "
                u"then press Save again.",
                std::u16string(edb::kMessageCaption));
    return;
  }
  const std::optional<SaveTarget> target = SaveDialog::Ask(last_save_target_, this);
  if (!target) return;
  last_save_target_ = *target;

  edb::SaveRequest request;
  request.target = target->directory.toStdString();
  request.format = target->format;
  request.folders = std::move(folders);
  // With every folder of the store to save, the message index counts the
  // items to come; otherwise the bar follows the folders.
  if (request.folders.size() == edb::FoldersToSave(session_, {}, {}).size()) {
    request.expected_items = static_cast<int64_t>(session_.message_index.size());
  }
  StartSave(std::move(request));
}

void MainDialog::StartSave(edb::SaveRequest request) {
  states_before_save_ = states_;
  open_folder_before_save_ = session_.open_folder;
  ApplyStates(edb::AfterSaveStarted(states_));
  list_view_->setEnabled(false);
  SetProgress(0);
  StartWorker(WorkerKind::kSave, [this, request = std::move(request)] {
    SaveWorkerWindow window(*bridge_, static_cast<int>(request.folders.size()));
    edb::WindowContext context{session_, window, *handlers_, *corruption_, &gate_};
    const edb::SaveSummary summary = edb::RunSave(context, request, &window);
    bridge_->Post([this, summary, target = request.target] {
      JoinWorker();
      OnSaveDone(summary, target);
    });
  });
}

void MainDialog::OnSaveDone(const edb::SaveSummary& summary, const std::filesystem::path& target) {
  // Exit or close ended the save: the window is going, no summary.
  if (shutting_down_) return;
  // The save opened folders of its own; the list still shows the folder
  // opened before it, and previews must read that folder's class again.
  session_.open_folder = open_folder_before_save_;
  ApplyStates(states_before_save_);
  list_view_->setEnabled(true);
  SetProgress(0);
  if (summary.stopped) ShowStatusPage(std::u16string(edb::kSaveAbortedPage));
  last_save_ = summary;
  ShowMessage(summary.failure.ok() ? edb::MessageKind::kInformation : edb::MessageKind::kError,
              edb::Utf8ToUtf16(edb::SaveSummaryText(summary, target)), std::u16string(edb::kMessageCaption));
  Q_EMIT SaveFinished();
}

void MainDialog::Exit() {
  if (!AskYesNo(kMessageCaption, "Are you sure, you want to close this application..                       ")) return;
  Shutdown();
  shutting_down_ = true;
  // Closing the last window ends the application with exit code 0.
  close();
}

void MainDialog::closeEvent(QCloseEvent* event) {
  if (shutting_down_) {
    event->accept();
    return;
  }
  if (!AskYesNo(kMessageCaption, "Do you want to Exit ?       ")) {
    event->ignore();
    return;
  }
  Shutdown();
  shutting_down_ = true;
  event->accept();
}

void MainDialog::Shutdown() {
  gate_.Cancel();
  bridge_->Interrupt();
  if (worker_.joinable()) worker_.join();
  worker_kind_ = WorkerKind::kNone;
  if (temp_) {
    handlers_.reset();
    session_.CloseDatabase();
    temp_.reset();
  }
}

void MainDialog::HelpTopic() {
  QDesktopServices::openUrl(QUrl::fromLocalFile(startup_directory_ + "/zendrask-pst.chm"));
}

void MainDialog::OpenWebPage() { QDesktopServices::openUrl(QUrl(kProductWebPage)); }

void MainDialog::About() {
  QDialog about(this);
  about.setObjectName("about");
  about.setWindowTitle("About Zendrask Exchange Recovery");
  about.resize(600, 324);
  auto* layout = new QVBoxLayout(&about);
  auto* banner = new QLabel(&about);
  banner->setObjectName("135");
  banner->setPixmap(BannerPixmap(580, 120, "Zendrask Exchange Recovery"));
  layout->addWidget(banner);
  auto* text = new QLabel(QString("edbrecover-gui %1\nRecovers mailboxes, folders and items from Exchange store "
                                  "databases.\n%2")
                              .arg(QCoreApplication::applicationVersion(), kProductWebPage),
                          &about);
  text->setWordWrap(true);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
  connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
  layout->addWidget(buttons);
  about.exec();
}

// The surface the bridge drives.

void MainDialog::SetStatusText(const std::u16string& text) {
  CheckUiThread();
  status_line_->setText(Q(text));
}

void MainDialog::SetProgress(int position) {
  CheckUiThread();
  progress_->setValue(std::clamp(position, 0, 100));
}

void MainDialog::ClearTree() {
  CheckUiThread();
  tree_->Clear();
}

void MainDialog::InsertTreeItem(edb::TreeItem item, edb::TreeItem parent, const std::u16string& label, int image) {
  CheckUiThread();
  tree_->Insert(item, parent, Q(label), image);
}

void MainDialog::ExpandTreeItem(edb::TreeItem item) {
  CheckUiThread();
  tree_->Expand(item);
}

void MainDialog::EnableTree(bool enabled) {
  CheckUiThread();
  states_.tree = enabled;
  tree_->setEnabled(enabled);
}

void MainDialog::ClearList() {
  CheckUiThread();
  list_model_->Clear();
}

void MainDialog::SetListColumns(const std::vector<edb::ListColumn>& columns) {
  CheckUiThread();
  list_model_->SetColumns(columns);
  for (size_t c = 0; c < columns.size(); ++c) {
    const int column = static_cast<int>(c);
    list_view_->setColumnHidden(column, columns[c].width == 0);
    if (columns[c].width > 0) list_view_->setColumnWidth(column, columns[c].width);
  }
}

void MainDialog::AppendListRows(std::vector<ListRow> rows) {
  CheckUiThread();
  list_model_->AppendRows(std::move(rows));
}

void MainDialog::SetListCell(int row, int column, const std::u16string& text) {
  CheckUiThread();
  list_model_->SetCell(row, column, text);
}

void MainDialog::EnableList(bool enabled) {
  CheckUiThread();
  list_view_->setEnabled(enabled);
}

void MainDialog::ShowStatusPage(const std::u16string& html) {
  CheckUiThread();
  const std::filesystem::path page = preview_path_ / kStatusPageFile;
  std::ofstream out(page, std::ios::binary | std::ios::trunc);
  if (!out) return;
  out << "<html><head><meta charset=\"utf-8\"></head><body>";
  edb::WriteBodyText(html, out);
  out << "</body></html>";
  out.close();
  if (out) preview_->ShowFile(page);
}

void MainDialog::ShowMessage(edb::MessageKind kind, const std::u16string& text, const std::u16string& caption) {
  CheckUiThread();
  QMessageBox box(kind == edb::MessageKind::kError ? QMessageBox::Critical : QMessageBox::Information, Q(caption),
                  Q(text), QMessageBox::Ok, this);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace edbgui
