#include "wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WildcardMatch, FollowsTheRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.wal", "x.wal.bak", false},
      {"?.wal", "ab.wal", false},
      {"?.wal", ".wal", false},
      {"a*", "ba", false},
      {"*a*b", "xaxxb", true},
      {"*a*b", "xaxxbc", false},
      {"ab*ba", "aba", false},
      {"**x**", "x", true},
      // Only letters match across case: these pairs also differ by 0x20.
      {"@", "`", false},
      {"[", "{", false},
      {"\xC4*", "\xC4x", true},
      {"\xE4", "\xC4", false},
      // A pattern ending in ".*" also matches without those two characters.
      {"*.*", "noext", true},
      {"wall.*", "wall", true},
      {".*", ".hidden", true},
      {".*", "x", false},
      {"a.*.*", "a", true},
      {"a.*.*", "a.b", true},
      {"a.*.*", "ab", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(wildcard_match(c.pattern, c.name), c.matches) << c.pattern << " on " << c.name;
}

TEST(WildcardMatch, EndsOnPathologicalPatterns) {
  const std::string name(100000, 'a');
  EXPECT_FALSE(wildcard_match("*a*a*a*a*a*a*a*a*a*a*b", name));
  EXPECT_FALSE(wildcard_match("*aaaaaaaaaaaaaaaaaaaab", name));
  std::string point_stars = "a";  // each trailing ".*" must not cost a match of its own
  for (int i = 0; i < 100000; ++i) point_stars += ".*";
  EXPECT_FALSE(wildcard_match(point_stars, name));
}

}  // namespace
