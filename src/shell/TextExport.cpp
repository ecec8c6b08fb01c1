#include "shell/TextExport.h"

#include "platform/FileSystem.h"
#include "pool/ItemReadAhead.h"
#include "shell/SeedCheck.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Appends `line` with every control byte written as '?'.
void AppendOneLine(std::string& text, std::string_view line) {
  const std::size_t start = text.size();
  text += line;
  for (std::size_t i = start; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) text[i] = '?';
  }
}

}  // namespace

void AppendExportText(std::string& text, const ItemReport& report) {
  bool first = true;
  for (const std::string_view line : report.lines) {
    if (first) {
      AppendOneLine(text, line);
      first = false;
    } else {
      text += line;
    }
    text += kCrLf;
  }
  if (!report.verdict.empty()) {
    text += report.verdict;
    text += kCrLf;
  }
}

Status ReportItemFile(const TextReports& reports, const std::string& path, const SidecarListing* sidecars,
                      ItemReport& report, ItemReadAhead* ahead) {
  report.Clear();
  ItemCache& cache = reports.cache;
  auto loaded = cache.LoadItem(path, sidecars, ahead);
  if (!loaded) return loaded.failure();
  if (*loaded == LoadStatus::kNotAnItem) {
    if (reports.notAnItem) reports.notAnItem(path);
    return {};
  }
  BuildReport(*cache.CurrentEntry(), reports.options, reports.database, report);
  if (reports.debugLine) {
    for (const std::string_view line : report.debugLines) reports.debugLine(line);
  }
  return {};
}

Result<std::string> WriteTextExport(const TextReports& reports, const TextExportRun& run, ItemReport& report,
                                    TextExportEnd& end) {
  end = TextExportEnd{};
  const std::string path = JoinPath(run.directory, kExportFileName);
  AtomicFileWriter file(path);
  if (auto opened = file.Open(); !opened) return opened.failure();
  std::string text = std::string(kExportTitle) + "\r\n\r\n";
  if (auto written = file.Write(text); !written) return written.failure();
  text.clear();
  // A report is a few hundred bytes: the list grows no further than a piece and one more report.
  text.reserve(kExportFlushBytes + kExportFlushBytes / 4);
  end.began = true;

  // Worker threads read the item files ahead, in the list's order, while this thread reports.
  const std::vector<std::string>& names = run.fileNames;
  const std::string prefix = JoinPath(run.directory, "");
  ItemReadAhead ahead(
      prefix, names.size(), [&](std::size_t i) -> std::string_view { return names[i]; }, run.sidecars,
      run.itemDates);
  const int count = static_cast<int>(names.size());
  Status writeFailure;
  Status reportFailure;
  std::string itemPath;
  for (int i = 0; i < count; ++i) {
    if (run.progress) run.progress((i + 1) * 100 / count);
    end.selected = i;
    itemPath = prefix;
    itemPath += names[static_cast<std::size_t>(i)];
    reportFailure = ReportItemFile(reports, itemPath, run.sidecars, report, &ahead);
    if (report.isItem) {
      end.lastItem = reports.cache.CurrentEntry();
      if (run.seedCheck && !report.lines.empty()) report.verdict = SeedCheckLine(reports.cache.CurrentItem());
    }
    AppendExportText(text, report);
    if (text.size() >= kExportFlushBytes || !reportFailure || i == count - 1) {
      writeFailure = file.Write(text);
      text.clear();
      if (!writeFailure) break;
    }
    if (!reportFailure) break;
  }
  if (!writeFailure) return writeFailure.failure();
  if (auto committed = file.Commit(); !committed) return committed.failure();
  if (!reportFailure) return MakeError("export stopped: " + reportFailure.error());
  return "Item list written to " + path;
}

}  // namespace relicor
