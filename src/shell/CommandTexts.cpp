#include "shell/CommandTexts.h"

#include <vector>

#include "item/ItemRecord.h"
#include "text/Cp1252.h"

namespace relicor {

namespace {

std::string FieldsText(const std::vector<SidecarField>& fields, std::string_view separator) {
  std::string text;
  for (const auto& field : fields)
    text += std::string(separator) + std::string(field.key) + "=" + Cp1252ToUtf8(field.value);
  return text;
}

}  // namespace

std::string NotAnItemText(const std::string& path) {
  return path + ": not an item file (shorter than " + std::to_string(kItemRecordSize) + " bytes)";
}

Result<std::string> AssignSummaryText(const Result<AssignResult>& result) {
  if (!result) return result.failure();
  switch (result->outcome) {
    case AssignOutcome::kAssigned:
      return "wrote " + result->sidecarPath + ":" + FieldsText(result->changed, " ");
    case AssignOutcome::kNoFileSelected:
    case AssignOutcome::kNoMemberSelected:
      return std::string();  // nothing selected: nothing happens
    case AssignOutcome::kNotAnItem:
      return MakeError("the selected file is not an item file");
    case AssignOutcome::kSenderAlreadyRecorded:
      return std::string("nothing changed: the item already has a sender");
    case AssignOutcome::kDateAlreadyAssigned:
      return std::string("nothing changed: the added date was assigned before");
  }
  return std::string();
}

std::string SentText(const SendResult& result) {
  return "moved " + result.source + " to " + result.destination + FieldsText(result.written, "; ");
}

std::string PagesWrittenText(std::size_t files, std::size_t items, const std::string& entrancePage) {
  return "Pages written: " + std::to_string(files) + " files, " + std::to_string(items) +
         " items; entrance page " + entrancePage;
}

std::string AddedToDatabaseText(const std::string& itemKey, const std::string& databasePath) {
  return "added " + itemKey + " to " + databasePath;
}

}  // namespace relicor
