#include "typed_path.h"

#include <algorithm>

#include "platform.h"

void split_typed_path(std::string_view typed, TypedPath& path) {
  path.absolute = names_a_root(typed);
  path.folders.clear();
  std::size_t start = 0;
  for (std::size_t at = 0; at < typed.size(); ++at) {
    if (!is_directory_separator(typed[at])) continue;
    std::string_view part = typed.substr(start, at - start);
    if (!part.empty() && part != ".") path.folders.push_back(part);
    start = at + 1;
  }
  path.last = typed.substr(start);
}

bool goes_up(const TypedPath& path, bool last_too) {
  return (last_too && path.last == "..") ||
         std::find(path.folders.begin(), path.folders.end(), "..") != path.folders.end();
}
