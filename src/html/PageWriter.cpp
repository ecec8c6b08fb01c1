#include "html/PageWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <numeric>
#include <string_view>
#include <system_error>
#include <thread>
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
  text_.clear();
  // The room a page's text takes before it goes on to its file, taken once for every page: grown
  // step by step, it would take twice that.
  if (text_.capacity() < kPageRoomBytes) text_.reserve(kPageRoomBytes);
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
  text_ += text;
  text_ += "\r\n";
}

void PageFile::SpillIfLarge() {
  if (!open_ || !spillStatus_ || text_.size() < kPageSpillBytes) return;
  if (spilled_ == nullptr) {
    spilled_ = std::make_unique<AtomicFileWriter>(path_);
    spillStatus_ = spilled_->Open();
  }
  if (spillStatus_) spillStatus_ = spilled_->Write(text_);
  // After a failure the text stays here; the close reports the failure.
  if (spillStatus_) text_.clear();
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
  const std::string text = std::exchange(text_, std::string());
  std::unique_ptr<AtomicFileWriter> spilled = std::move(spilled_);
  const Status spillStatus = std::exchange(spillStatus_, Status{});
  if (auto before = Finish(); !before) return before;
  return WritePage(path_, spilled.get(), spillStatus, text, set_);
}

Status PageFile::CloseBehind() {
  if (!open_) return Finish();
  open_ = false;
  std::shared_ptr<AtomicFileWriter> spilled = std::move(spilled_);
  Status spillStatus = std::exchange(spillStatus_, Status{});
  if (auto before = Finish(); !before) {
    text_.clear();
    return before;
  }
  // The rest of the page goes on to its temporary file here, so that the page file keeps its room
  // and no copy of the text waits; only the flush and the putting in place go on behind.
  if (spillStatus && spilled == nullptr) {
    spilled = std::make_shared<AtomicFileWriter>(path_);
    spillStatus = spilled->Open();
  }
  if (spillStatus) spillStatus = spilled->Write(text_);
  text_.clear();
  auto write = [spilled, spillStatus, set = set_]() -> Status {
    if (!spillStatus) return spillStatus;
    return set != nullptr ? set->Add(*spilled) : spilled->Commit();
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
  text_ = std::string();
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

namespace {

// Fewer items than this are sorted faster than a thread starts.
constexpr std::size_t kFewestItemsForTwoThreads = 4096;

// The items `from` to `to` of a page order in the making: each name folded to capitals, the page
// class, and the positions in name order (equal names in the order of the list). Prepare takes
// all the room, so that Make, run on a thread of its own, takes none: a thread's first block of
// memory would start a heap of its own that stays for the rest of the run.
//
// A pool holds the same names again and again, so the names are told apart first: each distinct
// name is sorted once, and the items then go to their names' places in their own order.
struct SortedPart {
  static constexpr std::uint32_t kEmptySlot = ~std::uint32_t{0};

  std::size_t from = 0;
  std::size_t to = 0;
  std::string folded;
  std::vector<std::uint32_t> starts;  // where each name starts in `folded`, and where the last ends
  std::vector<std::uint32_t> order;
  std::vector<std::uint32_t> nameOf;   // each item's name, numbered as the names first come
  std::vector<std::uint32_t> firstOf;  // of each name, the first item that has it
  // A table of the names' numbers (open addressing, at most half full); once the names are
  // numbered, the place of each name in name order and where its items start in the order.
  std::vector<std::uint32_t> slots;

  void Prepare(std::size_t first, std::size_t end) {
    from = first;
    to = end;
    const std::size_t count = to - from;
    // Room for the longest names; the pages of what is not used are never touched.
    folded.reserve(count * (offset::kIdentifiedNameEnd - offset::kIdentifiedName));
    starts.resize(count + 1);
    order.resize(count);
    nameOf.resize(count);
    firstOf.reserve(count);
    slots.resize(std::max<std::size_t>(16, 2 * count + 1));
  }

  void Make(const std::vector<ScannedItem>& items, std::uint8_t* classes) {
    for (std::size_t i = from; i < to; ++i) {
      const ItemRecord record = items[i].entry->Record();
      starts[i - from] = static_cast<std::uint32_t>(folded.size());
      std::string_view name =
          record.view().substr(offset::kIdentifiedName, offset::kIdentifiedNameEnd - offset::kIdentifiedName);
      name = name.substr(0, name.find('\0'));
      for (const char c : name) folded += AsciiUpper(c);
      classes[i] = static_cast<std::uint8_t>(PageClassOfItem(record));
    }
    starts[to - from] = static_cast<std::uint32_t>(folded.size());
    const std::size_t count = to - from;

    std::fill(slots.begin(), slots.end(), kEmptySlot);
    firstOf.clear();
    for (std::size_t k = 0; k < count; ++k) {
      const std::string_view name = NameAt(k);
      std::size_t slot = std::hash<std::string_view>{}(name) % slots.size();
      while (slots[slot] != kEmptySlot && NameAt(firstOf[slots[slot]]) != name) {
        if (++slot == slots.size()) slot = 0;
      }
      if (slots[slot] == kEmptySlot) {
        slots[slot] = static_cast<std::uint32_t>(firstOf.size());
        firstOf.push_back(static_cast<std::uint32_t>(k));
      }
      nameOf[k] = slots[slot];
    }

    // The names in name order, no two alike, for the moment in the first places of `order`.
    const std::size_t names = firstOf.size();
    const auto byName = order.begin() + static_cast<std::ptrdiff_t>(names);
    std::iota(order.begin(), byName, std::uint32_t{0});
    std::sort(order.begin(), byName,
              [this](std::uint32_t a, std::uint32_t b) { return NameAt(firstOf[a]) < NameAt(firstOf[b]); });
    std::uint32_t* const rank = slots.data();
    std::uint32_t* const begin = slots.data() + names;  // names + 1 of them
    for (std::size_t r = 0; r < names; ++r) rank[order[r]] = static_cast<std::uint32_t>(r);
    std::fill(begin, begin + names + 1, 0);
    for (std::size_t k = 0; k < count; ++k) ++begin[rank[nameOf[k]] + 1];
    for (std::size_t r = 0; r < names; ++r) begin[r + 1] += begin[r];
    // Equal names in their items' order: the order of a stable sort.
    for (std::size_t k = 0; k < count; ++k)
      order[begin[rank[nameOf[k]]]++] = static_cast<std::uint32_t>(from + k);
  }
  std::string_view Name(std::uint32_t i) const { return NameAt(i - from); }
  std::string_view NameAt(std::size_t k) const {
    return std::string_view(folded).substr(starts[k], starts[k + 1] - starts[k]);
  }
};

}  // namespace

void SortPageItems(std::vector<ScannedItem>& items) {
  (void)SortPageItemsWithClasses(items, false);
}

std::vector<std::uint8_t> SortPageItemsWithClasses(std::vector<ScannedItem>& items, bool twoThreads) {
  // Each newly listed name goes before the equal names already there.
  std::reverse(items.begin(), items.end());
  const std::size_t count = items.size();
  std::vector<std::uint8_t> classes(count);
  std::array<SortedPart, 2> parts;
  const std::size_t half = twoThreads && count >= kFewestItemsForTwoThreads ? count / 2 : count;
  parts[0].Prepare(0, half);
  parts[1].Prepare(half, count);
  {
    std::jthread second;
    if (half < count) {
      try {
        second = std::jthread([&] { parts[1].Make(items, classes.data()); });
      } catch (const std::system_error&) {
        parts[1].Make(items, classes.data());  // no thread to be had
      }
    }
    parts[0].Make(items, classes.data());
  }
  // The two parts merged: on equal names, the first part's item first, as one sort keeps them.
  std::vector<std::uint32_t> order;
  if (half == count) {
    order = std::move(parts[0].order);
  } else {
    const auto name = [&parts](std::uint32_t i) { return parts[i < parts[1].from ? 0 : 1].Name(i); };
    order.resize(count);
    std::merge(parts[0].order.begin(), parts[0].order.end(), parts[1].order.begin(), parts[1].order.end(),
               order.begin(), [&name](std::uint32_t a, std::uint32_t b) { return name(a) < name(b); });
  }
  parts = {};
  // The entries and their classes put in that order where they are, one cycle of the order after
  // the other (a place that has its entry is marked by its own number in the order).
  for (std::size_t start = 0; start < count; ++start) {
    if (order[start] == start) continue;
    const ItemEntry* const firstEntry = items[start].entry;
    const std::uint8_t firstClass = classes[start];
    std::size_t at = start;
    while (order[at] != start) {
      const std::size_t from = order[at];
      items[at].entry = items[from].entry;
      classes[at] = classes[from];
      order[at] = static_cast<std::uint32_t>(at);
      at = from;
    }
    items[at].entry = firstEntry;
    classes[at] = firstClass;
    order[at] = static_cast<std::uint32_t>(at);
  }
  return classes;
}

}  // namespace relicor
