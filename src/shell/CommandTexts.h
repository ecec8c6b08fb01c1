#pragma once
// What the session's menu commands tell the keeper when they are done (UTF-8): the sidecar fields
// a quick assign or a send wrote, the pages written, the item added to the database.

#include <cstddef>
#include <string>

#include "platform/Result.h"
#include "pool/QuickAssign.h"
#include "pool/SendItem.h"

namespace relicor {

// "PATH: not an item file (shorter than 400 bytes)".
std::string NotAnItemText(const std::string& path);

// A quick assign's answer: the sidecar fields it wrote, nothing when nothing was selected, why
// nothing changed, or the error of a file that holds no item.
Result<std::string> AssignSummaryText(const Result<AssignResult>& result);

// "moved SOURCE to DESTINATION; SendTo=...; SentAt=...".
std::string SentText(const SendResult& result);

// "Pages written: N files, M items; entrance page PATH".
std::string PagesWrittenText(std::size_t files, std::size_t items, const std::string& entrancePage);

// "added KEY to IDENT.ID's path".
std::string AddedToDatabaseText(const std::string& itemKey, const std::string& databasePath);

}  // namespace relicor
