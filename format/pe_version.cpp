#include "format/pe_version.h"

#include <algorithm>
#include <cstdio>

#include "platform/byte_reader.h"
#include "platform/text.h"

namespace tabulon::format {
namespace {

constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kResourceDirectory = 2;  // index among the data directories
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVersionId = 1;
constexpr std::uint16_t kLanguageNeutral = 0;
constexpr std::uint16_t kLanguageUsEnglish = 0x409;
constexpr std::uint32_t kSubdirectoryBit = 0x80000000;
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
// The loader refuses more sections than this.
constexpr std::uint32_t kMaxSections = 96;
// A block's length is 16 bits: no version resource is larger.
constexpr std::uint32_t kMaxVersionBytes = 0xFFFF;

// Every caller has checked the sizes before; a read past the end would be 0.
std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return platform::Le16At(b, at).value_or(0);
}
std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return platform::Le32At(b, at).value_or(0);
}

struct Section {
  std::uint32_t virtual_address = 0;
  std::uint32_t raw_size = 0;
  std::uint32_t raw_offset = 0;
};

// Reads exactly `size` bytes or reports why not.
class Reader {
 public:
  explicit Reader(const ByteRangeReader& read) : read_(read) {}
  PeVersionStatus Exactly(std::uint64_t offset, std::size_t size, std::vector<std::uint8_t>& out,
                          PeVersionStatus short_status) const {
    out.clear();
    if (!read_(offset, size, out)) return PeVersionStatus::kReadFailed;
    if (out.size() < size) return short_status;
    out.resize(size);
    return PeVersionStatus::kOk;
  }

 private:
  const ByteRangeReader& read_;
};

// The file offset of `rva`, when `size` bytes from it lie in one section's
// raw data.
std::optional<std::uint64_t> FileOffset(const std::vector<Section>& sections, std::uint32_t rva,
                                        std::uint32_t size) {
  for (const Section& s : sections) {
    if (rva < s.virtual_address) continue;
    const std::uint64_t into = rva - s.virtual_address;
    if (into + size <= s.raw_size) return s.raw_offset + into;
  }
  return std::nullopt;
}

// How many raw bytes of a section follow `rva`.
std::uint32_t RawBytesFrom(const std::vector<Section>& sections, std::uint32_t rva) {
  for (const Section& s : sections) {
    if (rva >= s.virtual_address && rva - s.virtual_address < s.raw_size) {
      return s.raw_size - (rva - s.virtual_address);
    }
  }
  return 0;
}

struct DirectoryEntry {
  std::uint32_t name = 0;  // an ID, or a name's offset with the high bit set
  std::uint32_t target = 0;
};

class ResourceTree {
 public:
  ResourceTree(const Reader& reader, std::uint64_t base, std::uint32_t size)
      : reader_(reader), base_(base), size_(size) {}

  // The entries of the directory table at `offset` (from the tree's start).
  PeVersionStatus Entries(std::uint32_t offset, std::vector<DirectoryEntry>& out) const {
    std::vector<std::uint8_t> b;
    if (static_cast<std::uint64_t>(offset) + 16 > size_) return PeVersionStatus::kMalformed;
    if (auto s = reader_.Exactly(base_ + offset, 16, b, PeVersionStatus::kMalformed);
        s != PeVersionStatus::kOk) {
      return s;
    }
    const std::uint32_t count = static_cast<std::uint32_t>(Le16(b, 12)) + Le16(b, 14);
    const std::uint64_t bytes = static_cast<std::uint64_t>(count) * 8;
    if (offset + 16 + bytes > size_) return PeVersionStatus::kMalformed;
    if (auto s = reader_.Exactly(base_ + offset + 16, static_cast<std::size_t>(bytes), b,
                                 PeVersionStatus::kMalformed);
        s != PeVersionStatus::kOk) {
      return s;
    }
    out.clear();
    for (std::size_t i = 0; i < count; ++i) out.push_back({Le32(b, i * 8), Le32(b, i * 8 + 4)});
    return PeVersionStatus::kOk;
  }

