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
// A directory that cannot be listed is reported under its walked path.
bool list_in_order(const std::string& prefix, const std::string& pattern,
                   std::vector<DirectoryEntry>& entries) {
  if (!find_entries(prefix, pattern, entries)) {
    report_failure(Failure::cannot_list, prefix.substr(0, prefix.size() - 1));
    return false;
  }
  std::sort(entries.begin(), entries.end(), comes_before);
  return true;
}

// Hands each match to fix_file; false if the directory cannot be listed.
bool visit_matches(const std::string& prefix, const std::string& pattern) {
  std::vector<DirectoryEntry> matches;
  if (!list_in_order(prefix, pattern, matches)) return false;
  for (const DirectoryEntry& entry : matches) fix_file(prefix + entry.name);
  return true;
}

}  // namespace

void walk_directory(const std::string& prefix, const std::string& pattern) {
  if (!visit_matches(prefix, pattern) || !settings.recurse) return;
  std::vector<DirectoryEntry> entries;
  if (!list_in_order(prefix, "*.*", entries)) return;
  // Names beginning with a point are skipped, "." and ".." with them; links
  // to directories are not directories here, so no walk can loop.
  for (const DirectoryEntry& entry : entries)
    if (entry.is_directory && entry.name[0] != '.')
      walk_directory(prefix + entry.name + directory_separator, pattern);
}
