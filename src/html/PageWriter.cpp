#include "html/PageWriter.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <system_error>
#include <utility>

#include "html/PublishOptions.h"
#include "html/Stylesheet.h"
#include "item/ItemClasses.h"
#include "platform/FileSystem.h"
#include "text/ByteText.h"

namespace relicor {

int PageClassOfItem(const ItemRecord& record) {
  if (!record.HasSignature()) return 0;
  if (record.IsUnique()) return kUniquePageClass;
  const int itemClass = record.ItemClass();
  const bool hasPage = std::find(kPageClasses.begin(), kPageClasses.end(), itemClass) != kPageClasses.end();
  return hasPage && itemClass != kUniquePageClass ? itemClass : 0;
}

std::string ClassPageFileName(const HtmlOptionValues& options, bool brief, int pageClass) {
  return OutputPrefix(options, brief) + std::to_string(pageClass) + std::string(ClassName(pageClass)) +
         ".htm";
}

void PageFile::WritePageHead(const std::string& path, const HtmlOptionValues& options) {
  Abandon();
  path_ = path;
  open_ = true;
  (void)sink_.TakePageText();
  sink_.SetFirstCellWritten(false);
  sink_.SetPendingLabels(0);
  sink_.SetHtml(true);
  WriteLine("<HTML>");
  // The head's opening tag, so that "</HEAD>" below closes something.
  WriteLine("<HEAD>");
  WriteLine("   <TITLE>Items</TITLE>");
  WriteLine("<LINK HREF=\"" + StylesheetFileName(options) + "\" REL=\"stylesheet\" TITLE=\"PoolStyle\">");
  WriteLine("</HEAD>");
  WriteLine("<BODY BGCOLOR=" + options.bgColor + ">");
  WriteLine("<CENTER>&nbsp;</CENTER>");
}

void PageFile::WriteLine(std::string_view text) {
  sink_.WritePageLine(text);
}

void PageFile::SpillIfLarge() {
  if (!open_ || !spillStatus_ || sink_.PageText().size() < kPageSpillBytes) return;
  if (spilled_ == nullptr) {
    spilled_ = std::make_unique<AtomicFileWriter>(path_);
    spillStatus_ = spilled_->Open();
  }
  if (spillStatus_) spillStatus_ = spilled_->Write(sink_.PageText());
  // After a failure the text stays here; the close reports the failure.
  if (spillStatus_) sink_.ClearPageText();
}

namespace {

// Puts a closed page into its file, or into the set of files: the rest of its text after what
// went on before.
Status WritePage(const std::string& path, AtomicFileWriter* spilled, const Status& spillStatus,
                 std::string_view text, FileSetWriter* set) {
  if (!spillStatus) return spillStatus;
  if (spilled == nullptr) return set != nullptr ? set->AddFile(path, text) : AtomicReplaceFile(path, text);
  if (auto written = spilled->Write(text); !written) return written;
  return set != nullptr ? set->Add(*spilled) : spilled->Commit();
}

}  // namespace

PageFile::~PageFile() {
  Abandon();
  (void)Finish();
}

Status PageFile::Close() {
  if (!open_) return {};
  open_ = false;
  sink_.SetHtml(false);
  const std::string text = sink_.TakePageText();
  std::unique_ptr<AtomicFileWriter> spilled = std::move(spilled_);
  const Status spillStatus = std::exchange(spillStatus_, Status{});
  if (auto before = Finish(); !before) return before;
  return WritePage(path_, spilled.get(), spillStatus, text, set_);
}

Status PageFile::CloseBehind() {
  if (!open_) return Finish();
  open_ = false;
  sink_.SetHtml(false);
  auto text = std::make_shared<const std::string>(sink_.TakePageText());
  std::shared_ptr<AtomicFileWriter> spilled = std::move(spilled_);
  const Status spillStatus = std::exchange(spillStatus_, Status{});
  if (auto before = Finish(); !before) return before;
  auto write = [path = path_, spilled, spillStatus, text, set = set_] {
    return WritePage(path, spilled.get(), spillStatus, *text, set);
  };
  try {
    writing_ = std::async(std::launch::async, write);
  } catch (const std::system_error&) {
    // No thread to write it: the page is written here and now.
    std::promise<Status> written;
    written.set_value(write());
    writing_ = written.get_future();
  }
  return {};
}

Status PageFile::Finish() {
  if (!writing_.valid()) return {};
  return writing_.get();
}

void PageFile::Abandon() {
  if (!open_) return;
  open_ = false;
  spilled_.reset();  // its temporary file goes
  spillStatus_ = {};
  sink_.SetHtml(false);
  (void)sink_.TakePageText();
}

std::string GroupLinkLine(const std::string& prefix, int group) {
  const int first = FirstClassOfGroup(group);
  return "<A CLASS=\"INV1\" HREF=\"" + prefix + std::to_string(first) + std::string(ClassName(first)) +
         ".htm\">" + std::string(GroupName(group)) + "</A>&nbsp;&nbsp; |&nbsp;&nbsp;";
}

void WriteNavigationBar(PageFile& page, const HtmlOptionValues& options, int pageClass, bool brief) {
  const std::string p = OutputPrefix(options, false);
  const std::string pv = OutputPrefix(options, brief);
  page.WriteLine("<CENTER><TABLE WIDTH=\"75%\">");
  page.WriteLine("<TR>");
  page.WriteLine("<TD NOWRAP>");
  page.WriteLine("<CENTER>");
  const std::string entrance =
      "<A HREF=\"" + p + "-IP2.htm\">ZUM EINGANG</A>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
  if (brief) {
    page.WriteLine(entrance + "<A HREF=\"" + ClassPageFileName(options, false, pageClass) +
                   "\">Details bitte!</A>&nbsp;&nbsp;");
  } else {
    page.WriteLine(entrance + "<A HREF=\"" + ClassPageFileName(options, true, pageClass) +
                   "\">Nur Namen anzeigen!</A>&nbsp;&nbsp;");
  }
  page.WriteLine("<A HREF=\"" + p + "-IPH.htm\">HISTORY</A>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");
  if (!options.headerUrl1.empty()) {
    page.WriteLine("<A HREF=\"" + options.headerUrl1 + "\">" + options.headerUrl1Name +
                   "</A>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");
  }
  page.WriteLine("</TD></TR><TD NOWRAP CLASS=\"INV1\">");
  for (const int group : kBarGroups) page.WriteLine(GroupLinkLine(pv, group));
  page.WriteLine("</TD>");
  page.WriteLine("</TR>");
  page.WriteLine("</TABLE></CENTER>");
  page.WriteLine("<CENTER>&nbsp;</CENTER>");
}

void WriteClassTabs(PageFile& page, const HtmlOptionValues& options, int pageClass, bool brief) {
  const int group = GroupOfClass(pageClass);
  page.WriteLine("<CENTER><TABLE COLS=" + std::to_string(ClassCountOfGroup(group)) + " WIDTH=\"60%\" >");
  page.WriteLine("<TR>");
  for (int k = 1; k < kClassCount; ++k) {
    if (GroupOfClass(k) != group) continue;
    const std::string name(ClassName(k));
    if (k == pageClass) {
      page.WriteLine("<TD><CENTER><FONT COLOR=\"#FF0000\">[-" + name + "-]</FONT></CENTER></TD>");
    } else {
      page.WriteLine("<TD><CENTER><A HREF=\"" + ClassPageFileName(options, brief, k) + "\">[-" + name +
                     "-]</A></CENTER></TD>");
    }
  }
  page.WriteLine("</TR>");
  page.WriteLine("</TABLE></CENTER>");
  page.WriteLine("<CENTER>&nbsp;</CENTER>");
  page.WriteLine("<CENTER><TABLE COLS=2 WIDTH=\"60%\">");
}

void WritePageEnd(PageFile& page) {
  page.WriteLine("</TABLE></CENTER>");
  page.WriteLine("</BODY>");
  page.WriteLine("</HTML>");
}

void SortPageItems(std::vector<ScannedItem>& items) {
  // Each newly listed name goes before the equal names already there.
  std::reverse(items.begin(), items.end());
  FoldedTexts names(items.size());
  for (const ScannedItem& item : items) names.Add(item.name());
  std::vector<std::uint32_t> order(items.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return names[a] < names[b]; });
  // The entries in that order, into the room the list already has.
  std::vector<const ItemEntry*> entries(items.size());
  for (std::size_t i = 0; i < order.size(); ++i) entries[i] = items[order[i]].entry;
  for (std::size_t i = 0; i < order.size(); ++i) items[i].entry = entries[i];
}

}  // namespace relicor
