#pragma once
// What the desktop program says about itself: its command line (--help, --version), the About
// box's text, and where its pool is shown (the window title).

#include <QString>
#include <QStringList>
#include <optional>

namespace relicor {

inline constexpr const char* kHomePage = "https://relicor.example.org";
inline constexpr const char* kLicence =
    QT_TRANSLATE_NOOP("relicor::AppInfo", "proprietary; all rights reserved");

// What the command line asks for. `exitCode` is set when the program prints `text` and ends
// without a window; otherwise `paths` are the files and directories to open.
struct StartupRequest {
  std::optional<int> exitCode;
  QString text;
  QStringList paths;
};

// Reads the arguments after the program name: -h or --help prints the usage, --version the
// version, both without opening a window; "--" ends the options; everything else is a path.
StartupRequest ParseStartup(const QStringList& arguments);

// "Relicor <version>", the licence and the home page, as the About box shows them.
QString AboutText();

// "Relicor <version>", then the pool and its item count ("Relicor 0.1.0 - /pool (12 items)"), or
// "no pool" when none is set.
QString WindowTitle(const QString& pool, std::optional<qsizetype> itemCount);
// The status bar's pool field: "Pool: /pool - 12 items" (or "No pool: Datei > Open Pool…").
QString PoolStatusText(const QString& pool, std::optional<qsizetype> itemCount);

}  // namespace relicor
