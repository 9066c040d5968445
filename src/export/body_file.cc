// The preview's body file.
#include "export/body_file.h"

#include <fstream>

#include "base/text_encoding.h"

namespace edb {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kHtmlCharsetDeclaration = "<meta charset=\"utf-8\">\n";

}  // namespace

bool WriteBodyText(std::u16string_view text, std::ostream& out) {
  std::string utf8 = Utf16ToUtf8(text);
  out.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
  return static_cast<bool>(out);
}

std::filesystem::path WriteBodyFile(const BodyChunkList& chunks, std::u16string_view key,
                                    const std::filesystem::path& folder, std::string* error) {
  const BodyChunk* body = ItemBody(chunks, key);
  bool html = body == nullptr || body->kind == BodyKind::kHtml;
  std::filesystem::path path = folder / (html ? "txtbody.html" : "txtbody.txt");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    *error = "cannot create " + path.string();
    return {};
  }
  out << kUtf8Bom;
  if (html) out << kHtmlCharsetDeclaration;
  if (body != nullptr) WriteBodyText(body->text, out);
  out.close();
  if (!out) {
    *error = "cannot write " + path.string();
    return {};
  }
  return path;
}

}  // namespace edb
