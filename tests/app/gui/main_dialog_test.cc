// The main window driven offscreen: scan the sample store, open folders,
// preview items of every kind, Stop and Exit answered both ways, the tree's
// mouse and keyboard handling, and no widget touched off the UI thread.
#include "app/gui/main_dialog.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/gui/folder_tree.h"
#include "app/gui/message_list_model.h"
#include "app/gui/safe_preview.h"
#include "gui_test_support.h"

namespace edbgui {
namespace {

using testing::BoxAnswerer;
using testing::RunUntil;

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class MainDialogTest : public testing::WindowTest {
 protected:
  std::vector<std::u16string> Headings() const {
    std::vector<std::u16string> headings;
    for (const edb::ListColumn& column : dialog.list_model()->columns()) headings.push_back(column.heading);
    return headings;
  }

  QString Field(int id) const { return dialog.findChild<QLabel*>(QString::number(id))->text(); }

  int RowWithColumn(int column, const QString& text) const {
    for (int row = 0; row < dialog.list_model()->rowCount(); ++row) {
      if (QString::fromStdU16String(dialog.list_model()->Cell(row, column)).contains(text)) return row;
    }
    return -1;
  }
};

TEST_F(MainDialogTest, HasEveryControlOfTheTemplateByItsId) {
  const std::pair<int, const char*> buttons[] = {{1001, "Browse"}, {1002, "Scan File"}, {1007, "Save"}, {1022, "Stop"}};
  for (const auto& [id, caption] : buttons) {
    auto* button = dialog.findChild<QPushButton*>(QString::number(id));
    ASSERT_NE(button, nullptr) << id;
    EXPECT_EQ(button->text(), caption);
  }
  for (int id : {1000, 1003, 1004, 1008, 1009, 1010, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1025}) {
    EXPECT_NE(dialog.findChild<QWidget*>(QString::number(id)), nullptr) << id;
  }
  const std::pair<int, const char*> actions[] = {{32771, "Select File"}, {32772, "Repair"}, {32773, "Save"},
                                                 {32774, "Exit"},        {32775, "Help Topic"}, {32776, "About "}};
  for (const auto& [id, text] : actions) {
    auto* action = dialog.findChild<QAction*>(QString::number(id));
    ASSERT_NE(action, nullptr) << id;
    EXPECT_EQ(action->text(), text);
  }
  EXPECT_EQ(dialog.windowTitle(), "Zendrask Zendrask Exchange Recovery");
  EXPECT_EQ(dialog.findChild<QLabel*>("1015")->text(), "Attachment Name:");
  EXPECT_EQ(dialog.states(), edb::InitialControls());
  EXPECT_FALSE(dialog.findChild<QPushButton*>("1002")->isEnabled());
  EXPECT_FALSE(dialog.findChild<QAction*>("32772")->isEnabled());
}

TEST_F(MainDialogTest, BrowseTakesTheChosenFileAndCancelChangesNothing) {
  QString title;
  QString status_while_open;
  auto choose = [&](bool accept) {
    QTimer::singleShot(50, [&, accept] {
      auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(chooser, nullptr);
      title = chooser->windowTitle();
      status_while_open = Field(1025);
      if (!accept) {
        chooser->reject();
        return;
      }
      chooser->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(testing::SampleStore()));
      QMetaObject::invokeMethod(chooser, "accept");
    });
  };
  choose(false);
  dialog.Browse();
  EXPECT_EQ(title, "Select Microsoft Exchange Database File...");
  EXPECT_EQ(status_while_open, "Status: Browsing Exchange Database File");
  EXPECT_EQ(dialog.states(), edb::InitialControls());
  EXPECT_TRUE(Field(1025).isEmpty());

  choose(true);
  dialog.Browse();
  EXPECT_EQ(dialog.findChild<QLineEdit*>("1000")->text().toStdString(), testing::SampleStore());
  EXPECT_EQ(dialog.states(), edb::AfterBrowseConfirmed(edb::InitialControls()));
  EXPECT_TRUE(Field(1025).isEmpty());

