#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "item/Sources.h"

namespace relicor {
namespace {

struct SourceCase {
  std::uint8_t source;
  std::string text;
};

TEST(SourcesTest, SourceText) {
  const SourceCase cases[] = {
      {0x00, "Unique Monster"},
      {0x80, ""},  // bit 7 alone has no name
      {0x01, " Monster/Dungeon"},
      {0x09, " Monster/Dungeon Griswold (magic)"},
      {0x02, " Unique Item"},
      {0x04, " Griswold (normal)"},
      {0x08, " Griswold (magic)"},
      {0x10, " Wirt"},
      {0x20, " Adria"},
      {0x40, " Pepin"},
      {0x81, " Monster/Dungeon"},
      {0x50, " Wirt Pepin"},
      {0x7F, " Monster/Dungeon Unique Item Griswold (normal) Griswold (magic) Wirt Adria Pepin"},
      {0xFF, " Monster/Dungeon Unique Item Griswold (normal) Griswold (magic) Wirt Adria Pepin"},
  };
  for (const SourceCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.source));
    EXPECT_EQ(SourceText(c.source), c.text);
  }
}

TEST(SourcesTest, NamesFitTheirField) {
  for (std::string_view name : kSourceNames) {
    EXPECT_LE(name.size(), 31u);
  }
}

}  // namespace
}  // namespace relicor
