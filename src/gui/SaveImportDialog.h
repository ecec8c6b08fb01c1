#pragma once
// The dialog before an import from save games: the items of the saves (number, place, name,
// verdict, whether the pool holds them already) with check boxes, and the member to record as
// sender (the hero's name by default, the member list to choose from).

#include <QDialog>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "shell/SaveImport.h"

class QComboBox;
class QTreeWidget;

namespace relicor {

class SaveImportDialog : public QDialog {
  Q_OBJECT

 public:
  // `preview` is the dry run of the saves; `members` the member list (Windows-1252).
  SaveImportDialog(QWidget* parent, const SaveImportResult& preview, const std::vector<std::string>& members);

  // The numbers of the checked items.
  std::set<int> Selected() const;
  // The sender chosen (Windows-1252); empty: each save's hero.
  std::string Sender() const;

  // Shows the dialog modally; true when the keeper chose to import. With a test answer set, the
  // answer is called with the dialog instead of showing it, and its result is returned.
  bool Ask();
  static void SetTestAnswer(std::function<bool(SaveImportDialog&)> answer);

  // The files to import, from a file dialog for save games (empty when cancelled). With test
  // files set, those are returned once instead.
  static QStringList ChooseSaves(QWidget* parent, const QString& directory);
  static void SetTestSaves(QStringList saves);

 private:
  QTreeWidget* items_ = nullptr;
  QComboBox* sender_ = nullptr;
  std::string heroDefault_;  // the one hero's name when all saves are of one hero
};

}  // namespace relicor
