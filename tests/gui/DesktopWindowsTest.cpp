// Every window, dialog and message box on a 1366x768 screen, at 100 % and (run again with
// QT_SCALE_FACTOR=1.5) at 150 % scaling: each opens wholly on the screen at a sensible size, and
// every button without a text has an accessible name or a tooltip.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "MainWindowFixture.h"
#include "gui/DatabaseWindow.h"
#include "gui/ItemDumpWindow.h"
#include "gui/MainWindow.h"
#include "gui/MembersWindow.h"
#include "gui/PublishOptionsDialog.h"
#include "gui/SaveImportDialog.h"
#include "gui/SenderListWindow.h"
#include "gui/WindowPlacement.h"

namespace relicor::test {
namespace {

// Smaller than this a secondary window is no use (the Members window once opened 158 wide).
constexpr QSize kSensibleSize(200, 150);

QRect Available() {
  return QGuiApplication::primaryScreen()->availableGeometry();
}

// The buttons of `window` that show no text and that nothing names for a screen reader.
QStringList UnnamedButtons(const QWidget* window) {
  QStringList unnamed;
  for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!button->text().remove('&').trimmed().isEmpty()) continue;
    // Qt's own parts (the menu bar's overflow arrow, a table's corner) name themselves.
    if (button->objectName().startsWith("qt_") ||
        QString(button->metaObject()->className()) == "QTableCornerButton")
      continue;
    if (!button->accessibleName().isEmpty() || !button->toolTip().isEmpty()) continue;
    unnamed << window->objectName() + "/" + button->objectName() + " (" + button->metaObject()->className() +
                   ")";
  }
  return unnamed;
}

// Runs `open` (which shows a modal box or dialog and waits for it) and gives the box to `look`
// before closing it.
void WithModal(const std::function<void()>& open, const std::function<void(QWidget*)>& look) {
  bool seen = false;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    seen = true;
    (void)QTest::qWaitForWindowExposed(box);
    look(box);
    box->close();
  });
  open();
  QVERIFY(seen);
}

}  // namespace

class DesktopWindowsTest : public QObject, protected MainWindowFixture {
  Q_OBJECT

 private:
  // The window is shown, wholly on the screen, and not smaller than `least`.
  static void CheckFits(QWidget* window, QSize least = kSensibleSize) {
    QVERIFY2(window->isVisible(), qPrintable(window->objectName()));
    const QRect frame = window->frameGeometry();
    const QString what = QString("%1 %2x%3 at %4,%5 on %6x%7")
                             .arg(window->objectName())
                             .arg(frame.width())
                             .arg(frame.height())
                             .arg(frame.x())
                             .arg(frame.y())
                             .arg(Available().width())
                             .arg(Available().height());
    QVERIFY2(Available().contains(frame), qPrintable(what));
    QVERIFY2(window->width() >= least.width() && window->height() >= least.height(), qPrintable(what));
  }

 private slots:
  void initTestCase() {
    InterceptMessageBoxes();
    // The laptop screen the desktop must fit: 1366x768 device pixels.
    const QSize device =
        QGuiApplication::primaryScreen()->size() * QGuiApplication::primaryScreen()->devicePixelRatio();
    QVERIFY2(qAbs(device.width() - 1366) <= 1 && qAbs(device.height() - 768) <= 1,
             qPrintable(QString("%1x%2").arg(device.width()).arg(device.height())));
  }
  void init() { NewHome(); }
  void cleanup() {
    MessageBoxes::SetIntercept(true);
    DropHome();
  }

  void mainWindowFitsAtItsFirstStart() {
    auto form = std::make_unique<MainWindow>(home_->programDir(), *clock_);
    // As the program starts it: centred on the screen, no place kept.
    QVERIFY(!form->RestoreWindowState());
    form->move(Available().center() - form->rect().center());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    CheckFits(form.get(), QSize(600, 350));
    QVERIFY2(UnnamedButtons(form.get()).isEmpty(), qPrintable(UnnamedButtons(form.get()).join(", ")));
  }

