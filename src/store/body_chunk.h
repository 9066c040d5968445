// The decoded bodies of the items of an opened folder: one chunk per body
// column of each item, kept so that a save path can still reach every
// alternative, and the rule that picks the one body an item shows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace edb {

// The kind of an item's body. Every item starts as kEmpty; nothing carries
// over from one item to the next.
enum class BodyKind {
  kEmpty,
  kText,  // "txt"
  kHtml,  // "html"
};

// "empty", "txt" or "html".
std::string_view BodyKindName(BodyKind kind);

// The store column a chunk was decoded from.
enum class BodyColumn {
  kPlainText,      // "S1000"
  kCompressedRtf,  // "N1009": RTF reduced to text, or the HTML it encapsulates
  kHtml,           // "N1013"
};

// The column of `name` when it is one of the three body columns (compared
// exactly); false otherwise.
bool BodyColumnOfName(std::u16string_view name, BodyColumn* column);

struct BodyChunk {
  std::u16string key;   // the item's key (its "N67b0" text)
  std::u16string text;  // the whole decoded body of one column
  BodyKind kind = BodyKind::kText;
  BodyColumn column = BodyColumn::kPlainText;
};

// Chunks in the order they were appended, found by item key.
class BodyChunkList {
 public:
  void Append(BodyChunk chunk);
  void Clear();
  size_t size() const { return chunks_.size(); }
  const std::vector<BodyChunk>& chunks() const { return chunks_; }

  // The chunks of item `key`, in append order.
  std::vector<const BodyChunk*> ForItem(std::u16string_view key) const;

 private:
  std::vector<BodyChunk> chunks_;
  std::unordered_map<std::u16string, std::vector<size_t>> by_key_;
};

// Appends a chunk for item `key`.
void AppendBodyChunk(BodyChunkList* list, std::u16string_view key, std::u16string text, BodyKind kind,
                     BodyColumn column);

// The one body of an item among its chunks: its HTML ("N1013" first, then
// HTML encapsulated in the RTF), else its RTF reduced to text, else its
// "S1000" text. Chunks with empty text do not count. Null when there is none.
const BodyChunk* PickItemBody(const std::vector<const BodyChunk*>& chunks);

// PickItemBody of item `key` in `list`.
const BodyChunk* ItemBody(const BodyChunkList& list, std::u16string_view key);

// The kind of ItemBody of `key`; kEmpty when the item has no body.
BodyKind ItemBodyKind(const BodyChunkList& list, std::u16string_view key);

}  // namespace edb
