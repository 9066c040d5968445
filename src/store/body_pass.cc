// The body pass of a folder click.
#include "store/body_pass.h"

#include "store/item_content_reader.h"

namespace edb {

void ItemBodyPass::Run(ReadContext& context, const FolderEntry& folder) {
  (void)folder;
  contents_->Clear();
  StoreSession& session = context.session;
  ItemContentReader reader(contents_, session.attachments, context.corruption);
  outcome_ = LoadFolderItems(context, reader, *contents_, writer_);
}

}  // namespace edb
