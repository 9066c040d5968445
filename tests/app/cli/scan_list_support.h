// What `edbrecover scan` and `edbrecover list` must show for the bundled
// sample store, worked out from the sample's description rather than from
// the reader: the mailboxes and folders a user sees, and each folder's list.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "storegen/store_description.h"

namespace clitest {

// A folder of the sample as the tree shows it.
struct VisibleFolder {
  const storegen::Mailbox* mailbox;
  const storegen::Folder* folder;
};

// The user mailboxes of the sample, in table order, with their visible
// folders.
std::vector<std::pair<const storegen::Mailbox*, std::vector<VisibleFolder>>> VisibleTree();

// The tree image the sample's folder names get.
int ExpectedImage(const std::string& folder_name);

// The container class the reader gives the folder.
std::string ExpectedClass(const storegen::Folder& folder);

// `edbrecover list --json` of `folder`: {"folder", "class", "columns", "rows"}.
nlohmann::json ExpectedList(const storegen::Folder& folder);

// Runs edbrecover with `arguments` (shell-quoted by the caller); standard
// error is dropped unless `with_stderr`.
std::string Edbrecover(const std::string& arguments, int* exit_code, bool with_stderr = false);

// The path of the bundled sample store, quoted for the shell.
std::string QuotedSample();

}  // namespace clitest
