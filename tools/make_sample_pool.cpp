// Writes the bundled sample pool: synthetic items made with the record builder.
//   make-sample-pool DIR

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "support/RecordBuilder.h"

using relicor::test::RecordBuilder;

namespace {

void WriteItem(const std::filesystem::path& dir, const std::string& file, const RecordBuilder& item) {
  std::ofstream out(dir / file, std::ios::binary | std::ios::trunc);
  const std::string bytes = item.bytes();
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-sample-pool DIR\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);

  // A magic short sword: "king's short sword of the zodiac".
  WriteItem(dir, "KingsSword.ITM",
            RecordBuilder()
                .ident(0x1A2B3C4D)
                .createInfo(30)
                .source(1)
                .itemClass(1)
                .identified(1)
                .plainName("Short Sword")
                .name("King's Short Sword of the Zodiac")
                .price(81000)
                .minDamage(2)
                .maxDamage(6)
                .durability(24)
                .maxDurability(24)
                .pctDamage(175)
                .pctToHit(80)
                .addStrength(18)
                .addMagic(18)
                .addDexterity(18)
                .addVitality(18)
                .baseItem(114));
  std::cout << "sample pool written to " << dir.string() << "\n";
  return 0;
}
