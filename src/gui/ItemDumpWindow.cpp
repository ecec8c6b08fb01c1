#include "gui/ItemDumpWindow.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShowEvent>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/GuiText.h"
#include "item/ItemDump.h"

namespace relicor {

namespace {
constexpr int kGap = 8;
}  // namespace

QPoint BesidePosition(const QRect& main, const QSize& size, const QRect& screen) {
  int x = main.right() + 1 + kGap;
  if (x + size.width() > screen.right() + 1) {
    const int left = main.left() - kGap - size.width();
    x = left >= screen.left() ? left : std::max(screen.left(), screen.right() + 1 - size.width());
  }
  const int lowest = std::max(screen.top(), screen.bottom() + 1 - size.height());
  const int y = std::clamp(main.top(), screen.top(), lowest);
  return {x, y};
}

ItemDumpWindow::ItemDumpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("Form2");
  setWindowTitle(tr("Data Window"));
  resize(514, 428);

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setBold(true);
  memo_->setFont(font);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(memo_);
}

void ItemDumpWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (placed_ || event->spontaneous() || parentWidget() == nullptr) return;
  placed_ = true;
  const QWidget* main = parentWidget()->window();
  const QScreen* screen = main->screen();
  if (screen == nullptr) return;
  move(BesidePosition(main->frameGeometry(), frameGeometry().size(), screen->availableGeometry()));
}

void ItemDumpWindow::ShowItemDump(const ItemRecord& record, bool decimalView) {
  if (!isVisible()) show();
  QStringList lines;
  for (const std::string& line : ItemDumpLines(record, decimalView)) lines << ToQt(line);
  memo_->setPlainText(lines.join('\n'));
}

}  // namespace relicor
