// The bundled sample store ("edbgen sample"): two user mailboxes with every
// kind of folder and item, and the system mailboxes and folders a reader
// must hide. Tests compare what the reader recovers with this description.
#pragma once

#include "storegen/store_description.h"

namespace storegen {

// The description of the sample store; built once, never changes.
const StoreDescription& SampleStore();

// Writes the sample store to `path`.
void WriteSampleStore(const std::string& path, uint32_t page_size = 8192);

}  // namespace storegen
