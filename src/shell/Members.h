#pragma once
// The clan's member list and its file PLAYERS.TXT in the pool directory (one name per line).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace relicor {

inline constexpr std::string_view kMembersFileName = "PLAYERS.TXT";
inline constexpr std::string_view kNoPoolDirectoryForMembersText = "No Pool-Directory assigned!";

// Names sorted without regard to letter case; a name equal to one already present, again without
// regard to letter case, is not added (the first one added stays).
class MemberList {
 public:
  // False when an equal name is already there.
  bool Add(std::string_view name);
  // Adds many names at once, in their order, as Add would one by one, in time linear in their
  // number (but for the sort): a list of 100,000 names in any order loads at once.
  void AddAll(std::vector<std::string> names);
  void Clear() { names_.clear(); }
  bool Contains(std::string_view name) const;
  // Removes the name equal to `name` without regard to letter case; false when there is none.
  bool Remove(std::string_view name);
  // The list's own spelling of `name` (letter case ignored), or nullptr.
  const std::string* Find(std::string_view name) const;

  const std::vector<std::string>& Names() const { return names_; }
  std::size_t size() const { return names_.size(); }
  bool empty() const { return names_.empty(); }

 private:
  std::vector<std::string> names_;
};

// The path of PLAYERS.TXT in `poolDir`.
std::string MembersFilePath(const std::string& poolDir);

// PLAYERS.TXT is read only up to this size; a larger file is left unread.
inline constexpr std::size_t kMaxMembersFileBytes = std::size_t{16} << 20;

// The names of a PLAYERS.TXT text: every line, an empty line too. CR LF, a lone CR and a lone LF
// end a line.
std::vector<std::string> MemberNamesOf(std::string_view text);

// Clears the list and adds every line of the pool directory's PLAYERS.TXT. A missing or unreadable
// file, or no pool directory, leaves the list empty; when `problem` is given it receives why a file
// that is there was not read (a symbolic link, which is never followed, not a regular file, larger
// than kMaxMembersFileBytes, no rights).
void LoadMembers(MemberList& members, const std::string& poolDir, std::string* problem = nullptr);

// Writes every name, in list order, as one line ending with CR LF to the pool directory's
// PLAYERS.TXT, replacing the file at once. An error names the file. Without a pool directory
// nothing is written (kNoPoolDirectoryForMembersText); a PLAYERS.TXT that exists but cannot be read
// is never replaced, since the list then holds none of its names.
Status SaveMembers(const MemberList& members, const std::string& poolDir);

}  // namespace relicor
