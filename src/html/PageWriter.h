#pragma once
// The building blocks of the published pages: the page file with its head, the navigation bar,
// the class tabs and the page end of a class page, and the order of the page item list.
//
// A page's text collects in the page file's buffer, where the item rows go too, and reaches the
// file with one atomic replace when the page is closed: a run that stops never leaves half a page
// behind.

#include <array>
#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "identify/ItemReport.h"
#include "item/ItemRecord.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/Result.h"
#include "platform/Settings.h"
#include "pool/ScanDirectory.h"

namespace relicor {

// The page class that gathers the unique items of every class.
inline constexpr int kUniquePageClass = 14;

// The page classes in the order their pages are written: 1 to 14 without 11 (Gold). Class 0
// (Book) has no page either; 14 (kUniquePageClass) gathers the unique items of every class.
inline constexpr std::size_t kPageClassCount = 13;
// clang-format off
inline constexpr std::array<int, kPageClassCount> kPageClasses{{
    1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14,
}};
// clang-format on

// The groups of the group bar: 1 to 9 without 6 (Gold).
inline constexpr std::size_t kBarGroupCount = 8;
// clang-format off
inline constexpr std::array<int, kBarGroupCount> kBarGroups{{
    1, 2, 3, 4, 5, 7, 8, 9,
}};
// clang-format on

// The page an item is listed on: 14 for a unique item, otherwise its class when that class has a
// page; 0 when it is on no page (Book, Gold, unknown classes, no item signature).
int PageClassOfItem(const ItemRecord& record);

// prefix + class number + class name + ".htm", e.g. "itm2Axe.htm" or "itms2Axe.htm".
std::string ClassPageFileName(const HtmlOptionValues& options, bool brief, int pageClass);

// The page being written. Only one page is open at a time.
class PageFile {
 public:
  // With a `set`, a closed page goes into the set (under a temporary name) instead of replacing
  // its file at once; the set puts all its pages in place together.
  explicit PageFile(FileSetWriter* set = nullptr) : set_(set) {}
  // The set its pages go into (null: each replaces its file at once).
  FileSetWriter* Set() const { return set_; }
  // Drops an open page and waits for a page that is being written.
  ~PageFile();
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;

  // Starts the page `path`: empties the page buffer and writes the head. A page still open is
  // dropped first.
  void WritePageHead(const std::string& path, const HtmlOptionValues& options);

  // One line of the page (CR LF is added).
  void WriteLine(std::string_view text);
  // The page's text not yet handed on to its file, for the item rows to be appended to it.
  std::string& Text() { return text_; }

  // Once the page's text has grown large, moves it on to the page's temporary file, so that a
  // page of a large pool is never held whole in memory. The page still reaches its file only
  // when it is closed; a write that fails here is the result of the close.
  void SpillIfLarge();

  // Replaces the file with the page's text. An error names the
  // file; the file then keeps its earlier content. A page closed before with CloseBehind reaches
  // its file first; when it fails, its error is returned and this page is dropped.
  Status Close();

  // As Close, but the file is replaced while the caller goes on (the text goes on to the
  // temporary file at once; the flush and the rename follow behind, and the page file keeps the
  // room of its text): the result is the one of the page closed before, as Finish gives it, and
  // this page's own result comes with the next Finish. Pages reach their files in the order they
  // are closed, and none after one that failed.
  Status CloseBehind();

  // Waits until the page handed over by CloseBehind is in its file: its error, if it failed.
  Status Finish();

  // Drops an unfinished page; nothing is written.
  void Abandon();

  bool IsOpen() const { return open_; }
  const std::string& Path() const { return path_; }

 private:
  std::string text_;
  FileSetWriter* set_ = nullptr;
  std::string path_;
  bool open_ = false;
  std::unique_ptr<AtomicFileWriter> spilled_;  // the page's temporary file, once text went there
  Status spillStatus_;                         // the first failure of a spill
  std::future<Status> writing_;                // the page handed over by CloseBehind
};

// The text of a page that grows beyond this many bytes goes on to its file while it is made.
inline constexpr std::size_t kPageSpillBytes = std::size_t{64} << 10;
// The room a page file keeps for its text: the spill size and the rows of an item or two past it.
inline constexpr std::size_t kPageRoomBytes = kPageSpillBytes + (std::size_t{8} << 10);

// One link of the group bar: group `group` linking to the first class page of the group.
std::string GroupLinkLine(const std::string& prefix, int group);

// The navigation bar of class page `pageClass` of the detail or the brief variant.
void WriteNavigationBar(PageFile& page, const HtmlOptionValues& options, int pageClass, bool brief);

// The tabs of the classes in the group of `pageClass`, followed by the opening of the item table.
void WriteClassTabs(PageFile& page, const HtmlOptionValues& options, int pageClass, bool brief);

// Closes the item table, the body and the page.
void WritePageEnd(PageFile& page);

// Puts the scanned items in page order: by name without regard to letter case; items with equal
// names in the reverse of the order in which the scan found them.
void SortPageItems(std::vector<ScannedItem>& items);

// As SortPageItems, and gives the page class of each item in the new order (PageClassOfItem),
// taken from the same look at each record. With `twoThreads`, the two halves of a long list are
// looked at and sorted side by side.
std::vector<std::uint8_t> SortPageItemsWithClasses(std::vector<ScannedItem>& items, bool twoThreads);

}  // namespace relicor
