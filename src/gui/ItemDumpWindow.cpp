#include "gui/ItemDumpWindow.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/GuiText.h"
#include "gui/WindowPlacement.h"
#include "item/ItemDump.h"

namespace relicor {

namespace {
constexpr int kGap = 8;
constexpr int kDesignHeight = 428;
constexpr int kFieldNamesColumns = 64;  // the longest names line; a narrower window scrolls it
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

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setAccessibleName(tr("Bytes of the item record"));
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setBold(true);
  memo_->setFont(font);

  // The names of the fields that start on each line, in the same lines, scrolled with the dump.
  fieldNames_ = new QPlainTextEdit(this);
  fieldNames_->setObjectName("FieldNames");
  fieldNames_->setReadOnly(true);
  fieldNames_->setLineWrapMode(QPlainTextEdit::NoWrap);
  fieldNames_->setFont(font);
  fieldNames_->setAccessibleName(tr("Fields of the record"));
  QStringList names;
  for (const std::string& line : ItemDumpFieldLines()) names << QString::fromStdString(line);
  fieldNames_->setPlainText(names.join('\n'));
  connect(memo_->verticalScrollBar(), &QScrollBar::valueChanged, fieldNames_->verticalScrollBar(),
          &QScrollBar::setValue);
  connect(fieldNames_->verticalScrollBar(), &QScrollBar::valueChanged, memo_->verticalScrollBar(),
          &QScrollBar::setValue);

  splitter_ = new QSplitter(Qt::Horizontal, this);
  auto* splitter = splitter_;
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(memo_);
  splitter->addWidget(fieldNames_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);

  // Wide enough for a decimal line and the names beside it; as tall as the designed window.
  const QFontMetrics metrics = memo_->fontMetrics();
  const int frame = 2 * memo_->frameWidth() + static_cast<int>(memo_->document()->documentMargin() * 2) +
                    memo_->verticalScrollBar()->sizeHint().width();
  // A hex line shows whole; a decimal one scrolls sideways.
  const int dumpWidth = metrics.horizontalAdvance(QString(5 + kDumpBytesPerLine * 3, '0')) + frame;
  const int namesWidth = metrics.horizontalAdvance(QString(kFieldNamesColumns, 'x')) + frame;
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  columnWidths_ = {dumpWidth, namesWidth};
  splitter->setSizes(columnWidths_);
  resize(dumpWidth + namesWidth + splitter->handleWidth(), kDesignHeight);
}

void ItemDumpWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (placed_ || event->spontaneous() || parentWidget() == nullptr) return;
  placed_ = true;
  const QWidget* main = parentWidget()->window();
  const QScreen* screen = main->screen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  resize(size().boundedTo(available.size() - kFrameAllowance));
  move(BesidePosition(main->frameGeometry(), frameGeometry().size(), available));
  // The dump keeps its width; what the window has beyond goes to the names.
  splitter_->setSizes(
      {columnWidths_.front(), std::max(columnWidths_.back(), width() - columnWidths_.front())});
}

void ItemDumpWindow::ShowItemDump(const ItemRecord& record, bool decimalView) {
  if (!isVisible()) show();
  QStringList lines;
  for (const std::string& line : ItemDumpLines(record, decimalView)) lines << ToQt(line);
  memo_->setPlainText(lines.join('\n'));
}

}  // namespace relicor
