#pragma once
// The Members window: an editing copy of the member list. Shown, it copies the member list in;
// hidden, it replaces the member list with its own entries.

#include <QWidget>
#include <optional>
#include <string>

class QListWidget;
class QToolButton;

namespace relicor {

class Session;

class MembersWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MembersWindow(Session& session, QWidget* parent = nullptr);

  // The name selected in the window list, as the core spells it, or nothing.
  std::optional<std::string> SelectedMember() const;

  QListWidget* list() const { return list_; }

  // The buttons' actions.
  void AddMember();
  void DeleteMember();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void UpdateButtons();

  Session& session_;
  QListWidget* list_;
  QToolButton* addButton_;
  QToolButton* deleteButton_;
  QToolButton* closeButton_;
};

}  // namespace relicor
