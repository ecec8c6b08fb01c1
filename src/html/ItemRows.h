#pragma once
// The rows of one item in a class page, written from its report: the item-name cell (a request
// link by mail that shows the item's name), then one table row of two cells per report line. The
// first row's first cell is the name cell; for a new item the next row's first cell is the label
// "= New ="; every other first cell is empty. A hidden item has no rows.

#include <string>
#include <string_view>

#include "identify/ItemReport.h"

namespace relicor {

inline constexpr std::string_view kNewLabel = "= New =";

struct ItemRowOptions {
  std::string_view mailAddress;  // the request address; the keeper's own setting, written as it is
  // The published directory: the mail link names an item by its path relative to it, so a public
  // page never shows the keeper's own directories.
  std::string_view pageRoot;
};

// The path of an item as a page shows it: relative to `pageRoot` when it lies inside, otherwise
// its file name alone.
std::string PagePath(std::string_view path, std::string_view pageRoot);
// The same as a view into `path`.
std::string_view PagePathView(std::string_view path, std::string_view pageRoot);

// Appends the rows of the item at `path` to `page`. The report lines go in as they stand (the
// report escaped what it took from files); the path and the name are escaped here. A `rowId`
// (letters and digits) becomes the ID of the item's first row, a place other pages link to.
void AppendItemRows(std::string& page, const ItemReport& report, std::string_view path,
                    const ItemRowOptions& options, std::string_view rowId = {});

}  // namespace relicor
