#pragma once
// The small pictures of the buttons and the program's icon, drawn in code.

#include <QIcon>

namespace relicor {

QIcon AppIcon();
QIcon AddIcon();
QIcon DeleteIcon();
QIcon CloseIcon();
QIcon SaveIcon();
QIcon OkIcon();

}  // namespace relicor
