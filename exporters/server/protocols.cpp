#include "exporters/server/protocols.h"

#include "engine/error_text.h"
#include "exporters/server/decimal.h"
#include "exporters/server/export_progress.h"
#include "format/special_values.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kProtocolsKind = 40;

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
  TypedOutput& file = context.files.of(kProtocols);
  ExportProgress progress(out, target, "Exporting Network Protocol/MAC information...",
                          kProtocolsKind);

  bool failed = false;
  std::string failure;
  std::uint32_t resume = 0;
  while (true) {
    const platform::WkstaTransportEnumResult page = context.platform.net->NetWkstaTransportEnum0(
        target.path, platform::kMaxPreferredLength, resume);
    if (page.status != win::ERROR_SUCCESS && page.status != win::ERROR_MORE_DATA) {
      failed = true;
      failure = WindowsErrorText(page.status);
      break;
    }
    for (const platform::WkstaTransportInfo0& transport : page.entries) {
      out.value(kName) = transport.transport_name;
      out.value(kAddress) = FormatMacAddress(transport.transport_address);
      out.value(kVcs) = DecimalText(transport.number_of_vcs);
      out.value(kWan) = transport.wan_ish != 0 ? format::kYes : format::kNo;
      out.value(kQos) = DecimalText(transport.quality_of_service);
      out.WriteTypedRow(&target, file, true);
    }
    // A page that brings nothing cannot move the listing on.
    if (page.status != win::ERROR_MORE_DATA || page.entries.empty()) break;
    resume = page.resume_handle;
  }

  if (failed) progress.ReportFailure(failure);
  out.LogLine(&target, ExportTypeInfo(kProtocols).log_name, failed, failure);
}

}  // namespace tabulon
