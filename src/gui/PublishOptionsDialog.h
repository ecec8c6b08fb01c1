#pragma once
// The options dialog: the look of the published pages and the output file prefix. The fields are
// a draft: OK and Apply put them into the session's options and RELICOR.INI; Cancel and Escape
// put the session's options back into the fields.

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace relicor {

struct HtmlOptionValues;
class Session;

class PublishOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PublishOptionsDialog(Session& session, QWidget* parent = nullptr);

  // Puts the session's option values into the fields.
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

  Session& session_;
  QPushButton* apply_ = nullptr;
};

}  // namespace relicor
