// Reading the move journal RELICOR.JNL and the rename log RENAME.LOG from any bytes: both lie in
// the pool, where anyone who can write there can put anything.
//
// Input: one byte choosing the parser (even: journal, odd: rename log), then the file's bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "pool/MoveJournal.h"
#include "pool/RenameLog.h"

namespace {

void Journal(std::string_view text) {
  using namespace relicor;
  const auto journal = ParseJournal(text);
  if (!journal) return;
  for (const PlannedMove& move : journal->moves) {
    fuzz::Expect(!move.from.empty() && !move.to.empty(), "a move without a path");
  }
  // Whatever it names, the check of a journal decides without touching a file.
  (void)CheckJournal(*journal, "RELICOR.JNL", nullptr);
  // Written again and read back, it is the same journal.
  const std::string again = JournalText(*journal);
  const auto reread = ParseJournal(again);
  fuzz::Expect(reread.has_value(), "a journal's own text does not parse");
  fuzz::Expect(reread->legacy == journal->legacy, "the journal changed its version");
  fuzz::Expect(reread->moves.size() == journal->moves.size(), "moves lost on the way through the text");
  for (std::size_t i = 0; i < journal->moves.size(); ++i) {
    const PlannedMove& a = journal->moves[i];
    const PlannedMove& b = reread->moves[i];
    fuzz::Expect(a.from == b.from && a.to == b.to, "a path changed on the way through the text");
    fuzz::Expect(a.send.has_value() == b.send.has_value(), "a send became a move");
    if (a.send)
      fuzz::Expect(a.send->sendTo == b.send->sendTo && a.send->sentAt == b.send->sentAt, "a stamp changed");
  }
  if (!journal->legacy) {
    fuzz::Expect(reread->directories.size() == journal->directories.size(), "directories lost");
    for (std::size_t i = 0; i < journal->directories.size(); ++i) {
      fuzz::Expect(reread->directories[i].path == journal->directories[i].path &&
                       reread->directories[i].identity == journal->directories[i].identity,
                   "a directory changed on the way through the text");
    }
  }
}

void RenameLogFile(std::string_view text) {
  using namespace relicor;
  const auto log = ParseRenameLog(text);
  if (!log) return;
  const auto reread = ParseRenameLog(RenameLogText(*log));
  fuzz::Expect(reread.has_value(), "a rename log's own text does not parse");
  fuzz::Expect(reread->runTime == log->runTime, "the run time changed");
  fuzz::Expect(reread->entries.size() == log->entries.size(), "entries lost on the way through the text");
  for (std::size_t i = 0; i < log->entries.size(); ++i) {
    fuzz::Expect(reread->entries[i].itemKey == log->entries[i].itemKey &&
                     reread->entries[i].fileDate == log->entries[i].fileDate,
                 "an entry's item key or date changed");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  relicor::fuzz::FuzzInput in(data, size);
  const bool journal = (in.Byte() & 1) == 0;
  if (journal) {
    Journal(in.Rest());
  } else {
    RenameLogFile(in.Rest());
  }
  return 0;
}
