#include "ui/icons.h"

#include <QFile>
#include <QString>

#include "engine/catalogue.h"
#include "engine/progress.h"

namespace tabulon::ui {

QIcon ImageIcon(std::uint32_t image) {
  if (image == 0) return {};
  const QString path = QStringLiteral(":/icons/image-%1.svg").arg(image);
  return QFile::exists(path) ? QIcon(path) : QIcon();
}

QIcon ObjectTypeIcon(std::uint32_t object_type) {
  return ImageIcon(ImageForProgressKind(ProgressKindOfObject(object_type)));
}

QIcon ExportTypeIcon(std::uint32_t export_type) {
  if (export_type >= kExportTypeCount) return ImageIcon(kTemplateOutputImage);
  return ImageIcon(ExportTypes()[export_type].image_index);
}

QIcon ProgramIcon() {
  return QIcon(QStringLiteral(":/icons/tabulon.svg"));
}

}  // namespace tabulon::ui
