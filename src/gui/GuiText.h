#pragma once
// Texts at the edge between the core and the widgets: the core's texts are Windows-1252 bytes,
// its paths are the file system's own bytes; the widgets show UTF-8.

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <string>
#include <string_view>

#include "text/Cp1252.h"

namespace relicor {

// A core text for display.
inline QString ToQt(std::string_view cp1252) {
  const std::string utf8 = Cp1252ToUtf8(cp1252);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A message of the session for the keeper (what a command returns, its errors, Notify and
// Confirm): already UTF-8, with paths as the file system gives them. The session's fixed texts
// (kSessionTexts) come in the windows' language; every other message as it is.
inline QString MessageToQt(std::string_view utf8) {
  const QByteArray text(utf8.data(), static_cast<qsizetype>(utf8.size()));
  return QCoreApplication::translate("relicor::Session", text.constData());
}

// A text typed by the keeper, for the core.
inline std::string FromQt(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToCp1252(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// Paths and file names pass in the file system's own encoding.
inline QString PathToQt(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string PathFromQt(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace relicor
