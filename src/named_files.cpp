#include "named_files.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "bentro.h"
#include "entered_folders.h"
#include "file_queue.h"
#include "messages.h"
#include "same_field.h"
#include "typed_path.h"

namespace {

// A folder the names go through, held open. Where it is small it is listed
// once, and what its names are is read from the listing, as the walk reads
// it: a look-up costs a name more than a listing costs an entry.
struct Link {
  std::string name;
  HeldDirectory folder;
  bool listed = false;                  // tried
  std::vector<DirectoryEntry> entries;  // none if not listed
  std::vector<std::uint32_t> slots;     // each entry's place + 1 by its name's hash, or 0
};

// The folders below the top folder that the last name went through.
struct Chain {
  Link top;
  std::vector<Link> folders;  // each opened in the one above
};

// The folder `path` below the top folder, each of its folders opened in the
// one above without following a link; null if one cannot be (missing, a
// link, no folder).
Link* folder_of(Chain& chain, const std::string_view* path, std::size_t size) {
  std::size_t kept = 0;
  while (kept < chain.folders.size() && kept < size && chain.folders[kept].name == path[kept])
    ++kept;
  chain.folders.resize(kept);
  for (std::size_t i = kept; i < size; ++i) {
    Link link{std::string(path[i]), nullptr, false, {}, {}};
    link.folder =
        open_sub_directory(*(i == 0 ? chain.top : chain.folders[i - 1]).folder, link.name);
    if (!link.folder) return nullptr;
    chain.folders.push_back(std::move(link));
  }
  return size == 0 ? &chain.top : &chain.folders.back();
}

std::size_t hash_of(std::string_view name) { return std::hash<std::string_view>{}(name); }

// The slot of the entry `name` in the link's table, or the empty one where
// it goes.
std::size_t slot_of(const Link& link, std::string_view name) {
  std::size_t mask = link.slots.size() - 1;
  std::size_t slot = hash_of(name) & mask;
  while (link.slots[slot] != 0 && link.entries[link.slots[slot] - 1].name != name)
    slot = (slot + 1) & mask;
  return slot;
}

void list(Link& link) {
  link.listed = true;
  auto take = [&](DirectoryEntry& listed) {
    link.entries.push_back(std::move(listed));
    return true;
  };
  if (!lists_cheaply(*link.folder) || !list_entries(*link.folder, take)) link.entries.clear();
  std::size_t size = 4;
  while (size < 2 * link.entries.size()) size *= 2;
  link.slots.assign(size, 0);
  for (std::size_t place = 0; place < link.entries.size(); ++place)
    link.slots[slot_of(link, link.entries[place].name)] = static_cast<std::uint32_t>(place + 1);
}

// What `name` in the link's folder is, and its identity; false if there is
// no such entry.
bool look_up(Link& link, const std::string& name, DirectoryEntry& entry, Identity& identity) {
  if (!link.listed) list(link);
  if (link.entries.empty()) return look_up_entry(*link.folder, name, entry, identity);
  std::uint32_t place = link.slots[slot_of(link, name)];
  if (place == 0) return false;
  entry = link.entries[place - 1];
  identity = {identity_of(*link.folder).volume, entry.index};
  return true;
}

bool same_name(std::string_view a, std::string_view b) {
  if (!names_ignore_case) return a == b;
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return fold_case(x) == fold_case(y);
         });
}

// A typed path's folders and last part as one list of names, in `names`.
void names_of(const TypedPath& path, std::vector<std::string_view>& names) {
  names = path.folders;
  if (!path.last.empty() && path.last != ".") names.push_back(path.last);
}

// Whether `path` lies below the top folder `top`: its names, the last one
// included, then begin with those of `top`, and there are more.
bool below_top(TypedPath& path, const std::vector<std::string_view>& top) {
  if (path.absolute || goes_up(path, true)) return false;
  path.folders.push_back(path.last.empty() ? "." : path.last);  // "sub/" names sub's own "."
  return path.folders.size() > top.size() &&
         std::equal(top.begin(), top.end(), path.folders.begin(), same_name);
}

void report_in_turn(const std::string& path, FileMessage message) {
  queue_note([path, message] { report_file(shown_path(path), FileReport(message), false); });
}

}  // namespace

void visit_named_files(const std::vector<TypedArgument>& names) {
  Chain chain{{".", open_top_directory(settings.top_folder), false, {}, {}}, {}};
  if (!chain.top.folder) {
    report_directory(DirectoryFailure::cannot_list,
                     settings.top_folder.empty() ? "." : settings.top_folder);
    return;
  }
  TypedPath path;  // each name's in turn, in the same room
  std::vector<std::string_view> top;
  split_typed_path(settings.top_folder, path);
  names_of(path, top);
  // Each file once, by its identity; a name that names none, once too.
  EnteredFolders visited_files;
  std::set<std::string> reported_names;
  for (const TypedArgument& name : names) {
    if (stop_request()) break;
    split_typed_path(name.text, path);
    if (!below_top(path, top)) {
      if (reported_names.insert(name.text).second)
        report_in_turn(name.text, FileMessage::outside_top_folder);
      continue;
    }
    const std::string_view* below = path.folders.data() + top.size();
    std::size_t folders = path.folders.size() - top.size() - 1;  // and the file
    std::string walked_path;
    walked_path.reserve(root_prefix.size() + name.text.size());
    walked_path = root_prefix;
    for (std::size_t at = 0; at <= folders; ++at) {
      if (at > 0) walked_path.push_back(directory_separator);
      walked_path.append(below[at]);
    }
    if (!name.exact) {
      if (reported_names.insert(walked_path).second)
        report_in_turn(walked_path, FileMessage::name_outside_code_page);
      continue;
    }
    Link* folder = folder_of(chain, below, folders);
    DirectoryEntry entry;
    Identity identity;
    std::size_t first;
    // A folder whose file system cannot be told holds no file to touch.
    FileSystem file_system = folder ? file_system_of(*folder->folder) : FileSystem::unchecked;
    if (file_system == FileSystem::unchecked ||
        !look_up(*folder, std::string(below[folders]), entry, identity)) {
      if (reported_names.insert(walked_path).second)
        report_in_turn(walked_path, FileMessage::cannot_open);
    } else if (!enter_once(visited_files, identity, 0, "", first)) {
      continue;
    } else if (file_system == FileSystem::kernel) {
      report_in_turn(walked_path, FileMessage::file_on_kernel_file_system);
    } else {
      queue_file(folder->folder, std::move(entry), std::move(walked_path));
    }
  }
  finish_queued_files();
}
