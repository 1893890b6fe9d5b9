#pragma once
// The template files as the editors and the exporters see them: the names
// a file holds, a template removed with its section, column lists split
// into items, and the directory schema file's lines.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/template_kinds.h"
#include "platform/profile.h"
#include "platform/status.h"

namespace tabulon {

// Items of a template column list: none for an empty text, otherwise every
// "," ends one and empty items stay.
std::vector<std::string> SplitTemplateColumns(std::string_view text);

// The template names of a file in file order: every line (read in pieces of
// at most 1023 bytes) starting with "[", trimmed, then stripped of leading
// "[" and trailing "]". When the file cannot be opened the list is empty and
// `failure` holds the file-open message with the kind's label.
struct TemplateListing {
  std::vector<std::string> names;
  std::string failure;
};
TemplateListing ListTemplates(const std::string& path, TemplateKind kind);

// Removes the template's whole section from its file.
bool DeleteTemplate(platform::Profile& profile, const std::string& path, std::string_view name);

// One line of the directory schema file: "category TAB name", optionally
// followed by another TAB and the attribute's syntax.
struct SchemaLine {
  std::int32_t category = 0;
  std::string name;
  std::string syntax;
};
// The lines holding a TAB, each read in pieces of at most 1023 bytes and
// trimmed; the category is the decimal number before the TAB. The status
// is that of opening the file.
win::Status ReadSchemaFile(const std::string& path, std::vector<SchemaLine>& lines);

}  // namespace tabulon
