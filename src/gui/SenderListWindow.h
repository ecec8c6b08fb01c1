#pragma once
// The sender list: per sender, the items and points sent in since a date, as a table, with where
// SENDERS.TXT was written.

#include <QDialog>

class QLabel;
class QTableWidget;

namespace relicor {

struct SenderList;

class SenderListWindow : public QDialog {
  Q_OBJECT

 public:
  explicit SenderListWindow(QWidget* parent = nullptr);

  // Shows `list` (the rows in its order, then the items without sender and the totals).
  void Show(const SenderList& list);

  QTableWidget* table() const { return table_; }

 private:
  QLabel* title_;
  QTableWidget* table_;
  QLabel* file_;
};

}  // namespace relicor
