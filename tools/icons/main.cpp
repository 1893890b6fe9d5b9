// Draws the program icon as PNG files in the icon theme's fixed sizes, for
// desktops that do not draw SVG icons: <folder>/<n>x<n>/apps/<name>.png.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>
#include <filesystem>

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: tabulon_icon_sizes <icon.svg> <output folder> <icon name>\n", stderr);
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "%s: not an SVG image that can be drawn\n", argv[1]);
    return 1;
  }
  for (const int size : kSizes) {
    const std::filesystem::path folder = std::filesystem::path(argv[2]) /
                                         (std::to_string(size) + "x" + std::to_string(size)) /
                                         "apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    const std::string file = (folder / (std::string(argv[3]) + ".png")).string();
    if (error || !image.save(QString::fromStdString(file), "PNG")) {
      std::fprintf(stderr, "%s: cannot be written\n", file.c_str());
      return 1;
    }
  }
  return 0;
}
