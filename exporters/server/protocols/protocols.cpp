#include "exporters/server/protocols/protocols.h"

#include "engine/row.h"
#include "exporters/toolkit/simple_unit.h"

#include "engine/error_text.h"
#include "exporters/toolkit/decimal.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/paging.h"
#include "format/special_values.h"

namespace tabulon {
namespace {

enum Column : std::uint32_t {
  kName = 0,
  kAddress = 1,
  kVcs = 2,
  kWan = 3,
  kQos = 4,
};

}  // namespace

std::string FormatMacAddress(std::string_view address) {
  std::string text;
  for (std::size_t i = 0; i < address.size(); i += 2) {
    if (i != 0) text += '-';
    text += address.substr(i, 2);
  }
  return text;
}

void ExportProtocolRows(ExportContext& context, const tagCObjects& target) {
  RunOutput& out = context.output;
  Row row(out, context.files.of(kProtocols), &target);
  ExportProgress progress(out, target, "Exporting Network Protocol/MAC information...",
                          ProgressKind::kNetwork);

  const win::Status status = ForEachPagedEntry(
      [&](std::uint32_t resume) {
        return context.session.workstation().NetWkstaTransportEnum0(
            target.path, platform::kMaxPreferredLength, resume);
      },
      [&](const platform::WkstaTransportInfo0& transport) {
        row[kName] = transport.transport_name;
        row[kAddress] = FormatMacAddress(transport.transport_address);
        row[kVcs] = DecimalText(transport.number_of_vcs);
        row[kWan] = transport.wan_ish != 0 ? format::kYes : format::kNo;
        row[kQos] = DecimalText(transport.quality_of_service);
        row.Write();
      });
  // The failure message is the Windows error text alone, empty or not.
  const bool failed = status != win::ERROR_SUCCESS;
  const std::string failure = failed ? WindowsErrorText(status) : std::string();

  if (failed) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kProtocols).log_name, failed, failure);
}

}  // namespace tabulon

namespace tabulon {

ExporterUnit ProtocolsUnit() {
  static constexpr ExportType kTypes[] = {kProtocols};
  return {.name = "protocols",
          .types = kTypes,
          .start = StartEnabledTypeRun<kProtocols, ExportProtocolRows>};
}

}  // namespace tabulon
