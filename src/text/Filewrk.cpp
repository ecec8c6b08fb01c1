#include "text/Filewrk.h"

#include "text/Stri.h"

namespace relicor {

std::string ProgramDirFromExecutable(std::string_view executablePath) {
  std::string dir = ShortString(executablePath, kProgramDirCapacity);
  return CutAfterLastBackslash(dir);
}

}  // namespace relicor
