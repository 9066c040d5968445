// The target and format dialog of the Save command.
#include "app/gui/save_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace edbgui {
namespace {

// The nearest directory that exists at or above `path`, else the home
// directory: where the directory chooser starts.
QString ExistingDirectoryAtOrAbove(const QString& path) {
  if (path.trimmed().isEmpty()) return QDir::homePath();
  QFileInfo info(QDir::current().absoluteFilePath(path.trimmed()));
  while (!info.exists() || !info.isDir()) {
    const QString parent = info.absolutePath();
    if (parent == info.absoluteFilePath()) return QDir::homePath();
    info = QFileInfo(parent);
  }
  return info.absoluteFilePath();
}

}  // namespace

SaveDialog::SaveDialog(const SaveTarget& initial, QWidget* parent) : QDialog(parent) {
  setObjectName("save_dialog");
  setWindowTitle("Save ticked folders");

  auto* explanation = new QLabel(
      "The ticked folders are written into this folder, one folder per mailbox (created when missing). "
      "Items a previous save wrote there are left alone, so a stopped save can be run again.",
      this);
  explanation->setWordWrap(true);

  directory_ = new QLineEdit(initial.directory, this);
  directory_->setObjectName("save_directory");
  directory_->setMinimumWidth(360);
  auto* browse = new QPushButton("Browse...", this);
  browse->setObjectName("save_browse");
  auto* directory_row = new QHBoxLayout;
  directory_row->addWidget(directory_, 1);
  directory_row->addWidget(browse);

  format_ = new QComboBox(this);
  format_->setObjectName("save_format");
  format_->addItem("Maildir (Dovecot, mutt, Evolution, notmuch)", static_cast<int>(edb::MailFormat::kMaildir));
  format_->addItem("mbox (one file per folder)", static_cast<int>(edb::MailFormat::kMbox));
  format_->addItem("eml (one file per message)", static_cast<int>(edb::MailFormat::kEml));
  format_->setCurrentIndex(std::max(format_->findData(static_cast<int>(initial.format)), 0));

  auto* form = new QFormLayout;
  form->addRow("Save into:", directory_row);
  form->addRow("Mail format:", format_);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->setObjectName("save_buttons");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation);
  layout->addLayout(form);
  layout->addWidget(buttons_);

  connect(browse, &QPushButton::clicked, this, &SaveDialog::BrowseDirectory);
  connect(directory_, &QLineEdit::textChanged, this, &SaveDialog::UpdateOk);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  UpdateOk();
}

SaveTarget SaveDialog::target() const {
  SaveTarget target;
  const QString typed = directory_->text().trimmed();
  target.directory = typed.isEmpty() ? QString() : QDir::cleanPath(QDir::current().absoluteFilePath(typed));
  target.format = static_cast<edb::MailFormat>(format_->currentData().toInt());
  return target;
}

std::optional<SaveTarget> SaveDialog::Ask(const SaveTarget& initial, QWidget* parent) {
  SaveDialog dialog(initial, parent);
  dialog.setWindowModality(Qt::ApplicationModal);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  SaveTarget chosen = dialog.target();
  if (chosen.directory.isEmpty()) return std::nullopt;
  return chosen;
}

void SaveDialog::BrowseDirectory() {
  // The toolkit's own chooser, not the desktop's, so it also works offscreen
  // and under a bare X server.
  const QString chosen = QFileDialog::getExistingDirectory(
      this, "Choose the folder to save into", ExistingDirectoryAtOrAbove(directory_->text()),
      QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (!chosen.isEmpty()) directory_->setText(QDir::toNativeSeparators(chosen));
}

void SaveDialog::UpdateOk() {
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(!directory_->text().trimmed().isEmpty());
}

}  // namespace edbgui
