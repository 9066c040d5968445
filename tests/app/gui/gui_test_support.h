// Helpers of the window tests: answering modal boxes from a timer, waiting
// for a signal with a deadline, the stores the tests open, and a fixture
// holding a main window that scans a store and opens its tree items.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/gui/main_dialog.h"

namespace edbgui::testing {

// Answers the next modal message box with `button` (from a timer polling
// for it), records its text, and rejects any other modal dialog so that
// nothing waits forever. Must be armed before the call that opens the box.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(QMessageBox::StandardButton button);
  ~BoxAnswerer();
  const QString& text() const { return text_; }
  const QString& caption() const { return caption_; }
  QMessageBox::Icon icon() const { return icon_; }
  bool answered() const { return answered_; }

 private:
  class Timer;
  Timer* timer_;
  QString text_;
  QString caption_;
  QMessageBox::Icon icon_ = QMessageBox::NoIcon;
  bool answered_ = false;
};

// Runs the event loop until `done` returns true or `seconds` pass; true
// when done.
bool RunUntil(const std::function<bool()>& done, double seconds = 60);

// The sample store the build writes.
std::string SampleStore();
// A synthetic store of `messages` messages, written once per test run.
std::string SyntheticStore(int messages);

// A main window, and the steps most window tests begin with.
class WindowTest : public ::testing::Test {
 protected:
  // Scans `store` and answers the completion box.
  void Scan(const std::string& store);
  // The first tree item labelled `label` under the mailbox whose label
  // contains `mailbox` (or the mailbox itself when `label` is empty).
  QTreeWidgetItem* Item(const QString& mailbox, const QString& label = {});
  // Opens `item` as a click does and waits for the load to end.
  void Open(QTreeWidgetItem* item);

  MainDialog dialog;
};

}  // namespace edbgui::testing
