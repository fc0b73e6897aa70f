// Visits the matching entries of one directory, then, with "/s", the
// directories below it, depth first. Each directory is held open while the
// walk is inside it, and everything in it is opened relative to it: the
// walked path is only what is printed and what names are derived from.
#include "walk.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <vector>

#include "bentro.h"
#include "entered_folders.h"
#include "file_queue.h"
#include "messages.h"
#include "platform.h"
#include "same_field.h"
#include "wildcard.h"

namespace {

int special_rank(const std::string& name) {
  if (name.size() > 2 || name[0] != '.') return 2;
  if (name.size() == 1) return 0;
  return name[1] == '.' ? 1 : 2;
}

unsigned char as_capital(char byte) {
  return static_cast<unsigned char>(fold_case(byte, LetterCase::upper));
}

// Below, equal to or above zero as `left` comes before `right`, is the same
// or comes after it.
int order_of(const std::string& a, const std::string& b) {
  int a_rank = special_rank(a);
  int b_rank = special_rank(b);
  if (a_rank != b_rank) return a_rank - b_rank;
  std::size_t common = std::min(a.size(), b.size());
  // Most bytes compared are the same (names of one folder share their
  // beginnings), and those are the same in capitals too.
  for (std::size_t at = 0; at < common; ++at)
    if (a[at] != b[at] && as_capital(a[at]) != as_capital(b[at]))
      return as_capital(a[at]) - as_capital(b[at]);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);  // compares bytes as unsigned
}

}  // namespace

// The order the original platform's usual file system yields.
bool comes_before(const DirectoryEntry& left, const DirectoryEntry& right) {
  return order_of(left.name, right.name) < 0;
}

namespace {

// What the walk does in one directory: its matches, then its sub-directories.
// One is used for every directory in turn, so that its room (and that of its
// sorting) is taken once, not in every folder.
struct Visits {
  std::vector<DirectoryEntry> matches;
  std::vector<DirectoryEntry> sub_directories;
  std::vector<std::uint32_t> order;    // of the entries being sorted
  std::vector<DirectoryEntry> sorted;  // the entries being sorted, in order
};

// Sorts the entries by their places, as comes_before orders them; names that
// are the same bytes (two that stand for names the code page lacks) keep
// the platform's order.
void sort_entries(std::vector<DirectoryEntry>& entries, Visits& room) {
  std::vector<std::uint32_t>& order = room.order;
  order.resize(entries.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    int place = order_of(entries[a].name, entries[b].name);
    return place != 0 ? place < 0 : a < b;
  });
  room.sorted.clear();
  for (std::uint32_t at : order) room.sorted.push_back(std::move(entries[at]));
  std::move(room.sorted.begin(), room.sorted.end(), entries.begin());
}

// Keeps only what will be visited: a folder of many entries that do not
// match costs no memory. False if the listing failed or a stop cut it.
bool list_visits(Directory& directory, const std::string& pattern, Visits& visits) {
  visits.matches.clear();
  visits.sub_directories.clear();
  bool complete = list_entries(directory, [&](DirectoryEntry& entry) {
    // Names beginning with a point are not descended into, "." and ".."
    // among them; links are not directories here.
    if (settings.recurse && entry.kind == EntryKind::directory && entry.name[0] != '.')
      visits.sub_directories.push_back(entry);
    if (wildcard_match(pattern, entry.name)) visits.matches.push_back(std::move(entry));
    // A listing that never ends (an endless FUSE folder, a share that keeps
    // yielding) still heeds a stop request.
    return !stop_request();
  });
  if (!complete) return false;
  sort_entries(visits.matches, visits);
  sort_entries(visits.sub_directories, visits);
  return true;
}

// A folder whose walked path is longer is not entered: no program can open
// a path of 4,096 bytes on Linux, and the walk's memory stays bounded.
constexpr std::size_t longest_walked_directory = 4095;

// A folder the walk is in: held open, with the sub-folders it has yet to
// enter.
struct Level {
  HeldDirectory directory;
  std::vector<DirectoryEntry> sub_directories;
  std::size_t next;           // the next of them to enter
  std::size_t prefix_length;  // of its walked path with the final separator
  std::size_t record;         // its place in Walk::entered
  bool twin_ahead;            // a folder still to come, beside it or above, may give its fields
};

struct Walk {
  const std::string& pattern;
  std::string prefix;  // the walked path in hand, one buffer for every level
  std::vector<Level> levels;
  EnteredFolders entered;
  std::size_t matches = 0;
  Visits visits;  // the folder's being entered
};

constexpr std::size_t start_record = 0;

// A folder's line comes after those of every file found before it.
void report_in_turn(DirectoryFailure failure, const std::string& path) {
  queue_note([failure, path] { report_directory(failure, path); });
}

// The walked path of a directory as its messages show it: "." for the start.
std::string shown_directory(const std::string& prefix) {
  return prefix.substr(0, prefix.size() - 1);
}

