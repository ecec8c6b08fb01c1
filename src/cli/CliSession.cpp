#include "cli/CliSession.h"

#include <filesystem>
#include <iostream>
#include <string>

#include "platform/ProgramDir.h"
#include "text/ByteText.h"
#include "text/Cp1252.h"
#include "text/Path.h"

namespace relicor::cli {

void PrintLine(std::ostream& out, std::string_view text) {
  out << Cp1252ToUtf8(text) << '\n';
}

void PrintMessage(std::ostream& out, std::string_view message) {
  out << message << '\n';
}

Repair RepairInOutputDirectory(const CliContext& ctx) {
  if (ctx.args.empty()) return Repair::kByCommand;  // the pool, or no pool to repair
  const bool inPool =
      ctx.options.pool && !ctx.options.pool->empty() &&
      WithoutTrailingSeparator(ctx.args.front()) == WithoutTrailingSeparator(*ctx.options.pool);
  return inPool ? Repair::kByCommand : Repair::kYes;
}

std::string DefaultOutputDirectory(Session& session) {
  const std::string& pool = session.settings().pathToPool;
  return pool.empty() ? std::filesystem::current_path().string() : pool;
}

void CliUi::ProgressStep() {
  if (!ctx_.errIsTerminal) return;
  ++steps_;
  ctx_.err << "\r"
           << "scanning: " << steps_ << " directories" << std::flush;
  progressShown_ = true;
  shownPosition_ = -1;
}

void CliUi::ProgressSet(int position) {
  if (!ctx_.errIsTerminal) return;
  if (position <= 0 && !progressShown_) return;
  // A run calls this for every item: the line is written again only when the percentage moves.
  if (progressShown_ && position == shownPosition_) return;
  ctx_.err << "\r"
           << "progress: " << position << "%   " << std::flush;
  progressShown_ = true;
  shownPosition_ = position;
}

void CliUi::EndProgress() {
  if (progressShown_) ctx_.err << "\r" << std::string(40, ' ') << "\r" << std::flush;
  progressShown_ = false;
  shownPosition_ = -1;
  steps_ = 0;
}

void CliUi::Notify(std::string_view message) {
  EndProgress();
  ctx_.err << "relicor-cli: " << message << '\n';
  notified_ = true;
}

bool CliUi::Confirm(std::string_view question) {
  EndProgress();
  if (assumeYes_) return true;
  if (!ctx_.inIsTerminal) return false;
  ctx_.err << question << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

CliSession::CliSession(CliContext& ctx, Repair repair) : ui(ctx), processEnds(ctx.processEnds) {
  std::string home = ctx.options.home ? *ctx.options.home : HomeDirectory();
  if (!home.empty() && home.back() != kPathSeparator) home.push_back(kPathSeparator);
  session = std::make_unique<Session>(home, clock, ui);
  session->Start();
  // Global options hold for this run only; the settings file is never written. Their lengths were
  // checked with the options. Every command first repairs what a killed run left in the pool (the
  // sent directory is set first: the journal may name it).
  session->flags().noLock = ctx.options.noLock;
  if (ctx.options.sent) (void)session->SetSentDirectory(*ctx.options.sent);
  if (repair == Repair::kNo) {
    if (ctx.options.pool) session->settings().pathToPool = *ctx.options.pool;
  } else if (repair == Repair::kByCommand) {
    if (ctx.options.pool) {
      const Status set = session->SetPoolDirectory(*ctx.options.pool, PoolRepair::kAtFirstLock);
      if (!set) ui.Notify(set.error());
    }
  } else {
    const Status recovered =
        ctx.options.pool ? session->SetPoolDirectory(*ctx.options.pool) : session->RecoverPool();
    if (!recovered) ui.Notify(recovered.error());
  }
  if (ctx.options.subdirs) session->settings().htmlScanSub = *ctx.options.subdirs;
  OptionFlags& flags = session->flags();
  flags.vkMode = ctx.options.vk;
  flags.additionalInfo = ctx.options.info;
  flags.debugFile = ctx.options.debugFile.value_or(false);
  flags.decimalView = ctx.options.decimal;
  flags.oneCommand = processEnds;
}

CliSession::~CliSession() {
  // A session holds no lock or open file between commands: what it has left is memory, an entry
  // for each item of the pool. Freed one by one it costs a large pool's run a noticeable part of
  // its time; the end of the process takes it back at once. Builds that look for leaks free it.
#if !defined(__SANITIZE_ADDRESS__)
  if (processEnds) (void)session.release();
#endif
}

}  // namespace relicor::cli
