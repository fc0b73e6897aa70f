#include "messages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(Shown, PathsEscapeControlCharacters) {
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
      // UTF-8 reads as it should; C1 controls (CSI is U+009B) and bytes
      // 0x80-0x9F outside a valid sequence are escaped.
      {"\xC3\xA9 \xD0\x94 \xE2\x82\xAC \xF0\x9F\x98\x80 \xC2\xA0",
       "\xC3\xA9 \xD0\x94 \xE2\x82\xAC \xF0\x9F\x98\x80 \xC2\xA0"},
      // The first and last characters of three and four bytes, and those
      // around the surrogates.
      {"\xE0\xA0\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xED\x9F\xBF\xEE\x80\x80",
       "\xE0\xA0\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\xED\x9F\xBF\xEE\x80\x80"},
      {"\xC2\x9B"
       "2J\xC2\x80\xC2\x9F",
       "\\xc2\\x9b2J\\xc2\\x80\\xc2\\x9f"},
      {"\x80\x9F\xA0\xFF", "\\x80\\x9f\xA0\xFF"},
      {"\xC0\x9B", "\xC0\\x9b"},                           // too long a form
      {"\xE0\x80\x9B", "\xE0\\x80\\x9b"},                  // too long a form
      {"\xF0\x8F\xBF\xBF\x9B", "\xF0\\x8f\xBF\xBF\\x9b"},  // too long a form
      {"\xED\xA0\x80", "\xED\xA0\\x80"},                   // a surrogate
      {"\xED\xBF\xBF\x9F", "\xED\xBF\xBF\\x9f"},           // the last one
      {"\xF4\x90\x80\x80", "\xF4\\x90\\x80\\x80"},         // above U+10FFFF
      {"\xF8\x90\x80\x80", "\xF8\\x90\\x80\\x80"},         // no such lead byte
      {"a\xC2", "a\xC2"},                                  // cut short
      {"\xC2\x41", "\xC2\x41"},                            // "A" is no continuation
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
      {std::string(32, '\xff'),
       "\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff"
       "\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff"},
  };
  for (const Case& c : cases) {
    NameField field{};
    c.field.copy(field.data(), field.size());
    EXPECT_STREQ(shown_field(field).data(), c.shown);
  }
}

}  // namespace
