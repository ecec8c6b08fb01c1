#pragma once
// The user manual (F1): the HTML manual made from the README at build time, beside the program
// in the build tree or under share/doc/relicor when installed.

#include <QString>

class QWidget;

namespace relicor {

inline constexpr const char* kManualFileName = "relicor-manual.html";

// The manual for a program in `programDir`: <programDir>/doc/relicor-manual.html (the build
// tree), else <programDir>/../share/doc/relicor/relicor-manual.html (installed); empty when
// neither is there.
QString UserManualPath(const QString& programDir);

// Opens the manual in the desktop's browser, or says why it cannot.
void OpenUserManual(QWidget* parent);

}  // namespace relicor