  void secondaryWindowsFitBesideOrOverTheMainWindow() {
    home_->WriteItem("A.ITM", SwordItem());
    auto form = Start();
    Files(*form)->setCurrentRow(0);
    form->findChild<QCheckBox*>("CBDumpView")->click();
    Action(form.get(), "MNUMembers")->trigger();
    Action(form.get(), "MNUViewDupe")->trigger();
    Action(form.get(), "MNUCreateSenderlist")->trigger();
    QVERIFY(form->senderListWindow() != nullptr);
    for (QWidget* window : std::initializer_list<QWidget*>{
             form->dataWindow(), form->membersWindow(), form->databaseWindow(), form->senderListWindow()}) {
      QVERIFY(QTest::qWaitForWindowExposed(window));
      CheckFits(window);
      QVERIFY2(UnnamedButtons(window).isEmpty(), qPrintable(UnnamedButtons(window).join(", ")));
    }
    // The Members window stands beside the main window, not at the screen's corner.
    const QRect members = form->membersWindow()->frameGeometry();
    QVERIFY2(!members.intersects(form->frameGeometry()) || members.topLeft() != Available().topLeft(),
             qPrintable(QString("%1,%2").arg(members.x()).arg(members.y())));
  }

  void dialogsFit() {
    auto form = Start();
    WithModal([&] { Action(form.get(), "MNUOptions")->trigger(); },
              [](QWidget* dialog) {
                CheckFits(dialog);
                QVERIFY2(UnnamedButtons(dialog).isEmpty(), qPrintable(UnnamedButtons(dialog).join(", ")));
              });
    SaveImportDialog import(form.get(), SaveImportResult{}, {"alice"});
    import.show();
    QVERIFY(QTest::qWaitForWindowExposed(&import));
    CheckFits(&import);
    QVERIFY2(UnnamedButtons(&import).isEmpty(), qPrintable(UnnamedButtons(&import).join(", ")));
  }

  // A box with a list keeps a short text, holds the list in a details view that scrolls, can be
  // made larger, and stays on the screen; so does a box whose text is itself a long list.
  void boxesFitAndTheirDetailsScrollAndResize() {
    auto form = Start();
    QStringList lines;
    for (int i = 0; i < 400; ++i)
      lines << QString("POOL/Item%1.ITM -> POOL/Sword of the Zodiac %1.ITM").arg(i);
    MessageBoxes::SetIntercept(false);
    WithModal([&] { MessageBoxes::InformationWithDetails(form.get(), "400 restored", lines.join('\n')); },
              [](QWidget* box) {
                CheckFits(box, QSize(100, 50));
                auto* message = qobject_cast<QMessageBox*>(box);
                QVERIFY(message != nullptr);
                // The details open on request; they scroll and the box grows with the keeper.
                for (QAbstractButton* button : message->buttons()) {
                  if (message->buttonRole(button) == QMessageBox::ActionRole) button->click();
                }
                QCoreApplication::processEvents();
                auto* details = box->findChild<QTextEdit*>();
                QVERIFY(details != nullptr && details->isVisible());
                QVERIFY(details->verticalScrollBar()->maximum() > 0);
                CheckFits(box, QSize(100, 50));
                const QSize before = box->size();
                box->resize(before + QSize(60, 80));
                QCoreApplication::processEvents();
                QCOMPARE(box->size(), before + QSize(60, 80));
              });
    WithModal([&] { MessageBoxes::Information(form.get(), lines.join('\n')); },
              [&lines](QWidget* box) {
                CheckFits(box, QSize(100, 50));
                auto* message = qobject_cast<QMessageBox*>(box);
                QCOMPARE(message->text(), lines.front());
                QCOMPARE(message->detailedText(), lines.join('\n'));
              });
    WithModal([&] { Action(form.get(), "MNUAbout")->trigger(); },
              [](QWidget* box) { CheckFits(box, QSize(100, 50)); });
    MessageBoxes::SetIntercept(true);
  }
};

}  // namespace relicor::test

// The screen is set before the application starts: the offscreen platform reads it from a file.
int main(int argc, char* argv[]) {
  const QString config =
      QDir::temp().filePath(QString("relicor-screen-%1.json").arg(QCoreApplication::applicationPid()));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) return 2;
  file.write(
      R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96}],
                 "windowFrameMargins": true})");
  file.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
  int result = 0;
  {
    QApplication app(argc, argv);
    relicor::test::DesktopWindowsTest test;
    result = QTest::qExec(&test, argc, argv);
  }
  QFile::remove(config);
  return result;
}
#include "DesktopWindowsTest.moc"
