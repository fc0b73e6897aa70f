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

}  // namespace

// One listing serves both halves, in the same order: first the matches are
// visited, then the sub-directories walked.
void walk_directory(const std::string& prefix, const std::string& pattern) {
  std::vector<DirectoryEntry> entries;
  if (!find_entries(prefix, pattern, settings.recurse, entries))
    return report_failure(Failure::cannot_list, prefix.substr(0, prefix.size() - 1));
  std::sort(entries.begin(), entries.end(), comes_before);
  for (const DirectoryEntry& entry : entries)
    if (entry.matches) fix_file(prefix + entry.name);
  if (!settings.recurse) return;
  // Names beginning with a point are skipped, "." and ".." with them; links
  // to directories are not directories here, so no walk can loop.
  for (const DirectoryEntry& entry : entries)
    if (entry.is_directory && entry.name[0] != '.')
      walk_directory(prefix + entry.name + directory_separator, pattern);
}
