// The language of the windows: the stored choice, System's pick by the desktop's language, the
// main window's menus in each language, and the choice in the Options dialog.

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QXmlStreamReader>
#include <memory>

#include "GuiTestSupport.h"
#include "gui/DatabaseWindow.h"
#include "gui/ItemDumpWindow.h"
#include "gui/Language.h"
#include "gui/MainWindow.h"
#include "gui/MembersWindow.h"
#include "gui/PublishOptionsDialog.h"
#include "pool/SendItem.h"
#include "shell/Members.h"
#include "validate/Database.h"
#include "validate/DupeCheck.h"

namespace relicor::test {

class LanguageTest : public QObject {
  Q_OBJECT

 private:
  // The menu bar's titles, left to right.
  static QStringList MenuTitles(MainWindow& form) {
    QStringList titles;
    for (QAction* menu : form.menuBar()->actions()) titles << menu->text();
    return titles;
  }
  static std::unique_ptr<MainWindow> StartIn(const GuiHome& home, const FixedClock& clock,
                                             const char* language) {
    if (language != nullptr)
      home.dir().write("RELICOR.INI", std::string("[RELICOR]\r\nLanguage=") + language + "\r\n");
    return std::make_unique<MainWindow>(home.programDir(), clock);
  }

  // A caption as a menu's window title shows it: "&&" is "&", a single "&" marks the access key.
  static QString WithoutMnemonic(QString text) {
    const QString ampersand(QChar(0xE000));
    text.replace(QString("&&"), ampersand);
    text.remove(QChar('&'));
    return text.replace(ampersand, QString("&"));
  }

