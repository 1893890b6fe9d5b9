#pragma once
// The template kinds and the schema file: which configuration keys name
// their files and enabled lists, their default files and the label their
// messages use. Everything that needs one of these reads it here.
#include <array>
#include <cstdint>
#include <string_view>

#include "engine/catalogue.h"

namespace tabulon {

enum class TemplateKind { kRegistry, kWmi, kFile, kDirectory, kDirectorySchema };

struct TemplateKindRow {
  TemplateKind kind;
  std::uint32_t type;            // export type; kNoExportType for the schema file
  std::string_view general_key;  // [General] key naming the file
  const char* default_file;      // when the key is missing or empty
  std::string_view list_key;     // [Templates] key of the enabled names; none for the schema
  std::string_view label;        // in messages about the file
};

inline constexpr std::array<TemplateKindRow, 5> kTemplateKinds{{
    {TemplateKind::kRegistry, kRegistry, "RegistryCfgFile", "RegTemplates.CFG", "RegistryTemplates",
     "Registry Template"},
    {TemplateKind::kWmi, kWmi, "WmiCfgQueryFile", "WmiQueries.CFG", "WmiTemplates",
     "WMI Query File"},
    {TemplateKind::kFile, kFiles, "FileCfgFile", "FileTemplates.CFG", "FileTemplates",
     "File/Directory Template"},
    {TemplateKind::kDirectory, kDirectory, "AdCfgQueryFile", "DirectoryQueries.CFG",
     "DirectoryTemplates", "Directory Query"},
    {TemplateKind::kDirectorySchema, kNoExportType, "AdCfgSchemaFile", "DirectorySchema.CFG", "",
     "Schema Definition"},
}};

constexpr const TemplateKindRow& TemplateKindInfo(TemplateKind kind) {
  return kTemplateKinds[static_cast<std::size_t>(kind)];
}

}  // namespace tabulon
