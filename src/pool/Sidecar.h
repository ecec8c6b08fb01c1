#pragma once
// The IT0 sidecar: an INI file beside an ITM file with the keeper's bookkeeping for that item in
// section [Iteminfos].

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Ini.h"
#include "platform/Result.h"
#include "text/DateText.h"

namespace relicor {

inline constexpr std::string_view kSidecarSection = "Iteminfos";
inline constexpr std::string_view kSidecarExtension = ".IT0";

inline constexpr std::size_t kSidecarKeyCount = 7;

// The keys in the order they are written.
// clang-format off
inline constexpr std::array<std::string_view, kSidecarKeyCount> kSidecarKeys{{
    "SenderName",     // 0
    "SendTo",         // 1
    "Points4Item",    // 2
    "public",         // 3
    "Points4ItemAt",  // 4
    "AddedItem",      // 5
    "SentAt",         // 6
}};
// clang-format on

struct SidecarValues {
  std::string senderName;  // at most 18 characters when read
  std::string sendTo;      // at most 18 characters when read
  bool points4Item = false;
  bool isPublic = false;
  DateTime points4ItemAt = 0;
  DateTime addedItem = 0;
  DateTime sentAt = 0;
};

// The values of a sidecar model. Texts are cut to 18 characters; the booleans follow the integer
// rule; a date must be exactly one "dd.mm.yyyy" date. A missing or unreadable value gives: empty
// text, false, `now` for Points4ItemAt and `fileDate` for AddedItem and SentAt.
SidecarValues SidecarValuesFromIni(const Ini& ini, DateTime now, DateTime fileDate);

// True when the sidecar model gives both AddedItem and SentAt (SidecarValuesFromIni then takes
// neither from the item file's date).
bool SidecarGivesDates(const Ini& ini);

// Sets the seven keys in their order: texts as they stand, booleans "1"/"0", dates as date text
// (a date that cannot be written gives the date of `today`).
void PutSidecarValues(Ini& ini, const SidecarValues& values, DateTime today);

// A sidecar is a small text file; anything larger is not read as one.
inline constexpr std::size_t kMaxSidecarBytes = std::size_t{1024} * 1024;

// The text of the sidecar at `path`: nothing when there is none. A symbolic link (never followed),
// anything but a regular file, or a file larger than kMaxSidecarBytes is an error naming it.
// With KnownType::kRegular (a listing just made says so) the file's type is not asked again; with
// `in`, a sidecar directly in that directory is opened from it.
Result<std::optional<std::string>> ReadSidecarText(const std::string& path,
                                                   KnownType known = KnownType::kUnknown,
                                                   const DirectoryHandle* in = nullptr);
// The same, and `stamp` set to the sidecar's identity from the file that is read (kNoFileStamp
// when there is none). With `in`, a sidecar directly in that directory is opened from it.
Result<std::optional<std::string>> ReadSidecarTextAndStamp(const std::string& path, FileStamp& stamp,
                                                           const DirectoryHandle* in = nullptr);

// Reads the sidecar at `path`. A missing or unreadable file is the same as one without keys; when
// `problem` is given it receives why a file that is there was not read (a link, too large, ...).
SidecarValues ReadSidecar(const std::string& path, DateTime now, DateTime fileDate,
                          std::string* problem = nullptr);

// Writes the seven keys into the sidecar at `path` with one atomic replace, creating the file
// when missing and keeping every other section and key. An error names the file and the reason;
// a sidecar that ReadSidecarText refuses is left as it is (an error too).
Status WriteSidecar(const std::string& path, const SidecarValues& values, DateTime today);

// The names of one directory's entries that may be sidecars (every name ending in "IT0"), as
// the directory was listed. A run that has just listed a directory asks it instead of trying to
// open a sidecar of each item that most often is not there.
class SidecarListing {
 public:
  SidecarListing() = default;
  explicit SidecarListing(const std::vector<DirEntry>& entries);

  // False when the listing holds no entry named like the sidecar of the item file `itemPath`
  // (a path in the listed directory). True may also come from another name with the same hash
  // code: the caller then only looks for a sidecar that is not there.
  bool MayHoldSidecarOf(std::string_view itemPath) const;

  // How the sidecar of `itemPath` is spelled in the listing.
  enum class Spelling : std::uint8_t {
    kNone,   // no entry is named like it
    kUsual,  // only as SidecarPath names it ("IT0"): that path is the sidecar
    kOther,  // in another letter case too (or the name is too short to tell): look on the disk
  };
  // With `regular`: set to true when the usual spelling was listed as a regular file.
  Spelling SpellingOf(std::string_view itemPath, bool* regular = nullptr) const;

 private:
  // The names, each folded to the usual spelling, in an open-addressed table (linear probing,
  // at most half full, a power of two of slots): a slot holds 29 bits of the name's hash code
  // that its place does not give, shifted left by 3, and which spellings gave that code in its
  // low 3 bits (1: the usual one, 2: another; 4: the usual one is a regular file). 0 marks an
  // empty slot. Four bytes a slot keep a pool's table in the processor's cache.
  std::vector<std::uint32_t> slots_;
};

// True for a path whose file name ends in ".ITM" in any letter case: the only item paths whose
// sidecar every operation names alike (SidecarPath).
bool HasItemExtension(std::string_view path);
// "<path>: not an item file name (an item file ends in .ITM)"
std::string NotItemFileNameText(const std::string& path);

}  // namespace relicor
