#include "exporters/security/access_rows.h"

#include <string>

#include "engine/row.h"
#include "exporters/security/object_kinds.h"
#include "format/accounts.h"
#include "format/security_descriptor.h"

namespace tabulon {
namespace {

enum Column : std::uint32_t {
  kObject = 0,
  kObjectPath,
  kObjectType,
  kTrustee,
  kAccess,
  kAccessFlags,
  kAccessType,
  kSummary,
  kSummaryFlags,
};

std::string WithBackslashes(std::string_view path) {
  return path.starts_with('\\') ? std::string(path) : "\\\\" + std::string(path);
}

// The rows of one object, in a row of their own: a hand-over may come in
// the middle of the handing exporter's row.
class ObjectRows {
 public:
  ObjectRows(ExportContext& context, const tagCObjects& target, const SecurityObject& object,
             const AccessRowOptions& options)
      : context_(context),
        row_(context.output, context.files.of(kSecurity), &target),
        object_(object),
        kind_(KindInfo(object.kind)),
        options_(options),
        delimiter_(context.output.settings().secondary_delimiter) {}

  // A status row: never filtered, and with the path as handed in.
  void Status(std::string_view access) {
    Start(object_.path);
    row_[kAccess] = std::string(access);
    Write();
  }

  void Owner(const std::optional<platform::Sid>& owner, std::string_view computer,
             std::string_view path) {
    Start(path);
    row_[kAccessType] = "OWNER";
    if (!owner) {
      row_[kAccess] = "NO_OWNER";
    } else {
      row_[kAccess] = "OWNER";
      const format::ResolvedSid resolved =
          format::ResolveSid(context_.session.lookup(), computer, *owner);
      row_[kTrustee] = resolved.ok() ? Trustee(resolved) : "SID_ERROR";
    }
    WriteFiltered();
  }

  void UnreadableEntry(std::string_view path) {
    Start(path);
    row_[kAccess] = "ACE_ERROR";
    WriteFiltered();
  }

  void Entry(const format::Ace& ace, std::string_view computer, std::string_view path) {
    const format::ResolvedSid resolved =
        format::ResolveSid(context_.session.lookup(), computer, ace.sid);
    if (resolved.ok() && resolved.use == platform::SidNameUse::kDeletedAccount) return;
    const bool deny = ace.type == format::AceType::kAccessDenied;
    std::string access;
    std::string flags;
    FileAccessSummary summary;
    switch (kind_.rights) {
      case RightsKind::kShare:
        access = ShareAccess(deny, ace.mask);
        break;
      case RightsKind::kDirectory:
        flags = InheritanceFlagNames(ace.flags, delimiter_);
        [[fallthrough]];
      case RightsKind::kFile:
        access = RightNames(kind_.rights, ace.mask, delimiter_);
        summary = SummariseFileAccess(ace.mask);
        break;
      case RightsKind::kPrinter:
      case RightsKind::kService:
      case RightsKind::kRegistry:
        access = RightNames(kind_.rights, ace.mask, delimiter_);
        // Generic rights alone name nothing here.
        if (access.empty()) return;
        break;
    }
    Start(path);
    row_[kAccessType] = deny ? "DENY" : "ALLOW";
    row_[kTrustee] = resolved.ok() ? Trustee(resolved) : "SID_ERROR";
    row_[kAccess] = std::move(access);
    row_[kAccessFlags] = std::move(flags);
    row_[kSummary] = std::string(summary.summary);
    row_[kSummaryFlags] = std::move(summary.flags);
    WriteFiltered();
  }

 private:
  static std::string Trustee(const format::ResolvedSid& resolved) {
    return resolved.domain.empty() ? resolved.name : resolved.domain + "\\" + resolved.name;
  }

  void Start(std::string_view path) {
    row_.Clear();
    row_[kObject] = std::string(object_.name);
    row_[kObjectPath] = std::string(path);
    row_[kObjectType] = std::string(kind_.text);
  }

  void Write() { row_.Write(); }

  void WriteFiltered() {
    const format::NameList* list = options_.trustees;
    if (list != nullptr && !list->empty() && !format::MatchNameList(row_[kTrustee], *list)) {
      row_.Clear();
      return;
    }
    Write();
  }

  ExportContext& context_;
  Row row_;
  const SecurityObject& object_;
  const SecurityKindInfo& kind_;
  const AccessRowOptions& options_;
  const std::string delimiter_;
};

}  // namespace

void ExportObjectSecurity(ExportContext& context, const tagCObjects& target,
                          const SecurityObject& object, bool special_share,
                          const AccessRowOptions& options) {
  ObjectRows rows(context, target, object, options);
  const std::string path = WithBackslashes(object.path);
  const std::string computer = WithBackslashes(target.path);
  const std::uint32_t information = platform::kDaclSecurityInformation |
                                    (options.owner ? platform::kOwnerSecurityInformation : 0);
  const platform::NamedSecurityInfo info = context.session.object_security().GetNamedSecurityInfo(
      path, KindInfo(object.kind).type, information);
  if (info.status != win::ERROR_SUCCESS) return rows.Status("ERROR");
  if (info.descriptor.empty()) return rows.Status(special_share ? "NO_SD_ADMIN_ONLY" : "NO_SD");
  // A descriptor that does not read is security information that cannot be
  // read; an entry that does not read fails alone.
  const format::DescriptorParse parse =
      format::ParseSecurityDescriptor(info.descriptor, format::AceReading::kEachOnItsOwn);
  if (!parse.ok()) return rows.Status("ERROR");
  if (options.owner) rows.Owner(parse.value.owner, computer, path);
  const std::optional<format::Acl>& dacl = parse.value.dacl;
  if (!dacl || dacl->aces.empty()) return rows.Status("NO_ACL");
  std::size_t next_unreadable = 0;
  const std::vector<std::size_t>& unreadable = parse.unreadable_dacl_entries;
  for (std::size_t i = 0; i < dacl->aces.size(); ++i) {
    if (next_unreadable < unreadable.size() && unreadable[next_unreadable] == i) {
      ++next_unreadable;
      rows.UnreadableEntry(path);
    } else {
      rows.Entry(dacl->aces[i], computer, path);
    }
  }
}

}  // namespace tabulon
