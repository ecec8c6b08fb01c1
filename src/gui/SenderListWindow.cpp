#include "gui/SenderListWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/GuiText.h"
#include "gui/WindowPlacement.h"
#include "shell/SenderList.h"

namespace relicor {
namespace {

QTableWidgetItem* Cell(const QString& text, bool number) {
  auto* cell = new QTableWidgetItem(text);
  cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  if (number) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return cell;
}

}  // namespace

SenderListWindow::SenderListWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("SenderListWindow");
  setWindowTitle(tr("Senderlist"));
  title_ = new QLabel(this);
  title_->setObjectName("SenderListTitle");
  table_ = new QTableWidget(0, 3, this);
  table_->setObjectName("SenderTable");
  table_->setHorizontalHeaderLabels({tr("Sender"), tr("Items"), tr("Points")});
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  file_ = new QLabel(this);
  file_->setObjectName("SenderListFile");
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(table_, 1);
  layout->addWidget(file_);
  layout->addWidget(buttons);
  resize(460, 420);
  FitOnScreenWhenShown(this, Placement::kOverParent);
}

void SenderListWindow::Show(const SenderList& list) {
  title_->setText(tr("Items sent in since %1").arg(ToQt(SafeDateText(list.since, list.since))));
  table_->setRowCount(0);
  auto addRow = [this](const QString& name, std::size_t items, std::size_t points) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, Cell(name, false));
    table_->setItem(row, 1, Cell(QString::number(items), true));
    table_->setItem(row, 2, Cell(QString::number(points), true));
  };
  for (const SenderTally& sender : list.senders) {
    const QString name = ToQt(sender.name);
    addRow(sender.member ? name : name + " " + tr("(not a member)"), sender.items, sender.points);
  }
  if (list.withoutSender > 0) addRow(tr("(no sender)"), list.withoutSender, list.withoutSenderPoints);
  addRow(tr("Total"), list.items, list.points);
  file_->setText(tr("Saved as %1").arg(PathToQt(list.filePath)));
  show();
  raise();
  activateWindow();
}

}  // namespace relicor
