#include "walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "entered_folders.h"

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

// Folders entered as a wide walk enters them: a parent far back, names long
// and short, the same number on another volume. Each is then met again.
TEST(EnteredFolders, KnowsEachFolderAndThePathFirstTakenToIt) {
  EnteredFolders entered;
  std::size_t place;
  const std::string long_name(128, 'x');  // its length: two groups, the first 0
  ASSERT_TRUE(enter_once(entered, {1, 100}, 0, ".", place));
  ASSERT_TRUE(enter_once(entered, {1, 101}, 0, "P", place));
  for (std::uint64_t child = 0; child < 200; ++child) {
    std::string name = child == 150 ? long_name : "c" + std::to_string(child);
    ASSERT_TRUE(enter_once(entered, {1, 200 + child}, 1, name, place));
    EXPECT_EQ(place, 2 + child);
  }
  ASSERT_TRUE(enter_once(entered, {1, 999}, 7, "g", place));  // below c5, 195 places back
  ASSERT_TRUE(enter_once(entered, {2, 999}, 0, "other volume", place));
  const struct {
    Identity identity;
    std::size_t place;
    std::string first_path;
  } cases[] = {
      {{1, 100}, 0, "."},
      {{1, 101}, 1, "./P"},
      {{1, 200}, 2, "./P/c0"},
      {{1, 217}, 19, "./P/c17"},
      {{1, 350}, 152, "./P/" + long_name},
      {{1, 351}, 153, "./P/c151"},
      {{1, 999}, 202, "./P/c5/g"},
      {{2, 999}, 203, "./other volume"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(enter_once(entered, c.identity, 0, "again", place)) << c.first_path;
    EXPECT_EQ(place, c.place) << c.first_path;
    std::string expected = c.first_path;
    std::replace(expected.begin(), expected.end(), '/', directory_separator);
    EXPECT_EQ(first_path(entered, place), expected);
  }
}

}  // namespace
