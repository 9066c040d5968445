// The small dialog the Save command opens before a save starts: the target
// store's directory (typed, or picked with "Browse..." in a directory
// chooser) and how mail is written (Maildir, mbox or eml). OK stays disabled
// while no directory is given. The directory need not exist: the save
// creates it.
//
// Widgets carry object names so tests can drive the dialog: "save_directory"
// (line edit), "save_browse", "save_format" (combo box, item data = the
// MailFormat as int), "save_buttons" (OK/Cancel box).
//
// UI thread only; the dialog owns its widgets (Qt parent ownership).
#pragma once

#include <QDialog>
#include <QString>

#include <optional>

#include "export/target_store.h"

class QComboBox;
class QDialogButtonBox;
class QLineEdit;

namespace edbgui {

// Where and how a save writes.
struct SaveTarget {
  QString directory;
  edb::MailFormat format = edb::MailFormat::kMaildir;
};

class SaveDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens showing `initial` (the last choice of the session).
  explicit SaveDialog(const SaveTarget& initial, QWidget* parent = nullptr);

  // The choice as the dialog shows it now; the directory is made absolute
  // (relative to the current directory) and loses surrounding blanks.
  SaveTarget target() const;

  // Runs the dialog modally; nullopt when it is cancelled.
  static std::optional<SaveTarget> Ask(const SaveTarget& initial, QWidget* parent);

 private:
  void BrowseDirectory();
  void UpdateOk();

  QLineEdit* directory_ = nullptr;
  QComboBox* format_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace edbgui
