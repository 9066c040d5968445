// The preview pane against hostile bodies: nothing outside its own folder
// is read, nothing remote is fetched, plain text stays text.
#include "app/gui/safe_preview.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/private_temp_folder.h"

namespace edbgui {
namespace {

class SafePreviewTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(folder.path() / name, std::ios::binary) << text;
  }
  std::filesystem::path Path(const std::string& name) const { return folder.path() / name; }

  edb::PrivateTempFolder folder;
  edb::PrivateTempFolder outside;
  SafePreview preview{folder.path()};
};

TEST_F(SafePreviewTest, ReadsOnlyRegularFilesInsideItsFolder) {
  Write("inside.png", "bytes");
  std::ofstream(outside.path() / "secret.txt") << "secret";
  std::filesystem::create_symlink(outside.path() / "secret.txt", Path("link.png"));

  EXPECT_EQ(preview.AllowedResource(QUrl("inside.png")), QByteArray("bytes"));
  EXPECT_EQ(preview.AllowedResource(QUrl::fromLocalFile(QString::fromStdString(Path("inside.png").string()))),
            QByteArray("bytes"));
  for (const char* hostile : {"/dev/zero", "file:///etc/passwd", "/etc/passwd", "http://127.0.0.1:9/x.png",
                              "https://example.com/a.css", "../secret.txt", "link.png", "data:text/plain,hi",
                              "file:///proc/self/environ", "."}) {
    EXPECT_TRUE(preview.AllowedResource(QUrl(hostile)).isEmpty()) << hostile;
  }
  const std::string escape = "../" + outside.path().filename().string() + "/secret.txt";
  EXPECT_TRUE(preview.AllowedResource(QUrl(QString::fromStdString(escape))).isEmpty());
}

TEST_F(SafePreviewTest, AHostileHtmlBodyLoadsNothingAndShowsItsText) {
  Write("txtbody.html",
        "<html><body><p>visible</p><img src=\"/dev/zero\"><img src=\"file:///etc/passwd\">"
        "<img src=\"http://127.0.0.1:9/track.gif\"><link rel=\"stylesheet\" href=\"/etc/passwd\">"
        "<script>document.write('ran')</script><p>after</p></body></html>");
  preview.ShowFile(Path("txtbody.html"));
  const QString text = preview.toPlainText();
  EXPECT_TRUE(text.contains("visible"));
  EXPECT_FALSE(text.contains("ran"));
  EXPECT_FALSE(text.contains("root:"));
  for (const char* name : {"/dev/zero", "file:///etc/passwd", "http://127.0.0.1:9/track.gif"}) {
    const QVariant image = preview.document()->resource(QTextDocument::ImageResource, QUrl(name));
    EXPECT_TRUE(image.isNull() || image.toByteArray().isEmpty() || image.value<QImage>().isNull()) << name;
  }
}

TEST_F(SafePreviewTest, PlainTextBodiesAreShownAsText) {
  Write("txtbody.txt", "\xEF\xBB\xBF<b>not bold</b> & <img src=\"/dev/zero\">");
  preview.ShowFile(Path("txtbody.txt"));
  EXPECT_EQ(preview.toPlainText(), "<b>not bold</b> & <img src=\"/dev/zero\">");
}

TEST_F(SafePreviewTest, FilesOutsideTheFolderOrNotFilesEmptyThePane) {
  Write("txtbody.txt", "shown");
  preview.ShowFile(Path("txtbody.txt"));
  preview.ShowFile(folder.path());
  EXPECT_TRUE(preview.toPlainText().isEmpty());
  preview.ShowFile("/etc/passwd");
  EXPECT_TRUE(preview.toPlainText().isEmpty());
}

TEST_F(SafePreviewTest, HasNoContextMenuAndCopiesWithControlAAndC) {
  EXPECT_EQ(preview.contextMenuPolicy(), Qt::NoContextMenu);
  Write("txtbody.txt", "copy me");
  preview.ShowFile(Path("txtbody.txt"));
  QKeyEvent select_all(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, "a");
  QApplication::sendEvent(&preview, &select_all);
  EXPECT_EQ(preview.textCursor().selectedText(), "copy me");
  QApplication::clipboard()->clear();
  QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, "c");
  QApplication::sendEvent(&preview, &copy);
  EXPECT_EQ(QApplication::clipboard()->text(), "copy me");
}

}  // namespace
}  // namespace edbgui
