// Visits the matching entries of the start directory and, with "/s", of the
// directories below it.
#pragma once

#include <string>

#include "platform.h"

// The order of entries within a folder, whatever the file system yields: "."
// and ".." first, then by name with letters compared as capitals, ties by
// the bytes.
bool comes_before(const DirectoryEntry& left, const DirectoryEntry& right);

// Walks from the directory the tool was started in, and returns once every
// file it found is repaired and reported. A stop request ends the walk
// between two files.
void walk_tree(const std::string& pattern);
