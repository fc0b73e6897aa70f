#include "named_files.h"

#include <set>
#include <string>

#include "bentro.h"
#include "file_queue.h"
#include "messages.h"
#include "same_field.h"
#include "typed_path.h"

namespace {

// The folders below the top folder that the last name went through, each
// held open: names of one folder open and check it once.
struct Chain {
  HeldDirectory top;
  std::vector<std::string> names;
  std::vector<HeldDirectory> folders;  // folders[i] is names[i], opened in the one above
};

// The folder `path` below the top folder, each of its folders opened in the
// one above without following a link; null if one cannot be (missing, a
// link, no folder).
const HeldDirectory* folder_of(Chain& chain, const std::vector<std::string>& path) {
  std::size_t kept = 0;
  while (kept < chain.names.size() && kept < path.size() && chain.names[kept] == path[kept]) ++kept;
  chain.names.resize(kept);
  chain.folders.resize(kept);
  for (std::size_t i = kept; i < path.size(); ++i) {
    HeldDirectory next = open_sub_directory(i == 0 ? *chain.top : *chain.folders[i - 1], path[i]);
    if (!next) return nullptr;
    chain.names.push_back(path[i]);
    chain.folders.push_back(std::move(next));
  }
  return path.empty() ? &chain.top : &chain.folders.back();
}

bool same_name(const std::string& a, const std::string& b) {
  if (!names_ignore_case) return a == b;
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (fold_case(a[i]) != fold_case(b[i])) return false;
  return true;
}

// A typed path's folders and last part as one list of names.
std::vector<std::string> names_of(const TypedPath& path) {
  std::vector<std::string> names = path.folders;
  if (!path.last.empty() && path.last != ".") names.push_back(path.last);
  return names;
}

// The names of `path` below the top folder `top`, the last one included;
// false if it does not lie below it.
bool below_top(const TypedPath& path, const std::vector<std::string>& top,
               std::vector<std::string>& below) {
  if (path.absolute || goes_up(path, true)) return false;
  std::vector<std::string> names = path.folders;
  names.push_back(path.last.empty() ? "." : path.last);  // "sub/" names sub's own entry "."
  if (names.size() <= top.size()) return false;
  for (std::size_t i = 0; i < top.size(); ++i)
    if (!same_name(names[i], top[i])) return false;
  below.assign(names.begin() + top.size(), names.end());
  return true;
}

void report_in_turn(const std::string& path, FileMessage message) {
  queue_note([path, message] { report_file(shown_path(path), FileReport(message), false); });
}

}  // namespace

void visit_named_files(const std::vector<TypedArgument>& names) {
  Chain chain{open_top_directory(settings.top_folder), {}, {}};
  if (!chain.top) {
    report_directory(DirectoryFailure::cannot_list,
                     settings.top_folder.empty() ? "." : settings.top_folder);
    return;
  }
  const std::vector<std::string> top = names_of(split_typed_path(settings.top_folder));
  std::set<std::string> visited_paths;
  std::set<Identity> visited_files;
  for (const TypedArgument& name : names) {
    if (stop_request()) break;
    std::vector<std::string> below;
    if (!below_top(split_typed_path(name.text), top, below)) {
      report_in_turn(name.text, FileMessage::outside_top_folder);
      continue;
    }
    std::string walked_path = root_prefix;
    for (const std::string& part : below) walked_path.append(part).append(1, directory_separator);
    walked_path.pop_back();
    if (!visited_paths.insert(walked_path).second) continue;
    if (!name.exact) {
      report_in_turn(walked_path, FileMessage::name_outside_code_page);
      continue;
    }
    std::string file = below.back();
    below.pop_back();
    const HeldDirectory* folder = folder_of(chain, below);
    DirectoryEntry entry;
    Identity identity;
    // A folder whose file system cannot be told holds no file to touch.
    FileSystem file_system = folder ? file_system_of(**folder) : FileSystem::unchecked;
    if (file_system == FileSystem::unchecked || !look_up_entry(**folder, file, entry, identity)) {
      report_in_turn(walked_path, FileMessage::cannot_open);
    } else if (file_system == FileSystem::kernel) {
      report_in_turn(walked_path, FileMessage::file_on_kernel_file_system);
    } else if (visited_files.insert(identity).second) {
      queue_file(*folder, std::move(entry), std::move(walked_path));
    }
  }
  finish_queued_files();
}
