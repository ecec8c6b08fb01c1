#pragma once
// The search page's code and look, as the files hold them (LF line ends; the run writes CR LF).

#include <string_view>

namespace relicor {

extern const std::string_view kSearchScript;
extern const std::string_view kSearchStyle;

}  // namespace relicor
