// How long the main window takes to show a directory of many ITM files (offscreen): the change of
// directory, the listing, the file list and the directory tree, and one paint of the list. Also
// told: the processor time of the same (steadier on a busy machine), the session's listing and
// sorting alone, and how long going back to a small directory takes.
// Usage: relicor-gui-list-bench [COUNT [RUNS [DIR]]] (default 100000 files, 5 runs; the median
// counts). With DIR the files are made there once and kept for later runs.

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gui/GuiText.h"
#include "gui/MainWindow.h"
#include "platform/Clock.h"
#include "support/TempDir.h"

namespace {

// The processor time of this thread: on a machine shared with other work it varies less than the
// time on the clock, which is what the keeper waits.
double ThreadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

  relicor::test::TempDir home;
  const std::string kept = argc > 3 ? std::string(argv[3]) + "/" + std::to_string(count) : std::string();
  const std::string big = kept.empty() ? home.mkdir("big") : kept;
  const std::string small = home.mkdir("small");
  const bool made = !kept.empty() && std::filesystem::exists(kept + "/done");
  std::filesystem::create_directories(big);
  for (int i = 0; i < 20 && !made; ++i) std::filesystem::create_directories(big + "/sub" + std::to_string(i));
  char name[32];
  for (int i = 0; i < count && !made; ++i) {
    // Mixed letter case, so the sort works as on a real pool.
    std::snprintf(name, sizeof name, (i % 3 == 0) ? "/item%06d.itm" : "/Item%06d.ITM", (i * 7919) % count);
    std::ofstream(big + name);
  }
  if (!kept.empty()) std::ofstream(kept + "/done");

  relicor::FixedClock clock(0);
  relicor::MainWindow window(home.path() + "/", clock);
  window.show();
  auto* files = window.findChild<QListWidget*>("FileListBox1");

  // The session's part alone (listing and sorting), for comparison.
  std::vector<double> listing;
  for (int run = 0; run < runs; ++run) {
    relicor::SessionUi ui;
    relicor::Session session(home.path() + "/", clock, ui);
    QElapsedTimer timer;
    timer.start();
    (void)session.SetCurrentDirectory(big);
    listing.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(listing.begin(), listing.end());

  // From a small directory to the big one, and back: the keeper waits for both.
  std::vector<double> times;
  std::vector<double> processor;
  std::vector<double> leaving;
  window.ChangeDirectory(relicor::PathToQt(small));
  QApplication::processEvents();
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer timer;
    timer.start();
    const double started = ThreadMilliseconds();
    window.ChangeDirectory(relicor::PathToQt(big));
    QApplication::processEvents();
    files->viewport()->repaint();
    times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    processor.push_back(ThreadMilliseconds() - started);
    if (files->count() != count) {
      std::fprintf(stderr, "the list shows %d files, not %d\n", static_cast<int>(files->count()), count);
      return 1;
    }
    timer.start();
    window.ChangeDirectory(relicor::PathToQt(small));
    QApplication::processEvents();
    files->viewport()->repaint();
    leaving.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "gui list of %d files: median %.0f ms (min %.0f, max %.0f, %d runs; processor %.0f ms); "
      "of which listing and sorting %.0f ms; leaving it %.0f ms\n",
      count, times[times.size() / 2], times.front(), times.back(), runs, Median(processor),
      listing[listing.size() / 2], Median(leaving));
  return 0;
}
