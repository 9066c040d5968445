// The main window: every control of the dialog (object names are the
// control ids, "1001" for Browse...), the File and Help menus, the status
// bar, and the commands Browse, Scan File, Save, Stop, Exit, Help Topic,
// About and the web page. Scans, folder loads and saves run on worker
// threads that reach the window only through the WindowBridge; the tree and
// list are disabled here, on the UI thread, before a folder or save worker
// starts, and only one worker runs at a time. Save writes the ticked folders
// into a target store chosen in a SaveDialog (the last choice is offered
// again for the rest of the session) and ends with a summary box. Exit and
// close cancel a running worker, wait for it and remove the private
// temporary folder.
//
// UI thread only; construct after the QApplication. Throws
// std::runtime_error when the temporary folder cannot be created.
#pragma once

#include <QMainWindow>

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "app/gui/save_dialog.h"
#include "app/gui/ui_surface.h"
#include "app/ui/anchor_layout.h"
#include "app/ui/control_states.h"
#include "app/ui/folder_selection.h"
#include "app/ui/save_flow.h"
#include "store/body_pass.h"
#include "app/ui/window_context.h"
#include "store/folder_contents.h"
#include "base/pause_gate.h"
#include "base/private_temp_folder.h"
#include "app/ui/scan_flow.h"
#include "store/store_record_handlers.h"
#include "store/store_session.h"

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSizeGrip;
class QTableView;

namespace edbgui {

class FolderTree;
class MessageListModel;
class SafePreview;
class WindowBridge;

// The product's web page, shown in the status bar and opened by its link.
inline constexpr const char* kProductWebPage = "https://github.com/edbrecover/edbrecover";

// How many times a widget was touched off the UI thread (should stay 0).
int OffThreadWidgetCalls();

class MainDialog : public QMainWindow, public UiSurface {
  Q_OBJECT

 public:
  explicit MainDialog(QWidget* parent = nullptr);
  ~MainDialog() override;

  // Takes `path` as the database file, as a confirmed Browse does.
  void ChooseDatabase(const QString& path);

  // The commands.
  void Browse();
  void ScanFile();
  void Stop();
  void Exit();
  void HelpTopic();
  void OpenWebPage();
  void About();
  void Save();

  bool WorkerRunning() const { return worker_kind_ != WorkerKind::kNone; }
  const edb::ControlStates& states() const { return states_; }
  const edb::FolderSelection& selection() const { return selection_; }
  // What the last save that ended wrote (none before the first).
  const std::optional<edb::SaveSummary>& last_save() const { return last_save_; }
  const SaveTarget& last_save_target() const { return last_save_target_; }
  const edb::StoreSession& session() const { return session_; }
  // The tree items of the scanned store (read on the window's thread when no worker runs).
  const edb::WindowTree& window_tree() const { return context_->tree; }
  FolderTree* tree() const { return tree_; }
  MessageListModel* list_model() const { return list_model_; }
  QTableView* list_view() const { return list_view_; }
  SafePreview* preview() const { return preview_; }
  const std::filesystem::path& temp_folder() const { return temp_path_; }
  const std::filesystem::path& preview_folder() const { return preview_path_; }
  const edb::AnchorLayout& layout_engine() const { return layout_; }

  // The preview of list row `row` (a click on it).
  void PreviewRow(int row);

  // UiSurface, called by the bridge on the UI thread.
  void SetStatusText(const std::u16string& text) override;
  void SetProgress(int position) override;
  void ClearTree() override;
  void InsertTreeItem(edb::TreeItem item, edb::TreeItem parent, const std::u16string& label, int image) override;
  void ExpandTreeItem(edb::TreeItem item) override;
  void EnableTree(bool enabled) override;
  void ClearList() override;
  void SetListColumns(const std::vector<edb::ListColumn>& columns) override;
  void AppendListRows(std::vector<ListRow> rows) override;
  void SetListCell(int row, int column, const std::u16string& text) override;
  void EnableList(bool enabled) override;
  void ShowStatusPage(const std::u16string& html) override;
  void ShowMessage(edb::MessageKind kind, const std::u16string& text, const std::u16string& caption) override;

 Q_SIGNALS:
  void ScanFinished(edb::ScanOutcome outcome);
  void FolderLoaded();
  // A save ended (completed, stopped or failed) and its summary was shown.
  void SaveFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class WorkerKind { kNone, kScan, kFolder, kSave };

  void BuildControls();
  void BuildMenu();
  void BuildStatusBar();
  void PrepareLayout();
  void LayOutClient();
  void ApplyStates(const edb::ControlStates& states);
  void CopyStatusImages();
  bool AskYesNo(const QString& caption, const QString& question);
  void OpenTreeItem(edb::TreeItem item, const QString& label);
  void StartWorker(WorkerKind kind, std::function<void()> body);
  void JoinWorker();
  void OnScanDone(edb::ScanOutcome outcome);
  void StopScan();
  void StopSave();
  void StartSave(edb::SaveRequest request);
  void OnSaveDone(const edb::SaveSummary& summary, const std::filesystem::path& target);
  // Cancels a running worker, waits for it, removes the temporary folder.
  void Shutdown();

  class CorruptionLog;
  std::unique_ptr<CorruptionLog> corruption_;
  std::unique_ptr<edb::PrivateTempFolder> temp_;
  std::filesystem::path temp_path_;
  std::filesystem::path preview_path_;
  QString startup_directory_;
  edb::StoreSession session_;
  std::unique_ptr<edb::StoreRecordHandlers> handlers_;
  WindowBridge* bridge_ = nullptr;
  std::unique_ptr<edb::WindowContext> context_;
  edb::FolderContents contents_;
  edb::ItemBodyPass body_pass_{&contents_};
  edb::FolderSelection selection_;
  edb::PauseGate gate_;
  std::thread worker_;
  WorkerKind worker_kind_ = WorkerKind::kNone;
  bool stop_confirmed_ = false;
  bool shutting_down_ = false;
  edb::ControlStates states_;
  // Given back when a save ends, whatever way it ends.
  edb::ControlStates states_before_save_;
  edb::OpenFolderState open_folder_before_save_;
  SaveTarget last_save_target_;
  std::optional<edb::SaveSummary> last_save_;
  edb::AnchorLayout layout_;

  QWidget* client_ = nullptr;
  QLineEdit* path_field_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* scan_file_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* save_ = nullptr;
  FolderTree* tree_ = nullptr;
  QTableView* list_view_ = nullptr;
  MessageListModel* list_model_ = nullptr;
  SafePreview* preview_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_line_ = nullptr;
  QLabel* from_field_ = nullptr;
  QLabel* to_field_ = nullptr;
  QLabel* subject_field_ = nullptr;
  QLabel* date_field_ = nullptr;
  QLabel* attachments_field_ = nullptr;
  QSizeGrip* grip_ = nullptr;
  QAction* select_file_action_ = nullptr;
  QAction* repair_action_ = nullptr;
  QAction* save_action_ = nullptr;
};

}  // namespace edbgui
