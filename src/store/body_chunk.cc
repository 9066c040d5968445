// Body chunk list and the choice of an item's body.
#include "store/body_chunk.h"

#include <array>

namespace edb {

std::string_view BodyKindName(BodyKind kind) {
  switch (kind) {
    case BodyKind::kText: return "txt";
    case BodyKind::kHtml: return "html";
    case BodyKind::kEmpty: break;
  }
  return "empty";
}

bool BodyColumnOfName(std::u16string_view name, BodyColumn* column) {
  if (name == u"S1000") {
    *column = BodyColumn::kPlainText;
  } else if (name == u"N1009") {
    *column = BodyColumn::kCompressedRtf;
  } else if (name == u"N1013") {
    *column = BodyColumn::kHtml;
  } else {
    return false;
  }
  return true;
}

void BodyChunkList::Append(BodyChunk chunk) {
  by_key_[chunk.key].push_back(chunks_.size());
  chunks_.push_back(std::move(chunk));
}

void BodyChunkList::Clear() {
  chunks_.clear();
  by_key_.clear();
}

std::vector<const BodyChunk*> BodyChunkList::ForItem(std::u16string_view key) const {
  std::vector<const BodyChunk*> found;
  auto it = by_key_.find(std::u16string(key));
  if (it == by_key_.end()) return found;
  for (size_t index : it->second) found.push_back(&chunks_[index]);
  return found;
}

void AppendBodyChunk(BodyChunkList* list, std::u16string_view key, std::u16string text, BodyKind kind,
                     BodyColumn column) {
  list->Append(BodyChunk{std::u16string(key), std::move(text), kind, column});
}

const BodyChunk* PickItemBody(const std::vector<const BodyChunk*>& chunks) {
  struct Preference {
    BodyColumn column;
    BodyKind kind;
  };
  static constexpr std::array<Preference, 4> kOrder = {{
      {BodyColumn::kHtml, BodyKind::kHtml},
      {BodyColumn::kCompressedRtf, BodyKind::kHtml},
      {BodyColumn::kCompressedRtf, BodyKind::kText},
      {BodyColumn::kPlainText, BodyKind::kText},
  }};
  for (const Preference& wanted : kOrder) {
    for (const BodyChunk* chunk : chunks) {
      if (chunk->column == wanted.column && chunk->kind == wanted.kind && !chunk->text.empty()) return chunk;
    }
  }
  return nullptr;
}

const BodyChunk* ItemBody(const BodyChunkList& list, std::u16string_view key) {
  return PickItemBody(list.ForItem(key));
}

BodyKind ItemBodyKind(const BodyChunkList& list, std::u16string_view key) {
  const BodyChunk* body = ItemBody(list, key);
  return body == nullptr ? BodyKind::kEmpty : body->kind;
}

}  // namespace edb
