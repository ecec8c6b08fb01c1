#pragma once
// What a rename run (or its undo) did, for the keeper: a line of counts and where the rename log
// is, and behind it one line per file.

#include <QString>

namespace relicor {

struct RenameRunResult;
struct RenameUndoResult;

struct RenameSummary {
  QString text;     // the counts, then where the rename log is (or why it could not be written)
  QString details;  // one line per file
};

// "3 renamed, 5 kept, 1 failed"; details "A -> B" per renamed file, "not renamed A: reason".
RenameSummary SummariseRenameRun(const RenameRunResult& result);
// "2 restored, 1 left as it is"; details "A -> B" per restored file, "left A: reason".
RenameSummary SummariseUndo(const RenameUndoResult& result);

}  // namespace relicor
