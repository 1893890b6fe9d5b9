#include "platform/find_files.h"

#include <algorithm>
#include <utility>

#include "platform/text.h"

namespace tabulon::platform {
namespace {

std::vector<char32_t> Folded(std::string_view s) {
  std::vector<char32_t> out;
  std::size_t at = 0;
  while (at < s.size()) out.push_back(text::FoldCase(text::NextCodePoint(s, at)));
  return out;
}

}  // namespace

bool MatchesFindPattern(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  const std::vector<char32_t> p = Folded(pattern);
  const std::vector<char32_t> n = Folded(name);
  // Greedy with one backtrack point: the last "*" seen.
  std::size_t pi = 0, ni = 0, star = p.size(), star_n = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == U'?' || (p[pi] != U'*' && p[pi] == n[ni]))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == U'*') {
      star = pi++;
      star_n = ni;
    } else if (star != p.size()) {
      pi = star + 1;
      ni = ++star_n;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

bool IsUncPath(std::string_view path) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  return path.size() >= 2 && separator(path[0]) && separator(path[1]);
}

FindPattern SplitFindPattern(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos) return {{}, path};
  return {path.substr(0, cut), path.substr(cut + 1)};
}

bool IsUsableName(std::string_view name) {
  return !name.empty() &&
         name.find_first_of(std::string_view("\\/\0", 3)) == std::string_view::npos;
}

std::vector<std::string> TakeUnusableNames(std::vector<FindData>& items) {
  std::vector<std::string> names;
  std::erase_if(items, [&names](FindData& item) {
    if (IsUsableName(item.name)) return false;
    names.push_back(std::move(item.name));
    return true;
  });
  return names;
}

FindFirstResult FindListings::Start(std::vector<FindData> items, win::Status end) {
  FindFirstResult result;
  if (items.empty()) {
    result.status = end != win::ERROR_SUCCESS ? end : win::ERROR_FILE_NOT_FOUND;
    return result;
  }
  result.data = items.front();
  const std::lock_guard lock(mutex_);
  result.handle = ++last_;
  open_[result.handle] = Listing{std::move(items), 1, end};
  return result;
}

FindNextResult FindListings::Next(FindHandle handle) {
  const std::lock_guard lock(mutex_);
  const auto it = open_.find(handle);
  if (it == open_.end()) return {win::ERROR_INVALID_HANDLE, {}};
  Listing& listing = it->second;
  if (listing.next >= listing.items.size()) {
    return {listing.end != win::ERROR_SUCCESS ? listing.end : win::ERROR_NO_MORE_FILES, {}};
  }
  return {win::ERROR_SUCCESS, std::move(listing.items[listing.next++])};
}

void FindListings::Close(FindHandle handle) {
  const std::lock_guard lock(mutex_);
  open_.erase(handle);
}

void OrderListing(std::vector<FindData>& items, std::string_view pattern, bool dots,
                  const FindData& directory) {
  // Each name's key is made once, not at every comparison.
  std::vector<std::pair<std::string, FindData>> keyed;
  keyed.reserve(items.size());
  for (FindData& item : items) {
    std::string key = text::ToUpper(item.name);
    keyed.emplace_back(std::move(key), std::move(item));
  }
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
  });
  for (std::size_t i = 0; i < items.size(); ++i) items[i] = std::move(keyed[i].second);
  if (!dots) return;
  std::vector<FindData> front;
  for (const std::string_view name : {std::string_view("."), std::string_view("..")}) {
    if (!MatchesFindPattern(pattern, name)) continue;
    FindData d = directory;
    d.name = name;
    if (name == "..") d.volume_id = d.file_id = 0;
    front.push_back(std::move(d));
  }
  items.insert(items.begin(), front.begin(), front.end());
}

}  // namespace tabulon::platform
