#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "estate/ldif_reader.h"
#include "estate/loader.h"
#include "estate/sections.h"
#include "platform/text.h"
#include "platform/utf8_path.h"

namespace tabulon::estate {
namespace {

bool ReadLdifFile(JsonReader& reader, const JsonPath& path, std::string_view base_directory,
                  const std::string& name, std::vector<platform::DirectoryEntry>& out) {
  std::filesystem::path file = platform::Utf8Path(name);
  if (file.is_relative() && !base_directory.empty()) {
    file = platform::Utf8Path(base_directory) / file;
  }
  const std::string shown = platform::Utf8Name(file);
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    return reader.Fail(
        path, "cannot open the LDIF file " + QuoteForMessage(shown) + ": " + std::strerror(errno));
  }
  std::string bytes;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > kMaxEstateFileBytes) {
      return reader.Fail(path, "the LDIF file " + QuoteForMessage(shown) + " is too large");
    }
  }
  LdifResult read = ParseLdif(bytes, shown);
  if (!read.ok) return reader.Fail(path, read.error);
  for (platform::DirectoryEntry& entry : read.entries) out.push_back(std::move(entry));
  return true;
}

// "schema": {"objectSid": "2.5.5.17", ...}: attribute syntaxes the files'
// own attributeSchema entries do not give.
bool ReadSchema(JsonReader& reader, const Json& value, const JsonPath& path,
                platform::AttributeKinds& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  for (const auto& [name, syntax] : value.items()) {
    const JsonPath where{here, name};
    std::string oid;
    if (!reader.String(syntax, where, oid)) return false;
    const platform::DirectoryValueKind kind = platform::KindOfSyntax(oid);
    if (kind == platform::DirectoryValueKind::kUnknown) {
      return reader.Fail(where, "unknown attribute syntax " + QuoteForMessage(oid) +
                                    "; known: 2.5.5.1 to 2.5.5.17");
    }
    out[text::ToLower(name)] = kind;
  }
  return true;
}

}  // namespace

bool ReadDirectory(JsonReader& reader, const Json& value, const JsonPath& path,
                   std::string_view base_directory, std::shared_ptr<const DirectoryTree>& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  std::vector<platform::DirectoryEntry> entries;
  platform::AttributeKinds schema;
  const bool ok = reader.Optional(value, here, "ldif", [&](const Json& v, const JsonPath& p) {
    std::vector<std::string> files;
    if (v.is_string()) {
      files.push_back(v.get<std::string>());
    } else if (!reader.StringList(v, p, files)) {
      return false;
    }
    for (const std::string& file : files) {
      if (!ReadLdifFile(reader, p, base_directory, file, entries)) return false;
    }
    return true;
  }) && reader.Optional(value, here, "schema", [&](const Json& v, const JsonPath& p) {
    return ReadSchema(reader, v, p, schema);
  });
  if (!ok) return false;
  out = std::make_shared<const DirectoryTree>(std::move(entries), schema);
  return true;
}

}  // namespace tabulon::estate
