// The window's Save command driven offscreen: the ticked folders written
// into the chosen target as `edbrecover export` writes them, a rerun writing
// nothing twice, the last choice offered again, a folder ticked on its own,
// nothing ticked, a target that cannot be written, and Stop answered both
// ways. Also the save dialog itself and the save's progress position.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/gui/folder_tree.h"
#include "app/gui/main_dialog.h"
#include "app/gui/message_list_model.h"
#include "app/gui/safe_preview.h"
#include "app/gui/save_dialog.h"
#include "app/gui/save_worker_window.h"
#include "gui_test_support.h"

namespace edbgui {
namespace {

namespace fs = std::filesystem;
using testing::BoxAnswerer;
using testing::RunUntil;

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh, empty scratch directory of this test program.
fs::path Scratch(const std::string& name) {
  const fs::path path = fs::path(EDB_TEST_OUTPUT_DIR) / "save" / name;
  fs::remove_all(path);
  fs::create_directories(path.parent_path());
  return path;
}

// Every regular file below `root`, as paths relative to it (files that
// vanish while a save writes are left out).
std::set<std::string> FilesBelow(const fs::path& root) {
  std::set<std::string> files;
  std::error_code error;
  fs::recursive_directory_iterator it(root, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code kind_error;
    if (it->is_regular_file(kind_error)) files.insert(it->path().lexically_relative(root).string());
  }
  return files;
}

size_t CountFiles(const fs::path& directory) {
  size_t count = 0;
  if (!fs::is_directory(directory)) return 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory)) count += entry.is_regular_file();
  return count;
}

// Answers the next save dialog from a timer: records what it showed, types
// `directory`, picks `format` and presses OK (or Cancel). Arm it before the
// call that opens the dialog.
class SaveDialogAnswerer {
 public:
  SaveDialogAnswerer(QString directory, edb::MailFormat format, bool accept = true) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this, directory, format, accept] {
      auto* dialog = qobject_cast<SaveDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      timer_.stop();
      seen = true;
      auto* field = dialog->findChild<QLineEdit*>("save_directory");
      auto* formats = dialog->findChild<QComboBox*>("save_format");
      shown_directory = field->text();
      shown_format = static_cast<edb::MailFormat>(formats->currentData().toInt());
      field->setText(directory);
      formats->setCurrentIndex(formats->findData(static_cast<int>(format)));
      auto* buttons = dialog->findChild<QDialogButtonBox*>("save_buttons");
      buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    timer_.start();
  }

  bool seen = false;
  QString shown_directory;
  edb::MailFormat shown_format = edb::MailFormat::kMaildir;

 private:
  QTimer timer_;
};

// Counts how often `widget` became enabled while `running` said a worker
// ran (a folder load inside a save must not enable the tree or the list).
class EnabledWhileRunning : public QObject {
 public:
  EnabledWhileRunning(QWidget* widget, std::function<bool()> running) : running_(std::move(running)) {
    widget->installEventFilter(this);
  }
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange && static_cast<QWidget*>(watched)->isEnabled() && running_()) ++count;
    return false;
  }

 private:
  std::function<bool()> running_;
};

class SaveCommandTest : public testing::WindowTest {
 protected:
  // Ticks `item` (and its subtree) with the space key, which opens nothing.
  void Tick(QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    dialog.tree()->setCurrentItem(item);
    QTest::keyClick(dialog.tree(), Qt::Key_Space);
    ASSERT_EQ(item->checkState(0), Qt::Checked);
  }

  // Presses Save with the dialog answered and waits for the summary box,
  // answered OK; `during` runs right after Save returns, with the worker
  // started.
  void SaveInto(const fs::path& target, edb::MailFormat format, const std::function<void()>& during = {}) {
    bool finished = false;
    auto connection = QObject::connect(&dialog, &MainDialog::SaveFinished, [&] { finished = true; });
    {
      SaveDialogAnswerer answer(QString::fromStdString(target.string()), format);
      dialog.Save();
      ASSERT_TRUE(answer.seen);
      shown_directory = answer.shown_directory;
      shown_format = answer.shown_format;
    }
    if (during) during();
    summary_box = std::make_unique<BoxAnswerer>(QMessageBox::Ok);
    ASSERT_TRUE(RunUntil([&] { return finished; }, 120));
    QObject::disconnect(connection);
    ASSERT_TRUE(dialog.last_save().has_value());
  }

