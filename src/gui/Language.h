#pragma once
// The language of the windows: Classic (the texts as the program always had them, German and
// English mixed: no translation loaded), English, Deutsch, or System (English or German after the
// desktop's language, Classic for any other). The choice is kept in RELICOR.INI under a key of our
// own; report lines, ITMLIST.TXT and the pages never change with it.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Result.h"

class QTranslator;

namespace relicor {

enum class LanguageChoice { kClassic, kEnglish, kGerman, kSystem };

// The choice's key in section [RELICOR] and its values there.
inline constexpr std::string_view kLanguageKey = "Language";

struct LanguageChoiceName {
  LanguageChoice choice;
  std::string_view stored;  // the value in RELICOR.INI, also the choice's name in the Options dialog
};

inline constexpr std::size_t kLanguageChoiceCount = 4;
// clang-format off
inline constexpr std::array<LanguageChoiceName, kLanguageChoiceCount> kLanguageChoices{{
    {LanguageChoice::kClassic, "Classic"},  // 0
    {LanguageChoice::kEnglish, "English"},  // 1
    {LanguageChoice::kGerman,  "Deutsch"},  // 2
    {LanguageChoice::kSystem,  "System"},   // 3
}};
// clang-format on

std::string_view StoredName(LanguageChoice choice);
// The choice a stored value names (letter case ignored); nothing for any other value.
std::optional<LanguageChoice> ParseLanguageChoice(std::string_view stored);

// The choice kept in `programDir`'s RELICOR.INI; Classic when there is none or it names none.
LanguageChoice ReadLanguageChoice(const std::string& programDir);
// Keeps the choice, every other key of the file as it is.
Status WriteLanguageChoice(const std::string& programDir, LanguageChoice choice);

// The translation a choice loads: "en", "de", or empty for Classic. System looks at the desktop's
// language (`system`).
QString TranslationCode(LanguageChoice choice, const QLocale& system = QLocale::system());

// Where the translations (relicor_en.qm, relicor_de.qm) are looked for: beside the program (the
// build tree) and in the installed data directory.
QStringList TranslationDirectories();

// The session's messages that the windows show in their language (MessageToQt): those that
// carry no path or number.
inline constexpr std::size_t kSessionTextCount = 8;
extern const char* const kSessionTexts[kSessionTextCount];

// The application's translation: holds the loaded translator and puts it in place of the one
// before. Without an application nothing is loaded.
class LanguageSwitcher {
 public:
  explicit LanguageSwitcher(QStringList directories = TranslationDirectories());
  ~LanguageSwitcher();
  LanguageSwitcher(const LanguageSwitcher&) = delete;
  LanguageSwitcher& operator=(const LanguageSwitcher&) = delete;

  // Loads the translation of `choice` (none for Classic). False when its file was not found or
  // not read: the windows then keep the Classic texts.
  bool Apply(LanguageChoice choice, const QLocale& system = QLocale::system());
  // "en", "de", or empty while the Classic texts show.
  const QString& current() const { return current_; }

 private:
  QStringList directories_;
  std::unique_ptr<QTranslator> translator_;
  std::unique_ptr<QTranslator> qtTranslator_;  // Qt's own texts, where installed
  QString current_;
};

}  // namespace relicor
