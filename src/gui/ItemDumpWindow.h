#pragma once
// The data window: the dump of the current item record in a fixed-width text field, with the
// names of the record's fields beside each line.

#include <QList>
#include <QWidget>

#include "item/ItemRecord.h"

class QPlainTextEdit;
class QSplitter;

namespace relicor {

// Where a window of `size` opens beside the window at `main` on the `screen` area: to its right,
// else to its left, else against the screen's right edge; its top level with the main window's,
// kept on the screen.
QPoint BesidePosition(const QRect& main, const QSize& size, const QRect& screen);

class ItemDumpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ItemDumpWindow(QWidget* parent = nullptr);

  // Shows the window when hidden and replaces the whole text with the record's 25 dump lines.
  void ShowItemDump(const ItemRecord& record, bool decimalView);

  QPlainTextEdit* memo() const { return memo_; }
  // The field names, one line beside each dump line.
  QPlainTextEdit* fieldNames() const { return fieldNames_; }

 protected:
  // The first time it opens, it opens beside the main window so the report stays readable.
  void showEvent(QShowEvent* event) override;

 private:
  QPlainTextEdit* memo_;
  QPlainTextEdit* fieldNames_;
  QSplitter* splitter_;
  QList<int> columnWidths_;  // the dump's and the names' widths at the first show
  bool placed_ = false;
};

}  // namespace relicor
