// The preview pane and its resource filter.
#include "app/gui/safe_preview.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <system_error>

namespace edbgui {
namespace {

// The canonical form of `path`, or empty when it does not exist.
std::filesystem::path Canonical(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::canonical(path, error);
  return error ? std::filesystem::path() : canonical;
}

bool IsInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
  if (file.empty() || folder.empty()) return false;
  auto f = file.begin();
  for (auto d = folder.begin(); d != folder.end(); ++d, ++f) {
    if (f == file.end() || *f != *d) return false;
  }
  return f != file.end();
}

QByteArray ReadSmallFile(const std::filesystem::path& path) {
  QFile file(QString::fromStdString(path.string()));
  if (file.size() > SafePreview::kMaxResourceBytes || !file.open(QIODevice::ReadOnly)) return {};
  return file.read(SafePreview::kMaxResourceBytes);
}

}  // namespace

SafePreview::SafePreview(const std::filesystem::path& allowed_folder, QWidget* parent)
    : QTextBrowser(parent), allowed_folder_(Canonical(allowed_folder)) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  setUndoRedoEnabled(false);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // Keyboard selection (Ctrl+A) without a blinking caret in a read-only pane.
  setCursorWidth(0);
}

QByteArray SafePreview::AllowedResource(const QUrl& url) const {
  std::filesystem::path path;
  if (url.isRelative() && !url.path().startsWith(u'/')) {
    const std::filesystem::path base = shown_file_.empty() ? allowed_folder_ : shown_file_.parent_path();
    path = base / url.path().toStdString();
  } else if (url.isLocalFile() || url.scheme().isEmpty()) {
    path = url.isLocalFile() ? url.toLocalFile().toStdString() : url.path().toStdString();
  } else {
    return {};
  }
  const std::filesystem::path canonical = Canonical(path);
  std::error_code error;
  if (!IsInside(canonical, allowed_folder_) || !std::filesystem::is_regular_file(canonical, error)) return {};
  return ReadSmallFile(canonical);
}

QVariant SafePreview::loadResource(int, const QUrl& name) {
  // A null QVariant would let the document read the file itself, so the
  // refusal is an empty byte array.
  return QVariant(AllowedResource(name));
}

void SafePreview::ShowFile(const std::filesystem::path& file) {
  const std::filesystem::path canonical = Canonical(file);
  std::error_code error;
  if (!IsInside(canonical, allowed_folder_) || !std::filesystem::is_regular_file(canonical, error)) {
    shown_file_.clear();
    clear();
    return;
  }
  shown_file_ = canonical;
  QByteArray bytes = ReadSmallFile(canonical);
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  if (canonical.extension() == ".txt") {
    setPlainText(QString::fromUtf8(bytes));
    return;
  }
  document()->setBaseUrl(QUrl::fromLocalFile(QString::fromStdString(canonical.string())));
  setHtml(QString::fromUtf8(bytes));
}

}  // namespace edbgui
