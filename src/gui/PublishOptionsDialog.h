#pragma once
// The options dialog: the look of the published pages and the output file prefix. Every field
// edit goes straight into the session's options, so the next creation and the shutdown see it.

#include <QDialog>
#include <string>

class QLineEdit;

namespace relicor {

struct HtmlOptionValues;
class Session;

class PublishOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PublishOptionsDialog(Session& session, QWidget* parent = nullptr);

  // Puts the session's option values into the fields.
  void ShowValues(const HtmlOptionValues& values);

 private:
  QLineEdit* AddField(const char* name, const QString& designValue, std::string HtmlOptionValues::*field);

  // The language of the windows, kept in RELICOR.INI when chosen.
  QWidget* AddLanguageChoice();

  Session& session_;
};

}  // namespace relicor
