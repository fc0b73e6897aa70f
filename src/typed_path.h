// Paths typed on the command line (a pattern's folder part, the files named
// with /f, the top folder of /t:), taken apart into the names they go
// through, so that each folder can be opened relative to the one above it.
#pragma once

#include <string>
#include <vector>

struct TypedPath {
  bool absolute = false;             // begins at a root (or, on Windows, names a drive)
  std::vector<std::string> folders;  // the folders it goes through; "" and "." left out
  std::string last;                  // what follows its last separator
};

TypedPath split_typed_path(const std::string& typed);

// Whether any folder of it, or `last` where asked, is "..".
bool goes_up(const TypedPath& path, bool last_too);
