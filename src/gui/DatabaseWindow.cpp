#include "gui/DatabaseWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <string>
#include <utility>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/MessageBoxes.h"
#include "gui/NameOrder.h"
#include "gui/WindowPlacement.h"
#include "shell/Session.h"
#include "text/ByteText.h"
#include "text/Hex.h"

namespace relicor {
namespace {

constexpr int kKeyRole = Qt::UserRole;

const char* const kRemoveQuestion =
    QT_TRANSLATE_NOOP("relicor::DatabaseWindow", "Are you sure to remove item from list?");
const char* const kSaveQuestion = QT_TRANSLATE_NOOP(
    "relicor::DatabaseWindow", "Are you sure write the current loaded list to database file?");
const char* const kCloseQuestion =
    QT_TRANSLATE_NOOP("relicor::DatabaseWindow", "Do you want to save made changes to Database?");

// A list entry that sorts by its name's bytes in name order (letter case and accents aside).
class NameItem final : public QListWidgetItem {
 public:
  explicit NameItem(std::string name) : QListWidgetItem(ToQt(name)), name_(std::move(name)) {}
  bool operator<(const QListWidgetItem& other) const override {
    const auto* named = dynamic_cast<const NameItem*>(&other);
    if (named == nullptr) return QListWidgetItem::operator<(other);
    return NameLess(name_, named->name_);
  }

 private:
  std::string name_;
};

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const QIcon& icon,
                    const QString& hint) {
  auto* button = new QPushButton(icon, caption, parent);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setFixedSize(97, 25);
  return button;
}

}  // namespace

DatabaseWindow::DatabaseWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
  setObjectName("DUPEFORM");
  setWindowTitle(tr("Database Dupes&Hacks"));
  resize(403, 384);
  FitOnScreenWhenShown(this, Placement::kOverParent);

  auto* top = new QFrame(this);
  top->setObjectName("Panel1");
  top->setFrameShape(QFrame::StyledPanel);
  top->setFixedHeight(33);

  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");
  list_->setSortingEnabled(true);

  auto* right = new QFrame(this);
  right->setObjectName("Panel2");
  right->setFixedWidth(162);
  QFont bold = font();
  bold.setBold(true);
  lbId_ = new QLabel(tr("ID"), right);
  lbId_->setObjectName("LBID");
  lbId_->setFont(bold);
  lbId_->setGeometry(16, 24, 140, 16);
  lbType_ = new QLabel(tr("Type"), right);
  lbType_->setObjectName("LBTYPE");
  lbType_->setFont(bold);
  lbType_->setGeometry(16, 40, 140, 16);
  deleteButton_ = Button(right, "BTDelete", tr("Delete"), DeleteIcon(), tr("Delete Item from Database"));
  deleteButton_->move(40, 184);
  saveButton_ = Button(right, "BTSave", tr("Save"), SaveIcon(), tr("Save List to Database"));
  saveButton_->move(40, 216);
  closeButton_ = Button(right, "BTClose", tr("Close"), CloseIcon(), tr("Close this window"));
  closeButton_->move(40, 248);

  count_ = new QLabel(this);
  count_->setObjectName("Panel3");
  count_->setFrameShape(QFrame::StyledPanel);
  count_->setAlignment(Qt::AlignCenter);
  count_->setFixedHeight(36);

  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(0, 0, 0, 0);
  middle->setSpacing(0);
  middle->addWidget(list_, 1);
  middle->addWidget(right);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(top);
  layout->addLayout(middle, 1);
  layout->addWidget(count_);

  connect(list_, &QListWidget::itemSelectionChanged, this, &DatabaseWindow::SelectionChanged);
  connect(deleteButton_, &QPushButton::clicked, this, &DatabaseWindow::DeleteSelected);
  connect(saveButton_, &QPushButton::clicked, this, &DatabaseWindow::SaveList);
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
  UpdateButtons();
}

void DatabaseWindow::Reload() {
  list_->clear();
  for (const auto& [key, record] : session_.DatabaseEntries()) {
    auto* item = new NameItem(UpperCaseAscii(record.Name()));
    item->setData(kKeyRole, QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
    list_->addItem(item);
  }
  list_->setCurrentRow(-1);
  lbId_->setText(tr("ID"));
  lbType_->setText(tr("Type"));
  ShowCount();
  UpdateButtons();
}

void DatabaseWindow::ShowCount() {
  count_->setText(tr("%1 entries loaded").arg(list_->count()));
}

void DatabaseWindow::SelectionChanged() {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (!selected.isEmpty()) {
    const std::string key = selected.front()->data(kKeyRole).toString().toStdString();
    const auto found = session_.DatabaseEntries().find(key);
    if (found != session_.DatabaseEntries().end()) {
      lbId_->setText(tr("Item %1").arg(ToQt(DWordToHex(found->second.Ident()))));
      lbType_->setText(tr("Type %1").arg(ToQt(ByteToHex(found->second.ItemClass()))));
    }
  }
  UpdateButtons();
}

void DatabaseWindow::UpdateButtons() {
  deleteButton_->setEnabled(!list_->selectedItems().isEmpty());
  saveButton_->setEnabled(session_.DatabaseModified());
}

void DatabaseWindow::DeleteSelected() {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return;
  if (!MessageBoxes::AskYesNo(this, tr(kRemoveQuestion))) return;
  QListWidgetItem* item = selected.front();
  session_.RemoveFromDatabase(item->data(kKeyRole).toString().toStdString());
  delete list_->takeItem(list_->row(item));
  ShowCount();
  UpdateButtons();
}

void DatabaseWindow::SaveList() {
  if (!MessageBoxes::AskYesNo(this, tr(kSaveQuestion))) return;
  const Status saved = session_.SaveDatabase();
  if (!saved) {
    MessageBoxes::Error(this, MessageToQt(saved.error()));
    UpdateButtons();
    return;
  }
  // The file now holds what others added since, too.
  Reload();
}

void DatabaseWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) Reload();
}

void DatabaseWindow::closeEvent(QCloseEvent* event) {
  if (session_.DatabaseModified()) {
    const QMessageBox::StandardButton answer = MessageBoxes::Question(
        this, tr(kCloseQuestion), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) {
      event->ignore();
      return;
    }
    if (answer == QMessageBox::Yes) {
      const Status saved = session_.SaveDatabase();
      if (!saved) {
        // The changes are still only in memory: the window stays so they can be saved again.
        MessageBoxes::Error(this, MessageToQt(saved.error()));
        UpdateButtons();
        event->ignore();
        return;
      }
    }
  }
  event->accept();
}

}  // namespace relicor
