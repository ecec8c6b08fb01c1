#pragma once
// The options dialog: the look of the published pages and the output file prefix. The fields are
// a draft: OK and Apply put them into the session's options and RELICOR.INI; Cancel and Escape
// put the session's options back into the fields.

#include <QDialog>
#include <string>

#include "platform/Settings.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace relicor {

enum class LanguageChoice;
class Session;

class PublishOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PublishOptionsDialog(Session& session, QWidget* parent = nullptr);

  // Puts the session's option values into the fields. While the dialog is open, a field the
  // keeper has edited keeps the edit (another program's values come in under it).
  void ShowValues(const HtmlOptionValues& values);
  // The values the fields hold now.
  HtmlOptionValues FieldValues() const;
  // Takes the fields' values into the session and writes the settings; false (the error told)
  // when RELICOR.INI could not be written, the values then stay in the session for the shutdown.
  bool Apply();

  void accept() override;
  void reject() override;

 private:
  QLineEdit* AddField(const char* name, const QString& designValue);
  // A button beside a colour field that opens the colour dialog; the choice goes into the field
  // as "#RRGGBB".
  QToolButton* AddColourPicker(QLineEdit* field);
  // A button beside the font face that opens the font dialog for the face and the size.
  QToolButton* AddFontPicker(QLineEdit* face, QLineEdit* size);

  // Fills the fields; with `keepEdits` a field whose text differs from what was shown keeps it.
  void Fill(const HtmlOptionValues& values, bool keepEdits);
  // The language of the windows: a draft like the fields, kept in RELICOR.INI by OK and Apply.
  QWidget* AddLanguageChoice();
  LanguageChoice ChosenLanguage() const;
  // The fields or the language differ from what is applied.
  bool Changed() const;

  Session& session_;
  QPushButton* apply_ = nullptr;
  QComboBox* language_ = nullptr;
  HtmlOptionValues shown_;  // what the fields showed when last filled
};

}  // namespace relicor
