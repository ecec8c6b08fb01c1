#include "shell/SeedCheck.h"

#include "platform/FileSystem.h"

namespace relicor {

SeedVerdict CheckItem(const ItemRecord& record) {
  if (!record.HasSignature()) return SeedVerdict{};
  return gen::CheckRecord(record);
}

Result<SeedVerdict> CheckItemFile(const std::string& path) {
  auto head = ReadFileHead(path, kItemRecordSize);
  if (!head) return MakeError(head.error());
  if (head->size() < kItemRecordSize) return SeedVerdict{};
  return CheckItem(ItemRecord::FromBytes(*head));
}

std::string VerdictText(const SeedVerdict& v) {
  std::string text;
  switch (v.verdict) {
    case Verdict::kGenuine:
      text = "genuine";
      break;
    case Verdict::kEdited: {
      text = "edited: ";
      for (std::size_t i = 0; i < v.differences.size(); ++i) {
        const auto& d = v.differences[i];
        if (i > 0) text += "; ";
        text += d.field + " file " + d.file + ", game " + d.game;
      }
      break;
    }
    case Verdict::kNotReproducible:
      return "not reproducible: " + v.reason;
    case Verdict::kNotAnItem:
      return "not an item file";
  }
  if (v.mode) text += " (" + std::string(gen::GameModeName(*v.mode)) + ")";
  return text;
}

std::string VerdictSummary(const SeedVerdict& v) {
  switch (v.verdict) {
    case Verdict::kGenuine:
      return "Seed check: genuine";
    case Verdict::kEdited: {
      std::string text = "Seed check: edited: ";
      for (std::size_t i = 0; i < v.differences.size(); ++i) {
        if (i > 0) text += ", ";
        text += v.differences[i].field;
      }
      return text;
    }
    case Verdict::kNotReproducible:
      return "Seed check: not reproducible";
    case Verdict::kNotAnItem:
      return "Seed check: not an item file";
  }
  return {};
}

std::string_view VerdictKey(Verdict verdict) {
  switch (verdict) {
    case Verdict::kGenuine:
      return "genuine";
    case Verdict::kEdited:
      return "edited";
    case Verdict::kNotReproducible:
      return "not-reproducible";
    case Verdict::kNotAnItem:
      return "not-an-item";
  }
  return {};
}

std::string SeedCheckLine(const ItemRecord& record) {
  return "Seed check: " + VerdictText(CheckItem(record));
}

}  // namespace relicor