  std::u16string MailboxName(const QString& part) const {
    for (const edb::MailboxEntry& mailbox : dialog.session().mailboxes) {
      if (QString::fromStdU16String(mailbox.display_name).contains(part)) return mailbox.display_name;
    }
    return {};
  }

  int Progress() const { return dialog.findChild<QProgressBar*>("1009")->value(); }

  std::unique_ptr<BoxAnswerer> summary_box;
  QString shown_directory;
  edb::MailFormat shown_format = edb::MailFormat::kMaildir;
};

TEST_F(SaveCommandTest, WritesTheTickedMailboxAsTheExportCommandDoesAndARerunWritesNothingTwice) {
  Scan(testing::SampleStore());
  Open(Item("John Doe", "Contacts"));
  const std::u16string open_class = dialog.session().open_folder.folder_class;
  const int listed = dialog.list_model()->rowCount();
  ASSERT_GT(listed, 0);
  Tick(Item("John Doe"));
  const edb::ControlStates before = dialog.states();
  const fs::path target = Scratch("window") / "created" / "on demand";
  EnabledWhileRunning tree_enabled(dialog.tree(), [&] { return dialog.WorkerRunning(); });
  EnabledWhileRunning list_enabled(dialog.list_view(), [&] { return dialog.WorkerRunning(); });

  SaveInto(target, edb::MailFormat::kMaildir, [&] {
    EXPECT_EQ(dialog.states(), edb::AfterSaveStarted(before));
    EXPECT_TRUE(dialog.findChild<QPushButton*>("1022")->isEnabled()) << "Stop stays available";
    EXPECT_FALSE(dialog.findChild<QPushButton*>("1007")->isEnabled());
    EXPECT_FALSE(dialog.tree()->isEnabled());
    EXPECT_FALSE(dialog.list_view()->isEnabled());
    SaveDialogAnswerer second(QString::fromStdString((target / "other").string()), edb::MailFormat::kEml);
    dialog.Save();
    EXPECT_FALSE(second.seen) << "a second save cannot start while one runs";
  });
  EXPECT_EQ(tree_enabled.count, 0) << "the tree stays disabled from folder to folder";
  EXPECT_EQ(list_enabled.count, 0);
  const edb::SaveSummary first = *dialog.last_save();
  EXPECT_FALSE(first.stopped);
  EXPECT_TRUE(first.failure.ok());
  EXPECT_GT(first.counts.messages, 0);
  EXPECT_GT(first.counts.contacts, 0);
  EXPECT_EQ(first.counts.skipped, 0);
  EXPECT_EQ(summary_box->text().toStdString(), edb::SaveSummaryText(first, target));
  EXPECT_EQ(summary_box->caption(), "Zendrask Systems Exchange Recovery");
  EXPECT_EQ(summary_box->icon(), QMessageBox::Information);
  EXPECT_EQ(dialog.states(), before) << "controls back as they were";
  EXPECT_TRUE(dialog.tree()->isEnabled());
  EXPECT_TRUE(dialog.list_view()->isEnabled());
  EXPECT_EQ(Progress(), 0);
  EXPECT_FALSE(dialog.WorkerRunning());
  EXPECT_FALSE(dialog.session().open_folder.save_mode);
  // The list still shows the folder opened before, and previews it as such.
  EXPECT_EQ(dialog.session().open_folder.folder_class, open_class);
  EXPECT_EQ(dialog.list_model()->rowCount(), listed);
  dialog.PreviewRow(0);
  EXPECT_EQ(dialog.preview()->shown_file().filename(), "htmlbody.html");

  // The same mailbox through the command line gives the same files.
  const fs::path by_command = Scratch("command");
  const QString mailbox = QString::fromStdU16String(MailboxName("John Doe"));
  ASSERT_FALSE(mailbox.isEmpty());
  const int exit_code = QProcess::execute(QString(EDB_BIN_DIR) + "/edbrecover",
                                          {"export", QString::fromStdString(testing::SampleStore()), "--to",
                                           QString::fromStdString(by_command.string()), "--mailbox", mailbox});
  EXPECT_EQ(exit_code, 0);
  const std::set<std::string> written = FilesBelow(target);
  EXPECT_EQ(written, FilesBelow(by_command));
  const size_t inbox_messages = CountFiles(target / mailbox.toStdString() / "cur");
  EXPECT_GT(inbox_messages, 0u);
  EXPECT_LE(static_cast<int64_t>(inbox_messages), first.counts.messages);

  // Again into the same target: the choice is offered again, nothing is
  // written twice.
  SaveInto(target, edb::MailFormat::kMaildir);
  EXPECT_EQ(shown_directory.toStdString(), target.string());
  EXPECT_EQ(shown_format, edb::MailFormat::kMaildir);
  const edb::SaveSummary second = *dialog.last_save();
  EXPECT_EQ(second.counts.messages, 0);
  EXPECT_EQ(second.counts.contacts, 0);
  EXPECT_EQ(second.counts.already_there,
            first.counts.messages + first.counts.contacts + first.counts.calendar_items);
  EXPECT_EQ(FilesBelow(target), written);
  EXPECT_EQ(OffThreadWidgetCalls(), 0);
}

