// Test helpers of the window tests, and the test program's main: the
// window classes need a QApplication, which the tests share.
#include "gui_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/gui/folder_tree.h"

namespace edbgui::testing {

class BoxAnswerer::Timer : public QTimer {
 public:
  Timer(BoxAnswerer* owner, QMessageBox::StandardButton button) {
    setInterval(20);
    connect(this, &QTimer::timeout, this, [this, owner, button] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) return;
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        owner->text_ = box->text();
        owner->caption_ = box->windowTitle();
        owner->icon_ = box->icon();
        owner->answered_ = true;
        stop();
        if (QAbstractButton* answer = box->button(button)) {
          answer->click();
        } else {
          box->reject();
        }
        return;
      }
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    start();
  }
};

BoxAnswerer::BoxAnswerer(QMessageBox::StandardButton button) : timer_(new Timer(this, button)) {}

BoxAnswerer::~BoxAnswerer() { delete timer_; }

bool RunUntil(const std::function<bool()>& done, double seconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > seconds * 1000) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

std::string SampleStore() { return EDB_SAMPLE_STORE; }

std::string SyntheticStore(int messages) {
  const std::string path = std::string(EDB_TEST_OUTPUT_DIR) + "/synthetic-" + std::to_string(messages) + ".edb";
  if (!std::filesystem::exists(path)) {
    const std::string command =
        std::string(EDB_BIN_DIR) + "/edbgen synthetic " + std::to_string(messages) + " " + path + " >/dev/null";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "cannot write " << path;
  }
  return path;
}

void WindowTest::Scan(const std::string& store) {
  dialog.ChooseDatabase(QString::fromStdString(store));
  BoxAnswerer ok(QMessageBox::Ok);
  std::optional<edb::ScanOutcome> outcome;
  auto connection = QObject::connect(&dialog, &MainDialog::ScanFinished, [&](edb::ScanOutcome o) { outcome = o; });
  dialog.ScanFile();
  const bool finished = RunUntil([&] { return outcome.has_value(); });
  QObject::disconnect(connection);
  ASSERT_TRUE(finished);
  EXPECT_EQ(*outcome, edb::ScanOutcome::kCompleted);
  EXPECT_EQ(ok.text(), "Analysis Completed sucessfully");
}

QTreeWidgetItem* WindowTest::Item(const QString& mailbox, const QString& label) {
  QTreeWidgetItem* root = dialog.tree()->topLevelItem(0);
  for (int m = 0; root != nullptr && m < root->childCount(); ++m) {
    QTreeWidgetItem* box = root->child(m);
    if (!box->text(0).contains(mailbox)) continue;
    if (label.isEmpty()) return box;
    for (int f = 0; f < box->childCount(); ++f) {
      if (box->child(f)->text(0) == label) return box->child(f);
    }
  }
  return nullptr;
}

void WindowTest::Open(QTreeWidgetItem* item) {
  ASSERT_NE(item, nullptr);
  bool loaded = false;
  auto connection = QObject::connect(&dialog, &MainDialog::FolderLoaded, [&] { loaded = true; });
  Q_EMIT dialog.tree()->ItemOpened(dialog.tree()->ItemOf(item), item->text(0));
  const bool finished = RunUntil([&] { return loaded; });
  QObject::disconnect(connection);
  ASSERT_TRUE(finished);
}

}  // namespace edbgui::testing

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
