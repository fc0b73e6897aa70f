// Visits the matching entries of one directory, then, with "/s", the
// directories below it, depth first. Each directory is held open while the
// walk is inside it, and everything in it is opened relative to it: the
// walked path is only what is printed and what names are derived from.
#include "walk.h"

#include <algorithm>
#include <vector>

#include "bentro.h"
#include "messages.h"
#include "name_repair.h"
#include "platform.h"
#include "wildcard.h"

namespace {

int special_rank(const std::string& name) {
  if (name == ".") return 0;
  if (name == "..") return 1;
  return 2;
}

unsigned char as_capital(char byte) {
  return static_cast<unsigned char>(fold_case(byte, LetterCase::upper));
}

}  // namespace

// The order the original platform's usual file system yields.
bool comes_before(const DirectoryEntry& left, const DirectoryEntry& right) {
  const std::string& a = left.name;
  const std::string& b = right.name;
  int a_rank = special_rank(a);
  int b_rank = special_rank(b);
  if (a_rank != b_rank) return a_rank < b_rank;
  auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                [](char x, char y) { return as_capital(x) == as_capital(y); });
  if (mismatch.first != a.end() && mismatch.second != b.end())
    return as_capital(*mismatch.first) < as_capital(*mismatch.second);
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;  // compares bytes as unsigned
}

namespace {

// What the walk does in one directory: its matches, then its sub-directories.
struct Visits {
  std::vector<DirectoryEntry> matches;
  std::vector<DirectoryEntry> sub_directories;
};

// Keeps only what will be visited: a folder of many entries that do not
// match costs no memory.
bool list_visits(Directory& directory, const std::string& pattern, Visits& visits) {
  bool listed = list_entries(directory, [&](DirectoryEntry& entry) {
    // Names beginning with a point are not descended into, "." and ".."
    // among them; links are not directories here, so no walk can loop.
    if (settings.recurse && entry.kind == EntryKind::directory && entry.name[0] != '.')
      visits.sub_directories.push_back(entry);
    if (wildcard_match(pattern, entry.name)) visits.matches.push_back(std::move(entry));
  });
  if (!listed) return false;
  // Stable: names that are the same bytes keep the platform's order.
  std::stable_sort(visits.matches.begin(), visits.matches.end(), comes_before);
  std::stable_sort(visits.sub_directories.begin(), visits.sub_directories.end(), comes_before);
  return true;
}

// The walked path of a directory as its messages show it: "." for the start.
std::string shown_directory(const std::string& prefix) {
  return prefix.substr(0, prefix.size() - 1);
}

void walk_directory(Directory& directory, const std::string& prefix, const std::string& pattern) {
  if (is_on_kernel_file_system(directory))
    return report_failure(Failure::kernel_file_system, shown_directory(prefix));
  Visits visits;
  if (!list_visits(directory, pattern, visits))
    return report_failure(Failure::cannot_list, shown_directory(prefix));
  for (const DirectoryEntry& entry : visits.matches) {
    if (stop_request()) return;
    fix_file(directory, entry, prefix + entry.name);
  }
  for (const DirectoryEntry& entry : visits.sub_directories) {
    if (stop_request()) return;
    std::string sub_prefix = prefix + entry.name + directory_separator;
    Directory* sub_directory =
        entry.name_is_exact ? open_sub_directory(directory, entry.name) : nullptr;
    if (sub_directory == nullptr) {
      report_failure(Failure::cannot_list, shown_directory(sub_prefix));
      continue;
    }
    walk_directory(*sub_directory, sub_prefix, pattern);
    close_directory(sub_directory);
  }
}

}  // namespace

void walk_tree(const std::string& pattern) {
  Directory* start = open_start_directory();
  if (start == nullptr) return report_failure(Failure::cannot_list, shown_directory(root_prefix));
  walk_directory(*start, root_prefix, pattern);
  close_directory(start);
}
