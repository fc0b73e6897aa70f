#include <gtest/gtest.h>

#include "bentro.h"

namespace {

// A 32-byte field: `text`, then zero bytes.
std::string field(std::string text) {
  text.resize(name_field_size, '\0');
  return text;
}

struct NameCase {
  const char* relative_name;
  bool forward_slash;
  std::string old_field;
  std::string expected;
};

TEST(DeriveNameField, FollowsTheNameRules) {
  const std::string junk = "OLD\\Junk/NAME" + std::string(19, 'X');
  const std::string all_bytes = "ABCDEFGHIJKLMNOPQRSTUVWXYZ@[\\/\xC4\xE9";
  const NameCase cases[] = {
      {"Base/Wall1.WAL", true, junk, field("base/wall1")},
      {"Wall1.WAL", false, junk, field("wall1")},
      {"Base/Wall1.WAL", false, junk, field("base\\wall1")},
      {"Base\\Inner\\W.wal", true, junk, field("base/inner/w")},
      {"sky.old.wal", true, junk, field("sky.old")},
      {"ver1.2/floor", true, junk, field("ver1")},
      {".wal", true, junk, field("")},
      {"Readme", true, field("Textures\\Base\\X"), field("textures/base/x")},
      {"Readme", false, field("Textures/Base/X"), field("textures\\base\\x")},
      {"Readme", true, field(std::string("Abc\0DEF", 7)), field(std::string("abc\0def", 7))},
      // Every byte is folded, only A-Z change, both separators are unified.
      {"Readme", true, all_bytes, "abcdefghijklmnopqrstuvwxyz@[//\xC4\xE9"},
      {"Readme", false, all_bytes, "abcdefghijklmnopqrstuvwxyz@[\\\\\xC4\xE9"},
      // 31 characters fit with their terminator; a long extension does not matter.
      {"a234567890123456789012345678901.wal", true, junk, field("a234567890123456789012345678901")},
      {"Base/Wall1.a_very_long_extension_indeed", true, junk, field("base/wall1")},
  };
  for (const NameCase& c : cases) {
    ASSERT_EQ(c.old_field.size(), name_field_size) << c.relative_name;
    EXPECT_EQ(derive_name_field(c.old_field, c.relative_name, c.forward_slash), c.expected)
        << c.relative_name;
  }
}

TEST(DeriveNameField, RefusesCutNamesWithoutRoomForTheTerminator) {
  EXPECT_FALSE(derive_name_field(field(""), "a2345678901234567890123456789012.wal", true));
  EXPECT_FALSE(derive_name_field(field(""), std::string(300, 'd') + "/x.wal", true));
}

}  // namespace
