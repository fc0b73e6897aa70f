// Paths typed on the command line (a pattern's folder part, the files named
// with /f, the top folder of /t:), taken apart into the names they go
// through, so that each folder can be opened relative to the one above it.
#pragma once

#include <string_view>
#include <vector>

// The parts of a typed path, as views into it.
struct TypedPath {
  bool absolute = false;                  // begins at a root (or, on Windows, names a drive)
  std::vector<std::string_view> folders;  // the folders it goes through; "" and "." left out
  std::string_view last;                  // what follows its last separator
};

// Takes `typed` apart into `path`, whose room is used again.
void split_typed_path(std::string_view typed, TypedPath& path);

// Whether any folder of it, or `last` where asked, is "..".
bool goes_up(const TypedPath& path, bool last_too);
