#include "support/TempDir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace relicor::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "relicor-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Make read-only directories of a test writable again so they can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(std::string_view name) const {
  return path_ + "/" + std::string(name);
}

std::string TempDir::write(std::string_view name, std::string_view content) const {
  const std::string full = file(name);
  std::filesystem::create_directories(std::filesystem::path(full).parent_path());
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return full;
}

std::string TempDir::mkdir(std::string_view name) const {
  const std::string full = file(name);
  std::filesystem::create_directories(full);
  return full;
}

std::string TempDir::read(std::string_view name) const {
  std::ifstream in(file(name), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::set<std::string> FileNames(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

}  // namespace relicor::test
