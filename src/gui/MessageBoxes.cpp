#include "gui/MessageBoxes.h"

#include <QEvent>
#include <QInputDialog>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

#include "gui/WindowPlacement.h"

namespace relicor {
namespace {

constexpr const char* kBoxTitle = "Relicor";

struct HookState {
  bool intercept = false;
  std::deque<QMessageBox::StandardButton> answers;
  std::deque<std::optional<QString>> textAnswers;
  std::vector<MessageBoxes::Request> requests;
};

HookState& Hook() {
  static HookState state;
  return state;
}

// A box holds at most this many lines of text; a longer text keeps its first line and shows the
// whole text in the details view.
constexpr qsizetype kMaxBoxLines = 12;

// A message box that the keeper can make larger once its details are shown (Qt's own keeps one
// size), never larger than the screen it is on.
class ResizableBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  bool event(QEvent* event) override {
    const bool handled = QMessageBox::event(event);
    if (detailedText().isEmpty()) return handled;
    // QMessageBox fixes its size at every layout pass; with details the keeper decides it.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (auto* details = findChild<QTextEdit*>()) {
      details->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      details->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    return handled;
  }

  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    const QScreen* shown = screen();
    if (shown == nullptr) return;
    const QRect available = shown->availableGeometry();
    const QRect fitted = FittedFrame(QRect(frameGeometry().topLeft(), size() + kFrameAllowance), available);
    if (fitted.size() != size() + kFrameAllowance) resize(fitted.size() - kFrameAllowance);
    move(fitted.topLeft());
  }
};

// The answer a box gives when it is closed without a choice.
QMessageBox::StandardButton EscapeAnswer(QMessageBox::StandardButtons buttons) {
  if (buttons & QMessageBox::Cancel) return QMessageBox::Cancel;
  if (buttons & QMessageBox::No) return QMessageBox::No;
  return QMessageBox::Ok;
}

}  // namespace

QMessageBox::StandardButton MessageBoxes::Show(QWidget* parent, Kind kind, const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               const MessageExtras& extras) {
  HookState& hook = Hook();
  if (hook.intercept) {
    hook.requests.push_back({kind, kBoxTitle, text, extras.details, extras.defaultNo});
    if (!hook.answers.empty()) {
      QMessageBox::StandardButton answer = hook.answers.front();
      hook.answers.pop_front();
      return answer;
    }
    return EscapeAnswer(buttons);
  }
  QMessageBox::Icon icon = QMessageBox::Information;
  if (kind == Kind::kError) icon = QMessageBox::Critical;
  if (kind == Kind::kQuestion) icon = QMessageBox::Question;
  // A long text (a list) goes into the details, the box keeps its first line.
  QString shown = text;
  QString details = extras.details;
  if (const QStringList lines = text.split('\n'); lines.size() > kMaxBoxLines) {
    shown = lines.front();
    details = details.isEmpty() ? text : text + "\n\n" + details;
  }
  ResizableBox box(icon, kBoxTitle, shown, buttons, parent);
  box.setTextFormat(Qt::PlainText);
  if (!details.isEmpty()) box.setSizeGripEnabled(true);
  if (buttons & QMessageBox::Yes) box.setDefaultButton(extras.defaultNo ? QMessageBox::No : QMessageBox::Yes);
  box.setEscapeButton(EscapeAnswer(buttons));
  if (!extras.offer.isEmpty()) box.button(kOfferTaken)->setText(extras.offer);
  if (!details.isEmpty()) box.setDetailedText(details);
  const int result = box.exec();
  return static_cast<QMessageBox::StandardButton>(result);
}

void MessageBoxes::Information(QWidget* parent, const QString& text) {
  Show(parent, Kind::kInformation, text, QMessageBox::Ok);
}

void MessageBoxes::InformationWithDetails(QWidget* parent, const QString& text, const QString& details) {
  Show(parent, Kind::kInformation, text, QMessageBox::Ok, {{}, details});
}

bool MessageBoxes::InformationWithOffer(QWidget* parent, const QString& text, const QString& offer,
                                        const QString& details) {
  return Show(parent, Kind::kInformation, text, QMessageBox::Ok | kOfferTaken, {offer, details}) ==
         kOfferTaken;
}

void MessageBoxes::Error(QWidget* parent, const QString& text) {
  Show(parent, Kind::kError, text, QMessageBox::Ok);
}

QMessageBox::StandardButton MessageBoxes::Question(QWidget* parent, const QString& text,
                                                   QMessageBox::StandardButtons buttons) {
  return Show(parent, Kind::kQuestion, text, buttons);
}

bool MessageBoxes::AskYesNo(QWidget* parent, const QString& text, bool defaultNo) {
  MessageExtras extras;
  extras.defaultNo = defaultNo;
  return Show(parent, Kind::kQuestion, text, QMessageBox::Yes | QMessageBox::No, extras) == QMessageBox::Yes;
}

std::optional<QString> MessageBoxes::InputText(QWidget* parent, const QString& caption,
                                               const QString& prompt) {
  HookState& hook = Hook();
  if (hook.intercept) {
    hook.requests.push_back({Kind::kInput, caption, prompt, QString(), false});
    if (!hook.textAnswers.empty()) {
      const bool given = hook.textAnswers.front().has_value();
      const QString text = given ? *hook.textAnswers.front() : QString();
      hook.textAnswers.pop_front();
      if (!given) return std::nullopt;
      return text;
    }
    return std::nullopt;
  }
  bool ok = false;
  const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, QString(), &ok);
  if (!ok) return std::nullopt;
  return text;
}

void MessageBoxes::SetIntercept(bool on) {
  Hook().intercept = on;
}
bool MessageBoxes::intercepting() {
  return Hook().intercept;
}
void MessageBoxes::PushAnswer(QMessageBox::StandardButton answer) {
  Hook().answers.push_back(answer);
}
void MessageBoxes::PushTextAnswer(std::optional<QString> answer) {
  Hook().textAnswers.push_back(std::move(answer));
}
const std::vector<MessageBoxes::Request>& MessageBoxes::requests() {
  return Hook().requests;
}
void MessageBoxes::ClearRequests() {
  Hook().requests.clear();
}

void MessageBoxes::Reset() {
  HookState& hook = Hook();
  hook.answers.clear();
  hook.textAnswers.clear();
  hook.requests.clear();
}

}  // namespace relicor
