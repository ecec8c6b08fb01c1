// The item report over any record, file name and sidecar, in text and in HTML mode.
//
// Input: a switch byte (bit 0 HTML mode, 1 V&K mode, 2 Additional Info, 3 brief pages, 4 the item
// is registered in the database, 5 debug log, 6 dump window, 7 decimal view), the page class, the
// length of the file name and the name, then the 400-byte record (a shorter one is filled with
// zero bytes), then the text of the item's sidecar.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "identify/ItemReport.h"
#include "identify/LineSink.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Ini.h"
#include "pool/ItemCache.h"
#include "pool/Sidecar.h"
#include "text/DateText.h"
#include "validate/Database.h"

namespace {

using namespace relicor;

class DiscardingDebug : public DebugLineSink {
 public:
  void WriteDebugLine(std::string_view text) override { bytes += text.size(); }
  std::size_t bytes = 0;
};

class DiscardingDump : public ItemDumpDisplay {
 public:
  void ShowItemDump(const ItemRecord& record, bool) override { shown = record.view().size(); }
  void HideItemDump() override { shown = 0; }
  std::size_t shown = 0;
};

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
  const int pageClass = in.Byte() % (kUniquePageClass + 1);
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

  ItemCache cache(clock);
  LineSink sink;
  DiscardingDebug debug;
  DiscardingDump dump;
  ReportContext ctx(cache, database, sink, clock);
  ctx.startTime = clock.Now();
  ctx.options.vkMode = (switches & 0x02) != 0;
  ctx.options.additionalInfo = (switches & 0x04) != 0;
  ctx.options.dumpWindow = (switches & 0x40) != 0;
  ctx.options.decimalView = (switches & 0x80) != 0;
  ctx.options.mailAddress = "keeper@example.org";
  ctx.page.pageClass = pageClass;
  ctx.page.briefMode = (switches & 0x08) != 0;
  if ((switches & 0x20) != 0) ctx.debugLog = &debug;
  ctx.dumpDisplay = &dump;

  sink.SetHtml(html);
  sink.SetTextExport(!html);
  const ReportOutcome outcome = ReportItem(ctx, path, directory, entry);

  if (html) {
    // Texts from the file and the sidecar are escaped: no markup of theirs reaches the page.
    fuzz::Expect(!ContainsNoCase(sink.PageText(), "<script"), "markup from the item reached the page");
    if (outcome == ReportOutcome::kNotOnPage)
      fuzz::Expect(sink.PageText().empty(), "an item off the page wrote rows");
  } else {
    // Every line of the report is one line of the export.
    std::size_t expected = 0;
    for (const std::string& line : sink.OutputList()) expected += line.size() + kLineEnd.size();
    fuzz::Expect(sink.ExportText().size() == expected, "the export differs from the output list");
  }
  return 0;
}
