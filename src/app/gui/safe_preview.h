// The preview pane: shows status pages and item previews, safely for
// hostile mail. It never connects anywhere and runs no script (a text
// browser has neither); every resource a page names (images, style sheets,
// frames) is read only when it is a regular file inside the preview's own
// folder, and anything else (other paths, /dev/*, file:// elsewhere, http,
// data beyond the size limit) loads as nothing. Plain-text bodies are shown
// as text, never parsed as HTML. Its context menu is off; Ctrl+A and Ctrl+C
// select and copy.
//
// UI thread only.
#pragma once

#include <QTextBrowser>

#include <filesystem>

namespace edbgui {

class SafePreview : public QTextBrowser {
  Q_OBJECT

 public:
  // Largest file the pane reads, page or image.
  static constexpr qint64 kMaxResourceBytes = 32 * 1024 * 1024;

  // `allowed_folder` is the only folder whose files the pane reads.
  SafePreview(const std::filesystem::path& allowed_folder, QWidget* parent = nullptr);

  // Shows `file`: a ".txt" file as plain text (UTF-8), anything else as
  // HTML. A path outside the allowed folder, or one that is not a readable
  // regular file (the folder itself, for an item without content), empties
  // the pane.
  void ShowFile(const std::filesystem::path& file);

  // The bytes of the resource `url` names, if the filter lets it through:
  // relative to the folder of the page shown (or the allowed folder).
  // Empty otherwise.
  QByteArray AllowedResource(const QUrl& url) const;

  // The file shown last ("" when none).
  const std::filesystem::path& shown_file() const { return shown_file_; }

 protected:
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  std::filesystem::path allowed_folder_;
  std::filesystem::path shown_file_;
};

}  // namespace edbgui