TEST_F(SaveCommandTest, NothingTickedSaysSoAFolderTickedAloneIsSavedAndABadTargetIsAnError) {
  Scan(testing::SampleStore());
  const edb::ControlStates before = dialog.states();
  {
    BoxAnswerer ok(QMessageBox::Ok);
    dialog.Save();
    EXPECT_TRUE(ok.text().startsWith("No folder to save is ticked.")) << ok.text().toStdString();
    EXPECT_FALSE(dialog.WorkerRunning());
    EXPECT_EQ(dialog.states(), before);
    EXPECT_FALSE(dialog.last_save().has_value());
  }

  // The Inbox alone: its mailbox stays unticked, and only the Inbox is saved.
  Tick(Item("John Doe", "Inbox"));
  ASSERT_EQ(Item("John Doe")->checkState(0), Qt::Unchecked);
  const fs::path target = Scratch("inbox-alone");
  SaveInto(target, edb::MailFormat::kEml);
  const std::string mailbox = QString::fromStdU16String(MailboxName("John Doe")).toStdString();
  std::set<std::string> top;
  for (const fs::directory_entry& entry : fs::directory_iterator(target)) top.insert(entry.path().filename());
  EXPECT_EQ(top, std::set<std::string>{mailbox});
  std::set<std::string> folders;
  for (const fs::directory_entry& entry : fs::directory_iterator(target / mailbox)) {
    folders.insert(entry.path().filename());
  }
  EXPECT_EQ(folders, std::set<std::string>{"Inbox"});
  EXPECT_EQ(static_cast<int64_t>(CountFiles(target / mailbox / "Inbox")), dialog.last_save()->counts.messages);
  EXPECT_GT(dialog.last_save()->counts.messages, 0);

  // A file where the target directory should be: one error box, nothing else.
  const fs::path blocked = Scratch("blocked");
  std::ofstream(blocked) << "not a directory";
  SaveInto(blocked / "store", edb::MailFormat::kMaildir);
  EXPECT_FALSE(dialog.last_save()->failure.ok());
  EXPECT_EQ(summary_box->icon(), QMessageBox::Critical);
  EXPECT_TRUE(summary_box->text().startsWith("Saving failed: ")) << summary_box->text().toStdString();
  EXPECT_EQ(dialog.states(), before);
}

TEST_F(SaveCommandTest, StopAnsweredNoGoesOnAndYesEndsTheSaveWithTheAbortedPage) {
  Scan(testing::SyntheticStore(4000));
  QTreeWidgetItem* mailbox = dialog.tree()->topLevelItem(0)->child(0);
  Tick(mailbox);
  const edb::ControlStates before = dialog.states();
  const fs::path target = Scratch("stopped");
  SaveInto(target, edb::MailFormat::kMaildir, [&] {
    // The worker waits at its next record while a question is open, so
    // neither answer can come after the save ended.
    {
      BoxAnswerer no(QMessageBox::No);
      dialog.Stop();
      EXPECT_EQ(no.text().toStdU16String(), edb::kSaveStopQuestion);
      EXPECT_EQ(no.caption(), "Zendrask EDB to MSG Converter");
    }
    EXPECT_TRUE(dialog.WorkerRunning());
    // The bar follows the folders (one mailbox of several: the number of
    // items is not known); the folder loads inside the save leave the tree
    // and the list disabled.
    ASSERT_TRUE(RunUntil([&] { return Progress() > 0 || !dialog.WorkerRunning(); }));
    EXPECT_TRUE(dialog.WorkerRunning()) << "the save ended before it could be stopped";
    EXPECT_FALSE(dialog.tree()->isEnabled());
    EXPECT_FALSE(dialog.list_view()->isEnabled());
    EXPECT_TRUE(dialog.findChild<QLabel*>("1025")->text().startsWith("Status: Getting "));
    BoxAnswerer yes(QMessageBox::Yes);
    dialog.Stop();
    EXPECT_TRUE(yes.answered());
  });
  const edb::SaveSummary& summary = *dialog.last_save();
  EXPECT_TRUE(summary.stopped);
  EXPECT_TRUE(summary.failure.ok());
  EXPECT_LT(summary.items_done, 4000);
  EXPECT_TRUE(summary_box->text().contains("Saving stopped.")) << summary_box->text().toStdString();
  EXPECT_NE(FileText(dialog.preview_folder() / "status.html").find("Saving Aborted by user..."), std::string::npos);
  EXPECT_FALSE(dialog.WorkerRunning());
  EXPECT_EQ(dialog.states(), before);
  EXPECT_TRUE(dialog.tree()->isEnabled());
  EXPECT_EQ(Progress(), 0);
  EXPECT_EQ(OffThreadWidgetCalls(), 0);
}