  // The data entry (RVA and size) at `offset`.
  PeVersionStatus Data(std::uint32_t offset, std::uint32_t& rva, std::uint32_t& size) const {
    std::vector<std::uint8_t> b;
    if (static_cast<std::uint64_t>(offset) + 16 > size_) return PeVersionStatus::kMalformed;
    if (auto s = reader_.Exactly(base_ + offset, 16, b, PeVersionStatus::kMalformed);
        s != PeVersionStatus::kOk) {
      return s;
    }
    rva = Le32(b, 0);
    size = Le32(b, 4);
    return PeVersionStatus::kOk;
  }

 private:
  const Reader& reader_;
  std::uint64_t base_;
  std::uint32_t size_;
};

bool IsSubdirectory(const DirectoryEntry& e) {
  return (e.target & kSubdirectoryBit) != 0;
}
std::uint32_t OffsetOf(const DirectoryEntry& e) {
  return e.target & ~kSubdirectoryBit;
}
bool HasId(const DirectoryEntry& e, std::uint32_t id) {
  return (e.name & kSubdirectoryBit) == 0 && e.name == id;
}

const DirectoryEntry* Pick(const std::vector<DirectoryEntry>& entries,
                           std::initializer_list<std::uint32_t> preferred) {
  for (std::uint32_t id : preferred) {
    for (const DirectoryEntry& e : entries) {
      if (HasId(e, id)) return &e;
    }
  }
  return entries.empty() ? nullptr : &entries.front();
}

// The headers up to the section table and the resource directory's place.
struct Headers {
  std::vector<Section> sections;
  std::uint32_t resource_rva = 0;
  std::uint32_t resource_size = 0;
};

PeVersionStatus ReadHeaders(const Reader& reader, Headers& h) {
  std::vector<std::uint8_t> b;
  if (auto s = reader.Exactly(0, kSmallestExecutable, b, PeVersionStatus::kNotExecutable);
      s != PeVersionStatus::kOk) {
    return s;
  }
  if (b[0] != 'M' || b[1] != 'Z') return PeVersionStatus::kNotExecutable;
  const std::uint32_t pe = Le32(b, 0x3C);
  if (auto s = reader.Exactly(pe, 24, b, PeVersionStatus::kNotExecutable);
      s != PeVersionStatus::kOk) {
    return s;
  }
  if (Le32(b, 0) != kPeSignature) return PeVersionStatus::kNotExecutable;
  const std::uint32_t section_count = Le16(b, 6);
  const std::uint32_t optional_size = Le16(b, 20);
  if (section_count > kMaxSections) return PeVersionStatus::kMalformed;
  const std::uint64_t optional_at = static_cast<std::uint64_t>(pe) + 24;
  if (optional_size < 2) return PeVersionStatus::kNotExecutable;
  if (auto s = reader.Exactly(optional_at, optional_size, b, PeVersionStatus::kMalformed);
      s != PeVersionStatus::kOk) {
    return s;
  }
  const std::uint16_t magic = Le16(b, 0);
  std::size_t count_at = 0;
  if (magic == kPe32Magic) {
    count_at = 92;
  } else if (magic == kPe32PlusMagic) {
    count_at = 108;
  } else {
    return PeVersionStatus::kNotExecutable;
  }
  const std::size_t directory_at = count_at + 4 + kResourceDirectory * 8;
  if (b.size() < count_at + 4 || Le32(b, count_at) <= kResourceDirectory ||
      b.size() < directory_at + 8) {
    return PeVersionStatus::kNoVersion;
  }
  h.resource_rva = Le32(b, directory_at);
  h.resource_size = Le32(b, directory_at + 4);
  if (auto s = reader.Exactly(optional_at + optional_size, std::size_t{section_count} * 40, b,
                              PeVersionStatus::kMalformed);
      s != PeVersionStatus::kOk) {
    return s;
  }
  for (std::size_t i = 0; i < section_count; ++i) {
    const std::size_t at = i * 40;
    h.sections.push_back({Le32(b, at + 12), Le32(b, at + 16), Le32(b, at + 20)});
  }
  return PeVersionStatus::kOk;
}

