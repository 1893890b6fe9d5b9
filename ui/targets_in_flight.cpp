#include "ui/targets_in_flight.h"

#include <QObject>
#include <QStringList>

#include "ui/qt_text.h"

namespace tabulon::ui {

namespace {

// Names beyond these are counted, not listed: the line stays one line.
constexpr std::size_t kNamesShown = 3;

}  // namespace

void TargetsInFlight::Started(std::size_t index, std::string_view name) {
  names_.insert_or_assign(index, std::string(name));
  changed_ = true;
}

void TargetsInFlight::Ended(std::size_t index) {
  changed_ = names_.erase(index) != 0 || changed_;
}

std::optional<QString> TargetsInFlight::TakeText() {
  if (!changed_) return std::nullopt;
  changed_ = false;
  if (names_.empty()) return QString();
  QStringList shown;
  for (const auto& [index, name] : names_) {
    if (static_cast<std::size_t>(shown.size()) == kNamesShown) break;
    shown.append(ToQString(name));
  }
  QString text = QObject::tr("Exporting: %1").arg(shown.join(QStringLiteral(", ")));
  if (names_.size() > kNamesShown) {
    text += QObject::tr(" (+%1 more)").arg(names_.size() - kNamesShown);
  }
  return text;
}

}  // namespace tabulon::ui