  BoxAnswerer unexpected(QMessageBox::No);
  dialog.Stop();
  QApplication::processEvents();
  EXPECT_FALSE(unexpected.answered()) << "Stop with no scan running asks nothing";
}

TEST_F(MainDialogTest, ScanFillsTheTreeAndFollowsTheStateTable) {
  dialog.ChooseDatabase(QString::fromStdString(testing::SampleStore()));
  EXPECT_EQ(dialog.states(), edb::AfterBrowseConfirmed(edb::InitialControls()));
  Scan(testing::SampleStore());
  EXPECT_EQ(dialog.states(), edb::AfterScanFinished(edb::InitialControls()));
  EXPECT_TRUE(dialog.findChild<QPushButton*>("1007")->isEnabled());
  EXPECT_FALSE(dialog.findChild<QPushButton*>("1022")->isEnabled());
  ASSERT_EQ(dialog.tree()->topLevelItemCount(), 1);
  EXPECT_EQ(dialog.tree()->topLevelItem(0)->text(0).toStdString(), testing::SampleStore());
  EXPECT_NE(Item("John Doe", "Inbox"), nullptr);
  EXPECT_NE(Item("Ren\u00e9e", "Inbox"), nullptr);
  EXPECT_NE(FileText(dialog.preview_folder() / "status.html").find("Scaning process completed..."),
            std::string::npos);
  EXPECT_EQ(OffThreadWidgetCalls(), 0);
}

TEST_F(MainDialogTest, ColumnsFollowTheClickedTextAndAMailboxListsNothing) {
  Scan(testing::SampleStore());
  Open(Item("John Doe", "Contacts"));
  EXPECT_EQ(Headings().at(3), u"Full name");
  EXPECT_TRUE(dialog.list_view()->isColumnHidden(0)) << "zero-width key column";
  Open(Item("John Doe", "Calendar"));
  EXPECT_EQ(Headings().at(6), u"End Date");
  Open(Item("John Doe", "Tasks"));
  EXPECT_EQ(Headings().at(7), u"Message");
  Open(Item("John Doe", "Inbox"));
  EXPECT_EQ(Headings().at(3), u"From");
  EXPECT_GT(dialog.list_model()->rowCount(), 0);
  EXPECT_TRUE(dialog.tree()->isEnabled());
  EXPECT_TRUE(dialog.list_view()->isEnabled());

  Open(Item("John Doe"));
  EXPECT_EQ(dialog.list_model()->rowCount(), 0);
  EXPECT_EQ(Headings().at(3), u"From");
  EXPECT_NE(FileText(dialog.preview_folder() / "status.html").find("Click on above recovered items"),
            std::string::npos);
  EXPECT_EQ(OffThreadWidgetCalls(), 0);
}

TEST_F(MainDialogTest, PreviewShowsEachKindOfItem) {
  Scan(testing::SampleStore());
  Open(Item("John Doe", "Inbox"));
  ASSERT_GT(dialog.list_model()->rowCount(), 0);
  dialog.PreviewRow(0);
  EXPECT_EQ(Field(1020).toStdU16String(), dialog.list_model()->Cell(0, 3));
  EXPECT_EQ(Field(1021).toStdU16String(), dialog.list_model()->Cell(0, 4));
  EXPECT_FALSE(Field(1017).isEmpty()) << "recipients of a mail";
  EXPECT_FALSE(dialog.preview()->toPlainText().trimmed().isEmpty()) << "the body";
  const std::string shown = dialog.preview()->shown_file().filename().string();
  EXPECT_TRUE(shown == "txtbody.txt" || shown == "txtbody.html") << shown;
  EXPECT_EQ(dialog.preview()->shown_file().parent_path(), std::filesystem::canonical(dialog.preview_folder()));

  const QString to_of_mail = Field(1017);
  Open(Item("John Doe", "Contacts"));
  ASSERT_GT(dialog.list_model()->rowCount(), 0);
  dialog.PreviewRow(0);
  EXPECT_EQ(dialog.preview()->shown_file().filename(), "htmlbody.html");
  EXPECT_EQ(Field(1017), to_of_mail) << "To stays as it was for other kinds";

  for (const char* folder : {"Calendar", "Tasks", "Journal"}) {
    Open(Item("John Doe", folder));
    ASSERT_GT(dialog.list_model()->rowCount(), 0) << folder;
    dialog.PreviewRow(0);
    EXPECT_EQ(dialog.preview()->shown_file().filename(), "htmlbody.html") << folder;
    EXPECT_TRUE(dialog.preview()->toPlainText().contains("Subject : ")) << folder;
  }
}

TEST_F(MainDialogTest, StopAnsweredNoLetsTheScanFinishAndYesStopsIt) {
  const std::string store = testing::SyntheticStore(4000);
  dialog.ChooseDatabase(QString::fromStdString(store));
  std::optional<edb::ScanOutcome> outcome;
  QObject::connect(&dialog, &MainDialog::ScanFinished, [&](edb::ScanOutcome o) { outcome = o; });
  {
    BoxAnswerer no(QMessageBox::No);
    dialog.ScanFile();
    dialog.Stop();
    EXPECT_EQ(no.text(), "Do you want to stop recovery process ?");
    EXPECT_EQ(no.caption(), "Zendrask EDB to MSG Converter");
  }
  {
    BoxAnswerer ok(QMessageBox::Ok);
    ASSERT_TRUE(RunUntil([&] { return outcome.has_value(); }));
  }
  EXPECT_EQ(*outcome, edb::ScanOutcome::kCompleted);

  outcome.reset();
  dialog.ChooseDatabase(QString::fromStdString(store));
  {
    BoxAnswerer yes(QMessageBox::Yes);
    dialog.ScanFile();
    dialog.Stop();
    EXPECT_TRUE(yes.answered());
  }
  ASSERT_TRUE(RunUntil([&] { return outcome.has_value(); }));
  EXPECT_EQ(*outcome, edb::ScanOutcome::kCancelled);
  EXPECT_FALSE(dialog.WorkerRunning());
  EXPECT_TRUE(dialog.states().browse);
  EXPECT_TRUE(dialog.tree()->isEnabled());
  EXPECT_NE(FileText(dialog.preview_folder() / "status.html").find("Scaning Aborted by user..."), std::string::npos);
  EXPECT_GE(dialog.tree()->topLevelItemCount(), 1) << "what was found stays shown";
  EXPECT_EQ(OffThreadWidgetCalls(), 0);
}

TEST_F(MainDialogTest, ExitAndCloseAnsweredNoChangeNothing) {
  Scan(testing::SampleStore());
  const edb::ControlStates before = dialog.states();
  {
    BoxAnswerer no(QMessageBox::No);
    dialog.Exit();
    EXPECT_EQ(no.text(), "Are you sure, you want to close this application..                       ");
    EXPECT_EQ(no.caption(), "Zendrask Systems Exchange Recovery");
  }
  {
    BoxAnswerer no(QMessageBox::No);
    dialog.show();
    EXPECT_FALSE(dialog.close());
    EXPECT_EQ(no.text(), "Do you want to Exit ?       ");
  }
  EXPECT_EQ(dialog.states(), before);
  EXPECT_TRUE(std::filesystem::exists(dialog.temp_folder()));
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(MainDialogTest, ExitDuringAFolderLoadCancelsItAndRemovesTheTemporaryFolder) {
  Scan(testing::SyntheticStore(4000));
  const std::filesystem::path temp = dialog.temp_folder();
  QTreeWidgetItem* root = dialog.tree()->topLevelItem(0);
  QTreeWidgetItem* folder = root->child(0)->child(0);
  ASSERT_NE(folder, nullptr);
  Q_EMIT dialog.tree()->ItemOpened(dialog.tree()->ItemOf(folder), folder->text(0));
  EXPECT_FALSE(dialog.tree()->isEnabled()) << "disabled before the worker runs";
  BoxAnswerer yes(QMessageBox::Yes);
  dialog.Exit();
  EXPECT_FALSE(dialog.WorkerRunning());
  EXPECT_FALSE(std::filesystem::exists(temp));
}

TEST_F(MainDialogTest, TreeMouseTicksOnTheBoxOpensOnTheLabelAndIgnoresEmptySpace) {
  Scan(testing::SampleStore());
  dialog.show();
  dialog.resize(1200, 800);
  FolderTree* tree = dialog.tree();
  QTreeWidgetItem* mailbox = Item("John Doe");
  ASSERT_NE(mailbox, nullptr);
  const edb::TreeItem item = tree->ItemOf(mailbox);
  const QRect box = tree->CheckBoxRect(item);
  ASSERT_TRUE(box.isValid());

  int opened = 0;
  QObject::connect(tree, &FolderTree::ItemOpened, [&] { ++opened; });
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_TRUE(tree->checks().checked(item));
  EXPECT_EQ(mailbox->checkState(0), Qt::Checked);
  EXPECT_TRUE(mailbox->font(0).bold());
  EXPECT_EQ(mailbox->child(0)->checkState(0), Qt::Checked);
  EXPECT_TRUE(tree->topLevelItem(0)->font(0).bold());
  EXPECT_EQ(opened, 1) << "a click on the box opens the item too";
  ASSERT_TRUE(RunUntil([&] { return !dialog.WorkerRunning(); }));
  EXPECT_EQ(dialog.selection().mailboxes.size(), 1u);
  EXPECT_EQ(dialog.selection().folders.size(), size_t(mailbox->childCount()));

  QTreeWidgetItem* current = tree->currentItem();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(5, tree->viewport()->height() - 3));
  EXPECT_EQ(tree->currentItem(), current) << "empty space changes nothing";
  EXPECT_EQ(opened, 1);

  mailbox->setExpanded(true);
  QApplication::processEvents();
  const QRect label = tree->visualItemRect(mailbox->child(0));
  ASSERT_TRUE(label.isValid());
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(label.right() - 4, label.center().y()));
  EXPECT_EQ(tree->currentItem(), mailbox->child(0));
  EXPECT_EQ(mailbox->child(0)->checkState(0), Qt::Checked) << "the label does not flip the box";
  ASSERT_TRUE(RunUntil([&] { return !dialog.WorkerRunning(); }));

