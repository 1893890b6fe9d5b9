#include "tools/screenshots/sample_copy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace tabulon::screenshots {
namespace {

bool CopyFolder(const QString& from, const QString& to, const QString& skip, QString& error) {
  QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString file = it.next();
    const QString relative = QDir(from).relativeFilePath(file);
    if (!skip.isEmpty() && relative.startsWith(skip + QLatin1Char('/'))) continue;
    const QString target = QDir(to).filePath(relative);
    if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target)) {
      error = QStringLiteral("cannot copy %1 to %2").arg(file, target);
      return false;
    }
  }
  return true;
}

}  // namespace

bool CopySample(const QString& source, const QString& into, QString& error) {
  const QDir root(source);
  // The run writes its files there; it makes no folders itself.
  if (!QDir(into).mkpath(QStringLiteral("examples/output"))) {
    error = QStringLiteral("cannot make %1/examples/output").arg(into);
    return false;
  }
  return CopyFolder(root.filePath(QStringLiteral("examples")),
                    QDir(into).filePath(QStringLiteral("examples")), QStringLiteral("output"),
                    error) &&
         CopyFolder(root.filePath(QStringLiteral("data")),
                    QDir(into).filePath(QStringLiteral("data")), QString(), error);
}

}  // namespace tabulon::screenshots
