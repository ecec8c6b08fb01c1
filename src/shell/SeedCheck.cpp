#include "shell/SeedCheck.h"

#include "item/ItemFile.h"
#include "platform/FileSystem.h"
#include "pool/ItemReadAhead.h"
#include "text/Path.h"

namespace relicor {

SeedVerdict CheckItem(const ItemRecord& record) {
  return CheckItem(record, {});
}

SeedVerdict CheckItem(const ItemRecord& record, const gen::CheckOptions& options) {
  if (!record.HasSignature()) return SeedVerdict{};
  return gen::CheckRecord(record, options);
}

Result<SeedVerdict> CheckItemFile(const std::string& path, const gen::CheckOptions& options) {
  auto file = ReadItemFile(path, nullptr, ItemFileDate::kLeftOut);
  if (!file) return file.failure();
  if (file->status != ItemFileStatus::kItem) return SeedVerdict{};
  return CheckItem(file->record, options);
}

void CheckItemFiles(std::size_t count, const PathOf& pathOf, const gen::CheckOptions& options,
                    const std::function<void(std::size_t, const Result<SeedVerdict>&)>& checked) {
  const SidecarListing noSidecars;  // a check reads no sidecars
  for (std::size_t first = 0; first < count;) {
    // The run of paths in the same directory as the first.
    const std::string& firstPath = pathOf(first);
    const std::size_t dirSize = firstPath.size() - FileNamePart(firstPath).size();
    const std::string_view dir = std::string_view(firstPath).substr(0, dirSize);
    std::size_t end = first + 1;
    for (; end < count; ++end) {
      const std::string& path = pathOf(end);
      if (!path.starts_with(dir) || path.size() - FileNamePart(path).size() != dirSize) break;
    }
    ItemReadAhead ahead(
        std::string(dir), end - first,
        [&](std::size_t i) -> std::string_view {
          return std::string_view(pathOf(first + i)).substr(dirSize);
        },
        &noSidecars, ItemFileDate::kLeftOut);
    for (std::size_t i = first; i < end; ++i) {
      const std::string& path = pathOf(i);
      std::optional<ItemRead> read = ahead.Take(path);
      if (!read) {
        checked(i, CheckItemFile(path, options));
      } else if (!read->file) {
        checked(i, Result<SeedVerdict>(read->file.failure()));
      } else if (read->file->status != ItemFileStatus::kItem) {
        checked(i, SeedVerdict{});
      } else {
        checked(i, CheckItem(read->file->record, options));
      }
    }
    first = end;
  }
}

std::string ModesText(const SeedVerdict& v) {
  std::string text;
  for (const gen::GameMode mode : v.modes) {
    if (!text.empty()) text += " or ";
    text += gen::GameModeName(mode);
  }
  return text;
}

std::string PlayChangeText(const gen::PlayChange& c) {
  std::string name = c.field;
  if (name == "max durability") name = "maximum durability";
  if (name == "max damage") name = "maximum damage";
  if (name == "armor") name = "armour class";
  const long change = std::stol(c.file) - std::stol(c.game);
  return name + " " + (change > 0 ? "+" : "") + std::to_string(change) + ", " + c.how;
}

std::string VerdictText(const SeedVerdict& v) {
  std::string text;
  std::string notes = ModesText(v);
  switch (v.verdict) {
    case Verdict::kGenuine:
      text = "genuine";
      if (!v.playState.empty()) {
        if (!notes.empty()) notes += "; ";
        notes += "play state: ";
        for (std::size_t i = 0; i < v.playState.size(); ++i) {
          if (i > 0) notes += "; ";
          notes += PlayChangeText(v.playState[i]);
        }
      }
      break;
    case Verdict::kEdited: {
      text = "edited: ";
      for (std::size_t i = 0; i < v.differences.size(); ++i) {
        const auto& d = v.differences[i];
        if (i > 0) text += "; ";
        if (!d.note.empty())
          text += d.field + " " + d.file + " (" + d.note + ")";
        else
          text += d.field + " file " + d.file + ", game " + d.game;
      }
      break;
    }
    case Verdict::kNotReproducible:
      return "not reproducible: " + v.reason;
    case Verdict::kNotAnItem:
      return "not an item file";
  }
  if (!notes.empty()) text += " (" + notes + ")";
  return text;
}

std::string VerdictSummary(const SeedVerdict& v) {
  switch (v.verdict) {
    case Verdict::kGenuine:
      return v.modes.empty() ? "Seed check: genuine" : "Seed check: genuine (" + ModesText(v) + ")";
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
