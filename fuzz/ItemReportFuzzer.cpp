// The item report over any record, file name and sidecar, in text and in HTML mode.
//
// Input: a switch byte (bit 0 HTML mode, 1 V&K mode, 2 Additional Info, 3 brief pages, 4 the item
// is registered in the database; bits 5-7 unused), a byte that is not used (the page class, once),
// the length of the file name and the name, then the 400-byte record (a shorter one is filled
// with zero bytes), then the text of the item's sidecar.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "html/ItemRows.h"
#include "identify/ItemReport.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Ini.h"
#include "pool/ItemCache.h"
#include "pool/Sidecar.h"
#include "shell/TextExport.h"
#include "text/DateText.h"
#include "validate/Database.h"

namespace {

using namespace relicor;

bool ContainsNoCase(std::string_view text, std::string_view word) {
  for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
    std::size_t i = 0;
    while (i < word.size() && (text[at + i] | 0x20) == word[i]) ++i;
    if (i == word.size()) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::uint8_t switches = in.Byte();
  const bool html = (switches & 0x01) != 0;
  (void)in.Byte();
  const std::string name(in.Take(in.Byte() % 64));
  std::string bytes(in.Take(kItemRecordSize));
  bytes.resize(kItemRecordSize, '\0');
  const std::string_view sidecarText = in.Rest();

  // 5 Dec 2026, noon; the file is two days older.
  static const FixedClock clock(EncodeDateTime(CivilDateTime{2026, 12, 5, 12, 0, 0, 0}));
  const DateTime fileDate = clock.Now() - 2.0;

  const ItemRecord record = ItemRecord::FromBytes(bytes);
  ItemMeta meta;
  static_cast<SidecarValues&>(meta) = SidecarValuesFromIni(Ini::Parse(sidecarText), clock.Now(), fileDate);
  meta.fileDate = fileDate;
  const std::string directory = "/pool/";
  const std::string path = directory + name + ".ITM";
  const ItemEntry entry(path, record, meta);

  Database database(fuzz::ScratchDirectory() + "IDENT.ID");
  if ((switches & 0x10) != 0) {
    fuzz::Expect(AtomicReplaceFile(database.filePath(), EncodeDatabaseRecord(record)).ok(),
                 "IDENT.ID could not be written");
    fuzz::Expect(database.Load().ok(), "IDENT.ID could not be read");
  }

  ReportOptions options;
  options.mode = !html                    ? ReportMode::kText
                 : (switches & 0x08) != 0 ? ReportMode::kBriefPage
                                          : ReportMode::kPage;
  options.vkMode = (switches & 0x02) != 0;
  options.additionalInfo = (switches & 0x04) != 0;
  options.startTime = clock.Now();
  options.today = clock.Now();
  options.directory = directory;
  const ItemReport report = BuildReport(entry, options, database);

  if (html) {
    // Texts from the file and the sidecar are escaped: no markup of theirs reaches the page.
    std::string page;
    AppendItemRows(page, report, path, ItemRowOptions{"keeper@example.org", directory});
    fuzz::Expect(!ContainsNoCase(page, "<script"), "markup from the item reached the page");
    if (report.hidden) fuzz::Expect(page.empty(), "a hidden item wrote rows");
  } else {
    // Every line of the report is one line of the export.
    std::string text;
    AppendExportText(text, report);
    std::size_t expected = 0;
    for (const std::string_view line : report.lines) expected += line.size() + 2;
    fuzz::Expect(text.size() == expected, "the export differs from the report");
  }
  return 0;
}
