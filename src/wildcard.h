// The wildcard rules the directory search applies to entry names.
#pragma once

#include <string_view>

// "*" matches any run of bytes (none included), "?" exactly one byte; letters
// match in either case; every other byte matches only itself. A pattern that
// ends in ".*" also matches what it matches without those two characters, so
// "*.*" matches every name. Time grows linearly with the name's length.
bool wildcard_match(std::string_view pattern, std::string_view name);
