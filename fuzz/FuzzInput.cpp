#include "FuzzInput.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace relicor::fuzz {

void Fail(std::string_view what) {
  std::fprintf(stderr, "expectation failed: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

namespace {

struct Scratch {
  Scratch() {
    namespace fs = std::filesystem;
    std::error_code ec;
    path = (fs::temp_directory_path(ec) / ("relicor-fuzz-" + std::to_string(::getpid()))).string();
    fs::remove_all(path, ec);
    fs::create_directories(path, ec);
    if (ec) Fail("cannot create the scratch directory " + path + ": " + ec.message());
    path += '/';
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string path;
};

}  // namespace

const std::string& ScratchDirectory() {
  static const Scratch scratch;
  return scratch.path;
}

}  // namespace relicor::fuzz
