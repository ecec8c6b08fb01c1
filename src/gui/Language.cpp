#include "gui/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/IniFile.h"
#include "platform/Settings.h"

namespace relicor {
namespace {

// Qt's own texts on the buttons of our message boxes and dialogs (and the tabs' scroll buttons),
// so that a German window has German buttons without Qt's translations installed; our translation
// carries them.
[[maybe_unused]] constexpr const char* kQtTexts[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Apply"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Close"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Save"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Discard"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Help"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Reset"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Restore Defaults"),
    QT_TRANSLATE_NOOP("QMessageBox", "Show Details..."),
    QT_TRANSLATE_NOOP("QMessageBox", "Hide Details..."),
    QT_TRANSLATE_NOOP("QTabBar", "Scroll Left"),
    QT_TRANSLATE_NOOP("QTabBar", "Scroll Right"),
};

}  // namespace

// The session's messages without a path or a number in them, as the windows show them.
const char* const kSessionTexts[kSessionTextCount] = {
    QT_TRANSLATE_NOOP("relicor::Session", "Are you sure to add this item?"),
    QT_TRANSLATE_NOOP("relicor::Session", "The selected Item is already in database!"),
    QT_TRANSLATE_NOOP("relicor::Session", "No Pool-Directory assigned!"),
    QT_TRANSLATE_NOOP("relicor::Session", "No Sent-Directory assigned!"),
    QT_TRANSLATE_NOOP("relicor::Session", "Konnte Datei nicht verschieben"),
    QT_TRANSLATE_NOOP("relicor::Session", "a member name must not be empty"),
    QT_TRANSLATE_NOOP("relicor::Session", "a member name must be one line"),
    QT_TRANSLATE_NOOP("relicor::Session", "the selected file is not an item file"),
};

std::string_view StoredName(LanguageChoice choice) {
  for (const LanguageChoiceName& entry : kLanguageChoices) {
    if (entry.choice == choice) return entry.stored;
  }
  return kLanguageChoices.front().stored;
}

std::optional<LanguageChoice> ParseLanguageChoice(std::string_view stored) {
  const QString wanted = QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size())).trimmed();
  for (const LanguageChoiceName& entry : kLanguageChoices) {
    const QString name =
        QString::fromLatin1(entry.stored.data(), static_cast<qsizetype>(entry.stored.size()));
    if (wanted.compare(name, Qt::CaseInsensitive) == 0) return entry.choice;
  }
  return std::nullopt;
}

LanguageChoice ReadLanguageChoice(const std::string& programDir) {
  const std::string stored = IniFile(SettingsPath(programDir)).ReadString(kSettingsSection, kLanguageKey, "");
  return ParseLanguageChoice(stored).value_or(LanguageChoice::kClassic);
}

Status WriteLanguageChoice(const std::string& programDir, LanguageChoice choice) {
  return IniFile(SettingsPath(programDir)).WriteString(kSettingsSection, kLanguageKey, StoredName(choice));
}

QString TranslationCode(LanguageChoice choice, const QLocale& system) {
  switch (choice) {
    case LanguageChoice::kClassic:
      return {};
    case LanguageChoice::kEnglish:
      return "en";
    case LanguageChoice::kGerman:
      return "de";
    case LanguageChoice::kSystem:
      if (system.language() == QLocale::English) return "en";
      if (system.language() == QLocale::German) return "de";
      return {};
  }
  return {};
}

QStringList TranslationDirectories() {
  const QString programDir = QCoreApplication::applicationDirPath();
  if (programDir.isEmpty()) return {};
  // build/ holds the program, build/tests the tests, build/translations the translations; an
  // installed program finds them under share/relicor.
  return {programDir + "/translations", programDir + "/../translations",
          programDir + "/../share/relicor/translations"};
}

LanguageSwitcher::LanguageSwitcher(QStringList directories) : directories_(std::move(directories)) {}

LanguageSwitcher::~LanguageSwitcher() {
  if (translator_ != nullptr) QCoreApplication::removeTranslator(translator_.get());
  if (qtTranslator_ != nullptr) QCoreApplication::removeTranslator(qtTranslator_.get());
}

bool LanguageSwitcher::Apply(LanguageChoice choice, const QLocale& system) {
  const QString code = TranslationCode(choice, system);
  if (code == current_) return true;
  auto next = std::make_unique<QTranslator>();
  bool loaded = code.isEmpty();
  for (const QString& directory : directories_) {
    if (loaded) break;
    loaded = next->load("relicor_" + code, QDir::cleanPath(directory));
  }
  if (!loaded) return false;
  // Qt's own dialogs (files, colours, fonts) speak the language too where the desktop has Qt's
  // translations (Debian: qt6-translations-l10n); ours, installed after, has the last word.
  auto nextQt = std::make_unique<QTranslator>();
  const bool qtLoaded =
      !code.isEmpty() && nextQt->load("qtbase_" + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (qtTranslator_ != nullptr) QCoreApplication::removeTranslator(qtTranslator_.get());
  qtTranslator_ = qtLoaded ? std::move(nextQt) : nullptr;
  if (qtTranslator_ != nullptr) QCoreApplication::installTranslator(qtTranslator_.get());
  // Either change tells every window (QEvent::LanguageChange).
  if (!code.isEmpty()) QCoreApplication::installTranslator(next.get());
  if (translator_ != nullptr) QCoreApplication::removeTranslator(translator_.get());
  translator_ = code.isEmpty() ? nullptr : std::move(next);
  current_ = code;
  return true;
}

}  // namespace relicor
