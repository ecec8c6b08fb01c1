#pragma once
// Shared pieces of the window tests: a program directory with a pool, items made with the record
// builder, a fixed clock, and readers for lists and INI files.

#include <QAction>
#include <QListWidget>
#include <QStringList>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "gui/GuiText.h"
#include "gui/MessageBoxes.h"
#include "platform/Clock.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "text/DateText.h"

namespace relicor::test {

// 15.03.2024 10:30.
inline DateTime TestNow() {
  return EncodeDateTime({2024, 3, 15, 10, 30, 0, 0});
}

// A program directory (ends with a separator) with a pool directory POOL inside it.
class GuiHome {
 public:
  GuiHome() { dir_.mkdir("POOL"); }
  std::string programDir() const { return dir_.path() + "/"; }
  std::string pool() const { return dir_.file("POOL"); }
  const TempDir& dir() const { return dir_; }
  // Writes an item file into the pool (or `sub`, relative to the program directory).
  std::string WriteItem(const std::string& name, const RecordBuilder& item,
                        const std::string& sub = "POOL") const {
    return dir_.write(sub + "/" + name, item.bytes());
  }
  std::string ReadIni() const { return dir_.read("RELICOR.INI"); }

 private:
  TempDir dir_;
};

// A magic short sword: "King's Short Sword of the Zodiac".
inline RecordBuilder SwordItem() {
  return RecordBuilder()
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
      .baseItem(114);
}

// A plain long battle bow: base item 143, which V&K mode calls a crossbow.
inline RecordBuilder BowItem() {
  return RecordBuilder()
      .ident(0x00C0FFEE)
      .createInfo(12)
      .source(1)
      .itemClass(3)
      .identified(1)
      .plainName("Long Battle Bow")
      .name("Long Battle Bow")
      .price(1000)
      .minDamage(1)
      .maxDamage(10)
      .durability(50)
      .maxDurability(50)
      .baseItem(143);
}

// A "precious ring": base item 96 is one only in V&K mode; without it the row is the game's
// scroll of phasing (of the same class 0), so the report names and prices it as that scroll.
inline RecordBuilder RingItem() {
  return RecordBuilder()
      .ident(0x00BADA55)
      .createInfo(12)
      .source(1)
      .itemClass(0)
      .identified(1)
      .plainName("Precious Ring")
      .name("Precious Ring")
      .price(100000)
      .baseItem(96);
}

inline QStringList Texts(const QListWidget* list) {
  QStringList texts;
  for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
  return texts;
}

inline QStringList ToQtLines(const std::vector<std::string>& lines) {
  QStringList texts;
  for (const std::string& line : lines) texts << ToQt(line);
  return texts;
}

inline QStringList ToQtNames(const std::vector<std::string>& names) {
  QStringList texts;
  for (const std::string& name : names) texts << QString::fromStdString(name);
  return texts;
}

// key=value lines of an INI text (sections ignored).
inline std::map<std::string, std::string> IniValues(const std::string& content) {
  std::map<std::string, std::string> values;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && !line.empty() && line.front() != '[')
      values[line.substr(0, eq)] = line.substr(eq + 1);
    start = end + 1;
  }
  return values;
}

inline QAction* Action(QWidget* window, const char* name) {
  return window->findChild<QAction*>(name);
}

// Message boxes answered by the test: on for the whole test program.
inline void InterceptMessageBoxes() {
  MessageBoxes::SetIntercept(true);
  MessageBoxes::Reset();
}

inline QStringList ShownTexts() {
  QStringList texts;
  for (const MessageBoxes::Request& request : MessageBoxes::requests()) texts << request.text;
  return texts;
}

}  // namespace relicor::test
