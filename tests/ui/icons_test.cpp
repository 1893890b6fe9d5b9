// Every image the window shows has a drawing, and every drawing is shown.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
#include <set>
#include <string>

#include "engine/catalogue.h"
#include "engine/object_file.h"
#include "engine/progress.h"
#include "ui/icons.h"

namespace tabulon::ui {
namespace {

// Object type codes are below 256; every code with an image is a kind the
// progress list shows.
std::set<std::uint32_t> ProgressImages() {
  std::set<std::uint32_t> images{kFailureImage};
  for (std::uint32_t code = 0; code < 256; ++code) {
    const auto image = ImageForProgressKind(ProgressKindOfObject(code));
    if (image != 0) images.insert(image);
  }
  return images;
}

std::set<std::uint32_t> UsedImages() {
  auto images = ProgressImages();
  for (const auto& type : ExportTypes()) images.insert(type.image_index);
  images.insert(kTemplateOutputImage);
  return images;
}

// The drawing renders at the list's size and leaves visible pixels.
bool PaintsSomething(const QIcon& icon) {
  if (icon.isNull()) return false;
  const QImage image = icon.pixmap(16, 16).toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) != 0) return true;
    }
  }
  return false;
}

TEST(Icons, EveryObjectTypeHasAnIcon) {
  for (const auto& type : EditableObjectTypes()) {
    EXPECT_TRUE(PaintsSomething(ObjectTypeIcon(type.code))) << type.code << " " << type.name;
  }
}

TEST(Icons, EveryExportTypeAndTemplateOutputHasAnIcon) {
  for (std::uint32_t index = 0; index < kExportTypeCount; ++index) {
    EXPECT_TRUE(PaintsSomething(ExportTypeIcon(index)))
        << index << " " << ExportTypes()[index].display_name;
  }
  EXPECT_TRUE(PaintsSomething(ExportTypeIcon(kExportTypeCount)));
}

TEST(Icons, EveryProgressImageIsAValidDrawing) {
  for (const auto image : ProgressImages()) {
    QSvgRenderer renderer(QStringLiteral(":/icons/image-%1.svg").arg(image));
    EXPECT_TRUE(renderer.isValid()) << image;
    EXPECT_TRUE(PaintsSomething(ImageIcon(image))) << image;
  }
}

TEST(Icons, NoImageNumberMeansNoIcon) {
  EXPECT_TRUE(ImageIcon(0).isNull());
  EXPECT_TRUE(ImageIcon(1000).isNull());
}

TEST(Icons, ProgramIconReadsAtEverySize) {
  QSvgRenderer renderer(QStringLiteral(":/icons/tabulon.svg"));
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.defaultSize(), QSize(48, 48));
  for (const int size : {16, 32, 48}) {
    EXPECT_FALSE(ProgramIcon().pixmap(size, size).isNull()) << size;
  }
}

// A drawing nobody shows is dead weight, or a number someone mistyped.
TEST(Icons, EveryDrawingIsUsed) {
  const auto used = UsedImages();
  const QStringList files = QDir(QStringLiteral(":/icons")).entryList(QDir::Files);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& file : files) {
    if (file == QStringLiteral("tabulon.svg")) continue;
    bool numbered = false;
    const QString number = file.sliced(0, file.size() - 4).sliced(6);
    const auto image = number.toUInt(&numbered);
    EXPECT_TRUE(file.startsWith(QStringLiteral("image-")) &&
                file.endsWith(QStringLiteral(".svg")) && numbered && used.contains(image))
        << file.toStdString();
  }
  EXPECT_EQ(static_cast<std::size_t>(files.size()), used.size() + 1);
}

}  // namespace
}  // namespace tabulon::ui
