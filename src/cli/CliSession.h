#pragma once
// The session a relicor-cli command works on: started from the program directory's settings,
// with the global options applied for this run only.

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "cli/CliContext.h"
#include "platform/Clock.h"
#include "shell/Session.h"

namespace relicor::cli {

// Messages go to standard error; progress lines only when standard error is a terminal;
// questions are asked on the terminal.
class CliUi final : public SessionUi {
 public:
  explicit CliUi(CliContext& ctx) : ctx_(ctx) {}
  void ProgressStep() override;
  void ProgressSet(int position) override;
  void Notify(std::string_view message) override;
  bool Confirm(std::string_view question) override;
  // True when anything was told through Notify.
  bool notified() const { return notified_; }
  // Answer for Confirm when no terminal is there to ask (rename --yes).
  void SetAssumeYes(bool yes) { assumeYes_ = yes; }
  void EndProgress();

 private:
  CliContext& ctx_;
  int steps_ = 0;
  bool progressShown_ = false;
  int shownPosition_ = -1;  // the percentage on the line, while progress is shown
  bool notified_ = false;
  bool assumeYes_ = false;
};

// Whether the session repairs what a killed run left in the pool as it starts (kYes), not at all
// (kNo), or leaves it to the command (kByCommand): the command's own lock of the pool repairs it,
// and the look for stale files there is the listing the command walks, so the pool is listed once.
enum class Repair : std::uint8_t { kNo, kYes, kByCommand };

// kByCommand for a command that takes the lock of the directory it is given (ctx.args' first; the
// default output directory without one) when that is the pool directory; kYes otherwise.
Repair RepairInOutputDirectory(const CliContext& ctx);

struct CliSession {
  explicit CliSession(CliContext& ctx, Repair repair = Repair::kYes);
  // Ends the session; in a process that ends after the run (CliContext::processEnds) the memory
  // of its items is left to the end of the process. Every file and lock is done with before.
  ~CliSession();
  CliSession(const CliSession&) = delete;
  CliSession& operator=(const CliSession&) = delete;
  SystemClock clock;
  CliUi ui;
  std::unique_ptr<Session> session;
  bool processEnds = false;
};

// Writes Windows-1252 core text (report lines, names) to a UTF-8 stream.
void PrintLine(std::ostream& out, std::string_view text);
// Writes a message of the session (paths as the file system gives them, texts already UTF-8).
void PrintMessage(std::ostream& out, std::string_view message);

// The directory export and publish work on without a DIR: the pool directory (from --pool or the
// settings), or the current directory when no pool is set.
std::string DefaultOutputDirectory(Session& session);

}  // namespace relicor::cli
