#include "platform/ProgramDir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"
#include "text/Path.h"

namespace relicor {

std::string ProgramDir() {
  return ProgramDirFromExecutable(ExecutablePath());
}

namespace {

bool WritableDirectory(const std::string& dir) {
  std::error_code ec;
  return std::filesystem::is_directory(dir, ec) && ::access(dir.c_str(), W_OK) == 0;
}

std::string_view EnvOrEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string_view(value) : std::string_view();
}

}  // namespace

std::string HomeDirectoryFor(std::string_view programDir, std::string_view xdgConfigHome,
                             std::string_view home) {
  if (!programDir.empty() && WritableDirectory(std::string(programDir))) return std::string(programDir);
  std::string config;
  if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
    config = std::string(xdgConfigHome);
  } else if (!home.empty()) {
    config = std::string(home) + "/.config";
  } else {
    return std::string(programDir);  // nowhere better: reads work, writes report their error
  }
  while (config.size() > 1 && config.back() == '/') config.pop_back();
  config += "/relicor/";
  std::error_code ec;
  std::filesystem::create_directories(config, ec);
  return config;
}

std::string HomeDirectory() {
  return HomeDirectoryFor(ProgramDir(), EnvOrEmpty("XDG_CONFIG_HOME"), EnvOrEmpty("HOME"));
}

}  // namespace relicor
