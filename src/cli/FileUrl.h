#pragma once
// file:// URLs for paths the keeper may open in a browser.

#include <string>
#include <string_view>

namespace relicor::cli {

// "file://" followed by the absolute form of `path` (taken against the current directory), each
// byte other than letters, digits, "/-._~" written as %XX.
std::string FileUrl(std::string_view path);

}  // namespace relicor::cli
