#pragma once
// The message boxes and the input dialog of the windows, behind one thin wrapper so tests can
// answer them without a modal loop: with interception on, nothing is shown, every request is
// recorded, and the next queued answer (or the box's escape answer) is returned.

#include <QMessageBox>
#include <QString>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace relicor {

// What a box may have beyond its text and buttons.
struct MessageExtras {
  QString offer;    // the caption of the MessageBoxes::kOfferTaken button
  QString details;  // the detailed text
  bool defaultNo = false;
};

class MessageBoxes {
 public:
  enum class Kind { kInformation, kError, kQuestion, kInput };

  struct Request {
    Kind kind = Kind::kInformation;
    QString title;
    QString text;
    QString details;         // the text behind "Show Details..."
    bool defaultNo = false;  // a question whose Return key answers No
  };

  // A message for the keeper, button OK.
  static void Information(QWidget* parent, const QString& text);
  // A message with a detailed text shown on request (say one line per item), button OK.
  static void InformationWithDetails(QWidget* parent, const QString& text, const QString& details);
  // An error that stopped a command (names the file and the reason): error symbol, button OK.
  static void Error(QWidget* parent, const QString& text);
  // A confirmation with the given buttons; returns the button chosen (the escape button when the
  // box is closed otherwise).
  static QMessageBox::StandardButton Question(QWidget* parent, const QString& text,
                                              QMessageBox::StandardButtons buttons);
  // A Yes/No confirmation; true for Yes. With `defaultNo` the Return key answers No.
  static bool AskYesNo(QWidget* parent, const QString& text, bool defaultNo = false);
  // A message for the keeper with an offer beside OK (say "Open entrance page", "Undo"); true
  // when the offer was taken. The test hook takes kOfferTaken as that answer.
  // `details` (when not empty) is shown on request below the text.
  static bool InformationWithOffer(QWidget* parent, const QString& text, const QString& offer,
                                   const QString& details = {});
  static constexpr QMessageBox::StandardButton kOfferTaken = QMessageBox::Apply;
  // A one-line input dialog starting empty; nothing when cancelled.
  static std::optional<QString> InputText(QWidget* parent, const QString& caption, const QString& prompt);

  // The test hook.
  static void SetIntercept(bool on);
  static bool intercepting();
  static void PushAnswer(QMessageBox::StandardButton answer);
  static void PushTextAnswer(std::optional<QString> answer);
  static const std::vector<Request>& requests();
  static void ClearRequests();
  // Drops queued answers and recorded requests.
  static void Reset();

 private:
  static QMessageBox::StandardButton Show(QWidget* parent, Kind kind, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          const MessageExtras& extras = {});
};

}  // namespace relicor
