// Writes the pool the browser tests publish: the sample publication's real game items (every
// item type, copies, a hidden and a short-information item, a sent directory) and a few made ones
// whose names the tests look for: an accented name, three copies of one item, markup in a name
// and in a sender.
//
//   relicor-search-fixture DIR    writes DIR/out (the pool and the pages' directory), DIR/sent,
//                                 DIR/pool (rules.txt) and DIR/home

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "html/SamplePublication.h"
#include "support/RecordBuilder.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& content) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void AddMade(const fs::path& dir, const std::string& file, const std::string& name, int itemClass, int price,
             const std::string& sidecar) {
  relicor::test::RecordBuilder item;
  item.name(name).plainName(name).itemClass(static_cast<std::uint8_t>(itemClass)).identified(1).price(price);
  Write(dir / (file + ".ITM"), item.bytes());
  Write(dir / (file + ".IT0"), sidecar);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: relicor-search-fixture DIR\n";
    return 2;
  }
  using relicor::test::SampleSidecar;
  const fs::path dir = argv[1];
  try {
    fs::remove_all(dir);
    for (const relicor::test::SampleFile& file : relicor::test::SamplePublication()) {
      Write(dir / file.relPath, std::string(file.record.view()));
      if (!file.sidecar.empty())
        Write(dir / (file.relPath.substr(0, file.relPath.size() - 3) + "IT0"), file.sidecar);
    }
    Write(dir / "pool" / "rules.txt", "Be fair.\r\n");
    Write(dir / "home" / "RELICOR.INI", "[RELICOR]\r\nMailAddress=keeper@example.org\r\n");
    const fs::path out = dir / "out";
    AddMade(out, "ZURICH", "Z\xfcrich Blade", 1, 777, SampleSidecar("\xc4rger", "05.03.2026"));
    for (int i = 1; i <= 3; ++i) {
      AddMade(out / "falchions", "F" + std::to_string(i), "Bent Falchion", 1, 1200,
              SampleSidecar(i == 2 ? "Olaf" : "Conan", "0" + std::to_string(i) + ".02.2026"));
    }
    AddMade(out, "BOLD", "<b>Bold</b> Axe", 2, 50, SampleSidecar("<img src=x>", "07.03.2026"));
    AddMade(out, "CHEAP", "Cheap Ring", 12, 1, SampleSidecar("Birte", "08.03.2026"));
  } catch (const std::exception& e) {
    std::cerr << "relicor-search-fixture: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
