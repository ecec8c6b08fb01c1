#include "gui/AppInfo.h"

#include <QCoreApplication>

#include "Version.h"

namespace relicor {
namespace {

// The context of this file's texts in the translations.
struct AppTexts {
  Q_DECLARE_TR_FUNCTIONS(relicor::AppInfo)
};

QString ItemCountText(qsizetype count) {
  return (count == 1 ? AppTexts::tr("%1 item") : AppTexts::tr("%1 items")).arg(count);
}

}  // namespace

StartupRequest ParseStartup(const QStringList& arguments) {
  StartupRequest request;
  bool options = true;
  for (const QString& argument : arguments) {
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "-h" || argument == "--help")) {
      request.exitCode = 0;
      request.text = QString(
          "Usage: relicor [FILE|DIR]...\n"
          "\n"
          "The item pool keeper's desktop. Opens the directory of the first FILE with that file\n"
          "selected (a DIR opens itself); without one, the pool directory.\n"
          "\n"
          "  -h, --help     this text\n"
          "  --version      the version\n"
          "  --             what follows is a path, even when it starts with -\n"
          "\n"
          "The command-line tool for the same work is relicor-cli (relicor-cli --help).\n");
      return request;
    } else if (options && argument == "--version") {
      request.exitCode = 0;
      request.text = QString("relicor ") + kVersion + "\n";
      return request;
    } else {
      request.paths << argument;
    }
  }
  return request;
}

QString AboutText() {
  return AppTexts::tr(
             "Relicor %1\n\nThe item pool keeper's tool for a Diablo I clan.\n\nLicence: %2\nHome page: %3")
      .arg(kVersion, AppTexts::tr(kLicence), kHomePage);
}

QString WindowTitle(const QString& pool, std::optional<qsizetype> itemCount) {
  QString title = QString("Relicor ") + kVersion;
  if (pool.isEmpty()) return title + " - " + AppTexts::tr("no pool");
  title += " - " + pool;
  if (itemCount) title += " (" + ItemCountText(*itemCount) + ")";
  return title;
}

QString PoolStatusText(const QString& pool, std::optional<qsizetype> itemCount) {
  if (pool.isEmpty()) return AppTexts::tr("No pool: Datei > Open Pool…");
  QString text = AppTexts::tr("Pool: %1").arg(pool);
  if (itemCount) text += " - " + ItemCountText(*itemCount);
  return text;
}

}  // namespace relicor
