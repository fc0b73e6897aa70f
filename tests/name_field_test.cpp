#include <gtest/gtest.h>

#include "bentro.h"

namespace {

// A 32-byte field: `text`, then zero bytes.
std::string field(std::string text) {
  text.resize(name_field_size, '\0');
  return text;
}

// The corners of the name rules that no tree on Linux reaches.
TEST(DeriveNameField, FollowsTheNameRules) {
  const std::string all_bytes = "ABCDEFGHIJKLMNOPQRSTUVWXYZ@[\\/\xC4\xE9";  // 32 bytes
  const struct {
    const char* relative_name;
    bool forward_slash;
    std::string old_field;
    std::optional<std::string> expected;
  } cases[] = {
      {"Base\\Inner\\W.wal", true, all_bytes, field("base/inner/w")},
      {".wal", true, all_bytes, field("")},
      // Every byte is folded, only A-Z change, both separators are unified.
      {"Readme", true, all_bytes, field("abcdefghijklmnopqrstuvwxyz@[//\xC4\xE9")},
      {"Readme", false, all_bytes, field("abcdefghijklmnopqrstuvwxyz@[\\\\\xC4\xE9")},
      {"a234567890123456789012345678901.wal", true, all_bytes,
       field("a234567890123456789012345678901")},
      {"a2345678901234567890123456789012.wal", true, all_bytes, std::nullopt},
      {"Base/Wall1.a_very_long_extension_indeed", true, all_bytes, field("base/wall1")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(derive_name_field(c.old_field, c.relative_name, c.forward_slash), c.expected)
        << c.relative_name;
}

}  // namespace
