#include "walk.h"

#include <gtest/gtest.h>

namespace {

TEST(ComesBefore, PointEntriesFirstThenNamesAsCapitals) {
  struct Case {
    const char* left;
    const char* right;
  };
  // Each left comes strictly before its right.
  const Case cases[] = {
      {".", ".."},        {"..", "-a"},     {"..", "\x01"}, {".", "!"},   {"-a", ".hidden"},
      {"a", "ab"},        {"Ab", "aC"},     {"aB", "AC"},   {"bz", "b_"},  // 'Z' is below '_'
      {"Z", "_x"},        {"z", "{"},        // as capital, 'z' is 'Z', below '{'
      {"Ab", "aB"},                          // equal as capitals: the bytes decide
      {"Z.wal", "z.wal"}, {"z", "\x80"},     // bytes above 127 come last
      {"\x80", "\xFF"},   {"\xC4", "\xE4"},  // and are not folded
  };
  for (const Case& c : cases) {
    DirectoryEntry left{c.left, EntryKind::regular_file};
    DirectoryEntry right{c.right, EntryKind::regular_file};
    EXPECT_TRUE(comes_before(left, right)) << c.left << " before " << c.right;
    EXPECT_FALSE(comes_before(right, left)) << c.right << " not before " << c.left;
  }
  DirectoryEntry same{"Same", EntryKind::regular_file};
  EXPECT_FALSE(comes_before(same, same));
}

}  // namespace
