// Rewrites one file's name field from its walked path.
#pragma once

#include <string>

#include "platform.h"

// Prints the walked path, then repairs the file that `entry` names in
// `directory`, or reports why it cannot.
void fix_file(Directory& directory, const DirectoryEntry& entry, const std::string& walked_path);
