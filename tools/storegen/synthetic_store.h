// Synthetic stores of any size for benchmarks ("edbgen synthetic"): N items
// spread over user mailboxes, folders and item kinds, with bodies of mixed
// kinds and sizes and some attachments. Everything follows from the seed:
// the same options always give the same store.
//
// A quarter of the items go to the first user's Inbox as mail with a body,
// so a store of 100,000 items has an Inbox of 25,000 mail items (about
// 11,000 without message class and as many "IPM.Note").
#pragma once

#include <cstdint>
#include <string>

#include "storegen/store_builder.h"

namespace storegen {

struct SyntheticOptions {
  uint64_t items = 1000;
  uint64_t seed = 1;
};

// Feeds the store to `sink` item by item, without holding it in memory.
void GenerateSyntheticStore(const SyntheticOptions& options, StoreSink* sink);

// Generates the store and writes it to `path`. With 4 KiB pages (Exchange
// 2003) plain bodies are written in code page 1252, else in 1200.
void WriteSyntheticStore(const SyntheticOptions& options, uint32_t page_size, const std::string& path);

}  // namespace storegen
