#include "cli/FileUrl.h"

#include <filesystem>

namespace relicor::cli {

std::string FileUrl(std::string_view path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(std::string(path)), ec);
  const std::string text = ec ? std::string(path) : absolute.lexically_normal().string();
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
                       b == '/' || b == '-' || b == '.' || b == '_' || b == '~';
    if (plain) {
      url.push_back(c);
    } else {
      url.push_back('%');
      url.push_back(kHex[b >> 4]);
      url.push_back(kHex[b & 0xF]);
    }
  }
  return url;
}

}  // namespace relicor::cli
