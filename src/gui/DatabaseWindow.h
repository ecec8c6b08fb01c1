#pragma once
// The database window: the registered dupes and hacks by name, the selected entry's key parts,
// and Delete, Save and Close.

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace relicor {

class Session;

class DatabaseWindow : public QWidget {
  Q_OBJECT

 public:
  explicit DatabaseWindow(Session& session, QWidget* parent = nullptr);

  // Fills the list from the session's database (done each time the window is shown).
  void Reload();

  // The buttons' actions.
  void DeleteSelected();
  void SaveList();

  QListWidget* list() const { return list_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void SelectionChanged();
  void UpdateButtons();
  void ShowCount();

  Session& session_;
  QListWidget* list_;
  QLabel* lbId_;
  QLabel* lbType_;
  QLabel* count_;
  QPushButton* deleteButton_;
  QPushButton* saveButton_;
  QPushButton* closeButton_;
};

}  // namespace relicor
