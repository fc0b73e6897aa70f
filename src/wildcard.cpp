#include "wildcard.h"

#include <algorithm>

#include "bentro.h"

namespace {

bool same_byte(char pattern_byte, char name_byte) {
  return pattern_byte == '?' || fold_case(pattern_byte) == fold_case(name_byte);
}

// Greedy matching that returns only to the most recent "*": an earlier star
// can never do better than a later one, so no choice is tried twice.
bool plain_match(std::string_view pattern, std::string_view name) {
  size_t p = 0;
  size_t n = 0;
  size_t star = std::string_view::npos;  // position of the last "*" seen
  size_t star_name = 0;                  // where the name stood after it
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && same_byte(pattern[p], name[n])) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool wildcard_match(std::string_view pattern, std::string_view name) {
  // "*" and a plain ending, as most patterns are ("*.wal"): the name's
  // ending decides.
  if (pattern.size() > 1 && pattern[0] == '*' &&
      pattern.find_first_of("*?", 1) == std::string_view::npos &&
      pattern.substr(pattern.size() - 2) != ".*") {
    std::string_view ending = pattern.substr(1);
    return name.size() >= ending.size() &&
           std::equal(ending.begin(), ending.end(), name.end() - ending.size(), same_byte);
  }
  std::size_t base = pattern.size();
  while (base >= 2 && pattern.substr(base - 2, 2) == ".*") base -= 2;
  if (base == pattern.size()) return plain_match(pattern, name);
  // Q.*.* matches only what Q.* matches, so whatever the number of trailing
  // ".*", two matches tell: with one of them, and with none.
  return plain_match(pattern.substr(0, base + 2), name) ||
         plain_match(pattern.substr(0, base), name);
}