// The version resource's bytes, through type, name and language.
PeVersionStatus FindVersionBlock(const Reader& reader, const Headers& h,
                                 std::vector<std::uint8_t>& block) {
  if (h.resource_rva == 0 || h.resource_size == 0) return PeVersionStatus::kNoVersion;
  const std::optional<std::uint64_t> base = FileOffset(h.sections, h.resource_rva, 16);
  if (!base) return PeVersionStatus::kMalformed;
  // The tree may not reach past its section's raw data.
  const std::uint32_t tree_size =
      std::min(h.resource_size, RawBytesFrom(h.sections, h.resource_rva));
  const ResourceTree tree(reader, *base, tree_size);
  std::vector<DirectoryEntry> entries;
  if (auto s = tree.Entries(0, entries); s != PeVersionStatus::kOk) return s;
  const DirectoryEntry* type = nullptr;
  for (const DirectoryEntry& e : entries) {
    if (HasId(e, kRtVersion)) type = &e;
  }
  if (type == nullptr) return PeVersionStatus::kNoVersion;
  if (!IsSubdirectory(*type)) return PeVersionStatus::kMalformed;
  const std::uint32_t names_at = OffsetOf(*type);
  if (auto s = tree.Entries(names_at, entries); s != PeVersionStatus::kOk) return s;
  const DirectoryEntry* name = Pick(entries, {kVersionId});
  if (name == nullptr) return PeVersionStatus::kNoVersion;
  if (!IsSubdirectory(*name)) return PeVersionStatus::kMalformed;
  if (auto s = tree.Entries(OffsetOf(*name), entries); s != PeVersionStatus::kOk) return s;
  const DirectoryEntry* language = Pick(entries, {kLanguageNeutral, kLanguageUsEnglish});
  if (language == nullptr) return PeVersionStatus::kNoVersion;
  if (IsSubdirectory(*language)) return PeVersionStatus::kMalformed;
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
  if (auto s = tree.Data(language->target, rva, size); s != PeVersionStatus::kOk) return s;
  size = std::min(size, kMaxVersionBytes);
  const std::optional<std::uint64_t> at = FileOffset(h.sections, rva, size);
  if (!at) return PeVersionStatus::kMalformed;
  return reader.Exactly(*at, size, block, PeVersionStatus::kMalformed);
}

// One block of the version data: its key, its value's bytes and where its
// children lie.
struct Block {
  std::string key;
  std::size_t value_at = 0;
  std::size_t value_bytes = 0;  // up to the first child or the block's end
  std::uint16_t value_length = 0;
  std::size_t children_at = 0;
  std::size_t end = 0;
};

std::size_t Align4(std::size_t at) {
  return (at + 3) & ~static_cast<std::size_t>(3);
}

// UTF-16 text from `at` up to a terminator or `end`; `after` gets the
// position past the terminator.
std::string Utf16Text(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t end,
                      std::size_t& after) {
  std::size_t stop = at;
  while (stop + 1 < end && (b[stop] != 0 || b[stop + 1] != 0)) stop += 2;
  after = std::min(end, stop + 2);
  return text::Utf16LeToUtf8(
      std::string_view(reinterpret_cast<const char*>(b.data() + at), stop - at));
}

// The block at `at`, which must end by `limit`.
bool ReadBlock(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t limit, bool text,
               Block& out) {
  if (at + 6 > limit) return false;
  const std::size_t length = Le16(b, at);
  if (length < 6 || at + length > limit) return false;
  out.end = at + length;
  out.value_length = Le16(b, at + 2);
  std::size_t after = 0;
  out.key = Utf16Text(b, at + 6, out.end, after);
  out.value_at = std::min(Align4(after), out.end);
  // Text values count characters, binary ones bytes; some writers count
  // bytes for text too, so a text value is read up to its terminator.
  const std::size_t declared = text ? static_cast<std::size_t>(out.value_length) * 2
                                    : static_cast<std::size_t>(out.value_length);
  out.value_bytes = std::min(declared, out.end - out.value_at);
  out.children_at = std::min(Align4(out.value_at + out.value_bytes), out.end);
  return true;
}

