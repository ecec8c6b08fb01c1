#pragma once
// The Members window: an editing copy of the member list. Shown, it copies the member list in;
// hidden, it carries the keeper's changes (the names added, the names deleted) into the member
// list. A name it was not told to delete stays, whatever the list holds by then.

#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

  // The buttons' actions. Delete asks first.
  void AddMember();
  void DeleteMember();

  // Fills the window again from the member list when the session read that again (from the file,
  // or for another pool directory) since the window was filled; the keeper's changes not carried
  // over yet stay on top of it.
  void FollowMemberList();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void UpdateButtons();
  // The keeper's changes so far: the names of the member list deleted, and the names added (in
  // window order).
  struct Changes {
    std::vector<std::string> deleted;
    std::vector<std::string> added;
  };
  Changes PendingChanges() const;
  // Shows the member list with `changes` on top of it.
  void Fill(const Changes& changes);

  Session& session_;
  QListWidget* list_;
  QToolButton* addButton_;
  QToolButton* deleteButton_;
  QToolButton* closeButton_;
  std::vector<std::string> deleted_;  // names of the member list the keeper deleted
  std::uint64_t filledAt_ = 0;        // the session's MembersReadCount when the window was filled
};

}  // namespace relicor
