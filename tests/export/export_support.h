// What the export tests share: reading a target store back through the
// independent Python parsers (read_target.py), and a few items to write.
#pragma once

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "export/mail_item.h"

namespace edbtest {

// What read_target.py saw in `store` written in `format` ("maildir", "mbox",
// "eml"): {"messages": [...], "cards": [...], "calendar": [...]}. Fails the
// test (and returns null) when the script fails.
nlohmann::json ReadTargetStore(const std::filesystem::path& store, const std::string& format);

// Every byte value once, then some text: attachment data that a lossy
// encoding would damage.
std::string AllByteValues();

// An attachment whose loader returns `data`.
edb::MailAttachment Attachment(std::string name, std::string data);

// Number of regular files under `root`, recursively.
int CountFiles(const std::filesystem::path& root);

}  // namespace edbtest