TEST_F(SaveCommandTest, ExitDuringASaveEndsItWithoutHalfWrittenFilesOrASummary) {
  Scan(testing::SyntheticStore(4000));
  Tick(dialog.tree()->topLevelItem(0)->child(0));
  const fs::path target = Scratch("exit");
  {
    SaveDialogAnswerer answer(QString::fromStdString(target.string()), edb::MailFormat::kMaildir);
    dialog.Save();
    ASSERT_TRUE(answer.seen);
  }
  ASSERT_TRUE(RunUntil([&] { return !FilesBelow(target).empty(); }));
  const fs::path temp = dialog.temp_folder();
  {
    BoxAnswerer yes(QMessageBox::Yes);
    dialog.Exit();
    EXPECT_TRUE(yes.answered());
  }
  EXPECT_FALSE(dialog.WorkerRunning());
  EXPECT_FALSE(fs::exists(temp));
  BoxAnswerer summary(QMessageBox::Ok);
  RunUntil([] { return false; }, 0.3);
  EXPECT_FALSE(summary.answered()) << summary.text().toStdString();
  for (const std::string& file : FilesBelow(target)) {
    EXPECT_EQ(file.find("/tmp/"), std::string::npos) << file << " left half-written";
  }
}

TEST(SaveDialogTest, OffersTheLastChoiceNeedsADirectoryAndPicksOneWithBrowse) {
  const fs::path picked = Scratch("picked");
  fs::create_directories(picked);
  SaveDialog dialog(SaveTarget{"", edb::MailFormat::kMbox});
  auto* field = dialog.findChild<QLineEdit*>("save_directory");
  auto* ok = dialog.findChild<QDialogButtonBox*>("save_buttons")->button(QDialogButtonBox::Ok);
  EXPECT_FALSE(ok->isEnabled()) << "no directory yet";
  EXPECT_EQ(dialog.target().format, edb::MailFormat::kMbox);
  field->setText("   ");
  EXPECT_FALSE(ok->isEnabled());

  QString chooser_title;
  QTimer::singleShot(50, [&] {
    auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(chooser, nullptr);
    chooser_title = chooser->windowTitle();
    EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
    chooser->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(picked.string()));
    QMetaObject::invokeMethod(chooser, "accept");
  });
  dialog.findChild<QPushButton*>("save_browse")->click();
  EXPECT_EQ(chooser_title, "Choose the folder to save into");
  EXPECT_EQ(field->text().toStdString(), picked.string());
  EXPECT_TRUE(ok->isEnabled());

  field->setText("  relative/store  ");
  EXPECT_EQ(dialog.target().directory, QDir::current().absoluteFilePath("relative/store"));
}

TEST(SaveProgressTest, FollowsItemsWhenTheirNumberIsKnownElseFolders) {
  EXPECT_EQ(SaveProgressPosition(0, 400, 1, 3), 0);
  EXPECT_EQ(SaveProgressPosition(100, 400, 1, 3), 25);
  EXPECT_EQ(SaveProgressPosition(500, 400, 3, 3), 100) << "more items than the index counted";
  EXPECT_EQ(SaveProgressPosition(100, 0, 1, 4), 0) << "the first folder has begun";
  EXPECT_EQ(SaveProgressPosition(100, 0, 3, 4), 50);
  EXPECT_EQ(SaveProgressPosition(5, 0, 0, 0), 0) << "nothing to save";
}

}  // namespace
}  // namespace edbgui
