#include "gui/MembersWindow.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QListWidget>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "gui/GuiText.h"
#include "gui/Icons.h"
#include "gui/MessageBoxes.h"
#include "gui/WindowPlacement.h"
#include "shell/Session.h"

namespace relicor {
namespace {

// Marks the rows that show a name of the member list (the others are names the keeper added).
constexpr int kListedRole = Qt::UserRole;

QToolButton* ImageButton(QWidget* parent, const char* name, const QIcon& icon, const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(icon);
  button->setToolTip(hint);
  button->setAccessibleName(hint);  // the button shows only its picture
  button->setAutoRaise(true);
  button->setFixedSize(24, 22);
  return button;
}

}  // namespace

MembersWindow::MembersWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
  setObjectName("Form5");
  setWindowTitle(tr("Members"));
  // A list of names beside the main window, where F9 assigns the chosen one.
  resize(220, 420);
  FitOnScreenWhenShown(this, Placement::kBesideParent);

  auto* bar = new QFrame(this);
  bar->setFrameShape(QFrame::StyledPanel);
  auto* barLayout = new QHBoxLayout(bar);
  barLayout->setContentsMargins(2, 2, 2, 2);
  barLayout->setSpacing(1);
  addButton_ = ImageButton(bar, "SpeedButton1", AddIcon(), tr("Add Member"));
  deleteButton_ = ImageButton(bar, "SpeedButton2", DeleteIcon(), tr("Delete Member"));
  closeButton_ = ImageButton(bar, "SpeedButton3", CloseIcon(), tr("Close"));
  barLayout->addWidget(addButton_);
  barLayout->addWidget(deleteButton_);
  barLayout->addWidget(closeButton_);
  barLayout->addStretch();

  list_ = new QListWidget(this);
  list_->setObjectName("ListBox1");

  auto* bottom = new QFrame(this);
  bottom->setObjectName("Panel1");
  bottom->setFrameShape(QFrame::StyledPanel);
  bottom->setFixedHeight(12);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(list_, 1);
  layout->addWidget(bottom);

  connect(addButton_, &QToolButton::clicked, this, &MembersWindow::AddMember);
  connect(deleteButton_, &QToolButton::clicked, this, &MembersWindow::DeleteMember);
  connect(closeButton_, &QToolButton::clicked, this, &QWidget::close);
  connect(list_, &QListWidget::currentRowChanged, this, &MembersWindow::UpdateButtons);
  connect(list_, &QListWidget::itemSelectionChanged, this, &MembersWindow::UpdateButtons);
  UpdateButtons();
}

std::optional<std::string> MembersWindow::SelectedMember() const {
  const QListWidgetItem* item = list_->currentItem();
  if (item == nullptr || !item->isSelected()) return std::nullopt;
  return FromQt(item->text());
}

void MembersWindow::AddMember() {
  const std::optional<QString> name = MessageBoxes::InputText(this, tr("Add Member"), tr("Enter name"));
  // Blanks are kept and a name already shown is appended again; the copy back drops repeats.
  if (!name || name->isEmpty()) return;
  list_->addItem(*name);
}

void MembersWindow::DeleteMember() {
  const int row = list_->currentRow();
  if (row < 0 || !list_->item(row)->isSelected()) return;
  QListWidgetItem* item = list_->item(row);
  if (!MessageBoxes::AskYesNo(this, tr("Remove %1 from the member list?").arg(item->text()),
                              /*defaultNo=*/true))
    return;
  if (item->data(kListedRole).toBool()) deleted_.push_back(FromQt(item->text()));
  delete list_->takeItem(row);
  UpdateButtons();
}

MembersWindow::Changes MembersWindow::PendingChanges() const {
  Changes changes{deleted_, {}};
  for (int row = 0; row < list_->count(); ++row) {
    const QListWidgetItem* item = list_->item(row);
    if (!item->data(kListedRole).toBool()) changes.added.push_back(FromQt(item->text()));
  }
  return changes;
}

void MembersWindow::Fill(const Changes& changes) {
  const QString selected = list_->currentItem() != nullptr ? list_->currentItem()->text() : QString();
  deleted_ = changes.deleted;
  filledAt_ = session_.MembersReadCount();
  list_->clear();
  for (const std::string& name : session_.Members()) {
    if (std::find(deleted_.begin(), deleted_.end(), name) != deleted_.end()) continue;
    auto* item = new QListWidgetItem(ToQt(name), list_);
    item->setData(kListedRole, true);
  }
  for (const std::string& name : changes.added) list_->addItem(ToQt(name));
  if (!selected.isEmpty()) {
    const QList<QListWidgetItem*> found = list_->findItems(selected, Qt::MatchExactly);
    if (!found.isEmpty()) list_->setCurrentItem(found.front());
  }
  UpdateButtons();
}

void MembersWindow::FollowMemberList() {
  if (!isVisible() || filledAt_ == session_.MembersReadCount()) return;
  Fill(PendingChanges());
}

void MembersWindow::UpdateButtons() {
  const QListWidgetItem* item = list_->currentItem();
  deleteButton_->setEnabled(item != nullptr && item->isSelected());
}

void MembersWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Coming back from a minimised desktop is no new showing: the edits stay.
  if (event->spontaneous()) return;
  list_->clear();
  Fill({});
}

void MembersWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (event->spontaneous()) return;
  // Only what the keeper changed: names another program added to the list since stay. The member
  // list sorts the names and keeps the first of names equal but for letter case.
  const Changes changes = PendingChanges();
  for (const std::string& name : changes.deleted) session_.RemoveMember(name);
  for (const std::string& name : changes.added) session_.AddMember(name);
  deleted_.clear();
}

}  // namespace relicor
