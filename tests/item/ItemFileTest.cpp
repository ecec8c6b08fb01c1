#include <gtest/gtest.h>
#include <sys/stat.h>

#include "item/ItemDump.h"
#include "item/ItemFile.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::RecordBuilder;
using test::TempDir;

TEST(ItemFile, ReadsExactly400Bytes) {
  TempDir dir;
  const std::string bytes = RecordBuilder().ident(7).name("ring").bytes();
  const auto path = dir.write("A.ITM", bytes);
  const auto item = ReadItemFile(path);
  ASSERT_TRUE(item) << item.error();
  EXPECT_EQ(item->status, ItemFileStatus::kItem);
  EXPECT_EQ(item->record.view(), bytes);
  EXPECT_GT(item->fileDate, 40000.0);
}

TEST(ItemFile, ALongerFileCountsByItsFirst400Bytes) {
  TempDir dir;
  const std::string bytes = RecordBuilder().ident(7).bytes();
  const auto item = ReadItemFile(dir.write("A.ITM", bytes + std::string(100, '\x55')));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->status, ItemFileStatus::kItem);
  EXPECT_EQ(item->record.view(), bytes);
}

TEST(ItemFile, AShortFileIsNotAnItemAndKeepsNoBytes) {
  TempDir dir;
  const auto item = ReadItemFile(dir.write("A.ITM", RecordBuilder().ident(7).bytes().substr(0, 399)));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->status, ItemFileStatus::kNotAnItem);
  EXPECT_EQ(item->size, 399u);
  EXPECT_EQ(item->record.view(), std::string(400, '\0'));
  EXPECT_EQ(NotAnItemMessage("/p/A.ITM", 399), "/p/A.ITM: not an item file (399 bytes, an item has 400)");
}

TEST(ItemFile, AReadOnlyFileIsReadNormally) {
  TempDir dir;
  const auto path = dir.write("A.ITM", RecordBuilder().ident(9).bytes());
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  const auto item = ReadItemFile(path);
  ASSERT_TRUE(item) << item.error();
  EXPECT_EQ(item->record.Ident(), 9u);
}

TEST(ItemFile, AMissingFileIsAnErrorNamingTheFile) {
  TempDir dir;
  const auto item = ReadItemFile(dir.file("NOPE.ITM"));
  ASSERT_FALSE(item);
  EXPECT_NE(item.error().find(dir.file("NOPE.ITM")), std::string::npos) << item.error();
  EXPECT_NE(item.error().find("No such file"), std::string::npos) << item.error();
}

TEST(ItemFile, ADirectoryIsAnErrorNamingIt) {
  TempDir dir;
  const auto item = ReadItemFile(dir.mkdir("SUB.ITM"));
  ASSERT_FALSE(item);
  EXPECT_NE(item.error().find("SUB.ITM"), std::string::npos) << item.error();
}

TEST(ItemDump, TwentyFiveLinesWithDecimalOffsets) {
  const auto record = RecordBuilder().build();
  const auto hex = ItemDumpLines(record, false);
  ASSERT_EQ(hex.size(), 25u);
  EXPECT_EQ(hex[0].substr(0, 17), "000: 49 54 4D 30 ");
  EXPECT_EQ(hex[1].substr(0, 5), "016: ");
  EXPECT_EQ(hex[24].substr(0, 5), "384: ");
  for (const auto& line : hex) {
    EXPECT_EQ(line.size(), 5u + 16 * 3) << line;
    EXPECT_EQ(line.back(), ' ');
  }
  const auto dec = ItemDumpLines(record, true);
  ASSERT_EQ(dec.size(), 25u);
  EXPECT_EQ(dec[0].substr(0, 21), "000: 073 084 077 048 ");
  for (const auto& line : dec) EXPECT_EQ(line.size(), 5u + 16 * 4) << line;
}

TEST(ItemDump, LastLineHoldsBytes384To399) {
  const auto record = RecordBuilder().baseItem(0xAB).u8(399, 0xFF).build();
  const auto hex = ItemDumpLines(record, false);
  EXPECT_EQ(hex[24], "384: 00 00 00 00 00 00 00 00 AB 00 00 00 00 00 00 FF ");
  const auto dec = ItemDumpLines(record, true);
  EXPECT_EQ(dec[24], "384: 000 000 000 000 000 000 000 000 171 000 000 000 000 000 000 255 ");
}

// The names beside the dump: each field on the line that holds its first byte, in offset order.
TEST(ItemDump, FieldNamesStandBesideTheLineOfTheirFirstByte) {
  const auto lines = ItemDumpFieldLines();
  ASSERT_EQ(lines.size(), 25u);
  struct Case {
    std::size_t line;
    const char* names;
  };
  const Case cases[] = {
      {0, "Signature"},
      {1, ""},
      {2, "Ident, CreateInfo, Source, ItemClass"},  // 32 36 37 40
      {5, "Identified, PlainName"},                 // 88 93
      {9, "Name"},                                  // 157
      {14, "Price, MinDamage"},                     // 232 236; MaxDamage 240 opens line 15
      {21, "SpellLevels, UniqueIndex, FireDamageMin, FireDamageMax"},
      {22, "LightningDamageMin, LightningDamageMax, PrefixPower, SuffixPower"},
      {23, "AffixValueA, AffixValueB, Quality"},
      {24, "ReqStrength, ReqMagic, ReqDexterity, BaseItem"},  // 384 ... 392
  };
  for (const Case& c : cases) EXPECT_EQ(lines[c.line], c.names) << "line " << c.line;
  std::size_t last = 0;
  for (const RecordFieldName& field : RecordFieldNames()) {
    EXPECT_GE(field.offset, last) << field.name;
    EXPECT_LT(field.offset, kItemRecordSize) << field.name;
    last = field.offset;
  }
}

}  // namespace
}  // namespace relicor
