#include "gui/ItemDumpWindow.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QStringList>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "item/ItemDump.h"

namespace relicor {

ItemDumpWindow::ItemDumpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("Form2");
  setWindowTitle("Data Window");
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

void ItemDumpWindow::ShowItemDump(const ItemRecord& record, bool decimalView) {
  if (!isVisible()) show();
  QStringList lines;
  for (const std::string& line : ItemDumpLines(record, decimalView)) lines << ToQt(line);
  memo_->setPlainText(lines.join('\n'));
}

}  // namespace relicor
