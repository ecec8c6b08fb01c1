#include "gui/SaveImportDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

#include "gui/GuiText.h"
#include "gui/WindowPlacement.h"

namespace relicor {

namespace {

std::function<bool(SaveImportDialog&)>& TestAnswer() {
  static std::function<bool(SaveImportDialog&)> answer;
  return answer;
}

std::optional<QStringList>& TestSaves() {
  static std::optional<QStringList> saves;
  return saves;
}

QString StatusText(const ImportedItem& item) {
  switch (item.outcome) {
    case ImportOutcome::kImported:
      return SaveImportDialog::tr("new");
    case ImportOutcome::kAlreadyInPool:
      return SaveImportDialog::tr("already in the pool: %1").arg(PathToQt(item.file));
    case ImportOutcome::kSkipped:
      return SaveImportDialog::tr("skipped: %1").arg(MessageToQt(item.reason));
    case ImportOutcome::kFailed:
      return SaveImportDialog::tr("failed: %1").arg(MessageToQt(item.reason));
    case ImportOutcome::kNotSelected:
      return SaveImportDialog::tr("not selected");
  }
  return {};
}

}  // namespace

SaveImportDialog::SaveImportDialog(QWidget* parent, const SaveImportResult& preview,
                                   const std::vector<std::string>& members)
    : QDialog(parent) {
  setObjectName("SaveImportDialog");
  setWindowTitle(tr("Import from save game"));
  auto* layout = new QVBoxLayout(this);

  items_ = new QTreeWidget(this);
  items_->setObjectName("ImportItems");
  items_->setColumnCount(5);
  items_->setHeaderLabels({tr("No."), tr("Place"), tr("Item"), tr("Verdict"), tr("Pool")});
  items_->setRootIsDecorated(true);
  std::set<std::string> heroes;
  for (const SaveImportEntry& save : preview.saves) {
    auto* top = new QTreeWidgetItem(items_);
    QString head = PathToQt(save.path);
    if (!save.error.empty()) {
      top->setText(0, head);
      top->setText(3, tr("refused: %1").arg(MessageToQt(save.error)));
      top->setFirstColumnSpanned(true);
      continue;
    }
    head += ": " + MessageToQt(save.kind);
    if (!save.heroName.empty()) head += " " + ToQt(save.heroName);
    heroes.insert(save.heroName);
    top->setText(0, head);
    top->setFirstColumnSpanned(true);
    for (const ImportedItem& item : save.items) {
      auto* row = new QTreeWidgetItem(top);
      row->setText(1, MessageToQt(item.place));
      if (item.number > 0) row->setText(0, QString::number(item.number));
      row->setData(0, Qt::UserRole, item.number);
      row->setText(2, ToQt(item.name));
      row->setText(3, ToQt(item.verdict));
      row->setText(4, StatusText(item));
      if (item.outcome == ImportOutcome::kImported) {
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, Qt::Checked);
      }
    }
  }
  items_->expandAll();
  for (int c = 0; c < items_->columnCount(); ++c) items_->resizeColumnToContents(c);
  layout->addWidget(items_);

  layout->addWidget(new QLabel(tr("Sender:"), this));
  sender_ = new QComboBox(this);
  sender_->setObjectName("SenderName");
  sender_->setEditable(true);
  if (heroes.size() == 1) heroDefault_ = *heroes.begin();
  // One hero: its name; several: each its own; a stash has no hero to name.
  QString first = tr("(each hero's name)");
  if (heroes.size() == 1) first = heroDefault_.empty() ? tr("(nobody)") : ToQt(heroDefault_);
  sender_->addItem(first);
  for (const std::string& member : members) sender_->addItem(ToQt(member));
  sender_->setCurrentIndex(0);
  layout->addWidget(sender_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  QPushButton* import = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
  import->setObjectName("ImportButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(760, 480);
  FitOnScreenWhenShown(this, Placement::kOverParent);
}

std::set<int> SaveImportDialog::Selected() const {
  std::set<int> numbers;
  for (int t = 0; t < items_->topLevelItemCount(); ++t) {
    const QTreeWidgetItem* top = items_->topLevelItem(t);
    for (int i = 0; i < top->childCount(); ++i) {
      const QTreeWidgetItem* row = top->child(i);
      if ((row->flags() & Qt::ItemIsUserCheckable) && row->checkState(0) == Qt::Checked)
        numbers.insert(row->data(0, Qt::UserRole).toInt());
    }
  }
  return numbers;
}

std::string SaveImportDialog::Sender() const {
  if (sender_->currentIndex() == 0 && sender_->currentText() == sender_->itemText(0)) return heroDefault_;
  return FromQt(sender_->currentText().trimmed());
}

bool SaveImportDialog::Ask() {
  if (TestAnswer()) return TestAnswer()(*this);
  return exec() == QDialog::Accepted;
}

void SaveImportDialog::SetTestAnswer(std::function<bool(SaveImportDialog&)> answer) {
  TestAnswer() = std::move(answer);
}

QStringList SaveImportDialog::ChooseSaves(QWidget* parent, const QString& directory) {
  if (TestSaves()) {
    QStringList saves = *TestSaves();
    TestSaves().reset();
    return saves;
  }
  return QFileDialog::getOpenFileNames(parent, tr("Import from save game"), directory,
                                       tr("Save games (*.sv);;All files (*)"));
}

void SaveImportDialog::SetTestSaves(QStringList saves) {
  TestSaves() = std::move(saves);
}

}  // namespace relicor
