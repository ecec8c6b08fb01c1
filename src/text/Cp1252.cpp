#include "text/Cp1252.h"

#include <array>
#include <cstdint>

namespace relicor {

namespace {

// Code points of the bytes 0x80-0x9F. The five bytes Windows-1252 leaves undefined keep their
// C1 control code point, so that every byte survives a round trip.
// clang-format off
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};
// clang-format on

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

char ToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else if (b < 0xA0) {
      AppendUtf8(out, kHighControls[b - 0x80]);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  // ASCII reads the same in both: most texts are taken over whole.
  std::size_t i = 0;
  while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) ++i;
  std::string out(utf8.substr(0, i));
  if (i == utf8.size()) return out;
  out.reserve(utf8.size());
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    int extra = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      cp = b;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3;
      cp = b & 0x07;
    } else {
      out.push_back('?');
      ++i;
      continue;
    }
    if (i + static_cast<std::size_t>(extra) >= utf8.size()) {  // cut off at the end
      out.push_back('?');
      break;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      const auto cont = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      if ((cont & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (cont & 0x3F);
    }
    if (!ok) {
      out.push_back('?');
      ++i;
      continue;
    }
    out.push_back(ToCp1252(cp));
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

}  // namespace relicor
