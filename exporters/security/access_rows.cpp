#include "exporters/security/access_rows.h"

#include <string>

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

class ObjectRows {
 public:
  ObjectRows(ExportContext& context, const tagCObjects& target, const SecurityObject& object,
             const AccessRowOptions& options)
      : context_(context),
        out_(context.output),
        target_(target),
        object_(object),
        kind_(KindInfo(object.kind)),
        options_(options),
        delimiter_(out_.settings().secondary_delimiter) {}

  // A status row: never filtered, and with the path as handed in.
  void Status(std::string_view access) {
    Start(object_.path);
    out_.value(kAccess) = std::string(access);
    Write();
  }

  void Owner(const std::optional<platform::Sid>& owner, std::string_view computer,
             std::string_view path) {
    Start(path);
    out_.value(kAccessType) = "OWNER";
    if (!owner) {
      out_.value(kAccess) = "NO_OWNER";
    } else {
      out_.value(kAccess) = "OWNER";
      const format::ResolvedSid resolved =
          format::ResolveSid(context_.session.lookup(), computer, *owner);
      out_.value(kTrustee) = resolved.ok() ? Trustee(resolved) : "SID_ERROR";
    }
    WriteFiltered();
  }

  void UnreadableEntry(std::string_view path) {
    Start(path);
    out_.value(kAccess) = "ACE_ERROR";
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
    out_.value(kAccessType) = deny ? "DENY" : "ALLOW";
    out_.value(kTrustee) = resolved.ok() ? Trustee(resolved) : "SID_ERROR";
    out_.value(kAccess) = std::move(access);
    out_.value(kAccessFlags) = std::move(flags);
    out_.value(kSummary) = std::string(summary.summary);
    out_.value(kSummaryFlags) = std::move(summary.flags);
    WriteFiltered();
  }

 private:
  static std::string Trustee(const format::ResolvedSid& resolved) {
    return resolved.domain.empty() ? resolved.name : resolved.domain + "\\" + resolved.name;
  }

  void Start(std::string_view path) {
    out_.ClearValues();
    out_.value(kObject) = std::string(object_.name);
    out_.value(kObjectPath) = std::string(path);
    out_.value(kObjectType) = std::string(kind_.text);
  }

  void Write() { out_.WriteTypedRow(&target_, context_.files.of(kSecurity), true); }

  void WriteFiltered() {
    const format::NameList* list = options_.trustees;
    if (list != nullptr && !list->empty() && !format::MatchNameList(out_.value(kTrustee), *list)) {
      out_.ClearValues();
      return;
    }
    Write();
  }

  ExportContext& context_;
  RunOutput& out_;
  const tagCObjects& target_;
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
