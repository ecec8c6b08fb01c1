#pragma once
// The data window: the dump of the current item record in a fixed-width text field.

#include <QWidget>

#include "item/ItemRecord.h"

class QPlainTextEdit;

namespace relicor {

class ItemDumpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ItemDumpWindow(QWidget* parent = nullptr);

  // Shows the window when hidden and replaces the whole text with the record's 25 dump lines.
  void ShowItemDump(const ItemRecord& record, bool decimalView);

  QPlainTextEdit* memo() const { return memo_; }

 private:
  QPlainTextEdit* memo_;
};

}  // namespace relicor
