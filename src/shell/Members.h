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

// Clears the list and adds every line of the pool directory's PLAYERS.TXT (an empty line is a
// name too). CR LF, a lone CR and a lone LF end a line. A missing or unreadable file, or no pool
// directory, leaves the list empty.
void LoadMembers(MemberList& members, const std::string& poolDir);

// Writes every name, in list order, as one line ending with CR LF to the pool directory's
// PLAYERS.TXT, replacing the file at once. An error names the file. Without a pool directory
// nothing is written (kNoPoolDirectoryForMembersText); a PLAYERS.TXT that exists but cannot be read
// is never replaced, since the list then holds none of its names.
Status SaveMembers(const MemberList& members, const std::string& poolDir);

}  // namespace relicor
