// Reading the member list PLAYERS.TXT from any file, editing it and writing it back.
//
// Input: the length of a name and the name, then the file's bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "platform/FileSystem.h"
#include "shell/Members.h"
#include "text/ByteText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace relicor;
  fuzz::FuzzInput in(data, size);
  std::string name(in.Take(in.Byte()));
  name = name.substr(0, name.find_first_of("\r\n"));  // the commands refuse names with a line break
  const std::string_view file = in.Rest();

  const std::string& pool = fuzz::ScratchDirectory();
  fuzz::Expect(AtomicReplaceFile(MembersFilePath(pool), file).ok(), "PLAYERS.TXT could not be written");

  MemberList members;
  LoadMembers(members, pool);
  const std::vector<std::string>& names = members.Names();
  std::size_t lines = 0;
  for (char c : file) lines += c == '\n' || c == '\r';
  fuzz::Expect(names.size() <= lines + 1, "more names than lines");
  for (std::size_t i = 0; i < names.size(); ++i) {
    fuzz::Expect(names[i].find_first_of("\r\n") == std::string::npos, "a name holds a line break");
    fuzz::Expect(members.Contains(names[i]), "a loaded name is not found");
    if (i > 0) fuzz::Expect(CompareTextNoCase(names[i - 1], names[i]) < 0, "names out of order or twice");
  }

  // Adding and removing a name.
  const bool known = members.Contains(name);
  fuzz::Expect(members.Add(name) == !known, "adding a name said the wrong thing");
  fuzz::Expect(members.Contains(name), "an added name is not found");
  const std::vector<std::string> edited = members.Names();

  // Written and read again, the list is the same.
  fuzz::Expect(SaveMembers(members, pool).ok(), "PLAYERS.TXT could not be saved");
  MemberList reloaded;
  LoadMembers(reloaded, pool);
  fuzz::Expect(reloaded.Names() == edited, "the list changed on its way through the file");

  fuzz::Expect(reloaded.Remove(name), "a name could not be removed");
  fuzz::Expect(!reloaded.Contains(name), "a removed name is still found");
  fuzz::Expect(reloaded.size() + 1 == edited.size(), "removing took more than one name");
  return 0;
}
