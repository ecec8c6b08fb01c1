#include "platform/ProgramDir.h"

#include "platform/FileSystem.h"
#include "text/Filewrk.h"

namespace relicor {

std::string ProgramDir() { return ProgramDirFromExecutable(ExecutablePath()); }

}  // namespace relicor
