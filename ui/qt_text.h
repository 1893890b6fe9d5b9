#pragma once
// Text between the program (UTF-8) and Qt (UTF-16), in one place.
#include <QString>
#include <string>
#include <string_view>

namespace tabulon::ui {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
  return text.toUtf8().toStdString();
}

}  // namespace tabulon::ui
