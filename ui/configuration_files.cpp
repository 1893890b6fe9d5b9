#include "ui/configuration_files.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "engine/file_names.h"
#include "platform/text.h"
#include "platform/utf8_path.h"
#include "ui/configuration_naming.h"

namespace tabulon::ui {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kQuollObjectFileMark = "ad_objects";
constexpr std::string_view kQuollConfigurationFile = "QUOLL_EXPORT.INI";
constexpr std::string_view kQuollConfigurationName = "Quoll Configuration Export";
constexpr std::string_view kQuollExportObjectFile = "QUOLL_EXPORT.DAT";

FileOutcome Failed(std::string_view title, std::string path, win::Status status) {
  return {status, title, std::move(path)};
}

bool StartsWithByteOrderMark(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[2] = {};
  return in.read(head, 2) && head[0] == '\xFF' && head[1] == '\xFE';
}

// Opens `path` for appending (creating it) and writes `lines`, in the
// file's own encoding: a file the object list wrote is UTF-16LE after FF FE,
// and 8-bit lines appended to it would not read back.
win::Status AppendLines(const std::string& path, const std::string& lines) {
  const bool wide = StartsWithByteOrderMark(path);
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::app);
  if (!out) return win::StatusFromErrno(errno == 0 ? EACCES : errno);
  out << (wide ? text::Utf8ToUtf16Le(lines) : lines);
  out.close();
  if (!out) return win::StatusFromErrno(errno == 0 ? EIO : errno);
  return win::ERROR_SUCCESS;
}

win::Status WriteConfigurationKey(platform::Profile& profile, const std::string& path,
                                  std::string_view key, std::string_view value) {
  return profile.WriteString(path, "General", key, value) ? win::ERROR_SUCCESS
                                                          : win::ERROR_ACCESS_DENIED;
}

}  // namespace

bool NamesQuollObjectFile(std::string_view object_file) {
  return object_file.find(kQuollObjectFileMark) != std::string_view::npos;
}

std::string ResolveTypedName(std::string_view name, std::string_view folder,
                             const NamePlacement& placement) {
  std::string resolved(name);
  if (resolved.find('%') != std::string::npos) {
    resolved = ReplaceDateTokens(std::move(resolved), placement.clock.LocalNow(), placement.locale);
  }
  return PlaceInFolder(resolved, folder);
}

FileOutcome CreateConfiguration(platform::Profile& profile, const NewConfigurationFields& fields,
                                const NamePlacement& placement) {
  const std::string path =
      ResolveTypedName(WithDefaultExtension(fields.file_name, kConfigurationExtension),
                       placement.configuration_folder, placement);
  if (!fields.copy_from.empty()) {
    std::error_code ec;
    if (fs::exists(platform::Utf8Path(path), ec))
      return Failed(kConfigurationFileTitle, path, win::ERROR_ALREADY_EXISTS);
    if (!fs::copy_file(platform::Utf8Path(fields.copy_from), platform::Utf8Path(path),
                       fs::copy_options::none, ec)) {
      return Failed(kConfigurationFileTitle, path, win::StatusFromErrno(ec.value()));
    }
  }
  if (const win::Status s =
          WriteConfigurationKey(profile, path, "ConfigurationName", fields.configuration_name);
      s != win::ERROR_SUCCESS) {
    return Failed(kConfigurationFileTitle, path, s);
  }
  const std::string object_file =
      ResolveTypedName(WithDefaultExtension(fields.object_file, kObjectFileExtension),
                       placement.object_folder, placement);
  if (const win::Status s = WriteConfigurationKey(profile, path, "ObjectFile", object_file);
      s != win::ERROR_SUCCESS) {
    return Failed(kConfigurationFileTitle, path, s);
  }
  if (const win::Status s = AppendLines(object_file, {}); s != win::ERROR_SUCCESS) {
    return Failed(kQuollObjectFileTitle, object_file, s);
  }
  return {win::ERROR_SUCCESS, {}, path};
}

FileOutcome WriteQuollConfiguration(platform::Profile& profile,
                                    const std::vector<QuollObjectLine>& lines,
                                    const NamePlacement& placement) {
  const std::string path =
      ResolveTypedName(kQuollConfigurationFile, placement.configuration_folder, placement);
  if (const win::Status s =
          WriteConfigurationKey(profile, path, "ConfigurationName", kQuollConfigurationName);
      s != win::ERROR_SUCCESS) {
    return Failed(kConfigurationFileTitle, path, s);
  }
  const std::string object_file =
      ResolveTypedName(kQuollExportObjectFile, placement.object_folder, placement);
  if (const win::Status s = WriteConfigurationKey(profile, path, "ObjectFile", object_file);
      s != win::ERROR_SUCCESS) {
    return Failed(kConfigurationFileTitle, path, s);
  }
  std::string appended;
  for (const QuollObjectLine& line : lines) appended += ConvertedObjectLine(line);
  if (const win::Status s = AppendLines(object_file, appended); s != win::ERROR_SUCCESS) {
    return Failed(kQuollObjectFileTitle, object_file, s);
  }
  return {win::ERROR_SUCCESS, {}, path};
}

bool WriteObjectFileSetting(platform::Profile& profile, const std::string& configuration,
                            const std::string& object_file) {
  return profile.WriteString(configuration, "General", "ObjectFile", object_file);
}

}  // namespace tabulon::ui
