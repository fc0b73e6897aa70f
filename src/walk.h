// Visits the matching entries of the start directory and, with "/s", of the
// directories below it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform.h"

// The order of entries within a folder, whatever the file system yields: "."
// and ".." first, then by name with letters compared as capitals, ties by
// the bytes.
bool comes_before(const DirectoryEntry& left, const DirectoryEntry& right);

// Walks from the top folder (the one the tool was started in, or /t:'s),
// or from the folder `folders` below it, and returns once every file it
// found is repaired and reported: the number of entries that matched. A
// stop request ends the walk between two files.
std::size_t walk_tree(const std::vector<std::string>& folders, const std::string& pattern);
