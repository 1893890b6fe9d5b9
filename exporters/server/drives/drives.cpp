#include "exporters/server/drives/drives.h"

#include <cstdio>
#include "engine/row.h"

#include "exporters/toolkit/decimal.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/simple_unit.h"
#include "format/numbers.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kVolumeNameSize = 30;
// Room for four characters: longer names such as FAT32 make the call fail.
constexpr std::uint32_t kFileSystemNameSize = 5;
constexpr std::string_view kLetterToken = "%s";

enum Column : std::uint32_t {
  kDrive = 0,
  kFormat = 1,
  kTotal = 2,
  kUsed = 3,
  kFree = 4,
  kPercentUsed = 5,
  kPercentFree = 6,
  kVolumeId = 7,
  kSerial = 8,
  kSpaceFormat = 9,
};

std::string_view SpaceFormatText(int mode) {
  switch (mode) {
    case format::kSizeAutomatic:
      return "MB/GB";
    case format::kSizeBytes:
      return "bytes";
    case format::kSizeMegabytes:
      return "MB";
    case format::kSizeGigabytes:
      return "GB";
    default:
      return {};
  }
}

// Every "%s" stands for the letter; other "%" sequences are plain text.
std::string ShareNameFor(std::string_view pattern, char letter) {
  std::string name;
  std::size_t pos = 0;
  while (true) {
    const std::size_t token = pattern.find(kLetterToken, pos);
    name += pattern.substr(pos, token - pos);
    if (token == std::string_view::npos) break;
    name += letter;
    pos = token + kLetterToken.size();
  }
  return name;
}

std::string Percent(platform::Locale& locale, double value) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.2f", value);
  return format::FormatNumber(locale, digits);
}

struct Drive {
  std::string field;  // the Drive column
  std::string share;
};

void ExportDrive(ExportContext& context, const DriveOptions& options, const tagCObjects& target,
                 const Drive& drive, Row& row) {
  platform::TargetSession& session = context.session;
  platform::Locale& locale = *context.output.platform().locale;
  const platform::ShareGetInfoResult share =
      session.server().NetShareGetInfo0(target.path, drive.share);
  if (share.status == win::NERR_NetNameNotFound) return;
  std::string_view host = target.path;
  while (host.starts_with('\\')) host.remove_prefix(1);
  const std::string path = "\\\\" + std::string(host) + "\\" + drive.share + "\\";
  const platform::DiskFreeSpaceResult space = session.files().GetDiskFreeSpaceEx(path);
  if (space.status != win::ERROR_SUCCESS) return;
  const platform::VolumeInformationResult volume =
      session.files().GetVolumeInformation(path, kVolumeNameSize, kFileSystemNameSize);

  const int mode = options.size_format;
  const auto total = static_cast<std::int64_t>(space.total_bytes);
  const auto free = static_cast<std::int64_t>(space.total_free_bytes);
  row[kDrive] = drive.field;
  row[kTotal] = format::FormatSize(total, mode);
  row[kUsed] = format::FormatSize(total - free, mode);
  row[kFree] = format::FormatSize(free, mode);
  // A volume that reports no size has no share to speak of: both stay empty.
  if (total != 0) {
    const double free_percent = static_cast<double>(free) / static_cast<double>(total) * 100.0;
    row[kPercentUsed] = Percent(locale, 100.0 - free_percent);
    row[kPercentFree] = Percent(locale, free_percent);
  }
  if (volume.status == win::ERROR_SUCCESS) {
    row[kFormat] = volume.file_system_name;
    row[kVolumeId] = volume.volume_name;
    row[kSerial] = DecimalText(volume.serial_number);
  }
  row[kSpaceFormat] = SpaceFormatText(mode);
  row.Write();
}

}  // namespace

std::vector<std::string> DrivePatterns(std::string_view mask) {
  std::vector<std::string> patterns;
  std::size_t pos = 0;
  for (std::size_t end = mask.find(';'); end != std::string_view::npos; end = mask.find(';', pos)) {
    patterns.emplace_back(mask.substr(pos, end - pos));
    pos = end + 1;
  }
  if (pos < mask.size()) patterns.emplace_back(mask.substr(pos));
  if (mask.empty()) patterns.emplace_back("%s$");
  return patterns;
}

void ExportDriveRows(ExportContext& context, const DriveOptions& options,
                     const tagCObjects& target) {
  RunOutput& out = context.output;
  Row row(out, context.files.of(kDrives), &target);
  ExportProgress progress(out, target, "Exporting Disk Information...", ProgressKind::kDrives);

  const std::vector<std::string> patterns = DrivePatterns(options.mask);
  std::vector<std::string> drives;
  for (const std::string& pattern : patterns) {
    if (pattern.find(kLetterToken) == std::string::npos) continue;
    platform::ServerDiskEnumResult disks =
        context.session.server().NetServerDiskEnum0(target.path, platform::kMaxPreferredLength);
    if (disks.status == win::ERROR_SUCCESS) {
      drives = std::move(disks.disks);
    } else {
      for (char letter = 'A'; letter <= 'Z'; ++letter) drives.emplace_back(1, letter);
    }
    break;
  }

  for (const std::string& pattern : patterns) {
    if (pattern.find(kLetterToken) == std::string::npos) {
      ExportDrive(context, options, target, {pattern, pattern}, row);
      continue;
    }
    for (const std::string& entry : drives) {
      if (entry.empty()) continue;
      const char letter = entry.front();
      ExportDrive(context, options, target, {std::string(1, letter), ShareNameFor(pattern, letter)},
                  row);
    }
  }

  out.LogLine(&target, ExportTypeInfo(kDrives).log_name, false, "");
}

}  // namespace tabulon

namespace tabulon {
namespace {

class DrivesRun final : public ExporterRun {
 public:
  DrivesRun(const Configuration& config, const EnabledExports& enabled)
      : enabled_(enabled[kDrives]) {
    if (enabled_) {
      options_.mask = config.ReadSettingText("Drives", "DrivesMask");
      options_.size_format = config.ReadSetting("Drives", "DrivesFormat");
    }
  }
  bool Wanted(const SecurityAccessSink* /*security*/) const override { return enabled_; }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    ExportDriveRows(context, options_, target);
  }

 private:
  bool enabled_;
  DriveOptions options_;
};

constexpr ExportType kTypes[] = {kDrives};

}  // namespace

ExporterUnit DrivesUnit() {
  return {.name = "drives", .types = kTypes, .start = StartRun<DrivesRun>};
}

}  // namespace tabulon