  QTest::keyClick(tree, Qt::Key_Space);
  EXPECT_EQ(mailbox->child(0)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(mailbox->checkState(0), Qt::Checked) << "ancestors were computed before the box flipped";
  EXPECT_TRUE(mailbox->font(0).bold());
}

TEST_F(MainDialogTest, ResizingKeepsThePreviewAtItsOffsetsAndStretchesAnchoredControls) {
  dialog.show();
  dialog.resize(1300, 900);
  QApplication::processEvents();
  QWidget* client = dialog.centralWidget();
  const QRect preview = dialog.preview()->geometry();
  EXPECT_EQ(preview.topLeft(), QPoint(240, 380));
  EXPECT_EQ(preview.width(), client->width() - 250);
  EXPECT_EQ(preview.height(), client->height() - 442);
  QWidget* list = dialog.findChild<QWidget*>("1004");
  EXPECT_EQ(list->geometry().right() + 1, client->width() - 10) << "the list keeps its right margin";
  QWidget* browse = dialog.findChild<QWidget*>("1001");
  EXPECT_EQ(browse->geometry().right() + 1, client->width() - 130);
  QWidget* tree = dialog.findChild<QWidget*>("1003");
  EXPECT_EQ(tree->geometry().bottom() + 1, client->height() - 62);
}

}  // namespace
}  // namespace edbgui
