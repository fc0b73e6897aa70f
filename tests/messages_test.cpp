#include "messages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(Shown, PathsEscapeControlBytesOnly) {
  struct Case {
    std::string path;
    const char* shown;
  };
  const Case cases[] = {
      {"./Base/Wall1.WAL", "./Base/Wall1.WAL"},
      {"./a\nCould not list directory '.'\n.wal", "./a\\x0aCould not list directory '.'\\x0a.wal"},
      {"\x1b]0;t\x07\x7f", "\\x1b]0;t\\x07\\x7f"},
      {"\x00\x1f x~"s, "\\x00\\x1f x~"},
      {"\\x41", "\\x41"},  // a name that looks escaped is not told apart
      {"\xC3\xA9\x80\xFF", "\xC3\xA9\x80\xFF"},
  };
  for (const Case& c : cases) EXPECT_EQ(shown_path(c.path), c.shown) << c.shown;
}

TEST(Shown, FieldsWithoutTrailingZerosEveryOtherByteOutsideAsciiEscaped) {
  struct Case {
    std::string field;
    const char* shown;
  };
  const Case cases[] = {
      {"base/wall1\0\0\0"s, "base/wall1"},
      {"\0\0\0"s, ""},
      {"weird\0\x1f ~\x7f\x80\xff\x01\0"s, "weird\\x00\\x1f ~\\x7f\\x80\\xff\\x01"},
      {"\0x"s, "\\x00x"},
      {"SUB\\WRONG", "SUB\\WRONG"},
  };
  for (const Case& c : cases) EXPECT_EQ(shown_field(c.field), c.shown) << c.shown;
}

}  // namespace
