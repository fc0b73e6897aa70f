#include "typed_path.h"

#include <algorithm>

#include "platform.h"

TypedPath split_typed_path(const std::string& typed) {
  TypedPath path;
  path.absolute = names_a_root(typed);
  std::string part;
  for (char byte : typed) {
    if (!is_directory_separator(byte)) {
      part += byte;
      continue;
    }
    if (!part.empty() && part != ".") path.folders.push_back(part);
    part.clear();
  }
  path.last = part;
  return path;
}

bool goes_up(const TypedPath& path, bool last_too) {
  return (last_too && path.last == "..") ||
         std::find(path.folders.begin(), path.folders.end(), "..") != path.folders.end();
}
