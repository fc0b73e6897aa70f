#include "name_repair.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A 32-byte field: `start`, then zero bytes.
NameField field(std::string start) {
  NameField field{};
  start.copy(field.data(), field.size());
  return field;
}

TEST(DeriveNameField, CutsFoldsAndUnifiesSeparators) {
  struct Case {
    NameField old_field;
    const char* relative_name;
    bool forward_slash;
    NameField expected;
  };
  const NameField old = field("OLD\\NAME\x01junk");
  const Case cases[] = {
      {old, "Base/Wall1.WAL", true, field("base/wall1")},
      {old, "Wall1.WAL", false, field("wall1")},
      {old, "Base/Wall1.WAL", false, field("base\\wall1")},
      {old, "Base\\Wall1.WAL", true, field("base/wall1")},
      {old, "sky.old.wal", true, field("sky.old")},
      {old, "ver1.2/floor", true, field("ver1")},
      {old, ".wal", true, field("")},
      {old, "x.", true, field("x")},
      // Without a point the old field stays, folded over all 32 bytes,
      // past its first zero byte.
      {field("Textures\\Base\\X"), "Readme", true, field("textures/base/x")},
      {field("Textures/Base/X"), "Readme", false, field("textures\\base\\x")},
      {field(std::string("Abc\0DEF", 7)), "Abc", true, field(std::string("abc\0def", 7))},
      {field("@AZ[`az{"), "Readme", true, field("@az[`az{")},
      // Bytes 128-255 are neither folded nor cut.
      {old, "\xC4\xD6.wal", true, field("\xC4\xD6")},
      {field("\xC4/\xFF"), "\xC4", true, field("\xC4/\xFF")},
      // 31 bytes and the terminator fill the field.
      {old, "a234567890123456789012345678901.wal", true, field("a234567890123456789012345678901")},
  };
  for (const Case& c : cases) {
    std::optional<NameField> derived =
        derive_name_field(c.old_field, c.relative_name, c.forward_slash);
    ASSERT_TRUE(derived) << c.relative_name;
    EXPECT_EQ(*derived, c.expected) << c.relative_name;
  }
}

TEST(DeriveNameField, RefusesANameWithNoRoomForItsTerminator) {
  const NameField old = field("OLD");
  EXPECT_FALSE(derive_name_field(old, "a2345678901234567890123456789012.wal", true));
  EXPECT_FALSE(derive_name_field(old, "a23456789012345678901234567890123456789.x.wal", true));
  // The point that cuts decides, not the length of the whole name.
  EXPECT_TRUE(derive_name_field(old, "a.2345678901234567890123456789012345", true));
}

}  // namespace
