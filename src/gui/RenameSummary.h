#pragma once
// What a rename run did, for the keeper: one line of counts (renamed, kept, failed) and where the
// log is, and behind it one line per file.

#include <QString>

namespace relicor {

struct RenameRunResult;

struct RenameSummary {
  QString text;     // the counts, then where the rename log is
  QString details;  // "renamed A -> B" and "not renamed A: reason", one a line
};

RenameSummary SummariseRenameRun(const RenameRunResult& result);

}  // namespace relicor
