#include "platform/credentials_file.h"

// Before <windows.h>, whose ERROR_* macros would rename the status constants.
#include "platform/win_error.h"

#include <windows.h>

#include <aclapi.h>

#include <utility>
#include <vector>

#include "platform/win32/handle.h"
#include "platform/win32/wide.h"

namespace tabulon::platform {
namespace {

// Rights that read the password, or let their holder grant himself that.
constexpr ACCESS_MASK kRevealing = FILE_READ_DATA | FILE_WRITE_DATA | FILE_APPEND_DATA |
                                   GENERIC_READ | GENERIC_WRITE | GENERIC_ALL | WRITE_DAC |
                                   WRITE_OWNER;

std::string Cause(DWORD error) {
  const std::string text = win::SystemMessageText(error);
  return text.empty() ? "error " + std::to_string(error) : text;
}

// The SID of the user the process runs as; empty when the token says none.
std::vector<BYTE> ProcessUser() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  const win32::Handle owned(token);
  DWORD size = 0;
  ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> info(size);
  if (size == 0 || !::GetTokenInformation(token, TokenUser, info.data(), size, &size)) return {};
  const PSID sid = reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid;
  std::vector<BYTE> out(::GetLengthSid(sid));
  if (!::CopySid(static_cast<DWORD>(out.size()), out.data(), sid)) return {};
  return out;
}

struct WellKnown {
  BYTE system[SECURITY_MAX_SID_SIZE] = {};
  BYTE administrators[SECURITY_MAX_SID_SIZE] = {};
  WellKnown() {
    DWORD size = sizeof system;
    ::CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &size);
    size = sizeof administrators;
    ::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size);
  }
};

// Files an elevated administrator creates belong to the Administrators
// group, not to him: that owner counts as his when he is one of them.
bool OwnedByCaller(PSID owner, PSID user, WellKnown& sids) {
  if (owner == nullptr) return false;
  if (::EqualSid(owner, user)) return true;
  BOOL member = FALSE;
  return ::EqualSid(owner, sids.administrators) &&
         ::CheckTokenMembership(nullptr, sids.administrators, &member) && member;
}

// Whether an entry lets anyone but the owner, the user, SYSTEM and the
// Administrators read or write. Deny entries are not counted on: the file
// must be closed by what it allows.
bool OpensToOthers(ACL* dacl, PSID owner, PSID user, WellKnown& sids) {
  if (dacl == nullptr) return true;  // a NULL DACL allows everyone everything
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!::GetAce(dacl, i, &entry)) return true;
    const auto* header = static_cast<const ACE_HEADER*>(entry);
    if ((header->AceFlags & INHERIT_ONLY_ACE) != 0) continue;  // for children only
    if (header->AceType == ACCESS_DENIED_ACE_TYPE ||
        header->AceType == ACCESS_DENIED_CALLBACK_ACE_TYPE ||
        header->AceType == SYSTEM_AUDIT_ACE_TYPE) {
      continue;
    }
    // Plain and callback allow entries share one layout; any other allow
    // entry is not read, and so not trusted.
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE &&
        header->AceType != ACCESS_ALLOWED_CALLBACK_ACE_TYPE) {
      return true;
    }
    auto* allow = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    if ((allow->Mask & kRevealing) == 0) continue;
    const PSID sid = &allow->SidStart;
    if (::EqualSid(sid, user) || (owner != nullptr && ::EqualSid(sid, owner)) ||
        ::EqualSid(sid, sids.system) || ::EqualSid(sid, sids.administrators)) {
      continue;
    }
    return true;
  }
  return false;
}

// Why the owner or the permissions refuse the file; empty when they do not.
std::string CheckProtection(HANDLE file) {
  std::vector<BYTE> user = ProcessUser();
  if (user.empty()) return "cannot tell which user runs the program";
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD error = ::GetSecurityInfo(file, SE_FILE_OBJECT,
                                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                        &owner, nullptr, &dacl, nullptr, &descriptor);
  if (error != ERROR_SUCCESS) return Cause(error);
  WellKnown sids;
  const PSID me = user.data();
  std::string why;
  if (!OwnedByCaller(owner, me, sids)) {
    why = "owned by another user";
  } else if (OpensToOthers(dacl, owner, me, sids)) {
    why =
        "readable or writable by others; allow only its owner, SYSTEM and Administrators "
        "(icacls FILE /inheritance:r /grant:r %USERNAME%:F)";
  }
  // owner and dacl point into the descriptor: freed together, once read.
  ::LocalFree(descriptor);
  return why;
}

}  // namespace

CredentialsFileResult ReadCredentialsFile(const std::string& path) {
  // The link itself is opened, not its target, so that it can be refused;
  // backup semantics let a folder open, to be refused as one.
  const win32::Handle file(::CreateFileW(
      win32::ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return CredentialsFileFailure(path, Cause(::GetLastError()));
  // Devices and pipes first: they answer no file queries.
  if (::GetFileType(file.get()) != FILE_TYPE_DISK)
    return CredentialsFileFailure(path, "not a regular file");
  FILE_ATTRIBUTE_TAG_INFO tag{};
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandleEx(file.get(), FileAttributeTagInfo, &tag, sizeof tag) ||
      !::GetFileInformationByHandle(file.get(), &info)) {
    return CredentialsFileFailure(path, Cause(::GetLastError()));
  }
  // Symbolic links and junctions; other reparse points (deduplicated or
  // cloud files) are files in their own right.
  if ((tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      (tag.ReparseTag == IO_REPARSE_TAG_SYMLINK || tag.ReparseTag == IO_REPARSE_TAG_MOUNT_POINT)) {
    return CredentialsFileFailure(
        path,
        "a symbolic link, which is not accepted: the owner and permissions that protect "
        "the password must be those of the file itself, so name the file the link "
        "points to");
  }
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return CredentialsFileFailure(path, "not a regular file");
  }
  if (const std::string why = CheckProtection(file.get()); !why.empty())
    return CredentialsFileFailure(path, why);
  if (info.nFileSizeHigh != 0 || info.nFileSizeLow > kCredentialsFileMaxBytes) {
    return CredentialsFileFailure(path, "larger than 64 KiB");
  }
  // Read straight into one buffer (no stdio buffer keeps a copy), wiped once
  // parsed.
  std::string text(info.nFileSizeLow, '\0');
  DWORD got = 0;
  while (got < text.size()) {
    DWORD n = 0;
    if (!::ReadFile(file.get(), text.data() + got, static_cast<DWORD>(text.size()) - got, &n,
                    nullptr) ||
        n == 0) {
      break;
    }
    got += n;
  }
  return CredentialsFromFileText(path, text, got);
}

}  // namespace tabulon::platform