  // Every translation of a .ts file as a pattern (an argument such as %1 stands for any text).
  static QList<QRegularExpression> TranslationPatterns(const QString& tsFile) {
    QFile file(tsFile);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<QRegularExpression> patterns;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("translation"))
        continue;
      const QString text = WithoutMnemonic(xml.readElementText(QXmlStreamReader::IncludeChildElements));
      QString pattern = QRegularExpression::escape(text);
      pattern.replace(QRegularExpression("\\\\%\\d"), ".*");  // escape() wrote "\\%1"
      patterns << QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                                     QRegularExpression::DotMatchesEverythingOption);
    }
    return patterns;
  }

  // The texts a window shows of its own: titles, captions, labels, tooltips, headers, menus.
  static QStringList OwnTexts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets << window;
    for (QWidget* widget : widgets) {
      texts << widget->toolTip() << widget->accessibleName();
      if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
      if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
      }
      for (QAction* action : widget->actions()) texts << action->text() << action->toolTip();
    }
    for (QAction* action : window->findChildren<QAction*>()) texts << action->text();
    return texts;
  }

 private slots:
  void initTestCase() { InterceptMessageBoxes(); }
  void init() { MessageBoxes::Reset(); }

  void storedNamesAreReadWithoutRegardToCase() {
    struct Case {
      const char* stored;
      std::optional<LanguageChoice> choice;
    };
    const Case cases[] = {
        {"Classic", LanguageChoice::kClassic},
        {"english", LanguageChoice::kEnglish},
        {"DEUTSCH", LanguageChoice::kGerman},
        {" System ", LanguageChoice::kSystem},
        {"German", std::nullopt},
        {"", std::nullopt},
        {"Deutsch2", std::nullopt},
    };
    for (const Case& c : cases) QVERIFY2(ParseLanguageChoice(c.stored) == c.choice, c.stored);
    for (const LanguageChoiceName& entry : kLanguageChoices)
      QVERIFY(ParseLanguageChoice(StoredName(entry.choice)) == entry.choice);
  }

  void systemPicksEnglishOrGermanByTheDesktopsLanguage() {
    struct Case {
      LanguageChoice choice;
      QLocale system;
      const char* code;
    };
    const Case cases[] = {
        {LanguageChoice::kSystem, QLocale(QLocale::German, QLocale::Germany), "de"},
        {LanguageChoice::kSystem, QLocale(QLocale::German, QLocale::Austria), "de"},
        {LanguageChoice::kSystem, QLocale(QLocale::English, QLocale::UnitedStates), "en"},
        {LanguageChoice::kSystem, QLocale(QLocale::English, QLocale::UnitedKingdom), "en"},
        {LanguageChoice::kSystem, QLocale(QLocale::French, QLocale::France), ""},
        {LanguageChoice::kSystem, QLocale::c(), ""},
        {LanguageChoice::kClassic, QLocale(QLocale::German, QLocale::Germany), ""},
        {LanguageChoice::kEnglish, QLocale(QLocale::German, QLocale::Germany), "en"},
        {LanguageChoice::kGerman, QLocale(QLocale::French, QLocale::France), "de"},
    };
    for (const Case& c : cases) QCOMPARE(TranslationCode(c.choice, c.system), QString(c.code));
  }

  void choiceIsKeptBesideTheOtherKeys() {
    GuiHome home;
    QCOMPARE(ReadLanguageChoice(home.programDir()), LanguageChoice::kClassic);  // no file
    home.dir().write("RELICOR.INI", "[RELICOR]\r\nPathToPool=/x\r\nOwnKey=kept\r\nLanguage=Klingon\r\n");
    QCOMPARE(ReadLanguageChoice(home.programDir()), LanguageChoice::kClassic);  // names no language
    QVERIFY(WriteLanguageChoice(home.programDir(), LanguageChoice::kGerman));
    QCOMPARE(ReadLanguageChoice(home.programDir()), LanguageChoice::kGerman);
    const auto values = IniValues(home.ReadIni());
    QCOMPARE(values.at("Language"), std::string("Deutsch"));
    QCOMPARE(values.at("PathToPool"), std::string("/x"));
    QCOMPARE(values.at("OwnKey"), std::string("kept"));
  }

  // The menus of each language; Classic (no choice kept) is the program's own mix.
  void menusComeOutInTheChosenLanguage() {
    struct Case {
      const char* stored;
      QStringList titles;
      const char* options;
      const char* exit;
    };
    const Case cases[] = {
        {nullptr,
         {"&Datei", "&Text", "&HTML", "&View", "E&xtras", "D&atabase", "&Help"},
         "Einstellungen",
         "Beenden"},
        {"Classic",
         {"&Datei", "&Text", "&HTML", "&View", "E&xtras", "D&atabase", "&Help"},
         "Einstellungen",
         "Beenden"},
        {"English", {"&File", "&Text", "&HTML", "&View", "&Tools", "D&atabase", "&Help"}, "Options", "E&xit"},
        {"Deutsch",
         {"&Datei", "&Text", "&HTML", "&Ansicht", "E&xtras", "D&atenbank", "&Hilfe"},
         "Einstellungen",
         "&Beenden"},
    };
    for (const Case& c : cases) {
      GuiHome home;
      FixedClock clock(TestNow());
      auto form = StartIn(home, clock, c.stored);
      QCOMPARE(MenuTitles(*form), c.titles);
      QCOMPARE(Action(form.get(), "MNUOptions")->text(), QString(c.options));
      QCOMPARE(Action(form.get(), "MNUExit")->text(), QString(c.exit));
    }
  }

  void optionsDialogKeepsTheChoiceForTheNextStart() {
    GuiHome home;
    FixedClock clock(TestNow());
    auto form = StartIn(home, clock, "English");
    auto* choice = form->optionsDialog()->findChild<QComboBox*>("LanguageChoice");
    QVERIFY(choice != nullptr);
    QCOMPARE(choice->count(), static_cast<int>(kLanguageChoiceCount));
    QCOMPARE(choice->currentText(), QString("English"));
    // Cancel puts the kept choice back; Apply keeps another and tells when it applies.
    choice->setCurrentIndex(choice->findText("Deutsch"));
    form->optionsDialog()->reject();
    QCOMPARE(choice->currentText(), QString("English"));
    QCOMPARE(ReadLanguageChoice(home.programDir()), LanguageChoice::kEnglish);
    QVERIFY(MessageBoxes::requests().empty());
    choice->setCurrentIndex(choice->findText("Deutsch"));
    QVERIFY(form->optionsDialog()->Apply());
    QCOMPARE(ReadLanguageChoice(home.programDir()), LanguageChoice::kGerman);
    QCOMPARE(MessageBoxes::requests().size(), std::size_t{1});
    // The windows keep their language until the next start, which takes the new one.
    QCOMPARE(MenuTitles(*form).front(), QString("&File"));
    form->show();
    QVERIFY(form->close());
    QCOMPARE(IniValues(home.ReadIni()).at("Language"), std::string("Deutsch"));
    form = std::make_unique<MainWindow>(home.programDir(), clock);
    QCOMPARE(MenuTitles(*form).front(), QString("&Datei"));
    QCOMPARE(form->optionsDialog()->findChild<QComboBox*>("LanguageChoice")->currentText(),
             QString("Deutsch"));
  }

  // The session's fixed messages have their translations; messages with paths pass as they are.
  void sessionMessagesFollowTheLanguage() {
    const std::string_view fixed[] = {kAlreadyInDatabaseText, kNoPoolDirectoryText, kNoSentDirectoryText,
                                      kMoveFailedText, kNoPoolDirectoryForMembersText};
    for (std::string_view text : fixed) {
      bool listed = false;
      for (const char* entry : kSessionTexts) listed = listed || text == entry;
      QVERIFY2(listed, std::string(text).c_str());
    }
    LanguageSwitcher german;
    QVERIFY(german.Apply(LanguageChoice::kGerman));
    QCOMPARE(MessageToQt(kAlreadyInDatabaseText),
             QString::fromUtf8("Das gewählte Item ist schon in der Datenbank."));
    QCOMPARE(MessageToQt("/pool/Ü.ITM: not an item file"),
             QString::fromUtf8("/pool/Ü.ITM: not an item file"));
    LanguageSwitcher english;
    QVERIFY(english.Apply(LanguageChoice::kEnglish));
    QCOMPARE(MessageToQt(kMoveFailedText), QString("The file could not be moved"));
  }

  void germanWindowAsksInGerman() {
    GuiHome home;
    home.WriteItem("Sword.ITM", SwordItem());
    FixedClock clock(TestNow());
    auto form = StartIn(home, clock, "Deutsch");
    form->show();
    form->findChild<QListWidget*>("FileListBox1")->setCurrentRow(0);
    MessageBoxes::PushAnswer(QMessageBox::No);
    Action(form.get(), "MNUAddDupe")->trigger();
    QCOMPARE(ShownTexts(),
             QStringList{QString::fromUtf8("Dieses Item wirklich zur Dupe- und Hack-Datenbank hinzufügen?")});
  }

  // Under English and under Deutsch every text a window shows is one of that language's
  // translations: a text left out of the translation would show in Classic.
  void everyShownTextIsTranslated() {
    const char* const languages[][2] = {{"English", "relicor_en.ts"}, {"Deutsch", "relicor_de.ts"}};
    for (const auto& [stored, ts] : languages) {
      const QList<QRegularExpression> patterns =
          TranslationPatterns(QString(RELICOR_TRANSLATIONS_DIR "/") + ts);
      QVERIFY(!patterns.isEmpty());
      GuiHome home;
      FixedClock clock(TestNow());
      auto form = StartIn(home, clock, stored);
      form->show();
      const QList<QWidget*> windows{form.get(), form->dataWindow(), form->membersWindow(),
                                    form->databaseWindow(), form->optionsDialog()};
      for (QWidget* window : windows) {
        for (const QString& text : OwnTexts(window)) {
          // The pool's path and item counts stand in the title and status bar as values.
          if (text.isEmpty() || text.contains(PathToQt(home.pool())) || text.startsWith("Relicor ")) continue;
          bool translated = false;
          for (const QRegularExpression& pattern : patterns)
            translated = translated || pattern.match(WithoutMnemonic(text)).hasMatch() ||
                         pattern.match(text).hasMatch();
          QVERIFY2(translated,
                   qPrintable(QString("%1 (%2): \"%3\"").arg(stored, window->objectName(), text)));
        }
      }
    }
  }

  void missingTranslationKeepsTheClassicTexts() {
    LanguageSwitcher switcher(QStringList{"/nonexistent-relicor-translations"});
    QVERIFY(!switcher.Apply(LanguageChoice::kGerman));
    QCOMPARE(switcher.current(), QString());
    QCOMPARE(QCoreApplication::translate("relicor::MainWindow", "Beenden"), QString("Beenden"));
    QVERIFY(switcher.Apply(LanguageChoice::kClassic));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::LanguageTest)
#include "LanguageTest.moc"
