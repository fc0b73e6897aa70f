// Visits the matching entries of one directory, then, with "/s", the
// directories below it, depth first.
#include <algorithm>

#include "bentro.h"
#include "platform.h"

namespace {

int special_rank(const std::string& name) {
  if (name == ".") return 0;
  if (name == "..") return 1;
  return 2;
}

unsigned char upper_case(char byte) {
  auto value = static_cast<unsigned char>(byte);
  return (value >= 'a' && value <= 'z') ? static_cast<unsigned char>(value - 'a' + 'A') : value;
}

// The order the original platform's usual file system yields: "." and ".."
// first, then by name with letters compared as capitals, ties by the bytes.
bool comes_before(const DirectoryEntry& left, const DirectoryEntry& right) {
  int left_rank = special_rank(left.name);
  int right_rank = special_rank(right.name);
  if (left_rank != right_rank) return left_rank < right_rank;
  const std::string& a = left.name;
  const std::string& b = right.name;
  auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                [](char x, char y) { return upper_case(x) == upper_case(y); });
  if (mismatch.first != a.end() && mismatch.second != b.end())
    return upper_case(*mismatch.first) < upper_case(*mismatch.second);
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;  // compares bytes as unsigned
}

// The whole listing first, so that the order does not depend on the platform.
std::vector<DirectoryEntry> matching_entries(const std::string& prefix,
                                             const std::string& pattern) {
  std::vector<DirectoryEntry> entries = find_entries(prefix, pattern);
  std::sort(entries.begin(), entries.end(), comes_before);
  return entries;
}

// Directories whose names begin with a point are skipped, "." and ".." with
// them; links to directories are not directories here, so no walk can loop.
std::vector<std::string> sub_directory_prefixes(const std::string& prefix) {
  std::vector<DirectoryEntry> entries = find_entries(prefix, "*.*");
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [](const DirectoryEntry& entry) {
                                 return !entry.is_directory || entry.name[0] == '.';
                               }),
                entries.end());
  std::sort(entries.begin(), entries.end(), comes_before);
  std::vector<std::string> prefixes;
  for (const DirectoryEntry& entry : entries)
    prefixes.push_back(prefix + entry.name + directory_separator);
  return prefixes;
}

}  // namespace

void walk_directory(const std::string& prefix, const std::string& pattern) {
  for (const DirectoryEntry& entry : matching_entries(prefix, pattern))
    fix_file(prefix + entry.name);
  if (!settings.recurse) return;
  for (const std::string& sub_prefix : sub_directory_prefixes(prefix))
    walk_directory(sub_prefix, pattern);
}
