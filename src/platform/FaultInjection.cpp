#include "platform/FaultInjection.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

namespace relicor::faults {

namespace {

// The seam's state. Only tests change it; an empty plan costs one check per operation.
struct Plan {
  std::mutex mutex;
  std::vector<Fault> faults;
  std::uint32_t killMask = 0;
  int killAt = 0;
  std::array<int, 7> counts{};
  std::atomic<bool> active{false};  // read without the mutex by every file operation
};

Plan& State() {
  static Plan plan;
  return plan;
}

}  // namespace

void Inject(const Fault& fault) {
  Plan& plan = State();
  std::lock_guard lock(plan.mutex);
  plan.faults.push_back(fault);
  plan.active = true;
}

void KillAt(std::uint32_t opsMask, int n) {
  Plan& plan = State();
  std::lock_guard lock(plan.mutex);
  plan.killMask = opsMask;
  plan.killAt = n;
  plan.counts = {};
  plan.active = true;
}

void Clear() {
  Plan& plan = State();
  std::lock_guard lock(plan.mutex);
  plan.faults.clear();
  plan.killMask = 0;
  plan.killAt = 0;
  plan.counts = {};
  plan.active = true;  // counting goes on until the process ends
}

int Count(std::uint32_t opsMask) {
  Plan& plan = State();
  std::lock_guard lock(plan.mutex);
  int total = 0;
  for (unsigned i = 0; i < plan.counts.size(); ++i) {
    if ((opsMask & (1u << i)) != 0) total += plan.counts[i];
  }
  return total;
}

bool Planned() {
  return State().active;
}

int Check(FileOp op, std::string_view path) {
  Plan& plan = State();
  if (!plan.active) return 0;
  std::lock_guard lock(plan.mutex);
  ++plan.counts[static_cast<unsigned>(op)];
  if ((plan.killMask & Bit(op)) != 0) {
    int seen = 0;
    for (unsigned i = 0; i < plan.counts.size(); ++i) {
      if ((plan.killMask & (1u << i)) != 0) seen += plan.counts[i];
    }
    if (seen == plan.killAt) ::kill(::getpid(), SIGKILL);
  }
  for (Fault& fault : plan.faults) {
    if (fault.op != op || fault.times == 0) continue;
    if (!fault.pathPart.empty() && path.find(fault.pathPart) == std::string_view::npos) continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.times > 0) --fault.times;
    return fault.error;
  }
  return 0;
}

}  // namespace relicor::faults
