// What the store reader throws when memory runs out while its lists grow, so
// that whoever drives it can tell the user which memory ran out before the
// process ends. A plain std::bad_alloc from a walk's handlers becomes one of
// these at the walk; callers catch it as std::bad_alloc or by its kind.
#pragma once

#include <new>

namespace edb {

enum class MemoryUse {
  kEntryLists,   // the entry lists: mailboxes, folders, index, attachments, rows, body chunks
  kItemContent,  // the item-content lists filled while a folder's items load
};

class MemoryExhausted : public std::bad_alloc {
 public:
  explicit MemoryExhausted(MemoryUse use) noexcept : use_(use) {}
  MemoryUse use() const noexcept { return use_; }
  const char* what() const noexcept override { return "memory exhausted while reading the store"; }

 private:
  MemoryUse use_;
};

}  // namespace edb
