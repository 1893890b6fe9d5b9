#pragma once
// The window's icons: one small image per number of the image list the
// object types, export types and progress rows name (engine/progress.h,
// the export type table), drawn as SVG files under ui/icons/ and built into
// the program.
#include <QIcon>
#include <cstdint>

namespace tabulon::ui {

// The image `image` of the image list; an empty icon for 0 or a number
// without an image.
QIcon ImageIcon(std::uint32_t image);
// The icon of an object type code of the object file.
QIcon ObjectTypeIcon(std::uint32_t object_type);
// The icon of an export type; kNoExportType (a template's output) has the
// template image.
QIcon ExportTypeIcon(std::uint32_t export_type);
// The program's own icon (window, about box).
QIcon ProgramIcon();

// The image of a template's output file in the list of produced files.
inline constexpr std::uint32_t kTemplateOutputImage = 20;

}  // namespace tabulon::ui