// Notes the folder at walk.prefix as entered: its place in Walk::entered,
// or nothing, after saying why, where it must not be entered.
std::optional<std::size_t> admit(Walk& walk, Directory& directory, std::size_t parent,
                                 std::string name) {
  FileSystem file_system = file_system_of(directory);
  if (file_system == FileSystem::kernel || file_system == FileSystem::unchecked) {
    report_in_turn(file_system == FileSystem::kernel ? DirectoryFailure::kernel_file_system
                                                     : DirectoryFailure::cannot_list,
                   shown_directory(walk.prefix));
    return std::nullopt;
  }
  std::size_t place;
  if (!enter_once(walk.entered, identity_of(directory), parent, name, place)) {
    std::string path = shown_directory(walk.prefix);
    std::string first_taken = first_path(walk.entered, place);
    queue_note([path, first_taken] { report_same_directory(path, first_taken); });
    return std::nullopt;
  }
  return place;
}

// Enters the folder at walk.prefix: visits its matches and leaves it among
// the levels, with its sub-folders to enter. Reported and left alone when it
// cannot be entered.
void enter(Walk& walk, HeldDirectory directory, std::size_t parent, std::string name,
           bool twin_ahead) {
  std::optional<std::size_t> record = admit(walk, *directory, parent, std::move(name));
  if (!record) return;
  // The files queued work on while this folder is read.
  start_queued_files();
  Visits& visits = walk.visits;
  if (!list_visits(*directory, walk.pattern, visits)) {
    if (!stop_request())
      report_in_turn(DirectoryFailure::cannot_list, shown_directory(walk.prefix));
    return;
  }
  walk.matches += visits.matches.size();
  bool below_start = !walk.levels.empty();
  if (below_start) queue_note(enter_field_scope);
  for (DirectoryEntry& entry : visits.matches) {
    if (stop_request()) return;
    std::string walked_path = walk.prefix + entry.name;
    queue_file(directory, std::move(entry), std::move(walked_path));
  }
  walk.levels.push_back({std::move(directory), std::move(visits.sub_directories), 0,
                         walk.prefix.size(), *record, twin_ahead});
}

// Leaves the innermost level: its fields go unless a folder still to come
// may give them again.
void leave(Walk& walk) {
  bool kept = walk.levels.back().twin_ahead;
  walk.levels.pop_back();
  if (!walk.levels.empty()) queue_note([kept] { leave_field_scope(kept); });
}

// Enters the next sub-folder of the innermost level, or says why not.
void descend(Walk& walk) {
  Level& level = walk.levels.back();
  const DirectoryEntry& entry = level.sub_directories[level.next++];
  walk.prefix.resize(level.prefix_length);
  walk.prefix += entry.name;
  if (walk.prefix.size() > longest_walked_directory)
    return report_in_turn(DirectoryFailure::nested_too_deeply, walk.prefix);
  HeldDirectory sub_directory =
      entry.name_is_exact ? open_sub_directory(*level.directory, entry.name) : nullptr;
  if (!sub_directory) return report_in_turn(DirectoryFailure::cannot_list, walk.prefix);
  walk.prefix += directory_separator;
  bool twin_ahead =
      level.twin_ahead || may_give_same_fields(entry.name, level.sub_directories, level.next);
  enter(walk, std::move(sub_directory), level.record, entry.name, twin_ahead);
}

// Opens the folders of a pattern's folder part one below the other, each
// noted as entered, so that none is entered again from below: the folder to
// walk, or null after saying why not.
HeldDirectory pass_through(Walk& walk, const std::vector<std::string>& folders,
                           std::size_t& record) {
  HeldDirectory directory = open_top_directory(settings.top_folder);
  if (!directory) {
    report_directory(DirectoryFailure::cannot_list,
                     settings.top_folder.empty() ? "." : settings.top_folder);
    return nullptr;
  }
  std::string name = ".";
  for (const std::string& folder : folders) {
    std::optional<std::size_t> passed = admit(walk, *directory, record, name);
    if (!passed) return nullptr;
    record = *passed;
    walk.prefix += folder;
    directory = open_sub_directory(*directory, folder);
    if (!directory) {
      report_in_turn(DirectoryFailure::cannot_list, walk.prefix);
      return nullptr;
    }
    walk.prefix += directory_separator;
    name = folder;
  }
  return directory;
}

}  // namespace

std::size_t walk_tree(const std::vector<std::string>& folders, const std::string& pattern) {
  Walk walk{pattern, root_prefix, {}, {}, {}, {}};
  std::size_t parent = start_record;
  HeldDirectory start = pass_through(walk, folders, parent);
  if (start) enter(walk, std::move(start), parent, folders.empty() ? "." : folders.back(), false);
  // Depth first, one level a step; a level is closed once left.
  while (!walk.levels.empty() && !stop_request()) {
    if (walk.levels.back().next == walk.levels.back().sub_directories.size())
      leave(walk);
    else
      descend(walk);
  }
  finish_queued_files();
  return walk.matches;
}
