#pragma once
// A pool, a sent directory and everything a publishing run needs, in a temporary directory.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "html/PublishContext.h"
#include "identify/ItemReport.h"
#include "platform/Clock.h"
#include "platform/Settings.h"
#include "pool/ItemCache.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "text/DateText.h"
#include "validate/Database.h"

namespace relicor::test {

inline DateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
  CivilDateTime c;
  c.year = year;
  c.month = month;
  c.day = day;
  c.hour = hour;
  c.minute = minute;
  return EncodeDateTime(c);
}

// The lines of a text with CR LF line ends (a missing last line end is reported as a line too).
inline std::vector<std::string> CrLfLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(std::string(text.substr(start)) + "<no line end>");
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

struct Bookkeeping {
  std::string sender;
  std::string sendTo;
  std::string added;   // dd.mm.yyyy, empty for none
  std::string sentAt;  // dd.mm.yyyy, empty for none
};

class PublishFixture : public ::testing::Test {
 protected:
  PublishFixture() { report.options.startTime = At(2026, 3, 10, 9, 0); }

  PublishContext Context() {
    return PublishContext{report, options, out, subdirs, sent, pool, home, members, {}, {}};
  }

  // Writes an ITM file (and its sidecar when there is bookkeeping) below the temporary directory.
  std::string AddItem(const std::string& relPath, const RecordBuilder& record, const Bookkeeping& book = {}) {
    const std::string path = tmp.write(relPath, record.bytes());
    if (!book.sender.empty() || !book.sendTo.empty() || !book.added.empty() || !book.sentAt.empty()) {
      std::string ini = "[Iteminfos]\r\n";
      if (!book.sender.empty()) ini += "SenderName=" + book.sender + "\r\n";
      if (!book.sendTo.empty()) ini += "SendTo=" + book.sendTo + "\r\n";
      if (!book.added.empty()) ini += "AddedItem=" + book.added + "\r\n";
      if (!book.sentAt.empty()) ini += "SentAt=" + book.sentAt + "\r\n";
      tmp.write(relPath.substr(0, relPath.size() - 3) + "IT0", ini);
    }
    return path;
  }

  std::vector<std::string> OutLines(std::string_view name) const {
    return CrLfLines(tmp.read("out/" + std::string(name)));
  }
  std::string OutText(std::string_view name) const { return tmp.read("out/" + std::string(name)); }

  TempDir tmp;
  std::string out = tmp.mkdir("out");
  std::string sent = tmp.mkdir("sent");
  std::string pool = tmp.mkdir("pool");
  std::string home = tmp.mkdir("home") + "/";
  bool subdirs = true;
  FixedClock clock{At(2026, 3, 10, 9, 30)};
  ItemCache cache{clock};
  Database database{tmp.file("IDENT.ID")};
  PublishReports report{cache, database, clock};
  HtmlOptionValues options;
  std::vector<std::string> members;
};

}  // namespace relicor::test