// The children of `parent`, each handed to `visit` until it returns false.
template <typename Visit>
void ForEachChild(const std::vector<std::uint8_t>& b, const Block& parent, bool text,
                  Visit&& visit) {
  std::size_t at = parent.children_at;
  Block child;
  while (ReadBlock(b, at, parent.end, text, child)) {
    visit(child);
    at = Align4(child.end);
  }
}

void ReadStrings(const std::vector<std::uint8_t>& b, const Block& string_file_info,
                 VersionResource& out) {
  ForEachChild(b, string_file_info, false, [&](const Block& table) {
    StringTable t{table.key, {}};
    ForEachChild(b, table, true, [&](const Block& string) {
      std::size_t after = 0;
      const std::size_t end = string.value_length == 0 ? string.value_at : string.end;
      t.strings.emplace_back(string.key, Utf16Text(b, string.value_at, end, after));
    });
    out.string_tables.push_back(std::move(t));
  });
}

void ReadTranslations(const std::vector<std::uint8_t>& b, const Block& var_file_info,
                      VersionResource& out) {
  ForEachChild(b, var_file_info, false, [&](const Block& var) {
    if (!text::EqualsNoCase(var.key, "Translation")) return;
    for (std::size_t at = var.value_at; at + 4 <= var.value_at + var.value_bytes; at += 4) {
      out.translations.push_back({Le16(b, at), Le16(b, at + 2)});
    }
  });
}

}  // namespace

bool ParseVersionBlock(const std::vector<std::uint8_t>& block, VersionResource& out) {
  out = {};
  Block root;
  if (!ReadBlock(block, 0, block.size(), false, root) || root.key != "VS_VERSION_INFO") {
    return false;
  }
  if (root.value_bytes >= 52 && Le32(block, root.value_at) == kFixedSignature) {
    FixedFileInfo f;
    const std::size_t v = root.value_at;
    f.file_version_ms = Le32(block, v + 8);
    f.file_version_ls = Le32(block, v + 12);
    f.product_version_ms = Le32(block, v + 16);
    f.product_version_ls = Le32(block, v + 20);
    f.file_flags_mask = Le32(block, v + 24);
    f.file_flags = Le32(block, v + 28);
    f.file_os = Le32(block, v + 32);
    f.file_type = Le32(block, v + 36);
    f.file_subtype = Le32(block, v + 40);
    f.file_date_ms = Le32(block, v + 44);
    f.file_date_ls = Le32(block, v + 48);
    out.fixed = f;
  }
  ForEachChild(block, root, false, [&](const Block& child) {
    if (child.key == "StringFileInfo") ReadStrings(block, child, out);
    if (child.key == "VarFileInfo") ReadTranslations(block, child, out);
  });
  return true;
}

PeVersionResult ReadPeVersion(const ByteRangeReader& read) {
  PeVersionResult result;
  const Reader reader(read);
  Headers headers;
  result.status = ReadHeaders(reader, headers);
  if (result.status != PeVersionStatus::kOk) return result;
  std::vector<std::uint8_t> block;
  result.status = FindVersionBlock(reader, headers, block);
  if (result.status != PeVersionStatus::kOk) return result;
  if (!ParseVersionBlock(block, result.version)) result.status = PeVersionStatus::kMalformed;
  return result;
}

std::string VersionString(const VersionResource& version, std::string_view name) {
  if (version.translations.empty()) return {};
  const Translation& first = version.translations.front();
  char key[9];
  std::snprintf(key, sizeof key, "%04x%04x", first.language, first.code_page);
  for (const StringTable& table : version.string_tables) {
    if (!text::EqualsNoCase(table.key, key)) continue;
    for (const auto& [string_name, value] : table.strings) {
      if (text::EqualsNoCase(string_name, name)) return value;
    }
  }
  return {};
}

}  // namespace tabulon::format
