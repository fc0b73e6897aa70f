// Visits the matching entries of the start directory and, with "/s", of the
// directories below it.
#pragma once

#include <string>

// Walks from the directory the tool was started in. Returns early, between
// two files, when a stop is requested.
void walk_tree(const std::string& pattern);
